#include "pdf/jpeg_requantize.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "pdf_test_util.h"
#include "tests/support/test_support.h"

namespace {

using testsupport::shellQuote;

// A photo turned by its Exif orientation while it is requantised is the file that requantising
// the photo turned by jpegtran gives, byte for byte; a turn that cannot be lossless is left to
// the decoder.
TEST(JpegRequantize, TurnedPhotosAsJpegtranTurnsThem) {
    testsupport::TempDir dir;
    const std::pair<int, const char*> turns[] = {
        {2, "-flip horizontal"}, {3, "-rotate 180"}, {4, "-flip vertical"}, {5, "-transpose"},
        {6, "-rotate 90"},       {7, "-transverse"}, {8, "-rotate 270"}};
    for (const char* sampling : {"2x2", "2x1"}) {
        const std::string photo = dir.file("photo.jpg");
        ASSERT_EQ(pdftest::Sh("/usr/bin/convert -size 64x48 -seed 5 plasma:fractal "
                              "-sampling-factor " +
                              std::string(sampling) + " -quality 95 " + shellQuote(photo)),
                  0);
        for (const auto& [tag, jpegtran] : turns) {
            SCOPED_TRACE(std::string(sampling) + " orientation " + std::to_string(tag));
            const std::string shown = dir.file("shown.jpg"), turned = dir.file("turned.jpg");
            ASSERT_EQ(pdftest::Sh("cp " + shellQuote(photo) + " " + shellQuote(shown) +
                                  " && exiftool -q -overwrite_original -n -Orientation=" +
                                  std::to_string(tag) + " " + shellQuote(shown) +
                                  " && jpegtran -perfect -copy none " + jpegtran + " " +
                                  shellQuote(photo) + " > " + shellQuote(turned)),
                      0);
            // Written only where nothing is yet.
            const std::string ours = dir.file("ours.jpg"), theirs = dir.file("theirs.jpg");
            std::remove(ours.c_str());
            std::remove(theirs.c_str());
            ASSERT_TRUE(vellumo::pdf::RequantizeJpeg(shown, ours, 70, 150, 150));
            ASSERT_TRUE(vellumo::pdf::RequantizeJpeg(turned, theirs, 70, 150, 150));
            EXPECT_TRUE(testsupport::readFile(ours) == testsupport::readFile(theirs));
        }
    }
    const std::string partial = dir.file("partial.jpg"), out = dir.file("out.jpg");
    ASSERT_EQ(
        pdftest::Sh("/usr/bin/convert -size 61x37 plasma:fractal -sampling-factor 2x2 " +
                    shellQuote(partial) + " && exiftool -q -overwrite_original -n -Orientation=6 " +
                    shellQuote(partial)),
        0);
    std::remove(out.c_str());
    EXPECT_FALSE(vellumo::pdf::RequantizeJpeg(partial, out, 70, 150, 150));
    EXPECT_FALSE(testsupport::fileExists(out));
}

}  // namespace

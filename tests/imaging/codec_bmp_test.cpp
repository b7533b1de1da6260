#include <gtest/gtest.h>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;
using testsupport::run;
using testsupport::shellQuote;
using testsupport::TempDir;

namespace {

TEST(BmpRoundTrip, EveryDepthKeepsPixelsTableAndResolution) {
    TempDir dir;
    for (int kind : {1, 8, 80, 24}) {
        SCOPED_TRACE(kind);
        Image original;
        fixtures::MakePattern(original, kind, 29, 13);
        SetImageDpi(original.buffer, 600, 600);
        const std::string file = dir.file("rt.bmp");
        ASSERT_EQ(SaveBmp(file.c_str(), original, 0), kImgOk);
        Image loaded;
        ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), BitsPerPixel(original.buffer));
        EXPECT_EQ(loaded->imageFlags & kImageFlagGrey, original->imageFlags & kImageFlagGrey);
        EXPECT_EQ(ImageDpiX(loaded.buffer), 600);
        EXPECT_TRUE(fixtures::SamePicture(original, loaded));
        Image seen;
        ASSERT_TRUE(fixtures::DecodeWithNetpbm("bmptopnm", file, seen));
        EXPECT_TRUE(fixtures::SamePicture(original, seen));
    }
}

TEST(BmpRoundTrip, SixteenAndThirtyTwoBitImagesAreWrittenAsTwentyFour) {
    TempDir dir;
    Image image;
    ASSERT_EQ(AllocateImage(image, 3, 2, 32), kImgOk);
    uint8_t* row = RowPointer(image.buffer, 0);
    row[0] = 10, row[1] = 20, row[2] = 30;
    const std::string file = dir.file("32.bmp");
    ASSERT_EQ(SaveBmp(file.c_str(), image, 0), kImgOk);
    Image loaded;
    ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
    EXPECT_EQ(BitsPerPixel(loaded.buffer), 24);
    EXPECT_TRUE(fixtures::SamePicture(image, loaded));
    EXPECT_EQ(SaveBmp(file.c_str(), image, 1), kImgUnsupportedOption);
}

TEST(BmpFromTools, NetpbmAndImageMagickVariants) {
    TempDir dir;
    Image colour;
    fixtures::MakePattern(colour, 24, 37, 23);
    const std::string ppm = dir.file("c.ppm");
    testsupport::writeFile(ppm, fixtures::Netpbm(colour));
    const std::string q = shellQuote(ppm);
    struct Case {
        std::string command;  // writes out.bmp from c.ppm
        int bits;
    };
    const std::string out = shellQuote(dir.file("out.bmp"));
    const Case cases[] = {
        {"ppmtobmp " + q + " > " + out + " 2>/dev/null", 24},
        {"ppmtobmp -windows " + q + " > " + out + " 2>/dev/null", 24},
        {"ppmtobmp -os2 " + q + " > " + out + " 2>/dev/null", 24},
        {"/usr/bin/convert " + q + " -colors 200 BMP3:" + out, 8},
        {"/usr/bin/convert " + q + " -colors 200 -compress rle BMP3:" + out, 8},
        {"/usr/bin/convert " + q + " -colors 16 BMP3:" + out, 8},
        {"/usr/bin/convert " + q + " -colors 12 -compress rle BMP3:" + out, 8},
        {"/usr/bin/convert " + q + " -define bmp:subtype=RGB565 BMP:" + out, 24},
        {"/usr/bin/convert " + q + " -define bmp:subtype=ARGB8888 BMP:" + out, 24},
        {"/usr/bin/convert " + q + " -threshold 50% -type bilevel BMP3:" + out, 1},
        {"/usr/bin/convert " + q + " BMP2:" + out, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_EQ(run(c.command), 0);
        Image loaded, seen;
        ASSERT_EQ(fixtures::Load(dir.file("out.bmp"), loaded), kImgOk);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), c.bits);
        ASSERT_TRUE(fixtures::DecodeWithImageMagick(dir.file("out.bmp"), seen));
        // 5-6-5 and 5-5-5 channels are widened by each reader in its own way.
        EXPECT_TRUE(fixtures::ClosePicture(loaded, seen, 4));
    }
}

TEST(BmpDamage, TruncatedFilesFail) {
    TempDir dir;
    for (int kind : {1, 8, 24}) {
        Image image;
        fixtures::MakePattern(image, kind, 33, 17);
        const std::string file = dir.file("whole.bmp");
        ASSERT_EQ(SaveBmp(file.c_str(), image, 0), kImgOk);
        const size_t size = testsupport::readFile(file).size();
        for (size_t keep : {size_t{2}, size_t{20}, size_t{54}, size - 1}) {
            Image loaded;
            EXPECT_LT(fixtures::Load(fixtures::Truncated(dir, file, keep), loaded), 0) << keep;
        }
    }
}

}  // namespace

// The image corpus through the loader: every file comes out as an independent decoder shows it
// (upright, transparency on white, at the resolution the file records), or is refused with the
// reason; the test prints the count per format.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "tests/imaging/codec_fixtures.h"
#include "tests/imaging/corpus/corpus.h"

using namespace vellumo::imaging;

namespace {

using fixtures::Image;

// Compares a decode with the reference as the manifest says; the failure says how it differs.
::testing::AssertionResult Matches(const ImageBuffer& got, const ImageBuffer& want,
                                   const std::string& compare) {
    if (compare == "exact") return fixtures::SamePicture(got, want);
    if (compare == "close") return fixtures::ClosePicture(got, want, 1);
    if (compare.rfind("close:", 0) == 0)
        return fixtures::ClosePicture(got, want, std::atoi(compare.c_str() + 6));
    const double least = std::atof(compare.c_str() + 5);
    if (AreaWidth(got) != AreaWidth(want) || AreaHeight(got) != AreaHeight(want))
        return ::testing::AssertionFailure()
               << "size " << AreaWidth(got) << "x" << AreaHeight(got) << " vs " << AreaWidth(want)
               << "x" << AreaHeight(want);
    const double psnr = fixtures::Psnr(got, want);
    if (psnr >= least) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "PSNR " << psnr << " dB, below " << least;
}

TEST(ImageCorpus, EveryFileIsRightOrRefusedWithItsReason) {
    testsupport::TempDir dir;
    const std::vector<corpus::Entry> entries = corpus::Make(dir.path());
    ASSERT_GT(entries.size(), 100u) << "the corpus could not be made";
    corpus::Tally tally;
    for (const corpus::Entry& e : entries) {
        SCOPED_TRACE(e.file + " (" + e.note + ")");
        Image loaded;
        const int rc = ReadImageFile(dir.file(e.file).c_str(), loaded);
        if (rc != kImgOk) {
            const std::string reason = ImageFileProblem();
            EXPECT_TRUE(e.refused) << "refused: " << reason;
            EXPECT_FALSE(reason.empty());
            tally.add(e.format, reason.empty() ? corpus::Tally::Wrong : corpus::Tally::Refused);
            continue;
        }
        EXPECT_TRUE(ImageFileProblem().empty());
        if (e.refused) {
            ADD_FAILURE() << "a damaged file was accepted";
            tally.add(e.format, corpus::Tally::Wrong);
            continue;
        }
        Image reference;
        ASSERT_TRUE(fixtures::ReadNetpbm(testsupport::readFile(dir.file("ref/" + e.file + ".ppm")),
                                         reference));
        const auto same = Matches(loaded, reference, e.compare);
        const bool dpiRight = e.dpiX == 0 || (ImageDpiX(loaded.buffer) == e.dpiX &&
                                              ImageDpiY(loaded.buffer) == e.dpiY);
        EXPECT_TRUE(same);
        EXPECT_TRUE(dpiRight) << "resolution " << ImageDpiX(loaded.buffer) << " x "
                              << ImageDpiY(loaded.buffer);
        tally.add(e.format, same && dpiRight ? corpus::Tally::Right : corpus::Tally::Wrong);
    }
    std::cout << tally.table("Loader, per format:");
    EXPECT_EQ(tally.wrong(), 0);
}

}  // namespace

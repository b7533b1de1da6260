// The image corpus through `vellumo-cli pdf`: every file that loads becomes a page that MuPDF
// draws as the independent decoders show the file (upright, transparency on white), at the
// page size the file's resolution gives; every other file is refused with the reason. The test
// prints the count per format.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iostream>

#include "pdf_test_util.h"
#include "tests/imaging/codec_fixtures.h"
#include "tests/imaging/corpus/corpus.h"

using namespace vellumo::imaging;

namespace {

using fixtures::Image;
using testsupport::shellQuote;

::testing::AssertionResult Matches(const ImageBuffer& got, const ImageBuffer& want,
                                   const std::string& compare) {
    if (AreaWidth(got) != AreaWidth(want) || AreaHeight(got) != AreaHeight(want))
        return ::testing::AssertionFailure()
               << "size " << AreaWidth(got) << "x" << AreaHeight(got) << " vs " << AreaWidth(want)
               << "x" << AreaHeight(want);
    if (compare == "exact") return fixtures::SamePicture(got, want);
    if (compare == "close") return fixtures::ClosePicture(got, want, 1);
    if (compare.rfind("close:", 0) == 0)
        return fixtures::ClosePicture(got, want, std::atoi(compare.c_str() + 6));
    // Lossy data is decoded by another decoder here: allow it a little less.
    const double least = std::atof(compare.c_str() + 5) - 2;
    const double psnr = fixtures::Psnr(got, want);
    if (psnr >= least) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "PSNR " << psnr << " dB, below " << least;
}

TEST(PdfCorpus, EveryFileIsAPageAsShownOrRefusedWithItsReason) {
    testsupport::TempDir dir;
    const std::vector<corpus::Entry> entries = corpus::Make(dir.path());
    ASSERT_GT(entries.size(), 100u) << "the corpus could not be made";
    corpus::Tally tally;
    const std::string pdf = dir.file("page.pdf");
    std::vector<std::string> pages;
    for (const corpus::Entry& e : entries) {
        SCOPED_TRACE(e.file + " (" + e.note + ")");
        std::remove(pdf.c_str());
        std::string output;
        const int status = pdftest::Sh(std::string(VELLUMO_CLI_PATH) + " pdf -o " +
                                           shellQuote(pdf) + " " + shellQuote(dir.file(e.file)),
                                       &output);
        if (status != 0) {
            // The message names the file and says why after it.
            const size_t at = output.find(e.file);
            const bool reason =
                at != std::string::npos &&
                output.find_first_not_of(" :\n", at + e.file.size()) != std::string::npos;
            EXPECT_TRUE(e.refused) << output;
            EXPECT_TRUE(reason) << output;
            EXPECT_FALSE(testsupport::fileExists(pdf));
            tally.add(e.format, reason ? corpus::Tally::Refused : corpus::Tally::Wrong);
            continue;
        }
        if (e.refused) {
            ADD_FAILURE() << "a damaged file became a page";
            tally.add(e.format, corpus::Tally::Wrong);
            continue;
        }
        pages.push_back(dir.file(e.file));
        // The page as MuPDF draws it, one pixel for each of the image's whatever the page's
        // aspect (Poppler smooths images drawn at their own size; MuPDF draws them as they are).
        Image page, reference;
        ASSERT_TRUE(fixtures::ReadNetpbm(testsupport::readFile(dir.file("ref/" + e.file + ".ppm")),
                                         reference));
        const std::string drawn = dir.file("drawn.ppm");
        std::remove(drawn.c_str());
        pdftest::Sh("mutool draw -q -f -w " + std::to_string(AreaWidth(reference)) + " -h " +
                    std::to_string(AreaHeight(reference)) + " -o " + shellQuote(drawn) + " " +
                    shellQuote(pdf));
        const bool decoded = fixtures::ReadNetpbm(testsupport::readFile(drawn), page);
        EXPECT_TRUE(decoded);
        const auto same = decoded ? Matches(page, reference, e.compare)
                                  : ::testing::AssertionFailure() << "no image";
        EXPECT_TRUE(same);
        // The page has the size the file's resolution gives the upright picture.
        bool sized = true;
        if (e.dpiX > 0) {
            const auto sizes = pdftest::PageSizes(pdf);
            sized = sizes.size() == 1 &&
                    std::fabs(sizes[0].width - AreaWidth(reference) * 72.0 / e.dpiX) < 0.5 &&
                    std::fabs(sizes[0].height - AreaHeight(reference) * 72.0 / e.dpiY) < 0.5;
            EXPECT_TRUE(sized) << (sizes.empty() ? 0 : sizes[0].width) << " x "
                               << (sizes.empty() ? 0 : sizes[0].height) << " points";
        }
        tally.add(e.format, same && sized ? corpus::Tally::Right : corpus::Tally::Wrong);
    }
    std::cout << tally.table("vellumo-cli pdf, per format:");
    EXPECT_EQ(tally.wrong(), 0);
}

}  // namespace

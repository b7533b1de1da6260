// "Compress PDF:" never makes a page bigger: JPEG pages are not encoded again at or above the
// quality they have (estimated from their quantisation tables), a recompressed page that would
// not be smaller stays as it was, and pages where JPEG pays get the quality the user set.
#include <gtest/gtest.h>

#include <string>

#include "pdf/jpeg_requantize.h"
#include "pdf/pdf_builder.h"
#include "pdf_test_util.h"
#include "support/test_support.h"

using namespace pdftest;
using testsupport::shellQuote;
using namespace vellumo::pdf;

namespace {

class Compression : public ::testing::Test {
protected:
    std::string f(const std::string& name) const { return home_.path() + "/" + name; }
    // Builds out from pages with "Compress PDF:" at quality; the bytes of each page's image
    // stream as the builder reports them.
    std::vector<vellumo::pdf::WrittenPage> Build(const std::vector<std::string>& pages,
                                                 const std::string& out, const char* quality) {
        PdfBuildOptions options;
        options.compress = true;
        options.compressionPercent = quality;
        const PdfBuildResult result = BuildPdf(pages, out, options, nullptr);
        EXPECT_TRUE(result.written()) << result.errorText;
        std::string report;
        EXPECT_TRUE(QpdfClean(out, &report)) << report;
        EXPECT_TRUE(testsupport::listDir(home_.tempDir()).empty());
        return result.pages;
    }
    // The first image of page as pdfimages -j writes it (the JPEG data as stored).
    std::string StoredJpeg(const std::string& pdf, int page, const std::string& base) {
        const std::string p = std::to_string(page);
        Sh("pdfimages -j -f " + p + " -l " + p + " " + shellQuote(pdf) + " " + shellQuote(base));
        return testsupport::readFile(base + "-000.jpg");
    }

    testsupport::IsolatedHome home_;
};

TEST_F(Compression, JpegQualityIsReadFromTheTables) {
    MakeNoisyScan(f("scan.ppm"), 320, 240, 0, true);
    for (int quality : {10, 50, 75, 90, 95, 100}) {
        const std::string jpeg = f("q" + std::to_string(quality) + ".jpg");
        std::string out;
        ASSERT_EQ(Sh("cjpeg -quality " + std::to_string(quality) + " -outfile " + shellQuote(jpeg) +
                         " " + shellQuote(f("scan.ppm")),
                     &out),
                  0)
            << out;
        EXPECT_EQ(EstimateJpegQuality(jpeg), quality);
    }
    testsupport::writeFile(f("not.jpg"), "not a JPEG at all");
    EXPECT_EQ(EstimateJpegQuality(f("not.jpg")), 0);
    EXPECT_EQ(EstimateJpegQuality(f("missing.jpg")), 0);
}

TEST_F(Compression, JpegPagesAreNeverEncodedAgainAtOrAboveTheirQuality) {
    MakeNoisyScan(f("scan.ppm"), 640, 480, 0, true);
    Sh("cjpeg -quality 85 -outfile " + shellQuote(f("photo.jpg")) + " " +
       shellQuote(f("scan.ppm")));
    const std::string original = testsupport::readFile(f("photo.jpg"));
    // At 100 (the first-start setting) and at its own quality the file goes in unchanged.
    for (const char* quality : {"100", "85"}) {
        const auto pages = Build({f("photo.jpg")}, f("same.pdf"), quality);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_EQ(pages[0].coding, "JPEG");
        EXPECT_EQ(StoredJpeg(f("same.pdf"), 1, f("same")), original) << quality;
    }
    // Below it the page is requantised to the quality asked, and smaller.
    Build({f("photo.jpg")}, f("lower.pdf"), "60");
    const std::string lower = StoredJpeg(f("lower.pdf"), 1, f("lower"));
    EXPECT_LT(lower.size(), original.size());
    testsupport::writeFile(f("lower.jpg"), lower);
    EXPECT_EQ(EstimateJpegQuality(f("lower.jpg")), 60);
}

TEST_F(Compression, PagesStayLosslessWhereJpegWouldNotBeSmaller) {
    // A flat drawing: its PNG data is a few kilobytes, a JPEG of it at 100 is far larger.
    MakeColourImage(f("drawing.png"), 600, 400, 100);
    MakeNoisyScan(f("scan.png"), 600, 400, 100, true);
    MakeNoisyScan(f("grey.png"), 600, 400, 100, false);
    PdfBuildOptions plain;
    plain.compress = false;
    const PdfBuildResult lossless =
        BuildPdf({f("drawing.png"), f("scan.png"), f("grey.png")}, f("plain.pdf"), plain, nullptr);
    ASSERT_TRUE(lossless.written());

    const auto at100 = Build({f("drawing.png"), f("scan.png"), f("grey.png")}, f("100.pdf"), "100");
    ASSERT_EQ(at100.size(), 3u);
    EXPECT_EQ(at100[0].coding, "Flate");
    for (size_t i = 0; i < 3; ++i) EXPECT_LE(at100[i].bytes, lossless.pages[i].bytes) << i;

    // Where JPEG pays, the page gets the quality set.
    const auto at75 = Build({f("drawing.png"), f("scan.png"), f("grey.png")}, f("75.pdf"), "75");
    ASSERT_EQ(at75.size(), 3u);
    EXPECT_EQ(at75[1].coding, "JPEG");
    EXPECT_EQ(at75[2].coding, "JPEG");
    testsupport::writeFile(f("scan75.jpg"), StoredJpeg(f("75.pdf"), 2, f("s")));
    EXPECT_EQ(EstimateJpegQuality(f("scan75.jpg")), 75);
    uint64_t total75 = 0, total100 = 0;
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_LE(at75[i].bytes, lossless.pages[i].bytes) << i;
        total75 += at75[i].bytes;
        total100 += at100[i].bytes;
    }
    EXPECT_LT(total75, total100);
}

// A two-colour page in a 24-bit file is coded losslessly as a bilevel page, never as JPEG.
TEST_F(Compression, TwoColourPagesAreNotJpegEncoded) {
    MakeBilevelPng(f("bw.png"), 800, 600, 200);
    Sh("/usr/bin/convert " + shellQuote(f("bw.png")) +
       " -type TrueColor +level-colors navy,white BMP3:" + shellQuote(f("two.bmp")));
    const auto pages = Build({f("two.bmp")}, f("two.pdf"), "50");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].kind, "bilevel");
    EXPECT_NE(pages[0].coding, "JPEG");
    EXPECT_EQ(DifferentPixels(RenderMutool(f("two.pdf"), 1, 200, false, f("r")), f("two.bmp")), 0);
}

}  // namespace

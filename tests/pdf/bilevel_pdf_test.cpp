// Pages of two colours in the PDF: from every file format that holds them, coded as JBIG2 or
// G4 as asked (or the smaller of the two), and exact in every independent reader: the stream
// decoded by jbig2dec, the image pdfimages extracts, and the pages MuPDF, Ghostscript and pdf.js
// render at the page's own resolution all equal the page image. Poppler smooths bilevel images
// even at 1:1, so it only has to show the page.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "pdf/pagemint.h"
#include "pdf_test_util.h"
#include "support/test_support.h"

using namespace pdftest;
using testsupport::shellQuote;
using namespace vellumo::pdf;

namespace {

struct Source {
    std::string file;
    bool blackAndWhite;
};

class BilevelPages : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testsupport::TempDir;
        // A 100 dpi page with lines, blocks and a circle; every other format made from it by
        // ImageMagick and libtiff's tools.
        const int w = 701, h = 497;  // odd sizes: rows end inside a byte
        MakeBilevelPng(f("bw.png"), w, h, 100);
        MakeBilevelTiff(f("g4.tif"), w, h, 100, "g4");
        MakeBilevelTiff(f("lzw.tif"), w, h, 100, "lzw");
        MakeBilevelTiff(f("raw.tif"), w, h, 100, "none");
        const std::string bw = shellQuote(f("bw.png"));
        const std::string units = " -units PixelsPerInch -density 100 ";
        const std::vector<std::string> commands = {
            "tiffcp -c g4 -r 64 " + shellQuote(f("g4.tif")) + " " + shellQuote(f("g4strips.tif")),
            "/usr/bin/convert " + bw +
                " -type bilevel -depth 1 -define tiff:photometric=min-is-black" + units +
                "-compress RLE " + shellQuote(f("minisblack.tif")),
            "/usr/bin/convert " + bw + " -type bilevel" + units + "BMP3:" + shellQuote(f("bw.bmp")),
            "/usr/bin/convert " + bw + " -type bilevel" + units + shellQuote(f("bw.pcx")),
            "/usr/bin/convert " + bw + " -colors 2" + units + shellQuote(f("bw.gif")),
            "/usr/bin/convert " + bw + " -type TrueColor +level-colors navy,yellow -colors 2" +
                units + shellQuote(f("navy.gif")),
            "/usr/bin/convert " + bw +
                " -type TrueColor +level-colors darkred,'#f0f0e0' -colors 2" + units +
                "PNG8:" + shellQuote(f("red.png")),
            "/usr/bin/convert " + bw +
                " -type TrueColor +level-colors '#004000',white -type palette" + units +
                "BMP3:" + shellQuote(f("green.bmp")),
        };
        for (const std::string& c : commands) {
            std::string out;
            ASSERT_EQ(Sh(c, &out), 0) << c << "\n" << out;
        }
        sources_ = {{"g4.tif", true},    {"g4strips.tif", true},   {"lzw.tif", true},
                    {"raw.tif", true},   {"minisblack.tif", true}, {"bw.png", true},
                    {"bw.bmp", true},    {"bw.pcx", true},         {"bw.gif", true},
                    {"navy.gif", false}, {"red.png", false},       {"green.bmp", false}};
        // The reference pixels of each page, as ImageMagick reads the file.
        for (const Source& s : sources_) {
            std::string out;
            ASSERT_EQ(Sh("/usr/bin/convert " + shellQuote(f(s.file)) +
                             " -type TrueColor PNG24:" + shellQuote(f(s.file + ".ref.png")),
                         &out),
                      0)
                << out;
        }
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void TearDown() override { PGMT_Reset(); }

    static std::string f(const std::string& name) { return dir_->file(name); }

    // One PDF of every source, written with the given coding.
    static std::string Build(BilevelCoding coding, const std::string& name) {
        PGMT_Reset();
        vellumo::pdf::SetBilevelCoding(coding);
        for (const Source& s : sources_) EXPECT_EQ(PGMT_AddImage(f(s.file).c_str()), 0) << s.file;
        char error[256] = {};
        EXPECT_EQ(PGMT_MakePDF(f(name).c_str(), kPgmtModeReplace, error, sizeof error), 0) << error;
        std::string report;
        EXPECT_TRUE(QpdfClean(f(name), &report)) << report;
        return f(name);
    }

    static testsupport::TempDir* dir_;
    static std::vector<Source> sources_;
};

testsupport::TempDir* BilevelPages::dir_ = nullptr;
std::vector<Source> BilevelPages::sources_;

// pdfimages's image of page equals the source's pixels; for a two-entry colour table it writes
// the index bits, the foreground (index 0) white, so the bits are compared with the page cut
// into dark and light.
long ExtractedDifference(const std::string& pdf, int page, const std::string& ref,
                         bool blackAndWhite, const std::string& base) {
    std::string image = ExtractImage(pdf, page, base);
    if (blackAndWhite) return DifferentPixels(image, ref);
    Sh("/usr/bin/convert -quiet " + shellQuote(image) + " -negate " + shellQuote(base + "-n.png"));
    return DifferentPixels(base + "-n.png", ref, true);
}

// The resolution that renders page i (from 0) at one pixel per image pixel.
int OwnDpi(const std::vector<ImageEntry>& images, const std::vector<PageSize>& sizes, size_t i) {
    return static_cast<int>(std::lround(images[i].width * 72.0 / sizes[i].width));
}

TEST_F(BilevelPages, Jbig2PagesAreExactInEveryReader) {
    const std::string pdf = Build(BilevelCoding::Jbig2, "jbig2.pdf");
    const auto images = Images(pdf);
    const auto sizes = PageSizes(pdf);
    ASSERT_EQ(images.size(), sources_.size());
    ASSERT_EQ(sizes.size(), sources_.size());
    for (size_t i = 0; i < sources_.size(); ++i) {
        const Source& s = sources_[i];
        const int page = static_cast<int>(i) + 1, dpi = OwnDpi(images, sizes, i);
        const std::string ref = f(s.file + ".ref.png"), base = f("j" + std::to_string(page));
        SCOPED_TRACE(s.file);
        EXPECT_EQ(images[i].encoding, "jbig2");
        EXPECT_EQ(images[i].bitsPerComponent, 1);
        EXPECT_EQ(images[i].colour, s.blackAndWhite ? "gray" : "index");
        // jbig2dec gives the coded bitmap (1 = the darker colour).
        const std::string decoded = DecodeJbig2WithJbig2dec(pdf, page, base + "d");
        ASSERT_FALSE(decoded.empty());
        std::string out;
        Sh("/usr/bin/convert " + shellQuote(ref) + " -colorspace Gray -threshold 50% " +
               shellQuote(base + "bw.png"),
           &out);
        EXPECT_EQ(DifferentPixels(decoded, base + "bw.png"), 0);
        EXPECT_EQ(ExtractedDifference(pdf, page, ref, s.blackAndWhite, base + "x"), 0);
        EXPECT_EQ(DifferentPixels(RenderMutool(pdf, page, dpi, false, base + "m"), ref), 0);
        EXPECT_EQ(DifferentPixels(RenderGhostscript(pdf, page, dpi, false, base + "g"), ref), 0);
        EXPECT_EQ(DifferentPixels(RenderPdfjs(pdf, page, dpi, base + "p"), ref), 0);
        EXPECT_LT(DifferentPixels(RenderPoppler(pdf, page, dpi, false, base + "o"), ref, true),
                  701L * 497 / 100);
    }
}

TEST_F(BilevelPages, G4PagesAreExact) {
    const std::string pdf = Build(BilevelCoding::G4, "g4.pdf");
    const auto images = Images(pdf);
    const auto sizes = PageSizes(pdf);
    ASSERT_EQ(images.size(), sources_.size());
    ASSERT_EQ(sizes.size(), sources_.size());
    for (size_t i = 0; i < sources_.size(); ++i) {
        const Source& s = sources_[i];
        const int page = static_cast<int>(i) + 1, dpi = OwnDpi(images, sizes, i);
        const std::string ref = f(s.file + ".ref.png"), base = f("g" + std::to_string(page));
        SCOPED_TRACE(s.file);
        EXPECT_EQ(images[i].encoding, "ccitt");
        EXPECT_EQ(images[i].colour, s.blackAndWhite ? "gray" : "index");
        EXPECT_EQ(ExtractedDifference(pdf, page, ref, s.blackAndWhite, base + "x"), 0);
        EXPECT_EQ(DifferentPixels(RenderMutool(pdf, page, dpi, false, base + "m"), ref), 0);
    }
}

// The automatic choice takes the smaller coding for every page, so the PDF is never larger
// than with either coding alone, and is what the byte report says.
TEST_F(BilevelPages, AutomaticChoiceIsTheSmallerPerPage) {
    const std::string jbig2 = Build(BilevelCoding::Jbig2, "a-jbig2.pdf");
    const auto jbig2Pages = vellumo::pdf::LastWrittenPages();
    const std::string g4 = Build(BilevelCoding::G4, "a-g4.pdf");
    const auto g4Pages = vellumo::pdf::LastWrittenPages();
    const std::string automatic = Build(BilevelCoding::Auto, "auto.pdf");
    const auto autoPages = vellumo::pdf::LastWrittenPages();
    ASSERT_EQ(autoPages.size(), sources_.size());
    ASSERT_EQ(jbig2Pages.size(), sources_.size());
    ASSERT_EQ(g4Pages.size(), sources_.size());
    for (size_t i = 0; i < sources_.size(); ++i) {
        SCOPED_TRACE(sources_[i].file);
        EXPECT_EQ(autoPages[i].kind, "bilevel");
        EXPECT_LE(autoPages[i].bytes, std::min(jbig2Pages[i].bytes, g4Pages[i].bytes));
        EXPECT_EQ(jbig2Pages[i].coding, "JBIG2");
        EXPECT_EQ(g4Pages[i].coding, "G4");
    }
    EXPECT_EQ(vellumo::pdf::LastFileBytes(), testsupport::readFile(automatic).size());
    const auto images = Images(automatic);
    ASSERT_EQ(images.size(), sources_.size());
    for (size_t i = 0; i < sources_.size(); ++i)
        EXPECT_EQ(ExtractedDifference(automatic, static_cast<int>(i) + 1,
                                      f(sources_[i].file + ".ref.png"), sources_[i].blackAndWhite,
                                      f("a" + std::to_string(i))),
                  0)
            << sources_[i].file;
}

// A G4 file asked to stay G4 goes in without being decoded: the stream is the file's strip.
TEST_F(BilevelPages, G4StripIsCopiedWhenG4IsAsked) {
    PGMT_Reset();
    vellumo::pdf::SetBilevelCoding(BilevelCoding::G4);
    ASSERT_EQ(PGMT_AddImage(f("g4.tif").c_str()), 0);
    char error[256] = {};
    ASSERT_EQ(PGMT_MakePDF(f("copy.pdf").c_str(), kPgmtModeReplace, error, sizeof error), 0);
    std::string stream, strip;
    ASSERT_EQ(Sh("qpdf --show-object=4 --raw-stream-data " + shellQuote(f("copy.pdf")) + " | wc -c",
                 &stream),
              0);
    // "0: [offset, bytes]" for the one strip.
    ASSERT_EQ(Sh("tiffinfo -s " + shellQuote(f("g4.tif")) + " | awk '/^ +0:/ {print $NF}'", &strip),
              0);
    EXPECT_EQ(std::stol(stream), std::stol(strip));
}

}  // namespace

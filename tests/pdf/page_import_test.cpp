// Bringing pages in from multi-page TIFFs and from PDFs made by other programs and by Vellumo:
// the pages, their order and their pixels, compared with what independent tools (ImageMagick,
// Poppler's pdftoppm, qpdf) read from the same files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "imaging/codecs.h"
#include "imaging/image_pages.h"
#include "imaging/imaging.h"
#include "pdf/document_cache.h"
#include "pdf/page_image.h"
#include "pdf/page_import.h"
#include "pdf/pagemint.h"
#include "pdf_test_util.h"
#include "support/test_support.h"

using namespace pdftest;
using namespace vellumo;
using namespace vellumo::imaging;
using namespace vellumo::pdf;
using testsupport::shellQuote;

namespace {

// The page's pixels as RGB bytes, top row first, through the colour table.
std::string RgbOf(const ImageBuffer& image) {
    const int w = ImageWidth(image), h = ImageHeight(image), bits = BitsPerPixel(image);
    std::string out;
    out.reserve(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = RowPointer(image, static_cast<uint32_t>(y));
        for (int x = 0; x < w; ++x) {
            if (bits == 24) {
                out += static_cast<char>(row[3 * x + 2]);
                out += static_cast<char>(row[3 * x + 1]);
                out += static_cast<char>(row[3 * x]);
                continue;
            }
            const int index = bits == 1 ? (row[x >> 3] >> (7 - (x & 7))) & 1 : row[x];
            const RgbQuad& c = image.palette[index];
            out += static_cast<char>(c.rgbRed);
            out += static_cast<char>(c.rgbGreen);
            out += static_cast<char>(c.rgbBlue);
        }
    }
    return out;
}

// What ImageMagick decodes from a file (a page of it: "file[2]"), as RGB bytes.
std::string ReferenceRgb(const std::string& file, int width, int height) {
    std::string out;
    Sh("convert " + shellQuote(file) + " -depth 8 -colorspace sRGB -type TrueColor rgb:-", &out);
    EXPECT_EQ(out.size(), static_cast<size_t>(width) * height * 3) << file;
    return out;
}

// A PNM file's pixels as RGB (for pdftoppm's output).
std::string PpmRgb(const std::string& file, int& width, int& height) {
    std::string out;
    Sh("convert " + shellQuote(file) + " -depth 8 -format '%w %h' info:", &out);
    std::sscanf(out.c_str(), "%d %d", &width, &height);
    return ReferenceRgb(file, width, height);
}

size_t CountDifferent(const std::string& a, const std::string& b, int tolerance) {
    if (a.size() != b.size()) return std::max(a.size(), b.size());
    size_t n = 0;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::abs(static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i])) >
            tolerance)
            ++n;
    return n;
}

std::vector<imaging::PageRef> Pages(const std::string& file, const std::string& password = "") {
    std::vector<imaging::PageRef> pages;
    std::string reason;
    EXPECT_EQ(pdf::ListPages(file, password, pages, reason), pdf::ImportStatus::Ok) << reason;
    return pages;
}

// Loads the page and checks its pixels against a reference file, exactly or within tolerance.
void ExpectPagePixels(const imaging::PageRef& page, const std::string& reference,
                      int tolerance = 0) {
    ScopedImage image;
    std::string reason;
    ASSERT_EQ(pdf::LoadPage(page, "", image.image, reason), pdf::ImportStatus::Ok) << reason;
    const int w = ImageWidth(image.image), h = ImageHeight(image.image);
    EXPECT_EQ(CountDifferent(RgbOf(image.image), ReferenceRgb(reference, w, h), tolerance), 0u)
        << page.path << " page " << page.index + 1 << " against " << reference;
}

class PageImport : public ::testing::Test {
protected:
    void SetUp() override { pdf::ForgetCachedDocuments(); }
    std::string file(const std::string& name) { return home_.path() + "/" + name; }
    void make(const std::string& command) {
        std::string out;
        ASSERT_EQ(Sh(command, &out), 0) << command << "\n" << out;
    }
    // Three distinct source pages: a 1-bit drawing, an 8-bit grey ramp, a 24-bit picture.
    void makeSources() {
        make(
            "convert -size 320x400 xc:white -fill black -draw 'rectangle 20,30 200,300' "
            "-draw 'circle 250,320 290,360' -monochrome -units PixelsPerInch -density 150 " +
            shellQuote(file("bw.png")));
        make(
            "convert -size 320x400 gradient:white-black -rotate 90 -resize 320x400! "
            "-colorspace gray -depth 8 -units PixelsPerInch -density 150 " +
            shellQuote(file("grey.png")));
        make(
            "convert -size 320x400 plasma:fractal -seed 7 -depth 8 -units PixelsPerInch "
            "-density 150 " +
            shellQuote(file("colour.png")));
    }
    testsupport::IsolatedHome home_;
};

TEST_F(PageImport, MultiPageTiffsByTiffcpKeepEveryPageInOrder) {
    makeSources();
    // One TIFF per depth, each with its own compression, joined by tiffcp.
    make("convert " + shellQuote(file("bw.png")) + " -compress Group4 " +
         shellQuote(file("p1.tif")));
    make("convert " + shellQuote(file("grey.png")) + " -compress LZW " +
         shellQuote(file("p2.tif")));
    make("convert " + shellQuote(file("colour.png")) + " -compress Zip " +
         shellQuote(file("p3.tif")));
    make("tiffcp " + shellQuote(file("p1.tif")) + " " + shellQuote(file("p2.tif")) + " " +
         shellQuote(file("p3.tif")) + " " + shellQuote(file("multi.tif")));
    const auto pages = Pages(file("multi.tif"));
    ASSERT_EQ(pages.size(), 3u);
    const int expectedBits[] = {1, 8, 24};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pages[i].index, i);
        ImageFileInfo info;
        ASSERT_EQ(imaging::InspectImagePage(file("multi.tif").c_str(), i, info), 0);
        EXPECT_EQ(info.bitsPerPixel, expectedBits[i]);
        EXPECT_EQ(info.pageCount, 3);
        EXPECT_NEAR(info.dpiX, 150, 0.05);  // kept in pixels per centimetre by the PNGs
        ExpectPagePixels(pages[i], file("multi.tif") + "[" + std::to_string(i) + "]");
    }
    // Beyond the last page.
    ScopedImage none;
    std::string reason;
    EXPECT_EQ(pdf::LoadPage({file("multi.tif"), 3}, "", none.image, reason),
              pdf::ImportStatus::NoSuchPage);
    EXPECT_FALSE(reason.empty());
}

TEST_F(PageImport, MultiPageTiffsByImageMagick) {
    makeSources();
    make("convert " + shellQuote(file("colour.png")) + " " + shellQuote(file("grey.png")) + " " +
         shellQuote(file("bw.png")) + " -compress LZW " + shellQuote(file("im.tif")));
    const auto pages = Pages(file("im.tif"));
    ASSERT_EQ(pages.size(), 3u);
    for (int i = 0; i < 3; ++i)
        ExpectPagePixels(pages[i], file("im.tif") + "[" + std::to_string(i) + "]");
    // And the pages are the sources, in their order.
    ExpectPagePixels(pages[0], file("colour.png"));
    ExpectPagePixels(pages[2], file("bw.png"));
}

TEST_F(PageImport, Img2pdfPagesComeBackLosslessly) {
    makeSources();
    make("convert " + shellQuote(file("colour.png")) + " -quality 90 " + shellQuote(file("c.jpg")));
    make("convert " + shellQuote(file("bw.png")) + " -compress Group4 " +
         shellQuote(file("g4.tif")));
    make("img2pdf -o " + shellQuote(file("a.pdf")) + " " + shellQuote(file("c.jpg")) + " " +
         shellQuote(file("grey.png")) + " " + shellQuote(file("g4.tif")) + " " +
         shellQuote(file("colour.png")));
    const auto pages = Pages(file("a.pdf"));
    ASSERT_EQ(pages.size(), 4u);
    // Each page is one image: the JPEG decodes as the file does, the others exactly.
    ScopedImage jpeg;
    ASSERT_EQ(ReadImageFile(file("c.jpg").c_str(), jpeg.image), 0);
    ScopedImage first;
    std::string reason;
    ASSERT_EQ(pdf::LoadPage(pages[0], "", first.image, reason), pdf::ImportStatus::Ok) << reason;
    EXPECT_EQ(RgbOf(first.image), RgbOf(jpeg.image));
    ExpectPagePixels(pages[1], file("grey.png"));
    ExpectPagePixels(pages[2], file("bw.png"));
    ExpectPagePixels(pages[3], file("colour.png"));
    // At the resolution they have on the page.
    ScopedImage grey;
    ASSERT_EQ(pdf::LoadPage(pages[1], "", grey.image, reason), pdf::ImportStatus::Ok);
    EXPECT_EQ(BitsPerPixel(grey.image), 8);
    EXPECT_NEAR(ImageDpiX(grey.image), 150, 1);
    ScopedImage fax;
    ASSERT_EQ(pdf::LoadPage(pages[2], "", fax.image, reason), pdf::ImportStatus::Ok);
    EXPECT_EQ(BitsPerPixel(fax.image), 1);
}

TEST_F(PageImport, ImageMagickPdfsAreImagePages) {
    makeSources();
    // Debian's ImageMagick policy forbids its "PDF" writer; the PDF/A one is the same writer.
    make("convert " + shellQuote(file("colour.png")) + " " + shellQuote(file("grey.png")) +
         " -compress Zip PDFA:" + shellQuote(file("im.pdf")));
    make("convert " + shellQuote(file("bw.png")) +
         " -compress Group4 PDFA:" + shellQuote(file("imbw.pdf")));
    const auto pages = Pages(file("im.pdf"));
    ASSERT_EQ(pages.size(), 2u);
    ExpectPagePixels(pages[0], file("colour.png"));
    ExpectPagePixels(pages[1], file("grey.png"));
    const auto bw = Pages(file("imbw.pdf"));
    ASSERT_EQ(bw.size(), 1u);
    ExpectPagePixels(bw[0], file("bw.png"));
}

TEST_F(PageImport, GhostscriptTextPageIsDrawnAt300DpiAsPopplerDrawsIt) {
    if (!testsupport::haveTool("gs")) GTEST_SKIP() << "Ghostscript is missing";
    testsupport::writeFile(file("text.ps"),
                           "%!PS\n<< /PageSize [595 842] >> setpagedevice\n"
                           "/Helvetica findfont 24 scalefont setfont\n"
                           "72 750 moveto (Vellumo brings PDF pages in) show\n"
                           "2 setlinewidth 72 700 moveto 500 700 lineto stroke\n"
                           "0.2 0.4 0.8 setrgbcolor 72 400 200 150 rectfill\nshowpage\n");
    make("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile=" +
         shellQuote(file("gs.pdf")) + " " + shellQuote(file("text.ps")));
    const auto pages = Pages(file("gs.pdf"));
    ASSERT_EQ(pages.size(), 1u);
    std::shared_ptr<pdf::PdfDocument> doc;
    std::string reason;
    ASSERT_EQ(pdf::OpenCachedDocument(file("gs.pdf"), doc, reason), pdf::PdfStatus::Ok) << reason;
    pdf::PageImage image;
    std::string why;
    EXPECT_FALSE(pdf::FindPageImage(*doc, 0, image, &why));
    EXPECT_FALSE(why.empty());

    ScopedImage drawn;
    ASSERT_EQ(pdf::LoadPage(pages[0], "", drawn.image, reason), pdf::ImportStatus::Ok) << reason;
    // 595 x 842 pt at 300 dpi, whole pixels rounded up as pdftoppm has them.
    EXPECT_EQ(ImageWidth(drawn.image), 2480);
    EXPECT_EQ(ImageHeight(drawn.image), 3509);
    EXPECT_NEAR(ImageDpiX(drawn.image), 300, 0.5);
    make("pdftoppm -r 300 -singlefile " + shellQuote(file("gs.pdf")) + " " +
         shellQuote(file("ref")));
    int w = 0, h = 0;
    const std::string reference = PpmRgb(file("ref.ppm"), w, h);
    ASSERT_EQ(w, ImageWidth(drawn.image));
    ASSERT_EQ(h, ImageHeight(drawn.image));
    // The same renderer at the same resolution: the text and the drawing are where Poppler's
    // own tool puts them (anti-aliasing may differ at a few edge pixels).
    EXPECT_LT(CountDifferent(RgbOf(drawn.image), reference, 8), reference.size() / 1000);
}

TEST_F(PageImport, VellumosOwnPdfsComeBackExactly) {
    makeSources();
    make("convert " + shellQuote(file("bw.png")) + " -compress Group4 " +
         shellQuote(file("fax.tif")));
    PGMT_Reset();
    ASSERT_EQ(PGMT_AddImage(file("grey.png").c_str()), 0);
    ASSERT_EQ(PGMT_AddImage(file("fax.tif").c_str()), 0);
    ASSERT_EQ(PGMT_AddImage(file("colour.png").c_str()), 0);
    char error[256] = {};
    ASSERT_EQ(PGMT_MakePDF(file("own.pdf").c_str(), kPgmtModeReplace, error, sizeof error), 0)
        << error;
    const auto pages = Pages(file("own.pdf"));
    ASSERT_EQ(pages.size(), 3u);
    ExpectPagePixels(pages[0], file("grey.png"));
    ExpectPagePixels(pages[1], file("bw.png"));
    ExpectPagePixels(pages[2], file("colour.png"));
}

TEST_F(PageImport, EncryptedPdfsNeedTheirPassword) {
    makeSources();
    make("img2pdf -o " + shellQuote(file("plain.pdf")) + " " + shellQuote(file("grey.png")));
    make("qpdf --encrypt secret owner 256 -- " + shellQuote(file("plain.pdf")) + " " +
         shellQuote(file("locked.pdf")));
    std::vector<imaging::PageRef> pages;
    std::string reason;
    EXPECT_EQ(pdf::ListPages(file("locked.pdf"), "", pages, reason),
              pdf::ImportStatus::NeedsPassword);
    EXPECT_NE(reason.find("password"), std::string::npos) << reason;
    EXPECT_EQ(pdf::ListPages(file("locked.pdf"), "wrong", pages, reason),
              pdf::ImportStatus::NeedsPassword);
    ASSERT_EQ(pdf::ListPages(file("locked.pdf"), "secret", pages, reason), pdf::ImportStatus::Ok)
        << reason;
    ASSERT_EQ(pages.size(), 1u);
    ScopedImage drawn;
    EXPECT_EQ(pdf::LoadPage(pages[0], "", drawn.image, reason), pdf::ImportStatus::NeedsPassword);
    ASSERT_EQ(pdf::LoadPage(pages[0], "secret", drawn.image, reason), pdf::ImportStatus::Ok);
    EXPECT_EQ(ImageWidth(drawn.image), 320 * 2);  // 320 pixels at 150 dpi, drawn at 300

    // Only an owner password (printing restricted, say): it opens without asking.
    make("qpdf --encrypt '' owner 256 --print=none -- " + shellQuote(file("plain.pdf")) + " " +
         shellQuote(file("restricted.pdf")));
    EXPECT_EQ(pdf::ListPages(file("restricted.pdf"), "", pages, reason), pdf::ImportStatus::Ok)
        << reason;
}

TEST_F(PageImport, DamagedFilesGiveAReason) {
    makeSources();
    make("img2pdf -o " + shellQuote(file("good.pdf")) + " " + shellQuote(file("grey.png")) + " " +
         shellQuote(file("bw.png")));
    const std::string good = testsupport::readFile(file("good.pdf"));
    std::vector<imaging::PageRef> pages;
    std::string reason;

    // A wrong cross-reference offset: the objects are found by scanning the file.
    std::string moved = good;
    const size_t at = moved.rfind("startxref");
    ASSERT_NE(at, std::string::npos);
    moved.replace(at, std::string::npos, "startxref\n999999\n%%EOF\n");
    testsupport::writeFile(file("moved.pdf"), moved);
    ASSERT_EQ(pdf::ListPages(file("moved.pdf"), "", pages, reason), pdf::ImportStatus::Ok)
        << reason;
    ASSERT_EQ(pages.size(), 2u);
    ExpectPagePixels(pages[1], file("bw.png"));

    // Nothing but a header, and a file cut in the middle of its first image.
    for (const std::string& text : {std::string("%PDF-1.4\n%%EOF\n"), good.substr(0, 300)}) {
        testsupport::writeFile(file("broken.pdf"), text);
        pdf::ForgetCachedDocuments();
        const pdf::ImportStatus status = pdf::ListPages(file("broken.pdf"), "", pages, reason);
        EXPECT_EQ(status, pdf::ImportStatus::Damaged);
        EXPECT_FALSE(reason.empty());
        EXPECT_NE(
            pdf::DescribeImportFailure(file("broken.pdf"), status, reason).find(file("broken.pdf")),
            std::string::npos);
    }

    // Not an image at all, and a damaged TIFF.
    testsupport::writeFile(file("notes.txt"), "just some words\n");
    EXPECT_EQ(pdf::ListPages(file("notes.txt"), "", pages, reason), pdf::ImportStatus::Unsupported);
    EXPECT_FALSE(reason.empty());
    make("convert " + shellQuote(file("colour.png")) + " -compress LZW " +
         shellQuote(file("c.tif")));
    const std::string tiff = testsupport::readFile(file("c.tif"));
    testsupport::writeFile(file("cut.tif"), tiff.substr(0, tiff.size() / 3));
    ScopedImage image;
    EXPECT_NE(pdf::LoadPage({file("cut.tif"), 0}, "", image.image, reason), pdf::ImportStatus::Ok);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(pdf::ListPages(file("missing.pdf"), "", pages, reason),
              pdf::ImportStatus::CannotOpen);
}

// Found by fuzzing: a dictionary nested past the reader's depth limit with a damaged entry at
// the bottom kept the reader skipping that entry forever.
TEST_F(PageImport, ObjectsNestedPastTheLimitAreGivenUpQuickly) {
    for (const std::string& open :
         {std::string("<< /A "), std::string("[ "), std::string("<< /A [ ")}) {
        std::string nested;
        for (int i = 0; i < 80; ++i) nested += open;
        nested += "x ] 1 )";
        for (int i = 0; i < 80; ++i) nested += " ] >>";
        testsupport::writeFile(
            file("deep.pdf"),
            "%PDF-1.4\n1 0 obj\n" + nested + "\nendobj\ntrailer\n<< /Root 1 0 R >>\n%%EOF\n");
        pdf::ForgetCachedDocuments();
        std::vector<imaging::PageRef> pages;
        std::string reason;
        EXPECT_NE(pdf::ListPages(file("deep.pdf"), "", pages, reason), pdf::ImportStatus::Ok)
            << open;
        EXPECT_FALSE(reason.empty()) << open;
    }
}

TEST_F(PageImport, ImagesOurDecodersLeaveAreDrawnAtTheirOwnSize) {
    // img2pdf keeps a CMYK JPEG as it is: still one image on the page, drawn by Poppler.
    MakeCmykJpeg(file("cmyk.jpg"), 200, 300);
    make("img2pdf -o " + shellQuote(file("cmyk.pdf")) + " " + shellQuote(file("cmyk.jpg")));
    std::shared_ptr<pdf::PdfDocument> doc;
    std::string reason;
    ASSERT_EQ(pdf::OpenCachedDocument(file("cmyk.pdf"), doc, reason), pdf::PdfStatus::Ok);
    pdf::PageImage image;
    ASSERT_TRUE(pdf::FindPageImage(*doc, 0, image));
    ScopedImage pixels;
    EXPECT_FALSE(pdf::DecodePageImage(*doc, image, pixels.image, reason));
    ScopedImage page;
    ASSERT_EQ(pdf::LoadPage({file("cmyk.pdf"), 0}, "", page.image, reason), pdf::ImportStatus::Ok)
        << reason;
    EXPECT_NEAR(ImageWidth(page.image), 200, 1);
    EXPECT_NEAR(ImageHeight(page.image), 300, 1);
}

TEST_F(PageImport, MutatedPdfsNeverCrashTheReader) {
    makeSources();
    make("img2pdf -o " + shellQuote(file("seed.pdf")) + " " + shellQuote(file("grey.png")) + " " +
         shellQuote(file("bw.png")));
    make("qpdf --object-streams=generate " + shellQuote(file("seed.pdf")) + " " +
         shellQuote(file("packed.pdf")));
    uint32_t random = 2026;
    auto next = [&random] {
        random = random * 1103515245u + 12345u;
        return random >> 8;
    };
    for (const std::string& seed : {file("seed.pdf"), file("packed.pdf")}) {
        const std::string good = testsupport::readFile(seed);
        for (int round = 0; round < 150; ++round) {
            std::string bad = good;
            // A few bytes changed, or the file cut short, or a block repeated.
            switch (round % 3) {
                case 0:
                    for (int k = 0; k < 4; ++k)
                        bad[next() % bad.size()] = static_cast<char>(next());
                    break;
                case 1:
                    bad.resize(next() % bad.size());
                    break;
                default: {
                    const size_t at = next() % bad.size();
                    bad.insert(at, bad.substr(next() % bad.size(), 64));
                }
            }
            testsupport::writeFile(file("m.pdf"), bad);
            std::shared_ptr<pdf::PdfDocument> doc;
            std::string reason;
            if (pdf::PdfDocument::open(file("m.pdf"), doc, reason) != pdf::PdfStatus::Ok) {
                EXPECT_FALSE(reason.empty());
                continue;
            }
            for (int i = 0; i < doc->pageCount() && i < 4; ++i) {
                pdf::PageImage image;
                if (!pdf::FindPageImage(*doc, i, image)) continue;
                ScopedImage pixels;
                pdf::DecodePageImage(*doc, image, pixels.image, reason);
            }
        }
    }
}

TEST_F(PageImport, ReducedPagesAreSmallAndKnowTheirPage) {
    makeSources();
    make(
        "convert -size 2480x3508 plasma:fractal -seed 3 -units PixelsPerInch -density 300 "
        "-quality 85 " +
        shellQuote(file("a4.jpg")));
    make("img2pdf -o " + shellQuote(file("a4.pdf")) + " " + shellQuote(file("a4.jpg")) + " " +
         shellQuote(file("bw.png")));
    for (const std::string& path : {file("a4.jpg"), file("a4.pdf")}) {
        ScopedImage thumb;
        imaging::PageFacts facts;
        std::string reason;
        ASSERT_EQ(pdf::LoadReducedPage({path, 0}, "", 260, 260, thumb.image, facts, reason),
                  pdf::ImportStatus::Ok)
            << path << ": " << reason;
        EXPECT_EQ(facts.width, 2480) << path;
        EXPECT_EQ(facts.height, 3508) << path;
        EXPECT_EQ(facts.bitsPerPixel, 24) << path;
        EXPECT_NEAR(facts.dpiX, 300, 0.5) << path;
        EXPECT_EQ(ImageHeight(thumb.image), 260) << path;
        EXPECT_EQ(ImageWidth(thumb.image), 2480 * 260 / 3508) << path;
        // The reduction looks like the page: the mean colour matches a full decode's.
        ScopedImage full;
        ASSERT_EQ(pdf::LoadPage({path, 0}, "", full.image, reason), pdf::ImportStatus::Ok);
        ScopedImage small;
        ASSERT_EQ(imaging::ReduceToFit(full.image, 260, 260, small.image), 0);
        const std::string a = RgbOf(thumb.image), b = RgbOf(small.image);
        ASSERT_EQ(a.size(), b.size());
        long long sumA = 0, sumB = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            sumA += static_cast<unsigned char>(a[i]);
            sumB += static_cast<unsigned char>(b[i]);
        }
        EXPECT_NEAR(static_cast<double>(sumA) / a.size(), static_cast<double>(sumB) / b.size(), 2)
            << path;
    }
}

}  // namespace

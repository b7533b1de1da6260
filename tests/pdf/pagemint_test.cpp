// The PDF library: results, page sizes, embedding of every kind of page, safe replacement of
// an existing file. Every PDF written here must pass qpdf --check and render in poppler.
#include "pdf/pagemint.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <string>

#include "pdf_test_util.h"
#include "support/test_support.h"

using namespace vellumo::pdf;

using namespace pdftest;
using testsupport::TempDir;

namespace {

class Pagemint : public ::testing::Test {
protected:
    void SetUp() override { PGMT_Reset(); }
    void TearDown() override { PGMT_Reset(); }

    int Make(const std::string& out, int mode = kPgmtModeReplace) {
        error_[0] = '\0';
        return PGMT_MakePDF(out.c_str(), mode, error_, sizeof error_);
    }
    std::string f(const std::string& name) const { return dir_.file(name); }

    TempDir dir_;
    char error_[256] = {};
};

bool Near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance;
}

TEST_F(Pagemint, A4At300DpiIsA4AndBilevelPagesAreExact) {
    MakeBilevelTiff(f("g4.tif"), 2480, 3508, 300, "g4");
    MakeBilevelTiff(f("lzw.tif"), 2480, 3508, 300, "lzw");
    MakeBilevelPng(f("bw.png"), 2480, 3508, 300);
    ASSERT_EQ(PGMT_AddImage(f("g4.tif").c_str()), 0);
    ASSERT_EQ(PGMT_AddImage(f("lzw.tif").c_str()), 0);
    ASSERT_EQ(PGMT_AddImage(f("bw.png").c_str()), 0);
    ASSERT_EQ(Make(f("out.pdf")), 0) << error_;

    std::string report;
    EXPECT_TRUE(QpdfClean(f("out.pdf"), &report)) << report;
    const auto sizes = PageSizes(f("out.pdf"));
    ASSERT_EQ(sizes.size(), 3u);
    for (const PageSize& s : sizes) {
        EXPECT_TRUE(Near(s.width, 595, 1)) << s.width;
        EXPECT_TRUE(Near(s.height, 842, 1)) << s.height;
    }
    const auto images = Images(f("out.pdf"));
    ASSERT_EQ(images.size(), 3u);
    // Text codes smaller as JBIG2 than as the G4 strip, the G4 of the LZW file or the PNG's data.
    for (const ImageEntry& image : images) {
        EXPECT_EQ(image.encoding, "jbig2");
        EXPECT_EQ(image.bitsPerComponent, 1);
    }

    MakeBilevelPng(f("expected.png"), 2480, 3508, 300);
    for (int page = 1; page <= 3; ++page)
        EXPECT_EQ(DifferentPixels(ExtractImage(f("out.pdf"), page, f("x" + std::to_string(page))),
                                  f("expected.png"), true),
                  0)
            << "page " << page;
    // The page our own JBIG2 encoder wrote, rendered.
    EXPECT_EQ(
        DifferentPixels(RenderCairo(f("out.pdf"), 2, 300, true, f("c2")), f("expected.png"), true),
        0);
    // Poppler's own rasteriser resamples bilevel images slightly; it must still show the same
    // page.
    EXPECT_LT(DifferentPixels(RenderPoppler(f("out.pdf"), 2, 300, true, f("p2")), f("expected.png"),
                              true),
              2480L * 3508 / 500);
}

TEST_F(Pagemint, MixedDocumentOpensWithoutWarnings) {
    MakeBilevelTiff(f("bw.tif"), 200, 300, 100, "lzw");
    MakePalettePng(f("pal.png"), 120, 90, 72);
    MakeGreyPng(f("grey.png"), 160, 100, 0);
    MakeColourImage(f("colour.png"), 140, 100, 96);
    MakeColourImage(f("colour.jpg"), 140, 100, 200);
    MakeCmykJpeg(f("cmyk.jpg"), 100, 60);
    for (const char* name :
         {"bw.tif", "pal.png", "grey.png", "colour.png", "colour.jpg", "cmyk.jpg"})
        ASSERT_EQ(PGMT_AddImage(f(name).c_str()), 0) << name;
    ASSERT_EQ(Make(f("mixed.pdf")), 0) << error_;

    std::string report;
    EXPECT_TRUE(QpdfClean(f("mixed.pdf"), &report)) << report;
    std::string out;
    EXPECT_EQ(Sh("pdftoppm -r 72 " + testsupport::shellQuote(f("mixed.pdf")) + " " +
                     testsupport::shellQuote(f("all")),
                 &out),
              0);
    EXPECT_EQ(out, "");

    const auto images = Images(f("mixed.pdf"));
    ASSERT_EQ(images.size(), 6u);
    EXPECT_EQ(images[0].encoding, "jbig2");
    EXPECT_EQ(images[1].colour, "index");
    EXPECT_EQ(images[2].colour, "gray");
    EXPECT_EQ(images[2].encoding, "image");
    EXPECT_EQ(images[3].colour, "rgb");
    EXPECT_EQ(images[4].encoding, "jpeg");
    EXPECT_EQ(images[5].colour, "cmyk");
    EXPECT_EQ(images[5].encoding, "jpeg");

    // Sizes from each file's own resolution; none recorded: 150 dpi.
    const auto sizes = PageSizes(f("mixed.pdf"));
    ASSERT_EQ(sizes.size(), 6u);
    EXPECT_TRUE(Near(sizes[0].width, 200 * 72 / 100.0, 0.02));
    EXPECT_TRUE(Near(sizes[1].width, 120, 0.02));
    EXPECT_TRUE(Near(sizes[2].width, 160 * 72 / 150.0, 0.02));
    EXPECT_TRUE(Near(sizes[3].width, 140 * 72 / 96.0, 0.02));
    EXPECT_TRUE(Near(sizes[4].height, 100 * 72 / 200.0, 0.02));
    EXPECT_TRUE(Near(sizes[5].width, 100 * 72 / 150.0, 0.02));

    // Flate pages carry their source's pixels exactly; JPEG pages within JPEG's loss.
    EXPECT_EQ(DifferentPixels(ExtractImage(f("mixed.pdf"), 2, f("x2")), f("pal.png")), 0);
    EXPECT_EQ(DifferentPixels(ExtractImage(f("mixed.pdf"), 3, f("x3")), f("grey.png")), 0);
    EXPECT_EQ(DifferentPixels(ExtractImage(f("mixed.pdf"), 4, f("x4")), f("colour.png")), 0);
    EXPECT_EQ(DifferentPixels(RenderCairo(f("mixed.pdf"), 3, 150, true, f("r3")), f("grey.png")),
              0);
    EXPECT_EQ(DifferentPixels(RenderCairo(f("mixed.pdf"), 4, 96, false, f("r4")), f("colour.png")),
              0);
    EXPECT_GT(Psnr(RenderPoppler(f("mixed.pdf"), 3, 150, true, f("q3")), f("grey.png")), 40);
    EXPECT_GT(Psnr(RenderCairo(f("mixed.pdf"), 5, 200, false, f("q5")), f("colour.jpg")), 35);

    // The CMYK page: red stays red and white stays white (an inverted reading gives cyan and
    // black).
    const std::string cmyk = RenderPoppler(f("mixed.pdf"), 6, 150, false, f("q6"));
    std::string pixel;
    Sh("/usr/bin/convert " + cmyk +
           " -crop 1x1+20+30 -format '%[fx:int(255*r)] %[fx:int(255*g)] "
           "%[fx:int(255*b)]' info:",
       &pixel);
    int r = 0, g = 0, b = 0;
    ASSERT_EQ(std::sscanf(pixel.c_str(), "%d %d %d", &r, &g, &b), 3) << pixel;
    EXPECT_GT(r, 180);
    EXPECT_LT(g, 90);
    EXPECT_LT(b, 90);
    Sh("/usr/bin/convert " + cmyk +
           " -crop 1x1+80+30 -format '%[fx:int(255*r)] %[fx:int(255*g)] "
           "%[fx:int(255*b)]' info:",
       &pixel);
    ASSERT_EQ(std::sscanf(pixel.c_str(), "%d %d %d", &r, &g, &b), 3) << pixel;
    EXPECT_GT(r + g + b, 3 * 220);
}

TEST_F(Pagemint, JpegFilesAreCopiedUnchanged) {
    MakeColourImage(f("c.jpg"), 300, 200, 300);
    ASSERT_EQ(PGMT_AddImage(f("c.jpg").c_str()), 0);
    ASSERT_EQ(Make(f("j.pdf")), 0) << error_;
    Sh("pdfimages -j " + testsupport::shellQuote(f("j.pdf")) + " " +
       testsupport::shellQuote(f("e")));
    EXPECT_EQ(testsupport::readFile(f("e-000.jpg")), testsupport::readFile(f("c.jpg")));
    std::string report;
    EXPECT_TRUE(QpdfClean(f("j.pdf"), &report)) << report;
}

TEST_F(Pagemint, ResolutionOverrideAndDocumentInformation) {
    MakeGreyPng(f("g.png"), 300, 600, 300);
    PGMT_SetCreator("Creator text");
    PGMT_SetProducer("Producer (text)");
    PGMT_SetTitle("Titel \xC3\xBC");
    ASSERT_EQ(PGMT_SetCreationDate(), 0);
    EXPECT_NE(PGMT_SetDPI(-1), 0);
    ASSERT_EQ(PGMT_SetDPI(0), 0);
    ASSERT_EQ(PGMT_AddImage(f("g.png").c_str()), 0);
    ASSERT_EQ(PGMT_SetDPI(100), 0);
    ASSERT_EQ(PGMT_AddImage(f("g.png").c_str()), 0);
    ASSERT_EQ(Make(f("d.pdf")), 0) << error_;
    const auto sizes = PageSizes(f("d.pdf"));
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_TRUE(Near(sizes[0].width, 72, 0.01));
    EXPECT_TRUE(Near(sizes[1].width, 216, 0.01));
    std::string info;
    Sh("pdfinfo " + testsupport::shellQuote(f("d.pdf")), &info);
    EXPECT_NE(info.find("Creator:         Creator text"), std::string::npos) << info;
    EXPECT_NE(info.find("Producer:        Producer (text)"), std::string::npos) << info;
    EXPECT_NE(info.find("Title:           Titel \xC3\xBC"), std::string::npos) << info;
    EXPECT_NE(info.find("CreationDate:"), std::string::npos) << info;
    std::string report;
    EXPECT_TRUE(QpdfClean(f("d.pdf"), &report)) << report;

    // Everything is reset afterwards: the next document has no pages and no information.
    EXPECT_EQ(PGMT_ImageCount(), 0);
    EXPECT_EQ(Make(f("e.pdf")), kPgmtNoImages);
}

TEST_F(Pagemint, Results) {
    MakeGreyPng(f("g.png"), 20, 20, 0);
    testsupport::writeFile(f("text.txt"), "not an image\n");
    EXPECT_NE(PGMT_AddImage(f("text.txt").c_str()), 0);
    EXPECT_NE(PGMT_AddImage(f("missing.png").c_str()), 0);
    EXPECT_NE(PGMT_AddImage(""), 0);
    EXPECT_NE(PGMT_AddImage(nullptr), 0);

    EXPECT_EQ(Make(f("none.pdf")), kPgmtNoImages);
    EXPECT_FALSE(testsupport::fileExists(f("none.pdf")));

    ASSERT_EQ(PGMT_AddImage(f("g.png").c_str()), 0);
    EXPECT_EQ(PGMT_MakePDF(nullptr, kPgmtModeReplace, error_, sizeof error_),
              kPgmtInvalidParameters);
    ASSERT_EQ(PGMT_AddImage(f("g.png").c_str()), 0);
    EXPECT_EQ(Make(f("x.pdf"), 7), kPgmtInvalidParameters);
    ASSERT_EQ(PGMT_AddImage(f("g.png").c_str()), 0);
    EXPECT_EQ(PGMT_MakePDF(f("x.pdf").c_str(), kPgmtModeReplace, nullptr, 256),
              kPgmtInvalidParameters);

    ASSERT_EQ(PGMT_AddImage(f("g.png").c_str()), 0);
    EXPECT_EQ(Make(f("no/such/folder/x.pdf")), kPgmtCannotCreate);

    // A folder at the target, an existing file in create-new mode, a read-only file: kept.
    ASSERT_EQ(mkdir(f("folder.pdf").c_str(), 0755), 0);
    ASSERT_EQ(PGMT_AddImage(f("g.png").c_str()), 0);
    EXPECT_EQ(Make(f("folder.pdf")), kPgmtCannotReplace);
    testsupport::writeFile(f("old.pdf"), "old contents");
    ASSERT_EQ(PGMT_AddImage(f("g.png").c_str()), 0);
    EXPECT_EQ(Make(f("old.pdf"), kPgmtModeCreateNew), kPgmtCannotReplace);
    testsupport::writeFile(f("ro.pdf"), "read-only contents");
    chmod(f("ro.pdf").c_str(), 0444);
    ASSERT_EQ(PGMT_AddImage(f("g.png").c_str()), 0);
    EXPECT_EQ(Make(f("ro.pdf")), kPgmtCannotReplace);
    EXPECT_EQ(testsupport::readFile(f("old.pdf")), "old contents");
    EXPECT_EQ(testsupport::readFile(f("ro.pdf")), "read-only contents");

    // Replacing a writable file works and keeps its permissions.
    chmod(f("old.pdf").c_str(), 0640);
    ASSERT_EQ(PGMT_AddImage(f("g.png").c_str()), 0);
    EXPECT_EQ(Make(f("old.pdf")), kPgmtOk) << error_;
    EXPECT_EQ(testsupport::readFile(f("old.pdf")).rfind("%PDF-1.4", 0), 0u);
    std::string report;
    EXPECT_TRUE(QpdfClean(f("old.pdf"), &report)) << report;
    struct stat st {};
    ASSERT_EQ(stat(f("old.pdf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(Pagemint, FailedBuildKeepsTheExistingFileAndLeavesNothingBehind) {
    MakeGreyPng(f("g.png"), 40, 40, 0);
    MakeGreyPng(f("vanishing.png"), 40, 40, 0);
    testsupport::writeFile(f("target.pdf"), "the user's previous PDF");
    ASSERT_EQ(PGMT_AddImage(f("g.png").c_str()), 0);
    ASSERT_EQ(PGMT_AddImage(f("vanishing.png").c_str()), 0);
    // The second page is damaged after it was added: the PNG's data is cut short.
    const std::string png = testsupport::readFile(f("vanishing.png"));
    testsupport::writeFile(f("vanishing.png"), png.substr(0, png.size() / 2));
    EXPECT_EQ(Make(f("target.pdf")), kPgmtFailed);
    EXPECT_NE(std::string(error_).find("Page 2"), std::string::npos) << error_;
    EXPECT_EQ(testsupport::readFile(f("target.pdf")), "the user's previous PDF");
    const auto names = testsupport::listDir(dir_.path());
    EXPECT_EQ(names.size(), 3u) << "a temporary file was left behind";

    // A page file that is gone by the time the PDF is written.
    ASSERT_EQ(PGMT_AddImage(f("g.png").c_str()), 0);
    ASSERT_EQ(std::rename(f("g.png").c_str(), f("moved.png").c_str()), 0);
    EXPECT_EQ(Make(f("target.pdf")), kPgmtFailed);
    EXPECT_EQ(testsupport::readFile(f("target.pdf")), "the user's previous PDF");
}

TEST_F(Pagemint, PalettePngAndPaletteTiffBecomeIndexed) {
    MakePalettePng(f("p.png"), 64, 48, 0);
    Sh("/usr/bin/convert " + f("p.png") + " -type Palette -compress lzw " + f("p.tif"));
    ASSERT_EQ(PGMT_AddImage(f("p.png").c_str()), 0);
    ASSERT_EQ(PGMT_AddImage(f("p.tif").c_str()), 0);
    ASSERT_EQ(Make(f("p.pdf")), 0) << error_;
    const auto images = Images(f("p.pdf"));
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].colour, "index");
    EXPECT_EQ(images[1].colour, "index");
    EXPECT_EQ(DifferentPixels(ExtractImage(f("p.pdf"), 1, f("a")), f("p.png")), 0);
    EXPECT_EQ(DifferentPixels(ExtractImage(f("p.pdf"), 2, f("b")), f("p.png")), 0);
    std::string report;
    EXPECT_TRUE(QpdfClean(f("p.pdf"), &report)) << report;
}

}  // namespace

namespace {

TEST_F(Pagemint, EveryReadableFormatBecomesAPage) {
    MakeColourImage(f("src.png"), 90, 60, 0);
    const std::vector<std::string> names = {"p.bmp", "p.tga", "p.pcx", "p.gif", "p.tif"};
    for (const std::string& name : names) {
        std::string out;
        // ImageMagick 6 stores TGA rows top-first under a bottom-left origin; netpbm writes the
        // format as it is defined.
        const std::string command =
            name == "p.tga" ? "pngtopnm " + f("src.png") + " | ppmtotga -rgb -norle > " + f(name)
                            : "/usr/bin/convert " + f("src.png") + " " + f(name);
        ASSERT_EQ(Sh(command, &out), 0) << out;
        ASSERT_EQ(PGMT_AddImage(f(name).c_str()), 0) << name;
    }
    ASSERT_EQ(Make(f("formats.pdf")), 0) << error_;
    std::string report;
    EXPECT_TRUE(QpdfClean(f("formats.pdf"), &report)) << report;
    ASSERT_EQ(PageSizes(f("formats.pdf")).size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string page =
            ExtractImage(f("formats.pdf"), static_cast<int>(i + 1), f("x" + std::to_string(i)));
        // GIF holds 256 colours at most; the others are lossless copies of the same pixels.
        if (names[i] == "p.gif")
            EXPECT_EQ(DifferentPixels(page, f("p.gif")), 0) << names[i];
        else
            EXPECT_EQ(DifferentPixels(page, f("src.png")), 0) << names[i];
    }
}

}  // namespace

// A PDF made in the temporary folder (the one to be mailed) is the user's alone; one saved
// elsewhere gets the usual permissions.
TEST(PagemintFileMode, WorkingCopiesInTheTemporaryFolderArePrivate) {
    testsupport::IsolatedHome home;
    const mode_t previous = umask(022);
    MakeGreyPng(home.path() + "/g.png", 20, 20, 0);
    char error[256] = {};
    for (const std::string& out : {home.tempDir() + "/Images.pdf", home.path() + "/Saved.pdf"}) {
        PGMT_Reset();
        ASSERT_EQ(PGMT_AddImage((home.path() + "/g.png").c_str()), 0);
        ASSERT_EQ(PGMT_MakePDF(out.c_str(), kPgmtModeReplace, error, sizeof error), 0) << error;
        struct stat st {};
        ASSERT_EQ(stat(out.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, out == home.tempDir() + "/Images.pdf" ? 0600u : 0644u) << out;
    }
    PGMT_Reset();
    umask(previous);
}

// vellumo-cli pdf and scan with the page clean-up: pages straightened and turned upright in the
// PDF (checked by rendering it back with Poppler and measuring with ImageMagick and Tesseract's
// own program), blank pages reported or left out, the stored settings for scanning, and wrong
// usage.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "imaging/codecs.h"
#include "support/test_support.h"
#include "tests/cleanup/test_pages.h"

namespace {

using namespace vellumo::cleanup::testpages;
using namespace vellumo::imaging;
using testsupport::shellQuote;

struct CliRun {
    int status = -1;
    std::string err;
};

// Runs vellumo-cli with `env` (assignments) in front; standard error is kept.
CliRun Cli(const std::string& args, const std::string& dir, const std::string& env = "") {
    CliRun r;
    r.status = testsupport::run(env + " " + shellQuote(VELLUMO_CLI) + " " + args +
                                " >/dev/null 2>" + shellQuote(dir + "/stderr"));
    r.err = testsupport::readFile(dir + "/stderr");
    return r;
}

bool HaveTools() {
    for (const char* tool : {"gs", "qpdf", "pdftoppm", "pdfinfo", "pdfimages", "convert"})
        if (!testsupport::haveTool(tool)) return false;
    return true;
}

#define REQUIRE_TOOLS() \
    if (!HaveTools()) GTEST_SKIP() << "Ghostscript, qpdf, Poppler or ImageMagick is missing"

// Renders a page and saves it in the format the name says.
void MakePage(const PagePlan& plan, const std::string& path, const std::string& dir) {
    ImageBuffer image{};
    std::string error;
    ASSERT_TRUE(RenderPage(plan, dir, image, &error)) << error;
    int saved = -1;
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0)
        saved = SavePng(path.c_str(), image, 0);
    else if (path.size() > 4 && path.compare(path.size() - 4, 4, ".jpg") == 0)
        saved = SaveJpeg(path.c_str(), image, 90);
    else
        saved = SaveTiff(path.c_str(), image, BitsPerPixel(image) == 1 ? 4 : 1);
    FreeImage(image);
    ASSERT_EQ(saved, 0) << path;
}

int PageCount(const std::string& pdf) {
    return std::atoi(
        testsupport::capture("pdfinfo " + shellQuote(pdf) + " | sed -n 's/^Pages: *//p'").c_str());
}

// Page `page` of the PDF rendered back to a grey PNG at 100 dpi.
std::string RenderBack(const std::string& pdf, int page, const std::string& dir) {
    const std::string base = dir + "/back" + std::to_string(page);
    testsupport::run("pdftoppm -gray -png -r 100 -singlefile -f " + std::to_string(page) + " -l " +
                     std::to_string(page) + " " + shellQuote(pdf) + " " + shellQuote(base));
    return base + ".png";
}

double MagickSkew(const std::string& png) {
    const std::string text = testsupport::capture("convert " + shellQuote(png) +
                                                  " -deskew 40% -format '%[deskew:angle]' info:");
    return std::strtod(text.c_str(), nullptr);
}

class CliCleanup : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveTools()) return;
        d = home.path();
        PagePlan skewed;  // a text page scanned 4.3 degrees askew
        skewed.dpi = 150;
        skewed.skewDegrees = 4.3;
        skewed.seed = 1300;
        skewed.specks = 20;
        MakePage(skewed, d + "/skewed.png", d);
        PagePlan blank;  // the blank back of a sheet, scanned black and white
        blank.content = Content::Blank;
        blank.bits = 1;
        blank.dpi = 150;
        blank.seed = 1301;
        blank.specks = 30;
        blank.showThrough = true;
        blank.punchHoles = true;
        MakePage(blank, d + "/blank.tif", d);
        PagePlan upsideDown;  // a colour page fed in the wrong way round
        upsideDown.dpi = 150;
        upsideDown.bits = 24;
        upsideDown.quarterTurns = 2;
        upsideDown.seed = 1302;
        MakePage(upsideDown, d + "/upside-down.png", d);
        PagePlan straight;  // a straight grey page as a JPEG
        straight.dpi = 150;
        straight.seed = 1303;
        MakePage(straight, d + "/straight.jpg", d);
        files = shellQuote(d + "/skewed.png") + " " + shellQuote(d + "/blank.tif") + " " +
                shellQuote(d + "/upside-down.png") + " " + shellQuote(d + "/straight.jpg");
    }
    testsupport::IsolatedHome home;
    std::string d, files;
};

TEST_F(CliCleanup, PdfStraightensTurnsAndMarks) {
    REQUIRE_TOOLS();
    const std::string out = d + "/out.pdf";
    const CliRun r =
        Cli("pdf --deskew --upright --blank=mark -o " + shellQuote(out) + " " + files, d);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "vellumo-cli: page 2 is blank: " + d + "/blank.tif\n");
    EXPECT_EQ(testsupport::run("qpdf --check " + shellQuote(out) + " >/dev/null"), 0);
    ASSERT_EQ(PageCount(out), 4);
    // Page 1 comes back straight, as ImageMagick measures it.
    EXPECT_LE(std::fabs(MagickSkew(RenderBack(out, 1, d))), 0.2);
    // Page 3 is upright, as Tesseract's own program sees it.
    if (testsupport::haveTool("tesseract")) {
        const std::string osd = testsupport::capture(
            "tesseract " + shellQuote(RenderBack(out, 3, d)) + " - --psm 0 2>&1");
        EXPECT_NE(osd.find("Rotate: 0"), std::string::npos) << osd;
    }
    // The straight JPEG went in untouched; the others as black-and-white or lossless pages.
    const std::string images = testsupport::capture("pdfimages -list " + shellQuote(out));
    EXPECT_NE(images.find(" jpeg "), std::string::npos) << images;
    // Every temporary page file is gone.
    for (const std::string& name : testsupport::listDir(home.tempDir()))
        ADD_FAILURE() << "left behind: " << name;
}

TEST_F(CliCleanup, PdfDropsBlankPages) {
    REQUIRE_TOOLS();
    const std::string out = d + "/dropped.pdf";
    const CliRun r = Cli("pdf --blank=drop -o " + shellQuote(out) + " " + files, d);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "vellumo-cli: dropped blank page 2: " + d + "/blank.tif\n");
    EXPECT_EQ(PageCount(out), 3);

    // Only blank pages: nothing to write.
    const CliRun none = Cli(
        "pdf --blank drop -o " + shellQuote(d + "/none.pdf") + " " + shellQuote(d + "/blank.tif"),
        d);
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("every page is blank"), std::string::npos) << none.err;
    EXPECT_FALSE(testsupport::fileExists(d + "/none.pdf"));
}

TEST_F(CliCleanup, EveryPageOfPdfAndMultiPageTiffFilesIsCleaned) {
    REQUIRE_TOOLS();
    if (!testsupport::haveTool("tiffcp")) GTEST_SKIP() << "tiffcp is missing";
    // A PDF holding the skewed page, and a two-page TIFF: a blank back, then the skewed page.
    const std::string inPdf = d + "/in.pdf";
    ASSERT_EQ(Cli("pdf -o " + shellQuote(inPdf) + " " + shellQuote(d + "/skewed.png"), d).status,
              0);
    const std::string skewedTif = d + "/skewed.tif";
    ASSERT_EQ(
        testsupport::run("convert " + shellQuote(d + "/skewed.png") + " " + shellQuote(skewedTif)),
        0);
    const std::string multi = d + "/multi.tif";
    ASSERT_EQ(testsupport::run("tiffcp " + shellQuote(d + "/blank.tif") + " " +
                               shellQuote(skewedTif) + " " + shellQuote(multi)),
              0);

    const std::string out = d + "/all.pdf";
    const CliRun r = Cli("pdf --deskew --blank=drop -o " + shellQuote(out) + " " +
                             shellQuote(inPdf) + " " + shellQuote(multi),
                         d);
    ASSERT_EQ(r.status, 0) << r.err;
    // The blank is the second page read, named by its place in its file.
    EXPECT_EQ(r.err, "vellumo-cli: dropped blank page 2: " + multi + " page 1\n");
    ASSERT_EQ(PageCount(out), 2);
    EXPECT_LE(std::fabs(MagickSkew(RenderBack(out, 1, d))), 0.2);
    EXPECT_LE(std::fabs(MagickSkew(RenderBack(out, 2, d))), 0.2);
    for (const std::string& name : testsupport::listDir(home.tempDir()))
        ADD_FAILURE() << "left behind: " << name;
}

TEST_F(CliCleanup, PdfCleansNothingUnlessAsked) {
    REQUIRE_TOOLS();
    const std::string out = d + "/plain.pdf";
    const CliRun r = Cli("pdf -o " + shellQuote(out) + " " + files, d);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(PageCount(out), 4);
    EXPECT_NEAR(std::fabs(MagickSkew(RenderBack(out, 1, d))), 4.3, 0.3);
}

TEST_F(CliCleanup, WrongUsageAndMissingOrientationData) {
    REQUIRE_TOOLS();
    EXPECT_EQ(Cli("pdf --blank=maybe -o x.pdf " + files, d).status, 2);
    const CliRun noValue = Cli("pdf -o x.pdf " + files + " --blank", d);
    EXPECT_EQ(noValue.status, 2);
    EXPECT_NE(noValue.err.find("--blank needs mark, drop or off"), std::string::npos);
    EXPECT_EQ(Cli("scan --blank=sometimes -o x.pdf", d).status, 2);

    // Without Tesseract's orientation data the pages are still written, with a word why they
    // are not turned.
    testsupport::TempDir empty;
    const std::string out = d + "/no-osd.pdf";
    const CliRun r =
        Cli("pdf --upright -o " + shellQuote(out) + " " + shellQuote(d + "/upside-down.png"), d,
            "TESSDATA_PREFIX=" + shellQuote(empty.path()));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err,
              "vellumo-cli: pages are not turned upright: Tesseract's orientation data "
              "(osd.traineddata) is not installed\n");
    EXPECT_EQ(PageCount(out), 1);

    // A damaged file is reported as before.
    testsupport::writeFile(d + "/damaged.png", "\x89PNG\r\n\x1a\nnot really");
    const CliRun damaged = Cli(
        "pdf --deskew -o " + shellQuote(d + "/d.pdf") + " " + shellQuote(d + "/damaged.png"), d);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("cannot read page 1"), std::string::npos) << damaged.err;
}

// The SANE test scanner set to deliver white pages: every scan is a blank page.
class CliScanBlank : public ::testing::Test {
protected:
    void SetUp() override {
        sane = home.path() + "/sane";
        std::filesystem::create_directories(sane);
        testsupport::writeFile(sane + "/dll.conf", "test\n");
        std::string conf = testsupport::readFile(testsupport::sourceDir() + "/res/sane/test.conf");
        const std::string black = "test-picture \"Solid black\"";
        conf.replace(conf.find(black), black.size(), "test-picture \"Solid white\"");
        testsupport::writeFile(sane + "/test.conf", conf);
        std::filesystem::create_directories(home.path() + "/.config/Brackwin");
    }
    CliRun Scan(const std::string& options) {
        return Cli("scan --device test:0 --resolution 75 " + options + " -o " + shellQuote(out()),
                   home.path(), "SANE_CONFIG_DIR=" + shellQuote(sane));
    }
    void Store(const std::string& settings) {
        testsupport::writeFile(home.path() + "/.config/Brackwin/Vellumo.conf",
                               "[Settings]\n" + settings);
    }
    std::string out() const { return home.path() + "/scan.pdf"; }
    testsupport::IsolatedHome home;
    std::string sane;
};

TEST_F(CliScanBlank, BlankPagesAsTheOptionsSay) {
    if (!testsupport::haveTool("pdfinfo")) GTEST_SKIP() << "Poppler is missing";
    CliRun r = Scan("--blank=mark");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "vellumo-cli: page 1 is blank\n");
    EXPECT_EQ(PageCount(out()), 1);

    std::filesystem::remove(out());
    r = Scan("--blank=drop");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "vellumo-cli: dropped blank page 1\n"
              "vellumo-cli: every page was blank; no PDF was written\n");
    EXPECT_FALSE(testsupport::fileExists(out()));

    r = Scan("--blank=off --no-deskew --no-upright");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
}

#ifdef VELLUMO_CLI_READS_SETTINGS
TEST_F(CliScanBlank, BlankPagesAsTheSettingsSay) {
    if (!testsupport::haveTool("pdfinfo")) GTEST_SKIP() << "Poppler is missing";
    // Nothing stored: blank pages are marked.
    CliRun r = Scan("");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "vellumo-cli: page 1 is blank\n");

    Store("BlankPages=0\n");
    r = Scan("");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // The option wins over the setting.
    r = Scan("--blank=mark");
    EXPECT_EQ(r.err, "vellumo-cli: page 1 is blank\n");

    Store("BlankPages=2\n");
    r = Scan("");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("dropped blank page 1"), std::string::npos) << r.err;
}
#endif

}  // namespace

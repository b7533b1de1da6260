// The PDF builder shared by "SAVE AS PDF", "MAIL AS PDF" and vellumo-cli: the sequence of log
// lines, recompression, the messages of each result, temporary files.
#include "pdf/pdf_builder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <sstream>

#include "pdf/pagemint.h"
#include "pdf_test_util.h"
#include "platform/log.h"
#include "support/test_support.h"

using namespace vellumo::platform;
using namespace vellumo::pdf;

using namespace pdftest;

namespace {

struct Recorder : PdfBuildListener {
    std::vector<std::string> events;
    void pageStarted(int page, int pageCount, const std::string& file) override {
        events.push_back("page " + std::to_string(page) + "/" + std::to_string(pageCount) + " " +
                         file);
    }
    void showMessage(const std::string& text, PdfMessageKind kind) override {
        events.push_back(std::string(kind == PdfMessageKind::Warning ? "warning: " : "message: ") +
                         text);
    }
    void showMessageWithDetails(const std::string& text, PdfMessageKind kind,
                                const std::string& details) override {
        showMessage(text, kind);
        if (!details.empty()) events.push_back("details: " + details);
    }
};

class Builder : public ::testing::Test {
protected:
    void SetUp() override {
        loggingOn = 1;
        logPath = home_.documentsDir() + "/Vellumo_log.mdm";
    }
    void TearDown() override {
        loggingOn = 0;
        logPath.clear();
    }
    std::string f(const std::string& name) const { return home_.path() + "/" + name; }
    // The log's messages without their time stamps.
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::istringstream in(testsupport::readFile(logPath));
        std::string line;
        while (std::getline(in, line)) {
            const size_t dash = line.find(" - ");
            lines.push_back(dash == std::string::npos ? line : line.substr(dash + 3));
        }
        return lines;
    }
    std::vector<std::string> TempFiles() const { return testsupport::listDir(home_.tempDir()); }

    testsupport::IsolatedHome home_;
};

TEST(CompressionQuality, LeadingDigitsClampedToOneToHundred) {
    const std::pair<const char*, int> cases[] = {
        {"0", 1},
        {"250", 100},
        {"abc", 1},
        {"", 1},
        {"75", 75},
        {"1", 1},
        {"100", 100},
        {"101", 100},
        {"42abc", 42},
        {" 50", 1},
        {"-5", 1},
        {"0075", 75},
        {"99999999999999999999", 100},
    };
    for (const auto& [text, quality] : cases) EXPECT_EQ(CompressionQuality(text), quality) << text;
}

TEST(MakePdfResultText, EveryResult) {
    const std::string p = "/home/u/out.pdf";
    auto t = DescribeMakePdfResult(0, p, "");
    EXPECT_FALSE(t.failure);
    EXPECT_EQ(t.message, "*** Successfully created /home/u/out.pdf ***");
    EXPECT_EQ(t.logLine, "Successfully created PDF file /home/u/out.pdf\n");
    t = DescribeMakePdfResult(1, p, "");
    EXPECT_TRUE(t.failure);
    EXPECT_EQ(t.message, "Could not create PDF file /home/u/out.pdf (error 1): invalid parameters");
    EXPECT_EQ(t.logLine, t.message + "\n");
    t = DescribeMakePdfResult(2, p, "");
    EXPECT_EQ(t.message,
              "Could not create PDF file /home/u/out.pdf (error 2), possibly because the "
              "file is in use by another application");
    t = DescribeMakePdfResult(3, p, "Page 2: broken");
    EXPECT_EQ(t.message, "Could not create PDF file /home/u/out.pdf: Page 2: broken");
    EXPECT_EQ(t.logLine, "Page 2: broken\n");
    t = DescribeMakePdfResult(4, p, "");
    EXPECT_EQ(t.message,
              "Could not create PDF file /home/u/out.pdf (error 4), PDF file already "
              "exists and could not be overwritten - it is possibly being held open by "
              "a PDF viewer application");
    t = DescribeMakePdfResult(5, p, "");
    EXPECT_EQ(t.message,
              "Could not create PDF file /home/u/out.pdf (error 5): no images to be added");
    t = DescribeMakePdfResult(9, p, "");
    EXPECT_FALSE(t.failure);
    EXPECT_EQ(t.logLine, "");
}

TEST_F(Builder, WithoutCompressionEveryPageGoesInAsItIs) {
    MakeBilevelTiff(f("bw.tif"), 400, 300, 200, "lzw");
    MakeGreyPng(f("grey.png"), 200, 100, 100);
    MakeColourImage(f("c.jpg"), 120, 80, 0);
    PdfBuildOptions options;
    options.compress = false;
    Recorder events;
    const auto result =
        BuildPdf({f("bw.tif"), f("grey.png"), f("c.jpg")}, f("out.pdf"), options, &events);
    ASSERT_TRUE(result.written()) << result.errorText;
    std::string report;
    EXPECT_TRUE(QpdfClean(f("out.pdf"), &report)) << report;
    const auto images = Images(f("out.pdf"));
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].encoding, "jbig2");
    EXPECT_EQ(images[1].encoding, "image");
    EXPECT_EQ(images[2].encoding, "jpeg");
    EXPECT_EQ(events.events,
              (std::vector<std::string>{"page 1/3 " + f("bw.tif"), "page 2/3 " + f("grey.png"),
                                        "page 3/3 " + f("c.jpg")}));
    EXPECT_EQ(LogLines(), (std::vector<std::string>{
                              "Creator set", "Producer set", "Title set", "Creation date set",
                              "Loading image 1 of 3 (" + f("bw.tif") + ")",
                              "Loading image 2 of 3 (" + f("grey.png") + ")",
                              "Loading image 3 of 3 (" + f("c.jpg") + ")",
                              "Successfully created PDF file " + f("out.pdf")}));
    std::string info;
    Sh("pdfinfo " + testsupport::shellQuote(f("out.pdf")), &info);
    EXPECT_NE(info.find("Creator:         Vellumo - https://vellumo.org\n"), std::string::npos)
        << info;
    EXPECT_NE(info.find("Producer:        Vellumo - https://vellumo.org\n"), std::string::npos)
        << info;
    EXPECT_NE(info.find("Title:           Produced by Vellumo - https://vellumo.org\n"),
              std::string::npos)
        << info;
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(Builder, CompressionRecompressesColourAndGreyButNotBilevelPages) {
    MakeBilevelTiff(f("bw.tif"), 400, 300, 300, "lzw");
    MakeNoisyScan(f("grey300.png"), 600, 900, 300, false);
    MakeNoisyScan(f("colour.png"), 300, 200, 0, true);
    PdfBuildOptions options;
    options.compress = true;
    options.compressionPercent = "80";
    const auto result =
        BuildPdf({f("bw.tif"), f("grey300.png"), f("colour.png")}, f("out.pdf"), options, nullptr);
    ASSERT_TRUE(result.written()) << result.errorText;
    std::string report;
    EXPECT_TRUE(QpdfClean(f("out.pdf"), &report)) << report;
    const auto images = Images(f("out.pdf"));
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].encoding, "jbig2");  // the bilevel page stays lossless
    EXPECT_EQ(images[1].encoding, "jpeg");
    EXPECT_EQ(images[2].encoding, "jpeg");
    // A 300 dpi page keeps its size; a page without a resolution gets 150 dpi.
    const auto sizes = PageSizes(f("out.pdf"));
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_NEAR(sizes[1].width, 144, 0.02);
    EXPECT_NEAR(sizes[1].height, 216, 0.02);
    EXPECT_NEAR(sizes[2].width, 144, 0.02);
    EXPECT_GT(Psnr(RenderPoppler(f("out.pdf"), 2, 300, true, f("r2")), f("grey300.png")), 30);
    // The JPEG copies and their empty companions are gone.
    EXPECT_TRUE(TempFiles().empty()) << TempFiles().size();
}

TEST_F(Builder, JpegPagesAreRequantisedAndKeepTheirResolution) {
    MakeColourImage(f("photo.jpg"), 600, 400, 300);
    MakeCmykJpeg(f("cmyk.jpg"), 200, 100);
    PdfBuildOptions options;
    options.compressionPercent = "40";
    const auto result = BuildPdf({f("photo.jpg"), f("cmyk.jpg")}, f("out.pdf"), options, nullptr);
    ASSERT_TRUE(result.written()) << result.errorText;
    std::string report;
    EXPECT_TRUE(QpdfClean(f("out.pdf"), &report)) << report;
    const auto sizes = PageSizes(f("out.pdf"));
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_NEAR(sizes[0].width, 144, 0.02);
    EXPECT_NEAR(sizes[0].height, 96, 0.02);
    EXPECT_NEAR(sizes[1].width, 96, 0.02);  // no resolution recorded: 150 dpi
    const auto images = Images(f("out.pdf"));
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].encoding, "jpeg");
    EXPECT_EQ(images[1].encoding, "jpeg");
    // The copy is a new JPEG of lower quality, close to the original.
    Sh("pdfimages -j -f 1 -l 1 " + testsupport::shellQuote(f("out.pdf")) + " " +
       testsupport::shellQuote(f("e")));
    EXPECT_LT(testsupport::readFile(f("e-000.jpg")).size(),
              testsupport::readFile(f("photo.jpg")).size());
    EXPECT_GT(Psnr(f("e-000.jpg"), f("photo.jpg")), 30);
    // The CMYK page went through the decoder and still shows red on the left.
    const std::string page = RenderCairo(f("out.pdf"), 2, 150, false, f("r2"));
    std::string pixel;
    Sh("/usr/bin/convert " + page +
           " -crop 1x1+20+50 -format '%[fx:int(255*r)] %[fx:int(255*g)]' info:",
       &pixel);
    int r = 0, g = 0;
    ASSERT_EQ(std::sscanf(pixel.c_str(), "%d %d", &r, &g), 2) << pixel;
    EXPECT_GT(r, 180);
    EXPECT_LT(g, 90);
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(Builder, QualityComesFromTheSettingText) {
    MakeNoisyScan(f("c.png"), 400, 300, 0, true);
    PdfBuildOptions low;
    low.compressionPercent = "abc";  // quality 1
    PdfBuildOptions high;
    high.compressionPercent = "250";  // quality 100
    ASSERT_TRUE(BuildPdf({f("c.png")}, f("low.pdf"), low, nullptr).written());
    ASSERT_TRUE(BuildPdf({f("c.png")}, f("high.pdf"), high, nullptr).written());
    std::string report;
    EXPECT_TRUE(QpdfClean(f("low.pdf"), &report)) << report;
    EXPECT_TRUE(QpdfClean(f("high.pdf"), &report)) << report;
    const std::string lowPage = RenderPoppler(f("low.pdf"), 1, 150, false, f("l"));
    const std::string highPage = RenderPoppler(f("high.pdf"), 1, 150, false, f("h"));
    // Poppler resamples even at 1:1, which costs a noisy page a few dB.
    EXPECT_GT(Psnr(highPage, f("c.png")), 35);
    EXPECT_LT(Psnr(lowPage, f("c.png")), 30);
    EXPECT_LT(testsupport::readFile(f("low.pdf")).size(),
              testsupport::readFile(f("high.pdf")).size() / 3);
}

TEST_F(Builder, UnreadablePageEndsTheBuildAndKeepsTheTarget) {
    MakeGreyPng(f("g.png"), 50, 50, 0);
    testsupport::writeFile(f("notes.txt"), "plain text");
    testsupport::writeFile(f("out.pdf"), "previous");
    Recorder events;
    PdfBuildOptions options;
    // The third page is already being prepared when the second fails; its copy goes too.
    const auto result =
        BuildPdf({f("g.png"), f("notes.txt"), f("g.png")}, f("out.pdf"), options, &events);
    EXPECT_EQ(result.status, PdfBuildStatus::PageUnreadable);
    EXPECT_EQ(result.page, 2);
    EXPECT_FALSE(result.written());
    ASSERT_GE(events.events.size(), 2u);
    EXPECT_EQ(events.events[events.events.size() - 2], "warning: Unsupported graphics format");
    EXPECT_EQ(events.events.back(),
              "details: " + f("notes.txt") +
                  ": it is not an image of a format Vellumo reads (TIFF, BMP, JPEG, PCX, GIF, PNG, "
                  "TGA)");
    EXPECT_EQ(LogLines().back(), "Could not load image 2 of 3 (" + f("notes.txt") + ")");
    EXPECT_EQ(testsupport::readFile(f("out.pdf")), "previous");
    EXPECT_TRUE(TempFiles().empty());
    // Nothing of the failed build is left in the library for the next one.
    EXPECT_EQ(PGMT_ImageCount(), 0);
    ASSERT_TRUE(BuildPdf({f("g.png")}, f("next.pdf"), options, nullptr).written());
    EXPECT_EQ(PageSizes(f("next.pdf")).size(), 1u);
    std::string report;
    EXPECT_TRUE(QpdfClean(f("next.pdf"), &report)) << report;
}

TEST_F(Builder, MakePdfFailureIsShownThenLogged) {
    MakeGreyPng(f("g.png"), 50, 50, 0);
    Recorder events;
    const std::string target = f("missing-folder/out.pdf");
    const auto result = BuildPdf({f("g.png")}, target, PdfBuildOptions{}, &events);
    EXPECT_EQ(result.status, PdfBuildStatus::Finished);
    EXPECT_EQ(result.code, 2);
    const auto text = DescribeMakePdfResult(2, target, "");
    // The message keeps its text; the details say what really happened.
    const std::string reason = "the folder " + f("missing-folder") + " does not exist";
    EXPECT_EQ(result.errorText, reason);
    EXPECT_EQ(events.events,
              (std::vector<std::string>{"page 1/1 " + f("g.png"), "warning: " + text.message,
                                        "details: " + reason}));
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], text.message);
    EXPECT_EQ(lines.back(), "Reason: " + reason);
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(Builder, TheRealReasonOfEveryMakePdfFailure) {
    MakeGreyPng(f("g.png"), 50, 50, 0);
    testsupport::writeFile(f("ro.pdf"), "old");
    chmod(f("ro.pdf").c_str(), 0444);
    mkdir(f("folder.pdf").c_str(), 0755);
    mkfifo(f("fifo.pdf").c_str(), 0644);
    const struct {
        std::string target;
        int code;
        std::string details;  // empty: in the message itself
    } cases[] = {
        {f("ro.pdf"), 4, f("ro.pdf") + " cannot be replaced: Permission denied"},
        {f("folder.pdf"), 4, f("folder.pdf") + " is a folder"},
        {f("fifo.pdf"), 3, ""},
    };
    for (const auto& c : cases) {
        Recorder events;
        const auto result = BuildPdf({f("g.png")}, c.target, PdfBuildOptions{}, &events);
        EXPECT_EQ(result.code, c.code) << c.target;
        const auto text = DescribeMakePdfResult(result.code, c.target, result.errorText);
        EXPECT_EQ(text.details, c.details);
        if (c.code == 3) {
            EXPECT_EQ(text.message, "Could not create PDF file " + c.target + ": " + c.target +
                                        " is a FIFO, not a regular file");
        }
    }
    struct stat st {};
    lstat(f("fifo.pdf").c_str(), &st);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(Builder, CompressionNeedsAWritableTemporaryFolder) {
    MakeBilevelTiff(f("bw.tif"), 400, 300, 300, "lzw");
    MakeGreyPng(f("grey.png"), 60, 60, 0);
    const std::string missing = home_.path() + "/gone";
    setenv("TMPDIR", missing.c_str(), 1);
    Recorder events;
    PdfBuildOptions options;
    options.compressionPercent = "30";
    const auto result = BuildPdf({f("bw.tif"), f("grey.png")}, f("out.pdf"), options, &events);
    EXPECT_EQ(result.status, PdfBuildStatus::NoTempFolder);
    EXPECT_EQ(result.page, 2);
    const std::string message =
        "The temporary folder " + missing + " cannot be written: No such file or directory";
    EXPECT_EQ(events.events.back(), "warning: " + message);
    EXPECT_EQ(LogLines().back(), message);
    EXPECT_FALSE(testsupport::fileExists(f("out.pdf")));
    // Pages that need no copy are built as ever.
    EXPECT_TRUE(BuildPdf({f("bw.tif")}, f("bw.pdf"), options, nullptr).written());
}

TEST_F(Builder, JpegCopiesLiveInAPrivateFolder) {
    MakeGreyPng(f("a.png"), 300, 200, 0);
    MakeColourImage(f("b.png"), 300, 200, 0);
    MakeColourImage(f("c.png"), 300, 200, 0);
    struct Watcher : PdfBuildListener {
        std::string tempDir;
        std::vector<std::string> seen;
        void pageStarted(int page, int, const std::string&) override {
            if (page != 2) return;
            for (const auto& name : testsupport::listDir(tempDir)) {
                struct stat st {};
                lstat((tempDir + "/" + name).c_str(), &st);
                char mode[16];
                std::snprintf(mode, sizeof mode, "%o", st.st_mode & 0777);
                seen.push_back(std::string(S_ISDIR(st.st_mode) ? "folder " : "file ") + mode);
            }
        }
    } watcher;
    watcher.tempDir = home_.tempDir();
    PdfBuildOptions options;
    options.compressionPercent = "50";
    ASSERT_TRUE(
        BuildPdf({f("a.png"), f("b.png"), f("c.png")}, f("out.pdf"), options, &watcher).written());
    // Nothing lies open in the shared folder: one folder only the user can enter.
    EXPECT_EQ(watcher.seen, std::vector<std::string>{"folder 700"});
    EXPECT_TRUE(TempFiles().empty());
}

}  // namespace

namespace {

// Says stop on its askNumber-th question (from 1), and counts the questions.
struct StopOnQuestion : Recorder {
    explicit StopOnQuestion(int askNumber) : stopAt(askNumber) {}
    bool stopRequested() override { return ++asked >= stopAt; }
    int stopAt;
    int asked = 0;
};

}  // namespace

TEST_F(Builder, StopRequestedWritesNothingAndKeepsTheTarget) {
    MakeBilevelTiff(f("bw.tif"), 400, 300, 300, "lzw");
    MakeGreyPng(f("grey.png"), 60, 60, 0);
    const std::vector<std::string> pages = {f("bw.tif"), f("grey.png"), f("bw.tif")};
    // The builder asks before each of the 3 pages, then before each page of the final write.
    const struct {
        int stopAt;
        int pagesReported;
    } cases[] = {{1, 0}, {3, 2}, {4, 3}, {6, 3}};
    testsupport::writeFile(f("out.pdf"), "the user's earlier PDF");
    const std::vector<std::string> files = testsupport::listDir(home_.path());
    for (const auto& c : cases) {
        StopOnQuestion events(c.stopAt);
        PdfBuildOptions options;
        options.compressionPercent = "30";  // the grey page gets a temporary JPEG copy
        const auto result = BuildPdf(pages, f("out.pdf"), options, &events);
        EXPECT_EQ(result.status, PdfBuildStatus::Cancelled) << c.stopAt;
        EXPECT_FALSE(result.succeeded()) << c.stopAt;
        EXPECT_EQ(events.asked, c.stopAt);
        EXPECT_EQ(events.events.size(), static_cast<size_t>(c.pagesReported)) << c.stopAt;
        EXPECT_EQ(testsupport::readFile(f("out.pdf")), "the user's earlier PDF") << c.stopAt;
        // No partial file beside the target, no copy left in the temporary folder.
        EXPECT_EQ(testsupport::listDir(home_.path()), files) << c.stopAt;
        EXPECT_TRUE(TempFiles().empty()) << c.stopAt;
        EXPECT_EQ(PGMT_ImageCount(), 0);
    }
    // The stop is not remembered: the next build writes the whole PDF.
    ASSERT_TRUE(BuildPdf(pages, f("out.pdf"), PdfBuildOptions{}, nullptr).written());
    std::string report;
    EXPECT_TRUE(QpdfClean(f("out.pdf"), &report)) << report;
    EXPECT_EQ(PageSizes(f("out.pdf")).size(), 3u);
}

// vellumo-cli pdf and scan with text recognition, as a user runs them: --ocr[=LANGS] and
// --no-ocr over the settings "OCR" and "OCRLanguages", progress per page on a terminal, and the
// one message and exit status when language data is missing.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "support/text_pages.h"
#include "tests/pdf/pdf_test_util.h"

using namespace pdftest;
using testsupport::shellQuote;

namespace {

#ifdef VELLUMO_CLI_READS_SETTINGS
constexpr bool kReadsSettings = true;
#else
constexpr bool kReadsSettings = false;
#endif

int RunCli(const std::string& args, std::string* err, const std::string& dir,
           const std::string& env = "") {
    const int rc = Sh(env + " " + shellQuote(VELLUMO_CLI_PATH) + " " + args + " >" +
                      shellQuote(dir + "/stdout") + " 2>" + shellQuote(dir + "/stderr"));
    *err = testsupport::readFile(dir + "/stderr");
    return rc;
}

std::string Text(const std::string& pdf) {
    std::string out;
    Sh("pdftotext " + shellQuote(pdf) + " -", &out);
    return out;
}

// The program's settings for the isolated user (QSettings' native format on Linux).
void WriteSettings(const testsupport::IsolatedHome& home, const std::string& values) {
    Sh("mkdir -p " + shellQuote(home.path() + "/.config/Brackwin"));
    testsupport::writeFile(home.path() + "/.config/Brackwin/Vellumo.conf", "[Settings]\n" + values);
}

class CliOcr : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testsupport::TempDir;
        testsupport::TextPagePlan plan;
        plan.pageWidthPt = 420;
        plan.pageHeightPt = 200;
        plan.words = 30;
        plan.dpi = 200;
        std::string error;
        ASSERT_TRUE(testsupport::RenderTextPage(plan, dir_->file("page.png"), page_, error))
            << error;
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static std::string page() { return shellQuote(page_.path); }
    // Some words of the page that any reading of it finds.
    static bool HasText(const std::string& text) {
        return text.find("office") != std::string::npos && text.find("drawer") != std::string::npos;
    }

    testsupport::IsolatedHome home_;
    std::string d_ = home_.path();
    std::string err_;

private:
    static testsupport::TempDir* dir_;
    static testsupport::TextPage page_;
};

testsupport::TempDir* CliOcr::dir_ = nullptr;
testsupport::TextPage CliOcr::page_;

}  // namespace

TEST_F(CliOcr, OptionsOverrideTheSettings) {
    const std::string out = shellQuote(d_ + "/o.pdf");
    // A fresh user with English installed: recognition is on.
    ASSERT_EQ(RunCli("pdf -o " + out + " " + page(), &err_, d_), 0) << err_;
    EXPECT_EQ(err_, "");
    EXPECT_TRUE(HasText(Text(d_ + "/o.pdf")));
    ASSERT_EQ(RunCli("pdf --no-ocr -o " + out + " " + page(), &err_, d_), 0) << err_;
    EXPECT_EQ(Text(d_ + "/o.pdf").find_first_not_of(" \n\f"), std::string::npos);
    if (!kReadsSettings) GTEST_SKIP() << "this vellumo-cli is built without the settings";

    WriteSettings(home_, "OCR=0\n");
    ASSERT_EQ(RunCli("pdf -o " + out + " " + page(), &err_, d_), 0) << err_;
    EXPECT_FALSE(HasText(Text(d_ + "/o.pdf")));
    ASSERT_EQ(RunCli("pdf --ocr -o " + out + " " + page(), &err_, d_), 0) << err_;
    EXPECT_TRUE(HasText(Text(d_ + "/o.pdf")));

    WriteSettings(home_, "OCR=1\nOCRLanguages=eng+deu\n");
    ASSERT_EQ(RunCli("pdf -o " + out + " " + page(), &err_, d_), 0) << err_;
    EXPECT_TRUE(HasText(Text(d_ + "/o.pdf")));
    EXPECT_TRUE(QpdfClean(d_ + "/o.pdf"));
}

TEST_F(CliOcr, MissingLanguageDataWritesThePdfWithoutText) {
    const std::string out = shellQuote(d_ + "/o.pdf");
    // Asked for explicitly: the PDF is written, the user is told once, the command fails.
    ASSERT_EQ(RunCli("pdf --ocr=eng+zzz -o " + out + " " + page() + " " + page(), &err_, d_), 1);
    EXPECT_EQ(err_, "vellumo-cli: Text recognition needs the package tesseract-ocr-zzz\n");
    EXPECT_EQ(PageSizes(d_ + "/o.pdf").size(), 2u);
    EXPECT_FALSE(HasText(Text(d_ + "/o.pdf")));
    if (!kReadsSettings) GTEST_SKIP() << "this vellumo-cli is built without the settings";
    // From the settings: told the same, and the command succeeds.
    WriteSettings(home_, "OCRLanguages=zzz\n");
    Sh("rm -f " + out);
    ASSERT_EQ(RunCli("pdf -o " + out + " " + page(), &err_, d_), 0);
    EXPECT_EQ(err_, "vellumo-cli: Text recognition needs the package tesseract-ocr-zzz\n");
    EXPECT_EQ(PageSizes(d_ + "/o.pdf").size(), 1u);
    // No language data at all.
    Sh("mkdir -p " + shellQuote(d_ + "/empty"));
    ASSERT_EQ(RunCli("pdf --ocr -o " + out + " " + page(), &err_, d_,
                     "TESSDATA_PREFIX=" + shellQuote(d_ + "/empty")),
              1);
    EXPECT_NE(err_.find("tesseract-ocr-zzz"), std::string::npos) << err_;
    ASSERT_EQ(RunCli("pdf --ocr=eng -o " + out + " " + page(), &err_, d_,
                     "TESSDATA_PREFIX=" + shellQuote(d_ + "/empty")),
              1);
    EXPECT_EQ(err_, "vellumo-cli: Text recognition needs the package tesseract-ocr-eng\n");
    EXPECT_EQ(PageSizes(d_ + "/o.pdf").size(), 1u);
}

TEST_F(CliOcr, PagesTheEngineCannotTakeGoInWithoutText) {
    // 16 bits per sample: the page is in the PDF, without text, and the user learns why.
    ASSERT_EQ(Sh("convert " + page() + " -depth 16 -define png:bit-depth=16 " +
                 "-define png:color-type=0 " + shellQuote(d_ + "/deep.png")),
              0);
    ASSERT_EQ(RunCli("pdf --ocr=eng -o " + shellQuote(d_ + "/o.pdf") + " " + page() + " " +
                         shellQuote(d_ + "/deep.png"),
                     &err_, d_),
              0);
    EXPECT_EQ(err_,
              "vellumo-cli: page 2 goes in without text: the picture has 16 bits per sample\n");
    EXPECT_EQ(PageSizes(d_ + "/o.pdf").size(), 2u);
    EXPECT_TRUE(HasText(Text(d_ + "/o.pdf")));
}

TEST_F(CliOcr, WrongLanguageListsAreUsageErrors) {
    for (const char* bad : {"--ocr=", "--ocr=../eng", "--ocr=eng++deu", "--ocr=eng;rm"}) {
        EXPECT_EQ(RunCli(std::string("pdf ") + shellQuote(bad) + " -o x.pdf " + page(), &err_, d_),
                  2)
            << bad;
        EXPECT_NE(err_.find("--ocr needs languages like eng+deu"), std::string::npos) << err_;
    }
    std::string out;
    Sh(shellQuote(VELLUMO_CLI_PATH) + " pdf --help", &out);
    EXPECT_NE(out.find("--ocr[=LANGS]"), std::string::npos);
    EXPECT_NE(out.find("--no-ocr"), std::string::npos);
    Sh(shellQuote(VELLUMO_CLI_PATH) + " scan --help", &out);
    EXPECT_NE(out.find("--ocr[=LANGS]"), std::string::npos);
}

TEST_F(CliOcr, ProgressPerPageOnATerminal) {
    if (!testsupport::haveTool("script")) GTEST_SKIP() << "script (util-linux) is missing";
    const std::string command = shellQuote(VELLUMO_CLI_PATH) + " pdf --ocr=eng -o " +
                                shellQuote(d_ + "/t.pdf") + " " + page() + " " + page();
    std::string out;
    EXPECT_EQ(Sh("script -qec " + shellQuote(command) + " /dev/null", &out), 0) << out;
    EXPECT_NE(out.find("Recognising text, page 1 of 2"), std::string::npos) << out;
    EXPECT_NE(out.find("Recognising text, page 2 of 2"), std::string::npos) << out;
    EXPECT_NE(out.find("Page 2 of 2: "), std::string::npos) << out;
}

TEST_F(CliOcr, EveryPageOfAMultiPageTiffHasItsOwnText) {
    // Two pages of different prose in one TIFF, then a PDF among the inputs: each TIFF page is
    // read on its own and its words land on its own page.
    testsupport::TextPagePlan plan;
    plan.pageWidthPt = 420;
    plan.pageHeightPt = 200;
    plan.words = 40;
    plan.dpi = 200;
    plan.bitsPerPixel = 1;
    testsupport::TextPage first, second;
    std::string error;
    ASSERT_TRUE(testsupport::RenderTextPage(plan, d_ + "/a.tif", first, error)) << error;
    plan.firstWord = 120;
    ASSERT_TRUE(testsupport::RenderTextPage(plan, d_ + "/b.tif", second, error)) << error;
    ASSERT_EQ(Sh("tiffcp " + shellQuote(d_ + "/a.tif") + " " + shellQuote(d_ + "/b.tif") + " " +
                 shellQuote(d_ + "/both.tif")),
              0);
    ASSERT_EQ(RunCli("pdf --no-ocr -o " + shellQuote(d_ + "/old.pdf") + " " + page(), &err_, d_), 0)
        << err_;
    ASSERT_EQ(RunCli("pdf --ocr=eng -o " + shellQuote(d_ + "/o.pdf") + " " +
                         shellQuote(d_ + "/both.tif") + " " + shellQuote(d_ + "/old.pdf"),
                     &err_, d_),
              0)
        << err_;
    EXPECT_EQ(err_, "");
    ASSERT_EQ(PageSizes(d_ + "/o.pdf").size(), 3u);
    EXPECT_TRUE(QpdfClean(d_ + "/o.pdf"));
    std::string one, two;
    Sh("pdftotext -f 1 -l 1 " + shellQuote(d_ + "/o.pdf") + " -", &one);
    Sh("pdftotext -f 2 -l 2 " + shellQuote(d_ + "/o.pdf") + " -", &two);
    // The longer words of each page, which recognition of a clean page gets right.
    int onFirst = 0, onSecond = 0, misplaced = 0, longWords = 0;
    for (const auto* p : {&first, &second})
        for (const testsupport::PageWord& w : p->words) {
            if (w.text.size() < 6 || w.text.find_first_of(".,;:") != std::string::npos) continue;
            ++longWords;
            const std::string& own = p == &first ? one : two;
            const std::string& other = p == &first ? two : one;
            if (own.find(w.text) != std::string::npos) ++(p == &first ? onFirst : onSecond);
            if (other.find(w.text) != std::string::npos && own.find(w.text) == std::string::npos)
                ++misplaced;
        }
    ASSERT_GT(longWords, 4);
    EXPECT_GT(onFirst, 0) << one;
    EXPECT_GT(onSecond, 0) << two;
    EXPECT_EQ(misplaced, 0) << one << "----\n" << two;
}

TEST_F(CliOcr, ScanRecognisesThePagesAndSaysWhenDataIsMissing) {
    // The SANE test scanner's pages carry no text; what counts is that recognition runs with
    // the scan and that missing data is reported the same way as for pdf.
    ASSERT_EQ(
        RunCli("scan --device test:0 --resolution 75 --ocr=zzz -o " + shellQuote(d_ + "/s.pdf"),
               &err_, d_),
        1);
    EXPECT_NE(err_.find("Text recognition needs the package tesseract-ocr-zzz"), std::string::npos)
        << err_;
    EXPECT_EQ(PageSizes(d_ + "/s.pdf").size(), 1u);
    ASSERT_EQ(
        RunCli("scan --device test:0 --resolution 75 --ocr=eng -o " + shellQuote(d_ + "/s.pdf"),
               &err_, d_),
        0)
        << err_;
    EXPECT_TRUE(QpdfClean(d_ + "/s.pdf"));
}

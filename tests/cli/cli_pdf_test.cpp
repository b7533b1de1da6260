// vellumo-cli pdf as a user runs it: exit codes, messages on standard error, the PDF.
#include <gtest/gtest.h>

#include "tests/pdf/pdf_test_util.h"
#include "support/test_support.h"

using namespace pdftest;
using testsupport::shellQuote;

namespace {

std::string Cli() {
    return VELLUMO_CLI_PATH;
}

// Runs the program with stdout and stderr apart; returns the exit status.
int RunCli(const std::string& args, std::string* out, std::string* err, const std::string& dir) {
    const int rc = Sh(shellQuote(Cli()) + " " + args + " >" + shellQuote(dir + "/stdout") + " 2>" +
                      shellQuote(dir + "/stderr"));
    *out = testsupport::readFile(dir + "/stdout");
    *err = testsupport::readFile(dir + "/stderr");
    return rc;
}

TEST(CliPdf, WritesThePdfAndExitsZero) {
    testsupport::IsolatedHome home;
    const std::string d = home.path();
    MakeBilevelTiff(d + "/a.tif", 300, 400, 150, "g4");
    MakeColourImage(d + "/b.jpg", 200, 100, 100);
    std::string out, err;
    EXPECT_EQ(RunCli("pdf -o " + shellQuote(d + "/o.pdf") + " " + shellQuote(d + "/a.tif") + " " +
                         shellQuote(d + "/b.jpg"),
                     &out, &err, d),
              0)
        << err;
    EXPECT_EQ(err, "");  // no progress when standard error is not a terminal
    const auto sizes = PageSizes(d + "/o.pdf");
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_NEAR(sizes[0].width, 144, 0.02);
    EXPECT_NEAR(sizes[1].width, 144, 0.02);
    std::string report;
    EXPECT_TRUE(QpdfClean(d + "/o.pdf", &report)) << report;

    EXPECT_EQ(
        RunCli("pdf --compress 60 -o " + shellQuote(d + "/c.pdf") + " " + shellQuote(d + "/b.jpg"),
               &out, &err, d),
        0)
        << err;
    EXPECT_TRUE(QpdfClean(d + "/c.pdf", &report)) << report;
    EXPECT_TRUE(testsupport::listDir(home.tempDir()).empty());
}

TEST(CliPdf, ProgressOnATerminal) {
    if (!testsupport::haveTool("script")) GTEST_SKIP() << "script (util-linux) is missing";
    testsupport::IsolatedHome home;
    const std::string d = home.path();
    MakeGreyPng(d + "/g.png", 40, 40, 0);
    std::string out;
    // script runs the program on a pseudo-terminal.
    const std::string command = shellQuote(Cli()) + " pdf -o " + shellQuote(d + "/t.pdf") + " " +
                                shellQuote(d + "/g.png") + " " + shellQuote(d + "/g.png");
    EXPECT_EQ(Sh("script -qec " + shellQuote(command) + " /dev/null", &out), 0) << out;
    EXPECT_NE(out.find("Page 1 of 2: " + d + "/g.png"), std::string::npos) << out;
    EXPECT_NE(out.find("Page 2 of 2: " + d + "/g.png"), std::string::npos) << out;
    EXPECT_EQ(PageSizes(d + "/t.pdf").size(), 2u);
}

TEST(CliPdf, FailuresExitNonZeroWithAMessage) {
    testsupport::IsolatedHome home;
    const std::string d = home.path();
    MakeGreyPng(d + "/g.png", 40, 40, 0);
    testsupport::writeFile(d + "/t.txt", "text");
    std::string out, err;

    EXPECT_EQ(RunCli("pdf " + shellQuote(d + "/g.png"), &out, &err, d), 2);
    EXPECT_NE(err.find("no output file"), std::string::npos) << err;
    EXPECT_EQ(RunCli("pdf -o " + shellQuote(d + "/x.pdf"), &out, &err, d), 2);
    EXPECT_EQ(RunCli("pdf --compress high -o x.pdf g.png", &out, &err, d), 2);
    EXPECT_EQ(RunCli("pdf --frobnicate -o x.pdf g.png", &out, &err, d), 2);
    EXPECT_EQ(RunCli("nosuchcommand", &out, &err, d), 2);

    EXPECT_EQ(RunCli("pdf -o " + shellQuote(d + "/x.pdf") + " " + shellQuote(d + "/t.txt"), &out,
                     &err, d),
              1);
    EXPECT_NE(err.find("Unsupported graphics format"), std::string::npos) << err;
    EXPECT_FALSE(testsupport::fileExists(d + "/x.pdf"));

    EXPECT_EQ(RunCli("pdf -o " + shellQuote(d + "/nofolder/x.pdf") + " " + shellQuote(d + "/g.png"),
                     &out, &err, d),
              1);
    EXPECT_NE(err.find("(error 2)"), std::string::npos) << err;

    EXPECT_EQ(RunCli("--help", &out, &err, d), 0);
    EXPECT_NE(out.find("pdf"), std::string::npos);
    EXPECT_EQ(RunCli("pdf --help", &out, &err, d), 0);
    EXPECT_NE(out.find("--compress QUALITY"), std::string::npos);
    EXPECT_NE(out.find("--bilevel=CODING"), std::string::npos);

    EXPECT_EQ(RunCli("pdf --bilevel=jbig3 -o x.pdf g.png", &out, &err, d), 2);
    EXPECT_NE(err.find("--bilevel must be auto, jbig2 or g4"), std::string::npos) << err;
    EXPECT_EQ(RunCli("pdf -o x.pdf g.png --bilevel", &out, &err, d), 2);
}

// --bilevel chooses the coding of two-colour pages, in both spellings; auto is the default.
TEST(CliPdf, BilevelCodingIsChosenOnTheCommandLine) {
    testsupport::IsolatedHome home;
    const std::string d = home.path();
    MakeBilevelTiff(d + "/page.tif", 1240, 1754, 150, "lzw");
    const std::string page = " " + shellQuote(d + "/page.tif");
    std::string out, err;
    const std::pair<const char*, const char*> cases[] = {{"--bilevel=jbig2", "jbig2"},
                                                         {"--bilevel g4", "ccitt"},
                                                         {"--bilevel=auto", "jbig2"},
                                                         {"", "jbig2"}};
    for (const auto& [option, encoding] : cases) {
        ASSERT_EQ(RunCli(std::string("pdf ") + option + " -o " + shellQuote(d + "/o.pdf") + page,
                         &out, &err, d),
                  0)
            << option << err;
        const auto images = Images(d + "/o.pdf");
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(images[0].encoding, encoding) << option;
    }
}

// On a terminal the program ends with the bytes each kind of page takes.
TEST(CliPdf, ReportsTheBytesPerKindOfPageOnATerminal) {
    testsupport::IsolatedHome home;
    const std::string d = home.path();
    MakeBilevelTiff(d + "/a.tif", 600, 800, 150, "g4");
    MakeBilevelPng(d + "/b.png", 600, 800, 150);
    MakeNoisyScan(d + "/c.png", 300, 200, 100, false);
    MakeColourImage(d + "/e.jpg", 200, 100, 100);
    const std::string pdf = d + "/o.pdf";
    std::string transcript;
    // script gives the program a pseudo-terminal, as a user's shell would.
    ASSERT_EQ(Sh("script -qec " +
                     shellQuote(shellQuote(Cli()) + " pdf -o " + shellQuote(pdf) + " " +
                                shellQuote(d + "/a.tif") + " " + shellQuote(d + "/b.png") + " " +
                                shellQuote(d + "/c.png") + " " + shellQuote(d + "/e.jpg")) +
                     " /dev/null",
                 &transcript),
              0)
        << transcript;
    EXPECT_NE(transcript.find("Page 4 of 4"), std::string::npos) << transcript;
    const size_t report = transcript.find("Bytes per kind of page:");
    ASSERT_NE(report, std::string::npos) << transcript;
    const std::string tail = transcript.substr(report);
    EXPECT_NE(tail.find("bilevel      2 pages"), std::string::npos) << tail;
    EXPECT_NE(tail.find("(JBIG2 2)"), std::string::npos) << tail;
    EXPECT_NE(tail.find("grey         1 page "), std::string::npos) << tail;
    EXPECT_NE(tail.find("colour       1 page "), std::string::npos) << tail;
    EXPECT_NE(tail.find("(JPEG 1)"), std::string::npos) << tail;
    const std::string size = std::to_string(testsupport::readFile(pdf).size());
    EXPECT_NE(
        tail.find("PDF file     4 pages " + std::string(12 - size.size(), ' ') + size + " bytes"),
        std::string::npos)
        << tail;
}

}  // namespace

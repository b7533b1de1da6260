// vellumo-cli scan's progress: lines for the pages it scans and builds on a terminal, nothing on
// standard error otherwise. Scans from the SANE test scanner.
#include "tests/support/program_fixture.h"

namespace ux {
namespace {

using testsupport::shellQuote;

std::string ScanCommand(const std::string& out) {
    return shellQuote(VELLUMO_CLI) + " scan --device test:0 --feeder --resolution 10 -o " +
           shellQuote(out);
}

TEST(CliScanProgress, QuietWhenStandardErrorIsNoTerminal) {
    testsupport::TempDir dir;
    const std::string out = dir.file("quiet.pdf");
    int status = -1;
    const std::string err =
        testsupport::capture("timeout 120 " + ScanCommand(out) + " 2>&1 >/dev/null", &status);
    EXPECT_EQ(status, 0) << err;
    EXPECT_EQ(err, "");
    EXPECT_EQ(testsupport::capture("qpdf --show-npages " + shellQuote(out)), "10\n");
}

TEST(CliScanProgress, PagesScannedAndBuiltOnATerminal) {
    if (!testsupport::haveTool("script")) GTEST_SKIP() << "script (util-linux) is missing";
    testsupport::TempDir dir;
    const std::string out = dir.file("tty.pdf");
    int status = -1;
    // script runs the program on a pseudo-terminal.
    const std::string text = testsupport::capture(
        "timeout 120 script -qec " + shellQuote(ScanCommand(out)) + " /dev/null", &status);
    EXPECT_EQ(status, 0) << text;
    size_t at = 0;
    for (int j = 1; j <= 10; ++j) {
        at = text.find("Page " + std::to_string(j) + " scanned", at);
        ASSERT_NE(at, std::string::npos) << j << "\n" << text;
    }
    for (int j = 1; j <= 10; ++j) {
        at = text.find("Page " + std::to_string(j) + " of 10: ", at);
        ASSERT_NE(at, std::string::npos) << j << "\n" << text;
    }
    EXPECT_NE(text.find("10 pages written to " + out), std::string::npos) << text;
}

}  // namespace
}  // namespace ux

// The default printer's paper, from a private CUPS daemon this test starts, and the page sizes
// (with their log lines) derived from it.
#include "platform/printer.h"

#include <cups/cups.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/log.h"
#include "platform/page_size.h"
#include "support/test_support.h"

using namespace vellumo::platform;

namespace {

using testsupport::shellQuote;

// The log lines written while the object lives, without their time stamps.
class LogCapture {
public:
    LogCapture() : savedOn_(loggingOn), savedPath_(logPath) {
        logPath = dir_.file("Vellumo_log.mdm");
        loggingOn = 1;
    }
    ~LogCapture() {
        loggingOn = savedOn_;
        logPath = savedPath_;
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        const std::string text = testsupport::readFile(logPath);
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size() - 1;
            const std::string line = text.substr(start, end - start + 1);
            const size_t sep = line.find(" - ");
            out.push_back(sep == std::string::npos ? line : line.substr(sep + 3));
            start = end + 1;
        }
        return out;
    }

private:
    testsupport::TempDir dir_;
    int savedOn_;
    std::string savedPath_;
};

// A CUPS daemon of our own, on a socket in a temporary folder; the process talks to it through
// CUPS_SERVER for the fixture's lifetime.
class PrivateCups {
public:
    bool start(std::string* why) {
        if (geteuid() != 0) return *why = "cupsd needs root to drop to user lp", false;
        if (!testsupport::haveTool("/usr/sbin/cupsd") || !testsupport::haveTool("lpadmin"))
            return *why = "cupsd or lpadmin missing", false;
        const std::string root = dir_.path();
        for (const char* sub : {"spool", "cache", "log", "state", "run"}) {
            mkdir((root + "/" + sub).c_str(), 01777);
            chmod((root + "/" + sub).c_str(), 01777);
        }
        chmod(root.c_str(), 0755);
        socket_ = root + "/run/cups.sock";
        testsupport::writeFile(root + "/cupsd.conf",
                               "Listen " + socket_ +
                                   "\nLogLevel warn\nBrowsing No\n<Location />\nOrder "
                                   "allow,deny\nAllow all\n</Location>\n");
        testsupport::writeFile(root + "/cups-files.conf",
                               "User lp\nGroup lp\nServerRoot " + root + "\nRequestRoot " + root +
                                   "/spool\nCacheDir " + root + "/cache\nStateDir " + root +
                                   "/state\nErrorLog " + root + "/log/error_log\nAccessLog " +
                                   root + "/log/access_log\nPageLog " + root +
                                   "/log/page_log\nFileDevice Yes\n");
        pid_ = fork();
        if (pid_ == 0) {
            execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", (root + "/cupsd.conf").c_str(), "-s",
                  (root + "/cups-files.conf").c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 100 && !testsupport::fileExists(socket_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!testsupport::fileExists(socket_))
            return *why = "cupsd did not start: " + testsupport::readFile(root + "/log/error_log"),
                   false;
        UseServer(socket_);
        return true;
    }
    ~PrivateCups() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            for (int i = 0; i < 50; ++i) {
                if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    static void UseServer(const std::string& server) {
        setenv("CUPS_SERVER", server.c_str(), 1);
        cupsSetServer(nullptr);  // forget the server (and connection) CUPS cached
    }
    // Runs an lpadmin command line against this daemon (10 s at most).
    bool lpadmin(const std::string& args) {
        return testsupport::run("timeout 10 lpadmin " + args + " >/dev/null 2>&1") == 0;
    }
    bool addPrinter(const std::string& name, const std::string& media, bool makeDefault) {
        if (!lpadmin("-p " + shellQuote(name) +
                     " -E -v file:///dev/null -m drv:///sample.drv/generic.ppd -o media-default=" +
                     shellQuote(media)))
            return false;
        return !makeDefault || lpadmin("-d " + shellQuote(name));
    }

private:
    testsupport::TempDir dir_;
    std::string socket_;
    pid_t pid_ = -1;
};

TEST(PaperFromMedia, NamesAndSizes) {
    EXPECT_EQ(PaperFromMedia("na_letter_8.5x11in", 21590, 27940), PaperSize::Letter);
    EXPECT_EQ(PaperFromMedia("na_legal_8.5x14in", 0, 0), PaperSize::Legal);
    EXPECT_EQ(PaperFromMedia("iso_a3_297x420mm", 0, 0), PaperSize::A3);
    EXPECT_EQ(PaperFromMedia("iso_a4_210x297mm", 0, 0), PaperSize::A4);
    EXPECT_EQ(PaperFromMedia("Letter", 0, 0), PaperSize::Letter);
    EXPECT_EQ(PaperFromMedia("A4", 0, 0), PaperSize::A4);
    EXPECT_EQ(PaperFromMedia("a3", 0, 0), PaperSize::A3);
    // Vendor names are told by their physical size; CUPS's A4 from points is 209.90 x 297.04.
    EXPECT_EQ(PaperFromMedia("om_vendor-a4", 20990, 29704), PaperSize::A4);
    EXPECT_EQ(PaperFromMedia("Custom.8.5x11in", 21590, 27940), PaperSize::Letter);
    EXPECT_EQ(PaperFromMedia("custom", 29690, 42010), PaperSize::A3);
    EXPECT_EQ(PaperFromMedia("custom", 21590, 35560), PaperSize::Legal);
    // Near but not the same: A4 is not Letter, a 2.5 mm difference is another paper.
    EXPECT_EQ(PaperFromMedia("", 21000, 28190), PaperSize::Other);
    EXPECT_EQ(PaperFromMedia("iso_a5_148x210mm", 14800, 21000), PaperSize::Other);
    EXPECT_EQ(PaperFromMedia("na_letterhead", 0, 0), PaperSize::Other);
    EXPECT_EQ(PaperFromMedia("", 0, 0), PaperSize::Other);
}

class CupsPrinter : public testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (!cups_.start(&why)) GTEST_SKIP() << why;
    }
    void TearDown() override { PrivateCups::UseServer(home_.path() + "/no-cups.sock"); }

    testsupport::IsolatedHome home_;
    PrivateCups cups_;
};

TEST_F(CupsPrinter, DefaultPrinterAndItsMediaAreFound) {
    ASSERT_TRUE(cups_.addPrinter("Office", "na_letter_8.5x11in", true));
    ASSERT_TRUE(cups_.addPrinter("Other", "iso_a3_297x420mm", false));
    const PrinterInfo info = QueryDefaultPrinter();
    EXPECT_TRUE(info.found);
    EXPECT_EQ(info.name, "Office");
    EXPECT_EQ(info.media, "na_letter_8.5x11in");
    EXPECT_EQ(info.paper, PaperSize::Letter);
}

TEST_F(CupsPrinter, EachPaperGivesItsPageSizeAndLogLines) {
    struct Case {
        const char* media;
        int pageSize;
        const char* line;
        bool scanA4;
    };
    const Case cases[] = {
        {"na_letter_8.5x11in", kPageLetter, "Printer is set to Letter, so scanning Letter format\n",
         false},
        {"na_legal_8.5x14in", kPageLegal, "Printer is set to Legal, so scanning Legal format\n",
         false},
        {"iso_a3_297x420mm", kPageA3, "Scanning A3 format\n", false},
        {"iso_a4_210x297mm", kPageA4, "Scanning A4 format\n", true},
        {"iso_a5_148x210mm", kPageA4, "Scanning A4 format\n", false},
    };
    ASSERT_TRUE(cups_.addPrinter("Desk", "na_letter_8.5x11in", true));
    const int saved = printerPageSize;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.media);
        ASSERT_TRUE(cups_.lpadmin(std::string("-p Desk -o media-default=") + c.media));
        LogCapture log;
        EXPECT_EQ(ComputePrinterPageSize(), c.pageSize);
        EXPECT_EQ(printerPageSize, c.pageSize);
        EXPECT_EQ(log.lines(), (std::vector<std::string>{"Default printer: Desk\n", c.line}));
        EXPECT_EQ(ScanFrameIsA4(), c.scanA4);
    }
    printerPageSize = saved;
}

TEST_F(CupsPrinter, PrinterWithoutMediaDefaultHasItsDriversDefault) {
    ASSERT_TRUE(cups_.lpadmin("-p Ppd -E -v file:///dev/null -m drv:///sample.drv/generic.ppd"));
    ASSERT_TRUE(cups_.lpadmin("-d Ppd"));
    const PrinterInfo info = QueryDefaultPrinter();
    EXPECT_TRUE(info.found);
    EXPECT_EQ(info.name, "Ppd");
    EXPECT_EQ(info.paper, PaperSize::Letter) << info.media;  // generic.ppd's default
}

TEST(NoPrintSystem, NoPrinterMeansA4AndLetterForScanning) {
    testsupport::IsolatedHome home;
    PrivateCups::UseServer(home.path() + "/no-cups-here.sock");
    EXPECT_FALSE(QueryDefaultPrinter().found);
    const int saved = printerPageSize;
    {
        LogCapture log;
        EXPECT_EQ(ComputePrinterPageSize(), kPageA4);
        EXPECT_EQ(printerPageSize, kPageA4);
        EXPECT_EQ(log.lines(),
                  (std::vector<std::string>{"No default printer found, scanning A4 format\n"}));
    }
    {
        LogCapture log;
        EXPECT_FALSE(ScanFrameIsA4());
        EXPECT_EQ(log.lines(),
                  (std::vector<std::string>{"No default printer found, scanning Letter format\n"}));
    }
    printerPageSize = saved;
}

}  // namespace

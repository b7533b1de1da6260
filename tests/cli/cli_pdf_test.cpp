// vellumo-cli pdf as a user runs it: exit codes, messages on standard error, the PDF.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/test_support.h"
#include "tests/pdf/pdf_test_util.h"

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
    // Found out before any page is read.
    EXPECT_EQ(err, "vellumo-cli: cannot write " + d + "/nofolder/x.pdf: the folder " + d +
                       "/nofolder does not exist\n");

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

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return st.st_mode;
}

// The hidden partial files of saves in folder.
std::vector<std::string> Hidden(const std::string& folder) {
    std::vector<std::string> out;
    for (const auto& name : testsupport::listDir(folder))
        if (name.rfind(".vw", 0) == 0) out.push_back(name);
    return out;
}

// Pages that take a while to write: colour noise that Flate cannot shrink.
void MakeSlowPage(const std::string& path) {
    std::string out;
    ASSERT_EQ(
        Sh("/usr/bin/convert -size 2500x2500 xc: +noise Random -compress lzw " + shellQuote(path),
           &out),
        0)
        << out;
}

// Starts vellumo-cli with args (no shell) and returns its process id.
pid_t StartCli(const std::vector<std::string>& args) {
    std::vector<std::string> all = {Cli()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// Waits up to 60 s for seen() to become true; false when the process ended first.
template <typename Seen>
bool WaitFor(pid_t pid, Seen seen) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        if (seen()) return true;
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace

TEST(CliPdf, OnlyARegularFileOrANewNameIsAnOutput) {
    testsupport::IsolatedHome home;
    const std::string d = home.path();
    MakeGreyPng(d + "/g.png", 40, 40, 0);
    ASSERT_EQ(mkfifo((d + "/fifo.pdf").c_str(), 0644), 0);
    symlink((d + "/fifo.pdf").c_str(), (d + "/proc-fd-1").c_str());
    mkdir((d + "/folder").c_str(), 0755);
    const bool device = mknod((d + "/null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    struct Case {
        std::string out, reason;
    };
    std::vector<Case> cases = {
        {d + "/fifo.pdf", d + "/fifo.pdf is a FIFO, not a regular file"},
        {d + "/proc-fd-1", d + "/proc-fd-1 is a FIFO, not a regular file"},
        {d + "/folder", d + "/folder is a folder"},
        {d + "/no/such/dir/out.pdf", "the folder " + d + "/no/such/dir does not exist"},
    };
    if (device)
        cases.push_back({d + "/null", d + "/null is a character device, not a regular file"});
    for (const Case& c : cases) {
        std::string out, err;
        EXPECT_EQ(
            RunCli("pdf -o " + shellQuote(c.out) + " " + shellQuote(d + "/g.png"), &out, &err, d),
            1);
        EXPECT_EQ(err, "vellumo-cli: cannot write " + c.out + ": " + c.reason + "\n");
    }
    EXPECT_TRUE(S_ISFIFO(ModeOf(d + "/fifo.pdf")));
    EXPECT_TRUE(S_ISLNK(ModeOf(d + "/proc-fd-1")));
    if (device) {
        EXPECT_TRUE(S_ISCHR(ModeOf(d + "/null")));
    }

    // A link to a PDF stays a link; the PDF it names is replaced and keeps its mode. A new file
    // gets the mode the umask leaves.
    testsupport::writeFile(d + "/real.pdf", "old");
    chmod((d + "/real.pdf").c_str(), 0604);
    symlink("real.pdf", (d + "/link.pdf").c_str());
    std::string out, err;
    EXPECT_EQ(RunCli("pdf -o " + shellQuote(d + "/link.pdf") + " " + shellQuote(d + "/g.png"), &out,
                     &err, d),
              0)
        << err;
    EXPECT_TRUE(S_ISLNK(ModeOf(d + "/link.pdf")));
    EXPECT_EQ(ModeOf(d + "/real.pdf") & 0777, 0604u);
    EXPECT_EQ(PageSizes(d + "/real.pdf").size(), 1u);
    EXPECT_EQ(Sh("umask 027 && " + shellQuote(Cli()) + " pdf -o " + shellQuote(d + "/new.pdf") +
                 " " + shellQuote(d + "/g.png")),
              0);
    EXPECT_EQ(ModeOf(d + "/new.pdf") & 0777, 0640u);
    // The longest legal name.
    const std::string longName = d + "/" + std::string(251, 'x') + ".pdf";
    EXPECT_EQ(
        RunCli("pdf -o " + shellQuote(longName) + " " + shellQuote(d + "/g.png"), &out, &err, d), 0)
        << err;
    EXPECT_TRUE(Hidden(d).empty());
}

TEST(CliPdf, PagesThatCannotBeReadNameTheFileAndTheReason) {
    testsupport::IsolatedHome home;
    const std::string d = home.path();
    MakeGreyPng(d + "/g.png", 40, 40, 0);
    const std::string png = testsupport::readFile(d + "/g.png");
    // Cut inside its header, and cut inside its pixel data.
    testsupport::writeFile(d + "/head.png", png.substr(0, 20));
    testsupport::writeFile(d + "/cut.png", png.substr(0, png.size() / 2));
    ASSERT_EQ(mkfifo((d + "/fifo.png").c_str(), 0644), 0);
    const std::pair<std::string, std::string> cases[] = {
        // The decoder's own account of the damage.
        {d + "/head.png", "the PNG file cannot be read: it is damaged or incomplete"},
        // A FIFO nobody writes to: refused at once (Sh's time limit ends a hang).
        {d + "/fifo.png", "it is a FIFO, not a regular file"},
        {d + "/gone.png", "the file does not exist"},
    };
    for (const auto& [page, reason] : cases) {
        std::string out, err;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(RunCli("pdf -o " + shellQuote(d + "/x.pdf") + " " + shellQuote(d + "/g.png") +
                             " " + shellQuote(page),
                         &out, &err, d),
                  1);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
        EXPECT_EQ(err, "vellumo-cli: Unsupported graphics format\nvellumo-cli: " + page + ": " +
                           reason + "\nvellumo-cli: cannot read page 2: " + page + "\n");
    }
    // A header that reads well passes the check before the build; the damage is found when the
    // page is written, and said with the file and the reason as well.
    std::string out, err;
    EXPECT_EQ(RunCli("pdf -o " + shellQuote(d + "/x.pdf") + " " + shellQuote(d + "/g.png") + " " +
                         shellQuote(d + "/cut.png"),
                     &out, &err, d),
              1);
    EXPECT_EQ(err, "vellumo-cli: Could not create PDF file " + d + "/x.pdf: Page 2: Cannot read " +
                       "the image file " + d +
                       "/cut.png: the PNG file cannot be read: it is damaged or incomplete\n");
    EXPECT_FALSE(testsupport::fileExists(d + "/x.pdf"));
}

TEST(CliPdf, CompressionWithoutATemporaryFolderFails) {
    testsupport::IsolatedHome home;
    const std::string d = home.path();
    MakeGreyPng(d + "/g.png", 40, 40, 0);
    std::string out, err;
    EXPECT_EQ(
        RunCli("pdf --compress 30 -o " + shellQuote(d + "/c.pdf") + " " + shellQuote(d + "/g.png"),
               &out, &err, d),
        0);
    const std::string missing = d + "/nothing-here";
    setenv("TMPDIR", missing.c_str(), 1);
    EXPECT_EQ(
        RunCli("pdf --compress 30 -o " + shellQuote(d + "/n.pdf") + " " + shellQuote(d + "/g.png"),
               &out, &err, d),
        1);
    EXPECT_EQ(err, "vellumo-cli: The temporary folder " + missing +
                       " cannot be written: No such file or directory\n");
    EXPECT_FALSE(testsupport::fileExists(d + "/n.pdf"));
}

TEST(CliPdf, SignalsAndFileSizeLimitsLeaveNoPartialFiles) {
    testsupport::IsolatedHome home;
    const std::string d = home.path();
    MakeSlowPage(d + "/noise.tif");
    const std::vector<std::string> pages(4, d + "/noise.tif");
    testsupport::writeFile(d + "/out.pdf", "the previous PDF");
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        // Signalled while the PDF itself is written.
        std::vector<std::string> args = {"pdf", "-o", d + "/out.pdf"};
        args.insert(args.end(), pages.begin(), pages.end());
        const pid_t pid = StartCli(args);
        ASSERT_TRUE(WaitFor(pid, [&] { return !Hidden(d).empty(); })) << "no partial file seen";
        kill(pid, signalNumber);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << status;
        EXPECT_TRUE(Hidden(d).empty()) << strsignal(signalNumber);
        EXPECT_EQ(testsupport::readFile(d + "/out.pdf"), "the previous PDF");
    }
    // Signalled while the JPEG copies are made.
    std::vector<std::string> args = {"pdf", "--compress", "50", "-o", d + "/out.pdf"};
    args.insert(args.end(), pages.begin(), pages.end());
    const pid_t pid = StartCli(args);
    ASSERT_TRUE(WaitFor(pid, [&] { return !testsupport::listDir(home.tempDir()).empty(); }));
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    EXPECT_TRUE(testsupport::listDir(home.tempDir()).empty());

    // Beyond the file-size limit: a message, exit status 1, nothing left.
    std::string out;
    EXPECT_EQ(Sh("ulimit -f 64 && " + shellQuote(Cli()) + " pdf -o " + shellQuote(d + "/out.pdf") +
                     " " + shellQuote(d + "/noise.tif"),
                 &out),
              1);
    EXPECT_NE(out.find("File too large"), std::string::npos) << out;
    EXPECT_TRUE(Hidden(d).empty());
    EXPECT_EQ(testsupport::readFile(d + "/out.pdf"), "the previous PDF");
}

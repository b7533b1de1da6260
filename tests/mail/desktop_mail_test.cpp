// The hand-off to the desktop's mail client, with a stand-in xdg-email on PATH that records how
// it was called.
#include "mail/desktop_mail.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "mail/mail_strings.h"
#include "platform/log.h"
#include "support/test_support.h"

using namespace testsupport;

namespace {

class DesktopMail : public ::testing::Test {
protected:
    void SetUp() override {
        bin = home.path() + "/bin";
        run("mkdir -p " + shellQuote(bin));
        const char* old = std::getenv("PATH");
        savedPath = old ? old : "";
        setenv("PATH", (bin + ":/usr/bin:/bin").c_str(), 1);
        setenv("BROWSER", "lynx", 1);
        record = home.path() + "/record";
    }
    void TearDown() override {
        setenv("PATH", savedPath.c_str(), 1);
        unsetenv("BROWSER");
    }
    // A fake xdg-email: records its arguments, whether it has a terminal, what stdin gives and
    // BROWSER, copies the attachment, then runs the given shell tail.
    void installFake(const std::string& tail) {
        const std::string script = bin + "/xdg-email";
        writeFile(
            script,
            "#!/bin/sh\n"
            "printf '%s\\n' \"$@\" > " +
                record +
                ".args\n"
                "if [ -t 0 ]; then echo tty; else echo notty; fi > " +
                record +
                ".stdin\n"
                "cat > " +
                record +
                ".input\n"
                "if sh -c ': </dev/tty' 2>/dev/null; then echo ctty; else echo noctty; fi > " +
                record +
                ".ctty\n"
                "echo \"BROWSER=${BROWSER-unset}\" > " +
                record +
                ".env\n"
                "cp \"$2\" " +
                record + ".file 2>/dev/null\n" + tail + "\n");
        chmod(script.c_str(), 0755);
    }

    IsolatedHome home;
    std::string bin, record, savedPath;
};

}  // namespace

TEST_F(DesktopMail, AttachesImagesPdfWithoutTerminalOrInput) {
    installFake("exit 0");
    const std::string pdf = home.tempDir() + "/Images.pdf";
    writeFile(pdf, "%PDF-1.4 test");
    EXPECT_EQ(SendMailDesktop(pdf), kDesktopMailSuccess);
    EXPECT_EQ(readFile(record + ".args"), "--attach\n" + pdf + "\n");
    EXPECT_EQ(readFile(record + ".stdin"), "notty\n");
    EXPECT_EQ(readFile(record + ".input"), "");
    EXPECT_EQ(readFile(record + ".ctty"), "noctty\n");
    EXPECT_EQ(readFile(record + ".env"), "BROWSER=unset\n");
    EXPECT_EQ(DesktopMailMessage(kDesktopMailSuccess), "");
}

TEST_F(DesktopMail, OtherFileNamesAreAttachedAsImagesPdf) {
    installFake("exit 0");
    const std::string scan = home.path() + "/scan 1.pdf";
    writeFile(scan, "%PDF-1.4 other name");
    EXPECT_EQ(SendMailDesktop(scan), kDesktopMailSuccess);
    const std::string args = readFile(record + ".args");
    ASSERT_EQ(args.rfind("--attach\n", 0), 0u);
    const std::string attached = args.substr(9, args.size() - 10);
    EXPECT_NE(attached, scan);
    EXPECT_EQ(attached.substr(attached.size() - 11), "/Images.pdf");
    EXPECT_EQ(readFile(record + ".file"), "%PDF-1.4 other name");
    struct stat st;
    ASSERT_EQ(stat(attached.substr(0, attached.size() - 11).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "private folder";
}

TEST_F(DesktopMail, ExitCodesMapToResults) {
    const std::string pdf = home.tempDir() + "/Images.pdf";
    writeFile(pdf, "x");
    const std::pair<const char*, DesktopMailResult> cases[] = {
        {"exit 4", kDesktopMailFailed},
        {"exit 1", kDesktopMailFailed},
        {"exit 3", kDesktopMailNotFound},
        {"kill -9 $$", kDesktopMailFailed},
    };
    for (const auto& [tail, result] : cases) {
        installFake(tail);
        EXPECT_EQ(SendMailDesktop(pdf), result) << tail;
    }
    installFake("echo 'xdg-email: no method available for opening' >&2; exit 3");
    std::string error;
    EXPECT_EQ(SendMailDesktop(pdf, {}, &error), kDesktopMailNotFound);
    EXPECT_EQ(error, "xdg-email: no method available for opening\n");
    EXPECT_EQ(DesktopMailMessage(kDesktopMailFailed), "Error during MAPI send mail");
}

TEST_F(DesktopMail, NoToolOnPath) {
    setenv("PATH", bin.c_str(), 1);
    const std::string pdf = home.tempDir() + "/Images.pdf";
    writeFile(pdf, "x");
    EXPECT_EQ(SendMailDesktop(pdf), kDesktopMailNotFound);
    EXPECT_EQ(DesktopMailMessage(kDesktopMailNotFound), "Could not find MAPI DLL");
}

TEST_F(DesktopMail, MissingFileIsNotHandedOver) {
    installFake("exit 0");
    EXPECT_EQ(SendMailDesktop(home.tempDir() + "/Images.pdf"), kDesktopMailNoFile);
    EXPECT_FALSE(fileExists(record + ".args"));
}

TEST_F(DesktopMail, ToolThatKeepsRunningDoesNotBlock) {
    installFake("sleep 4");
    const std::string pdf = home.tempDir() + "/Images.pdf";
    writeFile(pdf, "x");
    DesktopMailOptions options;
    options.timeoutSeconds = 1;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(SendMailDesktop(pdf, options), kDesktopMailStillRunning);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(DesktopMailMessage(kDesktopMailStillRunning), kMapiSendError);
}

TEST_F(DesktopMail, HandOffAsTheProgramRunsIt) {
    logPath = home.documentsDir() + "/Vellumo_log.mdm";
    loggingOn = 1;
    const std::string pdf = home.tempDir() + "/Images.pdf";
    writeFile(pdf, "x");
    std::vector<std::string> shown;
    auto show = [&](const std::string& text) { shown.push_back(text); };

    installFake("exit 0");
    EXPECT_EQ(RunDesktopMail(pdf, show), kDesktopMailSuccess);
    EXPECT_TRUE(shown.empty());
    for (const auto& line :
         {"Loading MAPI32.DLL", "MAPI32.DLL loaded", "MAPI: SendMail function found",
          "Creating image descriptions", "Image description created", "Calling SendMail",
          "Returned from SendMail"}) {
        const std::string raw = readFile(logPath);
        EXPECT_NE(raw.find(std::string(" - ") + line + "\r\n"), std::string::npos) << line;
    }

    installFake("echo 'no mailer' >&2; exit 4");
    EXPECT_EQ(RunDesktopMail(pdf, show), kDesktopMailFailed);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Error during MAPI send mail");
    EXPECT_NE(readFile(logPath).find("Mail tool: no mailer\n"), std::string::npos);

    setenv("PATH", bin.c_str(), 1);
    ::unlink((bin + "/xdg-email").c_str());
    EXPECT_EQ(RunDesktopMail(pdf, show), kDesktopMailNotFound);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], "Could not find MAPI DLL");
    loggingOn = 0;
}

// The hand-off to the desktop's mail client through the real dialog provider, with a stand-in
// xdg-email on PATH that records how it was called.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "platform/dialogs.h"
#include "platform/log.h"
#include "support/test_support.h"

using namespace vellumo::platform;

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
        pdf = home.tempDir() + "/Images.pdf";
        writeFile(pdf, "%PDF-1.4 test");
    }
    void TearDown() override {
        setenv("PATH", savedPath.c_str(), 1);
        unsetenv("BROWSER");
        loggingOn = 0;
    }
    // A stand-in xdg-email: records its arguments, whether it has a terminal, what stdin gives
    // and BROWSER, copies the attachment, then runs the given shell tail.
    void installFake(const std::string& tail) {
        const std::string script = bin + "/xdg-email";
        writeFile(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + record +
                              ".args\nif [ -t 0 ]; then echo tty; else echo notty; fi > " + record +
                              ".stdin\ncat > " + record +
                              ".input\nif sh -c ': </dev/tty' 2>/dev/null; then echo ctty; "
                              "else echo noctty; fi > " +
                              record + ".ctty\necho \"BROWSER=${BROWSER-unset}\" > " + record +
                              ".env\ncp \"$2\" " + record + ".file 2>/dev/null\n" + tail + "\n");
        chmod(script.c_str(), 0755);
    }
    MailClientResult mail(const std::string& path, int timeoutSeconds = 120) {
        QtDialogProvider provider;
        provider.mailToolTimeoutSeconds = timeoutSeconds;
        return provider.mailWithAttachment(QString::fromStdString(path));
    }

    IsolatedHome home;
    std::string bin, record, savedPath, pdf;
};

TEST_F(DesktopMail, AttachesTheFileWithoutTerminalOrInput) {
    installFake("exit 0");
    EXPECT_EQ(mail(pdf), MailClientResult::Started);
    EXPECT_EQ(readFile(record + ".args"), "--attach\n" + pdf + "\n");
    EXPECT_EQ(readFile(record + ".file"), "%PDF-1.4 test");
    EXPECT_EQ(readFile(record + ".stdin"), "notty\n");
    EXPECT_EQ(readFile(record + ".input"), "");
    EXPECT_EQ(readFile(record + ".ctty"), "noctty\n");
    EXPECT_EQ(readFile(record + ".env"), "BROWSER=unset\n");
}

TEST_F(DesktopMail, ExitCodesMapToResultsAndErrorsAreLogged) {
    const std::pair<const char*, MailClientResult> cases[] = {
        {"exit 4", MailClientResult::Failed},
        {"exit 1", MailClientResult::Failed},
        {"exit 3", MailClientResult::NoClient},
        {"kill -9 $$", MailClientResult::Failed},
    };
    for (const auto& [tail, result] : cases) {
        installFake(tail);
        EXPECT_EQ(mail(pdf), result) << tail;
    }
    logPath = home.path() + "/Vellumo_log.mdm";
    loggingOn = 1;
    installFake("echo 'xdg-email: no method available for opening' >&2; exit 3");
    EXPECT_EQ(mail(pdf), MailClientResult::NoClient);
    EXPECT_NE(readFile(logPath).find("Mail tool: xdg-email: no method available for opening\n"),
              std::string::npos);
}

TEST_F(DesktopMail, NoToolOnPathIsNoClient) {
    setenv("PATH", bin.c_str(), 1);
    EXPECT_EQ(mail(pdf), MailClientResult::NoClient);
}

TEST_F(DesktopMail, MissingFileIsNotHandedOver) {
    installFake("exit 0");
    EXPECT_EQ(mail(home.tempDir() + "/Missing.pdf"), MailClientResult::Failed);
    EXPECT_FALSE(fileExists(record + ".args"));
}

TEST_F(DesktopMail, ToolThatKeepsRunningDoesNotBlock) {
    installFake("sleep 4");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(mail(pdf, 1), MailClientResult::Failed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
}

}  // namespace

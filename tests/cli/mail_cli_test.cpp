// The "mail" command line against a real server.
#include "mail/mail_cli.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/mail/smtp_test_server.h"

using namespace vellumo::mail;

using namespace testsupport;
using namespace mailtest;
using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

int RunMail(std::vector<std::string> args, const MailDefaults& defaults = {}) {
    args.insert(args.begin(), "mail");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return RunMailCommand((int)args.size(), argv.data(), defaults);
}

}  // namespace

TEST(MailCommand, SendsTheFileWithPasswordFromTheEnvironment) {
    IsolatedHome home;
    TestSmtpServer server(WithAuth());
    ASSERT_TRUE(server.running());
    const std::string file = home.tempDir() + "/report.pdf";
    WriteRandomFile(file, 50000);
    MailDefaults defaults;
    defaults.from = "stored@example.com";
    defaults.server = "127.0.0.1";
    defaults.port = server.portText();
    defaults.userId = "alice";
    defaults.password = "stale";
    setenv("VELLUMO_SMTP_PASSWORD", "secret", 1);
    CaptureStdout();
    const int rc = RunMail(
        {"--to", "bob@example.net", "--subject=Monthly scans", "--text", "Here.", file}, defaults);
    const std::string out = GetCapturedStdout();
    unsetenv("VELLUMO_SMTP_PASSWORD");
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(out, "Message successfully sent\n");
    ASSERT_EQ(server.messages().size(), 1u);
    const auto parsed = ParseMessage(server.messages()[0]);
    EXPECT_EQ(parsed.header("From"), "stored@example.com");
    EXPECT_EQ(parsed.header("Subject"), "Monthly scans");
    ASSERT_EQ(parsed.attachments.size(), 1u);
    EXPECT_EQ(parsed.attachments[0].first, "report.pdf");
    EXPECT_EQ(parsed.attachments[0].second, readFile(file));
}

TEST(MailCommand, FailuresGoToStandardErrorWithExitStatus) {
    IsolatedHome home;
    TestSmtpServer server(WithAuth());
    ASSERT_TRUE(server.running());
    const std::string file = home.tempDir() + "/a.pdf";
    writeFile(file, "x");
    unsetenv("VELLUMO_SMTP_PASSWORD");
    CaptureStderr();
    EXPECT_EQ(RunMail({"--from", "a@example.com", "--to", "b@example.com", "--server", "127.0.0.1",
                       "--port", server.portText(), "--user", "alice", file}),
              1);
    EXPECT_EQ(GetCapturedStderr(),
              "vellumo-cli mail: 535 5.7.8 Authentication credentials invalid\n");

    CaptureStderr();
    EXPECT_EQ(RunMail({"--from", "a@example.com", "--to", "b@example.com", "--server", "127.0.0.1",
                       "--port", std::to_string(UnusedPort()), file}),
              1);
    EXPECT_NE(GetCapturedStderr().find("refused"), std::string::npos);
    EXPECT_TRUE(server.messages().empty());
}

TEST(MailCommand, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"--from", "a@example.com", "--server", "h", "file.pdf"},                 // no --to
        {"--from", "a@example.com", "--to", "b@example.com", "--server", "h"},    // no file
        {"--to", "b@example.com", "--server", "h", "--password", "pw", "f.pdf"},  // password
        {"--to", "b@example.com", "--server", "h", "--bogus", "f.pdf"},           // unknown
        {"--to", "b@example.com", "--server", "h", "f.pdf"},                      // no sender
        {"--from", "a@example.com", "--to", "b@example.com", "--server"},         // no value
    };
    for (const auto& args : cases) {
        CaptureStderr();
        EXPECT_EQ(RunMail(args), 2) << args.size();
        EXPECT_NE(GetCapturedStderr().find("usage: vellumo-cli mail"), std::string::npos);
    }
}

// The "mail" command line against a real server.
#include "cli/mail_cli.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "tests/mail/smtp_test_server.h"

using namespace vellumo::cli;

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

namespace {

// A server that accepts connections and stays silent; Ctrl+C is all that ends the wait.
class SilentServer {
public:
    SilentServer() {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd_, (sockaddr*)&addr, sizeof addr);
        listen(fd_, 4);
        socklen_t len = sizeof addr;
        getsockname(fd_, (sockaddr*)&addr, &len);
        port = ntohs(addr.sin_port);
    }
    ~SilentServer() { close(fd_); }
    int port = 0;

private:
    int fd_ = -1;
};

// A server that accepts one message up to its final dot and then never answers; finish() says
// whether the dot arrived and nothing after it.
class QuietAfterTheDot {
public:
    QuietAfterTheDot() {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd_, (sockaddr*)&addr, sizeof addr);
        listen(fd_, 1);
        socklen_t len = sizeof addr;
        getsockname(fd_, (sockaddr*)&addr, &len);
        port = ntohs(addr.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~QuietAfterTheDot() {
        if (thread_.joinable()) thread_.join();
        close(fd_);
    }
    bool finish() {
        if (thread_.joinable()) thread_.join();
        return sawDot_ && afterDot_.empty();
    }
    int port = 0;

private:
    void serve() {
        const int c = accept(fd_, nullptr, nullptr);
        if (c < 0) return;
        auto say = [c](const char* text) { send(c, text, std::strlen(text), MSG_NOSIGNAL); };
        say("220 quiet\r\n");
        std::string in;
        const char* replies[] = {"250 quiet\r\n", "250 ok\r\n", "250 ok\r\n", "354 go on\r\n"};
        size_t next = 0;
        char buf[65536];
        for (;;) {
            const ssize_t n = recv(c, buf, sizeof buf, 0);
            if (n <= 0) break;
            in.append(buf, static_cast<size_t>(n));
            if (!sawDot_) {
                size_t eol;
                while (next < 4 && (eol = in.find("\r\n")) != std::string::npos) {
                    in.erase(0, eol + 2);
                    say(replies[next++]);
                }
                const size_t dot = in.find("\r\n.\r\n");
                if (next == 4 && dot != std::string::npos) {
                    sawDot_ = true;
                    afterDot_ = in.substr(dot + 5);
                }
            } else {
                afterDot_ += in;
                in.clear();
            }
        }
        close(c);
    }
    int fd_ = -1;
    std::thread thread_;
    bool sawDot_ = false;
    std::string afterDot_;
};

// Presses Ctrl+C (SIGINT to this process) after the given time.
std::thread CtrlCAfter(std::chrono::milliseconds delay) {
    return std::thread([delay] {
        std::this_thread::sleep_for(delay);
        kill(getpid(), SIGINT);
    });
}

}  // namespace

TEST(MailCommand, CtrlCCancelsEveryStepWithStatus130) {
    IsolatedHome home;
    const std::string file = home.tempDir() + "/a.pdf";
    writeFile(file, "x");
    {
        // Waiting for a server that never greets.
        SilentServer server;
        std::thread press = CtrlCAfter(std::chrono::milliseconds(500));
        CaptureStderr();
        const auto start = std::chrono::steady_clock::now();
        const int rc = RunMail({"--from", "a@example.com", "--to", "b@example.com", "--server",
                                "127.0.0.1", "--port", std::to_string(server.port), file});
        const std::string err = GetCapturedStderr();
        press.join();
        EXPECT_EQ(rc, 130);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(err, "vellumo-cli mail: The transfer was cancelled\n");
    }
    {
        // Waiting for the answer to the final dot: nothing more is sent, and the message does
        // not count as sent.
        QuietAfterTheDot server;
        std::thread press = CtrlCAfter(std::chrono::milliseconds(1500));
        CaptureStderr();
        const int rc = RunMail({"--from", "a@example.com", "--to", "b@example.com", "--server",
                                "127.0.0.1", "--port", std::to_string(server.port), file});
        const std::string err = GetCapturedStderr();
        press.join();
        EXPECT_EQ(rc, 130);
        EXPECT_EQ(err,
                  "vellumo-cli mail: Unable to deliver message to b@example.com: The transfer was "
                  "cancelled\n");
        EXPECT_TRUE(server.finish()) << "the dot was reached, and nothing came after it";
    }
    // After a cancel, Ctrl+C is the shell's again.
    struct sigaction now {};
    sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST(MailCommand, TextIsConvertedFromTheLocaleOrRefused) {
    IsolatedHome home;
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    const std::string file = home.tempDir() + "/a.pdf";
    writeFile(file, "x");
    const std::vector<std::string> common = {"--from",        "a@example.com",  "--to",
                                             "b@example.com", "--server",       "127.0.0.1",
                                             "--port",        server.portText()};
    auto args = [&](const std::string& subject) {
        std::vector<std::string> a = common;
        a.insert(a.end(), {"--subject", subject, file});
        return a;
    };
    // A Latin-1 locale, made here.
    const std::string locales = home.path() + "/locales";
    ASSERT_EQ(run("mkdir -p " + shellQuote(locales) + " && localedef -i de_DE -f ISO-8859-1 " +
                  shellQuote(locales + "/de_DE.ISO-8859-1") + " >/dev/null 2>&1"),
              0);
    setenv("LOCPATH", locales.c_str(), 1);
    setenv("LC_ALL", "de_DE.ISO-8859-1", 1);
    CaptureStdout();
    EXPECT_EQ(RunMail(args("Gr\xFC\xDF"
                           "e")),
              0);
    GetCapturedStdout();
    // In a UTF-8 locale the same bytes are no text.
    setenv("LC_ALL", "C.UTF-8", 1);
    CaptureStderr();
    EXPECT_EQ(RunMail(args("Gr\xFC\xDF"
                           "e")),
              2);
    EXPECT_EQ(GetCapturedStderr(),
              "vellumo-cli mail: the value of --subject is not text in the encoding of the locale "
              "(UTF-8)\n");
    CaptureStdout();
    EXPECT_EQ(RunMail(args("Gr\xC3\xBC\xC3\x9F"
                           "e")),
              0);
    GetCapturedStdout();
    unsetenv("LC_ALL");
    unsetenv("LOCPATH");
    const auto messages = server.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(ParseMessage(messages[0]).header("Subject"),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    EXPECT_EQ(ParseMessage(messages[1]).header("Subject"),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
}

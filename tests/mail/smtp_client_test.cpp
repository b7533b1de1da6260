// The SMTP client against a real server on 127.0.0.1: transport security, authentication,
// transfer with progress and cancel, and the errors of broken connections.
#include "mail/smtp_client.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <poll.h>

#include <chrono>
#include <thread>

#include "smtp_test_server.h"

using namespace vellumo::mail;

using namespace testsupport;
using namespace mailtest;

namespace {

class SmtpClient : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SmtpInitialize()); }
    void TearDown() override { SmtpShutdown(); }

    int connect(const TestSmtpServer& server, const char* caFile = nullptr,
                unsigned options = kSmtpConnectStandard, int timeout = 10) {
        return SmtpConnect("127.0.0.1", server.port(), timeout, options, caFile, 0);
    }
    std::string error() { return SmtpGetErrorText(SmtpGetLastError()); }

    TempDir dir;
};

ServerMode StartTls(const std::string& cert, const std::string& key, bool auth = false) {
    ServerMode mode;
    mode.startTlsCert = cert;
    mode.startTlsKey = key;
    mode.auth = auth;
    return mode;
}

// A one-connection server that answers each line it receives with the next scripted reply (the
// first reply is the greeting; an empty reply closes the connection). For protocol corners the
// real server does not produce. A reply "@MS text" is sent after MS milliseconds; "-" takes a
// line without answering (the lines of a message); "~" answers nothing any more and waits
// until the client goes.
class ScriptedServer {
public:
    explicit ScriptedServer(std::vector<std::string> replies) : replies_(std::move(replies)) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, (sockaddr*)&addr, sizeof addr);
        listen(listener_, 1);
        socklen_t len = sizeof addr;
        getsockname(listener_, (sockaddr*)&addr, &len);
        port = ntohs(addr.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~ScriptedServer() { finish(); }
    // Waits for the conversation to end; the lines the client sent.
    std::vector<std::string> finish() {
        if (thread_.joinable()) thread_.join();
        if (listener_ >= 0) close(listener_);
        listener_ = -1;
        return received_;
    }
    int port = 0;

private:
    void serve() {
        pollfd p{listener_, POLLIN, 0};
        if (poll(&p, 1, 10000) <= 0) return;
        const int fd = accept(listener_, nullptr, nullptr);
        size_t next = 0;
        std::string buffer;
        bool silent = false;
        auto reply = [&] {
            if (silent) return true;
            if (next >= replies_.size() || replies_[next].empty()) return false;
            std::string r = replies_[next++];
            if (r == "-") return true;
            if (r == "~") {
                silent = true;
                return true;
            }
            if (r[0] == '@') {
                const size_t blank = r.find(' ');
                std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(r.substr(1))));
                r = r.substr(blank + 1);
            }
            return send(fd, r.data(), r.size(), MSG_NOSIGNAL) == (ssize_t)r.size();
        };
        if (reply()) {
            for (;;) {
                pollfd q{fd, POLLIN, 0};
                if (poll(&q, 1, 20000) <= 0) break;
                char buf[4096];
                const ssize_t n = recv(fd, buf, sizeof buf, 0);
                if (n <= 0) break;
                buffer.append(buf, (size_t)n);
                bool open = true;
                size_t eol;
                while (open && (eol = buffer.find("\r\n")) != std::string::npos) {
                    received_.push_back(buffer.substr(0, eol));
                    buffer.erase(0, eol + 2);
                    open = reply();
                }
                if (!open) break;
            }
        }
        close(fd);
    }

    std::vector<std::string> replies_;
    std::vector<std::string> received_;
    int listener_ = -1;
    std::thread thread_;
};

// Installs a wait hook that cancels at its calls-th call (each after about 200 ms of silence),
// for as long as it lives.
class CancelAfter {
public:
    explicit CancelAfter(int calls) : limit_(calls) { SmtpSetWaitHook(&CancelAfter::Hook, this); }
    ~CancelAfter() { SmtpSetWaitHook(nullptr, nullptr); }
    int calls() const { return calls_; }

private:
    static bool Hook(void* self) {
        auto* c = static_cast<CancelAfter*>(self);
        return ++c->calls_ >= c->limit_;
    }
    int limit_;
    int calls_ = 0;
};

}  // namespace

TEST_F(SmtpClient, ProtocolCornersOfMisbehavingServers) {
    {
        ScriptedServer server({"554 go away\r\n"});
        EXPECT_EQ(SmtpConnect("127.0.0.1", server.port, 5, kSmtpConnectStandard), -1);
        EXPECT_EQ(error(), "The mail server refused the session: 554 go away");
    }
    {
        ScriptedServer server({"hello there\r\n"});
        EXPECT_EQ(SmtpConnect("127.0.0.1", server.port, 5, kSmtpConnectStandard), -1);
        EXPECT_EQ(error(), "The mail server sent an invalid reply: hello there");
    }
    {
        // STARTTLS offered but refused: the session is given up, nothing else is sent.
        ScriptedServer server({"220 x\r\n", "250-x\r\n250-AUTH PLAIN\r\n250 STARTTLS\r\n",
                               "454 4.7.0 TLS not available\r\n"});
        EXPECT_EQ(SmtpConnect("127.0.0.1", server.port, 5, kSmtpConnectStandard), -1);
        EXPECT_EQ(SmtpGetLastError(), kSmtpErrTls);
        EXPECT_NE(error().find("454 4.7.0 TLS not available"), std::string::npos) << error();
        const auto lines = server.finish();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[1], "STARTTLS");
    }
    {
        // AUTH announced without a mechanism we know; a rejected recipient resets the
        // transaction and leaves the session usable.
        ScriptedServer server({"220 x\r\n", "250-x\r\n250 AUTH\r\n", "250 ok\r\n",
                               "550 5.1.1 No such user\r\n", "250 reset\r\n", "221 bye\r\n"});
        const int c = SmtpConnect("127.0.0.1", server.port, 5, kSmtpConnectStandard);
        ASSERT_GT(c, 0) << error();
        std::uint32_t options = 0;
        SmtpGetServerOptions(c, &options);
        EXPECT_TRUE(options & kSmtpServerRequiresAuth);
        EXPECT_EQ(SmtpAuthenticate(c, kSmtpAuthAutomatic, "alice", "secret"), -1);
        EXPECT_EQ(SmtpGetLastError(), kSmtpErrAuthMethod);
        writeFile(dir.file("m.eml"), "Subject: x\r\n\r\nx\r\n");
        EXPECT_EQ(SmtpSendMessage(c, "a@example.com", "nobody@example.com", dir.file("m.eml")), -1);
        EXPECT_EQ(error(), "550 5.1.1 No such user");
        SmtpDisconnect(c);
        const auto lines = server.finish();
        const std::vector<std::string> expected = {"EHLO [127.0.0.1]", "MAIL FROM:<a@example.com>",
                                                   "RCPT TO:<nobody@example.com>", "RSET", "QUIT"};
        EXPECT_EQ(lines, expected);
    }
}

TEST_F(SmtpClient, MessageArrivesDotStuffedWithCrlfLines) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    // Lines with leading dots (one of them a lone dot) and a bare LF.
    writeFile(dir.file("m.eml"), "Subject: dots\r\n\r\n.\r\n..two\r\nbare\nend");
    const int c = connect(server);
    ASSERT_GT(c, 0) << error();
    std::uint32_t options = 0xFFFFFFFF;
    ASSERT_TRUE(SmtpGetServerOptions(c, &options));
    EXPECT_EQ(options & kSmtpServerRequiresAuth, 0u);
    EXPECT_EQ(options & kSmtpServerTls, 0u);
    ASSERT_EQ(SmtpSendMessage(c, "Ann <ann@example.com>", "bob@example.net; Cy <cy@example.org>",
                              dir.file("m.eml"), 0, 2),
              0)
        << error();
    SmtpDisconnect(c);
    SmtpDisconnect(c);  // harmless twice
    const auto messages = server.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(readFile(messages[0]), "Subject: dots\r\n\r\n.\r\n..two\r\nbare\r\nend\r\n");
    EXPECT_EQ(server.envelope(messages[0]),
              "from ann@example.com\nto bob@example.net\nto cy@example.org\n");
    EXPECT_NE(server.commands().find("QUIT"), std::string::npos);
}

TEST_F(SmtpClient, ProgressReportsTheWholeFile) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    std::string data;
    for (int i = 0; i < 5000; ++i) data += std::string(60, 'a' + i % 26) + "\r\n";
    writeFile(dir.file("big.bin"), "Subject: big\r\n\r\n" + data);
    const int c = connect(server);
    ASSERT_GT(c, 0) << error();
    struct Seen {
        int calls = 0;
        std::uint32_t lastSent = 0, total = 0;
        bool monotonic = true;
    } seen;
    SmtpRegisterCallback(
        c, kSmtpEventProgress,
        [](int conn, unsigned event, void* user) {
            auto* s = static_cast<Seen*>(user);
            EXPECT_EQ(event, kSmtpEventProgress);
            SmtpTransferStatus status{};
            ASSERT_TRUE(SmtpGetTransferStatus(conn, &status));
            s->monotonic = s->monotonic && status.sent >= s->lastSent;
            s->lastSent = status.sent;
            s->total = status.total;
            ++s->calls;
        },
        &seen);
    ASSERT_EQ(SmtpSendMessage(c, "a@example.com", "b@example.com", dir.file("big.bin")), 0)
        << error();
    EXPECT_GE(seen.calls, 4);
    EXPECT_TRUE(seen.monotonic);
    EXPECT_EQ(seen.total, data.size() + 16);
    EXPECT_EQ(seen.lastSent, seen.total);
}

TEST_F(SmtpClient, CancelFromTheCallbackStopsTheTransfer) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    WriteRandomFile(dir.file("big.bin"), 20 * 1024 * 1024);
    const int c = connect(server);
    ASSERT_GT(c, 0) << error();
    int calls = 0;
    SmtpRegisterCallback(
        c, kSmtpEventProgress,
        [](int conn, unsigned, void* user) {
            if (++*static_cast<int*>(user) == 3) SmtpCancel(conn);
        },
        &calls);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(SmtpSendMessage(c, "a@example.com", "b@example.com", dir.file("big.bin")), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(SmtpGetLastError(), kSmtpErrCancelled);
    EXPECT_EQ(error(), "The transfer was cancelled");
    SmtpDisconnect(c);
    EXPECT_TRUE(server.messages().empty());
}

TEST_F(SmtpClient, StartTlsWithTrustedCertificate) {
    const auto& certs = TestCertificates();
    TestSmtpServer server(StartTls(certs.cert, certs.key, true));
    ASSERT_TRUE(server.running());
    writeFile(dir.file("m.eml"), "Subject: tls\r\n\r\nhello\r\n");
    const int c = connect(server, certs.cert.c_str());
    ASSERT_GT(c, 0) << error();
    std::uint32_t options = 0;
    ASSERT_TRUE(SmtpGetServerOptions(c, &options));
    EXPECT_TRUE(options & kSmtpServerTls);
    EXPECT_TRUE(options & kSmtpServerRequiresAuth);
    ASSERT_EQ(SmtpAuthenticate(c, kSmtpAuthAutomatic, "alice", "secret"), 0) << error();
    ASSERT_EQ(SmtpSendMessage(c, "a@example.com", "b@example.com", dir.file("m.eml")), 0)
        << error();
    SmtpDisconnect(c);
    const std::string commands = server.commands();
    EXPECT_NE(commands.find("STARTTLS\nEHLO [127.0.0.1] (tls)\nAUTH PLAIN"), std::string::npos)
        << commands;
    ASSERT_EQ(server.messages().size(), 1u);
}

TEST_F(SmtpClient, CaFileFromTheEnvironment) {
    const auto& certs = TestCertificates();
    TestSmtpServer server(StartTls(certs.cert, certs.key));
    ASSERT_TRUE(server.running());
    setenv("VELLUMO_SMTP_CA_FILE", certs.cert.c_str(), 1);
    const int c = connect(server);
    unsetenv("VELLUMO_SMTP_CA_FILE");
    ASSERT_GT(c, 0) << error();
    SmtpDisconnect(c);
}

TEST_F(SmtpClient, UntrustedOrMisnamedCertificateIsRefusedBeforeAnyLogin) {
    const auto& certs = TestCertificates();
    struct Case {
        std::string cert, key;
    } cases[] = {{certs.otherCert, certs.otherKey}, {certs.wrongNameCert, certs.wrongNameKey}};
    for (const auto& k : cases) {
        TestSmtpServer server(StartTls(k.cert, k.key, true));
        ASSERT_TRUE(server.running());
        // The CA file trusts "good" and "wrongname", so "other" is unknown and "wrongname" is
        // trusted but issued for another host.
        const std::string bundle = dir.file("bundle.pem");
        writeFile(bundle, readFile(certs.cert) + readFile(certs.wrongNameCert));
        EXPECT_EQ(connect(server, bundle.c_str()), -1);
        EXPECT_EQ(SmtpGetLastError(), kSmtpErrCertificate) << error();
        EXPECT_NE(error().find("certificate of 127.0.0.1 could not be verified"), std::string::npos)
            << error();
        EXPECT_EQ(server.commands().find("AUTH"), std::string::npos);
        EXPECT_EQ(server.commands().find("MAIL"), std::string::npos);
    }
}

TEST_F(SmtpClient, ImplicitTls) {
    const auto& certs = TestCertificates();
    ServerMode mode;
    mode.implicitTlsCert = certs.cert;
    mode.implicitTlsKey = certs.key;
    TestSmtpServer server(mode);
    ASSERT_TRUE(server.running());
    writeFile(dir.file("m.eml"), "Subject: implicit\r\n\r\nhello\r\n");
    const int c =
        connect(server, certs.cert.c_str(), kSmtpConnectStandard | kSmtpConnectImplicitTls);
    ASSERT_GT(c, 0) << error();
    std::uint32_t options = 0;
    ASSERT_TRUE(SmtpGetServerOptions(c, &options));
    EXPECT_TRUE(options & kSmtpServerTls);
    EXPECT_EQ(SmtpSendMessage(c, "a@example.com", "b@example.com", dir.file("m.eml")), 0)
        << error();
    SmtpDisconnect(c);
    EXPECT_EQ(server.messages().size(), 1u);
    // Without implicit TLS the client waits for a plain greeting that never comes, until the
    // user cancels.
    CancelAfter cancel(3);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(connect(server, certs.cert.c_str(), kSmtpConnectStandard, 1), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(SmtpGetLastError(), kSmtpErrCancelled);
}

TEST_F(SmtpClient, AuthenticationPlainAndLogin) {
    TestSmtpServer server(WithAuth());
    ASSERT_TRUE(server.running());
    int c = connect(server);
    ASSERT_GT(c, 0) << error();
    std::uint32_t options = 0;
    ASSERT_TRUE(SmtpGetServerOptions(c, &options));
    EXPECT_TRUE(options & kSmtpServerRequiresAuth);
    EXPECT_EQ(SmtpAuthenticate(c, kSmtpAuthLogin, "alice", "secret"), 0) << error();
    SmtpDisconnect(c);
    c = connect(server);
    EXPECT_EQ(SmtpAuthenticate(c, kSmtpAuthAutomatic, "alice", "wrong"), -1);
    EXPECT_EQ(error(), "535 5.7.8 Authentication credentials invalid");
    SmtpDisconnect(c);
    const std::string commands = server.commands();
    EXPECT_NE(commands.find("AUTH LOGIN\nAUTH-ATTEMPT LOGIN alice ok"), std::string::npos);
    EXPECT_NE(commands.find("AUTH PLAIN\nAUTH-ATTEMPT PLAIN alice bad"), std::string::npos);
}

TEST_F(SmtpClient, NoCredentialsForAServerThatDidNotAskForThem) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    const int c = connect(server);
    ASSERT_GT(c, 0) << error();
    EXPECT_EQ(SmtpAuthenticate(c, kSmtpAuthAutomatic, "alice", "secret"), -1);
    EXPECT_EQ(SmtpGetLastError(), kSmtpErrAuthNotOffered);
    SmtpDisconnect(c);
    EXPECT_EQ(server.commands().find("AUTH"), std::string::npos);
}

TEST_F(SmtpClient, ConnectionFailuresHaveUsefulTexts) {
    const int port = UnusedPort();
    EXPECT_EQ(SmtpConnect("127.0.0.1", port, 5, kSmtpConnectStandard), -1);
    EXPECT_EQ(SmtpGetLastError(), kSmtpErrConnectRefused);
    EXPECT_EQ(error(), "Connection to 127.0.0.1 port " + std::to_string(port) + " refused");

    EXPECT_EQ(SmtpConnect("127.0.0.1", 0, 5, kSmtpConnectStandard), -1);
    EXPECT_NE(error().find("Invalid port number 0"), std::string::npos) << error();

    EXPECT_EQ(SmtpConnect("no-such-host.invalid", 25, 5, kSmtpConnectStandard), -1);
    EXPECT_EQ(SmtpGetLastError(), kSmtpErrResolve);
    EXPECT_NE(error().find("no-such-host.invalid"), std::string::npos) << error();

    EXPECT_EQ(SmtpConnect("", 25, 5, kSmtpConnectStandard), -1);
    EXPECT_EQ(error(), "No mail server given");

    // Operations on handles that are not open fail cleanly.
    EXPECT_EQ(SmtpSendMessage(12345, "a@b", "c@d", "/nonexistent"), -1);
    SmtpTransferStatus status{};
    EXPECT_FALSE(SmtpGetTransferStatus(12345, &status));
    SmtpCancel(12345);
    SmtpDisconnect(12345);
}

TEST_F(SmtpClient, ServerDroppingTheConnectionDuringData) {
    TestSmtpServer server(DroppingInData());
    ASSERT_TRUE(server.running());
    WriteRandomFile(dir.file("big.bin"), 4 * 1024 * 1024);
    const int c = connect(server);
    ASSERT_GT(c, 0) << error();
    EXPECT_EQ(SmtpSendMessage(c, "a@example.com", "b@example.com", dir.file("big.bin")), -1);
    EXPECT_EQ(SmtpGetLastError(), kSmtpErrConnectionClosed) << error();
    EXPECT_EQ(error(), "The mail server closed the connection");
    SmtpDisconnect(c);
    EXPECT_NE(server.commands().find("DROPPED"), std::string::npos);
}

TEST_F(SmtpClient, MalformedAddressesAreRefusedBeforeSending) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    writeFile(dir.file("m.eml"), "Subject: x\r\n\r\nx\r\n");
    const int c = connect(server);
    ASSERT_GT(c, 0);
    // An address with a space cannot go into RCPT TO; it is refused before anything is sent.
    EXPECT_EQ(SmtpSendMessage(c, "a@example.com", "b c@example.com", dir.file("m.eml")), -1);
    EXPECT_EQ(error(), "Invalid recipient address \"b c@example.com\"");
    EXPECT_EQ(SmtpSendMessage(c, "a@example.com", "", dir.file("m.eml")), -1);
    EXPECT_EQ(error(), "No recipient address given");
    // The connection is still usable after a refusal.
    EXPECT_EQ(SmtpSendMessage(c, "a@example.com", "b@example.com", dir.file("m.eml")), 0)
        << error();
    SmtpDisconnect(c);
}

TEST(SmtpErrorText, FitsTheCallersBuffer) {
    SmtpShutdown();
    EXPECT_EQ(SmtpConnect("127.0.0.1", 25, 1, kSmtpConnectStandard), -1);
    EXPECT_EQ(SmtpGetLastError(), kSmtpErrNotInitialized);
    char buffer[255];
    const int n = SmtpGetErrorText(SmtpGetLastError(), buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), "The SMTP library is not initialised");
    EXPECT_EQ(n, (int)std::string(buffer).size());
    char tiny[5];
    SmtpGetErrorText(SmtpGetLastError(), tiny, sizeof tiny);
    EXPECT_EQ(std::string(tiny), "The ");
}

TEST_F(SmtpClient, SlowRepliesWithinTheWaitsOfRfc5321AreAccepted) {
    // The greeting and the answer to the final dot come after 1.5 s, longer than the 1 s given
    // for connecting: a server checking a large message may take minutes, and a message given
    // up on too early is one the user sends twice.
    ScriptedServer server({"@1500 220 slow\r\n", "250 slow\r\n", "250 ok\r\n", "250 ok\r\n",
                           "354 go on\r\n", "-", "-", "-", "@1500 250 accepted\r\n",
                           "221 bye\r\n"});
    writeFile(dir.file("m.eml"), "Subject: x\r\n\r\nbody\r\n");
    const int c = SmtpConnect("127.0.0.1", server.port, 1, kSmtpConnectStandard);
    ASSERT_GT(c, 0) << error();
    EXPECT_EQ(SmtpSendMessage(c, "a@example.com", "b@example.com", dir.file("m.eml")), 0)
        << error();
    SmtpDisconnect(c);
    EXPECT_EQ(server.finish().back(), "QUIT");
}

TEST_F(SmtpClient, CancelStopsEveryWaitAndNothingMoreIsSent) {
    {
        // A server that never greets.
        ScriptedServer server({"~"});
        CancelAfter cancel(2);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(SmtpConnect("127.0.0.1", server.port, 60, kSmtpConnectStandard), -1);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
        EXPECT_EQ(SmtpGetLastError(), kSmtpErrCancelled);
        EXPECT_EQ(error(), "The transfer was cancelled");
        EXPECT_TRUE(server.finish().empty());
    }
    {
        // A server that goes quiet after the final dot: no QUIT follows the cancel.
        ScriptedServer server({"220 x\r\n", "250 x\r\n", "250 ok\r\n", "250 ok\r\n",
                               "354 go on\r\n", "-", "-", "-", "~"});
        writeFile(dir.file("m.eml"), "Subject: x\r\n\r\nbody\r\n");
        const int c = SmtpConnect("127.0.0.1", server.port, 5, kSmtpConnectStandard);
        ASSERT_GT(c, 0) << error();
        CancelAfter cancel(2);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(SmtpSendMessage(c, "a@example.com", "b@example.com", dir.file("m.eml")), -1);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
        EXPECT_EQ(SmtpGetLastError(), kSmtpErrCancelled);
        SmtpDisconnect(c);
        const auto lines = server.finish();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), ".");
    }
}

TEST_F(SmtpClient, NoPasswordOverAnUnencryptedConnectionToAnotherMachine) {
    const std::string address = NonLoopbackAddress();
    if (address.empty()) GTEST_SKIP() << "this machine has no address but loopback";
    ServerMode mode = WithAuth();
    mode.host = address;
    TestSmtpServer server(mode);
    ASSERT_TRUE(server.running());
    const int c = SmtpConnect(address, server.port(), 10, kSmtpConnectStandard);
    ASSERT_GT(c, 0) << error();
    EXPECT_EQ(SmtpAuthenticate(c, kSmtpAuthAutomatic, "alice", "secret"), -1);
    EXPECT_EQ(SmtpGetLastError(), kSmtpErrNotEncrypted);
    EXPECT_EQ(error(),
              "The server does not offer an encrypted connection; Vellumo does not send your "
              "password unencrypted.");
    SmtpDisconnect(c);
    EXPECT_EQ(server.commands().find("AUTH"), std::string::npos) << server.commands();
}

TEST_F(SmtpClient, AddressesBeyondAsciiNeedSmtpUtf8) {
    writeFile(dir.file("m.eml"), "Subject: x\r\n\r\nbody\r\n");
    {
        TestSmtpServer server;
        ASSERT_TRUE(server.running());
        const int c = connect(server);
        ASSERT_GT(c, 0) << error();
        EXPECT_EQ(SmtpSendMessage(c, "a@example.com", "j\xC3\xB6rg@example.org", dir.file("m.eml")),
                  -1);
        EXPECT_EQ(SmtpGetLastError(), kSmtpErrNonAsciiAddress);
        EXPECT_EQ(error(),
                  "The address j\xC3\xB6rg@example.org has characters beyond ASCII, and the "
                  "mail server 127.0.0.1 does not accept such addresses (SMTPUTF8)");
        EXPECT_EQ(server.commands().find("MAIL"), std::string::npos);
        // Nothing was sent, so the session goes on.
        EXPECT_EQ(SmtpSendMessage(c, "a@example.com", "b@example.com", dir.file("m.eml")), 0)
            << error();
        SmtpDisconnect(c);
    }
    ServerMode mode;
    mode.smtpUtf8 = true;
    TestSmtpServer server(mode);
    ASSERT_TRUE(server.running());
    const int c = connect(server);
    ASSERT_GT(c, 0) << error();
    ASSERT_EQ(SmtpSendMessage(c, "a@example.com", "j\xC3\xB6rg@example.org", dir.file("m.eml")), 0)
        << error();
    SmtpDisconnect(c);
    EXPECT_NE(server.commands().find("MAIL FROM:<a@example.com> SMTPUTF8"), std::string::npos)
        << server.commands();
    ASSERT_EQ(server.messages().size(), 1u);
    EXPECT_EQ(server.envelope(server.messages()[0]),
              "from a@example.com\nto j\xC3\xB6rg@example.org\n");
}

// The send sequence shared by the windows and the command line, run against a real server with
// a recording listener: what the user sees, what the log says, which files remain.
#include "mail/smtp_send.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "mail/mail_strings.h"
#include "platform/log.h"
#include "smtp_test_server.h"

using namespace vellumo::platform;
using namespace vellumo::mail;

using namespace testsupport;
using namespace mailtest;

namespace {

struct Shown {
    std::string text;
    MailMessageKind kind;
};

class RecordingListener : public MailSendListener {
public:
    void setActivityText(const std::string& text) override { events.push_back("text " + text); }
    void setProgressVisible(bool visible) override {
        events.push_back(visible ? "progress shown" : "progress hidden");
    }
    void setProgress(int percent) override { percents.push_back(percent); }
    void pumpEvents() override {
        ++pumps;
        if (cancelAtPump > 0 && pumps == cancelAtPump) cancel = true;
    }
    void waitingForServer() override {
        ++waits;
        if (cancelAtWait > 0 && waits == cancelAtWait) cancel = true;
    }
    bool cancelRequested() override { return cancel; }
    void clearCancel() override {
        events.push_back("cancel cleared");
        cancel = false;
    }
    void endActivity() override { ++ends; }
    void showMessage(const std::string& text, MailMessageKind kind) override {
        shown.push_back({text, kind});
    }

    std::vector<std::string> events;
    std::vector<int> percents;
    std::vector<Shown> shown;
    int pumps = 0, cancelAtPump = 0, waits = 0, cancelAtWait = 0, ends = 0;
    bool cancel = false;
};

class SmtpSend : public ::testing::Test {
protected:
    void SetUp() override {
        logPath = home.documentsDir() + "/Vellumo_log.mdm";
        loggingOn = 1;
        attachment = home.tempDir() + "/Images.pdf";
        WriteRandomFile(attachment, 200000, 7);
    }
    void TearDown() override { loggingOn = 0; }

    SmtpMailFields fields(const std::string& port) {
        SmtpMailFields f;
        f.from = "Ann Example <ann@example.com>";
        f.to = "bob@example.net";
        f.subject = "Scans für dich";
        f.message = "Hallo Bob,\nanbei die Seiten.\n";
        f.server = "127.0.0.1";
        f.port = port;
        return f;
    }
    // The log without its time stamps.
    std::string log() {
        std::string out;
        const std::string raw = readFile(logPath);
        size_t pos = 0;
        while (pos < raw.size()) {
            size_t end = raw.find('\n', pos);
            if (end == std::string::npos) end = raw.size() - 1;
            const std::string line = raw.substr(pos, end + 1 - pos);
            const auto dash = line.find(" - ");
            out += dash == std::string::npos ? line : line.substr(dash + 3);
            pos = end + 1;
        }
        return out;
    }
    std::vector<std::string> messageFiles() {
        std::vector<std::string> out;
        for (const auto& name : listDir(home.tempDir()))
            if (name.rfind("msg", 0) == 0) out.push_back(name);
        return out;
    }

    IsolatedHome home;
    std::string attachment;
};

}  // namespace

TEST(PortText, EmptyIs25AndLeadingDigitsCount) {
    const std::pair<const char*, int> cases[] = {
        {"", 25}, {"587", 587}, {"2525abc", 2525}, {"abc", 0}, {" 25", 0}, {"99999999999", 0},
    };
    for (const auto& [text, port] : cases) {
        if (port == 0 && std::string(text) == "99999999999")
            EXPECT_GT(ParsePortText(text), 65535) << "out of range, refused by the connect";
        else
            EXPECT_EQ(ParsePortText(text), port) << '"' << text << '"';
    }
}

TEST(MailStrings, TableHoldsTheTexts) {
    EXPECT_STREQ(MailString(3100), "Unable to determine temporary file path");
    EXPECT_STREQ(MailString(3180), "Unable to deliver message to");
    EXPECT_STREQ(MailString(3210), "Logging in to mail server, please wait ...");
    EXPECT_STREQ(MailString(3105), "");
}

TEST_F(SmtpSend, MessageWithAttachmentArrivesAndTheFileIsRemoved) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    RecordingListener listener;
    listener.cancel = true;  // left over from an earlier operation: forgotten before sending
    EXPECT_EQ(RunSendMail(fields(server.portText()), attachment, listener), kMailSent);

    ASSERT_EQ(listener.shown.size(), 1u);
    EXPECT_EQ(listener.shown[0].text, "Message successfully sent");
    EXPECT_EQ(listener.shown[0].kind, MailMessageKind::kStringMessage);
    EXPECT_GE(listener.ends, 1);
    const std::vector<std::string> events = {
        "text Sending mail message, please wait ...",
        "text Logging in to mail server, please wait ...",
        "cancel cleared",
        "progress shown",
        "text Sending mail message, please wait ...",
        "progress hidden",
    };
    EXPECT_EQ(listener.events, events);
    ASSERT_FALSE(listener.percents.empty());
    EXPECT_TRUE(std::is_sorted(listener.percents.begin(), listener.percents.end()));
    EXPECT_EQ(listener.percents.back(), 100);

    EXPECT_EQ(log(),
              "MimeInitialize successful\nMimeCreateMessage successful\n"
              "SmtpInitialize successful\nSMTP server 127.0.0.1, port " +
                  server.portText() + "\nSmtpConnect successful\nSmtpSendMessage successful\n");
    EXPECT_TRUE(messageFiles().empty()) << "message file deleted after delivery";

    const auto messages = server.messages();
    ASSERT_EQ(messages.size(), 1u);
    const auto parsed = ParseMessage(messages[0]);
    EXPECT_EQ(parsed.header("From"), "Ann Example <ann@example.com>");
    EXPECT_EQ(parsed.header("To"), "bob@example.net");
    EXPECT_EQ(parsed.header("Subject"), "Scans für dich");
    EXPECT_NE(parsed.header("Date"), "");
    EXPECT_NE(parsed.header("Message-ID"), "");
    EXPECT_EQ(parsed.body, "Hallo Bob,\nanbei die Seiten.\n");
    ASSERT_EQ(parsed.attachments.size(), 1u);
    EXPECT_EQ(parsed.attachments[0].first, "Images.pdf");
    EXPECT_EQ(parsed.attachments[0].second, readFile(attachment));
    EXPECT_EQ(server.envelope(messages[0]), "from ann@example.com\nto bob@example.net\n");
}

TEST_F(SmtpSend, NoAttachmentWhenThePathIsEmpty) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    RecordingListener listener;
    EXPECT_EQ(RunSendMail(fields(server.portText()), "", listener), kMailSent);
    ASSERT_EQ(server.messages().size(), 1u);
    const auto parsed = ParseMessage(server.messages()[0]);
    EXPECT_TRUE(parsed.attachments.empty());
    EXPECT_EQ(parsed.header("Content-Type"), "text/plain; charset=\"utf-8\"");
}

TEST_F(SmtpSend, ServerWantsLoginButNoUserIdGiven) {
    TestSmtpServer server(WithAuth());
    ASSERT_TRUE(server.running());
    RecordingListener listener;
    auto f = fields(server.portText());
    f.password = "secret";
    EXPECT_EQ(RunSendMail(f, attachment, listener), kMailAuthMissing);
    ASSERT_EQ(listener.shown.size(), 1u);
    EXPECT_EQ(listener.shown[0].text, MailString(3160));
    EXPECT_EQ(listener.shown[0].kind, MailMessageKind::kStringMessage);
    EXPECT_EQ(server.commands().find("AUTH"), std::string::npos);
    EXPECT_EQ(server.commands().find("MAIL"), std::string::npos);
    EXPECT_TRUE(server.messages().empty());
}

TEST_F(SmtpSend, ServerWithoutAuthIsNeverSentCredentials) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    RecordingListener listener;
    auto f = fields(server.portText());
    f.userId = "alice";
    f.password = "secret";
    EXPECT_EQ(RunSendMail(f, attachment, listener), kMailSent);
    EXPECT_EQ(server.commands().find("AUTH"), std::string::npos);
    EXPECT_EQ(log().find("SmtpAuthenticate"), std::string::npos);
    EXPECT_EQ(server.messages().size(), 1u);
}

TEST_F(SmtpSend, LoginOverStartTlsAndWrongPassword) {
    const auto& certs = TestCertificates();
    ServerMode mode = WithAuth();
    mode.startTlsCert = certs.cert;
    mode.startTlsKey = certs.key;
    TestSmtpServer server(mode);
    ASSERT_TRUE(server.running());
    setenv("VELLUMO_SMTP_CA_FILE", certs.cert.c_str(), 1);
    auto f = fields(server.portText());
    f.userId = "alice";
    f.password = "secret";
    RecordingListener good;
    EXPECT_EQ(RunSendMail(f, attachment, good), kMailSent);
    EXPECT_NE(log().find("SmtpConnect successful\nSmtpAuthenticate successful\n"),
              std::string::npos);

    f.password = "wrong";
    RecordingListener bad;
    EXPECT_EQ(RunSendMail(f, attachment, bad), kMailAuthFailed);
    unsetenv("VELLUMO_SMTP_CA_FILE");
    ASSERT_EQ(bad.shown.size(), 1u);
    EXPECT_EQ(bad.shown[0].text, "535 5.7.8 Authentication credentials invalid");
    EXPECT_EQ(bad.shown[0].kind, MailMessageKind::kWarning);
    EXPECT_NE(log().find("535 5.7.8 Authentication credentials invalid\n"), std::string::npos);
    EXPECT_EQ(server.messages().size(), 1u);
}

TEST_F(SmtpSend, UnverifiableCertificateStopsBeforeLogin) {
    const auto& certs = TestCertificates();
    ServerMode mode = WithAuth();
    mode.startTlsCert = certs.otherCert;
    mode.startTlsKey = certs.otherKey;
    TestSmtpServer server(mode);
    ASSERT_TRUE(server.running());
    setenv("VELLUMO_SMTP_CA_FILE", certs.cert.c_str(), 1);
    auto f = fields(server.portText());
    f.userId = "alice";
    f.password = "secret";
    RecordingListener listener;
    EXPECT_EQ(RunSendMail(f, attachment, listener), kMailConnectFailed);
    unsetenv("VELLUMO_SMTP_CA_FILE");
    ASSERT_EQ(listener.shown.size(), 1u);
    EXPECT_NE(listener.shown[0].text.find("could not be verified"), std::string::npos);
    EXPECT_EQ(server.commands().find("AUTH"), std::string::npos);
}

TEST_F(SmtpSend, PortTextRules) {
    RecordingListener empty;
    auto f = fields("25");
    f.port = "";
    RunSendMail(f, attachment, empty);
    EXPECT_NE(log().find("SMTP server 127.0.0.1, port 25\n"), std::string::npos);
    ASSERT_EQ(empty.shown.size(), 1u);

    RecordingListener letters;
    f.port = "abc";
    EXPECT_EQ(RunSendMail(f, attachment, letters), kMailConnectFailed);
    EXPECT_NE(log().find("SMTP server 127.0.0.1, port 0\n"), std::string::npos);
    ASSERT_EQ(letters.shown.size(), 1u);
    EXPECT_EQ(letters.shown[0].text, "Invalid port number 0 for the mail server 127.0.0.1");
    EXPECT_NE(log().find("Invalid port number 0 for the mail server 127.0.0.1\n"),
              std::string::npos);
}

TEST_F(SmtpSend, CancelDuringALargeTransferIsReportedOnce) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    WriteRandomFile(attachment, 6 * 1024 * 1024, 3);
    RecordingListener listener;
    listener.cancelAtPump = 4;
    EXPECT_EQ(RunSendMail(fields(server.portText()), attachment, listener), kMailCancelled);
    ASSERT_EQ(listener.shown.size(), 1u);
    EXPECT_EQ(listener.shown[0].text,
              "Unable to deliver message to bob@example.net: The transfer was cancelled");
    const std::string text = log();
    const auto first = text.find("SMTP transfer cancelled\n");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(text.find("SMTP transfer cancelled\n", first + 1), std::string::npos);
    EXPECT_NE(text.find("Unable to deliver message to bob@example.net: The transfer was "
                        "cancelled\n"),
              std::string::npos);
    EXPECT_EQ(listener.pumps, 4) << "the send stops at the cancel";
    EXPECT_TRUE(server.messages().empty());
    EXPECT_EQ(messageFiles().size(), 1u) << "a failed delivery keeps the message file";
}

TEST_F(SmtpSend, DroppedConnectionKeepsTheMessageFile) {
    TestSmtpServer server(DroppingInData());
    ASSERT_TRUE(server.running());
    RecordingListener listener;
    EXPECT_EQ(RunSendMail(fields(server.portText()), attachment, listener), kMailDeliveryFailed);
    ASSERT_EQ(listener.shown.size(), 1u);
    EXPECT_EQ(listener.shown[0].text,
              "Unable to deliver message to bob@example.net: The mail server closed the "
              "connection");
    EXPECT_EQ(listener.shown[0].kind, MailMessageKind::kWarning);
    EXPECT_EQ(listener.events.back(), "progress hidden");
    ASSERT_EQ(messageFiles().size(), 1u);
    EXPECT_NE(readFile(home.tempDir() + "/" + messageFiles()[0]).find("Subject:"),
              std::string::npos);
}

TEST_F(SmtpSend, EarlyFailuresUseTheStringTable) {
    RecordingListener missing;
    auto f = fields("25");
    EXPECT_EQ(RunSendMail(f, home.tempDir() + "/gone.pdf", missing), kMailNotComposed);
    ASSERT_EQ(missing.shown.size(), 1u);
    EXPECT_EQ(missing.shown[0].text, "Unable to attach file");

    setenv("TMPDIR", (home.path() + "/no-such-folder").c_str(), 1);
    RecordingListener noTemp;
    EXPECT_EQ(RunSendMail(f, attachment, noTemp), kMailNotComposed);
    setenv("TMPDIR", home.tempDir().c_str(), 1);
    ASSERT_EQ(noTemp.shown.size(), 1u);
    EXPECT_EQ(noTemp.shown[0].text, "Unable to determine temporary file path");
    EXPECT_EQ(noTemp.ends, 1);
}

TEST_F(SmtpSend, TestMailGoesToTheOwnAddressWithoutSuccessLines) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    auto f = fields(server.portText());
    f.from = "ann@example.com";
    f.to = "ignored@example.com";
    RecordingListener listener;
    EXPECT_EQ(RunTestMail(f, listener), kMailSent);
    ASSERT_EQ(listener.shown.size(), 1u);
    EXPECT_EQ(listener.shown[0].text, "Message successfully sent to ann@example.com");
    EXPECT_EQ(listener.shown[0].kind, MailMessageKind::kInformation);
    EXPECT_TRUE(listener.events.empty()) << "no progress bar, no activity texts";
    EXPECT_EQ(log(), "");
    ASSERT_EQ(server.messages().size(), 1u);
    const auto parsed = ParseMessage(server.messages()[0]);
    EXPECT_EQ(parsed.header("Subject"), "Test");
    EXPECT_EQ(parsed.header("To"), "ann@example.com");
    EXPECT_EQ(parsed.body, "Test\n");
    EXPECT_TRUE(messageFiles().empty());
}

TEST_F(SmtpSend, TestMailFailuresUseItsOwnTexts) {
    TestSmtpServer server(WithAuth());
    ASSERT_TRUE(server.running());
    auto f = fields(server.portText());
    f.from = "ann@example.com";
    RecordingListener noUser;
    EXPECT_EQ(RunTestMail(f, noUser), kMailAuthMissing);
    ASSERT_EQ(noUser.shown.size(), 1u);
    EXPECT_EQ(noUser.shown[0].text, kTestMailAuthNeeded);
    EXPECT_EQ(noUser.shown[0].kind, MailMessageKind::kWarning);

    TestSmtpServer dropping(DroppingInData());
    f.port = dropping.portText();
    RecordingListener dropped;
    EXPECT_EQ(RunTestMail(f, dropped), kMailDeliveryFailed);
    ASSERT_EQ(dropped.shown.size(), 1u);
    EXPECT_EQ(dropped.shown[0].text,
              "Unable to deliver message to ann@example.com: The mail server closed the "
              "connection");
    EXPECT_EQ(log(),
              "Unable to deliver message to ann@example.com: The mail server closed the "
              "connection\n");
}

TEST_F(SmtpSend, RecipientsTypedWithSemicolonsGoIntoTheHeaderWithCommas) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    RecordingListener listener;
    auto f = fields(server.portText());
    f.to = "a@example.org; b@example.net";
    EXPECT_EQ(RunSendMail(f, "", listener), kMailSent);
    ASSERT_EQ(server.messages().size(), 1u);
    const std::string raw = readFile(server.messages()[0]);
    EXPECT_NE(raw.find("\r\nTo: a@example.org, b@example.net\r\n"), std::string::npos) << raw;
    EXPECT_EQ(server.envelope(server.messages()[0]),
              "from ann@example.com\nto a@example.org\nto b@example.net\n");
}

TEST_F(SmtpSend, NoPasswordUnencryptedToAnotherMachineInTheSendAndTheTestMail) {
    const std::string address = NonLoopbackAddress();
    if (address.empty()) GTEST_SKIP() << "this machine has no address but loopback";
    ServerMode mode = WithAuth();
    mode.host = address;
    TestSmtpServer server(mode);
    ASSERT_TRUE(server.running());
    const std::string refusal =
        "The server does not offer an encrypted connection; Vellumo does not send your password "
        "unencrypted.";
    auto f = fields(server.portText());
    f.server = address;
    f.userId = "alice";
    f.password = "secret";
    RecordingListener send;
    EXPECT_EQ(RunSendMail(f, attachment, send), kMailAuthFailed);
    ASSERT_EQ(send.shown.size(), 1u);
    EXPECT_EQ(send.shown[0].text, refusal);
    EXPECT_EQ(send.shown[0].kind, MailMessageKind::kWarning);
    EXPECT_NE(log().find(refusal + "\n"), std::string::npos);
    RecordingListener test;
    EXPECT_EQ(RunTestMail(f, test), kMailAuthFailed);
    ASSERT_EQ(test.shown.size(), 1u);
    EXPECT_EQ(test.shown[0].text, refusal);
    EXPECT_EQ(server.commands().find("AUTH"), std::string::npos);
    EXPECT_TRUE(server.messages().empty());
}

TEST_F(SmtpSend, CancelWhileConnectingStopsTheSend) {
    // A server that accepts the connection and never greets.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, (sockaddr*)&addr, sizeof addr), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    socklen_t len = sizeof addr;
    getsockname(listener, (sockaddr*)&addr, &len);
    RecordingListener user;
    user.cancelAtWait = 3;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunSendMail(fields(std::to_string(ntohs(addr.sin_port))), attachment, user),
              kMailCancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].text, "The transfer was cancelled");
    EXPECT_NE(log().find("SMTP transfer cancelled\n"), std::string::npos);
    close(listener);
}

// A real SMTP server for the mail tests (tests/mail/smtp_test_server.py on aiosmtpd, run with
// the system's Python), test certificates made with openssl, and a reader of stored messages
// through Python's email package.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace mailtest {

struct ServerMode {
    bool auth = false;  // announce and require AUTH (user "alice", password "secret")
    std::string startTlsCert, startTlsKey;
    std::string implicitTlsCert, implicitTlsKey;
    bool dropInData = false;
    std::string host = "127.0.0.1";  // the address to listen on
    bool smtpUtf8 = false;           // offer SMTPUTF8
};

inline ServerMode WithAuth() {
    ServerMode mode;
    mode.auth = true;
    return mode;
}
inline ServerMode DroppingInData() {
    ServerMode mode;
    mode.dropInData = true;
    return mode;
}

class TestSmtpServer {
public:
    explicit TestSmtpServer(const ServerMode& mode = {});
    ~TestSmtpServer();
    TestSmtpServer(const TestSmtpServer&) = delete;
    TestSmtpServer& operator=(const TestSmtpServer&) = delete;

    bool running() const { return port_ > 0; }
    int port() const { return port_; }
    std::string portText() const { return std::to_string(port_); }
    // The stored messages (paths of NNN.eml), oldest first.
    std::vector<std::string> messages() const;
    // Every command the server saw, one per line.
    std::string commands() const;
    // The envelope of a stored message ("from ADDR", "to ADDR" lines).
    std::string envelope(const std::string& messagePath) const;

private:
    testsupport::TempDir dir_;
    pid_t pid_ = -1;
    int port_ = 0;
};

struct Certificates {
    std::string cert, key;                    // CN and IP 127.0.0.1
    std::string otherCert, otherKey;          // also for 127.0.0.1, but not trusted by the tests
    std::string wrongNameCert, wrongNameKey;  // trusted, but for another name
};
// Made once per test program in a private folder.
const Certificates& TestCertificates();

struct ParsedMessage {
    std::multimap<std::string, std::string> headers;               // decoded values
    std::string body;                                              // decoded text body
    std::vector<std::pair<std::string, std::string>> attachments;  // file name, decoded bytes
    int defects = -1;
    std::string header(const std::string& name) const {
        auto it = headers.find(name);
        return it == headers.end() ? "" : it->second;
    }
};
ParsedMessage ParseMessage(const std::string& emlPath);

// An address of this machine that is not a loopback address (for what only a server elsewhere
// may see), or "" when the machine has none.
std::string NonLoopbackAddress();

// A port on 127.0.0.1 on which nothing listens.
int UnusedPort();
// A file of n pseudo-random bytes.
void WriteRandomFile(const std::string& path, size_t n, unsigned seed = 1);
// Folder of the test scripts.
std::string ScriptDir();

}  // namespace mailtest

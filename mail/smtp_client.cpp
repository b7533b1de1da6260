#include "mail/smtp_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "mail/mime_message.h"
#include "platform/regular_file.h"

namespace vellumo::mail {

namespace {

constexpr size_t kMaxReplyLine = 4096;
constexpr int kMaxReplyLines = 100;
constexpr size_t kChunkSize = 64 * 1024;
// Cancel requests from other threads are noticed at least this often while waiting.
constexpr int kPollSliceMs = 200;
// QUIT is a courtesy: don't let a silent server hold the disconnect up for long.
constexpr int kQuitTimeoutMs = 5000;
// The waits for the server of RFC 5321, 4.5.3.2: a server may take its time, and a message
// given up on too early is one the user sends twice. The greeting, and every command's reply
// (MAIL, RCPT and the rest); the reply to DATA; each block of message data sent; and the reply
// to the final dot, when the server may be checking the whole message.
constexpr int kGreetingWaitMs = 5 * 60 * 1000;
constexpr int kCommandWaitMs = 5 * 60 * 1000;
constexpr int kDataStartWaitMs = 2 * 60 * 1000;
constexpr int kDataBlockWaitMs = 3 * 60 * 1000;
constexpr int kDataEndWaitMs = 10 * 60 * 1000;

// The caller's wait hook (per thread: each thread waits for its own connections).
thread_local SmtpWaitHook waitHook = nullptr;
thread_local void* waitHookValue = nullptr;

const char kNotEncryptedText[] =
    "The server does not offer an encrypted connection; Vellumo does not send your password "
    "unencrypted.";

std::mutex errorMutex;
int lastErrorCode = kSmtpOk;
std::string lastErrorText;

bool SetError(int code, const std::string& text) {
    std::lock_guard<std::mutex> lock(errorMutex);
    lastErrorCode = code;
    lastErrorText = text;
    return false;
}

const char* GeneralErrorText(int code) {
    switch (code) {
        case kSmtpOk:
            return "No error";
        case kSmtpErrNotInitialized:
            return "The SMTP library is not initialised";
        case kSmtpErrInvalidHandle:
            return "The connection is not open";
        case kSmtpErrInvalidArgument:
            return "Invalid argument";
        case kSmtpErrResolve:
            return "The mail server's name could not be resolved";
        case kSmtpErrConnectRefused:
            return "The mail server refused the connection";
        case kSmtpErrConnectTimeout:
            return "Timed out connecting to the mail server";
        case kSmtpErrConnect:
            return "Unable to connect to the mail server";
        case kSmtpErrTimeout:
            return "Timed out waiting for the mail server";
        case kSmtpErrConnectionClosed:
            return "The mail server closed the connection";
        case kSmtpErrNetwork:
            return "Network error";
        case kSmtpErrTls:
            return "Secure connection (TLS) failed";
        case kSmtpErrCertificate:
            return "The mail server's certificate could not be verified";
        case kSmtpErrServerReply:
            return "The mail server rejected the request";
        case kSmtpErrAuthNotOffered:
            return "The mail server does not offer authentication";
        case kSmtpErrAuthMethod:
            return "No supported authentication method";
        case kSmtpErrAuthFailed:
            return "Authentication failed";
        case kSmtpErrFile:
            return "Unable to read the message file";
        case kSmtpErrCancelled:
            return "The transfer was cancelled";
        case kSmtpErrNotEncrypted:
            return kNotEncryptedText;
        case kSmtpErrNonAsciiAddress:
            return "The mail server does not accept addresses with non-ASCII characters";
        default:
            return "Unknown error";
    }
}

std::string OpenSslErrors() {
    std::string text;
    unsigned long e;
    while ((e = ERR_get_error()) != 0) {
        char buf[256];
        ERR_error_string_n(e, buf, sizeof buf);
        if (!text.empty()) text += "; ";
        text += buf;
    }
    return text;
}

// Writes to a socket must not kill the process with SIGPIPE when the server has gone; OpenSSL
// writes with write(), so the signal is blocked on this thread for the duration and a pending
// one is consumed.
class SigPipeGuard {
public:
    SigPipeGuard() {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe, &old_);
    }
    ~SigPipeGuard() {
        if (!wasPending_) {
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            timespec zero{0, 0};
            while (sigtimedwait(&pipe, nullptr, &zero) > 0) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }

private:
    sigset_t old_;
    bool wasPending_ = false;
};

bool IsIpLiteral(const std::string& host) {
    unsigned char buf[sizeof(in6_addr)];
    return inet_pton(AF_INET, host.c_str(), buf) == 1 ||
           inet_pton(AF_INET6, host.c_str(), buf) == 1;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// The bare address of "Name <address>" or of a plain address.
std::string EnvelopeAddress(const std::string& text) {
    std::string t = Trim(text);
    const auto open = t.rfind('<');
    const auto close = t.rfind('>');
    if (open != std::string::npos && close != std::string::npos && close > open)
        return Trim(t.substr(open + 1, close - open - 1));
    return t;
}

bool SafeAddress(const std::string& address) {
    return std::none_of(address.begin(), address.end(), [](char c) {
        return (unsigned char)c < 0x20 || c == 0x7f || c == '<' || c == '>' || c == ' ';
    });
}

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (unsigned char)c < 0x80; });
}

std::vector<std::string> RecipientAddresses(const std::string& to) {
    std::vector<std::string> out;
    std::string current;
    bool quoted = false;
    for (char c : to) {
        if (c == '"') quoted = !quoted;
        if ((c == ',' || c == ';') && !quoted) {
            std::string a = EnvelopeAddress(current);
            if (!a.empty()) out.push_back(a);
            current.clear();
        } else {
            current += c;
        }
    }
    std::string a = EnvelopeAddress(current);
    if (!a.empty()) out.push_back(a);
    return out;
}

struct Reply {
    int code = 0;
    std::vector<std::string> lines;  // text after the code
    std::string text() const {
        std::string t = std::to_string(code);
        for (const auto& line : lines) t += " " + line;
        return t;
    }
};

class Connection {
public:
    ~Connection() { closeTransport(); }

    int fd = -1;
    SSL_CTX* ctx = nullptr;
    SSL* ssl = nullptr;
    // Bounds connecting and the TLS handshake; the replies have the waits above.
    int timeoutMs = 60000;
    // The peer is this machine itself (127.0.0.0/8, ::1): nothing passes a network.
    bool loopbackPeer = false;
    std::string host;
    int port = 0;
    std::string caFile;
    std::uint32_t options = 0;

    SmtpEventCallback callback = nullptr;
    unsigned eventMask = 0;
    void* userValue = nullptr;

    std::mutex statusMutex;
    SmtpTransferStatus status{0, 0};

    std::atomic<bool> cancelled{false};
    std::atomic<bool> closeRequested{false};
    std::atomic<bool> busy{false};

    void closeTransport() {
        if (ssl) {
            SSL_free(ssl);
            ssl = nullptr;
        }
        if (ctx) {
            SSL_CTX_free(ctx);
            ctx = nullptr;
        }
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
        readBuffer_.clear();
    }

    bool open() const { return fd >= 0; }

    bool tcpConnect();
    bool startTls();
    bool greetAndNegotiate(bool implicitTls);
    bool readReply(Reply& reply, int waitMs);
    bool sendLine(const std::string& line) { return writeAll(line.data(), line.size()); }
    bool command(const std::string& line, Reply& reply, int waitMs = kCommandWaitMs) {
        return sendLine(line) && readReply(reply, waitMs);
    }
    bool writeAll(const char* data, size_t size);
    bool quit();
    // Ends an unfinished mail transaction so the session can be used again.
    void reset();

    // State of the mail transaction, so a failure can tell whether the session is in step.
    bool transactionOpen = false;
    bool inData = false;

private:
    // Waits until the socket is ready for events; false (with the error set) on timeout,
    // cancel or a poll failure.
    bool waitFor(short events, int timeoutMs);
    bool fillBuffer(int waitMs);
    bool ehlo(Reply& reply);
    void parseExtensions(const Reply& reply);
    bool readLine(std::string& line, int waitMs);

    std::string readBuffer_;
};

bool Connection::waitFor(short events, int waitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (cancelled) return SetError(kSmtpErrCancelled, GeneralErrorText(kSmtpErrCancelled));
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
            return SetError(kSmtpErrTimeout, "Timed out waiting for the mail server " + host);
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, (int)std::min<long long>(left, kPollSliceMs));
        if (n > 0) return true;
        if (n < 0 && errno != EINTR)
            return SetError(kSmtpErrNetwork, std::string("Network error: ") + std::strerror(errno));
        // A quiet moment: the caller may keep its window alive or want to stop.
        if (waitHook && waitHook(waitHookValue)) cancelled = true;
    }
}

// A name lookup on a thread of its own, so that the wait for a slow name server can be
// cancelled. A lookup given up on finishes in the background and frees its own result.
class Lookup {
public:
    Lookup(const std::string& host, const std::string& service)
        : state_(std::make_shared<State>()) {
        std::thread([state = state_, host, service] {
            addrinfo hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            addrinfo* list = nullptr;
            const int rc = getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
            const int error = errno;
            std::lock_guard<std::mutex> lock(state->mutex);
            if (state->abandoned) {
                if (rc == 0) freeaddrinfo(list);
                return;
            }
            state->rc = rc;
            state->error = error;
            state->list = list;
            state->done = true;
            state->finished.notify_all();
        }).detach();
    }
    ~Lookup() {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (state_->done && state_->rc == 0) freeaddrinfo(state_->list);
        state_->abandoned = true;
    }
    // Waits a moment for the result; true when it is there.
    bool wait(int ms) {
        std::unique_lock<std::mutex> lock(state_->mutex);
        return state_->finished.wait_for(lock, std::chrono::milliseconds(ms),
                                         [&] { return state_->done; });
    }
    int rc() const { return state_->rc; }
    int error() const { return state_->error; }
    addrinfo* list() const { return state_->list; }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false, abandoned = false;
        int rc = 0, error = 0;
        addrinfo* list = nullptr;
    };
    std::shared_ptr<State> state_;
};

bool IsLoopbackPeer(int fd) {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (getpeername(fd, (sockaddr*)&addr, &len) != 0) return false;
    if (addr.ss_family == AF_INET)
        return (ntohl(((sockaddr_in*)&addr)->sin_addr.s_addr) >> 24) == 127;
    if (addr.ss_family == AF_INET6) {
        const in6_addr& a = ((sockaddr_in6*)&addr)->sin6_addr;
        if (IN6_IS_ADDR_LOOPBACK(&a)) return true;
        return IN6_IS_ADDR_V4MAPPED(&a) && a.s6_addr[12] == 127;
    }
    return false;
}

bool Connection::tcpConnect() {
    Lookup lookup(host, std::to_string(port));
    while (!lookup.wait(kPollSliceMs)) {
        if (waitHook && waitHook(waitHookValue)) cancelled = true;
        if (cancelled) return SetError(kSmtpErrCancelled, GeneralErrorText(kSmtpErrCancelled));
    }
    const int rc = lookup.rc();
    addrinfo* list = lookup.list();
    errno = lookup.error();
    if (rc != 0) {
        return SetError(kSmtpErrResolve,
                        "Unable to resolve the mail server name \"" + host +
                            "\": " + (rc == EAI_SYSTEM ? std::strerror(errno) : gai_strerror(rc)));
    }
    int lastErrno = 0;
    bool timedOut = false;
    for (addrinfo* ai = list; ai; ai = ai->ai_next) {
        if (cancelled) return SetError(kSmtpErrCancelled, GeneralErrorText(kSmtpErrCancelled));
        int s = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                         ai->ai_protocol);
        if (s < 0) {
            lastErrno = errno;
            continue;
        }
        int r = ::connect(s, ai->ai_addr, ai->ai_addrlen);
        if (r != 0 && errno == EINPROGRESS) {
            fd = s;
            if (!waitFor(POLLOUT, timeoutMs)) {
                fd = -1;
                ::close(s);
                if (SmtpGetLastError() == kSmtpErrCancelled) return false;
                timedOut = true;
                continue;
            }
            fd = -1;
            int err = 0;
            socklen_t len = sizeof err;
            getsockopt(s, SOL_SOCKET, SO_ERROR, &err, &len);
            r = err == 0 ? 0 : -1;
            errno = err;
        }
        if (r == 0) {
            fd = s;
            loopbackPeer = IsLoopbackPeer(fd);
            return true;
        }
        lastErrno = errno;
        ::close(s);
    }
    const std::string where = host + " port " + std::to_string(port);
    if (lastErrno == ECONNREFUSED)
        return SetError(kSmtpErrConnectRefused, "Connection to " + where + " refused");
    if (timedOut || lastErrno == ETIMEDOUT)
        return SetError(kSmtpErrConnectTimeout, "Timed out connecting to " + where);
    return SetError(kSmtpErrConnect, "Unable to connect to " + where + ": " +
                                         std::strerror(lastErrno ? lastErrno : EHOSTUNREACH));
}

bool Connection::startTls() {
    ERR_clear_error();
    ctx = SSL_CTX_new(TLS_client_method());
    if (!ctx) return SetError(kSmtpErrTls, "TLS set-up failed: " + OpenSslErrors());
    SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
    SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
    if (!caFile.empty()) {
        if (SSL_CTX_load_verify_locations(ctx, caFile.c_str(), nullptr) != 1)
            return SetError(kSmtpErrTls, "Unable to load the CA file " + caFile);
    } else if (SSL_CTX_set_default_verify_paths(ctx) != 1) {
        return SetError(kSmtpErrTls, "Unable to load the system's certificates");
    }
    ssl = SSL_new(ctx);
    if (!ssl || SSL_set_fd(ssl, fd) != 1)
        return SetError(kSmtpErrTls, "TLS set-up failed: " + OpenSslErrors());
    if (IsIpLiteral(host)) {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), host.c_str());
    } else {
        SSL_set_tlsext_host_name(ssl, host.c_str());
        SSL_set1_host(ssl, host.c_str());
    }
    SigPipeGuard sigpipe;
    for (;;) {
        const int r = SSL_connect(ssl);
        if (r == 1) break;
        const int e = SSL_get_error(ssl, r);
        if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE) {
            if (!waitFor(e == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT, timeoutMs)) return false;
            continue;
        }
        const long verify = SSL_get_verify_result(ssl);
        if (verify != X509_V_OK) {
            return SetError(kSmtpErrCertificate,
                            "The certificate of " + host +
                                " could not be verified: " + X509_verify_cert_error_string(verify));
        }
        std::string detail = OpenSslErrors();
        if (detail.empty())
            detail =
                e == SSL_ERROR_SYSCALL ? "the server closed the connection" : "handshake failed";
        return SetError(kSmtpErrTls, "Secure connection to " + host + " failed: " + detail);
    }
    options |= kSmtpServerTls;
    return true;
}

bool Connection::writeAll(const char* data, size_t size) {
    if (fd < 0)
        return SetError(kSmtpErrConnectionClosed, GeneralErrorText(kSmtpErrConnectionClosed));
    SigPipeGuard sigpipe;
    while (size > 0) {
        if (cancelled) return SetError(kSmtpErrCancelled, GeneralErrorText(kSmtpErrCancelled));
        if (ssl) {
            ERR_clear_error();
            const int n = SSL_write(ssl, data, (int)std::min<size_t>(size, 1 << 30));
            if (n > 0) {
                data += n;
                size -= (size_t)n;
                continue;
            }
            const int e = SSL_get_error(ssl, n);
            if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE) {
                if (!waitFor(e == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT, kDataBlockWaitMs))
                    return false;
                continue;
            }
            const int err = errno;
            if (e == SSL_ERROR_SYSCALL && (err == EPIPE || err == ECONNRESET))
                return SetError(kSmtpErrConnectionClosed, "The mail server closed the connection");
            return SetError(kSmtpErrNetwork, "Sending to the mail server failed: " +
                                                 (OpenSslErrors() + std::strerror(err)));
        }
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n > 0) {
            data += n;
            size -= (size_t)n;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(POLLOUT, kDataBlockWaitMs)) return false;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (errno == EPIPE || errno == ECONNRESET)
            return SetError(kSmtpErrConnectionClosed, "The mail server closed the connection");
        return SetError(kSmtpErrNetwork,
                        std::string("Sending to the mail server failed: ") + std::strerror(errno));
    }
    return true;
}

bool Connection::fillBuffer(int waitMs) {
    if (fd < 0)
        return SetError(kSmtpErrConnectionClosed, GeneralErrorText(kSmtpErrConnectionClosed));
    char buf[4096];
    // TLS may answer the peer while reading (key updates), so reads are guarded too.
    SigPipeGuard sigpipe;
    for (;;) {
        if (ssl) {
            ERR_clear_error();
            const int n = SSL_read(ssl, buf, sizeof buf);
            if (n > 0) {
                readBuffer_.append(buf, (size_t)n);
                return true;
            }
            const int e = SSL_get_error(ssl, n);
            if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE) {
                if (!waitFor(e == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT, waitMs)) return false;
                continue;
            }
            if (e == SSL_ERROR_ZERO_RETURN || e == SSL_ERROR_SYSCALL)
                return SetError(kSmtpErrConnectionClosed, "The mail server closed the connection");
            return SetError(kSmtpErrTls, "Reading from the mail server failed: " + OpenSslErrors());
        }
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n > 0) {
            readBuffer_.append(buf, (size_t)n);
            return true;
        }
        if (n == 0)
            return SetError(kSmtpErrConnectionClosed, "The mail server closed the connection");
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!waitFor(POLLIN, waitMs)) return false;
            continue;
        }
        if (errno == EINTR) continue;
        if (errno == ECONNRESET)
            return SetError(kSmtpErrConnectionClosed, "The mail server closed the connection");
        return SetError(kSmtpErrNetwork, std::string("Reading from the mail server failed: ") +
                                             std::strerror(errno));
    }
}

bool Connection::readLine(std::string& line, int waitMs) {
    for (;;) {
        const auto eol = readBuffer_.find('\n');
        if (eol != std::string::npos) {
            line = readBuffer_.substr(0, eol);
            readBuffer_.erase(0, eol + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        if (readBuffer_.size() > kMaxReplyLine)
            return SetError(kSmtpErrServerReply, "The mail server sent an overlong reply line");
        if (!fillBuffer(waitMs)) return false;
    }
}

bool Connection::readReply(Reply& reply, int waitMs) {
    reply = Reply{};
    for (int count = 0; count < kMaxReplyLines; ++count) {
        std::string line;
        if (!readLine(line, waitMs)) return false;
        if (line.size() < 3 || !std::isdigit((unsigned char)line[0]) ||
            !std::isdigit((unsigned char)line[1]) || !std::isdigit((unsigned char)line[2]) ||
            (line.size() > 3 && line[3] != ' ' && line[3] != '-')) {
            return SetError(kSmtpErrServerReply,
                            "The mail server sent an invalid reply: " + line.substr(0, 200));
        }
        const int code = std::atoi(line.substr(0, 3).c_str());
        if (count > 0 && code != reply.code)
            return SetError(kSmtpErrServerReply,
                            "The mail server sent an invalid reply: " + line.substr(0, 200));
        reply.code = code;
        reply.lines.push_back(line.size() > 4 ? line.substr(4) : "");
        if (line.size() == 3 || line[3] == ' ') return true;
    }
    return SetError(kSmtpErrServerReply, "The mail server sent an overlong reply");
}

void Connection::parseExtensions(const Reply& reply) {
    options &= kSmtpServerTls;
    for (size_t i = 1; i < reply.lines.size(); ++i) {
        std::string line = reply.lines[i];
        for (auto& c : line) c = (char)std::toupper((unsigned char)c);
        auto word = line.substr(0, line.find(' '));
        if (word == "STARTTLS") options |= kSmtpServerStartTls;
        if (word == "8BITMIME") options |= kSmtpServer8BitMime;
        if (word == "SIZE") options |= kSmtpServerSize;
        if (word == "SMTPUTF8") options |= kSmtpServerSmtpUtf8;
        if (word == "AUTH" || line.rfind("AUTH=", 0) == 0) {
            options |= kSmtpServerRequiresAuth;
            // The mechanisms, each between blanks; "AUTH" alone offers none.
            std::string rest(1, ' ');
            if (line.size() > 5) rest.append(line, 5, std::string::npos);
            rest += ' ';
            if (rest.find(" PLAIN ") != std::string::npos) options |= kSmtpServerAuthPlain;
            if (rest.find(" LOGIN ") != std::string::npos) options |= kSmtpServerAuthLogin;
        }
    }
}

std::string LocalDomainLiteral(int fd) {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    char text[INET6_ADDRSTRLEN] = {0};
    if (getsockname(fd, (sockaddr*)&addr, &len) == 0) {
        if (addr.ss_family == AF_INET &&
            inet_ntop(AF_INET, &((sockaddr_in*)&addr)->sin_addr, text, sizeof text))
            return std::string("[") + text + "]";
        if (addr.ss_family == AF_INET6 &&
            inet_ntop(AF_INET6, &((sockaddr_in6*)&addr)->sin6_addr, text, sizeof text))
            return std::string("[IPv6:") + text + "]";
    }
    return "[127.0.0.1]";
}

bool Connection::ehlo(Reply& reply) {
    const std::string domain = LocalDomainLiteral(fd);
    if (!command("EHLO " + domain + "\r\n", reply)) return false;
    if (reply.code == 250) {
        parseExtensions(reply);
        return true;
    }
    // A server without extensions: plain HELO, nothing offered.
    if (!command("HELO " + domain + "\r\n", reply)) return false;
    if (reply.code != 250)
        return SetError(kSmtpErrServerReply,
                        "The mail server rejected the greeting: " + reply.text());
    options &= kSmtpServerTls;
    return true;
}

bool Connection::greetAndNegotiate(bool implicitTls) {
    if (implicitTls && !startTls()) return false;
    Reply reply;
    if (!readReply(reply, kGreetingWaitMs)) return false;
    if (reply.code != 220)
        return SetError(kSmtpErrServerReply,
                        "The mail server refused the session: " + reply.text());
    if (!ehlo(reply)) return false;
    if ((options & kSmtpServerStartTls) && !(options & kSmtpServerTls)) {
        if (!command("STARTTLS\r\n", reply)) return false;
        if (reply.code != 220)
            return SetError(kSmtpErrTls,
                            "The mail server offered STARTTLS but refused it: " + reply.text());
        if (!readBuffer_.empty())
            return SetError(kSmtpErrTls, "The mail server sent data before the TLS handshake");
        if (!startTls()) return false;
        if (!ehlo(reply)) return false;
    }
    return true;
}

// Keeps the last error across a courtesy exchange (QUIT, RSET) whose own errors don't matter.
class ErrorKeeper {
public:
    ErrorKeeper() {
        std::lock_guard<std::mutex> lock(errorMutex);
        code_ = lastErrorCode;
        text_ = lastErrorText;
    }
    ~ErrorKeeper() {
        std::lock_guard<std::mutex> lock(errorMutex);
        lastErrorCode = code_;
        lastErrorText = text_;
    }

private:
    int code_;
    std::string text_;
};

bool Connection::quit() {
    ErrorKeeper keep;
    Reply reply;
    if (command("QUIT\r\n", reply, kQuitTimeoutMs) && ssl) {
        SigPipeGuard sigpipe;
        SSL_shutdown(ssl);
    }
    return true;
}

void Connection::reset() {
    ErrorKeeper keep;
    Reply reply;
    if (!command("RSET\r\n", reply) || reply.code != 250) closeTransport();
    transactionOpen = false;
}

struct Library {
    std::mutex mutex;
    bool started = false;
    int nextHandle = 1;
    std::map<int, std::shared_ptr<Connection>> connections;
};

Library& Lib() {
    static Library library;
    return library;
}

std::shared_ptr<Connection> Find(int handle) {
    auto& lib = Lib();
    std::lock_guard<std::mutex> lock(lib.mutex);
    auto it = lib.connections.find(handle);
    return it == lib.connections.end() ? nullptr : it->second;
}

void Release(int handle) {
    auto& lib = Lib();
    std::lock_guard<std::mutex> lock(lib.mutex);
    lib.connections.erase(handle);
}

std::string Base64(const std::string& s) {
    return mime::Base64(s);
}

// Dot-stuffs a chunk of the message and turns bare LF into CRLF. atLineStart and lastWasCr
// carry the state from one chunk to the next.
void StuffChunk(const char* data, size_t n, std::string& out, bool& atLineStart, bool& lastWasCr) {
    out.clear();
    for (size_t i = 0; i < n; ++i) {
        const char c = data[i];
        if (atLineStart && c == '.') out += '.';
        if (c == '\n' && !lastWasCr) out += '\r';
        out += c;
        atLineStart = c == '\n';
        lastWasCr = c == '\r';
    }
}

}  // namespace

bool SmtpInitialize() {
    if (OPENSSL_init_ssl(OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS,
                         nullptr) != 1)
        return SetError(kSmtpErrTls, "Unable to initialise OpenSSL");
    auto& lib = Lib();
    std::lock_guard<std::mutex> lock(lib.mutex);
    lib.started = true;
    return true;
}

int SmtpConnect(const std::string& server, int port, int timeoutSeconds, unsigned options,
                const char* caFile, int /*reserved*/) {
    {
        auto& lib = Lib();
        std::lock_guard<std::mutex> lock(lib.mutex);
        if (!lib.started) {
            SetError(kSmtpErrNotInitialized, GeneralErrorText(kSmtpErrNotInitialized));
            return -1;
        }
    }
    const std::string host = Trim(server);
    if (host.empty()) {
        SetError(kSmtpErrInvalidArgument, "No mail server given");
        return -1;
    }
    if (port <= 0 || port > 65535) {
        SetError(kSmtpErrInvalidArgument,
                 "Invalid port number " + std::to_string(port) + " for the mail server " + host);
        return -1;
    }
    auto connection = std::make_shared<Connection>();
    connection->host = host;
    connection->port = port;
    connection->timeoutMs = (timeoutSeconds > 0 ? timeoutSeconds : 60) * 1000;
    if (caFile && *caFile) {
        connection->caFile = caFile;
    } else if (const char* env = std::getenv("VELLUMO_SMTP_CA_FILE"); env && *env) {
        connection->caFile = env;
    }
    const bool implicitTls = port == 465 || (options & kSmtpConnectImplicitTls);
    if (!connection->tcpConnect() || !connection->greetAndNegotiate(implicitTls)) return -1;

    auto& lib = Lib();
    std::lock_guard<std::mutex> lock(lib.mutex);
    if (!lib.started) {
        SetError(kSmtpErrNotInitialized, GeneralErrorText(kSmtpErrNotInitialized));
        return -1;
    }
    const int handle = lib.nextHandle++;
    lib.connections[handle] = connection;
    SetError(kSmtpOk, "");
    return handle;
}

bool SmtpGetServerOptions(int handle, std::uint32_t* options) {
    auto c = Find(handle);
    if (!c || !options)
        return SetError(kSmtpErrInvalidHandle, GeneralErrorText(kSmtpErrInvalidHandle));
    *options = c->options;
    return true;
}

int SmtpAuthenticate(int handle, int method, const std::string& userId,
                     const std::string& password) {
    auto c = Find(handle);
    if (!c || !c->open()) {
        SetError(kSmtpErrInvalidHandle, GeneralErrorText(kSmtpErrInvalidHandle));
        return -1;
    }
    if (!(c->options & kSmtpServerRequiresAuth)) {
        SetError(kSmtpErrAuthNotOffered, "The mail server " + c->host +
                                             " does not offer authentication; no login was sent");
        return -1;
    }
    if ((c->options & kSmtpServerStartTls) && !(c->options & kSmtpServerTls)) {
        SetError(kSmtpErrTls, "Refusing to log in without encryption after STARTTLS failed");
        return -1;
    }
    // A password in clear text could be read by anyone on the way, also where an attacker
    // struck STARTTLS from the server's offer. Only a server on this machine gets it so.
    if (!(c->options & kSmtpServerTls) && !c->loopbackPeer) {
        SetError(kSmtpErrNotEncrypted, kNotEncryptedText);
        return -1;
    }
    const bool plain = c->options & kSmtpServerAuthPlain;
    const bool login = c->options & kSmtpServerAuthLogin;
    int use = method;
    if (method == kSmtpAuthAutomatic) use = plain ? kSmtpAuthPlain : login ? kSmtpAuthLogin : -1;
    if ((use == kSmtpAuthPlain && !plain) || (use == kSmtpAuthLogin && !login) ||
        (use != kSmtpAuthPlain && use != kSmtpAuthLogin)) {
        SetError(kSmtpErrAuthMethod,
                 "The mail server " + c->host + " offers no supported authentication method");
        return -1;
    }
    Reply reply;
    auto failed = [&](const Reply& r) {
        SetError(kSmtpErrAuthFailed, r.text());
        return -1;
    };
    if (use == kSmtpAuthPlain) {
        const std::string token =
            Base64(std::string("\0", 1) + userId + std::string("\0", 1) + password);
        if (!c->command("AUTH PLAIN " + token + "\r\n", reply)) return -1;
        if (reply.code == 334) {
            // Some servers ask for the response on its own line.
            if (!c->command(token + "\r\n", reply)) return -1;
        }
        if (reply.code != 235) return failed(reply);
    } else {
        if (!c->command("AUTH LOGIN\r\n", reply)) return -1;
        if (reply.code != 334) return failed(reply);
        if (!c->command(Base64(userId) + "\r\n", reply)) return -1;
        if (reply.code != 334) return failed(reply);
        if (!c->command(Base64(password) + "\r\n", reply)) return -1;
        if (reply.code != 235) return failed(reply);
    }
    SetError(kSmtpOk, "");
    return 0;
}

void SmtpSetWaitHook(SmtpWaitHook hook, void* userValue) {
    waitHook = hook;
    waitHookValue = userValue;
}

void SmtpRegisterCallback(int handle, unsigned eventMask, SmtpEventCallback callback,
                          void* userValue) {
    if (auto c = Find(handle)) {
        c->eventMask = eventMask;
        c->callback = callback;
        c->userValue = userValue;
    }
}

namespace {

// The body of SmtpSendMessage once the connection is known to be open and idle.
bool SendFile(Connection& c, int handle, const std::string& from, const std::string& to,
              const std::string& path) {
    const std::string sender = EnvelopeAddress(from);
    const auto recipients = RecipientAddresses(to);
    if (!SafeAddress(sender))
        return SetError(kSmtpErrInvalidArgument, "Invalid sender address \"" + sender + "\"");
    if (recipients.empty()) return SetError(kSmtpErrInvalidArgument, "No recipient address given");
    for (const auto& r : recipients)
        if (!SafeAddress(r))
            return SetError(kSmtpErrInvalidArgument, "Invalid recipient address \"" + r + "\"");
    // Addresses beyond ASCII travel only with SMTPUTF8 (RFC 6531); without it the server
    // would mangle or bounce them.
    bool utf8 = !IsAscii(sender);
    for (const auto& r : recipients) utf8 = utf8 || !IsAscii(r);
    if (utf8 && !(c.options & kSmtpServerSmtpUtf8)) {
        std::string address = sender;
        for (const auto& r : recipients)
            if (!IsAscii(r)) address = r;
        if (IsAscii(address)) address = sender;
        return SetError(kSmtpErrNonAsciiAddress,
                        "The address " + address +
                            " has characters beyond ASCII, and the mail server " + c.host +
                            " does not accept such addresses (SMTPUTF8)");
    }

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(vellumo::platform::OpenRegularFile(path),
                                                         std::fclose);
    struct stat st;
    if (!file || fstat(fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode))
        return SetError(kSmtpErrFile, "Unable to read the message file " + path);
    {
        std::lock_guard<std::mutex> lock(c.statusMutex);
        c.status.total = (std::uint32_t)std::min<long long>(st.st_size, 0xFFFFFFFFLL);
        c.status.sent = 0;
    }

    Reply reply;
    std::string mail = "MAIL FROM:<" + sender + ">";
    if (c.options & kSmtpServerSize) mail += " SIZE=" + std::to_string((long long)st.st_size);
    if (utf8) mail += " SMTPUTF8";
    if (!c.command(mail + "\r\n", reply)) return false;
    if (reply.code != 250) return SetError(kSmtpErrServerReply, reply.text());
    c.transactionOpen = true;
    for (const auto& r : recipients) {
        if (!c.command("RCPT TO:<" + r + ">\r\n", reply)) return false;
        if (reply.code != 250 && reply.code != 251)
            return SetError(kSmtpErrServerReply, reply.text());
    }
    if (!c.command("DATA\r\n", reply, kDataStartWaitMs)) return false;
    if (reply.code != 354) return SetError(kSmtpErrServerReply, reply.text());
    c.inData = true;

    std::vector<char> buffer(kChunkSize);
    std::string out;
    bool atLineStart = true, lastWasCr = false;
    unsigned long long sent = 0;
    for (;;) {
        const size_t n = std::fread(buffer.data(), 1, buffer.size(), file.get());
        if (n == 0) {
            if (std::ferror(file.get()))
                return SetError(kSmtpErrFile, "Unable to read the message file " + path);
            break;
        }
        StuffChunk(buffer.data(), n, out, atLineStart, lastWasCr);
        if (!c.writeAll(out.data(), out.size())) return false;
        sent += n;
        {
            std::lock_guard<std::mutex> lock(c.statusMutex);
            c.status.sent = (std::uint32_t)std::min<unsigned long long>(sent, 0xFFFFFFFFULL);
        }
        if (c.callback && (c.eventMask & kSmtpEventProgress))
            c.callback(handle, kSmtpEventProgress, c.userValue);
        if (c.cancelled) return SetError(kSmtpErrCancelled, GeneralErrorText(kSmtpErrCancelled));
    }
    const std::string end = atLineStart ? ".\r\n" : "\r\n.\r\n";
    if (!c.writeAll(end.data(), end.size())) return false;
    if (!c.readReply(reply, kDataEndWaitMs)) return false;
    // With the final reply the transaction is over, accepted or not.
    c.inData = false;
    c.transactionOpen = false;
    if (reply.code != 250) return SetError(kSmtpErrServerReply, reply.text());
    return true;
}

}  // namespace

int SmtpSendMessage(int handle, const std::string& from, const std::string& to,
                    const std::string& messageFile, int /*reserved*/, int /*flags*/) {
    auto c = Find(handle);
    if (!c || !c->open() || c->busy) {
        SetError(kSmtpErrInvalidHandle, GeneralErrorText(kSmtpErrInvalidHandle));
        return -1;
    }
    c->cancelled = false;
    c->inData = false;
    c->transactionOpen = false;
    c->busy = true;
    const bool ok = SendFile(*c, handle, from, to, messageFile);
    c->busy = false;
    if (c->closeRequested || c->cancelled) {
        // Cancelled or disconnected mid-transfer: the session cannot be resumed.
        if (ok) SetError(kSmtpErrCancelled, GeneralErrorText(kSmtpErrCancelled));
        c->closeTransport();
        if (c->closeRequested) Release(handle);
        return -1;
    }
    if (!ok) {
        // After a failure in the middle of DATA or of the connection the session is out of
        // step; only a fresh connection can be trusted. A rejected command leaves it usable
        // once the unfinished transaction is reset.
        const int code = SmtpGetLastError();
        if (c->inData || (code != kSmtpErrServerReply && code != kSmtpErrInvalidArgument &&
                          code != kSmtpErrFile && code != kSmtpErrNonAsciiAddress)) {
            c->closeTransport();
        } else if (c->transactionOpen) {
            c->reset();
        }
        c->inData = false;
        c->transactionOpen = false;
        return -1;
    }
    SetError(kSmtpOk, "");
    return 0;
}

bool SmtpGetTransferStatus(int handle, SmtpTransferStatus* status) {
    auto c = Find(handle);
    if (!c || !status)
        return SetError(kSmtpErrInvalidHandle, GeneralErrorText(kSmtpErrInvalidHandle));
    std::lock_guard<std::mutex> lock(c->statusMutex);
    *status = c->status;
    return true;
}

void SmtpCancel(int handle) {
    if (auto c = Find(handle)) c->cancelled = true;
}

void SmtpDisconnect(int handle) {
    auto c = Find(handle);
    if (!c) return;
    if (c->busy) {
        // Called from the progress callback: the send loop closes it on its way out.
        c->closeRequested = true;
        c->cancelled = true;
        return;
    }
    if (c->open()) c->quit();
    c->closeTransport();
    Release(handle);
}

void SmtpShutdown() {
    std::vector<int> handles;
    {
        auto& lib = Lib();
        std::lock_guard<std::mutex> lock(lib.mutex);
        for (const auto& entry : lib.connections) handles.push_back(entry.first);
    }
    for (int h : handles) SmtpDisconnect(h);
    auto& lib = Lib();
    std::lock_guard<std::mutex> lock(lib.mutex);
    lib.started = false;
}

int SmtpGetLastError() {
    std::lock_guard<std::mutex> lock(errorMutex);
    return lastErrorCode;
}

std::string SmtpGetErrorText(int errorCode) {
    std::lock_guard<std::mutex> lock(errorMutex);
    if (errorCode == lastErrorCode && !lastErrorText.empty()) return lastErrorText;
    return GeneralErrorText(errorCode);
}

int SmtpGetErrorText(int errorCode, char* buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0) return 0;
    const std::string text = SmtpGetErrorText(errorCode);
    size_t n = std::min(text.size(), (size_t)bufferSize - 1);
    // Don't cut a UTF-8 character in two.
    while (n > 0 && n < text.size() && ((unsigned char)text[n] & 0xC0) == 0x80) --n;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return (int)n;
}

}  // namespace vellumo::mail

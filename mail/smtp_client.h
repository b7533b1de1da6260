// The SMTP client (RFC 5321) the mail sequence sends through. Its interface is the program's
// step-by-step use of a mail library: start it, connect, read what the server offers,
// authenticate when the server wants it, send one message file with progress and cancel,
// disconnect, shut down, and ask for the last error's code and text.
//
// Transport security: TLS on OpenSSL. Implicit TLS on port 465 (or with kSmtpConnectImplicitTls);
// on other ports STARTTLS whenever the server offers it, followed by a new EHLO. A server that
// offers STARTTLS but fails it is refused, so credentials never go out in plain text after a
// failed upgrade. Server certificates are verified against the system's trust store, with the
// host name (or IP address) checked. For tests, a CA file can replace the system store: the
// caFile argument of SmtpConnect, or the environment variable VELLUMO_SMTP_CA_FILE.
//
// Credentials are sent only when the server announced AUTH, and only over an encrypted
// connection, unless the server is this machine itself (a loopback address).
//
// Waits: connecting and the TLS handshake are bounded by the connection's timeout; the server's
// replies get the waits of RFC 5321, 4.5.3.2 (5 minutes for the greeting and each command, 2
// for DATA, 3 for each block of data, 10 after the final dot). No wait is blind: the caller's
// wait hook runs at least every 200 ms of silence and can cancel whatever is under way,
// connecting and the name lookup included.
#pragma once

#include <cstdint>
#include <string>

namespace vellumo::mail {

// Connection options. The program passes kSmtpConnectStandard: EHLO with its extensions, TLS
// whenever it is available, verified certificates (none of these can be switched off).
constexpr unsigned kSmtpConnectStandard = 0x2001;
// TLS from the first byte also on ports other than 465.
constexpr unsigned kSmtpConnectImplicitTls = 0x0100;

// Bits of the server's options word.
constexpr std::uint32_t kSmtpServerTls = 0x01;           // the session is encrypted
constexpr std::uint32_t kSmtpServerStartTls = 0x02;      // STARTTLS was offered
constexpr std::uint32_t kSmtpServer8BitMime = 0x04;      // 8BITMIME
constexpr std::uint32_t kSmtpServerSize = 0x08;          // SIZE
constexpr std::uint32_t kSmtpServerRequiresAuth = 0x40;  // AUTH announced: log in first
constexpr std::uint32_t kSmtpServerAuthPlain = 0x80;     // AUTH PLAIN offered
constexpr std::uint32_t kSmtpServerAuthLogin = 0x100;    // AUTH LOGIN offered
constexpr std::uint32_t kSmtpServerSmtpUtf8 = 0x200;     // SMTPUTF8: addresses beyond ASCII

// Authentication methods.
constexpr int kSmtpAuthAutomatic = 0;  // PLAIN when offered, else LOGIN
constexpr int kSmtpAuthPlain = 1;
constexpr int kSmtpAuthLogin = 2;

// Event of the callback: part of the message has been transmitted.
constexpr unsigned kSmtpEventProgress = 128;

// Error codes of SmtpGetLastError.
enum SmtpError {
    kSmtpOk = 0,
    kSmtpErrNotInitialized,
    kSmtpErrInvalidHandle,
    kSmtpErrInvalidArgument,
    kSmtpErrResolve,
    kSmtpErrConnectRefused,
    kSmtpErrConnectTimeout,
    kSmtpErrConnect,
    kSmtpErrTimeout,
    kSmtpErrConnectionClosed,
    kSmtpErrNetwork,
    kSmtpErrTls,
    kSmtpErrCertificate,
    kSmtpErrServerReply,
    kSmtpErrAuthNotOffered,
    kSmtpErrAuthMethod,
    kSmtpErrAuthFailed,
    kSmtpErrFile,
    kSmtpErrCancelled,
    kSmtpErrNotEncrypted,     // a login would go out unencrypted: refused
    kSmtpErrNonAsciiAddress,  // an address beyond ASCII for a server without SMTPUTF8
};

// What SmtpGetTransferStatus reports: the size of the message file and how much of it has
// been transmitted.
struct SmtpTransferStatus {
    std::uint32_t total;
    std::uint32_t sent;
};

using SmtpEventCallback = void (*)(int connection, unsigned event, void* userValue);
// Called with userValue while the library waits for the network and nothing has arrived for a
// moment (about every 200 ms); true cancels the operation under way (kSmtpErrCancelled), after
// which the connection sends nothing more.
using SmtpWaitHook = bool (*)(void* userValue);

// Sets the wait hook of the calling thread (nullptr: none).
void SmtpSetWaitHook(SmtpWaitHook hook, void* userValue);

// Starts the library (OpenSSL). True on success.
bool SmtpInitialize();
// Opens a connection and greets the server; a handle (> 0) or -1. timeoutSeconds bounds
// connecting and the TLS handshake. caFile: see above; nullptr for the system store.
int SmtpConnect(const std::string& server, int port, int timeoutSeconds, unsigned options,
                const char* caFile = nullptr, int reserved = 0);
// The options word of the server (the bits above). False for an unknown handle.
bool SmtpGetServerOptions(int connection, std::uint32_t* options);
// Logs in; 0 or -1. Refused without sending anything when the server did not announce AUTH,
// or when the connection is not encrypted and the server is not on this machine
// (kSmtpErrNotEncrypted). On a rejection the error text is the server's reply.
int SmtpAuthenticate(int connection, int method, const std::string& userId,
                     const std::string& password);
// The callback is called with userValue during SmtpSendMessage for the events in eventMask.
void SmtpRegisterCallback(int connection, unsigned eventMask, SmtpEventCallback callback,
                          void* userValue);
// Transmits a message file (MAIL FROM, RCPT TO for each address of the recipient text, DATA);
// 0 when the server accepted it, else -1. The addresses may be bare or "Name <address>"; the
// recipient text may list several, separated by commas or semicolons. An address beyond ASCII
// goes with SMTPUTF8 when the server offers it and is refused (kSmtpErrNonAsciiAddress)
// otherwise.
int SmtpSendMessage(int connection, const std::string& from, const std::string& to,
                    const std::string& messageFile, int reserved = 0, int flags = 0);
bool SmtpGetTransferStatus(int connection, SmtpTransferStatus* status);
// Makes a running SmtpSendMessage stop and fail (also from its callback or another thread).
void SmtpCancel(int connection);
// Says goodbye (QUIT) and closes. Harmless for a closed or unknown handle. Called from the
// callback during a send, the connection is closed as soon as the send returns.
void SmtpDisconnect(int connection);
// Closes every connection and stops the library; harmless when already stopped.
void SmtpShutdown();

int SmtpGetLastError();
// The text of an error code: for the last error its full text (with the server's reply, the
// host name and the like), for other codes a general text.
std::string SmtpGetErrorText(int errorCode);
// The same into a caller's buffer of bufferSize bytes (always terminated); returns the length.
int SmtpGetErrorText(int errorCode, char* buffer, int bufferSize);

}  // namespace vellumo::mail

#include "mail/smtp_send.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <climits>

#include "mail/mail_strings.h"
#include "mail/mime_message.h"
#include "platform/log.h"
#include "platform/temp_file.h"

namespace vellumo::mail {

using namespace vellumo::platform;

void MailSendListener::log(const std::string& line) {
    WriteLog(line);
}

int ParsePortText(const std::string& portText) {
    if (portText.empty()) return 25;
    long long value = 0;
    for (char c : portText) {
        if (!std::isdigit((unsigned char)c)) break;
        value = value * 10 + (c - '0');
        // Far beyond any port; the connect reports it as invalid.
        if (value > INT_MAX / 10) break;
    }
    return (int)value;
}

namespace {

bool IsDirectory(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string LastSmtpErrorText() {
    return SmtpGetErrorText(SmtpGetLastError());
}

// Texts and log behaviour that differ between the mail with the PDF and the test mail.
struct Flavour {
    bool testMail;
    std::string noTempPath, noTempFile, mimeInit, createMessage, attach, smtpInit, authNeeded;
    MailMessageKind earlyKind;
};

Flavour SendMailFlavour() {
    return {false,
            MailString(IDS_MAIL_NO_TEMP_PATH),
            MailString(IDS_MAIL_NO_TEMP_FILE),
            MailString(IDS_MAIL_MIME_INIT),
            MailString(IDS_MAIL_CREATE_MESSAGE),
            MailString(IDS_MAIL_ATTACH),
            MailString(IDS_MAIL_SMTP_INIT),
            MailString(IDS_MAIL_AUTH_NEEDED),
            MailMessageKind::kStringMessage};
}

Flavour TestMailFlavour() {
    return {true,
            kTestMailNoTempPath,
            kTestMailNoTempFile,
            kTestMailMimeInit,
            kTestMailCreateMessage,
            MailString(IDS_MAIL_ATTACH),
            kTestMailSmtpInit,
            kTestMailAuthNeeded,
            MailMessageKind::kWarning};
}

// The state the progress callback works on during the transmission.
struct Transfer {
    MailSendListener* listener;
    int connection;
    bool cancelHandled;
};

// While the library waits for the server the windows stay alive, and a cancel stops the send
// at any step: connecting, logging in, transmitting or waiting for the final answer. A cancel
// left over from before the send counts only once the send has cleared it.
struct Waiting {
    MailSendListener* listener;
    bool honourCancel;
};

bool OnSmtpWait(void* userValue) {
    auto* waiting = static_cast<Waiting*>(userValue);
    waiting->listener->waitingForServer();
    return waiting->honourCancel && waiting->listener->cancelRequested();
}

class ScopedWaitHook {
public:
    explicit ScopedWaitHook(Waiting* waiting) { SmtpSetWaitHook(OnSmtpWait, waiting); }
    ~ScopedWaitHook() { SmtpSetWaitHook(nullptr, nullptr); }
    ScopedWaitHook(const ScopedWaitHook&) = delete;
    ScopedWaitHook& operator=(const ScopedWaitHook&) = delete;
};

bool Cancelled() {
    return SmtpGetLastError() == kSmtpErrCancelled;
}

void OnSmtpProgress(int /*connection*/, unsigned /*event*/, void* userValue) {
    auto* transfer = static_cast<Transfer*>(userValue);
    MailSendListener& listener = *transfer->listener;
    listener.pumpEvents();
    if (listener.cancelRequested()) {
        // The callback keeps coming until the send notices the cancel; act on it once.
        if (transfer->cancelHandled) return;
        transfer->cancelHandled = true;
        listener.log("SMTP transfer cancelled\n");
        SmtpCancel(transfer->connection);
        SmtpDisconnect(transfer->connection);
        SmtpShutdown();
        listener.endActivity();
        return;
    }
    SmtpTransferStatus status{0, 0};
    if (!SmtpGetTransferStatus(transfer->connection, &status)) return;
    // Nothing to measure against yet: leave the bar where it is.
    if (status.total == 0) return;
    const double percent = (double)status.sent / (double)status.total * 100.0;
    listener.setProgress((int)percent);
}

MailSendResult Run(const SmtpMailFields& fields, const std::string& attachmentPath,
                   MailSendListener& listener, const Flavour& flavour) {
    const bool logSteps = !flavour.testMail;
    auto fail = [&](const std::string& text, MailMessageKind kind, MailSendResult result) {
        listener.endActivity();
        listener.showMessage(text, kind);
        return result;
    };

    // The mail with the PDF can be cancelled at every step from here on; the test mail runs
    // without cancel (its window is only kept painted while the server is slow).
    Waiting waiting{&listener, !flavour.testMail && !listener.cancelRequested()};

    // Compose the message into a private temporary file.
    const std::string tempFolder = TempDirectory();
    if (!IsDirectory(tempFolder))
        return fail(flavour.noTempPath, flavour.earlyKind, kMailNotComposed);
    const std::string messageFile = CreateTempFile("msg");
    if (messageFile.empty()) return fail(flavour.noTempFile, flavour.earlyKind, kMailNotComposed);
    if (!MimeInitialize()) return fail(flavour.mimeInit, flavour.earlyKind, kMailNotComposed);
    if (logSteps) listener.log("MimeInitialize successful\n");
    const int message = MimeCreateMessage();
    if (message == -1) {
        MimeShutdown();
        return fail(flavour.createMessage, flavour.earlyKind, kMailNotComposed);
    }
    if (logSteps) listener.log("MimeCreateMessage successful\n");

    // Recipients typed with ";" (as many mail programs allow) go into the header with commas,
    // which every reader understands.
    const std::string to = flavour.testMail ? fields.from : mime::NormaliseAddressList(fields.to);
    MimeSetHeader(message, "From", fields.from);
    MimeSetHeader(message, "To", to);
    MimeSetHeader(message, "Subject", flavour.testMail ? kTestMailSubject : fields.subject);
    MimeSetOption(message, kMimeOptionDateAndMessageId, 1);
    MimeSetBody(message, flavour.testMail ? kTestMailBody : fields.message);
    if (!attachmentPath.empty() && !MimeAttachFile(message, attachmentPath, 0)) {
        MimeShutdown();
        return fail(flavour.attach, flavour.earlyKind, kMailNotComposed);
    }
    const bool written = MimeWriteToFile(message, messageFile);
    MimeShutdown();
    if (!written) {
        // A half-written message (full disk, attachment gone) must never be sent.
        ::unlink(messageFile.c_str());
        return fail(flavour.noTempFile, flavour.earlyKind, kMailNotComposed);
    }

    if (!SmtpInitialize()) return fail(flavour.smtpInit, flavour.earlyKind, kMailSmtpInitFailed);
    if (logSteps) listener.log("SmtpInitialize successful\n");
    ScopedWaitHook hook(&waiting);

    const int port = ParsePortText(fields.port);
    if (logSteps)
        listener.log("SMTP server " + fields.server + ", port " + std::to_string(port) + "\n");
    if (logSteps) listener.setActivityText(MailString(IDS_MAIL_SENDING));
    const int connection =
        SmtpConnect(fields.server, port, fields.timeoutSeconds, fields.connectOptions, nullptr, 0);
    if (connection == -1) {
        const std::string error = LastSmtpErrorText();
        const bool cancelled = Cancelled();
        SmtpShutdown();
        listener.endActivity();
        if (cancelled) listener.log("SMTP transfer cancelled\n");
        listener.showMessage(error, MailMessageKind::kWarning);
        listener.log(error + "\n");
        return cancelled ? kMailCancelled : kMailConnectFailed;
    }
    if (logSteps) {
        listener.log("SmtpConnect successful\n");
        listener.setActivityText(MailString(IDS_MAIL_LOGGING_IN));
    }

    std::uint32_t serverOptions = 0;
    if (SmtpGetServerOptions(connection, &serverOptions) &&
        (serverOptions & kSmtpServerRequiresAuth)) {
        if (fields.userId.empty()) {
            listener.endActivity();
            listener.showMessage(flavour.authNeeded, flavour.earlyKind);
            SmtpDisconnect(connection);
            SmtpShutdown();
            return kMailAuthMissing;
        }
        if (SmtpAuthenticate(connection, kSmtpAuthAutomatic, fields.userId, fields.password) ==
            -1) {
            const std::string error = LastSmtpErrorText();
            const bool cancelled = Cancelled();
            listener.endActivity();
            if (cancelled) listener.log("SMTP transfer cancelled\n");
            listener.showMessage(error, MailMessageKind::kWarning);
            SmtpDisconnect(connection);
            SmtpShutdown();
            listener.log(error + "\n");
            return cancelled ? kMailCancelled : kMailAuthFailed;
        }
        if (logSteps) listener.log("SmtpAuthenticate successful\n");
    }

    Transfer transfer{&listener, connection, false};
    if (!flavour.testMail) {
        // A cancel left over from before the transmission is forgotten here.
        listener.clearCancel();
        waiting.honourCancel = true;
        SmtpRegisterCallback(connection, kSmtpEventProgress, OnSmtpProgress, &transfer);
        listener.setProgressVisible(true);
        listener.setActivityText(MailString(IDS_MAIL_SENDING));
    }
    const int sent = SmtpSendMessage(connection, fields.from, to, messageFile, 0, 2);
    if (!flavour.testMail) listener.setProgressVisible(false);
    if (sent == -1) {
        const std::string error = LastSmtpErrorText();
        const bool cancelled = Cancelled();
        // A cancel while waiting for the server (not seen by the progress call) is logged too.
        if (cancelled && !transfer.cancelHandled) listener.log("SMTP transfer cancelled\n");
        listener.endActivity();
        const std::string text =
            std::string(MailString(IDS_MAIL_DELIVERY_FAILED)) + " " + to + ": " + error;
        listener.showMessage(text, MailMessageKind::kWarning);
        listener.log(text + "\n");
        // Harmless when the cancel has closed both already.
        SmtpDisconnect(connection);
        SmtpShutdown();
        return cancelled ? kMailCancelled : kMailDeliveryFailed;
    }
    if (logSteps) listener.log("SmtpSendMessage successful\n");
    SmtpDisconnect(connection);
    SmtpShutdown();
    ::unlink(messageFile.c_str());
    listener.endActivity();
    if (flavour.testMail) {
        std::string text = kTestMailSent;
        text.replace(text.find("%s"), 2, to);
        listener.showMessage(text, MailMessageKind::kInformation);
    } else {
        listener.showMessage(MailString(IDS_MAIL_SENT), MailMessageKind::kStringMessage);
    }
    return kMailSent;
}

}  // namespace

MailSendResult RunSendMail(const SmtpMailFields& fields, const std::string& attachmentPath,
                           MailSendListener& listener) {
    return Run(fields, attachmentPath, listener, SendMailFlavour());
}

MailSendResult RunTestMail(const SmtpMailFields& fields, MailSendListener& listener) {
    return Run(fields, "", listener, TestMailFlavour());
}

}  // namespace vellumo::mail

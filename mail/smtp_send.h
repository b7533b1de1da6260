// The SMTP send as the user runs it: compose the message into a temporary file, connect, log in
// when the server wants it, transmit with progress and cancel, and tell the user how it went.
// Free of any GUI: the windows (the main window with its activity dialog, the Email settings
// page) and the command line each supply a MailSendListener, so all of them run this same code.
//
// Behaviour worth knowing:
// - The temporary message file ("msg…" in the temporary folder) is deleted only after the
//   server accepted the message; after a failed delivery it stays for inspection.
// - A message file that could not be written completely (full disk, attachment gone) is never
//   sent: it is deleted and the run ends with the "Unable to create temporary file" text.
// - Both libraries are shut down on every way out, the early failures included.
// - Progress: while the transfer status has no total yet, the bar is left where it is.
// - A cancel during the transfer is acted on once (log line, cancel, disconnect, shut down),
//   however often the progress callback sees the flag; the send then fails and the user gets
//   the one delivery-failure message with the text "The transfer was cancelled".
// - While the library waits for the server (connecting, logging in, the reply to the final
//   dot, which may take minutes) the listener is pumped and a cancel stops the send as well.
// - Recipients separated by ";" or "," go into the To header separated by commas.
#pragma once

#include <string>

#include "mail/smtp_client.h"

namespace vellumo::mail {

// How a message is presented to the user.
enum class MailMessageKind {
    kStringMessage,  // beep, no owner window, warning icon (texts of the string table)
    kWarning,        // owned by the window that started the send, warning icon
    kInformation,    // owned by that window, OK button and no icon
};

class MailSendListener {
public:
    virtual ~MailSendListener() = default;
    // The activity dialog's status line.
    virtual void setActivityText(const std::string& text) = 0;
    // The activity dialog's progress bar and its position in percent.
    virtual void setProgressVisible(bool visible) = 0;
    virtual void setProgress(int percent) = 0;
    // Lets the windows react while the send runs (this is where a cancel request arrives).
    virtual void pumpEvents() = 0;
    // Called about every 200 ms while the server is silent (connecting, logging in, waiting for
    // a reply); cancelRequested() is asked right after. By default the events are pumped.
    virtual void waitingForServer() { pumpEvents(); }
    virtual bool cancelRequested() = 0;
    virtual void clearCancel() = 0;
    // Hides the activity dialog and enables the window that started the send again (for the
    // test mail also: show the Cancel button again and restore the cursor). Called on every
    // way out before the final message, and may be called more than once.
    virtual void endActivity() = 0;
    virtual void showMessage(const std::string& text, MailMessageKind kind) = 0;
    // One complete log line; by default the program's log.
    virtual void log(const std::string& line);
};

// What one send needs, as the send-mail dialog (or the Email page, or the command line) has it.
struct SmtpMailFields {
    std::string from;
    std::string to;
    std::string subject;
    std::string message;
    std::string server;
    std::string port;  // text, as typed
    std::string userId;
    std::string password;  // plain text
    // For the command line and tests; the windows keep the defaults.
    unsigned connectOptions = kSmtpConnectStandard;
    int timeoutSeconds = 60;
};

enum MailSendResult {
    kMailSent = 0,
    kMailNotComposed,  // temporary file, MIME library or attachment failed
    kMailSmtpInitFailed,
    kMailConnectFailed,
    kMailAuthMissing,  // the server wants a login and no user id was given
    kMailAuthFailed,
    kMailDeliveryFailed,
    kMailCancelled,  // the user cancelled (connecting, logging in or sending); nothing more went
                     // out
};

// The port rule of the mail settings: empty text is 25; otherwise the value of the leading
// decimal digits, 0 when there are none.
int ParsePortText(const std::string& portText);

// Sends fields.message with the file at attachmentPath (empty: no attachment) from fields.from
// to fields.to. The caller has shown the activity dialog and disabled its window.
MailSendResult RunSendMail(const SmtpMailFields& fields, const std::string& attachmentPath,
                           MailSendListener& listener);

// The test mail of the Email settings page: "Test" from the own address (fields.from) to the
// same address, with no attachment, no progress and no cancel, and no success lines in the log.
MailSendResult RunTestMail(const SmtpMailFields& fields, MailSendListener& listener);

}  // namespace vellumo::mail

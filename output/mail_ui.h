// The windows' side of an SMTP send: the listener that shows a send from the mail core on the
// activity dialog and in message boxes, the test mail of the Email settings page, and the send
// of "MAIL AS PDF" with the send-mail dialog. Everything runs on the GUI thread.
#pragma once

#include <QString>
#include <string>

#include "mail/smtp_send.h"

class QWidget;

namespace vellumo::output {

// The program-wide path of the file that a mail carries (empty: none). "MAIL AS PDF" sets it
// to "Images.pdf" in a private folder of the temporary folder.
extern std::string mailAttachmentPath;

// Shows one send of the mail core on the activity dialog. The owner is the window that
// started the send (the main window, or the Email settings page): it owns the message boxes
// and is enabled again when the send ends. The test mail also shows the activity dialog's
// Cancel button again and restores the cursor at the end.
class ActivityMailListener : public vellumo::mail::MailSendListener {
public:
    enum class Kind { SendMail, TestMail };
    ActivityMailListener(QWidget* owner, Kind kind);
    ~ActivityMailListener() override;

    void setActivityText(const std::string& text) override;
    void setProgressVisible(bool visible) override;
    void setProgress(int percent) override;
    void pumpEvents() override;
    // The test mail, which cannot be cancelled, only keeps its windows painted meanwhile.
    void waitingForServer() override;
    bool cancelRequested() override;
    void clearCancel() override;
    void endActivity() override;
    void showMessage(const std::string& text, vellumo::mail::MailMessageKind kind) override;

    // Shows the wait cursor until the end of the send (restored once, by endActivity).
    void showWaitCursor();

private:
    QWidget* owner_;
    Kind kind_;
    bool waitCursor_ = false;
};

// What the Email settings page has typed for the test mail.
struct TestMailFields {
    QString ownAddress;  // "My e-mail address:"
    QString server;
    QString port;  // as typed
    QString userId;
    QString password;  // plain text
};

// The "Send test email" button: sends "Test" from the own address to itself through the typed
// server, with the page disabled and the activity dialog showing "Sending mail, please wait
// ..." (without Cancel and progress) meanwhile; "Message successfully sent to ADDR" at the end,
// or the failure in a warning box owned by the page.
vellumo::mail::MailSendResult SendTestMail(QWidget* page, const TestMailFields& fields);

// The SMTP delivery of "MAIL AS PDF": asks for sender, recipient, subject and text in the
// send-mail dialog and sends mailAttachmentPath with them, the SMTP values coming from the
// settings. Entered with the activity dialog shown and the main window disabled; leaves the
// activity dialog hidden and the main window enabled when it sent or tried to. Questions are
// owned by the activity dialog's main window, else by `owner`.
void SendMailSmtp(QWidget* owner);

// True while SendMailSmtp is transmitting.
bool SmtpSendRunning();
// UM_SMTPCANCELLED: cancels the running transmission. The cancel takes effect at the next
// progress call of the transfer, which acts on it once (log line, cancel, disconnect, shut
// down, main window enabled); when no send is running, or its cancel has been acted on
// already, nothing happens.
void OnSmtpCancelled();

}  // namespace vellumo::output

#include "output/mail_ui.h"

#include <QApplication>
#include <QCursor>
#include <QThread>
#include <QWidget>

#include "mail/mail_strings.h"
#include "output/send_mail_dlg.h"
#include "platform/cancel.h"
#include "platform/dialogs.h"
#include "platform/log.h"
#include "widgets/activity_dialog.h"

namespace vellumo::output {

using namespace vellumo::platform;
using namespace vellumo::mail;
using widgets::activityDialog;
using widgets::PumpActivityMessages;

std::string mailAttachmentPath;

namespace {

// The pause before the first step of a send, so the activity dialog is seen.
constexpr unsigned long kStartPauseMs = 1000;

bool sendRunning = false;

void ShowActivityDialog() {
    if (!activityDialog) return;
    activityDialog->showActivity();
    // Paint it before the GUI thread stops for the pause.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void StartPause() {
    QThread::msleep(kStartPauseMs);
}

// A message box must not show the wait cursor of the operation behind it.
class ArrowCursorWhileAsking {
public:
    ArrowCursorWhileAsking() : active_(QApplication::overrideCursor() != nullptr) {
        if (active_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowCursorWhileAsking() {
        if (active_) QApplication::restoreOverrideCursor();
    }

private:
    bool active_;
};

SmtpMailFields ToFields(const CSendMailDlg& dialog) {
    SmtpMailFields fields;
    fields.from = dialog.From.toStdString();
    fields.to = dialog.To.toStdString();
    fields.subject = dialog.Subject.toStdString();
    fields.message = dialog.Message.toStdString();
    fields.server = dialog.SmtpServer.toStdString();
    fields.port = dialog.SmtpPort.toStdString();
    fields.userId = dialog.UserId.toStdString();
    fields.password = dialog.Password.toStdString();
    return fields;
}

}  // namespace

ActivityMailListener::ActivityMailListener(QWidget* owner, Kind kind)
    : owner_(owner), kind_(kind) {}

ActivityMailListener::~ActivityMailListener() {
    if (waitCursor_) QApplication::restoreOverrideCursor();
}

void ActivityMailListener::showWaitCursor() {
    if (waitCursor_) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    waitCursor_ = true;
}

void ActivityMailListener::setActivityText(const std::string& text) {
    if (activityDialog) activityDialog->setStatusText(QString::fromStdString(text));
}

void ActivityMailListener::setProgressVisible(bool visible) {
    if (activityDialog) activityDialog->setProgressVisible(visible);
}

void ActivityMailListener::setProgress(int percent) {
    if (activityDialog) activityDialog->setProgressPercent(percent);
}

void ActivityMailListener::pumpEvents() {
    PumpActivityMessages();
}

void ActivityMailListener::waitingForServer() {
    if (kind_ == Kind::TestMail)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    else
        pumpEvents();
}

bool ActivityMailListener::cancelRequested() {
    return vellumo::platform::cancelRequested == 1;
}

void ActivityMailListener::clearCancel() {
    vellumo::platform::cancelRequested = 0;
}

void ActivityMailListener::endActivity() {
    if (activityDialog) {
        if (kind_ == Kind::TestMail) activityDialog->setCancelVisible(true);
        activityDialog->hideActivity();
    }
    if (owner_) owner_->setEnabled(true);
    if (kind_ == Kind::TestMail && waitCursor_) {
        QApplication::restoreOverrideCursor();
        waitCursor_ = false;
    }
}

void ActivityMailListener::showMessage(const std::string& text, MailMessageKind kind) {
    ArrowCursorWhileAsking arrow;
    const QString message = QString::fromStdString(text);
    switch (kind) {
        case MailMessageKind::kStringMessage:
            // Texts of the string table: a beep and a box of its own, owned by no window.
            QApplication::beep();
            MessageBox(nullptr, message, MessageIcon::Exclamation);
            break;
        case MailMessageKind::kWarning:
            MessageBox(owner_, message, MessageIcon::Exclamation);
            break;
        case MailMessageKind::kInformation:
            MessageBox(owner_, message, MessageIcon::None);
            break;
    }
}

MailSendResult SendTestMail(QWidget* page, const TestMailFields& fields) {
    ActivityMailListener listener(page, ActivityMailListener::Kind::TestMail);
    listener.showWaitCursor();
    if (activityDialog) {
        activityDialog->setCancelVisible(false);
        activityDialog->setProgressVisible(false);
        activityDialog->setStatusText(QString::fromLatin1(kTestMailSending));
    }
    ShowActivityDialog();
    if (page) page->setEnabled(false);
    WriteLog("Main window disabled\n");
    StartPause();

    SmtpMailFields mail;
    mail.from = fields.ownAddress.toStdString();
    mail.to = mail.from;
    mail.server = fields.server.toStdString();
    mail.port = fields.port.toStdString();
    mail.userId = fields.userId.toStdString();
    mail.password = fields.password.toStdString();
    const MailSendResult result = RunTestMail(mail, listener);
    // Every way out of the send has ended the activity already; this only makes sure.
    listener.endActivity();
    return result;
}

void SendMailSmtp(QWidget* owner) {
    QWidget* mainWindow = activityDialog ? activityDialog->mainWindow() : nullptr;
    if (!mainWindow) mainWindow = owner;
    CSendMailDlg dialog;
    int answer;
    {
        ArrowCursorWhileAsking arrow;
        answer = dialog.exec();
    }
    if (answer != QDialog::Accepted) return;

    ActivityMailListener listener(mainWindow, ActivityMailListener::Kind::SendMail);
    if (activityDialog) {
        activityDialog->setStatusText(QString::fromLatin1(MailString(IDS_MAIL_CONNECTING)));
        activityDialog->setCancelVisible(false);
    }
    ShowActivityDialog();
    PumpActivityMessages();
    if (vellumo::platform::cancelRequested == 1) {
        WriteLog("cancelled\n");
        listener.endActivity();
        return;
    }
    StartPause();

    sendRunning = true;
    RunSendMail(ToFields(dialog), mailAttachmentPath, listener);
    sendRunning = false;
}

bool SmtpSendRunning() {
    return sendRunning;
}

void OnSmtpCancelled() {
    // The transfer's progress call acts on the cancel, once; a cancel it has acted on already
    // leaves the flag raised, so a second request changes nothing.
    if (sendRunning) vellumo::platform::cancelRequested = 1;
}

}  // namespace vellumo::output

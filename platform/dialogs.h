// The one seam through which the program asks the user something or hands work to the desktop:
// message boxes, the open and save file dialogs, opening files, addresses and programs, the
// desktop's mail client, the default printer and the program's own modal dialogs. The windows call
// Dialogs(); tests install a ScriptedDialogs (platform/scripted_dialogs.h) that answers from a
// script and records every question, so whole commands run headless.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <utility>

#include "platform/printer.h"

class QDialog;
class QWidget;

namespace vellumo::platform {

// Every message box of the program carries this caption.
inline constexpr char kMessageCaption[] = "Vellumo";

enum class MessageIcon { None, Information, Exclamation, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Answer { Ok, Cancel, Yes, No, Retry };

struct OpenFilesRequest {
    QString title;
    QString folder;  // initial folder; empty: the dialog's own choice
    QString filter;  // Qt form, "PDF File (*.PDF);;All files (*)"; empty lists every file
    bool multiple = true;
};

struct SaveFileRequest {
    QString title;
    QString folder;
    QString filter;            // Qt form, entries separated by ";;"
    int filterIndex = 0;       // the entry selected when the dialog opens
    QString defaultName;       // initial file name
    QString defaultExtension;  // added (as ".ext") when the user types a name without one
};

struct SaveFileAnswer {
    QString path;  // empty: the user cancelled
    int filterIndex = 0;
};

// What the desktop's mail client made of a mail handed to it.
enum class MailClientResult { Started, NoClient, Failed };

class DialogProvider {
public:
    virtual ~DialogProvider() = default;

    // The box shows the details set just before it (see setDetailsForNextMessage).
    virtual Answer messageBox(QWidget* parent, const QString& text, const QString& caption,
                              MessageIcon icon, MessageButtons buttons) = 0;
    // The chosen files, empty when the user cancelled.
    virtual QStringList openFiles(QWidget* parent, const OpenFilesRequest& request) = 0;
    // Asks before an existing file is replaced.
    virtual SaveFileAnswer saveFile(QWidget* parent, const SaveFileRequest& request) = 0;
    // Opens a file with the desktop's program for it ("open" of the shell); false on failure.
    virtual bool openFile(const QString& path) = 0;
    virtual bool openUrl(const QUrl& url) = 0;
    // Starts a program detached; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
    // True when there is a mail client to hand mails to.
    virtual bool mailClientAvailable() = 0;
    // Hands a file to the desktop's mail client as the attachment of a new mail.
    // Started: the client took it (it asks the user for recipient and text); NoClient: there
    // is no mail client to hand over to; Failed: the file is not readable or the hand-over
    // failed.
    virtual MailClientResult mailWithAttachment(const QString& path) = 0;
    virtual PrinterInfo defaultPrinter() = 0;
    // Runs one of the program's own modal dialogs (the preview, the source dialog) and returns
    // its result (QDialog::Accepted or Rejected).
    virtual int execDialog(QDialog& dialog) = 0;

    // The details of the next message box: the file and the real reason behind the message,
    // shown on request below its text. A provider takes them when it shows that box.
    void setDetailsForNextMessage(const QString& details) { details_ = details; }

protected:
    // The details for the box being shown (empty: none); they apply to that box only.
    QString takeDetails() { return std::exchange(details_, QString()); }

private:
    QString details_;
};

// The provider in use: the Qt one unless another has been installed.
DialogProvider* Dialogs();
// Installs a provider (nullptr: back to the Qt one) and returns the previous one.
DialogProvider* SetDialogProvider(DialogProvider* provider);

// Shorthand for the usual message box with the caption "Vellumo".
Answer MessageBox(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::None,
                  MessageButtons buttons = MessageButtons::Ok, const QString& details = QString());

// The real dialogs: QMessageBox, QFileDialog, QDesktopServices, xdg-email, CUPS.
class QtDialogProvider : public DialogProvider {
public:
    Answer messageBox(QWidget* parent, const QString& text, const QString& caption,
                      MessageIcon icon, MessageButtons buttons) override;
    QStringList openFiles(QWidget* parent, const OpenFilesRequest& request) override;
    SaveFileAnswer saveFile(QWidget* parent, const SaveFileRequest& request) override;
    bool openFile(const QString& path) override;
    bool openUrl(const QUrl& url) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    // xdg-email is on the PATH.
    bool mailClientAvailable() override;
    // Through xdg-email: its own session, no terminal, no input; what it writes to its error
    // output goes to the log. A tool still running after mailToolTimeoutSeconds is left to
    // itself and counts as failed.
    MailClientResult mailWithAttachment(const QString& path) override;
    PrinterInfo defaultPrinter() override;
    int execDialog(QDialog& dialog) override;

    int mailToolTimeoutSeconds = 120;
};

}  // namespace vellumo::platform

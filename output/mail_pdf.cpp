#include "output/mail_pdf.h"

#include <QApplication>
#include <QFile>
#include <QWidget>

#include "document/page_list_ops.h"
#include "mail/mail_strings.h"
#include "output/mail_ui.h"
#include "output/page_texts.h"
#include "output/pdf_build_thread.h"
#include "output/pdf_progress.h"
#include "pdf/pdf_builder.h"
#include "platform/cancel.h"
#include "platform/dialogs.h"
#include "platform/log.h"
#include "platform/private_folder.h"
#include "platform/settings_store.h"
#include "platform/temp_file.h"
#include "widgets/activity_dialog.h"

namespace vellumo::output {

using namespace vellumo::platform;
using namespace vellumo::pdf;
using namespace vellumo::mail;
using widgets::activityDialog;
using widgets::PumpActivityMessages;

namespace {

constexpr char kAttachmentName[] = "Images.pdf";

// Results of SendMailMapi when the mail could not be handed over.
constexpr int kMapiNoClient = -1;
constexpr int kMapiFailed = 2;

// The wait cursor for the time of the command, restored on every way out.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { restore(); }
    void restore() {
        if (shown_) QApplication::restoreOverrideCursor();
        shown_ = false;
    }

private:
    bool shown_ = true;
};

void RemoveFile(const std::string& path) {
    if (!path.empty()) QFile::remove(QString::fromStdString(path));
}

void EndActivity(QWidget* mainWindow) {
    if (activityDialog) activityDialog->hideActivity();
    if (mainWindow) mainWindow->setEnabled(true);
}

void ShowCancellableActivity(const char* text) {
    if (!activityDialog) return;
    activityDialog->setStatusText(QString::fromLatin1(text));
    activityDialog->setCancelVisible(true);
    activityDialog->setProgressVisible(false);
    activityDialog->showActivity();
}

}  // namespace

int SendMailMapi(QWidget* owner) {
    WriteLog("Loading MAPI32.DLL\r\n");
    // The desktop's mail hand-over takes the place of the library and of its SendMail.
    if (!Dialogs()->mailClientAvailable()) {
        MessageBox(owner, QString::fromLatin1(kMapiNotFound));
        return kMapiNoClient;
    }
    WriteLog("MAPI32.DLL loaded\r\n");
    WriteLog("MAPI: SendMail function found\r\n");
    WriteLog("Creating image descriptions\r\n");
    const QString path = QString::fromStdString(mailAttachmentPath);
    if (!QFile::exists(path)) {
        // Nothing to attach: the mail client is not started for an empty mail.
        MessageBox(owner, QString::fromLatin1(kMapiSendError));
        return kMapiFailed;
    }
    WriteLog("Image description created\r\n");
    // The mail client's compose window runs apart from the program; while the hand-over lasts
    // no command of the program may start.
    QWidget* topLevel = owner ? owner->window() : nullptr;
    const bool disableTop = topLevel && topLevel->isEnabled();
    if (disableTop) topLevel->setEnabled(false);
    WriteLog("Calling SendMail\r\n");
    const MailClientResult result = Dialogs()->mailWithAttachment(path);
    WriteLog("Returned from SendMail\r\n");
    if (disableTop) topLevel->setEnabled(true);
    switch (result) {
        case MailClientResult::Started:
            return 0;
        case MailClientResult::NoClient:
            MessageBox(owner, QString::fromLatin1(kMapiNotFound));
            return kMapiNoClient;
        case MailClientResult::Failed:
            break;
    }
    MessageBox(owner, QString::fromLatin1(kMapiSendError));
    return kMapiFailed;
}

void OnMailAsPdf(const document::CommandContext& context) {
    QWidget* mainWindow = context.window;
    document::PageDocument& document = *context.document;
    WriteLog("Start mailing as PDF\n");
    if (document.pages.empty()) {
        MessageBox(mainWindow, QStringLiteral("Nothing to mail yet"), MessageIcon::Exclamation);
        return;
    }
    // Each hand-off gets a private folder of its own for its "Images.pdf": nobody else can read
    // it or plant a link there, and a PDF the mail program has not read yet is never replaced.
    vellumo::platform::PrivateFolder handoff(vellumo::platform::kMailHandoffPrefix);
    if (!handoff.ok()) {
        const std::string problem = TempFolderProblem();
        WriteLog(problem + "\n");
        MessageBox(mainWindow, QString::fromStdString(problem), MessageIcon::Exclamation);
        return;
    }
    mailAttachmentPath = handoff.file(kAttachmentName);
    WriteLogF("Will save to %s\n", mailAttachmentPath.c_str());

    WaitCursor cursor;
    cancelRequested = 0;
    ShowCancellableActivity("Creating PDF...");
    mainWindow->setEnabled(false);
    PumpActivityMessages();
    if (cancelRequested == 1) {
        WriteLog("cancelled\n");
        EndActivity(mainWindow);
        return;
    }

    std::vector<vellumo::imaging::PageRef> files;
    files.reserve(document.pages.size());
    for (const auto& page : document.pages) files.push_back(document::PageRefOf(*page));
    PdfBuildOptions options;
    options.compress = SettingsStore::read(setting::Compress) != 0;
    options.compressionPercent = SettingsStore::read(setting::ComprPerc).toStdString();
    options.passwords = document.pdfPasswords;
    options.forMail = true;
    if (!CollectPageTexts(context, mainWindow, options.pageTexts)) {
        cursor.restore();
        EndActivity(mainWindow);
        return;
    }
    WindowBuildListener messages(mainWindow, true);
    PdfPageProgress progress;
    const PdfBuildResult built =
        BuildPdfOnWorker(files, mailAttachmentPath, options, messages, mainWindow);
    // The mail transfer that follows shows its own progress in the same bar.
    progress.end();
    if (built.status == PdfBuildStatus::Cancelled) WriteLog("cancelled\n");
    if (!built.succeeded()) {
        // Nothing is mailed; a file the failed build may have left is not kept either.
        RemoveFile(mailAttachmentPath);
        cursor.restore();
        EndActivity(mainWindow);
        return;
    }

    if (SettingsStore::read(setting::ViaSMTP) != 0) {
        SendMailSmtp(mainWindow);
    } else {
        WriteLog("Sending MAPI message\r\n");
        ShowCancellableActivity("Creating mail message...");
        PumpActivityMessages();
        if (cancelRequested == 1) {
            WriteLog("cancelled\n");
            EndActivity(mainWindow);
            RemoveFile(mailAttachmentPath);
            return;
        }
        const int result = SendMailMapi(mainWindow);
        WriteLogF("Send MAPI message done, result %d\r\n", result);
        if (result == 0) {
            // xdg-email returns at once; the mail program reads the file when the user sends.
            // It stays for a day (removed at a later start of Vellumo), whatever happens here.
            handoff.keep();
            vellumo::platform::RemoveOldMailHandoffs();
            // No caption of its own: the box carries the program's name.
            Dialogs()->messageBox(mainWindow, QString::fromLatin1(kMapiEndedWithout),
                                  QCoreApplication::applicationName(), MessageIcon::None,
                                  MessageButtons::Ok);
        }
    }

    EndActivity(mainWindow);
    cursor.restore();
    // The PDF goes with its folder, unless the mail program still has to read it.
    handoff = vellumo::platform::PrivateFolder();
    document::ClearPages(document, mainWindow, QStringLiteral("Clear list of pages to send?"));
}

}  // namespace vellumo::output

#include "platform/dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace {

DialogProvider* installed = nullptr;

QtDialogProvider& QtProvider() {
    static QtDialogProvider provider;
    return provider;
}

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The answer of a box closed without a button (Escape, the window's close box).
Answer DismissAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return Answer::Ok;
        case MessageButtons::YesNo:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

}  // namespace

DialogProvider* Dialogs() {
    return installed ? installed : &QtProvider();
}

DialogProvider* SetDialogProvider(DialogProvider* provider) {
    DialogProvider* previous = Dialogs();
    installed = provider;
    return previous == &QtProvider() ? nullptr : previous;
}

Answer MessageBox(QWidget* parent, const QString& text, MessageIcon icon, MessageButtons buttons) {
    return Dialogs()->messageBox(parent, text, QString::fromLatin1(kMessageCaption), icon, buttons);
}

Answer QtDialogProvider::messageBox(QWidget* parent, const QString& text, const QString& caption,
                                    MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(ToQt(icon), caption, text, ToQt(buttons), parent);
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Retry:
            return Answer::Retry;
        default:
            return DismissAnswer(buttons);
    }
}

QStringList QtDialogProvider::openFiles(QWidget* parent, const OpenFilesRequest& request) {
    if (request.multiple)
        return QFileDialog::getOpenFileNames(parent, request.title, request.folder, request.filter);
    const QString file =
        QFileDialog::getOpenFileName(parent, request.title, request.folder, request.filter);
    return file.isEmpty() ? QStringList() : QStringList{file};
}

SaveFileAnswer QtDialogProvider::saveFile(QWidget* parent, const SaveFileRequest& request) {
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!request.defaultExtension.isEmpty()) dialog.setDefaultSuffix(request.defaultExtension);
    const QStringList filters = dialog.nameFilters();
    if (request.filterIndex >= 0 && request.filterIndex < filters.size())
        dialog.selectNameFilter(filters[request.filterIndex]);
    if (!request.defaultName.isEmpty()) dialog.selectFile(request.defaultName);
    SaveFileAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return answer;
    answer.path = dialog.selectedFiles().constFirst();
    answer.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    if (answer.filterIndex < 0) answer.filterIndex = 0;
    return answer;
}

bool QtDialogProvider::openFile(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtDialogProvider::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool QtDialogProvider::startProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

MailClientResult QtDialogProvider::mailWithAttachment(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (tool.isEmpty()) return MailClientResult::NoClient;
    QProcess process;
    process.start(tool, {QStringLiteral("--attach"), path});
    // xdg-email hands the mail to the client and returns; it only waits while it looks for one.
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(1000);
        return MailClientResult::Failed;
    }
    if (process.exitStatus() != QProcess::NormalExit) return MailClientResult::Failed;
    // xdg-email: 3 = a required tool is missing, 4 = the action failed (no mail client).
    switch (process.exitCode()) {
        case 0:
            return MailClientResult::Started;
        case 3:
        case 4:
            return MailClientResult::NoClient;
        default:
            return MailClientResult::Failed;
    }
}

PrinterInfo QtDialogProvider::defaultPrinter() {
    return QueryDefaultPrinter();
}

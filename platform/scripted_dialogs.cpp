#include "platform/scripted_dialogs.h"
#include <QDialog>

namespace vellumo::platform {

ScriptedDialogs::ScriptedDialogs() : previous_(SetDialogProvider(this)) {}

ScriptedDialogs::~ScriptedDialogs() {
    SetDialogProvider(previous_);
}

QStringList ScriptedDialogs::messages() const {
    QStringList texts;
    for (const AskedQuestion& q : asked_)
        if (q.kind == AskedQuestion::Kind::MessageBox) texts << q.text;
    return texts;
}

Answer ScriptedDialogs::messageBox(QWidget*, const QString& text, const QString& caption,
                                   MessageIcon icon, MessageButtons buttons) {
    AskedQuestion q(AskedQuestion::Kind::MessageBox, text, caption);
    q.details = takeDetails();
    q.icon = icon;
    q.buttons = buttons;
    Answer answer;
    if (!messageAnswers_.empty()) {
        answer = messageAnswers_.front();
        messageAnswers_.pop_front();
    } else {
        q.answered = false;
        answer = buttons == MessageButtons::Ok      ? Answer::Ok
                 : buttons == MessageButtons::YesNo ? Answer::No
                                                    : Answer::Cancel;
    }
    asked_.push_back(q);
    return answer;
}

QStringList ScriptedDialogs::openFiles(QWidget*, const OpenFilesRequest& request) {
    AskedQuestion q(AskedQuestion::Kind::OpenFiles, QString(), request.title);
    q.folder = request.folder;
    q.filter = request.filter;
    q.multiple = request.multiple;
    QStringList files;
    if (!openAnswers_.empty()) {
        files = openAnswers_.front();
        openAnswers_.pop_front();
    } else {
        q.answered = false;
    }
    asked_.push_back(q);
    return files;
}

SaveFileAnswer ScriptedDialogs::saveFile(QWidget*, const SaveFileRequest& request) {
    AskedQuestion q(AskedQuestion::Kind::SaveFile, QString(), request.title);
    q.folder = request.folder;
    q.filter = request.filter;
    q.filterIndex = request.filterIndex;
    q.defaultName = request.defaultName;
    q.defaultExtension = request.defaultExtension;
    SaveFileAnswer answer;
    if (!saveAnswers_.empty()) {
        answer = saveAnswers_.front();
        saveAnswers_.pop_front();
    } else {
        q.answered = false;
    }
    asked_.push_back(q);
    return answer;
}

bool ScriptedDialogs::openFile(const QString& path) {
    asked_.emplace_back(AskedQuestion::Kind::OpenFile, path);
    return openResult_;
}

bool ScriptedDialogs::openUrl(const QUrl& url) {
    asked_.emplace_back(AskedQuestion::Kind::OpenUrl, url.toString());
    return openResult_;
}

bool ScriptedDialogs::startProgram(const QString& program, const QStringList& arguments) {
    AskedQuestion q(AskedQuestion::Kind::StartProgram, program);
    q.arguments = arguments;
    asked_.push_back(q);
    return openResult_;
}

bool ScriptedDialogs::mailClientAvailable() {
    return mailResult_ != MailClientResult::NoClient;
}

MailClientResult ScriptedDialogs::mailWithAttachment(const QString& path) {
    asked_.emplace_back(AskedQuestion::Kind::Mail, path);
    return mailResult_;
}

PrinterInfo ScriptedDialogs::defaultPrinter() {
    asked_.emplace_back(AskedQuestion::Kind::DefaultPrinter);
    return printer_;
}

int ScriptedDialogs::execDialog(QDialog& dialog) {
    asked_.emplace_back(AskedQuestion::Kind::Dialog, QString(), dialog.windowTitle());
    if (!dialogAnswer_) {
        asked_.back().answered = false;
        return QDialog::Rejected;
    }
    return dialogAnswer_(dialog);
}

}  // namespace vellumo::platform

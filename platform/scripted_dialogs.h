// A dialog provider for tests: answers every question from a script prepared beforehand and
// records each question asked, in order. A question with no scripted answer is recorded as
// unanswered and gets the answer a user closing the dialog would give (Cancel, No, nothing).
// Installs itself for its lifetime.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/dialogs.h"

namespace vellumo::platform {

struct AskedQuestion {
    enum class Kind {
        MessageBox,
        OpenFiles,
        SaveFile,
        OpenFile,
        OpenUrl,
        StartProgram,
        Mail,
        DefaultPrinter,
        Dialog
    };
    explicit AskedQuestion(Kind k, const QString& t = {}, const QString& c = {})
        : kind(k), text(t), caption(c) {}
    Kind kind;
    QString text;     // message text; the file, address or program for the open kinds
    QString caption;  // message caption; the dialog title for the file dialogs
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    QString folder;
    QString filter;
    int filterIndex = 0;
    QString defaultName;
    QString defaultExtension;
    bool multiple = false;
    QStringList arguments;
    QString details;  // of a message box
    bool answered = true;
};

class ScriptedDialogs : public DialogProvider {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void answerMessage(Answer answer) { messageAnswers_.push_back(answer); }
    void answerOpenFiles(const QStringList& files) { openAnswers_.push_back(files); }
    void answerSaveFile(const QString& path, int filterIndex = 0) {
        saveAnswers_.push_back({path, filterIndex});
    }
    // The result of openFile, openUrl and startProgram (true unless set).
    void setOpenResult(bool ok) { openResult_ = ok; }
    void setMailResult(MailClientResult result) { mailResult_ = result; }
    // The default printer (none unless set).
    void setPrinter(const PrinterInfo& printer) { printer_ = printer; }
    // Answers every dialog of the program's own from now on: the function gets the dialog,
    // may work it, and returns what the user did (QDialog::Accepted or Rejected). Without one a
    // dialog is recorded as unanswered and rejected.
    void setDialogAnswer(std::function<int(QDialog& dialog)> answer) {
        dialogAnswer_ = std::move(answer);
    }

    const std::vector<AskedQuestion>& asked() const { return asked_; }
    // The message texts asked so far, in order.
    QStringList messages() const;
    void clear() { asked_.clear(); }

    Answer messageBox(QWidget* parent, const QString& text, const QString& caption,
                      MessageIcon icon, MessageButtons buttons) override;
    QStringList openFiles(QWidget* parent, const OpenFilesRequest& request) override;
    SaveFileAnswer saveFile(QWidget* parent, const SaveFileRequest& request) override;
    bool openFile(const QString& path) override;
    bool openUrl(const QUrl& url) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    // Available unless the mail result is NoClient.
    bool mailClientAvailable() override;
    MailClientResult mailWithAttachment(const QString& path) override;
    PrinterInfo defaultPrinter() override;
    int execDialog(QDialog& dialog) override;

private:
    std::deque<Answer> messageAnswers_;
    std::deque<QStringList> openAnswers_;
    std::deque<SaveFileAnswer> saveAnswers_;
    bool openResult_ = true;
    MailClientResult mailResult_ = MailClientResult::Started;
    PrinterInfo printer_;
    std::function<int(QDialog& dialog)> dialogAnswer_;
    std::vector<AskedQuestion> asked_;
    DialogProvider* previous_;
};

}  // namespace vellumo::platform

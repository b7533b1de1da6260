#include "platform/dialogs.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDialog>

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/log.h"
#include "platform/message_text.h"

extern char** environ;

namespace vellumo::platform {

namespace {

DialogProvider* installed = nullptr;

constexpr size_t kMaxMailToolOutput = 4096;

std::vector<std::string> MailToolEnvironment() {
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e)
        if (std::strncmp(*e, "BROWSER=", 8) != 0) env.emplace_back(*e);
    return env;
}

// Runs xdg-email --attach FILE in a session of its own (no controlling terminal), with
// standard input and output on /dev/null and BROWSER removed from its environment: a
// text-mode browser that xdg-email may fall back to cannot wait for keyboard input and fails
// at once instead. Its error output is collected. A tool that has not finished within the
// timeout is left running (it may have become the mail client itself), so the program never
// waits for ever.
MailClientResult RunMailTool(const std::string& tool, const std::string& attachment,
                             int timeoutSeconds, std::string* errorText) {
    int errPipe[2];
    if (pipe2(errPipe, O_CLOEXEC) != 0) return MailClientResult::Failed;

    // Everything the child needs is prepared before fork.
    std::vector<std::string> argStrings = {tool, "--attach", attachment};
    std::vector<char*> argv;
    for (auto& a : argStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings = MailToolEnvironment();
    std::vector<char*> envp;
    for (auto& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) {
        close(errPipe[0]);
        close(errPipe[1]);
        return MailClientResult::Failed;
    }
    if (pid == 0) {
        setsid();
        const int devNull = open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            dup2(devNull, STDIN_FILENO);
            dup2(devNull, STDOUT_FILENO);
        }
        dup2(errPipe[1], STDERR_FILENO);
        signal(SIGPIPE, SIG_DFL);
        execve(tool.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(errPipe[1]);

    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    bool pipeOpen = true;
    int status = 0;
    bool exited = false;
    for (;;) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) break;
        if (pipeOpen) {
            pollfd p{errPipe[0], POLLIN, 0};
            if (poll(&p, 1, (int)std::min<long long>(left, 100)) > 0) {
                char buf[512];
                const ssize_t n = read(errPipe[0], buf, sizeof buf);
                if (n > 0) {
                    if (output.size() < kMaxMailToolOutput) output.append(buf, (size_t)n);
                } else if (n == 0 || errno != EINTR) {
                    pipeOpen = false;
                }
            }
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    // What the tool wrote just before it ended, without waiting for a helper it left behind
    // that may still hold the pipe open.
    while (pipeOpen && output.size() < kMaxMailToolOutput) {
        pollfd p{errPipe[0], POLLIN, 0};
        if (poll(&p, 1, 0) <= 0) break;
        char buf[512];
        const ssize_t n = read(errPipe[0], buf, sizeof buf);
        if (n <= 0) break;
        output.append(buf, (size_t)n);
    }
    close(errPipe[0]);
    if (errorText) *errorText = output.substr(0, kMaxMailToolOutput);
    if (!exited) {
        // Left running in its own session; reaped in the background so no zombie remains.
        std::thread([pid] {
            int ignored;
            waitpid(pid, &ignored, 0);
        }).detach();
        return MailClientResult::Failed;
    }
    if (!WIFEXITED(status)) return MailClientResult::Failed;
    switch (WEXITSTATUS(status)) {
        case 0:
            return MailClientResult::Started;
        // xdg-email: 3 = no tool to handle mail; 127: the tool could not be started.
        case 3:
        case 127:
            return MailClientResult::NoClient;
        default:
            return MailClientResult::Failed;
    }
}

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

Answer MessageBox(QWidget* parent, const QString& text, MessageIcon icon, MessageButtons buttons,
                  const QString& details) {
    DialogProvider* provider = Dialogs();
    provider->setDetailsForNextMessage(details);
    return provider->messageBox(parent, text, QString::fromLatin1(kMessageCaption), icon, buttons);
}

Answer QtDialogProvider::messageBox(QWidget* parent, const QString& text, const QString& caption,
                                    MessageIcon icon, MessageButtons buttons) {
    // The message in the user's language; the caller and the log keep the English.
    QMessageBox box(ToQt(icon), caption, TranslatedMessage(text), ToQt(buttons), parent);
    const QString details = takeDetails();
    if (!details.isEmpty()) box.setDetailedText(details);
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
    const QString title = TranslatedMessage(request.title);
    const QString filter = TranslatedFilter(request.filter);
    if (request.multiple)
        return QFileDialog::getOpenFileNames(parent, title, request.folder, filter);
    const QString file = QFileDialog::getOpenFileName(parent, title, request.folder, filter);
    return file.isEmpty() ? QStringList() : QStringList{file};
}

SaveFileAnswer QtDialogProvider::saveFile(QWidget* parent, const SaveFileRequest& request) {
    QFileDialog dialog(parent, TranslatedMessage(request.title), request.folder,
                       TranslatedFilter(request.filter));
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

bool QtDialogProvider::mailClientAvailable() {
    return !QStandardPaths::findExecutable(QStringLiteral("xdg-email")).isEmpty();
}

MailClientResult QtDialogProvider::mailWithAttachment(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (tool.isEmpty()) return MailClientResult::NoClient;
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile() || !file.isReadable()) return MailClientResult::Failed;
    std::string errorText;
    const MailClientResult result =
        RunMailTool(tool.toStdString(), file.absoluteFilePath().toStdString(),
                    mailToolTimeoutSeconds, &errorText);
    if (!errorText.empty())
        WriteLog("Mail tool: " + errorText + (errorText.back() == '\n' ? "" : "\n"));
    return result;
}

PrinterInfo QtDialogProvider::defaultPrinter() {
    return QueryDefaultPrinter();
}

int QtDialogProvider::execDialog(QDialog& dialog) {
    return dialog.exec();
}

}  // namespace vellumo::platform

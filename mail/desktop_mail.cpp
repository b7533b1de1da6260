#include "mail/desktop_mail.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

#include "mail/mail_strings.h"
#include "platform/log.h"
#include "platform/temp_file.h"

extern char** environ;

namespace {

constexpr char kAttachmentName[] = "Images.pdf";
constexpr size_t kMaxErrorOutput = 4096;

std::string FindOnPath(const std::string& tool) {
    if (tool.find('/') != std::string::npos) return access(tool.c_str(), X_OK) == 0 ? tool : "";
    const char* path = std::getenv("PATH");
    if (!path) return {};
    std::string list = path;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        // An empty PATH entry means the current folder.
        std::string candidate = end > start ? list.substr(start, end - start) : std::string(1, '.');
        candidate += '/';
        candidate += tool;
        struct stat st;
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool CopyFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!in || !out) return false;
    out << in.rdbuf();
    out.flush();
    return in.good() || in.eof() ? bool(out) : false;
}

// The file to attach under the name "Images.pdf"; "" on failure.
std::string AttachmentUnderFixedName(const std::string& path) {
    if (BaseName(path) == kAttachmentName) return path;
    std::string pattern = TempDirectory() + "vellumo-mail-XXXXXX";
    std::vector<char> dir(pattern.begin(), pattern.end());
    dir.push_back('\0');
    if (!mkdtemp(dir.data())) return {};
    const std::string target = std::string(dir.data()) + "/" + kAttachmentName;
    if (::link(path.c_str(), target.c_str()) == 0 || CopyFile(path, target)) return target;
    ::unlink(target.c_str());
    ::rmdir(dir.data());
    return {};
}

std::vector<std::string> ChildEnvironment() {
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e)
        if (std::strncmp(*e, "BROWSER=", 8) != 0) env.emplace_back(*e);
    return env;
}

// The file as the mail client gets it: absolute, named "Images.pdf"; "" when unreadable.
std::string PrepareAttachment(const std::string& path) {
    if (path.empty() || access(path.c_str(), R_OK) != 0) return {};
    std::string absolute = path;
    if (absolute.front() != '/') {
        char cwd[4096];
        if (!getcwd(cwd, sizeof cwd)) return {};
        absolute = std::string(cwd) + "/" + path;
    }
    return AttachmentUnderFixedName(absolute);
}

DesktopMailResult RunTool(const std::string& tool, const std::string& attachment,
                          const DesktopMailOptions& options, std::string* errorText) {
    int errPipe[2];
    if (pipe2(errPipe, O_CLOEXEC) != 0) return kDesktopMailFailed;

    // Everything the child needs is prepared before fork.
    std::vector<std::string> argStrings = {tool, "--attach", attachment};
    std::vector<char*> argv;
    for (auto& a : argStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings = ChildEnvironment();
    std::vector<char*> envp;
    for (auto& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) {
        close(errPipe[0]);
        close(errPipe[1]);
        return kDesktopMailFailed;
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
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(options.timeoutSeconds);
    bool pipeOpen = true;
    int status = 0;
    bool exited = false;
    for (;;) {
        const pid_t w = waitpid(pid, &status, WNOHANG);
        if (w == pid) {
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
                    if (output.size() < kMaxErrorOutput) output.append(buf, (size_t)n);
                } else if (n == 0 || errno != EINTR) {
                    pipeOpen = false;
                }
            }
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    // What the tool wrote just before it ended; without waiting for a helper it left behind,
    // which may still hold the pipe open.
    while (pipeOpen && output.size() < kMaxErrorOutput) {
        pollfd p{errPipe[0], POLLIN, 0};
        if (poll(&p, 1, 0) <= 0) break;
        char buf[512];
        const ssize_t n = read(errPipe[0], buf, sizeof buf);
        if (n <= 0) break;
        output.append(buf, (size_t)n);
    }
    close(errPipe[0]);
    if (errorText) *errorText = output.substr(0, kMaxErrorOutput);
    if (!exited) {
        // Left running in its own session; reaped in the background so no zombie remains.
        std::thread([pid] {
            int ignored;
            waitpid(pid, &ignored, 0);
        }).detach();
        return kDesktopMailStillRunning;
    }
    if (!WIFEXITED(status)) return kDesktopMailFailed;
    switch (WEXITSTATUS(status)) {
        case 0:
            return kDesktopMailSuccess;
        // xdg-email: 3 = no tool to handle mail, 127 = the tool could not be started.
        case 3:
            return kDesktopMailNotFound;
        case 127:
            return kDesktopMailNotFound;
        default:
            return kDesktopMailFailed;
    }
}

}  // namespace

DesktopMailResult SendMailDesktop(const std::string& path, const DesktopMailOptions& options,
                                  std::string* errorText) {
    if (errorText) errorText->clear();
    const std::string tool = FindOnPath(options.tool);
    if (tool.empty()) return kDesktopMailNotFound;
    const std::string attachment = PrepareAttachment(path);
    if (attachment.empty()) return kDesktopMailNoFile;
    return RunTool(tool, attachment, options, errorText);
}

DesktopMailResult RunDesktopMail(const std::string& attachmentPath,
                                 const std::function<void(const std::string&)>& showMessage,
                                 const DesktopMailOptions& options) {
    WriteLog("Loading MAPI32.DLL\r\n");
    const std::string tool = FindOnPath(options.tool);
    if (tool.empty()) {
        showMessage(kMapiNotFound);
        return kDesktopMailNotFound;
    }
    WriteLog("MAPI32.DLL loaded\r\n");
    WriteLog("MAPI: SendMail function found\r\n");
    WriteLog("Creating image descriptions\r\n");
    const std::string attachment = PrepareAttachment(attachmentPath);
    if (attachment.empty()) {
        showMessage(kMapiSendError);
        return kDesktopMailNoFile;
    }
    WriteLog("Image description created\r\n");
    WriteLog("Calling SendMail\r\n");
    std::string errorText;
    const DesktopMailResult result = RunTool(tool, attachment, options, &errorText);
    WriteLog("Returned from SendMail\r\n");
    if (!errorText.empty())
        WriteLog("Mail tool: " + errorText + (errorText.back() == '\n' ? "" : "\n"));
    const std::string message = DesktopMailMessage(result);
    if (!message.empty()) showMessage(message);
    return result;
}

std::string DesktopMailMessage(DesktopMailResult result) {
    switch (result) {
        case kDesktopMailSuccess:
        case kDesktopMailUserAbort:
            return "";
        case kDesktopMailNotFound:
            return kMapiNotFound;
        default:
            return kMapiSendError;
    }
}

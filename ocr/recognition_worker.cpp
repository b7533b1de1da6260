#include "ocr/recognition_worker.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <thread>

#include "ocr/worker_protocol.h"
#include "platform/install_dirs.h"
#include "platform/log.h"

extern char** environ;

namespace vellumo::ocr {

namespace {

using Clock = std::chrono::steady_clock;
using imaging::PageRef;

bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load();
}

RecognitionResult Failed(RecognitionStatus status, std::string reason) {
    RecognitionResult r;
    r.status = status;
    r.reason = std::move(reason);
    return r;
}

// "180", "0.2": a limit as the log says it.
std::string SecondsText(std::chrono::milliseconds limit) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", static_cast<double>(limit.count()) / 1000);
    return text;
}

// Waits up to grace for the process to end by itself, then ends it. Its status.
int EndProcess(pid_t pid, std::chrono::milliseconds grace) {
    int status = 0;
    const auto until = Clock::now() + grace;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) return status;
        if (done < 0 && errno != EINTR) return 0;
        if (Clock::now() >= until) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

}  // namespace

std::string RecognitionWorkerProgram() {
    const std::string exeDir = platform::ExecutableDir();
    // Programs of the build tree, the tests among them, use the build's recognition program;
    // the installed ones the installed program among their helpers.
    const std::string buildTree = VELLUMO_BUILD_DIR "/";
    if ((exeDir + "/").rfind(buildTree, 0) == 0 && ::access(VELLUMO_OCR_WORKER_BUILT, X_OK) == 0)
        return VELLUMO_OCR_WORKER_BUILT;
    return platform::FindHelperProgram(exeDir, "vellumo-ocr-worker");
}

RecognitionWorker::RecognitionWorker(std::string program) : program_(std::move(program)) {}

RecognitionWorker::~RecognitionWorker() {
    stop();
}

bool RecognitionWorker::start() {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return false;
    // The process's end is moved above the descriptor it gets: dup2 onto itself would keep
    // close-on-exec.
    const int childEnd = ::fcntl(ends[1], F_DUPFD_CLOEXEC, kWorkerChannelFd + 1);
    ::close(ends[1]);
    if (childEnd < 0) {
        ::close(ends[0]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childEnd, kWorkerChannelFd);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, usual;
    sigemptyset(&none);
    sigemptyset(&usual);
    for (int s : {SIGPIPE, SIGTERM, SIGINT, SIGHUP}) sigaddset(&usual, s);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &usual);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::string parent = std::to_string(::getpid());
    std::string option = "--parent";
    char* argv[] = {program_.data(), option.data(), parent.data(), nullptr};
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, program_.c_str(), &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(childEnd);
    if (spawned != 0) {
        ::close(ends[0]);
        return false;
    }
    pid_ = pid;
    channel_ = ends[0];
    return true;
}

void RecognitionWorker::stop() {
    if (channel_ >= 0) ::close(channel_);
    channel_ = -1;
    if (pid_ > 0) EndProcess(pid_, std::chrono::milliseconds(0));
    pid_ = 0;
}

RecognitionResult RecognitionWorker::recognise(const PageRef& page, const std::string& languages,
                                               const std::atomic<bool>* cancel) {
    if (Cancelled(cancel)) return Failed(RecognitionStatus::Cancelled, "cancelled");
    if (program_.empty()) return recogniseHere(page, languages, cancel);
    const std::string request = EncodeRequest(WorkerRequest{page, languages});
    RecognitionResult result;
    for (int attempt = 0;; ++attempt) {
        const bool fresh = pid_ == 0;
        if (fresh && !start()) {
            if (everAnswered_)
                return Failed(RecognitionStatus::EngineFailed,
                              "the recognition process could not be started");
            platform::WriteLogF("Text recognition runs inside the program: %s cannot be started\n",
                                program_.c_str());
            program_.clear();
            return recogniseHere(page, languages, cancel);
        }
        if (WriteMessage(channel_, request)) {
            result = awaitAnswer(cancel);
            break;
        }
        // A process kept from an earlier page may have been ended from outside: a new one takes
        // the page. A new one that ended before it took the page says why.
        if (fresh || attempt > 0) {
            result = ended();
            break;
        }
        stop();
    }
    if (brokenProgram_) {
        // The program could not run at all (a broken installation): the pages are read here
        // instead.
        platform::WriteLogF("Text recognition runs inside the program: %s %s\n", program_.c_str(),
                            result.reason.c_str());
        program_.clear();
        return recogniseHere(page, languages, cancel);
    }
    return result;
}

RecognitionResult RecognitionWorker::awaitAnswer(const std::atomic<bool>* cancel) {
    const auto deadline = Clock::now() + timeLimit_;
    MessageReader reader;
    for (;;) {
        if (Cancelled(cancel)) {
            stop();
            return Failed(RecognitionStatus::Cancelled, "cancelled");
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            stop();
            return Failed(RecognitionStatus::EngineFailed,
                          "recognition took longer than " + SecondsText(timeLimit_) +
                              " s and was stopped (a picture rather than text?)");
        }
        pollfd ready{channel_, POLLIN, 0};
        const int n = ::poll(&ready, 1, static_cast<int>(std::min<int64_t>(left.count(), 50)));
        if (n < 0 && errno != EINTR) break;
        if (n <= 0) continue;
        const MessageReader::State state = reader.readFrom(channel_);
        if (state == MessageReader::State::Complete) {
            RecognitionResult result;
            if (DecodeResult(reader.message(), result)) {
                everAnswered_ = true;
            } else {
                stop();  // a process that says nonsense is not asked again
            }
            return result;
        }
        if (state == MessageReader::State::Broken) break;
    }
    // The process ended on the page, or said something that is not an answer.
    return ended();
}

RecognitionResult RecognitionWorker::ended() {
    ::close(channel_);
    channel_ = -1;
    const int status = EndProcess(pid_, std::chrono::milliseconds(1000));
    pid_ = 0;
    // 126 and 127: the system could not run the program (a library missing, say).
    brokenProgram_ = !everAnswered_ && WIFEXITED(status) &&
                     (WEXITSTATUS(status) == 126 || WEXITSTATUS(status) == 127);
    if (WIFSIGNALED(status))
        return Failed(RecognitionStatus::EngineFailed,
                      "the recognition process stopped on the page (signal " +
                          std::to_string(WTERMSIG(status)) + ")");
    return Failed(RecognitionStatus::EngineFailed,
                  "the recognition process ended on the page (exit status " +
                      std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")");
}

RecognitionResult RecognitionWorker::recogniseHere(const PageRef& page,
                                                   const std::string& languages,
                                                   const std::atomic<bool>* cancel) {
    if (!here_) here_ = std::make_unique<Engine>();
    RecognitionResult result = here_->load(languages);
    if (result.status != RecognitionStatus::Ok) return result;
    return here_->recognise(page, cancel);
}

}  // namespace vellumo::ocr

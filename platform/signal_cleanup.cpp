#include "platform/signal_cleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>

namespace vellumo::platform {

// One registered path. Slots are never freed, only reused, so the signal handler can walk the
// list at any moment without a lock.
struct Slot {
    enum : int { Free = 0, Filling = 1, Armed = 2 };
    std::atomic<int> state{Free};
    bool isFolder = false;
    char path[PATH_MAX] = {};
    Slot* next = nullptr;
};

namespace {

std::atomic<Slot*> slots{nullptr};
// Taken shared by whoever creates, registers, renames or releases a file; exclusively by the
// signal thread while it removes them.
std::shared_mutex fileChanges;
// The Cancel that Ctrl+C sets while an InterruptAsCancel lives.
std::atomic<volatile std::sig_atomic_t*> interruptFlag{nullptr};
// The signals the signal thread takes, blocked in every thread started after it.
sigset_t takenSignals;

Slot* ClaimSlot() {
    for (Slot* s = slots.load(std::memory_order_acquire); s; s = s->next) {
        int expected = Slot::Free;
        if (s->state.compare_exchange_strong(expected, Slot::Filling)) return s;
    }
    Slot* s = new Slot;
    s->state.store(Slot::Filling);
    Slot* head = slots.load(std::memory_order_relaxed);
    do {
        s->next = head;
    } while (!slots.compare_exchange_weak(head, s, std::memory_order_release,
                                          std::memory_order_relaxed));
    return s;
}

bool IsDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Empties a folder of the program's own (flat, files only) and removes it, with nothing but
// system calls that are safe in a signal handler. Entries removed while reading may shift the
// listing, so it is read again until a pass finds nothing left.
void RemoveFolder(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        alignas(8) char buffer[4096];
        for (int pass = 0; pass < 64; ++pass) {
            bool removed = false;
            ::lseek(fd, 0, SEEK_SET);
            for (;;) {
                const ssize_t n = getdents64(fd, buffer, sizeof buffer);
                if (n <= 0) break;
                for (ssize_t at = 0; at < n;) {
                    const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
                    if (!IsDotEntry(entry->d_name) && ::unlinkat(fd, entry->d_name, 0) == 0)
                        removed = true;
                    at += entry->d_reclen;
                }
            }
            if (!removed) break;
        }
        ::close(fd);
    }
    ::rmdir(path);
}

// Ends the process with the signal's own status, from the thread that calls it.
void EndWithSignal(int signalNumber) {
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signalNumber, &fallback, nullptr);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, signalNumber);
    ::pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    ::raise(signalNumber);
}

bool TakenAsCancel(int signalNumber) {
    if (signalNumber != SIGINT) return false;
    volatile std::sig_atomic_t* flag = interruptFlag.load();
    if (!flag) return false;
    *flag = 1;
    return true;
}

// For a thread that does not block the signals (one that existed before the signal thread).
void OnFatalSignal(int signalNumber) {
    const int savedErrno = errno;
    if (!TakenAsCancel(signalNumber)) {
        RemoveRegisteredFiles();
        EndWithSignal(signalNumber);
    }
    errno = savedErrno;
}

void OnInterrupt(int signalNumber) {
    TakenAsCancel(signalNumber);
}

[[noreturn]] void TakeSignals(sigset_t taken) {
    for (;;) {
        int signalNumber = 0;
        if (::sigwait(&taken, &signalNumber) != 0 || TakenAsCancel(signalNumber)) continue;
        // Held until the process is gone: no file is created or renamed after the clean-up.
        fileChanges.lock();
        RemoveRegisteredFiles();
        EndWithSignal(signalNumber);
    }
}

// A child process runs other programs, which expect the signals as usual.
void UnblockInChild() {
    ::pthread_sigmask(SIG_UNBLOCK, &takenSignals, nullptr);
}

}  // namespace

void InstallSignalCleanup() {
    static std::once_flag once;
    std::call_once(once, [] {
        sigemptyset(&takenSignals);
        for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction current {};
            if (::sigaction(signalNumber, nullptr, &current) != 0) continue;
            if (current.sa_handler != SIG_DFL || (current.sa_flags & SA_SIGINFO)) continue;
            struct sigaction action {};
            action.sa_handler = OnFatalSignal;
            sigemptyset(&action.sa_mask);
            ::sigaction(signalNumber, &action, nullptr);
            sigaddset(&takenSignals, signalNumber);
        }
        // Blocked here before the thread starts, so that it and every later thread inherit it.
        ::pthread_sigmask(SIG_BLOCK, &takenSignals, nullptr);
        std::thread(TakeSignals, takenSignals).detach();
        ::pthread_atfork(nullptr, nullptr, UnblockInChild);
        // Past the file-size limit a write then fails with EFBIG, which the writers report.
        struct sigaction current {};
        if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
            struct sigaction ignore {};
            ignore.sa_handler = SIG_IGN;
            sigemptyset(&ignore.sa_mask);
            ::sigaction(SIGXFSZ, &ignore, nullptr);
        }
    });
}

void RemoveRegisteredFiles() {
    // Files first, so that the folders are empty of them when they go.
    for (bool folders : {false, true}) {
        for (Slot* s = slots.load(std::memory_order_acquire); s; s = s->next) {
            if (s->state.load(std::memory_order_acquire) != Slot::Armed || s->isFolder != folders)
                continue;
            if (folders)
                RemoveFolder(s->path);
            else
                ::unlink(s->path);
        }
    }
}

RemoveOnSignal::RemoveOnSignal(const std::string& path, bool isFolder) {
    if (path.empty() || path.size() >= PATH_MAX) return;
    slot_ = ClaimSlot();
    std::memcpy(slot_->path, path.c_str(), path.size() + 1);
    slot_->isFolder = isFolder;
    slot_->state.store(Slot::Armed, std::memory_order_release);
}

RemoveOnSignal::~RemoveOnSignal() {
    release();
}

RemoveOnSignal::RemoveOnSignal(RemoveOnSignal&& other) noexcept : slot_(other.slot_) {
    other.slot_ = nullptr;
}

RemoveOnSignal& RemoveOnSignal::operator=(RemoveOnSignal&& other) noexcept {
    if (this != &other) {
        release();
        slot_ = other.slot_;
        other.slot_ = nullptr;
    }
    return *this;
}

void RemoveOnSignal::release() {
    if (!slot_) return;
    slot_->state.store(Slot::Free, std::memory_order_release);
    slot_ = nullptr;
}

InterruptAsCancel::InterruptAsCancel(volatile std::sig_atomic_t& flag) {
    interruptFlag.store(&flag);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previous_);
}

InterruptAsCancel::~InterruptAsCancel() {
    ::sigaction(SIGINT, &previous_, nullptr);
    interruptFlag.store(nullptr);
}

FileChangeGuard::FileChangeGuard() : lock_(fileChanges) {}

}  // namespace vellumo::platform

#include "platform/signal_cleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/random.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

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

void OnFatalSignal(int signalNumber) {
    const int savedErrno = errno;
    RemoveRegisteredFiles();
    // The default action ends the process with the signal's own status once this returns.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signalNumber, &fallback, nullptr);
    ::raise(signalNumber);
    errno = savedErrno;
}

}  // namespace

void InstallSignalCleanup() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction current {};
            if (::sigaction(signalNumber, nullptr, &current) != 0) continue;
            if (current.sa_handler != SIG_DFL || (current.sa_flags & SA_SIGINFO)) continue;
            struct sigaction action {};
            action.sa_handler = OnFatalSignal;
            sigemptyset(&action.sa_mask);
            ::sigaction(signalNumber, &action, nullptr);
        }
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

int CreateFileRemovedOnSignal(const std::string& pattern, std::string& path,
                              RemoveOnSignal& cleanup) {
    constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    constexpr size_t kRandom = 6;
    if (pattern.size() < kRandom || pattern.compare(pattern.size() - kRandom, kRandom, "XXXXXX")) {
        errno = EINVAL;
        return -1;
    }
    std::string name = pattern;
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[kRandom];
        if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
            for (size_t i = 0; i < kRandom; ++i) random[i] = static_cast<unsigned char>(::rand());
        }
        for (size_t i = 0; i < kRandom; ++i)
            name[name.size() - kRandom + i] = kLetters[random[i] % (sizeof kLetters - 1)];
        cleanup = RemoveOnSignal(name);
        const int fd =
            ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            path = name;
            return fd;
        }
        const int error = errno;
        cleanup.release();
        if (error != EEXIST) {
            errno = error;
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

}  // namespace vellumo::platform

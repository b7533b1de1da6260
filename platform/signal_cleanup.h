// Files that must not outlive an interrupted run: the hidden partial file of a save, the private
// folder of a PDF build, the page files of a command-line scan. When Ctrl+C, SIGTERM or SIGHUP
// ends the process, what is registered here is removed first; a file-size limit (SIGXFSZ)
// becomes an ordinary write error that the writer reports and cleans up after.
//
// The signals are taken by a thread of their own (every thread started afterwards blocks them),
// so a SANE back end that resets their handlers from its reader thread, as several do, cannot
// make them end the process without the clean-up.
#pragma once

#include <csignal>
#include <shared_mutex>
#include <string>

namespace vellumo::platform {

// Installs the handlers and starts the signal thread (once; later calls do nothing). Call it
// before any other thread is started: threads that exist already may still receive the signals
// (then the handler does the clean-up, as long as nobody replaced it). A signal that was ignored
// when the process started (as under nohup) stays ignored.
void InstallSignalCleanup();

// While one lives, Ctrl+C (SIGINT) does not end the process: it sets `flag`, which the owner
// tests as its Cancel. Works with or without InstallSignalCleanup; the SIGINT handling from
// before comes back when it goes.
class InterruptAsCancel {
public:
    explicit InterruptAsCancel(volatile std::sig_atomic_t& flag);
    ~InterruptAsCancel();
    InterruptAsCancel(const InterruptAsCancel&) = delete;
    InterruptAsCancel& operator=(const InterruptAsCancel&) = delete;

private:
    struct sigaction previous_ {};
};

// Held while a file that is to be removed on a signal is created, registered, renamed into place
// or released, so that the signal thread's clean-up never falls between two of these steps.
class FileChangeGuard {
public:
    FileChangeGuard();

private:
    std::shared_lock<std::shared_mutex> lock_;
};

// Removes every registered file and folder now. Safe inside a signal handler.
void RemoveRegisteredFiles();

// Registers a file, or a folder that is emptied and removed, for as long as the object lives
// (or until release()). Registering and releasing are thread-safe; a path longer than the
// system's limit is not registered.
class RemoveOnSignal {
public:
    RemoveOnSignal() = default;
    explicit RemoveOnSignal(const std::string& path, bool isFolder = false);
    ~RemoveOnSignal();
    RemoveOnSignal(RemoveOnSignal&& other) noexcept;
    RemoveOnSignal& operator=(RemoveOnSignal&& other) noexcept;
    RemoveOnSignal(const RemoveOnSignal&) = delete;
    RemoveOnSignal& operator=(const RemoveOnSignal&) = delete;

    // The path stays where it is after a signal: it has become a finished file.
    void release();

private:
    struct Slot* slot_ = nullptr;
};

}  // namespace vellumo::platform

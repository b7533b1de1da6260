// Files that must not outlive an interrupted run: the hidden partial file of a save, the private
// folder of a PDF build, the page files of a command-line scan. When Ctrl+C, SIGTERM or SIGHUP
// ends the process, what is registered here is removed first; a file-size limit (SIGXFSZ)
// becomes an ordinary write error that the writer reports and cleans up after.
#pragma once

#include <string>

namespace vellumo::platform {

// Installs the handlers (once; later calls do nothing). A signal that was ignored when the
// process started (as under nohup) stays ignored. A program that handles one of these signals
// itself for a while (Ctrl+C as Cancel) calls RemoveRegisteredFiles before it exits on it.
void InstallSignalCleanup();

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

// Creates a new file (mode 0600, never through a link) named after pattern, whose last six
// characters must be "XXXXXX", and registers it in cleanup *before* it exists: mkstemp followed
// by registering would leave the file behind when a signal comes in between. pattern must be a
// name only this process makes (one with its process id), because for that moment a signal
// removes the name whether or not the file was made yet. Returns the open descriptor and sets
// path, or -1 with errno set.
int CreateFileRemovedOnSignal(const std::string& pattern, std::string& path,
                              RemoveOnSignal& cleanup);

}  // namespace vellumo::platform

// Where page files live: one private folder per user that survives a reboot,
// $XDG_STATE_HOME/vellumo/pages (~/.local/state/vellumo/pages), closed to others (0700), and in
// it one folder per running instance, "session-XXXXXX", holding that instance's page files and
// the journal of its list. Each instance holds the lock of its own folder while it runs (the
// system drops it when the process ends, however it ends), so a folder whose lock nobody holds
// is the session of an instance that did not close properly; no instance ever takes the folder
// of one that is running.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace vellumo::document {

// The folder of page folders: "$XDG_STATE_HOME/vellumo/pages", or "$HOME/.local/state/…" when
// XDG_STATE_HOME is not set to an absolute path; "" without either.
std::string PageFolderRoot();

// Makes the root and its missing parents (each new one 0700) and closes the root to others.
// False with `error` when it cannot be made, is not a folder of this user, or is a link.
bool PreparePageFolderRoot(const std::string& root, std::string& error);

class SessionFolder {
public:
    ~SessionFolder();
    SessionFolder(const SessionFolder&) = delete;
    SessionFolder& operator=(const SessionFolder&) = delete;

    // A new, locked session folder in the root; null with `error` when none can be made.
    static std::unique_ptr<SessionFolder> Create(const std::string& root, std::string& error);
    // The sessions whose instances ended without closing them, each now locked by the caller,
    // the most recently changed first. Folders left half made by a start that died are removed.
    static std::vector<std::unique_ptr<SessionFolder>> TakeAbandoned(const std::string& root);

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // True when `path` names a file directly in this folder.
    bool holds(const std::string& path) const;
    // The names of the files in the folder, except its lock.
    std::vector<std::string> fileNames() const;

    // A new page file "VW<unique>.tmp.TIF", created empty and private; "" with `error` set to
    // the system's reason when it cannot be made.
    std::string newPageFile(std::string& error) const;

    // Removes every file of the folder and the folder; the lock goes last. After a clean exit and
    // after "No" to restoring a session.
    void remove();
    // Moves the folder, files and all, out of the way as "damaged-<date>-XXXXXX" beside the
    // sessions, where no start looks for sessions again, and lets go of it. Returns where it
    // went ("" when it could not be moved).
    std::string setAside();

private:
    SessionFolder(std::string path, int lockFd) : path_(std::move(path)), lockFd_(lockFd) {}
    std::string path_;
    int lockFd_ = -1;
};

// The page file name pattern, for tests and tidy-ups: "VW" + six characters + ".tmp.TIF".
bool IsPageFileName(const std::string& name);

}  // namespace vellumo::document

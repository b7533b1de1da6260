#include "document/session_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace vellumo::document {

namespace {

constexpr char kLockName[] = "lock";
constexpr char kSessionPrefix[] = "session-";
// A session is made under this name and renamed once its lock is held, so that no other start
// ever sees a session folder without a held lock while it is being made.
constexpr char kNewPrefix[] = "new-";
constexpr char kDamagedPrefix[] = "damaged-";
constexpr time_t kHalfMadeAge = 60;  // seconds
constexpr char kPagePrefix[] = "VW";
constexpr char kPageSuffix[] = ".tmp.TIF";

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

std::string Reason(int error) {
    return std::strerror(error);
}

// Opens and locks a session's lock file; -1 when another process holds it or it cannot be
// opened.
int LockSession(const std::string& folder, bool create) {
    const std::string path = folder + "/" + kLockName;
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT : 0);
    const int fd = ::open(path.c_str(), flags, 0600);
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Removes the regular files directly in a folder (never following a link), then the folder.
void RemoveFolderFiles(const std::string& folder, bool keepLock) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || (keepLock && name == kLockName)) continue;
        unlinkat(dirfd(dir), name.c_str(), 0);
    }
    closedir(dir);
}

time_t ChangeTime(const std::string& folder) {
    struct stat st {};
    // The journal changes with every change of the list; a folder without one counts by itself.
    if (stat((folder + "/journal").c_str(), &st) == 0) return st.st_mtime;
    return stat(folder.c_str(), &st) == 0 ? st.st_mtime : 0;
}

bool MakeFolder(const std::string& path, std::string& error) {
    if (mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) return true;
    error = path + ": " + Reason(errno);
    return false;
}

}  // namespace

std::string PageFolderRoot() {
    const char* state = std::getenv("XDG_STATE_HOME");
    // The XDG base directories: a relative path is invalid and must be ignored.
    if (state && state[0] == '/') return std::string(state) + "/vellumo/pages";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/state/vellumo/pages";
    return {};
}

bool PreparePageFolderRoot(const std::string& root, std::string& error) {
    if (root.empty() || root[0] != '/') {
        error = "there is no home folder";
        return false;
    }
    // Each missing parent is made private, as the XDG base directories ask.
    for (size_t slash = root.find('/', 1); slash != std::string::npos;
         slash = root.find('/', slash + 1))
        if (!MakeFolder(root.substr(0, slash), error)) return false;
    if (!MakeFolder(root, error)) return false;
    struct stat st {};
    if (lstat(root.c_str(), &st) != 0) {
        error = root + ": " + Reason(errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
        error = root + ": not a folder of this user";
        return false;
    }
    if ((st.st_mode & 0777) != 0700 && chmod(root.c_str(), 0700) != 0) {
        error = root + ": " + Reason(errno);
        return false;
    }
    return true;
}

SessionFolder::~SessionFolder() {
    if (lockFd_ >= 0) ::close(lockFd_);
}

std::unique_ptr<SessionFolder> SessionFolder::Create(const std::string& root, std::string& error) {
    std::string pattern = root + "/" + kNewPrefix + "XXXXXX";
    if (!mkdtemp(pattern.data())) {
        error = root + ": " + Reason(errno);
        return nullptr;
    }
    const int fd = LockSession(pattern, true);
    if (fd < 0) {
        error = pattern + ": " + Reason(errno);
        rmdir(pattern.c_str());
        return nullptr;
    }
    const std::string unique = pattern.substr(pattern.size() - 6);
    const std::string path = root + "/" + kSessionPrefix + unique;
    if (rename(pattern.c_str(), path.c_str()) != 0) {
        error = path + ": " + Reason(errno);
        RemoveFolderFiles(pattern, false);
        rmdir(pattern.c_str());
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<SessionFolder>(new SessionFolder(path, fd));
}

std::vector<std::unique_ptr<SessionFolder>> SessionFolder::TakeAbandoned(const std::string& root) {
    std::vector<std::pair<time_t, std::unique_ptr<SessionFolder>>> found;
    DIR* dir = opendir(root.c_str());
    if (!dir) return {};
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir)) names.emplace_back(entry->d_name);
    closedir(dir);
    for (const std::string& name : names) {
        const bool session = StartsWith(name, kSessionPrefix);
        const bool halfMade = StartsWith(name, kNewPrefix);
        if (!session && !halfMade) continue;
        const std::string path = root + "/" + name;
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
            continue;
        // A folder another start is making this very moment is not yet locked.
        if (halfMade && time(nullptr) - st.st_mtime < kHalfMadeAge) continue;
        const int fd = LockSession(path, false);
        if (fd < 0) {
            // Held by a running instance, or a folder being made right now: not ours to take.
            continue;
        }
        auto folder = std::unique_ptr<SessionFolder>(new SessionFolder(path, fd));
        if (halfMade) {
            folder->remove();
            continue;
        }
        found.emplace_back(ChangeTime(path), std::move(folder));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::unique_ptr<SessionFolder>> sessions;
    for (auto& entry : found) sessions.push_back(std::move(entry.second));
    return sessions;
}

bool SessionFolder::holds(const std::string& path) const {
    return path.size() > path_.size() + 1 && path.compare(0, path_.size(), path_) == 0 &&
           path[path_.size()] == '/' && path.find('/', path_.size() + 1) == std::string::npos;
}

std::vector<std::string> SessionFolder::fileNames() const {
    std::vector<std::string> names;
    DIR* dir = opendir(path_.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && name != kLockName) names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string SessionFolder::newPageFile(std::string& error) const {
    std::string pattern = path_ + "/" + kPagePrefix + "XXXXXX" + kPageSuffix;
    // Created with O_EXCL and mode 0600: the name is never predictable, the file never shared.
    const int fd = mkstemps(pattern.data(), static_cast<int>(sizeof kPageSuffix - 1));
    if (fd < 0) {
        error = Reason(errno);
        return {};
    }
    ::close(fd);
    return pattern;
}

void SessionFolder::remove() {
    RemoveFolderFiles(path_, true);
    unlink(file(kLockName).c_str());
    rmdir(path_.c_str());
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
}

std::string SessionFolder::setAside() {
    char stamp[32];
    const time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string root = path_.substr(0, path_.rfind('/'));
    const std::string unique = path_.substr(path_.size() - 6);
    const std::string target = root + "/" + kDamagedPrefix + stamp + "-" + unique;
    if (rename(path_.c_str(), target.c_str()) != 0) return {};
    path_ = target;
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
    return target;
}

bool IsPageFileName(const std::string& name) {
    const size_t prefix = sizeof kPagePrefix - 1, suffix = sizeof kPageSuffix - 1;
    return name.size() == prefix + 6 + suffix && StartsWith(name, kPagePrefix) &&
           name.compare(name.size() - suffix, suffix, kPageSuffix) == 0;
}

}  // namespace vellumo::document

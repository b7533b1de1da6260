#include "platform/replace_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/temp_file.h"

namespace vellumo::platform {

namespace {

constexpr char kPartialPrefix[] = ".vw";
// A partial file younger than this may belong to a writer on another machine sharing the
// folder (whose process this machine cannot see), so it is left alone.
constexpr time_t kStaleAfterSeconds = 60;
constexpr int kMaxLinkHops = 40;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

const char* KindOf(mode_t mode) {
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

OutputTarget Problem(TargetProblem problem, int error, const std::string& path) {
    OutputTarget t;
    t.problem = problem;
    t.error = error;
    t.path = path;
    return t;
}

// The folder must take a new file (and, for an existing one, lose the old).
void CheckFolder(OutputTarget& t) {
    const std::string folder = FolderOf(t.path);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) {
        const int e = errno;
        t.problem = e == EACCES ? TargetProblem::FolderNotWritable : TargetProblem::FolderMissing;
        t.error = e;
        return;
    }
    if (!S_ISDIR(st.st_mode)) {
        t.problem = TargetProblem::FolderMissing;
        t.error = ENOTDIR;
        return;
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        t.problem = TargetProblem::FolderNotWritable;
        t.error = errno;
    }
}

void TakeExisting(OutputTarget& t, const struct stat& st) {
    t.exists = true;
    t.mode = st.st_mode;
    t.owner = st.st_uid;
    t.group = st.st_gid;
    // A file without write permission stays, even for root.
    if ((st.st_mode & 0222) == 0) {
        t.problem = TargetProblem::NotWritable;
        t.error = EACCES;
        return;
    }
    if (::access(t.path.c_str(), W_OK) != 0) {
        t.problem = TargetProblem::NotWritable;
        t.error = errno;
        return;
    }
    CheckFolder(t);
}

mode_t CurrentUmask() {
    // Read, not set: setting it for a moment would race with other threads creating files.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtol(line.c_str() + 6, nullptr, 8));
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

bool ProcessAlive(long pid) {
    if (pid <= 0 || pid > INT_MAX) return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

OutputTarget ResolveOutputTarget(const std::string& path) {
    if (path.empty() || path.back() == '/') return Problem(TargetProblem::Invalid, EINVAL, path);
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            const int e = errno;
            if (e != ENOENT) {
                return Problem(
                    e == EACCES ? TargetProblem::FolderNotWritable : TargetProblem::FolderMissing,
                    e, current);
            }
            OutputTarget t = Problem(TargetProblem::None, 0, current);
            CheckFolder(t);
            return t;
        }
        if (S_ISLNK(st.st_mode)) {
            struct stat end {};
            if (::stat(current.c_str(), &end) == 0) {
                if (S_ISDIR(end.st_mode)) return Problem(TargetProblem::IsFolder, EISDIR, path);
                if (!S_ISREG(end.st_mode)) {
                    OutputTarget t = Problem(TargetProblem::NotRegularFile, EINVAL, path);
                    t.mode = end.st_mode;
                    return t;
                }
                std::unique_ptr<char, decltype(&std::free)> real(
                    ::realpath(current.c_str(), nullptr), &std::free);
                if (!real) return Problem(TargetProblem::FolderMissing, errno, current);
                OutputTarget t = Problem(TargetProblem::None, 0, real.get());
                TakeExisting(t, end);
                return t;
            }
            if (errno != ENOENT) return Problem(TargetProblem::FolderMissing, errno, current);
            // A link to a file not there yet: the file is made where the link points.
            std::vector<char> buffer(PATH_MAX + 1);
            const ssize_t n = ::readlink(current.c_str(), buffer.data(), PATH_MAX);
            if (n <= 0) return Problem(TargetProblem::FolderMissing, errno, current);
            const std::string link(buffer.data(), static_cast<size_t>(n));
            current = link[0] == '/' ? link : FolderOf(current) + "/" + link;
            continue;
        }
        if (S_ISDIR(st.st_mode)) return Problem(TargetProblem::IsFolder, EISDIR, path);
        if (!S_ISREG(st.st_mode)) {
            OutputTarget t = Problem(TargetProblem::NotRegularFile, EINVAL, path);
            t.mode = st.st_mode;
            return t;
        }
        OutputTarget t = Problem(TargetProblem::None, 0, current);
        TakeExisting(t, st);
        return t;
    }
    return Problem(TargetProblem::FolderMissing, ELOOP, path);
}

std::string DescribeTargetProblem(const OutputTarget& t) {
    const std::string folder = FolderOf(t.path);
    switch (t.problem) {
        case TargetProblem::None:
            return {};
        case TargetProblem::Invalid:
            return "\"" + t.path + "\" is not a valid file name";
        case TargetProblem::FolderMissing:
            if (t.error == ENOENT || t.error == ENOTDIR)
                return "the folder " + folder + " does not exist";
            return folder + ": " + std::strerror(t.error);
        case TargetProblem::FolderNotWritable:
            return "the folder " + folder + " cannot be written: " + std::strerror(t.error);
        case TargetProblem::IsFolder:
            return t.path + " is a folder";
        case TargetProblem::NotRegularFile:
            return t.path + " is " + KindOf(t.mode) + ", not a regular file";
        case TargetProblem::NotWritable:
            return t.path + " cannot be replaced: " + std::strerror(t.error);
    }
    return {};
}

mode_t NewFileMode(const std::string& path) {
    if (InTempDirectory(path)) return 0600;
    return 0666 & ~CurrentUmask();
}

bool IsPartialFileName(const std::string& name) {
    const size_t prefix = sizeof kPartialPrefix - 1;
    if (name.compare(0, prefix, kPartialPrefix) != 0) return false;
    size_t i = prefix;
    while (i < name.size() && i - prefix < 10 && name[i] >= '0' && name[i] <= '9') ++i;
    if (i == prefix || i >= name.size() || name[i] != '.') return false;
    const std::string unique = name.substr(i + 1);
    if (unique.size() != 6) return false;
    for (char c : unique)
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

void RemoveStalePartialFiles(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const int dirFd = ::dirfd(dir);
    const time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!IsPartialFileName(name)) continue;
        const long pid = std::strtol(name.c_str() + sizeof kPartialPrefix - 1, nullptr, 10);
        if (pid == ::getpid() || ProcessAlive(pid)) continue;
        struct stat st {};
        if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
        if (now - st.st_mtime < kStaleAfterSeconds) continue;
        ::unlinkat(dirFd, name.c_str(), 0);
    }
    ::closedir(dir);
}

ReplacingFile::~ReplacingFile() {
    discard();
}

void ReplacingFile::discard() {
    if (stream_) std::fclose(stream_);
    stream_ = nullptr;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!partialPath_.empty()) ::unlink(partialPath_.c_str());
    partialPath_.clear();
    cleanup_.release();
}

bool ReplacingFile::open(const std::string& target) {
    discard();
    target_ = ResolveOutputTarget(target);
    if (target_.problem != TargetProblem::None) {
        error_ = target_.error;
        return false;
    }
    const std::string folder = FolderOf(target_.path);
    RemoveStalePartialFiles(folder);
    // A short name, so that a target name of any legal length can be saved.
    std::string pattern = folder + "/" + kPartialPrefix + std::to_string(::getpid()) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkostemp creates the file exclusively with mode 0600, never through a link.
    FileChangeGuard created;
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) {
        error_ = errno;
        target_.problem = (error_ == EACCES || error_ == EPERM || error_ == EROFS)
                              ? TargetProblem::FolderNotWritable
                              : TargetProblem::FolderMissing;
        target_.error = error_;
        return false;
    }
    partialPath_ = name.data();
    cleanup_ = RemoveOnSignal(partialPath_);
    const int streamFd = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    stream_ = streamFd >= 0 ? ::fdopen(streamFd, "wb") : nullptr;
    if (!stream_) {
        error_ = errno;
        if (streamFd >= 0) ::close(streamFd);
        discard();
        return false;
    }
    return true;
}

void ReplacingFile::closeStream() {
    if (!stream_) return;
    errno = 0;
    if (std::fflush(stream_) != 0 || std::ferror(stream_)) {
        streamFailed_ = true;
        error_ = errno ? errno : EIO;
    }
    if (std::fclose(stream_) != 0 && !streamFailed_) {
        streamFailed_ = true;
        error_ = errno ? errno : EIO;
    }
    stream_ = nullptr;
}

bool ReplacingFile::commit(bool sync) {
    if (fd_ < 0) {
        error_ = EBADF;
        return false;
    }
    closeStream();
    bool ok = !streamFailed_;
    if (ok && sync && ::fsync(fd_) != 0) {
        error_ = errno;
        ok = false;
    }
    if (ok) {
        mode_t mode = target_.exists ? (target_.mode & 07777) : NewFileMode(target_.path);
        // A replaced file keeps its owner where the system lets us (as root); the mode is set
        // afterwards, as a change of owner may clear its set-id bits.
        if (target_.exists && (target_.owner != ::geteuid() || target_.group != ::getegid()))
            if (::fchown(fd_, target_.owner, target_.group) != 0) mode &= 0777;
        if (::fchmod(fd_, mode) != 0) {
            error_ = errno;
            ok = false;
        }
    }
    if (::close(fd_) != 0 && ok) {
        error_ = errno;
        ok = false;
    }
    fd_ = -1;
    // The rename and the release go together, or a signal between them could leave the target
    // half-registered.
    FileChangeGuard renamed;
    if (ok) {
        // What is at the target may have changed since open: only a regular file is replaced.
        struct stat st {};
        if (::lstat(target_.path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            error_ = S_ISDIR(st.st_mode) ? EISDIR : EEXIST;
            ok = false;
        } else if (::rename(partialPath_.c_str(), target_.path.c_str()) != 0) {
            error_ = errno;
            ok = false;
        }
    }
    if (!ok) {
        discard();
        return false;
    }
    partialPath_.clear();
    cleanup_.release();
    return true;
}

}  // namespace vellumo::platform

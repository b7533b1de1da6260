#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vellumo::platform {

std::FILE* OpenRegularFile(const std::string& path) {
    // Looking first opens nothing: opening some devices has effects of its own.
    if (!IsRegularFile(path)) {
        if (errno == 0) errno = EINVAL;
        return nullptr;
    }
    // Non-blocking, in case a FIFO was put there since; switched back once it is known to be
    // a regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return nullptr;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* stream = ::fdopen(fd, "rb");
    if (!stream) ::close(fd);
    return stream;
}

std::FILE* OpenPrivateFileForWriting(const std::string& path, bool exclusive) {
    const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC |
                      (exclusive ? O_EXCL : 0);
    const int fd = ::open(path.c_str(), flags, 0600);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        (!exclusive && (st.st_uid != ::geteuid() || ::ftruncate(fd, 0) != 0))) {
        ::close(fd);
        errno = EINVAL;
        return nullptr;
    }
    ::fchmod(fd, 0600);
    const int fdFlags = ::fcntl(fd, F_GETFL);
    if (fdFlags != -1) ::fcntl(fd, F_SETFL, fdFlags & ~O_NONBLOCK);
    std::FILE* stream = ::fdopen(fd, "wb");
    if (!stream) ::close(fd);
    return stream;
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    errno = 0;
    if (path.empty() || ::stat(path.c_str(), &st) != 0) {
        if (errno == 0) errno = ENOENT;
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    return true;
}

std::string UnreadableFileReason(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) {
        const int e = path.empty() ? ENOENT : errno;
        if (e == ENOENT) return "the file does not exist";
        if (e == EACCES) return "permission denied";
        return std::strerror(e);
    }
    if (S_ISDIR(st.st_mode)) return "it is a folder";
    if (S_ISFIFO(st.st_mode)) return "it is a FIFO, not a regular file";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "it is a device, not a regular file";
    if (S_ISSOCK(st.st_mode)) return "it is a socket, not a regular file";
    if (!S_ISREG(st.st_mode)) return "it is not a regular file";
    if (::access(path.c_str(), R_OK) != 0)
        return errno == EACCES ? "permission denied" : std::strerror(errno);
    if (st.st_size == 0) return "the file is empty";
    return {};
}

}  // namespace vellumo::platform

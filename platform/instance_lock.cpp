#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/temp_file.h"

namespace vellumo::platform {

std::string InstanceLockPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string dir;
    struct stat st {};
    if (runtime && *runtime && stat(runtime, &st) == 0 && S_ISDIR(st.st_mode)) {
        dir = runtime;
        if (dir.back() != '/') dir += '/';
    } else {
        dir = TempDirectory();
    }
    return dir + kInstanceLockName;
}

InstanceLock AcquireInstanceLock() {
    const std::string path = InstanceLockPath();
    // Kept open on purpose: the lock lives as long as the process.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return errno == EACCES ? InstanceLock::HeldElsewhere : InstanceLock::Acquired;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? InstanceLock::HeldElsewhere : InstanceLock::Acquired;
    }
    return InstanceLock::Acquired;
}

}  // namespace vellumo::platform

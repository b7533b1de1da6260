#include "scan/sane/sane_runtime.h"

#include <dlfcn.h>
#include <pthread.h>
#include <sane/sane.h>

#include <atomic>
#include <cerrno>
#include <mutex>

#include "scan/sane/sane_config.h"

namespace vellumo::scan::sane {

namespace {

std::mutex saneMutex;
int saneUsers = 0;

using SetCancelType = int (*)(int, int*);
std::atomic<SetCancelType> libcSetCancelType{nullptr};

SetCancelType LibcSetCancelType() {
    SetCancelType f = libcSetCancelType.load();
    if (!f) {
        f = reinterpret_cast<SetCancelType>(dlsym(RTLD_NEXT, "pthread_setcanceltype"));
        libcSetCancelType.store(f);
    }
    return f;
}

}  // namespace

bool AcquireSane() {
    std::lock_guard<std::mutex> lock(saneMutex);
    if (saneUsers == 0) {
        // Looked up here, before any back end has a thread that could need it.
        LibcSetCancelType();
        UseInstalledSaneConfig();
        SANE_Int version = 0;
        if (sane_init(&version, nullptr) != SANE_STATUS_GOOD) return false;
    }
    ++saneUsers;
    return true;
}

void ReleaseSane() {
    std::lock_guard<std::mutex> lock(saneMutex);
    if (saneUsers > 0 && --saneUsers == 0) sane_exit();
}

}  // namespace vellumo::scan::sane

// Many SANE back ends read the device on a reader thread that asks for asynchronous
// cancellation, and cancel it when a scan ends or fails (after a read error, at once). Such a
// thread can be ended at any instruction: inside glibc's first load of its unwinder, leaving the
// dynamic loader's lock held, so that the dlclose in sane_exit hangs for ever; or inside a
// strerror, a malloc or a gettext call, leaving their locks held for the next caller (a
// freelocale at exit hangs). The program therefore turns every request for asynchronous
// cancellation into deferred cancellation: a cancelled reader ends at its next cancellation
// point, the pipe write or device read it waits in, where it holds no library lock. Defined in
// this file so that it is linked wherever SANE is; scan/CMakeLists.txt exports it to the back
// ends.
extern "C" int pthread_setcanceltype(int type, int* oldtype) {
    const vellumo::scan::sane::SetCancelType libc = vellumo::scan::sane::LibcSetCancelType();
    if (!libc) return ENOSYS;
    return libc(type == PTHREAD_CANCEL_ASYNCHRONOUS ? PTHREAD_CANCEL_DEFERRED : type, oldtype);
}

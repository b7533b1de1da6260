#include "scan/sane/backend_guards.h"

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cerrno>

namespace vellumo::scan::sane {

namespace {

template <typename Function>
Function LibcFunction(std::atomic<Function>& cache, const char* name) {
    Function f = cache.load();
    if (!f) {
        f = reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
        cache.store(f);
    }
    return f;
}

using SetCancelType = int (*)(int, int*);
std::atomic<SetCancelType> libcSetCancelType{nullptr};

}  // namespace

void PrepareBackEndGuards() {
    LibcFunction(libcSetCancelType, "pthread_setcanceltype");
}

}  // namespace vellumo::scan::sane

using vellumo::scan::sane::LibcFunction;

// Many SANE back ends read the device on a reader thread that asks for asynchronous
// cancellation, and cancel it when a scan ends or fails (after a read error, at once). Such a
// thread can be ended at any instruction: inside glibc's first load of its unwinder, leaving the
// dynamic loader's lock held, so that the dlclose in sane_exit hangs for ever; or inside a
// strerror, a malloc or a gettext call, leaving their locks held for the next caller (a
// freelocale at exit hangs). The program therefore turns every request for asynchronous
// cancellation into deferred cancellation: a cancelled reader ends at its next cancellation
// point, the pipe write or device read it waits in, where it holds no library lock.
extern "C" int pthread_setcanceltype(int type, int* oldtype) {
    const auto libc = LibcFunction(vellumo::scan::sane::libcSetCancelType, "pthread_setcanceltype");
    if (!libc) return ENOSYS;
    return libc(type == PTHREAD_CANCEL_ASYNCHRONOUS ? PTHREAD_CANCEL_DEFERRED : type, oldtype);
}

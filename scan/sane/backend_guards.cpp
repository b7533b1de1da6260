#include "scan/sane/backend_guards.h"

#include <dlfcn.h>
#include <pthread.h>
#include <signal.h>

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

// Does nothing: a write to a closed connection then fails with EPIPE instead of ending the
// program.
void IgnorePipe(int) {}

}  // namespace

void PrepareBackEndGuards() {
    LibcFunction(libcSetCancelType, "pthread_setcanceltype");
    // A scanner or saned that goes away leaves the back end writing to a closed socket.
    // SIG_IGN is not enough: SANE's thread helper sets SIGPIPE back to the default (ending the
    // process) whenever a reader thread ends; a handler of our own it leaves alone.
    struct sigaction current {};
    if (sigaction(SIGPIPE, nullptr, &current) == 0 &&
        (current.sa_handler == SIG_DFL || current.sa_handler == SIG_IGN)) {
        struct sigaction ignore {};
        ignore.sa_handler = IgnorePipe;
        sigemptyset(&ignore.sa_mask);
        ignore.sa_flags = SA_RESTART;
        sigaction(SIGPIPE, &ignore, nullptr);
    }
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

#ifdef VELLUMO_KEEP_BACK_ENDS_LOADED
// Sanitizer builds only: nothing is unloaded, so that LeakSanitizer can still name the back end a
// leak lies in when it reports at exit (tests/support/lsan.supp lets those pass) instead of an
// unknown module. The SANE test back end leaks its reader thread's buffer whenever a scan ends by
// cancelling that thread.
extern "C" int dlclose(void*) {
    return 0;
}
#endif

// SANE once per process, and the guard that keeps back-end reader threads from being killed in
// the middle of a library call.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include <sane/sane.h>

#include "scan/sane/sane_runtime.h"
#include "scan_test_support.h"

namespace {

using vellumo::scan::sane::AcquireSane;
using vellumo::scan::sane::ReleaseSane;

// A reader thread as SANE back ends write it: asynchronous cancellation asked for, then work
// under a lock that calls no cancellation point.
struct Reader {
    std::mutex lock;
    std::atomic<bool> insideLock{false};
    std::atomic<bool> mayLeave{false};
    int askedType = -1;

    static void* Run(void* self) {
        auto& r = *static_cast<Reader*>(self);
        int old = 0;
        pthread_setcanceltype(PTHREAD_CANCEL_ASYNCHRONOUS, &old);
        pthread_setcanceltype(PTHREAD_CANCEL_ASYNCHRONOUS, &r.askedType);
        r.lock.lock();
        r.insideLock = true;
        while (!r.mayLeave) {
        }
        r.lock.unlock();
        for (;;) pthread_testcancel();
    }
};

TEST(BackEndThreads, CancelledReaderLeavesNoLockHeld) {
    Reader reader;
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, nullptr, Reader::Run, &reader), 0);
    while (!reader.insideLock) std::this_thread::yield();
    ASSERT_EQ(pthread_cancel(thread), 0);
    // Asynchronous cancellation would end the thread here, with the lock held for ever.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    reader.mayLeave = true;
    void* result = nullptr;
    ASSERT_EQ(pthread_join(thread, &result), 0);
    EXPECT_EQ(result, PTHREAD_CANCELED);
    EXPECT_EQ(reader.askedType, PTHREAD_CANCEL_DEFERRED);
    EXPECT_TRUE(reader.lock.try_lock());
    reader.lock.unlock();
}

TEST(BackEndThreads, BackEndsFindTheProgramsCancelType) {
    // What a back end loaded with dlopen binds to: the program's definition, not the C
    // library's.
    void* found = dlsym(RTLD_DEFAULT, "pthread_setcanceltype");
    EXPECT_EQ(found, reinterpret_cast<void*>(&pthread_setcanceltype));
    void* libc = dlsym(RTLD_NEXT, "pthread_setcanceltype");
    EXPECT_NE(libc, nullptr);
    EXPECT_NE(libc, found);
}

TEST(SaneRuntime, StartedOnceAndEndedByTheLastUser) {
    ASSERT_TRUE(AcquireSane());
    ASSERT_TRUE(AcquireSane());
    ReleaseSane();
    // Still started: a device opens.
    SANE_Handle h = nullptr;
    ASSERT_EQ(sane_open("test:0", &h), SANE_STATUS_GOOD);
    sane_close(h);
    ReleaseSane();
    ReleaseSane();  // one too many is harmless
    EXPECT_TRUE(AcquireSane());
    ReleaseSane();
}

}  // namespace

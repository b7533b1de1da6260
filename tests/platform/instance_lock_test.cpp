#include "platform/instance_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/test_support.h"

using namespace vellumo::platform;

namespace {

// What a separate process finds when it tries the lock (exit status 0: it got it).
int OtherProcessTakesLock() {
    const pid_t pid = fork();
    if (pid == 0) _exit(AcquireInstanceLock() == InstanceLock::Acquired ? 0 : 1);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(InstanceLock, LivesInTheRuntimeFolderUnderItsName) {
    testsupport::IsolatedHome home;
    EXPECT_EQ(InstanceLockPath(), home.path() + "/run/VELLUMOUNIQUENAME");
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(InstanceLockPath(), home.tempDir() + "/VELLUMOUNIQUENAME");
}

TEST(InstanceLock, FirstProcessHoldsItAndASecondSeesIt) {
    testsupport::IsolatedHome home;
    // Before anyone holds it, a second process gets it (and drops it when it ends).
    EXPECT_EQ(OtherProcessTakesLock(), 0);
    EXPECT_EQ(OtherProcessTakesLock(), 0);
    // This process takes it and keeps it: every other process now sees a running instance.
    const pid_t holder = fork();
    if (holder == 0) {
        const bool got = AcquireInstanceLock() == InstanceLock::Acquired;
        if (!got) _exit(3);
        pause();
        _exit(0);
    }
    // Wait until the holder has the lock.
    bool held = false;
    for (int i = 0; i < 200 && !held; ++i) {
        held = OtherProcessTakesLock() == 1;
        if (!held) usleep(10000);
    }
    EXPECT_TRUE(held);
    struct stat st {};
    ASSERT_EQ(stat(InstanceLockPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600);
    kill(holder, SIGTERM);
    waitpid(holder, nullptr, 0);
    // The system drops the lock with its process.
    EXPECT_EQ(OtherProcessTakesLock(), 0);
}

}  // namespace

// What a signal leaves behind: a child process writes a partial file, registers a private folder
// with files in it, and is then ended by the signals a user or the system sends.
#include "platform/signal_cleanup.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "platform/replace_file.h"
#include "support/test_support.h"

using namespace vellumo::platform;
using namespace testsupport;

namespace {

// Forks a child that runs body and then waits to be killed; returns its pid once the child has
// said it is ready (through a pipe), or -1.
pid_t StartChild(const std::function<void()>& body) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        body();
        (void)!write(ready[1], "r", 1);
        for (;;) pause();
    }
    close(ready[1]);
    char c = 0;
    const bool ok = read(ready[0], &c, 1) == 1;
    close(ready[0]);
    return ok ? pid : -1;
}

int WaitForSignal(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

}  // namespace

TEST(SignalCleanup, FatalSignalsRemoveRegisteredFilesAndFolders) {
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        TempDir dir;
        const pid_t child = StartChild([&] {
            InstallSignalCleanup();
            static ReplacingFile file;
            if (!file.open(dir.file("out.pdf"))) _exit(3);
            std::fputs("half of a PDF", file.stream());
            std::fflush(file.stream());
            mkdir(dir.file("private").c_str(), 0700);
            writeFile(dir.file("private/VW1.tmp.jpg"), "copy");
            static RemoveOnSignal folder(dir.file("private"), true);
            writeFile(dir.file("page.TIF"), "page");
            static RemoveOnSignal page(dir.file("page.TIF"));
            writeFile(dir.file("finished.TIF"), "kept");
            static RemoveOnSignal finished(dir.file("finished.TIF"));
            finished.release();
        });
        ASSERT_GT(child, 0);
        EXPECT_EQ(listDir(dir.path()).size(), 4u);
        kill(child, signalNumber);
        EXPECT_EQ(WaitForSignal(child), signalNumber) << "ends with the signal's own status";
        EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{"finished.TIF"})
            << strsignal(signalNumber);
    }
}

TEST(SignalCleanup, SignalsIgnoredAtStartStayIgnored) {
    TempDir dir;
    const pid_t child = StartChild([&] {
        signal(SIGHUP, SIG_IGN);  // as under nohup
        InstallSignalCleanup();
        writeFile(dir.file("page.TIF"), "page");
        static RemoveOnSignal page(dir.file("page.TIF"));
    });
    ASSERT_GT(child, 0);
    kill(child, SIGHUP);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(fileExists(dir.file("page.TIF")));
    kill(child, SIGTERM);
    EXPECT_EQ(WaitForSignal(child), SIGTERM);
    EXPECT_FALSE(fileExists(dir.file("page.TIF")));
}

TEST(SignalCleanup, FileSizeLimitIsAWriteErrorNotADeath) {
    TempDir dir;
    const pid_t pid = fork();
    if (pid == 0) {
        InstallSignalCleanup();
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        ReplacingFile file;
        if (!file.open(dir.file("big.pdf"))) _exit(3);
        const std::string block(1024, 'x');
        for (int i = 0; i < 16; ++i) std::fwrite(block.data(), 1, block.size(), file.stream());
        _exit(file.commit(false) ? 4 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(listDir(dir.path()).empty());
}

TEST(SignalCleanup, ASignalAtAnyMomentOfStartingASaveLeavesNoPartialFile) {
    // A child starts saves over and over (each one dropped again unfinished); signals land at
    // random moments of that, including the one right after a partial file is created.
    TempDir dir;
    std::srand(12345);
    for (int round = 0; round < 200; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t saver = fork();
        if (saver == 0) {
            close(ready[0]);
            InstallSignalCleanup();
            (void)!write(ready[1], "r", 1);
            for (;;) {
                ReplacingFile file;
                if (!file.open(dir.file("out.pdf"))) _exit(3);
            }
        }
        close(ready[1]);
        char c = 0;
        ASSERT_EQ(read(ready[0], &c, 1), 1);
        close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(std::rand() % 2000));
        kill(saver, SIGTERM);
        ASSERT_EQ(WaitForSignal(saver), SIGTERM);
        ASSERT_TRUE(listDir(dir.path()).empty())
            << "round " << round << ": " << listDir(dir.path())[0];
    }
}

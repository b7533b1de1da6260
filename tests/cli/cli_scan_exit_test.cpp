// vellumo-cli scan after the scanner failed a read: it reports the error and exits, every time.
// SANE back ends cancel their reader threads when a read fails; a run that hangs at exit shows a
// thread ended in the middle of a library call with a lock held (the dynamic loader's one in
// sane_exit, the locale one at exit). The race is narrow, so the command runs many times, two at
// once, each with a time limit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/test_support.h"

extern char** environ;

namespace {

using namespace testsupport;

// The test scanner failing every read with an I/O error.
std::string FailingScannerConfig(const TempDir& dir) {
    std::string conf = readFile(sourceDir() + "/res/sane/test.conf");
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"enable-test-options false",
                                              "enable-test-options true"},
          {"read-status-code \"Default\"", "read-status-code \"SANE_STATUS_IO_ERROR\""}}) {
        const size_t at = conf.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) conf.replace(at, from.size(), to);
    }
    writeFile(dir.file("test.conf"), conf);
    writeFile(dir.file("dll.conf"), "test\n");
    return dir.path();
}

struct CliRun {
    pid_t pid = -1;
    std::string errors;
};

CliRun Start(const std::string& configDir, const std::string& out, const std::string& errors) {
    std::vector<std::string> env = {"SANE_CONFIG_DIR=" + configDir};
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("SANE_CONFIG_DIR=", 0) != 0) env.push_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = {VELLUMO_CLI, "scan",   "--device", "test:0",
                                     "--mode",    "colour", "-o",       out};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    CliRun run;
    run.errors = errors;
    if (posix_spawn(&run.pid, argv[0], &files, nullptr, argv.data(), envp.data()) != 0)
        run.pid = -1;
    posix_spawn_file_actions_destroy(&files);
    return run;
}

// The exit status, or -1 when the run had to be killed at the deadline.
int Finish(const CliRun& run, std::chrono::steady_clock::time_point deadline) {
    int status = 0;
    while (waitpid(run.pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(run.pid, SIGKILL);
            waitpid(run.pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(CommandLineScanExit, ExitsAfterAReadErrorEveryTime) {
    IsolatedHome home;
    TempDir config;
    const std::string configDir = FailingScannerConfig(config);
    constexpr int kRuns = 100, kAtOnce = 2;
    int hung = 0, finished = 0;
    for (int first = 0; first < kRuns; first += kAtOnce) {
        std::vector<CliRun> runs;
        for (int i = first; i < first + kAtOnce; ++i)
            runs.push_back(Start(configDir, home.path() + "/out" + std::to_string(i) + ".pdf",
                                 home.path() + "/errors" + std::to_string(i)));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (const CliRun& run : runs) {
            ASSERT_GT(run.pid, 0);
            const int status = Finish(run, deadline);
            if (status < 0) {
                ++hung;
                continue;
            }
            ++finished;
            const std::string errors = readFile(run.errors);
            EXPECT_EQ(status, 1) << errors;
            EXPECT_NE(errors.find("Error while scanning"), std::string::npos) << errors;
        }
    }
    EXPECT_EQ(hung, 0) << hung << " of " << kRuns << " runs did not exit";
    EXPECT_EQ(finished, kRuns);
    for (int i = 0; i < kRuns; ++i)
        EXPECT_FALSE(fileExists(home.path() + "/out" + std::to_string(i) + ".pdf"));
}

}  // namespace

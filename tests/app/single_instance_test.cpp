// The single-instance rule with real processes on an X display: the program, a second copy of
// it, and a helper that shows a window with a given title.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "platform/instance_lock.h"
#include "platform/settings_store.h"
#include "platform/x11_windows.h"
#include "support/test_support.h"

using namespace vellumo::platform;

namespace {

using Clock = std::chrono::steady_clock;

// A child process; killed at the end if still running.
class Process {
public:
    // Starts program with arguments and extra environment; with captureOut its standard output
    // can be read with readLine().
    Process(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& env, bool captureOut = false) {
        int out[2] = {-1, -1};
        if (captureOut && pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            if (captureOut) {
                dup2(out[1], 1);
                close(out[0]);
                close(out[1]);
            }
            for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        if (captureOut) {
            close(out[1]);
            out_ = out[0];
        }
    }
    ~Process() {
        if (running()) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
    }
    bool running() {
        if (pid_ <= 0 || status_) return false;
        int st = 0;
        if (waitpid(pid_, &st, WNOHANG) == pid_) {
            status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
            return false;
        }
        return true;
    }
    // The exit status, waiting at most `seconds`; nullopt when it still runs.
    std::optional<int> wait(double seconds) {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (running() && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        running();
        return status_;
    }
    std::string readLine(int timeoutMs) {
        std::string line;
        char ch;
        while (true) {
            pollfd pfd{out_, POLLIN, 0};
            if (poll(&pfd, 1, timeoutMs) <= 0 || read(out_, &ch, 1) != 1 || ch == '\n') break;
            line += ch;
        }
        return line;
    }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::optional<int> status_;
};

// A window with a title, shown by the helper; its id is known once the window exists.
class TitledWindow {
public:
    explicit TitledWindow(const std::string& title)
        : process_(HELPER_PATH, {title, "60"}, {}, true) {
        id_ = static_cast<uint32_t>(std::strtoul(process_.readLine(10000).c_str(), nullptr, 10));
    }
    uint32_t id() const { return id_; }
    // True when the window was asked to close (the helper then ends with 0).
    bool closedWithin(double seconds) { return process_.wait(seconds) == 0; }
    bool stillOpen() { return process_.running(); }

private:
    Process process_;
    uint32_t id_ = 0;
};

bool InstanceLockHeld() {
    const int fd = open(InstanceLockPath().c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
    close(fd);  // drops the lock if this probe got it
    return held;
}

class SingleInstance : public testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) GTEST_SKIP() << "no X display (run under xvfb-run)";
        x11_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(x11_)) GTEST_SKIP() << "no X server at " << display;
    }
    void TearDown() override {
        if (x11_) xcb_disconnect(x11_);
    }

    // Starts the program; it closes its window quitAfterMs after showing it.
    std::unique_ptr<Process> startVellumo(const std::vector<std::string>& args, int quitAfterMs) {
        return std::make_unique<Process>(
            VELLUMO_PATH, args,
            std::vector<std::string>{"QT_QPA_PLATFORM=xcb",
                                     "VELLUMO_QUIT_AFTER_MS=" + std::to_string(quitAfterMs)});
    }
    // Waits until at least `count` shown windows titled exactly "Vellumo" are on the display.
    bool waitForVellumoWindows(size_t count, double seconds) {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (Clock::now() < end) {
            if (vellumoWindows().size() >= count) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    // The shown windows titled "Vellumo" (Qt also gives its hidden client-leader window the
    // application's name).
    std::vector<uint32_t> vellumoWindows() {
        std::vector<uint32_t> ids;
        for (const TopLevelWindow& w : ListTopLevelWindows(x11_))
            if (w.title == "Vellumo" && viewable(w.id)) ids.push_back(w.id);
        return ids;
    }
    bool viewable(uint32_t window) {
        xcb_get_window_attributes_reply_t* a =
            xcb_get_window_attributes_reply(x11_, xcb_get_window_attributes(x11_, window), nullptr);
        const bool shown = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(a);
        return shown;
    }
    // Runs a second copy to its end (it closes its window at once).
    std::optional<int> runToEnd(const std::vector<std::string>& args) {
        return startVellumo(args, 0)->wait(30);
    }

    testsupport::IsolatedHome home_;
    xcb_connection_t* x11_ = nullptr;
};

TEST_F(SingleInstance, WindowOfAnotherCopyIsClosedAndNoLockIsTaken) {
    SettingsStore::write(setting::ActiveWnd, 777);
    TitledWindow other("VELLUMO scanner Brackwin");
    ASSERT_NE(other.id(), 0u);
    auto vellumo = startVellumo({}, 30000);
    EXPECT_TRUE(other.closedWithin(15));
    // Once its own window is up, start-up is past the rule: no lock, "ActiveWnd" untouched.
    ASSERT_TRUE(waitForVellumoWindows(1, 20));
    EXPECT_FALSE(InstanceLockHeld());
    EXPECT_EQ(SettingsStore::read(setting::ActiveWnd), 777);
    // Closing its window (as a window manager's close does) ends the program.
    for (uint32_t id : vellumoWindows()) RequestWindowClose(x11_, id);
    EXPECT_EQ(vellumo->wait(15), 0);
}

TEST_F(SingleInstance, WindowTitledVellumoAloneIsNotMatchedAndTheLockIsTaken) {
    TitledWindow plain("Vellumo");
    TitledWindow wrongCase("Vellumo BRACKWIN");
    ASSERT_NE(plain.id(), 0u);
    auto vellumo = startVellumo({}, 30000);
    ASSERT_TRUE(waitForVellumoWindows(2, 20));  // the helper's and the program's
    EXPECT_TRUE(InstanceLockHeld());
    EXPECT_TRUE(plain.stillOpen());
    EXPECT_TRUE(wrongCase.stillOpen());
    kill(vellumo->pid(), SIGTERM);
    vellumo->wait(10);
    EXPECT_FALSE(InstanceLockHeld());  // released with the process
}

TEST_F(SingleInstance, SecondCopyResetsActiveWndAndClosesItsWindowOnlyWithGO) {
    auto first = startVellumo({}, 60000);
    ASSERT_TRUE(waitForVellumoWindows(1, 20));
    ASSERT_TRUE(InstanceLockHeld());
    TitledWindow named("Main window of the first copy");
    ASSERT_NE(named.id(), 0u);
    const int id = static_cast<int>(named.id());

    // "/go" in lower case is not the switch.
    SettingsStore::write(setting::ActiveWnd, id);
    EXPECT_EQ(runToEnd({"/go"}), 0);
    EXPECT_EQ(SettingsStore::read(setting::ActiveWnd), 0);
    EXPECT_FALSE(named.closedWithin(0.5));

    // No switch: reset, nothing closed.
    SettingsStore::write(setting::ActiveWnd, id);
    EXPECT_EQ(runToEnd({}), 0);
    EXPECT_EQ(SettingsStore::read(setting::ActiveWnd), 0);
    EXPECT_FALSE(named.closedWithin(0.5));

    // "/GO" anywhere in the command line: the window named is asked to close.
    SettingsStore::write(setting::ActiveWnd, id);
    EXPECT_EQ(runToEnd({"-x", "now/GOnow"}), 0);
    EXPECT_TRUE(named.closedWithin(10));
    EXPECT_EQ(SettingsStore::read(setting::ActiveWnd), 0);

    EXPECT_TRUE(first->running());
    kill(first->pid(), SIGTERM);
    first->wait(10);
}

TEST_F(SingleInstance, GOOnAFirstCopyDoesNothing) {
    TitledWindow named("Some other window");
    SettingsStore::write(setting::ActiveWnd, static_cast<int>(named.id()));
    EXPECT_EQ(runToEnd({"/GO"}), 0);
    EXPECT_EQ(SettingsStore::read(setting::ActiveWnd), static_cast<int>(named.id()));
    EXPECT_FALSE(named.closedWithin(0.5));
}

}  // namespace

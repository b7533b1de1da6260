// The program killed with SIGKILL at random moments of a session (loads, scans from the test
// scanner, transforms, moves, deletes, saves, clears, undo and redo) and started again: the pages
// it offers back are the list after the last change it had completed, every file there.
//
// The session runs in a child process: this very test program, started again with the child's
// case, which opens the real program window and works its commands, writing after every command
// the list it shows (each page by the hash of its pixels). The parent kills it at a random moment
// and then starts a page session as the program's start does, answering Yes.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "document/journal_store.h"
#include "document/page_list_ops.h"
#include "document/session_folder.h"
#include "document/session_start.h"
#include "mainwnd/controls.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "scanning/twain_pro.h"
#include "tests/support/main_dialog_access.h"
#include "tests/support/mainwnd_fixture.h"

namespace ctl = vellumo::mainwnd::id;
namespace fs = std::filesystem;
using namespace vellumo::scanning;

namespace {

// Kills per run: 15 keep the test within two minutes of CI; VELLUMO_CRASH_KILLS=50 (or more)
// gives a thorough run before a release or after touching the journal.
int KillCount() {
    const char* wanted = std::getenv("VELLUMO_CRASH_KILLS");
    const int kills = wanted ? std::atoi(wanted) : 0;
    return kills > 0 ? kills : 15;
}
constexpr char kChildCase[] = "CrashChild.WorksUntilKilled";

std::string PixelHash(const std::string& path) {
    ScopedImage image;
    if (ReadImageFile(path.c_str(), image.image) != 0) return "unreadable";
    uint64_t hash = 1469598103934665603ull;
    const uint32_t w = static_cast<uint32_t>(ImageWidth(image.image));
    const uint32_t h = static_cast<uint32_t>(ImageHeight(image.image));
    const size_t rowBytes = (static_cast<size_t>(w) * BitsPerPixel(image.image) + 7) / 8;
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* row = RowPointer(image.image, y);
        for (size_t x = 0; x < rowBytes; ++x) hash = (hash ^ row[x]) * 1099511628211ull;
    }
    return std::to_string(w) + "x" + std::to_string(h) + ":" + std::to_string(hash);
}

// The list as a line: the hashes of its pages in order.
std::string ListLine(const PageDocument& document) {
    std::string line;
    for (const PageRecord& page : document.pages) {
        if (!line.empty()) line += ' ';
        line += PixelHash(PagePath(*page));
    }
    return line;
}

// ---- The child: the program at work ----

class CrashChild : public MainWindowTest {
protected:
    void TearDown() override {
        skin_.reset();
        MainWindowTest::TearDown();
    }
    std::unique_ptr<CVellumoTranslucentDlg> skin_;
};

TEST_F(CrashChild, WorksUntilKilled) {
    const char* report = std::getenv("VELLUMO_CRASH_REPORT");
    const char* state = std::getenv("VELLUMO_CRASH_STATE");
    const char* seed = std::getenv("VELLUMO_CRASH_SEED");
    if (!report || !state || !seed) GTEST_SKIP() << "runs only as the child of the crash test";
    setenv("XDG_STATE_HOME", state, 1);
    SettingsStore::writeText("ResGrey", QStringLiteral("10"));
    SettingsStore::writeInt("nType", 1);
    SettingsStore::writeInt("Preview", 0);
    SettingsStore::writeInt("ADF", 0);
    const int out = ::open(report, O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(out, 0);
    auto say = [out](const std::string& line) {
        const std::string text = line + "\n";
        ASSERT_EQ(::write(out, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    };
    std::vector<QString> files;
    for (int i = 0; i < 4; ++i)
        files.push_back(QString::fromStdString(
            makeImageFile("p" + std::to_string(i) + ".png", 30 + 7 * i, 20 + 3 * i,
                          i % 2 ? "'rgb(40,90,200)'" : "'rgb(220,120,10)'")));

    skin_ = std::make_unique<CVellumoTranslucentDlg>(MainDialogFactory());
    skin_->show();
    ProcessEventsFor(0);
    ASSERT_TRUE(mainDialog && twainPro);
    QElapsedTimer timer;
    timer.start();
    while (!twainPro->ready() && timer.elapsed() < 30000) ProcessEventsFor(10);
    CVellumoDlg& dialog = *mainDialog;
    PageDocument& document = dialog.document();
    const std::string out_pdf = homeDir() + "/out.pdf";

    std::mt19937 random(static_cast<unsigned>(std::atoi(seed)));
    auto pick = [&](size_t n) { return static_cast<int>(random() % n); };
    say("ready " + ListLine(document));
    for (;;) {
        const int n = static_cast<int>(document.pages.size());
        int what = pick(12);
        if (n == 0 && what > 1 && what < 10) what = 0;
        say("begin");
        if (what == 0) {
            dialogs().answerOpenFiles({files[static_cast<size_t>(pick(files.size()))]});
            dialog.OnCommand(ctl::LoadPage);
        } else if (what == 1) {
            const std::string done = "All images processed\n";
            const size_t before = log().size();
            dialog.OnCommand(ctl::ScanPage);
            timer.restart();
            while (log().find(done, before) == std::string::npos && timer.elapsed() < 30000)
                ProcessEventsFor(5);
        } else if (what <= 5) {
            document.currentItem = pick(static_cast<size_t>(n));
            const int transforms[] = {ctl::RotateRight, ctl::RotateLeft, ctl::Invert, ctl::Mirror};
            dialog.OnCommand(transforms[what - 2]);
        } else if (what == 6) {
            document.currentItem = pick(static_cast<size_t>(n));
            dialogs().answerMessage(Answer::Yes);
            dialog.OnCommand(ctl::Delete);
        } else if (what == 7 && n > 1) {
            MovePage(document, pick(static_cast<size_t>(n)), pick(static_cast<size_t>(n)));
        } else if (what == 8 && n > 0 && pick(3) == 0) {
            // SAVE AS PDF, then Yes to clearing the list.
            dialogs().answerSaveFile(QString::fromStdString(out_pdf));
            dialogs().answerMessage(Answer::Ok);
            dialogs().answerMessage(Answer::Yes);
            dialog.OnCommand(ctl::SavePdf);
        } else if (what <= 9) {
            dialog.OnCommand(ctl::Undo);
        } else {
            dialog.OnCommand(ctl::Redo);
        }
        ProcessEventsFor(0);
        say("done " + ListLine(document));
    }
}

// ---- The parent: kill, start again, compare ----

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The last list the child showed after a command, and whether it was in the middle of another.
struct ChildState {
    bool ready = false;
    std::string list;
    bool midCommand = false;
    int commands = 0;
};

ChildState ReadReport(const std::string& path) {
    ChildState state;
    for (const std::string& line : Lines(path)) {
        if (line.rfind("ready", 0) == 0) {
            state.ready = true;
            state.list = line.size() > 6 ? line.substr(6) : "";
        } else if (line == "begin") {
            state.midCommand = true;
        } else if (line.rfind("done", 0) == 0) {
            state.midCommand = false;
            state.list = line.size() > 5 ? line.substr(5) : "";
            ++state.commands;
        }
    }
    return state;
}

class CrashRecovery : public MainWindowTest {};

TEST_F(CrashRecovery, KilledAtRandomMomentsTheLastCompletedListComesBack) {
    if (std::getenv("VELLUMO_CRASH_REPORT")) GTEST_SKIP() << "the child";
    const std::string state = homeDir() + "/state";
    fs::create_directories(state);
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    const std::string report = homeDir() + "/report";
    char self[4096];
    const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(len, 0);
    self[len] = '\0';

    std::mt19937 random(20261209);
    int midCommandKills = 0, totalCommands = 0, startupKills = 0;
    const int kKills = KillCount();
    for (int kill_ = 0; kill_ < kKills; ++kill_) {
        SCOPED_TRACE("kill " + std::to_string(kill_));
        testsupport::writeFile(report, "");
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const std::string seedText = std::to_string(kill_);
            setenv("VELLUMO_CRASH_REPORT", report.c_str(), 1);
            setenv("VELLUMO_CRASH_STATE", state.c_str(), 1);
            setenv("VELLUMO_CRASH_SEED", seedText.c_str(), 1);
            const std::string filter = std::string("--gtest_filter=") + kChildCase;
            execl(self, self, filter.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        // Killed a random while after the window is up: 0 to 1.5 seconds of work.
        QElapsedTimer timer;
        timer.start();
        while (!ReadReport(report).ready && timer.elapsed() < 60000) usleep(10000);
        // A start that takes longer than that on a busy machine is killed while starting, which
        // is a moment like any other.
        startupKills += !ReadReport(report).ready;
        usleep(static_cast<useconds_t>(random() % 1500000));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;
        const ChildState last = ReadReport(report);
        totalCommands += last.commands;
        midCommandKills += last.midCommand;

        // What the killed run's journal holds, to tell an emptied list from a lost one.
        JournalStore::Reading left;
        for (const auto& entry : fs::directory_iterator(state + "/vellumo/pages"))
            if (entry.path().filename().string().rfind("session-", 0) == 0)
                left = JournalStore::ReadNewest(entry.path().string());

        // The start of the next run.
        dialogs().clear();
        PageDocument restarted;
        if (!last.list.empty()) dialogs().answerMessage(Answer::Yes);
        StartPageSession(restarted, nullptr);
        ASSERT_NE(restarted.session(), nullptr);
        for (const PageRecord& page : restarted.pages)
            EXPECT_TRUE(testsupport::fileExists(PagePath(*page))) << PagePath(*page);
        const std::string restored = ListLine(restarted);
        if (restored.empty() && !last.list.empty() && last.midCommand &&
            left.found == JournalStore::Found::Journal && left.contents.list.empty()) {
            // Killed once the command under way had emptied the list (the last delete, or the
            // clear after a save): nothing to offer, and that command was the last step.
            // Either the last step emptied it (a delete, a clear) or an undo under way took back
            // the step that had filled it.
            const size_t shown = std::count(last.list.begin(), last.list.end(), ' ') + 1u;
            const auto& undone = left.contents.undo;
            const auto& redone = left.contents.redo;
            const bool emptiedByStep = !undone.empty() &&
                                       (undone.back().action == PageAction::Clear ||
                                        undone.back().action == PageAction::Delete) &&
                                       undone.back().before.size() == shown;
            const bool emptiedByUndo = !redone.empty() && redone.back().after.size() == shown;
            EXPECT_TRUE(emptiedByStep || emptiedByUndo) << "expected: " << last.list;
            EXPECT_TRUE(dialogs().asked().empty());
        } else if (restored != last.list) {
            // Killed after a command had journaled its change but before it reported it: the
            // change came back whole, and taking it back (or doing it again, for an undo that
            // was under way) gives the list reported last.
            ASSERT_TRUE(last.midCommand) << "restored: " << restored << "\nexpected: " << last.list;
            bool explained = false;
            if (restarted.CanUndo() && restarted.Undo()) {
                explained = ListLine(restarted) == last.list;
                restarted.Redo();
            }
            if (!explained && restarted.CanRedo() && restarted.Redo())
                explained = ListLine(restarted) == last.list;
            EXPECT_TRUE(explained) << "restored: " << restored << "\nexpected: " << last.list;
        }
        // A clean end of the restarted run leaves nothing behind.
        restarted.EndSession();
        EXPECT_EQ(fs::directory_iterator(state + "/vellumo/pages"), fs::directory_iterator())
            << "files left in the private folder";
    }
    std::printf(
        "%d kills, %d of them in the middle of a command, %d while starting, %d commands "
        "done\n",
        kKills, midCommandKills, startupKills, totalCommands);
    EXPECT_GT(totalCommands, kKills);
}

}  // namespace

// Whole scans from the SANE test scanner through the real main dialog: SCAN PAGE, the image
// events on the GUI thread, the preview, the page list, the end of the scan; the start-up
// source selection; the General page's device field and source dialog; vellumo-cli scan.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <utility>

#include "document/session_folder.h"
#include "editing/preview_dlg.h"
#include "mainwnd/controls.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "scanning/scan_ui.h"
#include "scanning/twain_pro.h"
#include "tests/support/main_dialog_access.h"
#include "tests/support/mainwnd_fixture.h"
#include "widgets/activity_dialog.h"
#include "widgets/translucent_button.h"

namespace ctl = vellumo::mainwnd::id;

using namespace vellumo::widgets;
using namespace vellumo::editing;
using namespace vellumo::scanning;
using namespace vellumo::mainwnd;

namespace {

constexpr char kTestScanner[] = "Noname frontend-tester";

class ScanGuiTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        // Small pages: grey at 10 dpi.
        SettingsStore::writeText("ResGrey", QStringLiteral("10"));
        SettingsStore::writeInt("nType", 1);
        SettingsStore::writeInt("Preview", 0);
        SettingsStore::writeInt("ADF", 1);
    }
    void TearDown() override {
        skin_.reset();
        MainWindowTest::TearDown();
    }
    // The program's window, once the start-up source selection has run.
    CVellumoDlg& open() {
        skin_ = std::make_unique<CVellumoTranslucentDlg>(MainDialogFactory());
        skin_->show();
        ProcessEventsFor(0);
        EXPECT_TRUE(mainDialog);
        EXPECT_TRUE(twainPro);
        QElapsedTimer timer;
        timer.start();
        while (twainPro && !twainPro->ready() && timer.elapsed() < 30000) ProcessEventsFor(10);
        EXPECT_TRUE(twainPro && twainPro->ready());
        return *mainDialog;
    }
    // SCAN PAGE, then events until the scan has ended (or the time limit).
    void scan(CVellumoDlg& dialog) {
        dialog.OnCommand(ctl::ScanPage);
        QElapsedTimer timer;
        timer.start();
        while (count("All images processed\n") == 0 && timer.elapsed() < 60000)
            ProcessEventsFor(10);
        ProcessEventsFor(50);
    }
    int count(const std::string& line) const {
        const std::string text = log();
        int n = 0;
        for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
            ++n;
        return n;
    }
    // The window keeps its page files in its session's private folder.
    std::string pageFolder() {
        EXPECT_NE(Doc().session(), nullptr);
        return Doc().session() ? Doc().session()->path() : std::string("/nonexistent");
    }
    int pageFileCount() {
        int n = 0;
        for (const std::string& name : testsupport::listDir(pageFolder()))
            n += name.rfind("VW", 0) == 0;
        return n;
    }
    std::vector<QString> messages() {
        std::vector<QString> texts;
        for (const AskedQuestion& q : dialogs().asked())
            if (q.kind == AskedQuestion::Kind::MessageBox) texts.push_back(q.text);
        return texts;
    }
    std::unique_ptr<CVellumoTranslucentDlg> skin_;
};

TEST_F(ScanGuiTest, FlatbedGreyPageBecomesOnePage) {
    CVellumoDlg& dialog = open();
    EXPECT_TRUE(dialog.control(ctl::ScanPage)->isEnabled());
    dialog.noFeeder = 1;
    scan(dialog);

    ASSERT_EQ(Doc().pages.size(), 1u);
    EXPECT_EQ(Doc().pages[0]->isScanned, 1);
    const std::string path = Doc().pages[0]->sourcePath;
    EXPECT_TRUE(testsupport::fileExists(path)) << path;
    EXPECT_EQ(path.rfind(pageFolder() + "/VW", 0), 0u) << path;
    // The reserving empty file is gone; the page file is a grey LZW TIFF of the Letter frame.
    EXPECT_FALSE(testsupport::fileExists(path.substr(0, path.size() - 4)));
    const std::string info = testsupport::capture("tiffinfo " + testsupport::shellQuote(path));
    EXPECT_NE(info.find("LZW"), std::string::npos) << info;
    EXPECT_NE(info.find("Bits/Sample: 8"), std::string::npos) << info;
    EXPECT_EQ(count("All images processed\n"), 1);
    EXPECT_EQ(count("Transfer complete\n"), 1);
    EXPECT_EQ(count("Convert to image done\n"), 1);
    EXPECT_EQ(count("Saved image 1 to " + path + ", result = 0\n"), 1);
    EXPECT_EQ(count("Saving image done\n"), 1);
    EXPECT_EQ(count("Setting X resolution to: 10\n"), 1);
    EXPECT_EQ(count("Setting XferCount to: 1\n"), 1);
    EXPECT_TRUE(dialog.isEnabled());
    EXPECT_FALSE(activityDialog->isVisible());
    EXPECT_EQ(dialog.pageView()->count(), 1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(ScanGuiTest, FeederRunGivesOnePagePerSheetInOrder) {
    CVellumoDlg& dialog = open();
    dialog.noFeeder = 0;
    scan(dialog);

    ASSERT_EQ(Doc().pages.size(), 10u);  // the test feeder holds ten sheets
    std::set<std::string> files;
    size_t previous = 0;
    const std::string text = log();
    for (size_t i = 0; i < Doc().pages.size(); ++i) {
        const std::string& path = Doc().pages[i]->sourcePath;
        EXPECT_TRUE(testsupport::fileExists(path));
        files.insert(path);
        // The pages are in the order they were saved.
        const size_t at = text.find("Saved image " + std::to_string(i + 1) + " to " + path);
        ASSERT_NE(at, std::string::npos) << i;
        EXPECT_GT(at, previous);
        previous = at;
    }
    EXPECT_EQ(files.size(), 10u);
    EXPECT_EQ(count("Should use ADF\n"), 1);
    EXPECT_EQ(count("All images processed\n"), 1);
    EXPECT_TRUE(dialog.isEnabled());
    EXPECT_EQ(dialog.pageView()->count(), 10);
}

TEST_F(ScanGuiTest, DiscardedPreviewKeepsTheOtherPagesAndFreesTheWindow) {
    CVellumoDlg& dialog = open();
    dialog.noFeeder = 0;
    dialog.showPreview = 1;
    int shown = 0;
    bool enabledAfterDiscard = false;
    bool activityHiddenDuringPreview = true;
    dialogs().setDialogAnswer([&](QDialog& preview) {
        EXPECT_NE(qobject_cast<CPreviewDlg*>(&preview), nullptr);
        ++shown;
        if (activityDialog->isVisible()) activityHiddenDuringPreview = false;
        if (shown == 3) enabledAfterDiscard = mainDialog->isEnabled();
        return shown == 2 ? static_cast<int>(QDialog::Rejected)
                          : static_cast<int>(QDialog::Accepted);
    });
    scan(dialog);

    EXPECT_EQ(shown, 10);
    ASSERT_EQ(Doc().pages.size(), 9u);
    EXPECT_TRUE(enabledAfterDiscard);
    EXPECT_TRUE(activityHiddenDuringPreview);
    // Only kept images were written; the page numbers follow the list.
    EXPECT_EQ(count("Saved image "), 9);
    EXPECT_EQ(count("Saved image 2 to " + Doc().pages[1]->sourcePath), 1);
    EXPECT_EQ(count("Dimensions of scanned image now"), 9);
    EXPECT_EQ(count("All images processed\n"), 1);
    EXPECT_TRUE(dialog.isEnabled());
    EXPECT_EQ(pageFileCount(), 9);
}

TEST_F(ScanGuiTest, CancelAtSetUpEndsTheScan) {
    CVellumoDlg& dialog = open();
    dialog.noFeeder = 1;
    // The click waits in the queue and is handled by the first pump of the set-up.
    QMetaObject::invokeMethod(activityDialog.data(), "OnCancel", Qt::QueuedConnection);
    dialog.OnCommand(ctl::ScanPage);
    ProcessEventsFor(200);

    EXPECT_EQ(count("Cancelled\n"), 1);
    EXPECT_EQ(count("Setting current units"), 0);
    EXPECT_EQ(count("Start acquire\n"), 0);
    EXPECT_TRUE(Doc().pages.empty());
    EXPECT_TRUE(dialog.isEnabled());
    EXPECT_FALSE(activityDialog->isVisible());

    // The scanner is free again for the next scan.
    scan(dialog);
    EXPECT_EQ(Doc().pages.size(), 1u);
}

// The test scanner with its reading slowed down (1 KB at a time, 20 ms apart), so that a feeder
// run of ten grey pages at 50 dpi (31 KB each) takes about six seconds; in force until the object
// goes. SANE keeps the configuration folder it found first, so the scan tests' own test.conf is
// changed in place (the test back end reads it again at every start of SANE) and put back
// afterwards.
class SlowTestScanner {
public:
    SlowTestScanner() {
        const char* dir = std::getenv("SANE_CONFIG_DIR");
        EXPECT_TRUE(dir);
        if (!dir) return;
        path_ = std::string(dir) + "/test.conf";
        saved_ = testsupport::readFile(path_);
        std::string conf = saved_;
        for (const auto& [from, to] :
             {std::pair<std::string, std::string>{"read-limit false", "read-limit true"},
              {"read-limit-size 1\n", "read-limit-size 1024\n"},
              {"read-delay false", "read-delay true"},
              {"read-delay-duration 1000\n", "read-delay-duration 20000\n"}}) {
            const size_t at = conf.find(from);
            EXPECT_NE(at, std::string::npos) << from;
            if (at != std::string::npos) conf.replace(at, from.size(), to);
        }
        testsupport::writeFile(path_, conf);
    }
    ~SlowTestScanner() {
        if (!path_.empty()) testsupport::writeFile(path_, saved_);
    }

private:
    std::string path_;
    std::string saved_;
};

TEST_F(ScanGuiTest, CancelDuringAFeederRunStopsTheScanner) {
    SlowTestScanner slow;
    // Pages big enough that each one takes over half a second to arrive, so the scan is still
    // running when the user's Cancel comes, even on a machine too busy to answer at once.
    SettingsStore::writeText("ResGrey", QStringLiteral("50"));
    CVellumoDlg& dialog = open();
    dialog.noFeeder = 0;
    dialog.OnCommand(ctl::ScanPage);
    QElapsedTimer timer;
    timer.start();
    while (Doc().pages.empty() && count("All images processed\n") == 0 && timer.elapsed() < 10000)
        ProcessEventsFor(10);
    ASSERT_GE(Doc().pages.size(), 1u);
    ASSERT_LT(Doc().pages.size(), 10u) << "the first pages should arrive well before the tenth";
    EXPECT_TRUE(activityDialog->isVisible());

    // The activity dialog's Cancel button, as the user presses it.
    QAbstractButton* cancel = nullptr;
    for (QAbstractButton* b : activityDialog->findChildren<QAbstractButton*>())
        if (b->text().contains(QStringLiteral("Cancel"))) cancel = b;
    ASSERT_TRUE(cancel);
    cancel->click();
    while (count("All images processed\n") == 0 && timer.elapsed() < 15000) ProcessEventsFor(10);
    ProcessEventsFor(500);  // nothing else may follow the end of the scan

    EXPECT_LT(Doc().pages.size(), 10u);
    EXPECT_GE(count("Cancelling the scan\n"), 1);
    EXPECT_EQ(count("All images processed\n"), 1);
    EXPECT_EQ(count("Saved image "), static_cast<int>(Doc().pages.size()));
    for (const auto& page : Doc().pages) EXPECT_TRUE(testsupport::fileExists(page->sourcePath));
    EXPECT_EQ(dialog.pageView()->count(), static_cast<int>(Doc().pages.size()));
    EXPECT_TRUE(dialog.isEnabled());
    EXPECT_FALSE(activityDialog->isVisible());
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(twainPro->component().Acquiring());

    // The scanner is free again for the next scan.
    const size_t before = Doc().pages.size();
    dialog.noFeeder = 1;
    dialog.OnCommand(ctl::ScanPage);
    timer.restart();
    while (count("All images processed\n") < 2 && timer.elapsed() < 10000) ProcessEventsFor(10);
    EXPECT_EQ(Doc().pages.size(), before + 1);
    EXPECT_TRUE(dialog.isEnabled());
}

TEST_F(ScanGuiTest, DuplexOnTheTestScannerIsReportedAndScansSimplex) {
    CVellumoDlg& dialog = open();
    dialog.noFeeder = 1;
    dialog.duplex = 1;
    scan(dialog);

    const std::vector<QString> shown = messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], QStringLiteral("Scanner doesn't support duplex mode"));
    for (const AskedQuestion& q : dialogs().asked())
        if (q.kind == AskedQuestion::Kind::MessageBox) {
            EXPECT_EQ(q.caption, QStringLiteral("Vellumo"));
            EXPECT_EQ(q.icon, MessageIcon::None);
        }
    EXPECT_EQ(count("Scanner doesn't support duplex mode\n"), 1);
    EXPECT_EQ(Doc().pages.size(), 1u);
}

TEST_F(ScanGuiTest, StoredSourceThatIsNotInstalledIsReplacedAtStartUp) {
    SettingsStore::writeText("CurrentDevice", QStringLiteral("Acme Scanmaster 9000"));
    open();
    EXPECT_EQ(SettingsStore::readText("CurrentDevice", {}).toStdString(), kTestScanner);
    EXPECT_EQ(count("Current source was Acme Scanmaster 9000\n"), 1);
    EXPECT_EQ(count("1: " + std::string(kTestScanner) + "\n"), 1);
    EXPECT_EQ(count("Current source now " + std::string(kTestScanner) + "\n"), 1);
    // The page count reached the skin window all the same.
    EXPECT_EQ(skin_->pageCountButton()->currentImage(), CVellumoTranslucentDlg::pageCountImage(1));
}

TEST_F(ScanGuiTest, GeneralPageShowsAndChoosesTheDevice) {
    open();
    QWidget page;
    QLabel field(&page);
    FillCurrentDeviceName(&field);
    EXPECT_EQ(field.text().toStdString(), kTestScanner);

    // The source dialog lists every source; OK on the second stores it.
    int listed = 0;
    QStringList rows;
    dialogs().setDialogAnswer([&](QDialog& shown) {
        auto& d = static_cast<CSourceDialog&>(shown);
        listed = d.list()->count();
        for (int i = 0; i < d.list()->count(); ++i) rows << d.list()->item(i)->text();
        EXPECT_FALSE(page.isEnabled());
        d.selectIndex(1);
        return static_cast<int>(QDialog::Accepted);
    });
    OnSelectDevice(&page, &field);
    EXPECT_EQ(listed, 2);
    // "Select Source" shows the SANE device beside the product name.
    EXPECT_EQ(rows, QStringList({QStringLiteral("Noname frontend-tester (test:0)"),
                                 QStringLiteral("Noname frontend-tester (test:1)")}));
    EXPECT_TRUE(page.isEnabled());
    EXPECT_EQ(field.text().toStdString(), kTestScanner);
    EXPECT_EQ(twainPro->component().CurrentSource(), 1);

    // Cancel: the field is emptied, the stored choice and the current source stay.
    SettingsStore::writeText("CurrentDevice", QStringLiteral("kept"));
    dialogs().setDialogAnswer([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    OnSelectDevice(&page, &field);
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_EQ(SettingsStore::readText("CurrentDevice", {}), QStringLiteral("kept"));
    EXPECT_EQ(twainPro->component().CurrentSource(), 1);
    EXPECT_TRUE(page.isEnabled());
}

TEST_F(ScanGuiTest, CommandLineScanWritesAOnePagePdf) {
    if (!testsupport::haveTool("qpdf")) GTEST_SKIP() << "qpdf is not installed";
    const std::string out = homeDir() + "/out.pdf";
    int status = -1;
    const std::string output =
        testsupport::capture(std::string(VELLUMO_CLI) + " scan -o " + testsupport::shellQuote(out) +
                                 " --resolution 75 2>&1",
                             &status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(testsupport::run("qpdf --check " + testsupport::shellQuote(out) + " >/dev/null"), 0);
    EXPECT_EQ(testsupport::capture("qpdf --show-npages " + testsupport::shellQuote(out)), "1\n");
    // The page files are gone again.
    for (const std::string& name : testsupport::listDir(tempDir()))
        EXPECT_NE(name.rfind("VW", 0), 0u) << name;

    // A feeder run gives one page per sheet; a scanner that is not there fails cleanly.
    EXPECT_EQ(testsupport::run(std::string(VELLUMO_CLI) + " scan --feeder --resolution 10 -o " +
                               testsupport::shellQuote(out) + " 2>/dev/null"),
              0);
    EXPECT_EQ(testsupport::capture("qpdf --show-npages " + testsupport::shellQuote(out)), "10\n");
    EXPECT_NE(testsupport::run(std::string(VELLUMO_CLI) + " scan --device 'No Such Scanner' -o " +
                               testsupport::shellQuote(homeDir() + "/x.pdf") + " 2>/dev/null"),
              0);
    EXPECT_FALSE(testsupport::fileExists(homeDir() + "/x.pdf"));
    EXPECT_EQ(
        testsupport::run(std::string(VELLUMO_CLI) + " scan --mode sepia -o x.pdf 2>/dev/null"), 2);
}

// Starts vellumo-cli scan with args and returns its process id; standard error goes to err.
pid_t StartScan(const std::vector<std::string>& args, const std::string& err) {
    std::vector<std::string> all = {VELLUMO_CLI, "scan"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

std::vector<std::string> PageFiles(const std::string& folder) {
    std::vector<std::string> out;
    for (const std::string& name : testsupport::listDir(folder))
        if (name.rfind("VW", 0) == 0) out.push_back(name);
    return out;
}

// Waits until a page file appears (true) or the process ends (false).
bool WaitForAPage(pid_t pid, const std::string& folder) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const std::string& name : PageFiles(folder))
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".TIF") == 0) return true;
        if (waitpid(pid, nullptr, WNOHANG) == pid) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

TEST_F(ScanGuiTest, CommandLineScanChecksTheOutputBeforeScanning) {
    const std::string err = homeDir() + "/err";
    int status = -1;
    const std::string output = testsupport::capture(
        std::string(VELLUMO_CLI) + " scan --feeder --resolution 10 -o " +
            testsupport::shellQuote(homeDir() + "/no/such/dir/out.pdf") + " 2>&1",
        &status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(output, "vellumo-cli: cannot write " + homeDir() +
                          "/no/such/dir/out.pdf: the folder " + homeDir() +
                          "/no/such/dir does not exist\n");
    EXPECT_TRUE(PageFiles(tempDir()).empty());

    // Without a temporary folder no page could be kept: said before scanning.
    const std::string missing = homeDir() + "/no-tmp";
    const std::string command = "TMPDIR=" + testsupport::shellQuote(missing) + " " + VELLUMO_CLI +
                                " scan --resolution 10 -o " +
                                testsupport::shellQuote(homeDir() + "/o.pdf") + " 2>&1";
    EXPECT_EQ(testsupport::capture(command, &status),
              "vellumo-cli: The temporary folder " + missing +
                  " cannot be written: No such file or directory\n");
    EXPECT_EQ(status, 1);
}

TEST_F(ScanGuiTest, CommandLineScanKeepsThePagesWhenThePdfCannotBeWritten) {
    const std::string folder = homeDir() + "/out";
    mkdir(folder.c_str(), 0755);
    const std::string err = homeDir() + "/err";
    const pid_t pid = StartScan(
        {"--feeder", "--mode", "colour", "--resolution", "150", "-o", folder + "/feeder.pdf"}, err);
    // The folder goes away while the sheets are being scanned.
    ASSERT_TRUE(WaitForAPage(pid, tempDir()));
    ASSERT_EQ(rmdir(folder.c_str()), 0);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string text = testsupport::readFile(err);
    ASSERT_NE(text.find("vellumo-cli: the scanned pages are kept in:\n"), std::string::npos)
        << text;
    const std::vector<std::string> pages = PageFiles(tempDir());
    EXPECT_EQ(pages.size(), 10u);
    for (const std::string& page : pages) {
        EXPECT_NE(text.find("  " + tempDir() + "/" + page + "\n"), std::string::npos) << page;
        EXPECT_EQ(
            testsupport::capture("tiffinfo " + testsupport::shellQuote(tempDir() + "/" + page) +
                                 " >/dev/null 2>&1; echo $?"),
            "0\n");
    }
}

TEST_F(ScanGuiTest, CommandLineScanEndedBySigtermLeavesNoPageFiles) {
    // The SANE test back end sets SIGTERM back to its default from its reader thread at every
    // page; the clean-up must not depend on the handler staying in place.
    const std::string err = homeDir() + "/err";
    const pid_t pid = StartScan(
        {"--feeder", "--mode", "colour", "--resolution", "150", "-o", homeDir() + "/feeder.pdf"},
        err);
    ASSERT_TRUE(WaitForAPage(pid, tempDir()));
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    for (const std::string& left : PageFiles(tempDir())) ADD_FAILURE() << "left behind: " << left;
    EXPECT_FALSE(testsupport::fileExists(homeDir() + "/feeder.pdf"));
}

}  // namespace

#include "tests/support/program_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTest>
#include <sstream>

#include "mainwnd/controls.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "platform/log.h"
#include "platform/settings_store.h"
#include "res/resources.h"
#include "scanning/twain_pro.h"
#include "tests/support/main_dialog_access.h"
#include "widgets/activity_dialog.h"

namespace ctl = vellumo::mainwnd::id;

using namespace vellumo::platform;
using namespace vellumo::res;
using namespace vellumo::mainwnd;
using namespace vellumo::widgets;
using namespace vellumo::scanning;
using vellumo::scanning::twainPro;
using vellumo::widgets::activityDialog;

namespace ux {
namespace {

testsupport::IsolatedHome* home = nullptr;
struct HomeEnvironment : ::testing::Environment {
    void SetUp() override { home = new testsupport::IsolatedHome; }
    void TearDown() override {
        delete home;
        home = nullptr;
    }
};
[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new HomeEnvironment);

}  // namespace

void ProgramTest::SetUp() {
    ASSERT_TRUE(testsupport::fileExists("/usr/bin/convert"));
    SettingsStore::write(setting::Compress, 1);
    // These flows are about building and sending the PDF; text recognition (and its log
    // lines, written as pages are read in the background) has tests of its own.
    SettingsStore::write(setting::OCR, 0);
    SettingsStore::write(setting::ComprPerc, QStringLiteral("90"));
    SettingsStore::write(setting::CurrentDirSave, QString::fromStdString(dir_.path() + "/"));
    InitVellumoResources();
    skin_ = std::make_unique<CVellumoTranslucentDlg>(MainDialogFactory());
    // Modal, as the program runs it for its whole life.
    skin_->setWindowModality(Qt::ApplicationModal);
    skin_->show();
    skin_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(skin_.get(), 5000));
    ASSERT_TRUE(mainDialog);
    if (twainPro) twainPro->WaitUntilReady();
    ASSERT_TRUE(activityDialog);
    log_ = dir_.file("Vellumo_log.mdm");
    logPath = log_;
    loggingOn = 1;
}

void ProgramTest::TearDown() {
    skin_.reset();
    loggingOn = 0;
    QDir::setCurrent(QString::fromStdString(home->path()));
}

std::string ProgramTest::MakeImage(const std::string& name, int width, int height) {
    const std::string out = dir_.file(name);
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    std::string how;
    if (name.size() > 4 && name.substr(name.size() - 4) == ".tif")
        how = "-size " + size + " pattern:checkerboard -type bilevel -compress lzw";
    else if (name.size() > 4 && name.substr(name.size() - 4) == ".png")
        how = "-size " + size + " gradient:white-black -type grayscale -depth 8";
    else
        how = "-size " + size + " plasma:red-blue -seed 3 -type truecolor";
    EXPECT_EQ(testsupport::run("/usr/bin/convert " + how + " -units PixelsPerInch -density 100 " +
                               testsupport::shellQuote(out)),
              0)
        << out;
    return out;
}

std::string ProgramTest::MakeDamagedPng(const std::string& name) {
    const std::string good = MakeImage("whole-" + name);
    const std::string out = dir_.file(name);
    testsupport::writeFile(out, testsupport::readFile(good).substr(0, 60));
    return out;
}

QStringList ProgramTest::Q(const std::vector<std::string>& files) {
    QStringList list;
    for (const std::string& file : files) list << QString::fromStdString(file);
    return list;
}

void ProgramTest::LoadPages(const std::vector<std::string>& files) {
    const size_t before = Doc().pages.size();
    dialogs_.answerOpenFiles(Q(files));
    mainDialog->control(ctl::LoadPage)->click();
    QCoreApplication::processEvents();
    ASSERT_EQ(Doc().pages.size(), before + files.size());
}

std::vector<std::string> ProgramTest::PageSources() const {
    std::vector<std::string> list;
    for (const auto& page : Doc().pages) list.push_back(page->sourcePath);
    return list;
}

std::vector<std::string> ProgramTest::LogLines() const {
    return testsupport::logMessages(log_);
}

int ProgramTest::CountLog(const std::string& wanted) const {
    int n = 0;
    for (const std::string& line : LogLines()) n += line == wanted;
    return n;
}

void ProgramTest::Forget() {
    testsupport::writeFile(log_, "");
    dialogs_.clear();
}

}  // namespace ux

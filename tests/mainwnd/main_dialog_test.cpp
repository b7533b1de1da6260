#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <memory>

#include "mainwnd/about_dlg.h"
#include "mainwnd/controls.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "scanning/twain_pro.h"
#include "tests/support/main_dialog_access.h"
#include "tests/support/mainwnd_fixture.h"
#include "widgets/bitmap_button.h"
#include "widgets/translucent_button.h"

using namespace vellumo::widgets;
using namespace vellumo::scanning;
using namespace vellumo::mainwnd;
using namespace vellumo::prefs;

namespace {

int Bitmap(CVellumoDlg& dialog, int id) {
    return static_cast<CBitmapButton*>(dialog.control(id))->bitmapId();
}

class MainDialogTest : public MainWindowTest {
protected:
    void TearDown() override {
        skin_.reset();
        MainWindowTest::TearDown();
    }
    // The program's window: the skin with the main dialog on it, carrying settingsPages_.
    CVellumoDlg& open() {
        skin_ = std::make_unique<CVellumoTranslucentDlg>(MainDialogFactory(settingsPages_));
        skin_->show();
        ProcessEventsFor(0);
        EXPECT_TRUE(mainDialog);
        // The start-up source selection logs from the GUI thread once discovery is done.
        if (twainPro) twainPro->WaitUntilReady();
        return *mainDialog;
    }
    CVellumoTranslucentDlg& skin() { return *skin_; }
    void press(QWidget& target, int key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &down);
    }
    std::unique_ptr<CVellumoTranslucentDlg> skin_;
    std::vector<vellumo::prefs::PrefPageSpec> settingsPages_;
};

TEST_F(MainDialogTest, StartsOnTheSkinWithItsControlsAndPostsTheCount) {
    CVellumoDlg& dialog = open();
    EXPECT_EQ(dialog.parentWidget(), &skin());
    EXPECT_EQ(dialog.geometry(), QRect(0, 0, 899, 665));
    EXPECT_EQ(dialog.pageView()->geometry(), QRect(276, 110, 286, 429));
    EXPECT_EQ(dialog.control(2050)->geometry(), QRect(597, 93, 124, 32));
    EXPECT_EQ(dialog.control(1071)->geometry(), QRect(836, 21, 36, 36));
    EXPECT_EQ(dialog.control(2830)->geometry(), QRect(23, 93, 192, 44));
    EXPECT_EQ(dialog.control(1203)->geometry(), QRect(762, 380, 20, 20));
    EXPECT_EQ(dialog.control(1020)->geometry(), QRect(614, 488, 23, 23));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Vellumo"));
    EXPECT_EQ(dialog.prefPages().size(), 1u);
    EXPECT_EQ(dialog.prefPages()[0].caption, QStringLiteral("Vellumo"));
    // Commands whose modules are not in this build cannot be chosen.
    EXPECT_TRUE(dialog.control(2050)->isEnabled());
    EXPECT_TRUE(dialog.control(1072)->isEnabled());
    const std::string text = log();
    EXPECT_NE(text.find(" - Vellumo 3.07\n"), std::string::npos);
    EXPECT_NE(text.find(" - Running on "), std::string::npos);

    // A page count posted by the page list reaches the skin window.
    appendScannedPage();
    appendScannedPage();
    Doc().PostPageCount();
    ProcessEventsFor(0);
    EXPECT_EQ(skin().pageCountButton()->currentImage(), CVellumoTranslucentDlg::pageCountImage(3));
}

TEST_F(MainDialogTest, ExitWithoutPagesEndsAtOnce) {
    CVellumoDlg& dialog = open();
    dialog.control(1071)->click();
    EXPECT_TRUE(dialogs().asked().empty());
    EXPECT_FALSE(skin().isVisible());
    EXPECT_NE(log().find(" - OnCancel\n"), std::string::npos);
}

TEST_F(MainDialogTest, ExitWithPagesAsksAndNoKeepsEverything) {
    CVellumoDlg& dialog = open();
    appendScannedPage();
    dialogs().answerMessage(Answer::No);
    dialog.control(1071)->click();
    ASSERT_EQ(dialogs().messages(),
              QStringList({"You didn't save or send the pages in the list. Quit anyway?"}));
    EXPECT_EQ(dialogs().asked()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(dialogs().asked()[0].caption, QStringLiteral("Vellumo"));
    EXPECT_TRUE(skin().isVisible());
    EXPECT_EQ(Doc().pageCounter(), 2);

    // Closing the window from outside asks too.
    dialogs().answerMessage(Answer::No);
    skin().close();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(skin().isVisible());
    EXPECT_EQ(dialogs().messages().size(), 2);

    dialogs().answerMessage(Answer::Yes);
    dialog.control(1071)->click();
    EXPECT_FALSE(skin().isVisible());
}

TEST_F(MainDialogTest, ClosingFromOutsideAndAnsweringYesEndsTheProgram) {
    open();
    appendScannedPage();
    dialogs().answerMessage(Answer::Yes);
    skin().close();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(dialogs().messages().size(), 1);
    EXPECT_FALSE(skin().isVisible());
}

TEST_F(MainDialogTest, EnterWithPagesAsksEscapeDoesNothing) {
    CVellumoDlg& dialog = open();
    press(*dialog.pageView(), Qt::Key_Escape);
    press(dialog, Qt::Key_Escape);
    EXPECT_TRUE(skin().isVisible());
    EXPECT_TRUE(dialogs().asked().empty());

    appendScannedPage();
    dialogs().answerMessage(Answer::No);
    press(*dialog.pageView(), Qt::Key_Return);
    EXPECT_EQ(dialogs().messages(),
              QStringList({"You didn't save or send the pages in the list. Quit anyway?"}));
    EXPECT_TRUE(skin().isVisible());
    EXPECT_EQ(Doc().pageCounter(), 2);

    dialogs().answerMessage(Answer::Yes);
    press(dialog, Qt::Key_Enter);
    EXPECT_FALSE(skin().isVisible());
}

TEST_F(MainDialogTest, EnterWithoutPagesEndsWithoutAQuestion) {
    CVellumoDlg& dialog = open();
    press(dialog, Qt::Key_Return);
    EXPECT_TRUE(dialogs().asked().empty());
    EXPECT_FALSE(skin().isVisible());
}

TEST_F(MainDialogTest, PlacementIsWrittenAtTheEndAndRestoredOnlyWhenStored) {
    // Nothing stored: the dialog keeps its place.
    {
        CVellumoTranslucentDlg bare;
        CVellumoDlg dialog(&bare);
        dialog.setGeometry(3, 4, 50, 60);
        dialog.skinWindow = &bare;
        dialog.OnInitDialog();
        EXPECT_EQ(dialog.geometry(), QRect(3, 4, 50, 60));
    }
    // Written at destruction: the nine values.
    for (const char* name :
         {"wp.showCmd", "wp.ptMinPosition.x", "wp.ptMinPosition.y", "wp.ptMaxPosition.x",
          "wp.ptMaxPosition.y", "wp.left", "wp.right", "wp.top", "wp.bottom"})
        EXPECT_NE(SettingsStore::readInt(name, -999), -999) << name;
    EXPECT_EQ(SettingsStore::readInt("wp.showCmd", 0), 1);
    EXPECT_EQ(SettingsStore::readInt("wp.right", 0) - SettingsStore::readInt("wp.left", 0), 899);
    EXPECT_EQ(SettingsStore::readInt("wp.bottom", 0) - SettingsStore::readInt("wp.top", 0), 665);
    const std::string text = log();
    const size_t saving = text.find(" - Saving window location\n");
    ASSERT_NE(saving, std::string::npos);
    EXPECT_NE(text.find(" - Stop\n", saving), std::string::npos);

    // Stored: applied at set-up ...
    SettingsStore::writeInt("wp.left", 10);
    SettingsStore::writeInt("wp.top", 20);
    SettingsStore::writeInt("wp.right", 110);
    SettingsStore::writeInt("wp.bottom", 220);
    {
        CVellumoTranslucentDlg bare;
        CVellumoDlg dialog(&bare);
        dialog.skinWindow = &bare;
        dialog.OnInitDialog();
        EXPECT_EQ(dialog.geometry(), QRect(10, 20, 100, 200));
    }
    // ... but a far-away place never wins over the skin window's.
    SettingsStore::writeInt("wp.left", -40000);
    SettingsStore::writeInt("wp.right", -39000);
    CVellumoDlg& dialog = open();
    EXPECT_EQ(dialog.geometry(), QRect(0, 0, 899, 665));
}

// A clean exit leaves nothing of the session behind (scanned pages and working copies live in
// its private folder); the user's own loaded files stay.
TEST_F(MainDialogTest, PageFilesGoAtTheEndLoadedFilesStay) {
    CVellumoDlg& dialog = open();
    const std::string scanned = appendScannedPage();
    const std::string copy = addWorkingCopy(0);
    const std::string loaded = makeImageFile("mine.png", 30, 40);
    appendFilePage(loaded, 0);
    const std::string loadedCopy = addWorkingCopy(1);
    dialogs().answerMessage(Answer::Yes);
    dialog.control(1071)->click();
    skin_.reset();
    EXPECT_FALSE(testsupport::fileExists(copy));
    EXPECT_FALSE(testsupport::fileExists(loadedCopy));
    EXPECT_FALSE(testsupport::fileExists(scanned));
    EXPECT_TRUE(testsupport::fileExists(loaded));
    EXPECT_FALSE(mainDialog);
}

TEST_F(MainDialogTest, QuickSettingsRadiosTogglesAndHomeReset) {
    SettingsStore::writeInt("nType", 1);
    SettingsStore::writeInt("nBright", 9);  // out of range: drawn as Normal
    SettingsStore::writeInt("PageSize", 1);
    CVellumoDlg& dialog = open();
    EXPECT_EQ(dialog.scanMode, 1);
    EXPECT_EQ(dialog.brightnessLevel, 3);
    EXPECT_EQ(Bitmap(dialog, 1008), 138);
    EXPECT_EQ(Bitmap(dialog, 1011), 139);
    EXPECT_EQ(Bitmap(dialog, 2081), 138);
    EXPECT_EQ(Bitmap(dialog, 1201), 138);
    EXPECT_EQ(Bitmap(dialog, 2200), 130);  // "Preview" defaults to on
    EXPECT_EQ(Bitmap(dialog, 2763), 131);

    dialog.control(2082)->click();
    dialog.control(1011)->click();
    dialog.control(1203)->click();
    dialog.control(1020)->click();
    EXPECT_EQ(dialog.scanMode, 2);
    EXPECT_EQ(dialog.brightnessLevel, 6);
    EXPECT_EQ(dialog.pageSize, 3);
    EXPECT_EQ(dialog.duplex, 1);
    EXPECT_EQ(Bitmap(dialog, 2082), 138);
    EXPECT_EQ(Bitmap(dialog, 2081), 139);
    EXPECT_EQ(Bitmap(dialog, 1011), 138);
    EXPECT_EQ(Bitmap(dialog, 1203), 138);
    EXPECT_EQ(Bitmap(dialog, 1020), 130);
    // Quick settings are not stored.
    EXPECT_EQ(SettingsStore::readInt("nType", -1), 1);
    EXPECT_EQ(SettingsStore::readInt("Duplex", -1), -1);

    // HOME, even in the home view, brings the stored defaults back 100 ms later.
    dialog.control(2830)->click();
    EXPECT_EQ(dialog.scanMode, 2);
    ProcessEventsFor(250);
    EXPECT_EQ(dialog.scanMode, 1);
    EXPECT_EQ(dialog.pageSize, 1);
    EXPECT_EQ(dialog.duplex, 0);
    EXPECT_EQ(dialog.brightnessLevel, 3);
    EXPECT_EQ(Bitmap(dialog, 2081), 138);
    EXPECT_EQ(Bitmap(dialog, 1020), 131);

    // Settings changed elsewhere come in with UM_RELOADSETTINGS.
    SettingsStore::writeInt("ADF", 1);
    SendWindowMessage(&dialog, msg::UM_RELOADSETTINGS);
    EXPECT_EQ(dialog.noFeeder, 1);
    EXPECT_EQ(Bitmap(dialog, 2763), 130);
}

TEST_F(MainDialogTest, OddStoredModeAndSizeSelectNothing) {
    SettingsStore::writeInt("nType", 5);
    SettingsStore::writeInt("PageSize", -1);
    CVellumoDlg& dialog = open();
    for (int id : {2080, 2081, 2082, 1200, 1201, 1202, 1203})
        EXPECT_EQ(Bitmap(dialog, id), 139) << id;
    dialog.control(2080)->click();
    EXPECT_EQ(dialog.scanMode, 0);
    EXPECT_EQ(Bitmap(dialog, 2080), 138);
}

TEST_F(MainDialogTest, TabsSwitchViewsGeneralAndEmailDoNothingAtHome) {
    CVellumoDlg& dialog = open();
    dialog.control(2870)->click();
    dialog.control(2900)->click();
    EXPECT_FALSE(dialog.settingsMode());
    EXPECT_EQ(Bitmap(dialog, 2870), 450);
    EXPECT_EQ(Bitmap(dialog, 2900), 480);
    EXPECT_EQ(dialog.pageView()->pos(), QPoint(276, 110));

    dialog.control(2860)->click();
    EXPECT_TRUE(dialog.settingsMode());
    EXPECT_EQ(Bitmap(dialog, 2830), 300);
    EXPECT_EQ(Bitmap(dialog, 2860), 350);
    EXPECT_EQ(Bitmap(dialog, 2870), 370);
    EXPECT_EQ(Bitmap(dialog, 2900), 440);
    EXPECT_EQ(dialog.pageView()->pos(), QPoint(1276, 110));
    EXPECT_EQ(dialog.control(2030)->pos(), QPoint(1737, 556));

    dialog.control(2900)->click();
    EXPECT_EQ(Bitmap(dialog, 2870), 380);
    EXPECT_EQ(Bitmap(dialog, 2900), 430);

    dialog.control(2860)->click();
    EXPECT_FALSE(dialog.settingsMode());
    EXPECT_EQ(Bitmap(dialog, 2830), 290);
    EXPECT_EQ(Bitmap(dialog, 2860), 360);
    EXPECT_EQ(dialog.pageView()->pos(), QPoint(276, 110));
    EXPECT_EQ(dialog.control(2050)->pos(), QPoint(597, 93));
}

// A settings page whose data can be made invalid.
class TestPage : public CSAPrefsSubDlg {
public:
    explicit TestPage(QWidget* parent) : CSAPrefsSubDlg(200, parent) {}
    bool valid = true;
    int saves = 0, loads = 0, oks = 0, cancels = 0;
    bool UpdateData(bool) override { return valid; }
    void SavePage() override { ++saves; }
    void LoadPage() override { ++loads; }
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }
};

TEST_F(MainDialogTest, SettingsPagesAreShownSavedValidatedAndCommitted) {
    TestPage* general = nullptr;
    settingsPages_.push_back({QStringLiteral("General"), 200, [&general](QWidget* parent) {
                                  general = new TestPage(parent);
                                  return general;
                              }});
    CVellumoDlg& dialog = open();
    ASSERT_EQ(dialog.prefPages().size(), 2u);
    EXPECT_FALSE(dialog.AddPrefPage([](QWidget* p) { return new CDlg1(p); }, 107, "Late"));
    EXPECT_EQ(general, nullptr);  // made when first shown

    dialog.control(2860)->click();
    ASSERT_NE(general, nullptr);
    EXPECT_TRUE(general->isVisible());
    EXPECT_EQ(general->geometry(), QRect(231, 70, 649, 530));
    EXPECT_EQ(dialog.currentPrefPage(), 1);
    EXPECT_EQ(general->loads, 1);  // at once: the page never shows without its values
    ProcessEventsFor(250);
    EXPECT_EQ(general->loads, 1);

    // Escape on a page neither closes the page nor the program.
    press(*general, Qt::Key_Escape);
    EXPECT_TRUE(general->isVisible());
    EXPECT_TRUE(skin().isVisible());

    // An invalid page stays in view while the tabs and the main controls go home.
    general->valid = false;
    dialog.control(2830)->click();
    EXPECT_TRUE(general->isVisible());
    EXPECT_EQ(general->saves, 0);
    EXPECT_EQ(Bitmap(dialog, 2830), 290);
    EXPECT_EQ(dialog.pageView()->pos(), QPoint(276, 110));
    // Enter does not end the program while a page refuses its data.
    press(dialog, Qt::Key_Return);
    EXPECT_TRUE(skin().isVisible());

    // The refused commit showed the page again (storing it on the way, as every switch does).
    EXPECT_TRUE(general->isVisible());
    EXPECT_EQ(general->oks, 0);
    const int savesBefore = general->saves;
    general->valid = true;
    dialog.control(2830)->click();
    EXPECT_FALSE(general->isVisible());
    EXPECT_EQ(general->saves, savesBefore + 1);

    // The Email page is not registered: its tab shows nothing and the host stays consistent.
    dialog.control(2860)->click();
    dialog.control(2900)->click();
    EXPECT_EQ(dialog.currentPrefPage(), 1);
    EXPECT_FALSE(general->isVisible());

    press(dialog, Qt::Key_Return);
    EXPECT_EQ(general->oks, 1);
    EXPECT_FALSE(skin().isVisible());
}

TEST_F(MainDialogTest, HelpAndAbout) {
    CVellumoDlg& dialog = open();
    dialog.control(2930)->click();
    ASSERT_EQ(dialogs().asked().size(), 1u);
    EXPECT_EQ(dialogs().asked()[0].kind, AskedQuestion::Kind::OpenFile);
    EXPECT_EQ(dialogs().asked()[0].text,
              QCoreApplication::applicationDirPath() + QStringLiteral("/Vellumo.html"));
    // The help page explains every part of the program.
    const std::string help = testsupport::readFile(VELLUMO_HELP_PAGE);
    for (const char* topic :
         {"Scanning", "Loading", "context menu", "Correcting", "preview", "SAVE AS PDF",
          "MAIL AS PDF", "settings pages", "log file", "command-line"})
        EXPECT_NE(help.find(topic), std::string::npos) << topic;

    CAboutDlg about(&dialog);
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("productName"))->text(), "VELLUMO");
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("version"))->text(), "Version 3.07");
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("picture2826"))->size(), QSize(128, 128));
    EXPECT_FALSE(about.findChild<QLabel*>(QStringLiteral("picture2826"))->pixmap().isNull());
    EXPECT_EQ(about.palette().color(QPalette::Window), QColor(237, 237, 237));
    dialogs().clear();
    emit about.mailLink()->linkActivated(QStringLiteral("mailto:support@vellumo.org"));
    emit about.webLink()->linkActivated(QStringLiteral("https://vellumo.org/"));
    ASSERT_EQ(dialogs().asked().size(), 2u);
    EXPECT_EQ(dialogs().asked()[0].kind, AskedQuestion::Kind::OpenUrl);
    EXPECT_EQ(dialogs().asked()[0].text, QStringLiteral("mailto:support@vellumo.org"));
    EXPECT_EQ(dialogs().asked()[1].text, QStringLiteral("https://vellumo.org/"));
    EXPECT_TRUE(about.mailLink()->text().contains(QStringLiteral("mailto:support@vellumo.org")));
    EXPECT_EQ(about.webLink()->text(),
              QStringLiteral("<a href=\"https://vellumo.org/\">vellumo.org</a>"));
}

TEST_F(MainDialogTest, MinimizeReachesTheSkin) {
    CVellumoDlg& dialog = open();
    dialog.control(1105)->click();
    ProcessEventsFor(0);
    EXPECT_TRUE(skin().isMinimized() || skin().windowState() & Qt::WindowMinimized);
}

}  // namespace

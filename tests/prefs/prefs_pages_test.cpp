#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <memory>

#include "mainwnd/controls.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "platform/page_size.h"
#include "prefs/pref_page_host.h"
#include "prefs/tab_email_dlg.h"
#include "prefs/tab_general_dlg.h"
#include "scanning/scan_ui.h"
#include "tests/mail/smtp_test_server.h"
#include "tests/support/mainwnd_fixture.h"
#include "widgets/bitmap_button.h"
#include "widgets/dialog_units.h"

using namespace vellumo::platform;
using namespace vellumo::widgets;
using namespace vellumo::scanning;
using namespace vellumo::prefs;
using namespace vellumo::mainwnd;

namespace {

// A key pressed and released on the widget, as the keyboard delivers it to the focus.
void keyClick(QWidget* target, int key) {
    const QString text = key == Qt::Key_Return || key == Qt::Key_Enter ? QStringLiteral("\r")
                         : key == Qt::Key_Escape                       ? QStringLiteral("\x1b")
                                                                       : QString();
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &up);
}

void keyClicks(QWidget* target, const QString& text) {
    for (QChar c : text) {
        QKeyEvent down(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &down);
    }
}

constexpr int kHome = 2830, kSettings = 2860, kGeneralTab = 2870, kEmailTab = 2900;

class PrefsPagesTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        printerPageSize = 0;
    }
    void TearDown() override {
        skin_.reset();
        MainWindowTest::TearDown();
    }
    CVellumoDlg& open() {
        skin_ = std::make_unique<CVellumoTranslucentDlg>(MainDialogFactory());
        skin_->show();
        ProcessEventsFor(0);
        EXPECT_TRUE(mainDialog);
        return *mainDialog;
    }
    // Clicks a tab and waits past the page's 100 ms load timer.
    void tab(int id) {
        mainDialog->OnCommand(id);
        ProcessEventsFor(250);
    }
    CTabGeneralDlg& general() {
        if (!mainDialog->settingsMode()) tab(kSettings);
        auto* page = qobject_cast<CTabGeneralDlg*>(mainDialog->prefPages().at(1).window.data());
        EXPECT_TRUE(page && page->isVisible());
        return *page;
    }
    CTabEmailDlg& email() {
        if (!mainDialog->settingsMode()) tab(kSettings);
        tab(kEmailTab);
        auto* page = qobject_cast<CTabEmailDlg*>(mainDialog->prefPages().at(2).window.data());
        EXPECT_TRUE(page && page->isVisible());
        return *page;
    }
    static bool checked(CPrefPage& page, int id) {
        return page.control<QAbstractButton>(id)->isChecked();
    }
    static QString text(CPrefPage& page, int id) { return page.control<QLineEdit>(id)->text(); }
    static void type(CPrefPage& page, int id, const QString& value) {
        page.control<QLineEdit>(id)->setText(value);
    }
    static int readInt(const char* name) { return SettingsStore::readInt(name, -99); }
    static QString readText(const char* name) {
        return SettingsStore::readText(name, QStringLiteral("<missing>"));
    }
    // The identifiers of the checked buttons among the ids.
    static std::vector<int> checkedOf(CPrefPage& page, std::initializer_list<int> ids) {
        std::vector<int> result;
        for (int id : ids)
            if (checked(page, id)) result.push_back(id);
        return result;
    }

    std::unique_ptr<CVellumoTranslucentDlg> skin_;
};

TEST_F(PrefsPagesTest, TheProgramsPagesAreRegisteredAfterTheEmptyOne) {
    CVellumoDlg& dialog = open();
    ASSERT_EQ(dialog.prefPages().size(), 4u);
    EXPECT_EQ(dialog.prefPages()[1].caption, QStringLiteral("General"));
    EXPECT_EQ(dialog.prefPages()[1].templateId, 240);
    EXPECT_EQ(dialog.prefPages()[2].caption, QStringLiteral("Email"));
    EXPECT_EQ(dialog.prefPages()[2].templateId, 270);
    EXPECT_EQ(dialog.prefPages()[3].caption, QStringLiteral("Documents"));
    EXPECT_EQ(dialog.prefPages()[3].templateId, 280);
}

TEST_F(PrefsPagesTest, FirstRunWithoutPrinterShowsTheDefaultsAndA4) {
    open();
    CTabGeneralDlg& page = general();
    const auto& frame = vellumo::mainwnd::kSettingsPageFrame;
    EXPECT_EQ(page.geometry(), QRect(frame.x, frame.y, frame.width, frame.height));
    EXPECT_EQ(checkedOf(page, {2080, 2081, 2082}), std::vector<int>{2080});
    EXPECT_EQ(text(page, 2110), QStringLiteral("300"));
    EXPECT_EQ(text(page, 2120), QStringLiteral("150"));
    EXPECT_EQ(text(page, 2130), QStringLiteral("150"));
    EXPECT_EQ(checkedOf(page, {1005, 1006, 1007, 1008, 1009, 1010, 1011}), std::vector<int>{1008});
    EXPECT_EQ(checkedOf(page, {1200, 1201, 1202, 1203}), std::vector<int>{1201});
    EXPECT_EQ(checkedOf(page, {2200, 1055, 2763, 1020, 2300, 2823, 1078}),
              (std::vector<int>{2200, 2823, 1078}));  // the fixture turns logging on
    EXPECT_EQ(text(page, 2824), QStringLiteral("100"));
    EXPECT_NE(log().find("No default printer found, scanning A4 format\n"), std::string::npos);
    // Nothing is written by looking.
    EXPECT_EQ(readInt("nType"), -99);
    EXPECT_EQ(readText("ResBW"), QStringLiteral("<missing>"));
}

TEST_F(PrefsPagesTest, TheCurrentScannerIsShownAndCanBeChosen) {
    open();
    CTabGeneralDlg& page = general();
    auto* field = page.control<QLabel>(CTabGeneralDlg::kDeviceName);
    // The SANE test scanner is the only one the tests see; it was selected at start-up.
    const QString shown = field->text();
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_TRUE(page.control(CTabGeneralDlg::kSelectDevice)->isEnabled());

    int listed = 0;
    bool pageDisabled = false;
    dialogs().setDialogAnswer([&](QDialog& shown) {
        auto& dialog = static_cast<CSourceDialog&>(shown);
        listed = dialog.list()->count();
        pageDisabled = !page.isEnabled();
        dialog.selectIndex(dialog.list()->count() - 1);
        return int(QDialog::Accepted);
    });
    page.control<QAbstractButton>(CTabGeneralDlg::kSelectDevice)->click();
    EXPECT_GE(listed, 1);
    EXPECT_TRUE(pageDisabled);
    EXPECT_TRUE(page.isEnabled());
    EXPECT_FALSE(field->text().isEmpty());
    EXPECT_EQ(readText("CurrentDevice"), field->text());

    // Cancelled: the field is emptied, the stored choice stays.
    const QString stored = readText("CurrentDevice");
    dialogs().setDialogAnswer([](QDialog&) { return int(QDialog::Rejected); });
    page.control<QAbstractButton>(CTabGeneralDlg::kSelectDevice)->click();
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(readText("CurrentDevice"), stored);
    // Shown again, the page fills the field anew.
    tab(kEmailTab);
    tab(kGeneralTab);
    EXPECT_EQ(field->text(), stored);
}

TEST_F(PrefsPagesTest, TheDefaultPrintersPaperGivesThePageSize) {
    PrinterInfo printer;
    printer.found = true;
    printer.name = "Office";
    printer.paper = PaperSize::Legal;
    dialogs().setPrinter(printer);
    open();
    CTabGeneralDlg& page = general();
    EXPECT_EQ(checkedOf(page, {1200, 1201, 1202, 1203}), std::vector<int>{1202});
    const std::string text = log();
    EXPECT_NE(text.find("Default printer: Office\n"), std::string::npos);
    EXPECT_NE(text.find("Printer is set to Legal, so scanning Legal format\n"), std::string::npos);
    // A stored page size wins over the printer's.
    tab(kEmailTab);
    SettingsStore::write(setting::PageSize, 3);
    tab(kGeneralTab);
    EXPECT_EQ(checkedOf(page, {1200, 1201, 1202, 1203}), std::vector<int>{1203});
}

TEST_F(PrefsPagesTest, ControlsSitWhereTheTemplatePutsThem) {
    open();
    CTabGeneralDlg& page = general();
    EXPECT_EQ(page.control(2110)->geometry(), DialogUnitsToPixels(QRect(256, 53, 39, 12)));
    EXPECT_EQ(page.control(1011)->geometry(), DialogUnitsToPixels(QRect(27, 119, 11, 8)));
    EXPECT_EQ(page.control(2070)->geometry(), DialogUnitsToPixels(QRect(113, 216, 91, 15)));
    EXPECT_EQ(page.control<QAbstractButton>(1078)->text(), QStringLiteral("Make log file"));
    EXPECT_EQ(page.control<QAbstractButton>(2070)->text(),
              QStringLiteral("&Reset to factory defaults"));
    auto* title = page.control<QLabel>(CPrefPage::kTitle);
    EXPECT_EQ(title->text(), QStringLiteral("General Settings"));
    EXPECT_EQ(title->font().pixelSize(), 24);
    EXPECT_EQ(page.control(1058)->font(), PageFont());
    EXPECT_EQ(page.control(2110)->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(page.control(1078)->palette().color(QPalette::Window), QColor(0xED, 0xED, 0xED));
    // The image buttons show their state through the bitmaps.
    auto* box = page.control<CButtonST>(2200);
    EXPECT_EQ(box->currentBitmap(), 130);
    box->click();
    EXPECT_EQ(box->currentBitmap(), 131);
    EXPECT_EQ(page.control<CButtonST>(2080)->currentBitmap(), 138);
    EXPECT_EQ(page.control<CButtonST>(2081)->currentBitmap(), 139);

    CTabEmailDlg& mail = email();
    EXPECT_EQ(mail.control(2675)->geometry(), DialogUnitsToPixels(QRect(160, 129, 88, 12)));
    EXPECT_EQ(mail.control<QLabel>(CPrefPage::kTitle)->text(), QStringLiteral("Email Settings"));
    EXPECT_EQ(mail.control<QLineEdit>(2675)->echoMode(), QLineEdit::Password);
    EXPECT_EQ(mail.control<QLineEdit>(2675)->maxLength(), 127);
}

TEST_F(PrefsPagesTest, LeavingTheGeneralPageStoresEverythingAndTheMainDialogFollows) {
    CVellumoDlg& dialog = open();
    CTabGeneralDlg& page = general();
    page.control<QAbstractButton>(2082)->click();
    page.control<QAbstractButton>(1010)->click();
    page.control<QAbstractButton>(1203)->click();
    page.control<QAbstractButton>(2200)->click();  // preview off
    page.control<QAbstractButton>(2763)->click();  // feeder off
    page.control<QAbstractButton>(1020)->click();  // duplex on
    page.control<QAbstractButton>(2300)->click();  // invert on
    page.control<QAbstractButton>(1055)->click();  // auto-crop on
    page.control<QAbstractButton>(2823)->click();  // compression off
    page.control<QAbstractButton>(1078)->click();  // logging off
    type(page, 2110, QStringLiteral("600"));
    type(page, 2120, QStringLiteral("abc"));  // stored as typed
    type(page, 2130, QStringLiteral("200"));
    type(page, 2824, QStringLiteral("40"));
    ASSERT_EQ(loggingOn, 1);

    tab(kHome);
    EXPECT_EQ(readInt("nType"), 2);
    EXPECT_EQ(readInt("nBright"), 5);
    EXPECT_EQ(readInt("PageSize"), 3);
    EXPECT_EQ(readInt("Preview"), 0);
    EXPECT_EQ(readInt("ADF"), 1);
    EXPECT_EQ(readInt("Duplex"), 1);
    EXPECT_EQ(readInt("Invert"), 1);
    EXPECT_EQ(readInt("AutoCrop"), 1);
    EXPECT_EQ(readInt("Compress"), 0);
    EXPECT_EQ(readInt("LogFile"), 0);
    EXPECT_EQ(readText("ResBW"), QStringLiteral("600"));
    EXPECT_EQ(readText("ResGrey"), QStringLiteral("abc"));
    EXPECT_EQ(readText("ResColor"), QStringLiteral("200"));
    EXPECT_EQ(readText("ComprPerc"), QStringLiteral("40"));
    EXPECT_EQ(loggingOn, 0);  // at once
    // The main dialog re-read its mirrors and shows them in the quick settings.
    EXPECT_EQ(dialog.scanMode, 2);
    EXPECT_EQ(dialog.brightnessLevel, 5);
    EXPECT_EQ(dialog.pageSize, 3);
    EXPECT_EQ(dialog.showPreview, 0);
    EXPECT_EQ(dialog.duplex, 1);
    EXPECT_EQ(dialog.invert, 1);
    EXPECT_EQ(page.resBW, QStringLiteral("600"));
    EXPECT_EQ(page.comprPerc, QStringLiteral("40"));
    EXPECT_EQ(static_cast<CBitmapButton*>(dialog.control(2082))->bitmapId(), 138);
    EXPECT_EQ(static_cast<CBitmapButton*>(dialog.control(1010))->bitmapId(), 138);
    EXPECT_FALSE(page.isVisible());
}

TEST_F(PrefsPagesTest, ReturningFromSettingsStillReloadsTheQuickSettings) {
    CVellumoDlg& dialog = open();
    CTabGeneralDlg& page = general();
    page.control<QAbstractButton>(2081)->click();
    tab(kSettings);  // closes the settings view: no timer 20, but the page posts its reload
    EXPECT_EQ(dialog.scanMode, 1);
    EXPECT_EQ(readInt("nType"), 1);
}

TEST_F(PrefsPagesTest, FactoryResetWritesAtOnceButLeavesTheScanModeUntilThePageIsLeft) {
    SettingsStore::write(setting::nType, 2);
    SettingsStore::write(setting::AutoCrop, 0);
    SettingsStore::write(setting::Compress, 1);
    SettingsStore::write(setting::ResBW, QStringLiteral("1200"));
    SettingsStore::write(setting::nBright, 0);
    open();
    CTabGeneralDlg& page = general();
    EXPECT_EQ(checkedOf(page, {2080, 2081, 2082}), std::vector<int>{2082});
    page.control<QAbstractButton>(1020)->click();  // duplex on, not yet stored

    page.control<QAbstractButton>(CTabGeneralDlg::kReset)->click();
    EXPECT_TRUE(dialogs().asked().empty() ||
                dialogs().asked().back().kind == AskedQuestion::Kind::DefaultPrinter);
    EXPECT_TRUE(checked(page, 1055));
    EXPECT_FALSE(checked(page, 2823));
    EXPECT_FALSE(checked(page, 1020));
    EXPECT_EQ(checkedOf(page, {2080, 2081, 2082}), std::vector<int>{2080});
    EXPECT_EQ(text(page, 2110), QStringLiteral("300"));
    EXPECT_EQ(readInt("AutoCrop"), 1);
    EXPECT_EQ(readInt("Compress"), 0);
    EXPECT_EQ(readInt("Duplex"), 0);
    EXPECT_EQ(readInt("nBright"), 3);
    EXPECT_EQ(readInt("PageSize"), kPageA4);  // the printer-derived default (no printer)
    EXPECT_EQ(readText("ResBW"), QStringLiteral("300"));
    EXPECT_EQ(readInt("nType"), 2);

    tab(kHome);
    EXPECT_EQ(readInt("nType"), 0);
    EXPECT_EQ(readInt("AutoCrop"), 1);
}

TEST_F(PrefsPagesTest, OutOfRangeBrightnessShowsNormalAndIsStoredAsNormal) {
    SettingsStore::write(setting::nBright, 9);
    open();
    CTabGeneralDlg& page = general();
    EXPECT_EQ(checkedOf(page, {1005, 1006, 1007, 1008, 1009, 1010, 1011}), std::vector<int>{1008});
    tab(kHome);
    EXPECT_EQ(readInt("nBright"), 3);
}

TEST_F(PrefsPagesTest, SwitchingPagesReloadsWhatWasJustStored) {
    open();
    CTabGeneralDlg& page = general();
    type(page, 2110, QStringLiteral("450"));
    CTabEmailDlg& mail = email();
    EXPECT_EQ(readText("ResBW"), QStringLiteral("450"));
    type(mail, 2640, QStringLiteral("smtp.example.org"));
    // Changed elsewhere while the Email page is up: the General page shows it when it comes back.
    SettingsStore::write(setting::ResGrey, QStringLiteral("75"));
    tab(kGeneralTab);
    EXPECT_TRUE(page.isVisible());
    EXPECT_FALSE(mail.isVisible());
    EXPECT_EQ(text(page, 2110), QStringLiteral("450"));
    EXPECT_EQ(text(page, 2120), QStringLiteral("75"));
    EXPECT_EQ(readText("SMTP Server"), QStringLiteral("smtp.example.org"));
    tab(kEmailTab);
    EXPECT_EQ(text(mail, 2640), QStringLiteral("smtp.example.org"));
}

TEST_F(PrefsPagesTest, APageLeftBeforeItLoadedStoresNothing) {
    SettingsStore::write(setting::ResBW, QStringLiteral("600"));
    SettingsStore::write(setting::nType, 1);
    open();
    general();
    tab(kHome);
    SettingsStore::write(setting::ResBW, QStringLiteral("1200"));
    // Open and leave again faster than the load timer: the old controls are not stored.
    mainDialog->OnCommand(kSettings);
    mainDialog->OnCommand(kEmailTab);
    ProcessEventsFor(250);
    EXPECT_EQ(readText("ResBW"), QStringLiteral("1200"));
    EXPECT_EQ(readInt("nType"), 1);
}

TEST_F(PrefsPagesTest, EmailPageLoadsTheMailSettingsWithTheirDefaults) {
    open();
    CTabEmailDlg& page = email();
    EXPECT_TRUE(checked(page, CTabEmailDlg::kViaSmtp));
    EXPECT_EQ(text(page, 2650), QStringLiteral("25"));
    EXPECT_TRUE(text(page, 2691).isEmpty());
    EXPECT_TRUE(text(page, 2675).isEmpty());
    EXPECT_TRUE(page.control(2640)->isEnabled());
    EXPECT_TRUE(page.control(CTabEmailDlg::kSendTestMail)->isEnabled());
}

TEST_F(PrefsPagesTest, TheSmtpSwitchGreysExactlyItsGroupAndIsStoredAtOnce) {
    open();
    CTabEmailDlg& page = email();
    std::vector<QWidget*> others;
    for (QWidget* child : page.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const int id = child->objectName().toInt();
        if (std::find(std::begin(CTabEmailDlg::kSmtpGroup), std::end(CTabEmailDlg::kSmtpGroup),
                      id) == std::end(CTabEmailDlg::kSmtpGroup) &&
            id != CTabEmailDlg::kSendTestMail)
            others.push_back(child);
    }
    ASSERT_GE(others.size(), 3u);  // the switch, its label, the title

    page.control<QAbstractButton>(CTabEmailDlg::kViaSmtp)->click();
    EXPECT_EQ(readInt("ViaSMTP"), 0);  // before the page is left
    for (int id : CTabEmailDlg::kSmtpGroup) {
        ASSERT_TRUE(page.control(id)) << id;
        EXPECT_FALSE(page.control(id)->isEnabled()) << id;
    }
    for (QWidget* other : others)
        EXPECT_TRUE(other->isEnabled()) << other->objectName().toStdString();

    page.control<QAbstractButton>(CTabEmailDlg::kViaSmtp)->click();
    EXPECT_EQ(readInt("ViaSMTP"), 1);
    EXPECT_TRUE(page.control(2692)->isEnabled());
    EXPECT_TRUE(page.control(2675)->isEnabled());

    // A stored 0 opens the page with the group greyed.
    tab(kGeneralTab);
    SettingsStore::write(setting::ViaSMTP, 0);
    tab(kEmailTab);
    EXPECT_FALSE(checked(page, CTabEmailDlg::kViaSmtp));
    EXPECT_FALSE(page.control(3270)->isEnabled());
}

TEST_F(PrefsPagesTest, ThePasswordIsStoredObscuredAndShownPlain) {
    open();
    CTabEmailDlg& page = email();
    type(page, 2691, QStringLiteral("boss@example.org"));
    type(page, 2640, QStringLiteral("mail.example.org"));
    type(page, 2650, QStringLiteral("587"));
    type(page, 2660, QStringLiteral("scanner"));
    type(page, 2675, QStringLiteral("s3cr3t pass!"));
    type(page, 2680, QStringLiteral("me@example.org"));
    tab(kHome);
    const QString stored = readText("SMTP Password");
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{24}$")).match(stored).hasMatch())
        << stored.toStdString();
    EXPECT_FALSE(stored.contains(QStringLiteral("s3cr3t")));
    EXPECT_EQ(readText("ForwardAddress"), QStringLiteral("boss@example.org"));
    EXPECT_EQ(readText("SMTP Server"), QStringLiteral("mail.example.org"));
    EXPECT_EQ(readText("SMTP Port"), QStringLiteral("587"));
    EXPECT_EQ(readText("SMTP User-id"), QStringLiteral("scanner"));
    EXPECT_EQ(readText("SMTP Email address"), QStringLiteral("me@example.org"));
    EXPECT_EQ(readInt("ViaSMTP"), 1);

    tab(kSettings);
    tab(kEmailTab);
    EXPECT_EQ(text(page, 2675), QStringLiteral("s3cr3t pass!"));
    EXPECT_EQ(page.storedPassword, stored);

    // The field holds at most 127 characters, which the store keeps whole.
    page.control<QLineEdit>(2675)->clear();
    keyClicks(page.control(2675), QString(130, QLatin1Char('x')));
    EXPECT_EQ(text(page, 2675).size(), 127);
    tab(kGeneralTab);
    EXPECT_EQ(readText("SMTP Password").size(), 254);
    EXPECT_EQ(SettingsStore::readPassword(), QString(127, QLatin1Char('x')));
}

TEST_F(PrefsPagesTest, EnterAndEscapeDoNothingOnAPage) {
    CVellumoDlg& dialog = open();
    CTabGeneralDlg& page = general();
    QWidget* edit = page.control(2110);
    edit->setFocus();
    keyClick(edit, Qt::Key_Return);
    keyClick(edit, Qt::Key_Enter);
    keyClick(edit, Qt::Key_Escape);
    keyClick(page.control(2070), Qt::Key_Return);
    keyClick(&page, Qt::Key_Escape);
    ProcessEventsFor(150);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(page.isVisible());
    EXPECT_TRUE(skin_->isVisible());
    EXPECT_EQ(readInt("AutoCrop"), -99);  // the reset button was not pressed by Enter
    for (const AskedQuestion& question : dialogs().asked())
        EXPECT_EQ(question.kind, AskedQuestion::Kind::DefaultPrinter);

    CTabEmailDlg& mail = email();
    keyClick(mail.control(2640), Qt::Key_Return);
    keyClick(mail.control(2640), Qt::Key_Escape);
    EXPECT_TRUE(mail.isVisible());
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(PrefsPagesTest, AnEditThatWantsReturnsGetsItsEnter) {
    QWidget parent;
    CDlg1 page(&parent);
    auto* notes = new QPlainTextEdit(&page);
    notes->setProperty(CSAPrefsSubDlg::kWantReturn, true);
    auto* line = new QPlainTextEdit(&page);
    parent.show();
    keyClicks(notes, QStringLiteral("a"));
    keyClick(notes, Qt::Key_Return);
    keyClicks(notes, QStringLiteral("b"));
    EXPECT_EQ(notes->toPlainText(), QStringLiteral("a\nb"));
    keyClicks(line, QStringLiteral("a"));
    keyClick(line, Qt::Key_Return);
    EXPECT_EQ(line->toPlainText(), QStringLiteral("a"));
}

TEST_F(PrefsPagesTest, TheTestMailGoesThroughTheTypedServer) {
    mailtest::TestSmtpServer server;
    ASSERT_TRUE(server.running());
    open();
    CTabEmailDlg& page = email();
    type(page, 2640, QStringLiteral("127.0.0.1"));
    type(page, 2650, QString::fromStdString(server.portText()));
    type(page, 2680, QStringLiteral("me@example.org"));
    dialogs().clear();
    page.control<QAbstractButton>(CTabEmailDlg::kSendTestMail)->click();
    ProcessEventsFor(50);

    ASSERT_EQ(server.messages().size(), 1u);
    const mailtest::ParsedMessage message = mailtest::ParseMessage(server.messages()[0]);
    EXPECT_NE(message.header("From").find("me@example.org"), std::string::npos);
    EXPECT_NE(message.header("To").find("me@example.org"), std::string::npos);
    EXPECT_EQ(message.header("Subject"), "Test");
    EXPECT_TRUE(message.attachments.empty());
    EXPECT_EQ(dialogs().messages(),
              QStringList{QStringLiteral("Message successfully sent to me@example.org")});
    EXPECT_TRUE(page.isEnabled());
    // Typing for the test stores nothing until the page is left.
    EXPECT_EQ(readText("SMTP Server"), QStringLiteral("<missing>"));
}

TEST_F(PrefsPagesTest, AFailedTestMailIsReportedAndThePageComesBack) {
    open();
    CTabEmailDlg& page = email();
    type(page, 2640, QStringLiteral("127.0.0.1"));
    type(page, 2650, QString::number(mailtest::UnusedPort()));
    type(page, 2680, QStringLiteral("me@example.org"));
    dialogs().clear();
    page.control<QAbstractButton>(CTabEmailDlg::kSendTestMail)->click();
    ProcessEventsFor(50);
    ASSERT_EQ(dialogs().messages().size(), 1);
    EXPECT_FALSE(dialogs().messages()[0].startsWith(QStringLiteral("Message successfully")));
    EXPECT_TRUE(page.isEnabled());
}

}  // namespace

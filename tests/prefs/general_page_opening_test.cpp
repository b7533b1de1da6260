// The first opening of the settings view while the scanners are still being looked for (a
// network scanner can take seconds): the General page shows its stored values at once, the
// scanner's name follows when it is known, and nothing the user changed meanwhile is lost.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <memory>

#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "platform/page_size.h"
#include "prefs/tab_general_dlg.h"
#include "scanning/twain_pro.h"
#include "tests/support/mainwnd_fixture.h"

using namespace vellumo::prefs;
using namespace vellumo::scanning;

namespace {

constexpr int kSettingsTab = 2860, kHomeTab = 2830, kNoFeeder = 2763, kResBW = 2110;

class GeneralPageOpening : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        printerPageSize = 0;
        SettingsStore::write(setting::ResBW, QStringLiteral("400"));
        SettingsStore::write(setting::ADF, 0);
        skin_ = std::make_unique<CVellumoTranslucentDlg>(MainDialogFactory());
        skin_->show();
        ProcessEventsFor(0);
        ASSERT_TRUE(mainDialog);
        // A scanner connection whose search has not ended yet; the test ends it.
        DisconnectScanner();
        twainPro = new CTwainPRO(mainDialog->context());
    }
    void TearDown() override {
        skin_.reset();
        MainWindowTest::TearDown();
    }
    CTabGeneralDlg* general() const {
        return qobject_cast<CTabGeneralDlg*>(mainDialog->prefPages().at(1).window.data());
    }
    std::unique_ptr<CVellumoTranslucentDlg> skin_;
};

TEST_F(GeneralPageOpening, ValuesShowAtOnceAndWhatTheUserTicksMeanwhileStays) {
    mainDialog->control(kSettingsTab)->click();
    CTabGeneralDlg* page = general();
    ASSERT_NE(page, nullptr);
    // Before any event is delivered the page already shows what is stored.
    EXPECT_EQ(page->control<QLineEdit>(kResBW)->text(), QStringLiteral("400"));
    EXPECT_FALSE(page->control<QAbstractButton>(kNoFeeder)->isChecked());
    EXPECT_EQ(page->control<QLabel>(CTabGeneralDlg::kDeviceName)->text(), QString());

    // The user ticks "Disable autofeeder"; the scanners are found later.
    QTimer::singleShot(200, page, [page] { page->control<QAbstractButton>(kNoFeeder)->click(); });
    QTimer::singleShot(500, twainPro, [] { twainPro->MarkReady(true); });
    ProcessEventsFor(900);

    EXPECT_TRUE(page->control<QAbstractButton>(kNoFeeder)->isChecked());
    EXPECT_EQ(page->control<QLineEdit>(kResBW)->text(), QStringLiteral("400"));
    // The scanner's name arrived on its own (the test back end's device).
    EXPECT_FALSE(page->control<QLabel>(CTabGeneralDlg::kDeviceName)->text().isEmpty());

    // Leaving the page stores the tick.
    mainDialog->control(kHomeTab)->click();
    EXPECT_EQ(SettingsStore::read(setting::ADF), 1);
}

}  // namespace

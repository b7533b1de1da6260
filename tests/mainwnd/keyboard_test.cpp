// The main window driven from the keyboard alone: Tab walks the controls in the order of the
// screen and a ring in the skin's accent colour shows where the focus is; radios move with the
// arrow keys; Space acts; nothing out of sight takes the focus or a key.
#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <memory>

#include "mainwnd/controls.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "platform/page_size.h"
#include "scanning/twain_pro.h"
#include "tests/support/mainwnd_fixture.h"
#include "widgets/activity_dialog.h"
#include "widgets/focus_ring.h"

namespace ctl = vellumo::mainwnd::id;
using vellumo::widgets::activityDialog;

namespace {

class Keyboard : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        printerPageSize = 0;
        skin_ = std::make_unique<CVellumoTranslucentDlg>(MainDialogFactory());
        skin_->show();
        QApplication::setActiveWindow(skin_.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(skin_.get()));
        ASSERT_TRUE(mainDialog);
        if (vellumo::scanning::twainPro) vellumo::scanning::twainPro->WaitUntilReady();
    }
    void TearDown() override {
        skin_.reset();
        MainWindowTest::TearDown();
    }

    QWidget* focus() const { return QApplication::focusWidget(); }
    void press(int key) {
        QWidget* target = focus() ? focus() : mainDialog.data();
        QTest::keyClick(target, static_cast<Qt::Key>(key));
        QCoreApplication::processEvents();
    }
    // The control's place in the window, with room for the ring around it.
    QRect ringArea(const QWidget* control) const {
        const int margin =
            vellumo::widgets::CFocusRing::kGap + vellumo::widgets::CFocusRing::kWidth;
        return QRect(control->mapTo(skin_.get(), QPoint(0, 0)), control->size())
            .adjusted(-margin, -margin, margin, margin);
    }
    static int differingPixels(const QImage& a, const QImage& b, const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (a.valid(x, y) && b.valid(x, y) && a.pixel(x, y) != b.pixel(x, y)) ++count;
        return count;
    }
    QImage screen() const { return skin_->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The focus lies on a control the user can see: shown, inside the window.
    void expectInSight(const QWidget* control) const {
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->isVisible()) << control->objectName().toStdString();
        const QRect place(control->mapTo(skin_.get(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(skin_->rect().contains(place)) << control->objectName().toStdString();
    }
    // Tabs once round the window from `start`; checks each stop and returns them in order.
    std::vector<QWidget*> tabRound(QWidget* start) {
        start->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        std::vector<QWidget*> stops{focus()};
        QImage before = screen();
        for (int step = 0; step < 80; ++step) {
            press(Qt::Key_Tab);
            QWidget* now = focus();
            if (now == start) break;
            expectInSight(now);
            stops.push_back(now);
            // The ring shows at the control that has the focus.
            const QImage after = screen();
            EXPECT_GT(differingPixels(before, after, ringArea(now)), 20)
                << "no focus mark at " << now->objectName().toStdString();
            before = after;
        }
        EXPECT_EQ(focus(), start) << "Tab did not come round";
        return stops;
    }
    QAbstractButton* control(int id) const { return mainDialog->control(id); }

    std::unique_ptr<CVellumoTranslucentDlg> skin_;
};

TEST_F(Keyboard, TabFollowsTheScreenInTheHomeViewWithAVisibleRing) {
    const std::vector<QWidget*> stops = tabRound(control(ctl::HomeTab));
    // The radio groups are one stop each, at their selected radio (the stored defaults).
    const std::vector<QWidget*> expected = {control(ctl::HomeTab),
                                            control(ctl::SettingsTab),
                                            mainDialog->pageView(),
                                            control(ctl::ScanPage),
                                            control(ctl::LoadPage),
                                            control(ctl::ModeRadios[0]),
                                            control(ctl::BrightnessRadios[3]),
                                            control(ctl::PageSizeRadios[0]),
                                            control(ctl::ShowPreview),
                                            control(ctl::NoFeeder),
                                            control(ctl::Duplex),
                                            control(ctl::MailPdf),
                                            control(ctl::SavePdf),
                                            control(ctl::About),
                                            control(ctl::Help),
                                            control(ctl::Minimize),
                                            control(ctl::Exit)};
    ASSERT_EQ(stops.size(), expected.size());
    for (size_t i = 0; i < stops.size(); ++i)
        EXPECT_EQ(stops[i], expected[i]) << i << ": " << stops[i]->objectName().toStdString();
}

TEST_F(Keyboard, InTheSettingsViewNothingOutOfSightTakesTheFocusOrAKey) {
    control(ctl::SettingsTab)->click();
    ProcessEventsFor(150);
    ASSERT_TRUE(mainDialog->settingsMode());
    const std::vector<QWidget*> stops = tabRound(control(ctl::SettingsTab));
    EXPECT_GT(stops.size(), 15u);  // the tabs, the General page's controls, the window's buttons
    for (QWidget* stop : stops) {
        EXPECT_NE(stop, mainDialog->pageView());
        for (int id : {ctl::ScanPage, ctl::LoadPage, ctl::MailPdf, ctl::SavePdf, ctl::ShowPreview,
                       ctl::ModeRadios[0]})
            EXPECT_NE(stop, control(id)) << id;
    }

    // Space on the hidden SCAN PAGE, and its command, start no scan.
    QTest::keyClick(control(ctl::ScanPage), Qt::Key_Space);
    mainDialog->OnCommand(ctl::ScanPage);
    QCoreApplication::processEvents();
    EXPECT_FALSE(activityDialog->isVisible());
    EXPECT_EQ(activityDialog->statusText(), QStringLiteral("Looking for scanner..."));
    EXPECT_TRUE(mainDialog->isEnabled());
}

TEST_F(Keyboard, ArrowsMoveInsideARadioGroupAndSpaceActs) {
    QWidget* blackAndWhite = control(ctl::ModeRadios[0]);
    blackAndWhite->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Down);
    EXPECT_EQ(focus(), control(ctl::ModeRadios[1]));
    EXPECT_EQ(mainDialog->scanMode, 1);
    press(Qt::Key_Up);
    EXPECT_EQ(mainDialog->scanMode, 0);

    control(ctl::BrightnessRadios[3])->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Right);  // one step towards Bright
    EXPECT_EQ(mainDialog->brightnessLevel, 2);
    EXPECT_EQ(focus(), control(ctl::BrightnessRadios[2]));
    // Tab leaves the group from the radio now selected.
    press(Qt::Key_Tab);
    EXPECT_EQ(focus(), control(ctl::PageSizeRadios[0]));

    control(ctl::NoFeeder)->setFocus(Qt::TabFocusReason);
    const int before = mainDialog->noFeeder;
    press(Qt::Key_Space);
    EXPECT_EQ(mainDialog->noFeeder, 1 - before);
    EXPECT_EQ(static_cast<QAbstractButton*>(control(ctl::NoFeeder))->isChecked(),
              mainDialog->noFeeder == 1);
}

}  // namespace

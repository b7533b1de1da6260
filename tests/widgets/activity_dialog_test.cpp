#include "widgets/activity_dialog.h"
#include "platform/cancel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "platform/window_message.h"
#include "tests/support/editing_fixtures.h"

using namespace vellumo::platform;
using namespace vellumo::widgets;

namespace editing {
namespace {

// A window that notes every numbered message it receives.
class Recorder : public MessageWindow<QWidget> {
public:
    std::vector<unsigned> received;

protected:
    LRESULT messageMap(unsigned message, WPARAM, LPARAM) override {
        received.push_back(message);
        if (message == 1) PostWindowMessage(this, 100);  // posted while the pump runs
        return 0;
    }
};

class Activity : public ::testing::Test {
protected:
    void SetUp() override {
        mainWindow.setGeometry(200, 150, 600, 400);
        mainWindow.show();
        dialog = CreateActivityDialog(&mainWindow);
        cancelRequested = 0;
    }
    void TearDown() override { delete activityDialog.data(); }
    QWidget mainWindow;
    CActivityDialog* dialog = nullptr;
};

TEST_F(Activity, MadeHiddenWithItsControls) {
    ASSERT_EQ(dialog, activityDialog.data());
    EXPECT_EQ(CreateActivityDialog(&mainWindow), dialog);  // one for the program
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "Vellumo");
    EXPECT_EQ(dialog->statusText(), "Looking for scanner...");
    EXPECT_EQ(qobject_cast<QPushButton*>(dialog->control(2))->text(), "Cancel");
    EXPECT_NE(qobject_cast<QLabel*>(dialog->control(2701)), nullptr);
    EXPECT_TRUE(dialog->control(2990)->isHidden());
}

// Where it shows: 10 pixels below the top edge of the window it serves, centred over it. The
// main dialog is a layer inside the skin window, so the window on the screen is its parent's.
TEST(ActivityPlace, TenPixelsBelowTheMainWindowsTopEdgeCentredOverIt) {
    QWidget skin;
    skin.setGeometry(200, 150, 600, 400);
    auto* mainDialog = new QWidget(&skin);
    mainDialog->setGeometry(0, 0, 600, 400);
    skin.show();
    CActivityDialog* dialog = CreateActivityDialog(mainDialog);
    auto expectOver = [&](const QWidget& window) {
        const QRect frame = dialog->frameGeometry();
        EXPECT_EQ(frame.top(), window.frameGeometry().top() + 10);
        EXPECT_LE(std::abs((frame.left() + frame.width() / 2) -
                           (window.frameGeometry().left() + window.frameGeometry().width() / 2)),
                  1);
    };
    dialog->showActivity();
    expectOver(skin);
    dialog->hideActivity();
    // The window was dragged elsewhere: the next operation shows the dialog over it there.
    skin.move(340, 60);
    dialog->showActivity();
    expectOver(skin);
    dialog->hideActivity();
    delete activityDialog.data();
}

TEST_F(Activity, OperationsChangeWhatIsShown) {
    dialog->setStatusText("Setting up scanner test ....");
    dialog->showActivity();
    EXPECT_TRUE(dialog->isVisible());
    dialog->setStatusText("Scanning from test ....");
    dialog->showActivity();  // a second show changes only the text
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(qobject_cast<QLabel*>(dialog->control(1021))->text(), "Scanning from test ....");
    dialog->setCancelVisible(false);
    EXPECT_TRUE(dialog->control(2)->isHidden());
    dialog->setProgressVisible(true);
    dialog->setProgressPercent(42);
    EXPECT_FALSE(dialog->control(2990)->isHidden());
    EXPECT_EQ(qobject_cast<QProgressBar*>(dialog->control(2990))->value(), 42);
    dialog->hideActivity();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(Activity, EscapeActsAsCancel) {
    dialog->showActivity();
    mainWindow.setEnabled(false);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog, &escape);
    EXPECT_EQ(cancelRequested, 1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_NE(activityDialog.data(), nullptr);  // kept for the next operation
}

TEST_F(Activity, CancelButtonDuringAnOperation) {
    dialog->showActivity();
    mainWindow.setEnabled(false);
    // The user's click arrives while the operation pumps.
    QMetaObject::invokeMethod(
        dialog->control(2), [this] { qobject_cast<QPushButton*>(dialog->control(2))->click(); },
        Qt::QueuedConnection);
    EXPECT_EQ(cancelRequested, 0);
    PumpActivityMessages();
    EXPECT_EQ(cancelRequested, 1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(mainWindow.isEnabled());
}

TEST_F(Activity, PumpDeliversPostedMessagesInOrder) {
    Recorder window;
    for (unsigned m = 1; m <= 5; ++m) PostWindowMessage(&window, m);
    PumpActivityMessages();
    // Everything waiting, and what was posted while the pump ran, in the order of posting.
    EXPECT_EQ(window.received, (std::vector<unsigned>{1, 2, 3, 4, 5, 100}));
}

TEST_F(Activity, PumpLetsTimersFire) {
    bool fired = false;
    QTimer::singleShot(0, [&fired] { fired = true; });
    dialog->showActivity();
    dialog->setStatusText("Saving image to temporary file ....");
    PumpActivityMessages();
    EXPECT_TRUE(fired);
}

TEST_F(Activity, PumpStopsWhenTheDialogIsGone) {
    Recorder window;
    delete activityDialog.data();
    PostWindowMessage(&window, 7);
    PumpActivityMessages();
    EXPECT_TRUE(window.received.empty());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(window.received, std::vector<unsigned>{7});
}

}  // namespace
}  // namespace editing

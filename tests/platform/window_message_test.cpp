#include "platform/window_message.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "platform/messages.h"

using namespace vellumo::platform;

namespace {

struct Received {
    unsigned message;
    WPARAM wParam;
    LPARAM lParam;
};

class Recorder : public MessageWindow<QWidget> {
public:
    std::vector<Received> received;
    LRESULT reply = 0;

protected:
    LRESULT messageMap(unsigned message, WPARAM wParam, LPARAM lParam) override {
        received.push_back({message, wParam, lParam});
        return reply;
    }
};

TEST(MessageNumbers, KeepTheirFixedValues) {
    EXPECT_EQ(msg::WM_USER, 0x0400u);
    EXPECT_EQ(msg::WM_APP, 0x8000u);
    EXPECT_EQ(msg::UM_PAGECOUNT, 0x0403u);
    EXPECT_EQ(msg::UM_SAVEPAGE, 0x0404u);
    EXPECT_EQ(msg::UM_MINIMIZE, 0x0406u);
    EXPECT_EQ(msg::UM_RELOADSETTINGS, 0x040Au);
    EXPECT_EQ(msg::UM_SCANFINISHED, 0x043Eu);
    EXPECT_EQ(msg::UM_SMTPCANCELLED, 0x043Fu);
    EXPECT_EQ(msg::UM_SHOWPREFPAGE, 0x8064u);
    EXPECT_EQ(msg::UM_RESTOREFOCUS, 0x8065u);
}

TEST(PostedMessages, ArriveLaterInPostingOrderWithTheirParameters) {
    Recorder window;
    for (WPARAM i = 0; i < 50; ++i)
        ASSERT_TRUE(PostWindowMessage(&window, msg::UM_PAGECOUNT + (i % 3), i, -LPARAM(i)));
    EXPECT_TRUE(window.received.empty());  // nothing before the loop runs
    QCoreApplication::processEvents();
    ASSERT_EQ(window.received.size(), 50u);
    for (WPARAM i = 0; i < 50; ++i) {
        EXPECT_EQ(window.received[i].message, msg::UM_PAGECOUNT + (i % 3));
        EXPECT_EQ(window.received[i].wParam, i);
        EXPECT_EQ(window.received[i].lParam, -LPARAM(i));
    }
}

TEST(PostedMessages, AreDeliveredWhileAModalDialogRuns) {
    Recorder window;
    QDialog dialog;
    std::vector<Received> seenDuringModal;
    QTimer::singleShot(0, &dialog, [&] {
        PostWindowMessage(&window, msg::UM_SCANFINISHED, 1, 0);
        PostWindowMessage(&window, msg::UM_PAGECOUNT, 2, 0);
        // Check once the two have had their turn, still inside the modal loop.
        QTimer::singleShot(50, &dialog, [&] {
            seenDuringModal = window.received;
            dialog.accept();
        });
    });
    QTimer::singleShot(5000, &dialog, &QDialog::reject);  // never hang
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    ASSERT_EQ(seenDuringModal.size(), 2u);
    EXPECT_EQ(seenDuringModal[0].message, msg::UM_SCANFINISHED);
    EXPECT_EQ(seenDuringModal[1].message, msg::UM_PAGECOUNT);
}

TEST(PostedMessages, PostedBeforeAModalLoopStayBehindEarlierPosts) {
    Recorder window;
    QDialog dialog;
    PostWindowMessage(&window, msg::UM_RELOADSETTINGS);
    QTimer::singleShot(0, &dialog, [&] {
        PostWindowMessage(&window, msg::UM_SHOWPREFPAGE, WPARAM(-1));
        QTimer::singleShot(20, &dialog, &QDialog::accept);
    });
    dialog.exec();
    ASSERT_EQ(window.received.size(), 2u);
    EXPECT_EQ(window.received[0].message, msg::UM_RELOADSETTINGS);
    EXPECT_EQ(window.received[1].message, msg::UM_SHOWPREFPAGE);
    EXPECT_EQ(window.received[1].wParam, WPARAM(-1));
}

TEST(PostedMessages, WindowDestroyedBeforeDeliveryIsSafe) {
    auto* window = new Recorder;
    PostWindowMessage(window, msg::UM_PAGECOUNT, 3);
    delete window;
    QCoreApplication::processEvents();  // must not touch the deleted window
    EXPECT_FALSE(PostWindowMessage(nullptr, msg::UM_PAGECOUNT));
}

TEST(SentMessages, AreHandledBeforeTheCallReturnsAndGiveTheResult) {
    Recorder window;
    window.reply = 42;
    PostWindowMessage(&window, msg::UM_PAGECOUNT, 1);
    EXPECT_EQ(SendWindowMessage(&window, msg::UM_MINIMIZE, 7, 8), 42);
    // The sent message overtakes the one still queued.
    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_EQ(window.received[0].message, msg::UM_MINIMIZE);
    QCoreApplication::processEvents();
    ASSERT_EQ(window.received.size(), 2u);
    EXPECT_EQ(window.received[1].message, msg::UM_PAGECOUNT);
}

TEST(SentMessages, ToAWindowWithoutMessageMapGiveZero) {
    QWidget plain;
    EXPECT_EQ(SendWindowMessage(&plain, msg::UM_PAGECOUNT, 1), 0);
    EXPECT_EQ(SendWindowMessage(nullptr, msg::UM_PAGECOUNT, 1), 0);
}

}  // namespace

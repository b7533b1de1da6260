#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>

#include "res/resources.h"
#include "widgets/bitmap_button.h"
#include "widgets/skin_button.h"

using namespace vellumo::widgets;
using namespace vellumo::res;

namespace {

void Mouse(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(at), QPointF(w.mapToGlobal(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &e);
}
void Press(QWidget& w, QPoint at = {5, 5}) {
    Mouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton);
}
void DoubleClick(QWidget& w, QPoint at = {5, 5}) {
    Mouse(w, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
}
void Release(QWidget& w, QPoint at = {5, 5}) {
    Mouse(w, QEvent::MouseButtonRelease, at, Qt::NoButton);
}
void MoveHeld(QWidget& w, QPoint at) {
    Mouse(w, QEvent::MouseMove, at, Qt::LeftButton);
}

QImage Solid(QRgb colour) {
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

struct SkinButtonFixture : ::testing::Test {
    CxSkinButton button;
    int clicks = 0;
    void SetUp() override {
        button.SetSkin(Solid(qRgb(1, 0, 0)), Solid(qRgb(2, 0, 0)), Solid(qRgb(3, 0, 0)));
        button.resize(30, 20);
        button.show();
        QObject::connect(&button, &QAbstractButton::clicked, [this] { ++clicks; });
    }
    int shown() const { return qRed(button.currentImage().pixel(0, 0)); }
};

TEST_F(SkinButtonFixture, PressedOnlyWhileHeldOverItAndClickOnReleaseOverIt) {
    EXPECT_EQ(button.currentLook(), CxSkinButton::Look::Normal);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&button, &enter);
    EXPECT_EQ(shown(), 3);  // hover

    Press(button);
    EXPECT_EQ(shown(), 2);
    MoveHeld(button, {100, 100});  // off the button: shown released
    EXPECT_NE(button.currentLook(), CxSkinButton::Look::Pressed);
    MoveHeld(button, {6, 6});  // back over it: pressed again
    EXPECT_EQ(shown(), 2);
    Release(button);
    EXPECT_EQ(clicks, 1);

    Press(button);
    MoveHeld(button, {100, 100});
    Release(button, {100, 100});  // released elsewhere: no click
    EXPECT_EQ(clicks, 1);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    EXPECT_EQ(shown(), 1);
}

TEST_F(SkinButtonFixture, DoubleClickCountsTwiceAndDisabledShowsNormal) {
    Press(button);
    Release(button);
    DoubleClick(button);
    Release(button);
    EXPECT_EQ(clicks, 2);

    Press(button);
    button.setEnabled(false);
    EXPECT_EQ(shown(), 1);
}

TEST_F(SkinButtonFixture, LosingTheFocusWhileHeldLetsGoWithoutAClick) {
    Press(button);
    EXPECT_EQ(shown(), 2);
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&button, &out);
    EXPECT_NE(button.currentLook(), CxSkinButton::Look::Pressed);
    Release(button);
    EXPECT_EQ(clicks, 0);
}

TEST(BitmapButtons, FixedButtonActsTwiceOnDoubleClickTheOtherOnce) {
    CFixedButton fixed;
    CBitmapButton plain;
    int fixedClicks = 0, plainClicks = 0;
    QObject::connect(&fixed, &QAbstractButton::clicked, [&] { ++fixedClicks; });
    QObject::connect(&plain, &QAbstractButton::clicked, [&] { ++plainClicks; });
    for (CBitmapButton* b : {static_cast<CBitmapButton*>(&fixed), &plain}) {
        b->resize(20, 20);
        b->show();
        Press(*b);
        Release(*b);
        DoubleClick(*b);
        Release(*b);
    }
    EXPECT_EQ(fixedClicks, 2);
    EXPECT_EQ(plainClicks, 1);
}

TEST(BitmapButtons, ShowTheLastBitmapGiven) {
    InitVellumoResources();
    CFixedButton toggle;
    toggle.SetBitmap(130);
    EXPECT_EQ(toggle.bitmapId(), 130);
    EXPECT_EQ(toggle.bitmap().size(), QSize(19, 19));
    toggle.SetBitmap(131);
    EXPECT_EQ(toggle.bitmapId(), 131);
    EXPECT_FALSE(toggle.bitmap().isNull());
}

}  // namespace

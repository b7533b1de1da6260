#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "platform/messages.h"
#include "support/test_support.h"
#include "widgets/translucent_button.h"
#include "widgets/translucent_dialog.h"

using namespace vellumo::platform;
using namespace vellumo::widgets;

namespace {

QImage Solid(QSize size, QColor colour) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// A 120 x 90 skin: transparent border of 10 pixels around an opaque grey body.
class Skin {
public:
    Skin() {
        QImage image(120, 90, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter(&image).fillRect(10, 10, 100, 70, QColor(200, 200, 200));
        path_ = QString::fromStdString(dir_.file("skin.png"));
        image.save(path_);
    }
    const QString& path() const { return path_; }

private:
    testsupport::TempDir dir_;
    QString path_;
};

QImage Render(QWidget& w) {
    QImage image(w.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    w.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

struct CountingListener : IRenderListener {
    int renders = 0;
    void requestRender() override { ++renders; }
};

void Enter(QWidget* w) {
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(w, &e);
}
void Leave(QWidget* w) {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
}
void Mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
    QMouseEvent e(type, local, w->mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void MouseGlobal(QWidget* w, QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
    QMouseEvent e(type, w->mapFromGlobal(global), global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

TEST(TranslucentButton, ImageFollowsTheStateTableInOrder) {
    CTranslucentButton button;
    const QImage normal = Solid({20, 10}, Qt::red), disabled = Solid({20, 10}, Qt::gray),
                 hover = Solid({20, 10}, Qt::green), pressed = Solid({20, 10}, Qt::blue),
                 checked = Solid({20, 10}, Qt::yellow);
    button.setStateImages(normal, disabled, hover, pressed, checked);
    EXPECT_EQ(button.size(), QSize(20, 10));  // the button takes the image's size
    EXPECT_EQ(button.currentImage(), normal);

    button.setEnabled(false);
    EXPECT_EQ(button.currentImage(), disabled);
    Enter(&button);  // hovering wins over disabled
    EXPECT_EQ(button.currentImage(), hover);
    Leave(&button);
    button.setEnabled(true);

    button.setCheckable(true);
    button.setChecked(true);
    EXPECT_EQ(button.currentImage(), checked);
    button.setEnabled(false);  // disabled wins over checked
    EXPECT_EQ(button.currentImage(), disabled);
    button.setEnabled(true);

    Enter(&button);
    EXPECT_EQ(button.currentImage(), hover);
    Mouse(&button, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
    EXPECT_EQ(button.currentImage(), pressed);
    Mouse(&button, QEvent::MouseButtonRelease, {5, 5}, Qt::NoButton);
    EXPECT_EQ(button.currentImage(), hover);
    // The release inside flipped the check box.
    EXPECT_FALSE(button.isChecked());
    Leave(&button);
    EXPECT_EQ(button.currentImage(), normal);
}

TEST(TranslucentButton, ReleaseOutsideClearsHoverAndStatesWithoutImageShowNormal) {
    CTranslucentButton button;
    const QImage normal = Solid({20, 10}, Qt::red);
    button.setStateImages(normal);
    button.setCheckable(true);
    Enter(&button);
    EXPECT_EQ(button.currentState(), CTranslucentButton::Hover);
    EXPECT_EQ(button.currentImage(), normal);  // no hover image
    Mouse(&button, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
    EXPECT_EQ(button.currentState(), CTranslucentButton::Pressed);
    Mouse(&button, QEvent::MouseButtonRelease, {50, 50}, Qt::NoButton);
    EXPECT_EQ(button.currentState(), CTranslucentButton::Normal);
    EXPECT_FALSE(button.isChecked());  // released outside: no click
}

TEST(TranslucentButton, AsksForARenderOnlyWhenItsImageChanges) {
    CTranslucentButton button;
    CountingListener listener;
    button.setStateImages(Solid({20, 10}, Qt::red));
    button.setRenderListener(&listener);
    Enter(&button);
    EXPECT_EQ(listener.renders, 1);
    Enter(&button);  // no change
    EXPECT_EQ(listener.renders, 1);
    Leave(&button);
    EXPECT_EQ(listener.renders, 2);
}

TEST(TranslucentDialog, PaintsTheSkinWithItsAlphaAndTheChildrenOnIt) {
    Skin skin;
    CTranslucentDialog dialog(skin.path());
    EXPECT_EQ(dialog.size(), QSize(120, 90));
    EXPECT_TRUE(dialog.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    auto* button = new CTranslucentButton(&dialog);
    button->setStateImages(Solid({20, 10}, Qt::red), Solid({20, 10}, Qt::gray));
    button->setGeometry(30, 40, 40, 20);  // the image is stretched to the button's place
    dialog.registerTranslucentChild(button);

    QImage image = Render(dialog);
    EXPECT_EQ(qAlpha(image.pixel(2, 2)), 0);  // see-through corner
    EXPECT_EQ(QColor(image.pixel(15, 15)), QColor(200, 200, 200));
    EXPECT_EQ(QColor(image.pixel(31, 41)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(68, 58)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(71, 61)), QColor(200, 200, 200));

    button->setEnabled(false);
    image = Render(dialog);
    EXPECT_EQ(QColor(image.pixel(50, 50)), QColor(Qt::gray));
    button->hide();
    image = Render(dialog);
    EXPECT_EQ(QColor(image.pixel(50, 50)), QColor(200, 200, 200));
}

TEST(TranslucentDialog, CentresInTheAvailableAreaAlsoWithNegativeOffsets) {
    EXPECT_EQ(CTranslucentDialog::centredPosition({0, 0, 1280, 900}, {899, 665}), QPoint(190, 117));
    EXPECT_EQ(CTranslucentDialog::centredPosition({0, 0, 800, 600}, {899, 665}), QPoint(-49, -32));
    EXPECT_EQ(CTranslucentDialog::centredPosition({100, 30, 1000, 700}, {899, 665}),
              QPoint(150, 47));
    Skin skin;
    CTranslucentDialog dialog(skin.path());
    dialog.show();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(dialog.pos(), CTranslucentDialog::centredPosition(area, dialog.size()));
}

class WithCompanion : public CTranslucentDialog {
public:
    WithCompanion(const QString& skin, bool separateWindow)
        : CTranslucentDialog(skin), separate_(separateWindow) {}
    QWidget* made = nullptr;

protected:
    QWidget* createCompanionDialog() override {
        made =
            separate_ ? new QWidget(this, Qt::Window | Qt::FramelessWindowHint) : new QWidget(this);
        return made;
    }

private:
    bool separate_;
};

TEST(TranslucentDialog, CompanionLiesExactlyOverTheSkinAndFollowsIt) {
    Skin skin;
    WithCompanion child(skin.path(), false);
    child.show();
    ASSERT_NE(child.companion(), nullptr);
    EXPECT_EQ(child.companion(), child.made);
    EXPECT_TRUE(child.made->isVisible());
    EXPECT_EQ(child.made->geometry(), child.rect());

    WithCompanion window(skin.path(), true);
    window.show();
    ASSERT_NE(window.made, nullptr);
    EXPECT_EQ(window.made->geometry(), window.geometry());
    window.move(window.pos() + QPoint(37, -12));
    EXPECT_EQ(window.made->geometry(), window.geometry());
}

TEST(TranslucentDialog, DraggingTheSkinOrTheCompanionsBackgroundMovesTheWindow) {
    Skin skin;
    WithCompanion dialog(skin.path(), false);
    dialog.show();
    const QPoint start = dialog.pos();
    const QPoint grip = dialog.mapToGlobal(QPoint(15, 15));
    // Offscreen there is no window manager to move it: the window follows the pointer itself.
    MouseGlobal(&dialog, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    MouseGlobal(&dialog, QEvent::MouseMove, grip + QPoint(20, 30), Qt::LeftButton);
    MouseGlobal(&dialog, QEvent::MouseButtonRelease, grip + QPoint(20, 30), Qt::NoButton);
    EXPECT_EQ(dialog.pos(), start + QPoint(20, 30));
    MouseGlobal(&dialog, QEvent::MouseMove, grip + QPoint(90, 90), Qt::NoButton);
    EXPECT_EQ(dialog.pos(), start + QPoint(20, 30));  // released: no more moving

    const QPoint at = dialog.pos();
    const QPoint g2 = dialog.made->mapToGlobal(QPoint(50, 50));
    MouseGlobal(dialog.made, QEvent::MouseButtonPress, g2, Qt::LeftButton);
    MouseGlobal(dialog.made, QEvent::MouseMove, g2 + QPoint(-5, 8), Qt::LeftButton);
    MouseGlobal(dialog.made, QEvent::MouseButtonRelease, g2 + QPoint(-5, 8), Qt::NoButton);
    EXPECT_EQ(dialog.pos(), at + QPoint(-5, 8));
    EXPECT_EQ(dialog.made->geometry(), dialog.rect());
}

TEST(TranslucentDialog, EscapeClosesItOnlyWithoutCompanion) {
    Skin skin;
    CTranslucentDialog alone(skin.path());
    alone.show();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&alone, &esc);
    EXPECT_FALSE(alone.isVisible());
    EXPECT_EQ(alone.result(), QDialog::Rejected);

    WithCompanion carried(skin.path(), false);
    carried.show();
    QKeyEvent esc2(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&carried, &esc2);
    EXPECT_TRUE(carried.isVisible());
}

TEST(TranslucentDialog, CloseMessageClosesIt) {
    Skin skin;
    CTranslucentDialog dialog(skin.path());
    dialog.show();
    SendWindowMessage(&dialog, msg::WM_CLOSE);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(TranslucentDialog, MissingSkinStillGivesAnOpaqueWindowOfTheSkinsSize) {
    CTranslucentDialog dialog(QStringLiteral("/nonexistent/skin.png"));
    EXPECT_EQ(dialog.size(), QSize(899, 665));
    const QImage image = Render(dialog);
    EXPECT_EQ(qAlpha(image.pixel(5, 5)), 255);
}

}  // namespace

#include "widgets/skin_button.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vellumo::widgets {

CxSkinButton::CxSkinButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    // The keyboard reaches it with Tab; a click does not leave a focus ring behind.
    setFocusPolicy(Qt::TabFocus);
}

void CxSkinButton::SetSkin(const QImage& normal, const QImage& pressed, const QImage& hover) {
    normal_ = normal;
    pressed_ = pressed;
    hover_ = hover;
    update();
}

void CxSkinButton::SetSkin(int normalId, int pressedId, int hoverId) {
    auto load = [](int id) { return QImage(QStringLiteral(":/images/%1.png").arg(id)); };
    SetSkin(load(normalId), load(pressedId), load(hoverId));
}

CxSkinButton::Look CxSkinButton::currentLook() const {
    if (!isEnabled()) return Look::Normal;
    if (isDown()) return Look::Pressed;
    if (hover_on_) return Look::Hover;
    return Look::Normal;
}

QImage CxSkinButton::currentImage() const {
    switch (currentLook()) {
        case Look::Pressed:
            return pressed_.isNull() ? normal_ : pressed_;
        case Look::Hover:
            return hover_.isNull() ? normal_ : hover_;
        case Look::Normal:
            break;
    }
    return normal_;
}

QSize CxSkinButton::sizeHint() const {
    return normal_.isNull() ? QSize(36, 36) : normal_.size();
}

void CxSkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!isEnabled()) painter.setOpacity(0.45);
    painter.drawImage(0, 0, currentImage());
}

bool CxSkinButton::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::HoverEnter:
        case QEvent::Enter:
            hover_on_ = true;
            update();
            break;
        case QEvent::HoverLeave:
        case QEvent::Leave:
            hover_on_ = false;
            update();
            break;
        case QEvent::HoverMove:
            if (!hover_on_) {
                hover_on_ = true;
                update();
            }
            break;
        default:
            break;
    }
    return QAbstractButton::event(event);
}

void CxSkinButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click: the release that follows reports a second click.
    mousePressEvent(event);
}

void CxSkinButton::focusOutEvent(QFocusEvent* event) {
    // Losing the focus while held lets the mouse go: no click comes of it.
    if (isDown()) setDown(false);
    QAbstractButton::focusOutEvent(event);
}

}  // namespace vellumo::widgets

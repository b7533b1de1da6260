#include "widgets/translucent_button.h"

#include <QMouseEvent>

#include "widgets/translucent_dialog.h"

namespace vellumo::widgets {

CTranslucentButton::CTranslucentButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_Hover);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void CTranslucentButton::setStateImages(const QImage& normal, const QImage& disabled,
                                        const QImage& hover, const QImage& pressed,
                                        const QImage& checked) {
    images_[Normal] = normal;
    images_[Disabled] = disabled;
    images_[Hover] = hover;
    images_[Pressed] = pressed;
    images_[Checked] = checked;
    if (!normal.isNull()) resize(normal.size());
    if (listener_) listener_->requestRender();
}

void CTranslucentButton::setImageForAllStates(const QImage& image) {
    setStateImages(image, image, image, image, image);
}

CTranslucentButton::State CTranslucentButton::currentState() const {
    if (hover_ && pressed_) return Pressed;
    if (hover_) return Hover;
    if (!isEnabled()) return Disabled;
    if (isCheckable() && isChecked()) return Checked;
    return Normal;
}

QImage CTranslucentButton::currentImage() const {
    const QImage& image = images_[currentState()];
    return image.isNull() ? images_[Normal] : image;
}

void CTranslucentButton::stateMayHaveChanged() {
    const State now = currentState();
    if (now == shown_) return;
    shown_ = now;
    if (listener_) listener_->requestRender();
}

bool CTranslucentButton::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::HoverEnter:
        case QEvent::Enter:
            hover_ = true;
            stateMayHaveChanged();
            break;
        case QEvent::HoverLeave:
        case QEvent::Leave:
            hover_ = false;
            stateMayHaveChanged();
            break;
        default:
            break;
    }
    return QAbstractButton::event(event);
}

void CTranslucentButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        stateMayHaveChanged();
    }
    QAbstractButton::mousePressEvent(event);
}

void CTranslucentButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = false;
        if (!rect().contains(event->position().toPoint())) hover_ = false;
    }
    QAbstractButton::mouseReleaseEvent(event);
    stateMayHaveChanged();
}

void CTranslucentButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) stateMayHaveChanged();
    QAbstractButton::changeEvent(event);
}

void CTranslucentButton::checkStateSet() {
    stateMayHaveChanged();
}

void CTranslucentButton::nextCheckState() {
    QAbstractButton::nextCheckState();
    stateMayHaveChanged();
}

}  // namespace vellumo::widgets

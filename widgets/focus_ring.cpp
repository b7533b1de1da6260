#include "widgets/focus_ring.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

#include "widgets/skin_palette.h"

namespace vellumo::widgets {

CFocusRing::CFocusRing(QWidget* host) : QWidget(host) {
    setObjectName(QStringLiteral("focusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { onFocusChanged(now); });
}

void CFocusRing::track(QWidget* control) {
    if (!control || tracked_.contains(control)) return;
    tracked_.insert(control);
    connect(control, &QObject::destroyed, this, [this, control] {
        tracked_.remove(control);
        if (target_ == control) follow();
    });
    if (control->hasFocus()) onFocusChanged(control);
}

void CFocusRing::onFocusChanged(QWidget* now) {
    QWidget* next = now && tracked_.contains(now) ? now : nullptr;
    if (next == target_) return follow();
    if (target_) target_->removeEventFilter(this);
    target_ = next;
    if (target_) target_->installEventFilter(this);
    follow();
}

void CFocusRing::follow() {
    QWidget* host = parentWidget();
    if (!target_ || !host || !target_->isVisible() || !target_->hasFocus()) {
        hide();
        return;
    }
    const int margin = kGap + kWidth;
    const QRect place(target_->mapTo(host, QPoint(0, 0)), target_->size());
    setGeometry(place.adjusted(-margin, -margin, margin, margin));
    raise();
    show();
    update();
}

bool CFocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == target_) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Hide:
            case QEvent::FocusOut:
                follow();
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CFocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor::fromRgb(kSkinAccent), kWidth);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRectF ring =
        QRectF(rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0);
    // Round controls (radios, toggles) get a round ring; wide ones a ring with their corners.
    const qreal radius = std::min<qreal>(8, std::min(ring.width(), ring.height()) / 2);
    painter.drawRoundedRect(ring, radius, radius);
}

}  // namespace vellumo::widgets

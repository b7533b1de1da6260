#include "widgets/bitmap_button.h"

#include <QAccessible>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>

namespace vellumo::widgets {

namespace {

QImage ResourceBitmap(int id) {
    // Radios and toggles change bitmaps on every click; each picture is decoded once.
    static QHash<int, QImage> cache;
    auto it = cache.find(id);
    if (it == cache.end()) it = cache.insert(id, QImage(QStringLiteral(":/images/%1.png").arg(id)));
    return *it;
}

}  // namespace

CBitmapButton::CBitmapButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
}

void CBitmapButton::SetBitmap(const QImage& image) {
    bitmap_ = image;
    bitmapId_ = 0;
    update();
}

void CBitmapButton::SetBitmap(int id) {
    bitmap_ = ResourceBitmap(id);
    bitmapId_ = id;
    update();
}

QSize CBitmapButton::sizeHint() const {
    return bitmap_.isNull() ? QSize(20, 20) : bitmap_.size();
}

void CBitmapButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, bitmap_);
}

void CBitmapButton::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void CBitmapButton::checkStateSet() {
    QAccessible::State changed;
    changed.checked = true;
    changed.selected = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void CFixedButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // Pushed again; the release that follows sends a second click.
    if (event->button() == Qt::LeftButton) {
        setDown(true);
        event->accept();
        return;
    }
    CBitmapButton::mouseDoubleClickEvent(event);
}

}  // namespace vellumo::widgets

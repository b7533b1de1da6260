#include "viewer/page_canvas.h"

#include <QContextMenuEvent>
#include <QGestureEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPinchGesture>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace vellumo::viewer {

PageCanvas::PageCanvas(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::OpenHandCursor);
    grabGesture(Qt::PinchGesture);
}

void PageCanvas::setPage(QSize pageSize, const QImage& picture) {
    message_.clear();
    pageSize_ = pageSize;
    picture_ = picture;
    scaled_ = QImage();
    fit_ = FitMode::Page;
    applyFit();
    update();
}

void PageCanvas::replacePicture(const QImage& picture) {
    if (picture.isNull()) return;
    picture_ = picture;
    scaled_ = QImage();
    update();
}

void PageCanvas::setMessage(const QString& text) {
    message_ = text;
    picture_ = QImage();
    scaled_ = QImage();
    pageSize_ = QSize();
    update();
}

void PageCanvas::applyFit() {
    if (pageSize_.isEmpty()) return;
    const QSizeF view = viewDevice();
    double z = zoom_;
    if (fit_ == FitMode::Page)
        z = std::min(view.width() / pageSize_.width(), view.height() / pageSize_.height());
    else if (fit_ == FitMode::Width)
        z = view.width() / pageSize_.width();
    zoom_ = std::clamp(z, kMinZoom, kMaxZoom);
    // Fitted pages start at their top, centred across.
    origin_ = QPointF((view.width() - pageSize_.width() * zoom_) / 2, 0);
    if (fit_ == FitMode::Page) origin_.setY((view.height() - pageSize_.height() * zoom_) / 2);
    clampOrigin();
    emit zoomChanged(zoom_);
}

void PageCanvas::fitPage() {
    fit_ = FitMode::Page;
    applyFit();
    update();
}

void PageCanvas::fitWidth() {
    fit_ = FitMode::Width;
    applyFit();
    update();
}

void PageCanvas::actualSize() {
    const QSizeF view = viewDevice();
    setZoomAt(1.0, QPointF(view.width() / 2, view.height() / 2));
}

void PageCanvas::zoomIn() {
    const QSizeF view = viewDevice();
    setZoomAt(zoom_ * kZoomStep, QPointF(view.width() / 2, view.height() / 2));
}

void PageCanvas::zoomOut() {
    const QSizeF view = viewDevice();
    setZoomAt(zoom_ / kZoomStep, QPointF(view.width() / 2, view.height() / 2));
}

void PageCanvas::zoomBy(double factor, QPointF anchor) {
    setZoomAt(zoom_ * factor, anchor * ratio());
}

void PageCanvas::setZoomAt(double zoom, QPointF anchor) {
    if (pageSize_.isEmpty()) return;
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    // The page point under the anchor stays under it.
    const QPointF pagePoint = (anchor - origin_) / zoom_;
    zoom_ = zoom;
    fit_ = FitMode::Free;
    origin_ = anchor - pagePoint * zoom_;
    clampOrigin();
    emit zoomChanged(zoom_);
    update();
}

void PageCanvas::panBy(QPointF delta) {
    origin_ += delta;
    clampOrigin();
    update();
}

void PageCanvas::clampOrigin() {
    if (pageSize_.isEmpty()) return;
    const QSizeF view = viewDevice();
    const double w = pageSize_.width() * zoom_, h = pageSize_.height() * zoom_;
    // A page smaller than the window stays centred; a larger one cannot leave a gap at an edge.
    auto clamp = [](double origin, double extent, double room) {
        if (extent <= room) return (room - extent) / 2;
        return std::clamp(origin, room - extent, 0.0);
    };
    origin_.setX(clamp(origin_.x(), w, view.width()));
    origin_.setY(
        fit_ == FitMode::Width && h <= view.height() ? 0.0 : clamp(origin_.y(), h, view.height()));
}

QPointF PageCanvas::pagePointAt(QPointF widgetPoint) const {
    return (widgetPoint * devicePixelRatioF() - origin_) / zoom_;
}

const QImage& PageCanvas::scaledPicture() {
    // Below 100 % the picture is reduced once per zoom with a smooth filter, so small text
    // stays readable instead of breaking up as sampled pixels do.
    const int w = std::max(1, static_cast<int>(std::lround(pageSize_.width() * zoom_)));
    const int h = std::max(1, static_cast<int>(std::lround(pageSize_.height() * zoom_)));
    if (w >= picture_.width() || h >= picture_.height()) return picture_;
    if (scaled_.isNull() || scaledZoom_ != zoom_) {
        scaled_ = picture_.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaledZoom_ = zoom_;
    }
    return scaled_;
}

void PageCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(64, 64, 64));
    if (picture_.isNull()) {
        painter.setPen(Qt::white);
        painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                         message_);
        return;
    }
    const double r = ratio();
    const QImage& source = scaledPicture();
    // Everything in device pixels, mapped back to logical coordinates once.
    const QRectF pageDevice(origin_, QSizeF(pageSize_) * zoom_);
    const QRectF visibleDevice = pageDevice.intersected(QRectF(QPointF(0, 0), viewDevice()));
    if (visibleDevice.isEmpty()) return;
    const double sx = source.width() / pageDevice.width();
    const double sy = source.height() / pageDevice.height();
    const QRectF sourceRect((visibleDevice.left() - pageDevice.left()) * sx,
                            (visibleDevice.top() - pageDevice.top()) * sy,
                            visibleDevice.width() * sx, visibleDevice.height() * sy);
    const QRectF target(visibleDevice.topLeft() / r, visibleDevice.size() / r);
    // Enlarged pixels stay sharp squares; a picture drawn at its own size needs no filter.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, sx > 1.01 || sy > 1.01);
    painter.drawImage(target, source, sourceRect);
}

void PageCanvas::resizeEvent(QResizeEvent*) {
    if (fit_ != FitMode::Free)
        applyFit();
    else
        clampOrigin();
}

void PageCanvas::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0 || pageSize_.isEmpty()) return;
    zoomBy(std::pow(kZoomStep, steps), event->position());
    event->accept();
}

void PageCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    lastDrag_ = event->position().toPoint();
    setCursor(Qt::ClosedHandCursor);
}

void PageCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    const QPoint now = event->position().toPoint();
    panBy(QPointF(now - lastDrag_) * ratio());
    lastDrag_ = now;
}

void PageCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = false;
    setCursor(Qt::OpenHandCursor);
}

void PageCanvas::keyPressEvent(QKeyEvent* event) {
    const QSizeF view = viewDevice();
    const double stepX = view.width() / 10, stepY = view.height() / 10;
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoomIn();
            return;
        case Qt::Key_Minus:
            zoomOut();
            return;
        case Qt::Key_F:
        case Qt::Key_0:
            fitPage();
            return;
        case Qt::Key_W:
            fitWidth();
            return;
        case Qt::Key_1:
            actualSize();
            return;
        case Qt::Key_Left:
            panBy(QPointF(stepX, 0));
            return;
        case Qt::Key_Right:
            panBy(QPointF(-stepX, 0));
            return;
        case Qt::Key_Up:
            panBy(QPointF(0, stepY));
            return;
        case Qt::Key_Down:
            panBy(QPointF(0, -stepY));
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

bool PageCanvas::event(QEvent* event) {
    // Touchpads pinch through native gestures; touch screens through the pinch gesture.
    if (event->type() == QEvent::NativeGesture) {
        auto* gesture = static_cast<QNativeGestureEvent*>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture) {
            zoomBy(1.0 + gesture->value(), gesture->position());
            return true;
        }
    }
    if (event->type() == QEvent::Gesture) {
        auto* gestures = static_cast<QGestureEvent*>(event);
        if (auto* pinch = static_cast<QPinchGesture*>(gestures->gesture(Qt::PinchGesture))) {
            if (pinch->changeFlags() & QPinchGesture::ScaleFactorChanged)
                zoomBy(pinch->scaleFactor(), mapFromGlobal(pinch->centerPoint()));
            return true;
        }
    }
    return QWidget::event(event);
}

void PageCanvas::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(tr("Fit page\tF"), this, &PageCanvas::fitPage);
    menu.addAction(tr("Fit width\tW"), this, &PageCanvas::fitWidth);
    menu.addAction(tr("100 %\t1"), this, &PageCanvas::actualSize);
    menu.addSeparator();
    menu.addAction(tr("Zoom in\t+"), this, &PageCanvas::zoomIn);
    menu.addAction(tr("Zoom out\t-"), this, &PageCanvas::zoomOut);
    menu.exec(event->globalPos());
}

}  // namespace vellumo::viewer

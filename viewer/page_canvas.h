// The picture area of the viewer: one page, fitted to the window or to its width, at 100 %
// (one page pixel on one screen pixel, also on HiDPI screens), or zoomed by the wheel, keys and
// pinch, and panned by dragging and the arrow keys. Zoom is kept in page pixels, so a reduced
// stand-in picture can be shown until the full page has been decoded.
#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QWidget>

namespace vellumo::viewer {

enum class FitMode { Page, Width, Free };

class PageCanvas : public QWidget {
    Q_OBJECT
public:
    explicit PageCanvas(QWidget* parent = nullptr);

    // The page's full size in pixels and a picture of it (full size or reduced).
    void setPage(QSize pageSize, const QImage& picture);
    // A better picture of the same page (the full decode): the view stays where it is.
    void replacePicture(const QImage& picture);
    // Shows a message instead of a page.
    void setMessage(const QString& text);

    void fitPage();
    void fitWidth();
    void actualSize();                           // 100 %
    void zoomBy(double factor, QPointF anchor);  // anchor in widget coordinates
    void zoomIn();
    void zoomOut();
    void panBy(QPointF deltaDevicePixels);

    FitMode fitMode() const { return fit_; }
    // Screen (device) pixels per page pixel.
    double zoom() const { return zoom_; }
    // Where the page's top-left corner lies, in device pixels of the widget.
    QPointF origin() const { return origin_; }
    QSize pageSize() const { return pageSize_; }
    bool hasPage() const { return !picture_.isNull(); }
    // The page pixel under a point of the widget.
    QPointF pagePointAt(QPointF widgetPoint) const;

    static constexpr double kMinZoom = 0.02;
    static constexpr double kMaxZoom = 32;
    static constexpr double kZoomStep = 1.25;

signals:
    void zoomChanged(double zoom);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    bool event(QEvent*) override;
    void contextMenuEvent(QContextMenuEvent*) override;

private:
    double ratio() const { return devicePixelRatioF(); }
    QSizeF viewDevice() const { return QSizeF(width(), height()) * ratio(); }
    void applyFit();
    void setZoomAt(double zoom, QPointF anchorDevice);
    void clampOrigin();
    const QImage& scaledPicture();

    QSize pageSize_;
    QImage picture_;
    QImage scaled_;  // picture_ smoothly reduced for the current zoom (zoom below 1)
    double scaledZoom_ = 0;
    QString message_;
    FitMode fit_ = FitMode::Page;
    double zoom_ = 1;
    QPointF origin_;
    bool dragging_ = false;
    QPoint lastDrag_;
};

}  // namespace vellumo::viewer

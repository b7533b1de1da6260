#include "editing/preview_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <array>
#include <cmath>

#include "editing/save_image_file.h"
#include "imaging/transform.h"
#include "platform/dialogs.h"
#include "widgets/dialog_units.h"
#include "widgets/image_convert.h"

namespace vellumo::editing {

using namespace vellumo::imaging;
using namespace vellumo::widgets;
using platform::Dialogs;

void DrawImage(QPainter& painter, int x, int y, const ImageBuffer& image) {
    const QImage picture = ImageToQImage(image);
    if (!picture.isNull()) painter.drawImage(QPoint(x, y), picture);
}

// The black picture frame; the dialog paints the display copy and the selection into it.
// Mouse events pass through to the dialog, which keeps the selection in its own coordinates.
class CPreviewFrame : public QWidget {
public:
    CPreviewFrame(CPreviewDlg* dialog) : QWidget(dialog), dialog_(dialog) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        dialog_->paintFrame(painter);
    }

private:
    CPreviewDlg* dialog_;
};

namespace {

// Waits with the wait cursor for the length of an edit, and puts back the previous one.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// The zoom steps in percent of the image's own pixels.
constexpr std::array kZoomSteps = {10, 25, 33, 50, 67, 100, 150, 200, 300, 400, 600, 800, 1600};

QSize ZoomedSize(const ImageBuffer& image, double scale) {
    return QSize(static_cast<int>(std::ceil(AreaWidth(image) * scale)),
                 static_cast<int>(std::ceil(AreaHeight(image) * scale)));
}

// The working area as the zoomed view draws it: its own pixels in 32-bit colour, which Qt
// scales fastest (a bilevel page shows its real black and white dots).
QImage ZoomSource(const ImageBuffer& image) {
    return ImageToQImage(image).convertToFormat(QImage::Format_RGB32);
}

SelectionRect Normalised(const SelectionRect& r) {
    return SelectionRect{qMin(r.left, r.right), qMin(r.top, r.bottom), qMax(r.left, r.right),
                         qMax(r.top, r.bottom)};
}

}  // namespace

CPreviewDlg::CPreviewDlg(ImageBuffer& workingImage, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      workingImage_(workingImage) {
    setWindowTitle(tr("Vellumo - Scanned image preview"));
    setFont(TemplateFont());
    setFixedSize(DialogUnitsToPixels(QSize(339, 277)));

    struct Button {
        int id;
        const char* caption;
        QRect place;
        void (CPreviewDlg::*handler)();
    };
    const Button buttons[] = {
        {IDOK, QT_TR_NOOP("OK"), {263, 251, 73, 18}, nullptr},
        {IDCANCEL, QT_TR_NOOP("Dis&card"), {263, 6, 73, 18}, nullptr},
        {IDC_SAVE_AS, QT_TR_NOOP("&Save as..."), {263, 27, 73, 18}, &CPreviewDlg::OnSaveAs},
        {IDC_CROP, QT_TR_NOOP("&Crop"), {263, 125, 73, 18}, &CPreviewDlg::OnCrop},
        {IDC_ROTATE_LEFT,
         QT_TR_NOOP("Rotate &left"),
         {263, 148, 73, 18},
         &CPreviewDlg::OnRotateLeft},
        {IDC_ROTATE_RIGHT,
         QT_TR_NOOP("Rotate &right"),
         {263, 171, 73, 18},
         &CPreviewDlg::OnRotateRight},
        {IDC_UPSIDE_DOWN,
         QT_TR_NOOP("&Upside down"),
         {263, 194, 73, 18},
         &CPreviewDlg::OnUpsideDown},
        {IDC_INVERT, QT_TR_NOOP("&Invert image"), {263, 217, 73, 18}, &CPreviewDlg::OnInvert},
        {IDC_ZOOM_IN, "+", {263, 60, 23, 18}, &CPreviewDlg::OnZoomIn},
        {IDC_ZOOM_OUT, "-", {288, 60, 23, 18}, &CPreviewDlg::OnZoomOut},
        {IDC_ZOOM_FIT, QT_TR_NOOP("&Fit"), {313, 60, 23, 18}, &CPreviewDlg::OnZoomFit},
    };
    for (const Button& b : buttons) {
        auto* button = new QPushButton(tr(b.caption), this);
        button->setObjectName(QString::number(b.id));
        button->setGeometry(DialogUnitsToPixels(b.place));
        button->setAutoDefault(false);
        if (b.handler) connect(button, &QPushButton::clicked, this, b.handler);
        if (b.id == IDOK) {
            ok_ = button;
            button->setDefault(true);
            connect(button, &QPushButton::clicked, this, &QDialog::accept);
        } else if (b.id == IDCANCEL) {
            connect(button, &QPushButton::clicked, this, &QDialog::reject);
        } else if (b.id == IDC_CROP) {
            crop_ = button;
            button->setEnabled(false);
        }
    }
    frame_ = new CPreviewFrame(this);
    frame_->setObjectName(QString::number(IDC_FRAME));
    frame_->setGeometry(DialogUnitsToPixels(QRect(7, 6, 251, 263)));
    zoomText_ = new QLabel(QStringLiteral("Fit"), this);
    zoomText_->setObjectName(QString::number(IDC_ZOOM_TEXT));
    zoomText_->setAlignment(Qt::AlignCenter);
    zoomText_->setGeometry(DialogUnitsToPixels(QRect(263, 81, 73, 10)));
    // The bars lie over the frame's inside; the frame itself lets the mouse through to the
    // dialog, so they are the dialog's own children.
    hbar_ = new QScrollBar(Qt::Horizontal, this);
    vbar_ = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {hbar_, vbar_}) {
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, &CPreviewDlg::scrolled);
    }
}

CPreviewDlg::~CPreviewDlg() {
    FreeImage(display_);
}

int CPreviewDlg::DoModal() {
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CPreviewDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!initialised_) {
        initialised_ = true;
        OnInitDialog();
    }
}

void CPreviewDlg::OnInitDialog() {
    remakeDisplayCopy();
    ok_->setFocus();
}

QWidget* CPreviewDlg::control(int id) const {
    return findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

void CPreviewDlg::remakeDisplayCopy() {
    MakeDisplayCopy(workingImage_, frame_->width(), frame_->height(), display_);
    zoomSource_ = QImage();
    if (zoom_) zoomSource_ = ZoomSource(workingImage_);
    layoutScrollBars();
    frame_->update();
}

double CPreviewDlg::fitScale() const {
    const uint32_t w = AreaWidth(workingImage_);
    return display_.header && w ? static_cast<double>(AreaWidth(display_)) / w : 1.0;
}

double CPreviewDlg::scale() const {
    return zoom_ ? zoom_ / 100.0 : fitScale();
}

QRect CPreviewDlg::viewRect() const {
    QRect view = frame_->geometry().adjusted(1, 1, -1, -1);
    if (!hbar_->isHidden()) view.setBottom(view.bottom() - hbar_->height());
    if (!vbar_->isHidden()) view.setRight(view.right() - vbar_->width());
    return view;
}

void CPreviewDlg::layoutScrollBars() {
    if (!zoom_ || !display_.header) {
        hbar_->hide();
        vbar_->hide();
        return;
    }
    const QRect inside = frame_->geometry().adjusted(1, 1, -1, -1);
    const QSize zoomed = ZoomedSize(workingImage_, scale());
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool across = zoomed.width() > inside.width(), down = zoomed.height() > inside.height();
    if (across && !down) down = zoomed.height() > inside.height() - extent;
    if (down && !across) across = zoomed.width() > inside.width() - extent;
    const int viewWidth = inside.width() - (down ? extent : 0);
    const int viewHeight = inside.height() - (across ? extent : 0);
    const QSignalBlocker quietH(hbar_), quietV(vbar_);
    hbar_->setGeometry(inside.left(), inside.bottom() - extent + 1, viewWidth, extent);
    vbar_->setGeometry(inside.right() - extent + 1, inside.top(), extent, viewHeight);
    hbar_->setRange(0, qMax(0, zoomed.width() - viewWidth));
    vbar_->setRange(0, qMax(0, zoomed.height() - viewHeight));
    hbar_->setPageStep(viewWidth);
    vbar_->setPageStep(viewHeight);
    hbar_->setSingleStep(qMax(1, viewWidth / 10));
    vbar_->setSingleStep(qMax(1, viewHeight / 10));
    hbar_->setVisible(across);
    vbar_->setVisible(down);
}

QPointF CPreviewDlg::zoomedOrigin() const {
    const QRect view = viewRect();
    const QSize zoomed = ZoomedSize(workingImage_, scale());
    // Smaller than the view: centred; larger: where the bars have moved it.
    const int x = zoomed.width() <= view.width() ? view.left() + (view.width() - zoomed.width()) / 2
                                                 : view.left() - hbar_->value();
    const int y = zoomed.height() <= view.height()
                      ? view.top() + (view.height() - zoomed.height()) / 2
                      : view.top() - vbar_->value();
    return QPointF(x, y);
}

void CPreviewDlg::setZoom(int percent, QPoint anchor) {
    if (!display_.header) return;
    percent = percent <= 0 ? 0 : qBound(kZoomSteps.front(), percent, kZoomSteps.back());
    const QRect before = viewRect();
    const QPoint at = anchor.isNull() ? before.center() : anchor;
    const QPointF imagePoint = (QPointF(at) - zoomedOrigin()) / scale();
    zoom_ = percent;
    // A selection marks screen pixels of the old view; it would cut the wrong part now.
    selection_ = SelectionRect{};
    tracking_ = false;
    crop_->setEnabled(false);
    if (zoom_ && zoomSource_.isNull()) zoomSource_ = ZoomSource(workingImage_);
    if (!zoom_) zoomSource_ = QImage();
    layoutScrollBars();
    if (zoom_) {
        const QRect view = viewRect();
        const QSignalBlocker quietH(hbar_), quietV(vbar_);
        hbar_->setValue(
            static_cast<int>(std::lround(view.left() + imagePoint.x() * scale() - at.x())));
        vbar_->setValue(
            static_cast<int>(std::lround(view.top() + imagePoint.y() * scale() - at.y())));
    }
    zoomText_->setText(zoom_ ? QStringLiteral("%1 %").arg(zoom_) : QStringLiteral("Fit"));
    frame_->update();
}

int CPreviewDlg::nextZoom(int direction) const {
    const double now = scale() * 100.0, fit = fitScale() * 100.0;
    if (direction > 0) {
        for (int step : kZoomSteps)
            if (step > now + 0.5) return step;
        return -1;
    }
    if (!zoom_) return -1;  // fitted is the smallest view
    for (auto step = kZoomSteps.rbegin(); step != kZoomSteps.rend(); ++step)
        if (*step < now - 0.5) return *step > fit + 0.5 ? *step : 0;
    return 0;
}

void CPreviewDlg::OnZoomIn() {
    if (const int percent = nextZoom(1); percent >= 0) setZoom(percent);
}

void CPreviewDlg::OnZoomOut() {
    if (const int percent = nextZoom(-1); percent >= 0) setZoom(percent);
}

void CPreviewDlg::OnZoomFit() {
    setZoom(0);
}

void CPreviewDlg::scrolled() {
    selection_ = SelectionRect{};
    tracking_ = false;
    crop_->setEnabled(false);
    frame_->update();
}

void CPreviewDlg::paintZoomed(QPainter& painter) {
    // Only the part of the picture inside the view is drawn, so a page at 1600 % costs no
    // more than one that fits.
    const QRect view = viewRect().translated(-frame_->pos());
    const QPointF origin = zoomedOrigin() - QPointF(frame_->pos());
    const double s = scale();
    const int w = zoomSource_.width(), h = zoomSource_.height();
    const int x0 = qBound(0, static_cast<int>(std::floor((view.left() - origin.x()) / s)), w);
    const int y0 = qBound(0, static_cast<int>(std::floor((view.top() - origin.y()) / s)), h);
    const int x1 = qBound(0, static_cast<int>(std::ceil((view.right() + 1 - origin.x()) / s)), w);
    const int y1 = qBound(0, static_cast<int>(std::ceil((view.bottom() + 1 - origin.y()) / s)), h);
    if (x1 <= x0 || y1 <= y0) return;
    painter.save();
    painter.setClipRect(view);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, s < 1.0);
    painter.drawImage(
        QRectF(origin.x() + x0 * s, origin.y() + y0 * s, (x1 - x0) * s, (y1 - y0) * s), zoomSource_,
        QRectF(x0, y0, x1 - x0, y1 - y0));
    painter.restore();
}

QPoint CPreviewDlg::drawOffset() const {
    const int x = (frame_->width() - static_cast<int>(AreaWidth(display_))) / 2;
    const int y = (frame_->height() - static_cast<int>(AreaHeight(display_))) / 2;
    return display_.header ? QPoint(qMax(x, 0), qMax(y, 0)) : QPoint(0, 0);
}

QRect CPreviewDlg::displayedImageRect() const {
    if (!display_.header) return QRect();
    if (zoom_)
        return QRect(zoomedOrigin().toPoint(), ZoomedSize(workingImage_, scale()))
            .intersected(viewRect());
    const QPoint origin = frame_->pos() + drawOffset();
    return QRect(origin, QSize(static_cast<int>(AreaWidth(display_)),
                               static_cast<int>(AreaHeight(display_))));
}

void CPreviewDlg::paintFrame(QPainter& painter) {
    painter.fillRect(frame_->rect(), palette().window());
    painter.setPen(Qt::black);
    painter.drawRect(frame_->rect().adjusted(0, 0, -1, -1));
    if (zoom_) {
        paintZoomed(painter);
    } else {
        const QPoint offset = drawOffset();
        DrawImage(painter, offset.x(), offset.y(), display_);
    }

    // The outline is the inverse of what lies under it, so it shows on any picture.
    const SelectionRect r = Normalised(tracking_ ? trackingRect_ : selection_);
    if (r.right == r.left || r.bottom == r.top) return;
    const QRect outline(QPoint(r.left, r.top) - frame_->pos(),
                        QPoint(r.right, r.bottom) - frame_->pos());
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outline.adjusted(0, 0, -1, -1));
}

QPoint CPreviewDlg::clampToImage(const QPoint& p) const {
    const QRect image = displayedImageRect();
    return QPoint(qBound(image.left(), p.x(), image.right()),
                  qBound(image.top(), p.y(), image.bottom()));
}

void CPreviewDlg::mousePressEvent(QMouseEvent* event) {
    if (zoom_ && (event->button() == Qt::MiddleButton || event->button() == Qt::RightButton)) {
        panning_ = true;
        panFrom_ = event->position().toPoint();
        scrollFrom_ = QPoint(hbar_->value(), vbar_->value());
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
    const QPoint p = event->position().toPoint();
    const QRect image = displayedImageRect();
    if (!image.contains(p)) {
        // A click outside the picture keeps the selection there is.
        tracking_ = false;
        return;
    }
    tracking_ = true;
    trackingRect_ = SelectionRect{p.x(), p.y(), p.x(), p.y()};
    frame_->update();
}

void CPreviewDlg::mouseMoveEvent(QMouseEvent* event) {
    if (panning_) {
        const QPoint moved = event->position().toPoint() - panFrom_;
        hbar_->setValue(scrollFrom_.x() - moved.x());
        vbar_->setValue(scrollFrom_.y() - moved.y());
        return;
    }
    if (!tracking_) return QDialog::mouseMoveEvent(event);
    const QPoint corner = clampToImage(event->position().toPoint());
    trackingRect_.right = corner.x();
    trackingRect_.bottom = corner.y();
    frame_->update();
}

void CPreviewDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (panning_ && event->button() != Qt::LeftButton) {
        panning_ = false;
        unsetCursor();
        return;
    }
    if (event->button() != Qt::LeftButton || !tracking_) return QDialog::mouseReleaseEvent(event);
    const QPoint corner = clampToImage(event->position().toPoint());
    trackingRect_.right = corner.x();
    trackingRect_.bottom = corner.y();
    tracking_ = false;
    // A mere click or a twitch of a few pixels leaves the selection there was.
    const long long area = static_cast<long long>(trackingRect_.right - trackingRect_.left) *
                           (trackingRect_.bottom - trackingRect_.top);
    if (std::llabs(area) >= 5) {
        selection_ = Normalised(trackingRect_);
        crop_->setEnabled(true);
    }
    frame_->update();
}

void CPreviewDlg::wheelEvent(QWheelEvent* event) {
    const int turn = event->angleDelta().y();
    if (turn == 0) return QDialog::wheelEvent(event);
    // The point under the mouse stays where it is, as in every picture viewer.
    const QPoint at = event->position().toPoint();
    if (const int percent = nextZoom(turn > 0 ? 1 : -1); percent >= 0)
        setZoom(percent, viewRect().contains(at) ? at : QPoint());
    event->accept();
}

void CPreviewDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            return OnZoomIn();
        case Qt::Key_Minus:
            return OnZoomOut();
        case Qt::Key_Asterisk:
        case Qt::Key_0:
            return OnZoomFit();
        default:
            return QDialog::keyPressEvent(event);
    }
}

void CPreviewDlg::afterEdit() {
    selection_ = SelectionRect{};
    crop_->setEnabled(false);
    remakeDisplayCopy();
}

void CPreviewDlg::OnCrop() {
    if (!hasSelection() || !display_.header) return;
    const QRect image = displayedImageRect();
    const QPointF origin = zoomedOrigin();
    const SelectionRect area =
        zoom_
            ? ZoomedSelectionToImageArea(workingImage_, scale(), selection_, origin.x(), origin.y())
            : SelectionToImageArea(workingImage_, display_, selection_, image.left(), image.top());
    {
        WaitCursor wait;
        CropImageToArea(workingImage_, area);
    }
    afterEdit();
}

void CPreviewDlg::OnRotateLeft() {
    {
        WaitCursor wait;
        RotateWorkingImage(workingImage_, 1);
    }
    afterEdit();
}

void CPreviewDlg::OnRotateRight() {
    {
        WaitCursor wait;
        RotateWorkingImage(workingImage_, 0);
    }
    afterEdit();
}

void CPreviewDlg::OnUpsideDown() {
    {
        WaitCursor wait;
        RotateImage(180, workingImage_, workingImage_);
    }
    afterEdit();
}

void CPreviewDlg::OnInvert() {
    {
        WaitCursor wait;
        InvertImage(workingImage_, workingImage_);
    }
    afterEdit();
}

void CPreviewDlg::OnSaveAs() {
    // The picture is not changed by saving it, so the selection stays as it is and can still
    // be cropped afterwards.
    SaveImageFile(workingImage_, this);
}

}  // namespace vellumo::editing

#include "editing/preview_dlg.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

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
    frame_->update();
}

QPoint CPreviewDlg::drawOffset() const {
    const int x = (frame_->width() - static_cast<int>(AreaWidth(display_))) / 2;
    const int y = (frame_->height() - static_cast<int>(AreaHeight(display_))) / 2;
    return display_.header ? QPoint(qMax(x, 0), qMax(y, 0)) : QPoint(0, 0);
}

QRect CPreviewDlg::displayedImageRect() const {
    if (!display_.header) return QRect();
    const QPoint origin = frame_->pos() + drawOffset();
    return QRect(origin, QSize(static_cast<int>(AreaWidth(display_)),
                               static_cast<int>(AreaHeight(display_))));
}

void CPreviewDlg::paintFrame(QPainter& painter) {
    painter.fillRect(frame_->rect(), palette().window());
    painter.setPen(Qt::black);
    painter.drawRect(frame_->rect().adjusted(0, 0, -1, -1));
    const QPoint offset = drawOffset();
    DrawImage(painter, offset.x(), offset.y(), display_);

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
    if (!tracking_) return QDialog::mouseMoveEvent(event);
    const QPoint corner = clampToImage(event->position().toPoint());
    trackingRect_.right = corner.x();
    trackingRect_.bottom = corner.y();
    frame_->update();
}

void CPreviewDlg::mouseReleaseEvent(QMouseEvent* event) {
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

void CPreviewDlg::afterEdit() {
    selection_ = SelectionRect{};
    crop_->setEnabled(false);
    remakeDisplayCopy();
}

void CPreviewDlg::OnCrop() {
    if (!hasSelection() || !display_.header) return;
    const QRect image = displayedImageRect();
    const SelectionRect area =
        SelectionToImageArea(workingImage_, display_, selection_, image.left(), image.top());
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

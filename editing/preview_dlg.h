// The preview of a freshly scanned image: the working image scaled to fit a picture frame, or
// zoomed (wheel, + and -, back to fit) and panned (scroll bars, dragging with the middle or
// right button), with a rubber-band selection to crop it at any zoom, quarter turns either way,
// upside down, invert and saving it as a graphics file. Every edit changes the working image
// itself; "OK" keeps it (IDOK), "Discard" drops it (IDCANCEL).
#pragma once

#include <QDialog>
#include <QImage>

#include "imaging/image_buffer.h"
#include "imaging/working_image.h"

class QLabel;
class QPainter;
class QPushButton;
class QScrollBar;

namespace vellumo::editing {

// Draws the image's working area with its top-left corner at (x, y).
void DrawImage(QPainter& painter, int x, int y, const imaging::ImageBuffer& image);

class CPreviewDlg : public QDialog {
    Q_OBJECT
public:
    enum : int {
        IDOK = 1,
        IDCANCEL = 2,
        IDC_CROP = 1056,
        IDC_ROTATE_RIGHT = 1057,
        IDC_ROTATE_LEFT = 1064,
        IDC_FRAME = 1076,
        IDC_UPSIDE_DOWN = 2250,
        IDC_INVERT = 2300,
        IDC_SAVE_AS = 2310,
        IDC_ZOOM_IN = 2320,
        IDC_ZOOM_OUT = 2321,
        IDC_ZOOM_FIT = 2322,
        IDC_ZOOM_TEXT = 2323,
    };

    // The dialog edits `workingImage` (the page document's image under work) in place.
    explicit CPreviewDlg(imaging::ImageBuffer& workingImage, QWidget* parent = nullptr);
    ~CPreviewDlg() override;

    // Runs the dialog; IDOK keeps the working image, IDCANCEL drops it.
    int DoModal();
    // Makes the display copy and sets the focus on "OK"; runs when the dialog is shown.
    void OnInitDialog();

    // Rebuilds the display copy from the working image for the frame's current size.
    void remakeDisplayCopy();

    QWidget* control(int id) const;
    QWidget* frame() const { return frame_; }
    const imaging::ImageBuffer& displayCopy() const { return display_; }
    // Where the display copy lies inside the frame.
    QPoint drawOffset() const;
    // The displayed image's first and last pixel in dialog coordinates.
    QRect displayedImageRect() const;
    // The selection in dialog coordinates, normalised; empty when there is none.
    imaging::SelectionRect selection() const { return selection_; }
    bool hasSelection() const { return !selection_.empty(); }

    // The zoom in percent of the image's own pixels; 0 while the image is fitted to the frame.
    int zoom() const { return zoom_; }
    // Shows the image at `percent` (0: fit), keeping the image point under `anchor` (dialog
    // coordinates; the middle of the view when null) where it is. The selection goes.
    void setZoom(int percent, QPoint anchor = QPoint());
    // The next step up or down from what is shown now; below the fitted size is fit.
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomFit();
    QScrollBar* horizontalScrollBar() const { return hbar_; }
    QScrollBar* verticalScrollBar() const { return vbar_; }
    // Where the image is seen when zoomed, in dialog coordinates: the frame's inside less the
    // scroll bars shown.
    QRect viewRect() const;

    void OnCrop();
    void OnRotateLeft();
    void OnRotateRight();
    void OnUpsideDown();
    void OnInvert();
    void OnSaveAs();

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class CPreviewFrame;
    void paintFrame(QPainter& painter);
    // After every edit: no selection, "Crop" off, a new display copy, the frame repainted.
    void afterEdit();
    QPoint clampToImage(const QPoint& p) const;
    // Screen pixels per image pixel at the zoom shown (the fitted scale at fit).
    double scale() const;
    double fitScale() const;
    // The zoom one step in (direction > 0) or out; -1 when there is none.
    int nextZoom(int direction) const;
    // Where the zoomed area's top-left corner is drawn, in dialog coordinates.
    QPointF zoomedOrigin() const;
    // Places and sizes the scroll bars for the zoom; keeps their values where they can stay.
    void layoutScrollBars();
    void paintZoomed(QPainter& painter);
    void scrolled();

    imaging::ImageBuffer& workingImage_;
    QWidget* frame_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* crop_ = nullptr;
    imaging::ImageBuffer display_ = {};
    imaging::SelectionRect selection_;
    bool tracking_ = false;
    imaging::SelectionRect trackingRect_;
    bool initialised_ = false;
    int zoom_ = 0;
    QImage zoomSource_;  // the working area as the zoomed view draws it, made when first needed
    QScrollBar* hbar_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    QLabel* zoomText_ = nullptr;
    bool panning_ = false;
    QPoint panFrom_;
    QPoint scrollFrom_;
};

}  // namespace vellumo::editing

// The preview of a freshly scanned image: the working image scaled to fit a picture frame,
// with a rubber-band selection to crop it, quarter turns either way, upside down, invert and
// saving it as a graphics file. Every edit changes the working image itself; "OK" keeps it
// (IDOK), "Discard" drops it (IDCANCEL).
#pragma once

#include <QDialog>

#include "imaging/image_buffer.h"
#include "imaging/working_image.h"

class QPainter;
class QPushButton;

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

private:
    friend class CPreviewFrame;
    void paintFrame(QPainter& painter);
    // After every edit: no selection, "Crop" off, a new display copy, the frame repainted.
    void afterEdit();
    QPoint clampToImage(const QPoint& p) const;

    imaging::ImageBuffer& workingImage_;
    QWidget* frame_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* crop_ = nullptr;
    imaging::ImageBuffer display_ = {};
    imaging::SelectionRect selection_;
    bool tracking_ = false;
    imaging::SelectionRect trackingRect_;
    bool initialised_ = false;
};

}  // namespace vellumo::editing

#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include "editing/preview_dlg.h"
#include "tests/support/editing_fixtures.h"

using namespace vellumo::editing;
using namespace vellumo::imaging;

namespace editing {
namespace {

// A 300-dpi A4 page in the preview, shown.
class PreviewZoom : public EditingTest {
protected:
    void SetUp() override {
        EditingTest::SetUp();
        MakeGrey(document_.workingImage, 2480, 3508);
        dlg.show();
    }
    QImage frameShot() { return dlg.frame()->grab().toImage(); }
    // The grey value MakeGrey gives image pixel (x, y).
    static int GreyAt(int x, int y) { return (x * 7 + y * 13) % 256; }
    void key(int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(&dlg, &press);
    }
    void wheel(QPoint at, int delta) {
        QWheelEvent event(at, dlg.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&dlg, &event);
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button) {
        QMouseEvent event(type, at, dlg.mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&dlg, &event);
    }
    CPreviewDlg dlg{document_.workingImage};
};

TEST_F(PreviewZoom, CropAt400PercentCutsExactlyTheSelectedPixels) {
    dlg.setZoom(400);
    ASSERT_EQ(dlg.zoom(), 400);
    dlg.horizontalScrollBar()->setValue(4000);
    dlg.verticalScrollBar()->setValue(6000);
    const QRect view = dlg.viewRect();
    ASSERT_EQ(dlg.displayedImageRect(), view);  // the page fills the view

    // What is painted: every image pixel is a 4 x 4 block, image pixel (1000 + i, 1500 + j)
    // at view offset (4i, 4j).
    const QImage shot = frameShot();
    const QPoint inFrame = view.topLeft() - dlg.frame()->pos();
    for (const QPoint& block : {QPoint(10, 5), QPoint(11, 5), QPoint(10, 6), QPoint(40, 30)})
        for (const QPoint& corner : {QPoint(0, 0), QPoint(3, 3)}) {
            const QRgb pixel = shot.pixel(inFrame + block * 4 + corner);
            ASSERT_EQ(qGray(pixel), GreyAt(1000 + block.x(), 1500 + block.y()))
                << block.x() << "," << block.y();
        }

    // A drag from the block of pixel (1010, 1505) to the last screen pixel of (1059, 1534).
    const QPoint from = view.topLeft() + QPoint(40, 20);
    const QPoint to = view.topLeft() + QPoint(40 + 4 * 50 - 1, 20 + 4 * 30 - 1);
    Drag(&dlg, from, to);
    ASSERT_TRUE(dlg.hasSelection());
    static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDC_CROP))->click();
    ASSERT_EQ(ImageWidth(document_.workingImage), 50);
    ASSERT_EQ(ImageHeight(document_.workingImage), 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(AreaPixel(document_.workingImage, x, y), GreyAt(1010 + x, 1505 + y))
                << x << "," << y;
}

TEST_F(PreviewZoom, CropOfOnePixelBlockEdgeStaysOnItsPixel) {
    // The last screen pixel before a block boundary still belongs to the pixel before it; the
    // first one after it to the next.
    dlg.setZoom(400);
    dlg.horizontalScrollBar()->setValue(0);
    dlg.verticalScrollBar()->setValue(0);
    const QRect view = dlg.viewRect();
    Drag(&dlg, view.topLeft() + QPoint(3, 3), view.topLeft() + QPoint(4 * 10, 4 * 10 - 1));
    dlg.OnCrop();
    ASSERT_EQ(ImageWidth(document_.workingImage), 11);
    ASSERT_EQ(ImageHeight(document_.workingImage), 10);
    EXPECT_EQ(AreaPixel(document_.workingImage, 0, 0), GreyAt(0, 0));
}

TEST_F(PreviewZoom, FitLooksAsBeforeAndZoomStepsComeBackToIt) {
    const QImage fitted = frameShot();
    const QRect fittedImage = dlg.displayedImageRect();
    EXPECT_EQ(dlg.zoom(), 0);
    EXPECT_TRUE(dlg.horizontalScrollBar()->isHidden());
    EXPECT_EQ(dlg.findChild<QWidget*>(QString::number(CPreviewDlg::IDC_ZOOM_TEXT))
                  ->property("text")
                  .toString(),
              "Fit");

    key(Qt::Key_Plus);  // the first step above the fitted size (about 10 %)
    EXPECT_EQ(dlg.zoom(), 25);
    key(Qt::Key_Plus);
    EXPECT_EQ(dlg.zoom(), 33);
    EXPECT_FALSE(dlg.verticalScrollBar()->isHidden());
    key(Qt::Key_Minus);
    EXPECT_EQ(dlg.zoom(), 25);
    key(Qt::Key_Minus);  // below 25 % lies the fitted view
    EXPECT_EQ(dlg.zoom(), 0);
    key(Qt::Key_Minus);  // nothing is smaller than fit
    EXPECT_EQ(dlg.zoom(), 0);
    EXPECT_TRUE(dlg.verticalScrollBar()->isHidden());
    EXPECT_EQ(dlg.displayedImageRect(), fittedImage);
    EXPECT_EQ(frameShot(), fitted);

    static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDC_ZOOM_IN))->click();
    static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDC_ZOOM_IN))->click();
    EXPECT_EQ(dlg.zoom(), 33);
    static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDC_ZOOM_FIT))->click();
    EXPECT_EQ(dlg.zoom(), 0);
    EXPECT_EQ(frameShot(), fitted);
}

TEST_F(PreviewZoom, WheelZoomsAboutThePointUnderTheMouse) {
    dlg.setZoom(100);
    const QRect view = dlg.viewRect();
    const QPoint at = view.topLeft() + QPoint(100, 120);
    dlg.horizontalScrollBar()->setValue(500);
    dlg.verticalScrollBar()->setValue(700);
    // Image pixel (600, 820) lies under the mouse.
    wheel(at, 120);
    EXPECT_EQ(dlg.zoom(), 150);
    EXPECT_EQ(dlg.horizontalScrollBar()->value(), 600 * 3 / 2 - 100);
    EXPECT_EQ(dlg.verticalScrollBar()->value(), 820 * 3 / 2 - 120);
    wheel(at, -120);
    EXPECT_EQ(dlg.zoom(), 100);
    EXPECT_EQ(dlg.horizontalScrollBar()->value(), 500);
    EXPECT_EQ(dlg.verticalScrollBar()->value(), 700);
}

TEST_F(PreviewZoom, DraggingWithTheMiddleButtonPansAndASelectionDoesNotOutliveIt) {
    dlg.setZoom(200);
    dlg.horizontalScrollBar()->setValue(1000);
    dlg.verticalScrollBar()->setValue(1000);
    const QRect view = dlg.viewRect();
    Drag(&dlg, view.topLeft() + QPoint(10, 10), view.topLeft() + QPoint(60, 60));
    ASSERT_TRUE(dlg.hasSelection());

    const QPoint start = view.center();
    mouse(QEvent::MouseButtonPress, start, Qt::MiddleButton);
    mouse(QEvent::MouseMove, start + QPoint(-30, 45), Qt::MiddleButton);
    mouse(QEvent::MouseButtonRelease, start + QPoint(-30, 45), Qt::MiddleButton);
    EXPECT_EQ(dlg.horizontalScrollBar()->value(), 1030);
    EXPECT_EQ(dlg.verticalScrollBar()->value(), 955);
    // The selection marked screen pixels of the old view: it goes, and Crop with it.
    EXPECT_FALSE(dlg.hasSelection());
    EXPECT_FALSE(dlg.control(CPreviewDlg::IDC_CROP)->isEnabled());

    // The bars stop at the page's edge.
    dlg.horizontalScrollBar()->setValue(1 << 20);
    EXPECT_EQ(dlg.horizontalScrollBar()->value(), 2480 * 2 - view.width());
}

TEST_F(PreviewZoom, EditsKeepTheZoomAndShowTheNewPicture) {
    dlg.setZoom(100);
    dlg.OnRotateRight();
    EXPECT_EQ(dlg.zoom(), 100);
    // Now 3508 wide: the bar reaches that far.
    EXPECT_EQ(dlg.horizontalScrollBar()->maximum(), 3508 - dlg.viewRect().width());
    dlg.horizontalScrollBar()->setValue(0);
    dlg.verticalScrollBar()->setValue(0);
    // Turned right, the first row shows the old first column from the bottom up.
    const QImage shot = frameShot();
    const QPoint origin = dlg.viewRect().topLeft() - dlg.frame()->pos();
    EXPECT_EQ(qGray(shot.pixel(origin + QPoint(5, 0))), GreyAt(0, 3507 - 5));
}

}  // namespace
}  // namespace editing

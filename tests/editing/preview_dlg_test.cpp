#include "editing/preview_dlg.h"

#include <QPushButton>
#include <QTimer>
#include <set>

#include "imaging/transform.h"
#include "tests/support/editing_fixtures.h"

using namespace vellumo::document;
using namespace vellumo::editing;

using namespace vellumo::imaging;

namespace editing {
namespace {

using PreviewDisplay = EditingTest;
using PreviewSelection = EditingTest;
using PreviewEdits = EditingTest;

TEST_F(PreviewDisplay, LargePageInSmallFrameIsScaledToFit) {
    MakeGrey(document_.workingImage, 2480, 3508);
    CPreviewDlg dlg{document_.workingImage};
    dlg.frame()->resize(380, 430);
    dlg.remakeDisplayCopy();
    EXPECT_EQ(ImageWidth(dlg.displayCopy()), 297);
    EXPECT_EQ(ImageHeight(dlg.displayCopy()), 430);
    EXPECT_EQ(BitsPerPixel(dlg.displayCopy()), 8);
    EXPECT_EQ(dlg.drawOffset(), QPoint((380 - 297) / 2, 0));
    // Nearest-neighbour sampling: display pixel (10, 20) shows image pixel
    // (10 * 2480 / 297, 20 * 3508 / 430).
    EXPECT_EQ(AreaPixel(dlg.displayCopy(), 10, 20),
              (10 * 2480 / 297 * 7 + 20 * 3508 / 430 * 13) % 256);
    // The working image itself is not touched by showing it.
    EXPECT_EQ(ImageWidth(document_.workingImage), 2480);
}

TEST_F(PreviewDisplay, SmallImageIsShownAtItsOwnSizeCentred) {
    MakeColour(document_.workingImage, 120, 80);
    CPreviewDlg dlg{document_.workingImage};
    dlg.show();  // the display copy is made when the dialog opens
    const QSize frame = dlg.frame()->size();
    ASSERT_GT(frame.width(), 120);
    ASSERT_GT(frame.height(), 80);
    EXPECT_EQ(ImageWidth(dlg.displayCopy()), 120);
    EXPECT_EQ(ImageHeight(dlg.displayCopy()), 80);
    EXPECT_TRUE(SamePicture(dlg.displayCopy(), document_.workingImage));
    EXPECT_EQ(dlg.drawOffset(), QPoint((frame.width() - 120) / 2, (frame.height() - 80) / 2));
    EXPECT_EQ(dlg.focusWidget(), dlg.control(CPreviewDlg::IDOK));

    // What is painted: the picture centred in the frame.
    const QImage shot = dlg.frame()->grab().toImage();
    const QPoint at = dlg.drawOffset() + QPoint(5, 7);
    EXPECT_EQ(shot.pixel(at), qRgb((5 + 7) % 256, 7, 5));
}

TEST_F(PreviewDisplay, BilevelScanIsShownAsSmoothedGrey) {
    MakeBilevel(document_.workingImage, 60, 40);
    CPreviewDlg dlg{document_.workingImage};
    dlg.frame()->resize(380, 430);
    dlg.remakeDisplayCopy();
    ASSERT_EQ(BitsPerPixel(dlg.displayCopy()), 8);
    // Inside a white block of 3 x 5 the 3 x 3 mean is white; on an edge it is a grey between.
    std::set<int> values;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) values.insert(AreaPixel(dlg.displayCopy(), x, y));
    EXPECT_TRUE(values.count(255));
    EXPECT_TRUE(values.count(0));
    EXPECT_GT(values.size(), 2u);
    EXPECT_EQ(BitsPerPixel(document_.workingImage), 1);
}

class PreviewWithImage : public EditingTest {
protected:
    void SetUp() override {
        EditingTest::SetUp();
        MakeGrey(document_.workingImage, 200, 150);
        dlg.show();
        image = dlg.displayedImageRect();
        ASSERT_EQ(image.size(), QSize(200, 150));
    }
    QPushButton* crop() { return static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDC_CROP)); }
    CPreviewDlg dlg{document_.workingImage};
    QRect image;
};

TEST_F(PreviewWithImage, TinyDragMakesNoSelection) {
    EXPECT_FALSE(crop()->isEnabled());
    const QPoint p = image.topLeft() + QPoint(20, 20);
    Drag(&dlg, p, p + QPoint(2, 2));
    EXPECT_FALSE(dlg.hasSelection());
    EXPECT_FALSE(crop()->isEnabled());

    // Five square pixels are enough, in a row or a column.
    Drag(&dlg, p + QPoint(0, 40), p + QPoint(5, 41));
    EXPECT_TRUE(dlg.hasSelection());
    EXPECT_TRUE(crop()->isEnabled());

    // A real drag selects; a later twitch keeps that selection.
    Drag(&dlg, p, p + QPoint(30, 20));
    ASSERT_TRUE(dlg.hasSelection());
    EXPECT_TRUE(crop()->isEnabled());
    Drag(&dlg, p + QPoint(50, 50), p + QPoint(51, 52));
    EXPECT_EQ(dlg.selection().right, p.x() + 30);
    // A click outside the picture keeps it too.
    Drag(&dlg, QPoint(image.right() + 5, image.top()),
         QPoint(image.right() + 40, image.top() + 40));
    EXPECT_EQ(dlg.selection().bottom, p.y() + 20);
}

TEST_F(PreviewWithImage, ReverseDragGivesTheSameSelection) {
    const QPoint a = image.topLeft() + QPoint(15, 25);
    const QPoint b = image.topLeft() + QPoint(95, 70);
    Drag(&dlg, a, b);
    const SelectionRect forward = dlg.selection();
    Drag(&dlg, b, a);
    const SelectionRect reverse = dlg.selection();
    EXPECT_EQ(forward.left, a.x());
    EXPECT_EQ(forward.top, a.y());
    EXPECT_EQ(forward.right, b.x());
    EXPECT_EQ(forward.bottom, b.y());
    EXPECT_EQ(reverse.left, forward.left);
    EXPECT_EQ(reverse.top, forward.top);
    EXPECT_EQ(reverse.right, forward.right);
    EXPECT_EQ(reverse.bottom, forward.bottom);
}

TEST_F(PreviewWithImage, DragIsClampedToThePicture) {
    Drag(&dlg, image.topLeft() + QPoint(150, 100), image.bottomRight() + QPoint(60, 60));
    EXPECT_EQ(dlg.selection().right, image.right());
    EXPECT_EQ(dlg.selection().bottom, image.bottom());
}

TEST_F(PreviewWithImage, OutlineIsDrawnInverted) {
    const QImage before = dlg.frame()->grab().toImage();
    Drag(&dlg, image.topLeft() + QPoint(10, 10), image.topLeft() + QPoint(60, 40));
    const QImage after = dlg.frame()->grab().toImage();
    const QPoint corner = dlg.drawOffset() + QPoint(10, 10);
    const QPoint inside = dlg.drawOffset() + QPoint(30, 25);
    EXPECT_EQ(qRed(after.pixel(corner)), 255 - qRed(before.pixel(corner)));
    EXPECT_EQ(after.pixel(inside), before.pixel(inside));
}

TEST_F(PreviewEdits, CropOfAnAreaNotAtTheOriginCutsTheSelectedPart) {
    Image original;
    MakeGrey(original.buffer, 300, 260);
    MakeGrey(document_.workingImage, 300, 260);
    // As after an auto-crop: the working area is an inner part of the image.
    SetImageArea(document_.workingImage, 40, 30, 239, 209);  // 200 x 180
    CPreviewDlg dlg{document_.workingImage};
    dlg.show();
    const QRect shown = dlg.displayedImageRect();
    ASSERT_EQ(shown.size(), QSize(200, 180));
    // The display shows the area, not the image's corner.
    EXPECT_EQ(AreaPixel(dlg.displayCopy(), 0, 0), GetPixelValue(original.buffer, 40, 30));

    Drag(&dlg, shown.topLeft() + QPoint(70, 50), shown.topLeft() + QPoint(20, 10));
    static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDC_CROP))->click();

    ASSERT_EQ(ImageWidth(document_.workingImage), 51);
    ASSERT_EQ(ImageHeight(document_.workingImage), 41);
    EXPECT_EQ(document_.workingImage.areaLeft, 0u);
    EXPECT_EQ(document_.workingImage.areaTop, 0u);
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 51; ++x)
            ASSERT_EQ(AreaPixel(document_.workingImage, x, y),
                      GetPixelValue(original.buffer, 40 + 20 + x, 30 + 10 + y))
                << x << "," << y;
    EXPECT_FALSE(dlg.hasSelection());
    EXPECT_FALSE(dlg.control(CPreviewDlg::IDC_CROP)->isEnabled());
    EXPECT_EQ(ImageWidth(dlg.displayCopy()), 51);
}

TEST_F(PreviewEdits, CropOfAScaledDisplayMapsBackToTheImage) {
    MakeGrey(document_.workingImage, 2480, 3508);
    CPreviewDlg dlg{document_.workingImage};
    dlg.frame()->resize(380, 430);
    dlg.remakeDisplayCopy();
    const QRect shown = dlg.displayedImageRect();
    ASSERT_EQ(shown.size(), QSize(297, 430));
    Drag(&dlg, shown.topLeft() + QPoint(100, 200), shown.topLeft() + QPoint(150, 300));
    dlg.OnCrop();
    // s = 3507 * 100 / 429 = 817 percent: offsets 100 * 817 / 100 = 817 and 1634, and the
    // selection's 50 x 100 pixels become 408 x 817.
    EXPECT_EQ(ImageWidth(document_.workingImage), 409);
    EXPECT_EQ(ImageHeight(document_.workingImage), 818);
    EXPECT_EQ(AreaPixel(document_.workingImage, 0, 0), (817 * 7 + 1634 * 13) % 256);
}

TEST_F(PreviewEdits, RotationsAndInvertGiveTheFirstPictureBack) {
    Image original;
    MakeColour(original.buffer, 90, 60);
    MakeColour(document_.workingImage, 90, 60);
    CPreviewDlg dlg{document_.workingImage};
    dlg.show();
    const QRect shown = dlg.displayedImageRect();
    Drag(&dlg, shown.topLeft() + QPoint(5, 5), shown.topLeft() + QPoint(40, 30));
    ASSERT_TRUE(dlg.hasSelection());

    static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDC_ROTATE_RIGHT))->click();
    EXPECT_EQ(ImageWidth(document_.workingImage), 60);
    EXPECT_EQ(ImageHeight(document_.workingImage), 90);
    // A quarter turn to the right: the former bottom-left corner is now the top-left one.
    EXPECT_EQ(AreaPixel(document_.workingImage, 0, 0), GetPixelValue(original.buffer, 0, 59));
    EXPECT_EQ(ImageWidth(dlg.displayCopy()), 60);
    EXPECT_FALSE(dlg.hasSelection());
    EXPECT_FALSE(dlg.control(CPreviewDlg::IDC_CROP)->isEnabled());
    static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDC_ROTATE_LEFT))->click();
    EXPECT_TRUE(SamePicture(document_.workingImage, original.buffer));
    EXPECT_TRUE(SamePicture(dlg.displayCopy(), original.buffer));

    static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDC_UPSIDE_DOWN))->click();
    EXPECT_EQ(AreaPixel(document_.workingImage, 0, 0), GetPixelValue(original.buffer, 89, 59));
    static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDC_UPSIDE_DOWN))->click();
    EXPECT_TRUE(SamePicture(document_.workingImage, original.buffer));

    static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDC_INVERT))->click();
    EXPECT_EQ(AreaPixel(document_.workingImage, 3, 4),
              0xFFFFFF - GetPixelValue(original.buffer, 3, 4));
    static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDC_INVERT))->click();
    EXPECT_TRUE(SamePicture(document_.workingImage, original.buffer));
}

TEST_F(PreviewEdits, OkKeepsAndDiscardDrops) {
    MakeGrey(document_.workingImage, 50, 50);
    {
        CPreviewDlg dlg{document_.workingImage};
        QTimer::singleShot(
            0, &dlg, [&] { static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDOK))->click(); });
        EXPECT_EQ(dlg.DoModal(), CPreviewDlg::IDOK);
    }
    {
        CPreviewDlg dlg{document_.workingImage};
        QTimer::singleShot(0, &dlg, [&] {
            static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDCANCEL))->click();
        });
        EXPECT_EQ(dlg.DoModal(), CPreviewDlg::IDCANCEL);
    }
    CPreviewDlg dlg{document_.workingImage};
    EXPECT_EQ(dlg.windowTitle(), "Vellumo - Scanned image preview");
    const std::pair<int, const char*> captions[] = {{1, "OK"},
                                                    {2, "Dis&card"},
                                                    {2310, "&Save as..."},
                                                    {1056, "&Crop"},
                                                    {1064, "Rotate &left"},
                                                    {1057, "Rotate &right"},
                                                    {2250, "&Upside down"},
                                                    {2300, "&Invert image"}};
    for (const auto& [id, caption] : captions) {
        auto* button = qobject_cast<QPushButton*>(dlg.control(id));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->text(), caption);
    }
    EXPECT_NE(dlg.control(CPreviewDlg::IDC_FRAME), nullptr);
}

}  // namespace
}  // namespace editing

// The page list on a screen scaled twice (QT_SCALE_FACTOR=2): thumbnails are made with twice the
// pixels, so they are as sharp as the screen.
#include <QListWidget>

#include "tests/support/mainwnd_fixture.h"

namespace {

// The share of the picture's pixels that are neither black nor white.
double ShareOfGreys(const QImage& image, const QRect& part) {
    int greys = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x) {
            const int g = qGray(image.pixel(x, y));
            if (g > 40 && g < 215) ++greys;
        }
    return static_cast<double>(greys) / (part.width() * part.height());
}

TEST_F(MainWindowTest, ThumbnailsAreSharpOnAScaledScreen) {
    CPageView view;
    view.resize(600, 400);
    view.show();
    ASSERT_EQ(view.devicePixelRatioF(), 2.0) << "run with QT_SCALE_FACTOR=2";
    vellumo::mainwnd::ConnectPageView(doc(), &view, nullptr);
    EXPECT_EQ(doc().thumbnailScale, 2.0);

    // Squares of 16 pixels: 4 screen pixels each in a 520-pixel cell, 2 in a 260-pixel one.
    const std::string file = homeDir() + "/squares.png";
    ASSERT_EQ(testsupport::run("convert -size 65x130 pattern:gray50 -scale 1600% " +
                               testsupport::shellQuote(file)),
              0);
    appendFilePage(file, 0);
    doc().RebuildPageView();
    ASSERT_EQ(ImageWidth(doc().thumbnailImage), 520);
    const QImage cell = doc().pageImageList.image(doc().pages[0]->imageIndex);
    EXPECT_EQ(cell.size(), QSize(520, 520));
    EXPECT_EQ(cell.devicePixelRatio(), 2.0);

    // On the screen: the item is 260 points wide, and its picture has the squares' sharp edges.
    const QRect item = view.visualItemRect(view.item(0));
    EXPECT_GE(item.width(), 260);
    const QImage shot = view.viewport()->grab().toImage();
    ASSERT_EQ(shot.devicePixelRatio(), 2.0);
    const QRect icon(QPoint((item.center().x() - 50) * 2, (item.top() + 60) * 2), QSize(200, 200));
    const double sharp = ShareOfGreys(shot, icon);
    // The squares' edges fall between pixels in a quarter of the columns and rows at most.
    EXPECT_LT(sharp, 0.3);
    // A cell made for an unscaled screen, drawn twice as large, is blurred by comparison.
    doc().thumbnailScale = 1.0;
    appendFilePage(file, 0);
    doc().RebuildPageView();
    const QImage blurred = view.viewport()->grab().toImage();
    const QRect second = view.visualItemRect(view.item(1));
    const QRect icon2(QPoint((second.center().x() - 50) * 2, (second.top() + 60) * 2),
                      QSize(200, 200));
    EXPECT_GT(ShareOfGreys(blurred, icon2), sharp + 0.2) << sharp;
}

}  // namespace

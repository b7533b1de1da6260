#include "widgets/image_convert.h"

#include <gtest/gtest.h>

#include "imaging/imaging.h"

using namespace vellumo::imaging;
using namespace vellumo::widgets;

namespace {

void SetGrey(ImageBuffer& image, uint32_t x, uint32_t y, uint8_t v) {
    RowPointer(image, y)[x] = v;
}

TEST(ImageToQImage, GreyAreaRowsComeTopDown) {
    ScopedImage img;
    ASSERT_EQ(AllocateImage(img.image, 5, 4, 8), 0);
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 5; ++x) SetGrey(img.image, x, y, static_cast<uint8_t>(y * 10 + x));
    SetImageArea(img.image, 1, 1, 3, 2);
    const QImage q = ImageToQImage(img.image);
    ASSERT_EQ(q.format(), QImage::Format_Grayscale8);
    ASSERT_EQ(q.size(), QSize(3, 2));
    EXPECT_EQ(q.pixelColor(0, 0).red(), 11);
    EXPECT_EQ(q.pixelColor(2, 1).red(), 23);
    EXPECT_EQ(WholeImageToQImage(img.image).size(), QSize(5, 4));
}

TEST(ImageToQImage, PaletteAndBilevel) {
    ScopedImage pal;
    ASSERT_EQ(AllocateImage(pal.image, 2, 1, 8), 0);
    pal.image.palette[7] = RgbQuad{30, 20, 10, 0};  // blue, green, red
    RowPointer(pal.image, 0)[1] = 7;
    const QImage q = ImageToQImage(pal.image);
    ASSERT_EQ(q.format(), QImage::Format_Indexed8);
    EXPECT_EQ(q.pixel(1, 0), qRgb(10, 20, 30));

    // A 1-bit area that does not start on a byte boundary.
    ScopedImage mono;
    ASSERT_EQ(AllocateImage(mono.image, 20, 2, 1), 0);
    RowPointer(mono.image, 1)[1] = 0x80;  // pixel 8 of the bottom row is white
    SetImageArea(mono.image, 3, 0, 12, 1);
    const QImage m = ImageToQImage(mono.image);
    ASSERT_EQ(m.format(), QImage::Format_Mono);
    ASSERT_EQ(m.size(), QSize(10, 2));
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(m.pixel(x, 1), x == 5 ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) << x;
    EXPECT_EQ(m.pixel(5, 0), qRgb(0, 0, 0));
}

TEST(ImageToQImage, ColourKeepsChannelsAndRejectsBadImages) {
    ScopedImage img;
    ASSERT_EQ(AllocateImage(img.image, 3, 2, 24), 0);
    uint8_t* p = RowPointer(img.image, 0) + 2 * 3;
    p[0] = 1;  // blue
    p[1] = 2;
    p[2] = 3;  // red
    const QImage q = ImageToQImage(img.image);
    EXPECT_EQ(q.pixel(2, 0), qRgb(3, 2, 1));

    ImageBuffer empty{};
    EXPECT_TRUE(ImageToQImage(empty).isNull());
    img.image.areaRight = 9;  // outside the image
    EXPECT_TRUE(ImageToQImage(img.image).isNull());
}

TEST(QImageToImage, RoundTripsColourGreyAndAlpha) {
    QImage colour(7, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) colour.setPixel(x, y, qRgb(x * 30, y * 80, 200 - x));
    ScopedImage img;
    ASSERT_EQ(QImageToImage(colour, img.image), 0);
    EXPECT_EQ(BitsPerPixel(img.image), 24);
    EXPECT_EQ(ImageToQImage(img.image).convertToFormat(QImage::Format_RGB32), colour);

    QImage grey(4, 4, QImage::Format_Grayscale8);
    grey.fill(99);
    ScopedImage g;
    ASSERT_EQ(QImageToImage(grey, g.image), 0);
    EXPECT_EQ(BitsPerPixel(g.image), 8);
    EXPECT_EQ(RowPointer(g.image, 3)[3], 99);

    QImage clear(2, 2, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    ScopedImage a;
    ASSERT_EQ(QImageToImage(clear, a.image, 0x102030), 0);
    const uint8_t* px = RowPointer(a.image, 0);
    EXPECT_EQ(px[0], 0x30);
    EXPECT_EQ(px[2], 0x10);

    ImageBuffer untouched{};
    EXPECT_EQ(QImageToImage(QImage(), untouched), -68);
    EXPECT_EQ(untouched.header, nullptr);
}

}  // namespace

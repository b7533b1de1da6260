#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "imaging/convert.h"
#include "imaging/imaging.h"
#include "tests/support/test_support.h"

using namespace vellumo::imaging;

namespace {

struct Converted {
    ImageBuffer image{};
    ~Converted() { FreeImage(image); }
};

TEST(Library, PixelsLiveInTheImageBlock) {
    EXPECT_EQ(InitImagingLibrary(), kImgOk);
    EXPECT_EQ(InitImagingLibrary(), kImgOk);
    EXPECT_FALSE(PixelsInDibSections());
    ImageBuffer image{};
    ASSERT_EQ(AllocateImage(image, 3, 3, 24), kImgOk);
    EXPECT_EQ(image.bitmapHandle, nullptr);
    FreeImage(image);
}

TEST(BitmapToImage, RgbRowsTopDownBecomeStoredBlueGreenRedBottomUp) {
    // 2 x 2, each line padded to 8 bytes.
    const uint8_t bits[16] = {10, 20, 30, 40, 50, 60, 0, 0, 70, 80, 90, 1, 2, 3, 0, 0};
    PlatformBitmap bitmap{bits, 2, 2, 8, BitmapFormat::Rgb24};
    Converted out;
    ASSERT_EQ(BitmapToImage(&bitmap, nullptr, out.image), kImgOk);
    EXPECT_EQ(BitsPerPixel(out.image), 24);
    EXPECT_EQ(GetPixelValue(out.image, 0, 0), (30 << 16) | (20 << 8) | 10);
    EXPECT_EQ(GetPixelValue(out.image, 1, 1), (3 << 16) | (2 << 8) | 1);
    // The top row is the last one in the block.
    EXPECT_EQ(RowPointer(out.image, 1), out.image.pixels);
}

TEST(BitmapToImage, AlphaIsComposedOnTheBackground) {
    const uint32_t words[3] = {0x00123456, 0xFF102030, 0x80FF0000};
    PlatformBitmap bitmap{
        reinterpret_cast<const uint8_t*>(words), 3, 1, 12, BitmapFormat::Argb32, 0xFFFFFF};
    Converted out;
    ASSERT_EQ(BitmapToImage(&bitmap, nullptr, out.image), kImgOk);
    EXPECT_EQ(GetPixelValue(out.image, 0, 0), 0xFFFFFF);  // transparent: the background
    EXPECT_EQ(GetPixelValue(out.image, 1, 0), (0x30 << 16) | (0x20 << 8) | 0x10);
    // Half-transparent red on white: red stays 255, green and blue about half.
    const int mixed = GetPixelValue(out.image, 2, 0);
    EXPECT_EQ(mixed & 0xFF, 255);
    EXPECT_EQ((mixed >> 8) & 0xFF, 127);
    EXPECT_EQ(mixed >> 16, 127);

    const uint32_t premultiplied[1] = {0x80800000};  // red 255 at alpha 128, premultiplied
    PlatformBitmap pre{reinterpret_cast<const uint8_t*>(premultiplied),
                       1,
                       1,
                       4,
                       BitmapFormat::Argb32Premultiplied,
                       0x000000};
    Converted outPre;
    ASSERT_EQ(BitmapToImage(&pre, nullptr, outPre.image), kImgOk);
    EXPECT_EQ(GetPixelValue(outPre.image, 0, 0), 0x80);
}

TEST(BitmapToImage, IndexedBitmapsKeepTheirPaletteOrGetTheDefault) {
    const uint8_t mono[2] = {0b10100000, 0b01011111};  // width 3; padding bits set
    PlatformBitmap bitmap{mono, 3, 2, 1, BitmapFormat::Mono};
    Converted plain;
    ASSERT_EQ(BitmapToImage(&bitmap, nullptr, plain.image), kImgOk);
    EXPECT_EQ(BitsPerPixel(plain.image), 1);
    EXPECT_EQ(GetPixelValue(plain.image, 0, 0), 1);
    EXPECT_EQ(GetPixelValue(plain.image, 1, 0), 0);
    EXPECT_EQ(GetPixelValue(plain.image, 1, 1), 1);
    EXPECT_EQ(RowPointer(plain.image, 1)[0], 0b01000000);  // padding cleared
    EXPECT_TRUE(HasGreyRamp(plain.image));

    const uint32_t colours[2] = {0xFFFFFFFF, 0xFF000000};  // white, black
    PlatformPalette palette{colours, 2};
    Converted inverted;
    ASSERT_EQ(BitmapToImage(&bitmap, &palette, inverted.image), kImgOk);
    EXPECT_EQ(inverted.image.palette[0].rgbRed, 255);
    EXPECT_EQ(inverted.image.imageFlags & kImageFlagGrey, 0u);

    const uint8_t indexed[2] = {7, 1};
    const uint32_t table[8] = {0, 0xFF0000FF, 0, 0, 0, 0, 0, 0xFF00FF00};
    PlatformPalette eight{table, 8};
    PlatformBitmap bitmap8{indexed, 2, 1, 2, BitmapFormat::Indexed8};
    Converted colour;
    ASSERT_EQ(BitmapToImage(&bitmap8, &eight, colour.image), kImgOk);
    EXPECT_EQ(GetPixelValue(colour.image, 0, 0), 7);
    EXPECT_EQ(colour.image.palette[7].rgbGreen, 255);
    EXPECT_EQ(colour.image.palette[1].rgbBlue, 255);
    EXPECT_EQ(colour.image.imageFlags & kImageFlagGrey, 0u);

    PlatformBitmap grey{indexed, 2, 1, 2, BitmapFormat::Grey8};
    Converted greyOut;
    ASSERT_EQ(BitmapToImage(&grey, &eight, greyOut.image), kImgOk);
    EXPECT_TRUE(HasGreyRamp(greyOut.image));
}

TEST(BitmapToImage, MalformedBitmapsAreRefusedAndTheRecordIsUntouched) {
    const uint8_t bits[12] = {};
    ImageBuffer image{};
    image.areaRight = 77;  // a marker
    EXPECT_EQ(BitmapToImage(nullptr, nullptr, image), kImgNotBitmap);
    PlatformBitmap noBits{nullptr, 2, 2, 8, BitmapFormat::Rgb24};
    EXPECT_EQ(BitmapToImage(&noBits, nullptr, image), kImgNotBitmap);
    PlatformBitmap shortLines{bits, 2, 2, 5, BitmapFormat::Rgb24};
    EXPECT_EQ(BitmapToImage(&shortLines, nullptr, image), kImgNotBitmap);
    PlatformBitmap empty{bits, 0, 2, 8, BitmapFormat::Rgb24};
    EXPECT_EQ(BitmapToImage(&empty, nullptr, image), kImgNotBitmap);
    PlatformBitmap unknown{bits, 1, 1, 4, static_cast<BitmapFormat>(99)};
    EXPECT_EQ(BitmapToImage(&unknown, nullptr, image), kImgNotBitmap);
    PlatformPalette broken{nullptr, 2};
    PlatformBitmap mono{bits, 8, 1, 1, BitmapFormat::Mono};
    EXPECT_EQ(BitmapToImage(&mono, &broken, image), kImgNotBitmap);
    EXPECT_EQ(image.areaRight, 77u);
    EXPECT_EQ(image.header, nullptr);
}

TEST(BitmapToImage, PixelsOfAnImageMagickPictureArriveUnchanged) {
    if (!testsupport::fileExists("/usr/bin/convert")) GTEST_SKIP() << "ImageMagick missing";
    testsupport::TempDir dir;
    const std::string file = dir.file("gradient.ppm");
    ASSERT_EQ(testsupport::run("/usr/bin/convert -size 13x7 gradient:red-blue -depth 8 " + file),
              0);
    const std::string data = testsupport::readFile(file);
    // "P6\n13 7\n255\n" followed by the red, green, blue rows.
    const size_t start = data.size() - 13 * 7 * 3;
    ASSERT_EQ(data.compare(0, 2, "P6"), 0);
    PlatformBitmap bitmap{reinterpret_cast<const uint8_t*>(data.data() + start), 13, 7, 39,
                          BitmapFormat::Rgb24};
    Converted out;
    ASSERT_EQ(BitmapToImage(&bitmap, nullptr, out.image), kImgOk);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) {
            const auto* p =
                reinterpret_cast<const uint8_t*>(data.data() + start + 3 * (y * 13 + x));
            ASSERT_EQ(GetPixelValue(out.image, x, y), (p[2] << 16) | (p[1] << 8) | p[0]);
        }
    EXPECT_GT(GetPixelValue(out.image, 0, 0) & 0xFF, 200);  // red at the top
    EXPECT_GT(GetPixelValue(out.image, 0, 6) >> 16, 200);   // blue at the bottom
}

}  // namespace

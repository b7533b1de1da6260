#include "imaging/image_buffer.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace vellumo::imaging;

namespace {

bool AllZero(const ImageBuffer& image) {
    static const ImageBuffer zero{};
    return std::memcmp(&image, &zero, sizeof image) == 0;
}

TEST(Allocation, FourBitsGiveEightBitsWithFullGreyRamp) {
    ImageBuffer image{};
    ASSERT_EQ(AllocateImage(image, 10, 5, 4), kImgOk);
    EXPECT_EQ(BitsPerPixel(image), 8);
    EXPECT_EQ(image.paletteSize, 256);
    EXPECT_TRUE(HasGreyRamp(image));
    EXPECT_EQ(image.imageFlags & kImageFlagGrey, kImageFlagGrey);
    EXPECT_EQ(image.palette[255].rgbRed, 255);
    FreeImage(image);
}

TEST(Allocation, HeaderAndRowRuleFollowTheDibLayout) {
    ImageBuffer image{};
    ASSERT_EQ(AllocateImage(image, 13, 7, 1), kImgOk);
    EXPECT_EQ(image.rowBytes, 4u);  // 13 bits round up to one 32-bit word
    EXPECT_EQ(image.header->biSize, 40u);
    EXPECT_EQ(image.header->biHeight, 7);
    EXPECT_EQ(image.header->biSizeImage, 28u);
    EXPECT_EQ(image.header->biClrUsed, 2u);
    EXPECT_EQ(image.palette[0].rgbRed, 0);
    EXPECT_EQ(image.palette[1].rgbRed, 255);
    EXPECT_EQ(image.areaRight, 12u);
    EXPECT_EQ(image.areaBottom, 6u);
    EXPECT_EQ(image.bitmapHandle, nullptr);
    // Rows are bottom-up: the top row is the last in the block.
    EXPECT_EQ(RowPointer(image, 0), image.pixels + 6 * 4);
    FreeImage(image);
}

TEST(Allocation, DepthFlags) {
    ImageBuffer image{};
    ASSERT_EQ(AllocateImage(image, 3, 3, 24), kImgOk);
    EXPECT_EQ(image.imageFlags, 0u);
    EXPECT_EQ(image.paletteSize, 0);
    EXPECT_EQ(image.rowBytes, 12u);
    FreeImage(image);
    ASSERT_EQ(AllocateImage(image, 3, 3, 32), kImgOk);
    EXPECT_EQ(image.imageFlags, kImageFlagGrey);
    FreeImage(image);
}

TEST(Allocation, FailuresLeaveTheRecordAllZero) {
    ImageBuffer image{};
    EXPECT_EQ(AllocateImage(image, 0, 10, 8), kImgEmpty);
    EXPECT_TRUE(AllZero(image));
    EXPECT_EQ(AllocateImage(image, 10, 10, 12), kImgBadDepth);
    EXPECT_TRUE(AllZero(image));
    EXPECT_EQ(AllocateImage(image, 200000, 200000, 24), kImgNoMemory);
    EXPECT_TRUE(AllZero(image));
}

TEST(Allocation, FreeZeroesAndIsHarmlessTwice) {
    ImageBuffer image{};
    FreeImage(image);
    EXPECT_TRUE(AllZero(image));
    ASSERT_EQ(AllocateImage(image, 4, 4, 8), kImgOk);
    FreeImage(image);
    EXPECT_TRUE(AllZero(image));
    FreeImage(image);
}

TEST(CopyArea, SmallerExtentFromTopLeftCorners) {
    ImageBuffer src{}, dst{};
    ASSERT_EQ(AllocateImage(src, 8, 8, 8), kImgOk);
    ASSERT_EQ(AllocateImage(dst, 4, 4, 8), kImgOk);
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 8; ++x) RowPointer(src, y)[x] = static_cast<uint8_t>(y * 8 + x);
    SetImageArea(src, 2, 3, 7, 7);
    SetImageArea(dst, 1, 1, 3, 3);
    ASSERT_EQ(CopyImageArea(src, dst), kImgOk);
    EXPECT_EQ(RowPointer(dst, 1)[1], 3 * 8 + 2);
    EXPECT_EQ(RowPointer(dst, 3)[3], 5 * 8 + 4);
    EXPECT_EQ(RowPointer(dst, 0)[0], 0);
    FreeImage(src);
    FreeImage(dst);
}

TEST(CopyArea, BilevelAtUnalignedColumns) {
    ImageBuffer src{}, dst{};
    ASSERT_EQ(AllocateImage(src, 20, 1, 1), kImgOk);
    ASSERT_EQ(AllocateImage(dst, 20, 1, 1), kImgOk);
    RowPointer(src, 0)[0] = 0b10100000;  // pixels 0 and 2 set
    SetImageArea(dst, 3, 0, 19, 0);
    ASSERT_EQ(CopyImageArea(src, dst), kImgOk);
    EXPECT_EQ(RowPointer(dst, 0)[0], 0b00010100);  // now at 3 and 5
    FreeImage(src);
    FreeImage(dst);
}

TEST(CopyArea, DepthsMustMatch) {
    ImageBuffer a{}, b{};
    ASSERT_EQ(AllocateImage(a, 2, 2, 8), kImgOk);
    ASSERT_EQ(AllocateImage(b, 2, 2, 24), kImgOk);
    EXPECT_EQ(CopyImageArea(a, b), kImgBadDepth);
    FreeImage(a);
    FreeImage(b);
}

TEST(Resolution, TravelsInThePixelsPerMetreFields) {
    ImageBuffer image{};
    ASSERT_EQ(AllocateImage(image, 2, 2, 8), kImgOk);
    EXPECT_EQ(ImageDpiX(image), 0);
    SetImageDpi(image, 300, 150);
    EXPECT_EQ(image.header->biXPelsPerMeter, 11811);
    EXPECT_EQ(ImageDpiX(image), 300);
    EXPECT_EQ(ImageDpiY(image), 150);
    FreeImage(image);
}

}  // namespace

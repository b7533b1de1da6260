#include "imaging/convert.h"

#include <gtest/gtest.h>

#include <cstring>

#include "imaging/image_buffer.h"
#include "imaging/imaging.h"

using namespace vellumo::imaging;

namespace {

struct Image {
    ImageBuffer b{};
    Image(int width, int height, int bits) {
        EXPECT_EQ(AllocateImage(b, width, height, bits), kImgOk);
    }
    Image(const Image&) = delete;
    ~Image() { FreeImage(b); }
    uint8_t* at(int x, int y) { return RowPointer(b, y) + x * (BitsPerPixel(b) / 8); }
    void setBgr(int x, int y, uint8_t blue, uint8_t green, uint8_t red) {
        uint8_t* p = at(x, y);
        p[0] = blue;
        p[1] = green;
        p[2] = red;
    }
    void setBit(int x, int y, bool on) {
        uint8_t* row = RowPointer(b, y);
        if (on)
            row[x / 8] |= 0x80 >> (x % 8);
        else
            row[x / 8] &= ~(0x80 >> (x % 8));
    }
};

TEST(PixelValue, FollowsTheStoredLayoutOfEachDepth) {
    Image colour(3, 2, 24);
    colour.setBgr(2, 1, 0x01, 0x02, 0x03);  // blue, green, red as stored
    EXPECT_EQ(GetPixelValue(colour.b, 2, 1), 0x010203);
    EXPECT_EQ(GetPixelValue(colour.b, 0, 0), 0);

    Image bits(10, 2, 1);
    bits.setBit(0, 0, true);
    bits.setBit(9, 1, true);
    EXPECT_EQ(GetPixelValue(bits.b, 0, 0), 1);  // leftmost pixel is the top bit
    EXPECT_EQ(RowPointer(bits.b, 0)[0], 0x80);
    EXPECT_EQ(GetPixelValue(bits.b, 1, 0), 0);
    EXPECT_EQ(GetPixelValue(bits.b, 9, 1), 1);

    Image grey(2, 2, 8);
    *grey.at(1, 0) = 77;
    EXPECT_EQ(GetPixelValue(grey.b, 1, 0), 77);
    // Row 0 is the top row, stored last.
    EXPECT_EQ(RowPointer(grey.b, 0), grey.b.pixels + grey.b.rowBytes);

    EXPECT_LT(GetPixelValue(grey.b, 2, 0), 0);
    EXPECT_LT(GetPixelValue(grey.b, 0, 2), 0);
    EXPECT_LT(GetPixelValue(grey.b, -1, 0), 0);
    ImageBuffer none{};
    EXPECT_LT(GetPixelValue(none, 0, 0), 0);
}

TEST(Threshold, EightBitValuesSplitAtTheLevel) {
    Image grey(4, 1, 8);
    const uint8_t values[4] = {0, 63, 64, 255};
    std::memcpy(grey.at(0, 0), values, 4);
    Image out(4, 1, 8);
    ASSERT_EQ(ThresholdImage(64, grey.b, out.b), kImgOk);
    EXPECT_EQ(GetPixelValue(out.b, 0, 0), 0);
    EXPECT_EQ(GetPixelValue(out.b, 1, 0), 0);
    EXPECT_EQ(GetPixelValue(out.b, 2, 0), 255);
    EXPECT_EQ(GetPixelValue(out.b, 3, 0), 255);
    // Level 0: nothing is below it, so everything turns white.
    ASSERT_EQ(ThresholdImage(0, grey.b, grey.b), kImgOk);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(GetPixelValue(grey.b, x, 0), 255);
}

TEST(Threshold, ColourPixelsCompareTheirChannelSumWithThreeTimesTheLevel) {
    Image colour(3, 1, 24);
    colour.setBgr(0, 0, 64, 64, 64);  // sum 192: not above 3 x 64
    colour.setBgr(1, 0, 65, 64, 64);  // 193
    colour.setBgr(2, 0, 0, 0, 255);
    ASSERT_EQ(ThresholdImage(64, colour.b, colour.b), kImgOk);
    EXPECT_EQ(GetPixelValue(colour.b, 0, 0), 0);
    EXPECT_EQ(GetPixelValue(colour.b, 1, 0), 0xFFFFFF);
    EXPECT_EQ(GetPixelValue(colour.b, 2, 0), 0xFFFFFF);
}

TEST(Threshold, LongColourRowsFollowTheSumRule) {
    for (bool vectors : {true, false}) {
        SetCpuFeaturesEnabled(vectors);
        Image colour(245, 2, 24);
        uint32_t state = 99;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 245; ++x) {
                state = state * 1103515245u + 12345;
                colour.setBgr(x, y, state >> 24, state >> 16, state >> 8);
            }
        Image out(245, 2, 24);
        // 242 pixels from column 1: whole 32- and 16-pixel steps, and the rest one by one.
        SetImageArea(colour.b, 1, 0, 242, 1);
        SetImageArea(out.b, 2, 0, 243, 1);
        ASSERT_EQ(ThresholdImage(100, colour.b, out.b), kImgOk);
        for (int y = 0; y < 2; ++y) {
            EXPECT_EQ(GetPixelValue(out.b, 0, y), 0);  // outside the area
            for (int x = 0; x < 242; ++x) {
                const uint8_t* p = colour.at(x + 1, y);
                const int expected = p[0] + p[1] + p[2] > 300 ? 0xFFFFFF : 0;
                ASSERT_EQ(GetPixelValue(out.b, x + 2, y), expected) << vectors << " at " << x;
            }
        }
    }
    SetCpuFeaturesEnabled(true);
}

TEST(Threshold, RefusesBadLevelsAndDepths) {
    Image grey(2, 2, 8), bits(2, 2, 1), colour(2, 2, 24);
    EXPECT_EQ(ThresholdImage(-1, grey.b, grey.b), kImgBadArgument);
    EXPECT_EQ(ThresholdImage(256, grey.b, grey.b), kImgBadArgument);
    EXPECT_EQ(ThresholdImage(10, bits.b, bits.b), kImgBadDepth);
    EXPECT_EQ(ThresholdImage(10, grey.b, colour.b), kImgBadDepth);
}

TEST(GreyConversion, WeighsBlueGreenAndRed) {
    Image colour(2, 1, 24);
    colour.setBgr(0, 0, 100, 0, 0);
    colour.setBgr(1, 0, 10, 20, 250);
    Image grey(2, 1, 8);
    grey.b.imageFlags = 0;
    ASSERT_EQ(ConvertToGray(colour.b, grey.b), kImgOk);
    EXPECT_EQ(GetPixelValue(grey.b, 0, 0), 11);
    EXPECT_EQ(GetPixelValue(grey.b, 1, 0), (11 * 10 + 59 * 20 + 30 * 250) / 100);
    EXPECT_TRUE(HasGreyRamp(grey.b));
    EXPECT_EQ(grey.b.imageFlags & kImageFlagGrey, kImageFlagGrey);
    Image deep(2, 1, 24);
    EXPECT_EQ(ConvertToGray(colour.b, deep.b), kImgBadDepth);
}

TEST(GreyConversion, ColourTableImageConvertsInPlaceThroughItsTable) {
    Image indexed(3, 1, 8);
    indexed.b.palette[5] = RgbQuad{0, 0, 200, 0};  // red
    indexed.b.palette[6] = RgbQuad{200, 0, 0, 0};  // blue
    indexed.b.imageFlags = 0;
    *indexed.at(0, 0) = 5;
    *indexed.at(1, 0) = 6;
    *indexed.at(2, 0) = 100;  // a ramp entry that stays as it is
    ASSERT_EQ(ConvertToGray(indexed.b, indexed.b), kImgOk);
    EXPECT_EQ(GetPixelValue(indexed.b, 0, 0), 60);
    EXPECT_EQ(GetPixelValue(indexed.b, 1, 0), 22);
    EXPECT_EQ(GetPixelValue(indexed.b, 2, 0), 100);
    EXPECT_TRUE(HasGreyRamp(indexed.b));
}

TEST(Bilevel, ExpandsToBlackAndWhiteGrey) {
    Image bits(11, 2, 1);
    bits.setBit(3, 0, true);
    bits.setBit(10, 1, true);
    Image grey(11, 2, 8);
    ASSERT_EQ(ExpandBilevelToGray(bits.b, grey.b), kImgOk);
    EXPECT_EQ(GetPixelValue(grey.b, 3, 0), 255);
    EXPECT_EQ(GetPixelValue(grey.b, 10, 1), 255);
    EXPECT_EQ(GetPixelValue(grey.b, 4, 0), 0);
    EXPECT_TRUE(HasGreyRamp(grey.b));
    EXPECT_EQ(ExpandBilevelToGray(grey.b, grey.b), kImgBadDepth);
    Image colour(11, 2, 24);
    EXPECT_EQ(ExpandBilevelToGray(bits.b, colour.b), kImgBadDepth);
}

TEST(Smoothing, IsTheMeanOfNineWithEdgesRepeated) {
    Image grey(5, 5, 8);
    *grey.at(2, 2) = 90;
    *grey.at(0, 0) = 90;
    ASSERT_EQ(SmoothImage(grey.b, grey.b), kImgOk);
    EXPECT_EQ(GetPixelValue(grey.b, 2, 2), 10);
    EXPECT_EQ(GetPixelValue(grey.b, 3, 3), 10);
    EXPECT_EQ(GetPixelValue(grey.b, 4, 4), 0);
    // The corner counts four times in its own mean (its row and column repeat outward).
    EXPECT_EQ(GetPixelValue(grey.b, 0, 0), 40);
    EXPECT_EQ(GetPixelValue(grey.b, 1, 1), 20);  // the corner and the centre

    Image flat(4, 3, 24);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) flat.setBgr(x, y, 10, 20, 30);
    Image out(4, 3, 24);
    ASSERT_EQ(SmoothImage(flat.b, out.b), kImgOk);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(GetPixelValue(out.b, x, y), 0x0A141E);

    Image bits(4, 4, 1);
    EXPECT_EQ(SmoothImage(bits.b, bits.b), kImgBadDepth);
}

TEST(Smoothing, ColourTableImageAveragesColoursAndKeepsItsTable) {
    Image indexed(3, 3, 8);
    for (int i = 0; i < 256; ++i) indexed.b.palette[i] = RgbQuad{0, 0, 0, 0};
    indexed.b.palette[1] = RgbQuad{0, 0, 180, 0};  // red
    indexed.b.palette[2] = RgbQuad{0, 0, 20, 0};   // dark red
    indexed.b.palette[9] = RgbQuad{0, 0, 255, 0};  // bright red
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) *indexed.at(x, y) = 1;
    *indexed.at(1, 1) = 9;  // mean red of the centre: (8 x 180 + 255) / 9 = 188
    ASSERT_EQ(SmoothImage(indexed.b, indexed.b), kImgOk);
    EXPECT_EQ(GetPixelValue(indexed.b, 1, 1), 1);  // nearest entry to red 188
    EXPECT_EQ(indexed.b.palette[9].rgbRed, 255);
}

TEST(Fill, SetsTheAreaOnly) {
    Image bits(20, 3, 1);
    SetImageArea(bits.b, 3, 1, 12, 1);
    ASSERT_EQ(FillImageArea(227, bits.b), kImgOk);  // odd level: bit 1
    for (int x = 0; x < 20; ++x) {
        EXPECT_EQ(GetPixelValue(bits.b, x, 1), x >= 3 && x <= 12 ? 1 : 0) << x;
        EXPECT_EQ(GetPixelValue(bits.b, x, 0), 0);
    }
    ASSERT_EQ(FillImageArea(226, bits.b), kImgOk);
    EXPECT_EQ(GetPixelValue(bits.b, 5, 1), 0);

    Image colour(2, 2, 24);
    ASSERT_EQ(FillImageArea(227, colour.b), kImgOk);
    EXPECT_EQ(GetPixelValue(colour.b, 1, 1), 0xE3E3E3);
    EXPECT_EQ(FillImageArea(256, colour.b), kImgBadArgument);
    EXPECT_EQ(FillImageArea(-1, colour.b), kImgBadArgument);
    SetImageArea(colour.b, 0, 0, 2, 1);  // wider than the image
    EXPECT_EQ(FillImageArea(1, colour.b), kImgEmpty);
}

}  // namespace

#include "scan/sane/dib_from_sane.h"

#include <gtest/gtest.h>

#include <cstring>

#include "scan_test_support.h"

using namespace vellumo::imaging;
using namespace vellumo::scan;

using sanedib::BuildDib;
using sanedib::FrameFormat;
using sanedib::RawFrame;
using scantest::DibHeader;
using scantest::DibPalette;
using scantest::DibRow;

namespace {

RawFrame Frame(FrameFormat format, int depth, int width, int bytesPerLine,
               std::vector<uint8_t> data) {
    RawFrame f;
    f.format = format;
    f.depth = depth;
    f.pixelsPerLine = width;
    f.bytesPerLine = bytesPerLine;
    f.data = std::move(data);
    return f;
}

}  // namespace

TEST(LineArt, BlackBecomesIndexZeroAndThePaddingStaysClear) {
    // 10 pixels: SANE bits 1 = black. Row 0: black, white, black...; row 1: all white.
    const RawFrame f = Frame(FrameFormat::Gray, 1, 10, 2, {0b10101010, 0b10000000, 0x00, 0x00});
    std::string error;
    const std::vector<uint8_t> dib = BuildDib({f}, 300, 300, &error);
    ASSERT_FALSE(dib.empty()) << error;
    const BitmapInfoHeader h = DibHeader(dib);
    EXPECT_EQ(h.biBitCount, 1);
    EXPECT_EQ(h.biWidth, 10);
    EXPECT_EQ(h.biHeight, 2);
    EXPECT_EQ(h.biXPelsPerMeter, 11811);
    EXPECT_EQ(DibPalette(dib)[0].rgbRed, 0);
    EXPECT_EQ(DibPalette(dib)[1].rgbRed, 255);
    EXPECT_EQ(DibRow(dib, 0)[0], 0b01010101);
    EXPECT_EQ(DibRow(dib, 0)[1], 0b01000000);  // pixels 8, 9, then padding bits 0
    EXPECT_EQ(DibRow(dib, 1)[0], 0xFF);
    EXPECT_EQ(DibRow(dib, 1)[1], 0b11000000);
    EXPECT_EQ(DibRow(dib, 1)[2], 0);  // rows padded to four bytes
}

TEST(Grey, EightBitsWithTheGreyRampRowsBottomUp) {
    const RawFrame f = Frame(FrameFormat::Gray, 8, 3, 3, {10, 20, 30, 40, 50, 60});
    const std::vector<uint8_t> dib = BuildDib({f}, 150, 100, nullptr);
    ASSERT_FALSE(dib.empty());
    const BitmapInfoHeader h = DibHeader(dib);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biClrUsed, 256u);
    EXPECT_EQ(h.biYPelsPerMeter, 3937);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(DibPalette(dib)[i].rgbGreen, i);
    // The bottom row comes first in the block.
    const uint8_t* pixels = dib.data() + 40 + 1024;
    EXPECT_EQ(pixels[0], 40);
    EXPECT_EQ(pixels[4], 10);
    EXPECT_EQ(DibRow(dib, 0)[2], 30);
}

TEST(SixteenBitSamples, ReducedToTheirHighByte) {
    std::vector<uint8_t> data(4);
    const uint16_t samples[2] = {0xABCD, 0x00FF};
    std::memcpy(data.data(), samples, 4);
    const std::vector<uint8_t> dib =
        BuildDib({Frame(FrameFormat::Gray, 16, 2, 4, data)}, 0, 0, nullptr);
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(DibHeader(dib).biBitCount, 8);
    EXPECT_EQ(DibRow(dib, 0)[0], 0xAB);
    EXPECT_EQ(DibRow(dib, 0)[1], 0x00);
    EXPECT_EQ(DibHeader(dib).biXPelsPerMeter, 0);
}

TEST(Colour, RgbBecomesBgrAndSeparateFramesGiveTheSameImage) {
    const RawFrame rgb = Frame(FrameFormat::Rgb, 8, 2, 6, {1, 2, 3, 4, 5, 6});
    const std::vector<uint8_t> a = BuildDib({rgb}, 100, 100, nullptr);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(DibHeader(a).biBitCount, 24);
    EXPECT_EQ(DibHeader(a).biClrUsed, 0u);
    const uint8_t* row = DibRow(a, 0);
    EXPECT_EQ(std::vector<uint8_t>(row, row + 6), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));

    const std::vector<uint8_t> b = BuildDib(
        {Frame(FrameFormat::Green, 8, 2, 2, {2, 5}), Frame(FrameFormat::Red, 8, 2, 2, {1, 4}),
         Frame(FrameFormat::Blue, 8, 2, 2, {3, 6})},
        100, 100, nullptr);
    EXPECT_EQ(a, b);
}

TEST(LineLayout, PaddingAtTheEndOfSaneLinesAndAPartialLastLine) {
    // Two pixels in lines of four bytes, and half a third line that never completed.
    const RawFrame f =
        Frame(FrameFormat::Gray, 8, 2, 4, {7, 8, 0xEE, 0xEE, 9, 10, 0xEE, 0xEE, 1, 2});
    const std::vector<uint8_t> dib = BuildDib({f}, 0, 0, nullptr);
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(DibHeader(dib).biHeight, 2);
    EXPECT_EQ(DibRow(dib, 1)[0], 9);
    EXPECT_EQ(DibRow(dib, 1)[1], 10);
}

TEST(BadInput, ReportedNotBuilt) {
    std::string error;
    EXPECT_TRUE(BuildDib({}, 0, 0, &error).empty());
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(BuildDib({Frame(FrameFormat::Gray, 8, 4, 2, {1, 2, 3, 4})}, 0, 0, &error).empty());
    EXPECT_TRUE(BuildDib({Frame(FrameFormat::Gray, 8, 4, 4, {1, 2})}, 0, 0, &error).empty());
    EXPECT_TRUE(
        BuildDib({Frame(FrameFormat::Red, 8, 1, 1, {1}), Frame(FrameFormat::Red, 8, 1, 1, {1}),
                  Frame(FrameFormat::Blue, 8, 1, 1, {1})},
                 0, 0, &error)
            .empty());
    EXPECT_TRUE(BuildDib({Frame(FrameFormat::Gray, 12, 1, 2, {1, 2})}, 0, 0, &error).empty());
}

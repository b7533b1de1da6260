#include "imaging/dib.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;

namespace {

// A packed DIB built field by field.
struct DibBuilder {
    std::vector<uint8_t> bytes;
    void u16(unsigned v) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void raw(std::initializer_list<int> values) {
        for (int v : values) bytes.push_back(static_cast<uint8_t>(v));
    }
    // A BITMAPINFOHEADER (or a larger variant padded with zeros).
    void header(int width, int height, int bits, uint32_t compression = 0, uint32_t used = 0,
                uint32_t size = 40, int32_t ppm = 0) {
        u32(size);
        u32(static_cast<uint32_t>(width));
        u32(static_cast<uint32_t>(height));
        u16(1);
        u16(static_cast<unsigned>(bits));
        u32(compression);
        u32(0);
        u32(static_cast<uint32_t>(ppm));
        u32(static_cast<uint32_t>(ppm));
        u32(used);
        u32(0);
        bytes.resize(bytes.size() + (size - 40), 0);
    }
    void colour(int r, int g, int b) { raw({b, g, r, 0}); }
};

std::vector<uint8_t> RgbAt(const ImageBuffer& image, int x, int y) {
    const auto all = fixtures::Rgb(image);
    const size_t at = (static_cast<size_t>(y) * AreaWidth(image) + x) * 3;
    return {all[at], all[at + 1], all[at + 2]};
}
using Rgb = std::vector<uint8_t>;

TEST(DibDepths, OneBitKeepsTableAndBits) {
    DibBuilder dib;
    dib.header(3, 2, 1, 0, 0, 40, 11811);  // 300 dpi
    dib.colour(0, 0, 0);
    dib.colour(255, 255, 255);
    dib.raw({0xA0, 0, 0, 0});  // bottom row: 1 0 1
    dib.raw({0x40, 0, 0, 0});  // top row: 0 1 0
    Image image;
    ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
    EXPECT_EQ(BitsPerPixel(image.buffer), 1);
    EXPECT_EQ(RgbAt(image.buffer, 1, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(RgbAt(image.buffer, 0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(RgbAt(image.buffer, 0, 1), (Rgb{255, 255, 255}));
    EXPECT_TRUE(image->imageFlags & kImageFlagGrey);
    EXPECT_EQ(ImageDpiX(image.buffer), 300);
}

TEST(DibDepths, FourBitGreyRampBecomesEightBitGrey) {
    DibBuilder dib;
    dib.header(4, 1, 4);
    for (int i = 0; i < 16; ++i) dib.colour(i * 17, i * 17, i * 17);
    dib.raw({0x0F, 0x5A, 0, 0});
    Image image;
    ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
    ASSERT_EQ(BitsPerPixel(image.buffer), 8);
    EXPECT_TRUE(HasGreyRamp(image.buffer));
    EXPECT_TRUE(image->imageFlags & kImageFlagGrey);
    const uint8_t* row = RowPointer(image.buffer, 0);
    EXPECT_EQ(row[0], 0);
    EXPECT_EQ(row[1], 255);
    EXPECT_EQ(row[2], 5 * 17);
    EXPECT_EQ(row[3], 10 * 17);
}

TEST(DibDepths, FourBitColourKeepsItsTable) {
    DibBuilder dib;
    dib.header(2, 1, 4, 0, 3);
    dib.colour(10, 20, 30);
    dib.colour(200, 0, 0);
    dib.colour(0, 0, 200);
    dib.raw({0x12, 0, 0, 0});
    Image image;
    ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
    EXPECT_EQ(RgbAt(image.buffer, 0, 0), (Rgb{200, 0, 0}));
    EXPECT_EQ(RgbAt(image.buffer, 1, 0), (Rgb{0, 0, 200}));
    EXPECT_FALSE(image->imageFlags & kImageFlagGrey);
}

TEST(DibDepths, EightBitGreyFlagOnlyForExactRamp) {
    for (bool exact : {true, false}) {
        DibBuilder dib;
        dib.header(1, 1, 8);
        for (int i = 0; i < 256; ++i) dib.colour(i, i, (exact || i != 77) ? i : 78);
        dib.raw({77, 0, 0, 0});
        Image image;
        ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
        EXPECT_EQ((image->imageFlags & kImageFlagGrey) != 0, exact);
        EXPECT_EQ(RowPointer(image.buffer, 0)[0], 77);
    }
}

TEST(DibDepths, SixteenAndThirtyTwoBitBecomeTwentyFour) {
    struct Case {
        int bits;
        uint32_t compression;
        std::vector<uint32_t> masks;
        std::vector<int> pixel;  // one stored pixel
        Rgb expected;
    };
    const Case cases[] = {
        {16, 0, {}, {0x00, 0x7C}, {255, 0, 0}},                                  // 5-5-5 red
        {16, 3, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07}, {0, 255, 0}},            // 5-6-5 green
        {32, 0, {}, {0x10, 0x20, 0x30, 0x99}, {0x30, 0x20, 0x10}},               // BGRX
        {32, 3, {0x000000FF, 0x0000FF00, 0x00FF0000}, {1, 2, 3, 0}, {1, 2, 3}},  // RGBX masks
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits * 10 + static_cast<int>(c.compression));
        DibBuilder dib;
        dib.header(1, 1, c.bits, c.compression);
        for (uint32_t m : c.masks) dib.u32(m);
        for (int v : c.pixel) dib.raw({v});
        while (dib.bytes.size() % 4) dib.raw({0});
        Image image;
        ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
        EXPECT_EQ(BitsPerPixel(image.buffer), 24);
        EXPECT_EQ(RgbAt(image.buffer, 0, 0), c.expected);
        EXPECT_FALSE(image->imageFlags & kImageFlagGrey);
    }
}

TEST(DibDepths, VersionFiveHeaderWithMasksInside) {
    DibBuilder dib;
    dib.u32(124);
    dib.u32(1);
    dib.u32(1);
    dib.u16(1);
    dib.u16(32);
    dib.u32(3);
    dib.bytes.resize(40, 0);
    dib.u32(0x00FF0000);  // red, green, blue masks inside the header
    dib.u32(0x0000FF00);
    dib.u32(0x000000FF);
    dib.bytes.resize(124, 0);
    dib.raw({9, 8, 7, 0});
    Image image;
    ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
    EXPECT_EQ(RgbAt(image.buffer, 0, 0), (Rgb{7, 8, 9}));
}

TEST(DibDepths, TopDownRowsKeepTheirOrder) {
    DibBuilder dib;
    dib.header(1, -2, 24);
    dib.raw({0, 0, 255, 0});  // first stored row is the top: red
    dib.raw({255, 0, 0, 0});  // blue
    Image image;
    ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
    EXPECT_EQ(ImageHeight(image.buffer), 2);
    EXPECT_EQ(RgbAt(image.buffer, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(RgbAt(image.buffer, 0, 1), (Rgb{0, 0, 255}));
}

TEST(DibDepths, UnsupportedDepthsAreRefused) {
    for (int bits : {0, 3, 12, 48}) {
        DibBuilder dib;
        dib.header(1, 1, bits);
        dib.bytes.resize(dib.bytes.size() + 64, 0);
        Image image;
        EXPECT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgBadDepth) << bits;
        EXPECT_EQ(image->header, nullptr);
    }
}

TEST(DibRunLength, Rle8RunsLiteralsDeltaAndEndMarkers) {
    DibBuilder dib;
    dib.header(6, 3, 8, 1, 4);
    dib.colour(0, 0, 0);
    dib.colour(255, 0, 0);
    dib.colour(0, 255, 0);
    dib.colour(0, 0, 255);
    dib.raw({3, 1, 0, 3, 2, 3, 2, 0, 0, 0});  // bottom row: 1 1 1 2 3 2, then end of line
    dib.raw({0, 2, 2, 1});                    // move 2 right and 1 up: to (2, top row)
    dib.raw({2, 3, 0, 1});                    // two of 3, end of bitmap
    Image image;
    ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
    const uint8_t* bottom = RowPointer(image.buffer, 2);
    EXPECT_EQ(std::vector<uint8_t>(bottom, bottom + 6), (std::vector<uint8_t>{1, 1, 1, 2, 3, 2}));
    const uint8_t* middle = RowPointer(image.buffer, 1);
    EXPECT_EQ(std::vector<uint8_t>(middle, middle + 6), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0}));
    const uint8_t* top = RowPointer(image.buffer, 0);
    EXPECT_EQ(std::vector<uint8_t>(top, top + 6), (std::vector<uint8_t>{0, 0, 3, 3, 0, 0}));
    EXPECT_EQ(RgbAt(image.buffer, 2, 0), (Rgb{0, 0, 255}));
}

TEST(DibRunLength, Rle4AlternatesNibbles) {
    DibBuilder dib;
    dib.header(6, 1, 4, 2, 16);
    for (int i = 0; i < 16; ++i) dib.colour(i * 16, 0, 0);
    dib.raw({3, 0x12, 0, 3, 0x34, 0x50, 0, 1});  // 1 2 1, literal 3 4 5, end
    Image image;
    ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
    const uint8_t* row = RowPointer(image.buffer, 0);
    EXPECT_EQ(std::vector<uint8_t>(row, row + 6), (std::vector<uint8_t>{1, 2, 1, 3, 4, 5}));
}

TEST(DibRunLength, RunsIntoTheRowPaddingAreDropped) {
    // 5 pixels a row are stored as 8 bytes: writers may code the padding too.
    DibBuilder dib;
    dib.header(5, 1, 8, 1);
    for (int i = 0; i < 256; ++i) dib.colour(i, i, i);
    dib.raw({8, 9, 0, 1});
    Image image;
    ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
    const uint8_t* row = RowPointer(image.buffer, 0);
    EXPECT_EQ(std::vector<uint8_t>(row, row + 5), (std::vector<uint8_t>{9, 9, 9, 9, 9}));
}

TEST(DibRunLength, DataRunningPastItsBoundsIsRefused) {
    struct Case {
        const char* what;
        std::vector<uint8_t> data;
    };
    const Case cases[] = {
        {"run past the row", {255, 9, 0, 1}},
        {"literal past the row", {0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 1}},
        {"move past the image", {0, 2, 250, 250, 0, 1}},
        {"rows past the last", {4, 1, 0, 0, 4, 2, 0, 0, 4, 3, 0, 1}},
    };
    for (const Case& c : cases) {
        DibBuilder dib;
        dib.header(4, 2, 8, 1);
        for (int i = 0; i < 256; ++i) dib.colour(i, i, i);
        dib.bytes.insert(dib.bytes.end(), c.data.begin(), c.data.end());
        Image image;
        EXPECT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgCorruptFile) << c.what;
        EXPECT_EQ(image->header, nullptr);
    }
}

TEST(DibDamage, TruncatedOrLyingHeadersGiveNegativeCodes) {
    DibBuilder good;
    good.header(16, 16, 24);
    good.bytes.resize(good.bytes.size() + 16 * 48, 0x55);
    for (size_t keep : {size_t{0}, size_t{4}, size_t{39}, size_t{40}, good.bytes.size() - 1}) {
        Image image;
        EXPECT_LT(DibToImage(good.bytes.data(), keep, image), 0) << keep;
        EXPECT_EQ(image->header, nullptr);
    }
    // A header claiming a huge page with a few bytes of pixels: refused before allocating.
    DibBuilder huge;
    huge.header(60000, 60000, 8);
    huge.bytes.resize(huge.bytes.size() + 1024 + 64, 0);
    Image image;
    EXPECT_LT(DibToImage(huge.bytes.data(), huge.bytes.size(), image), 0);
    DibBuilder hugeRle;
    hugeRle.header(60000, 60000, 8, 1);
    hugeRle.bytes.resize(hugeRle.bytes.size() + 1024, 0);
    hugeRle.raw({0, 1});
    EXPECT_LT(DibToImage(hugeRle.bytes.data(), hugeRle.bytes.size(), image), 0);
    // Colour-table count beyond the data.
    DibBuilder table;
    table.header(1, 1, 8, 0, 256);
    table.raw({1, 2, 3, 4});
    EXPECT_LT(DibToImage(table.bytes.data(), table.bytes.size(), image), 0);
}

TEST(DibDamage, RunLengthDataEndingEarlyIsAnError) {
    DibBuilder dib;
    dib.header(4, 4, 8, 1);
    for (int i = 0; i < 256; ++i) dib.colour(i, i, i);
    dib.raw({4, 1, 0, 0, 4, 2});  // two rows of four rows, no end marker
    Image image;
    EXPECT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgCorruptFile);
    EXPECT_EQ(image->header, nullptr);
}

}  // namespace

namespace {

// A 32-bit DIB of 2 x 1 pixels with alpha in its bit fields (a BITMAPV3INFOHEADER).
DibBuilder AlphaFields(uint8_t alphaLeft, uint8_t alphaRight) {
    DibBuilder dib;
    dib.header(2, 1, 32, 3, 0, 56);
    const uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    for (int i = 0; i < 4; ++i)
        for (int b = 0; b < 4; ++b) dib.bytes[40 + 4 * i + b] = uint8_t(masks[i] >> (8 * b));
    dib.raw({0, 0, 255, alphaLeft});   // red
    dib.raw({255, 0, 0, alphaRight});  // blue
    return dib;
}

TEST(DibAlpha, TransparencyInBitFieldsIsComposedOntoWhite) {
    DibBuilder dib = AlphaFields(0, 128);
    Image image;
    ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
    EXPECT_EQ(RgbAt(image.buffer, 0, 0), (Rgb{255, 255, 255}));  // wholly transparent
    EXPECT_EQ(RgbAt(image.buffer, 1, 0), (Rgb{127, 127, 255}));  // half covered
}

TEST(DibAlpha, AlphaZeroEverywhereIsTakenAsUnset) {
    // Writers that fill only the colours leave the alpha bytes zero; viewers show the colours.
    DibBuilder dib = AlphaFields(0, 0);
    Image image;
    ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
    EXPECT_EQ(RgbAt(image.buffer, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(RgbAt(image.buffer, 1, 0), (Rgb{0, 0, 255}));
}

TEST(DibDepths, TwoBitPixelsThroughTheirTable) {
    DibBuilder dib;
    dib.header(5, 1, 2, 0, 4);
    dib.colour(0, 0, 0);
    dib.colour(255, 0, 0);
    dib.colour(0, 255, 0);
    dib.colour(0, 0, 255);
    dib.raw({0x1B, 0x40, 0, 0});  // 0 1 2 3 | 1
    Image image;
    ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
    EXPECT_EQ(BitsPerPixel(image.buffer), 8);
    EXPECT_EQ(RgbAt(image.buffer, 1, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(RgbAt(image.buffer, 3, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(RgbAt(image.buffer, 4, 0), (Rgb{255, 0, 0}));
}

TEST(DibHeaders, Os2HeadersOfSixteenToSixtyFourBytes) {
    for (uint32_t size : {16u, 40u, 64u}) {
        SCOPED_TRACE(size);
        DibBuilder dib;
        dib.u32(size);
        dib.u32(2);
        dib.u32(1);
        dib.u16(1);
        dib.u16(8);
        dib.bytes.resize(size, 0);  // no compression, a full table implied
        for (int i = 0; i < 256; ++i) dib.colour(i, 255 - i, 7);
        dib.raw({3, 200, 0, 0});
        Image image;
        ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
        EXPECT_EQ(RgbAt(image.buffer, 0, 0), (Rgb{3, 252, 7}));
        EXPECT_EQ(RgbAt(image.buffer, 1, 0), (Rgb{200, 55, 7}));
    }
}

TEST(DibRunLength, Os2Rle24) {
    DibBuilder dib;
    dib.header(3, 1, 24, 4, 0, 64);
    dib.raw({2, 10, 20, 30});  // two pixels of blue 10, green 20, red 30
    dib.raw({1, 1, 2, 3});     // one of blue 1, green 2, red 3
    dib.raw({0, 0, 0, 1});     // end of line, end of bitmap
    Image image;
    ASSERT_EQ(DibToImage(dib.bytes.data(), dib.bytes.size(), image), kImgOk);
    EXPECT_EQ(RgbAt(image.buffer, 0, 0), (Rgb{30, 20, 10}));
    EXPECT_EQ(RgbAt(image.buffer, 2, 0), (Rgb{3, 2, 1}));
}

TEST(DibColourTables, ATableTheHeaderImpliesIsCutToWhatIsThere) {
    // 8 bits, no count given (256 implied), but only two entries before the pixels.
    const int offset = 40 + 2 * 4;
    std::vector<uint8_t> file = {'B', 'M'};
    DibBuilder dib;
    dib.header(2, 1, 8);
    dib.colour(10, 20, 30);
    dib.colour(40, 50, 60);
    dib.raw({1, 0, 0, 0});
    const uint32_t fileSize = 14 + static_cast<uint32_t>(dib.bytes.size());
    for (int i = 0; i < 4; ++i) file.push_back(uint8_t(fileSize >> (8 * i)));
    file.insert(file.end(), {0, 0, 0, 0});
    for (int i = 0; i < 4; ++i) file.push_back(uint8_t((14 + offset) >> (8 * i)));
    file.insert(file.end(), dib.bytes.begin(), dib.bytes.end());
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("short.bmp"), std::string(file.begin(), file.end()));
    Image image;
    ASSERT_EQ(fixtures::Load(dir.file("short.bmp"), image), kImgOk);
    EXPECT_EQ(RgbAt(image.buffer, 0, 0), (Rgb{40, 50, 60}));
    EXPECT_EQ(RgbAt(image.buffer, 1, 0), (Rgb{10, 20, 30}));
    // Stated, the same count is damage: the table would run into the pixels.
    file[14 + 32] = 255;
    testsupport::writeFile(dir.file("over.bmp"), std::string(file.begin(), file.end()));
    Image refused;
    EXPECT_NE(fixtures::Load(dir.file("over.bmp"), refused), kImgOk);
    EXPECT_NE(ImageFileProblem().find("colour table runs past"), std::string::npos)
        << ImageFileProblem();
}

}  // namespace

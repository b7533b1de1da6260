#include <gtest/gtest.h>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;
using testsupport::run;
using testsupport::shellQuote;
using testsupport::TempDir;

namespace {

TEST(TgaSave, OnlyTwentyFourBitsAndNoFileOtherwise) {
    TempDir dir;
    for (int kind : {1, 8}) {
        Image image;
        fixtures::MakePattern(image, kind, 10, 10);
        const std::string file = dir.file("x.tga");
        EXPECT_EQ(SaveTga(file.c_str(), image, 1), kImgBadDepth);
        EXPECT_FALSE(testsupport::fileExists(file));
        EXPECT_TRUE(testsupport::listDir(dir.path()).empty());
    }
}

TEST(TgaSave, SidesBeyondTheFormatGiveTooLarge) {
    TempDir dir;
    Image wide;
    ASSERT_EQ(AllocateImage(wide.buffer, 65536, 1, 24), kImgOk);
    const std::string file = dir.file("wide.tga");
    EXPECT_EQ(SaveTga(file.c_str(), wide, 1), kImgTooLarge);
    EXPECT_FALSE(testsupport::fileExists(file));
    // The working area counts, not the whole image.
    SetImageArea(wide.buffer, 0, 0, 65534, 0);
    EXPECT_EQ(SaveTga(file.c_str(), wide, 1), kImgOk);
}

TEST(TgaSave, FailedSaveLeavesNothingAndKeepsTheOldFile) {
    TempDir dir;
    const std::string file = dir.file("keep.tga");
    testsupport::writeFile(file, "previous contents");
    Image grey;
    fixtures::MakePattern(grey, 8, 4, 4);
    EXPECT_EQ(SaveTga(file.c_str(), grey, 1), kImgBadDepth);
    EXPECT_EQ(testsupport::readFile(file), "previous contents");
    EXPECT_EQ(testsupport::listDir(dir.path()).size(), 1u);
}

TEST(TgaRoundTrip, RawAndRunLengthAgreeWithNetpbm) {
    TempDir dir;
    Image original;
    fixtures::MakePattern(original, 24, 300, 7);  // runs longer than one packet
    for (int x = 0; x < 300; ++x) std::memset(RowPointer(original.buffer, 3) + 3 * x, 0x40, 3);
    for (int option : {0, 1}) {
        SCOPED_TRACE(option);
        const std::string file = dir.file("rt.tga");
        ASSERT_EQ(SaveTga(file.c_str(), original, option), kImgOk);
        Image loaded;
        ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
        EXPECT_TRUE(fixtures::SamePicture(original, loaded));
        Image seen;
        ASSERT_TRUE(fixtures::DecodeWithNetpbm("tgatoppm", file, seen));
        EXPECT_TRUE(fixtures::SamePicture(original, seen));
    }
    EXPECT_LT(testsupport::readFile(dir.file("rt.tga")).size(), 300u * 7 * 3);
    EXPECT_EQ(SaveTga(dir.file("o.tga").c_str(), original, 2), kImgUnsupportedOption);
}

TEST(TgaLoad, NetpbmVariants) {
    TempDir dir;
    Image colour, grey, palette;
    fixtures::MakePattern(colour, 24, 37, 23);
    fixtures::MakePattern(grey, 8, 37, 23);
    fixtures::MakePattern(palette, 80, 37, 23);
    testsupport::writeFile(dir.file("c.ppm"), fixtures::Netpbm(colour));
    testsupport::writeFile(dir.file("g.pgm"), fixtures::Netpbm(grey));
    testsupport::writeFile(dir.file("p.ppm"), fixtures::Netpbm(palette));
    const std::string out = shellQuote(dir.file("t.tga"));
    struct Case {
        std::string command;
        const ImageBuffer* want;
        int bits;
    };
    const Case cases[] = {
        {"ppmtotga -rgb -norle " + shellQuote(dir.file("c.ppm")), &colour.buffer, 24},
        {"ppmtotga -rgb " + shellQuote(dir.file("c.ppm")), &colour.buffer, 24},
        {"ppmtotga -mono " + shellQuote(dir.file("g.pgm")), &grey.buffer, 8},
        {"ppmtotga -mono -norle " + shellQuote(dir.file("g.pgm")), &grey.buffer, 8},
        {"ppmtotga -cmap " + shellQuote(dir.file("p.ppm")), &palette.buffer, 8},
        {"ppmtotga -cmap -norle " + shellQuote(dir.file("p.ppm")), &palette.buffer, 8},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.command);
        ASSERT_EQ(run(k.command + " > " + out + " 2>/dev/null"), 0);
        Image loaded;
        ASSERT_EQ(fixtures::Load(dir.file("t.tga"), loaded), kImgOk);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), k.bits);
        EXPECT_TRUE(fixtures::SamePicture(*k.want, loaded));
    }
}

TEST(TgaLoad, OriginsAndSixteenBitPixels) {
    TempDir dir;
    // 2 x 2, 16-bit 5-5-5: red, green / blue, white, stored in each of the four orders.
    const uint16_t red = 31 << 10, green = 31 << 5, blue = 31, white = 0x7FFF;
    struct Order {
        uint8_t descriptor;
        uint16_t stored[4];
    };
    const Order orders[] = {
        {0x20, {red, green, blue, white}},  // top-left
        {0x00, {blue, white, red, green}},  // bottom-left
        {0x30, {green, red, white, blue}},  // top-right
        {0x10, {white, blue, green, red}},  // bottom-right
    };
    for (const Order& o : orders) {
        SCOPED_TRACE(int(o.descriptor));
        std::string file(18, '\0');
        file[2] = 2;
        file[12] = 2;
        file[14] = 2;
        file[16] = 16;
        file[17] = static_cast<char>(o.descriptor);
        for (uint16_t v : o.stored) {
            file += static_cast<char>(v & 0xFF);
            file += static_cast<char>(v >> 8);
        }
        testsupport::writeFile(dir.file("o.tga"), file);
        Image loaded;
        ASSERT_EQ(fixtures::Load(dir.file("o.tga"), loaded), kImgOk);
        EXPECT_EQ(fixtures::Rgb(loaded.buffer),
                  (std::vector<uint8_t>{255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}));
    }
}

// A 3 x 1 run-length file, top-left origin: a run of two blue pixels with attribute byte 0x80,
// then one raw red pixel with 0x40; `descriptor` holds the attribute bits.
std::string ThirtyTwoBitFile(uint8_t descriptor) {
    std::string file(18, '\0');
    file[2] = 10;
    file[12] = 3;
    file[14] = 1;
    file[16] = 32;
    file[17] = static_cast<char>(descriptor);
    file += std::string("\x81\xff\x00\x00\x80", 5);
    file += std::string("\x00\x00\x00\xff\x40", 5);
    return file;
}

TEST(TgaLoad, ThirtyTwoBitAlphaIsComposedOntoWhite) {
    TempDir dir;
    // Eight attribute bits: alpha. Half-covered blue and quarter-covered red on white.
    testsupport::writeFile(dir.file("a.tga"), ThirtyTwoBitFile(0x28));
    Image loaded;
    ASSERT_EQ(fixtures::Load(dir.file("a.tga"), loaded), kImgOk);
    EXPECT_EQ(BitsPerPixel(loaded.buffer), 24);
    EXPECT_EQ(fixtures::Rgb(loaded.buffer),
              (std::vector<uint8_t>{127, 127, 255, 127, 127, 255, 255, 191, 191}));
    // No attribute bits: the fourth byte is no alpha.
    testsupport::writeFile(dir.file("n.tga"), ThirtyTwoBitFile(0x20));
    Image plain;
    ASSERT_EQ(fixtures::Load(dir.file("n.tga"), plain), kImgOk);
    EXPECT_EQ(fixtures::Rgb(plain.buffer), (std::vector<uint8_t>{0, 0, 255, 0, 0, 255, 255, 0, 0}));
}

TEST(TgaLoad, AlphaThatIsZeroEverywhereIsTakenAsUnset) {
    TempDir dir;
    std::string file = ThirtyTwoBitFile(0x28);
    file[22] = 0;  // the run's attribute byte
    file[27] = 0;  // the raw pixel's
    testsupport::writeFile(dir.file("z.tga"), file);
    Image loaded;
    ASSERT_EQ(fixtures::Load(dir.file("z.tga"), loaded), kImgOk);
    EXPECT_EQ(fixtures::Rgb(loaded.buffer),
              (std::vector<uint8_t>{0, 0, 255, 0, 0, 255, 255, 0, 0}));
}

TEST(TgaDamage, TruncatedFilesFail) {
    TempDir dir;
    Image image;
    fixtures::MakePattern(image, 24, 40, 30);
    for (int option : {0, 1}) {
        const std::string file = dir.file("whole.tga");
        ASSERT_EQ(SaveTga(file.c_str(), image, option), kImgOk);
        const size_t size = testsupport::readFile(file).size();
        for (size_t keep : {size_t{10}, size_t{18}, size / 2, size - 1}) {
            Image loaded;
            EXPECT_LT(fixtures::Load(fixtures::Truncated(dir, file, keep), loaded), 0) << keep;
        }
    }
}

}  // namespace

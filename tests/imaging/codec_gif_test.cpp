#include <gtest/gtest.h>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;
using testsupport::run;
using testsupport::shellQuote;
using testsupport::TempDir;

namespace {

TEST(GifRoundTrip, PaletteDepthsAreLossless) {
    TempDir dir;
    for (int kind : {1, 8, 80}) {
        SCOPED_TRACE(kind);
        Image original;
        fixtures::MakePattern(original, kind, 43, 21);
        const std::string file = dir.file("rt.gif");
        ASSERT_EQ(SaveGif(file.c_str(), original), kImgOk);
        Image loaded;
        ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), BitsPerPixel(original.buffer));
        EXPECT_TRUE(fixtures::SamePicture(original, loaded));
        Image seen;
        ASSERT_TRUE(fixtures::DecodeWithNetpbm("giftopnm", file, seen));
        EXPECT_TRUE(fixtures::SamePicture(original, seen));
    }
}

TEST(GifRoundTrip, ColourIsQuantisedToAGoodPalette) {
    TempDir dir;
    Image smooth;
    fixtures::MakeSmooth(smooth, 24, 160, 120);
    const std::string file = dir.file("q.gif");
    ASSERT_EQ(SaveGif(file.c_str(), smooth), kImgOk);
    Image loaded;
    ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
    EXPECT_EQ(BitsPerPixel(loaded.buffer), 8);
    EXPECT_GT(fixtures::Psnr(smooth, loaded), 31.0);  // ImageMagick without dithering: 32.6
    // A picture with few colours (multiples of 8 survive the 5-bit histogram) comes back exactly.
    Image few;
    ASSERT_EQ(AllocateImage(few.buffer, 30, 30, 24), kImgOk);
    for (uint32_t y = 0; y < 30; ++y)
        for (uint32_t x = 0; x < 30; ++x) {
            uint8_t* p = RowPointer(few.buffer, y) + 3 * x;
            p[0] = static_cast<uint8_t>((x / 10) * 120);
            p[1] = static_cast<uint8_t>((y / 10) * 64);
            p[2] = 200;
        }
    ASSERT_EQ(SaveGif(file.c_str(), few), kImgOk);
    Image fewLoaded;
    ASSERT_EQ(fixtures::Load(file, fewLoaded), kImgOk);
    EXPECT_TRUE(fixtures::ClosePicture(few, fewLoaded, 4));
}

TEST(GifFromTools, InterlacedTransparentAndAnimated) {
    TempDir dir;
    Image colour;
    fixtures::MakePattern(colour, 80, 37, 23);
    testsupport::writeFile(dir.file("c.ppm"), fixtures::Netpbm(colour));
    const std::string c = shellQuote(dir.file("c.ppm"));
    const std::string out = shellQuote(dir.file("t.gif"));
    for (const std::string& command : {"ppmtogif " + c + " > " + out + " 2>/dev/null",
                                       "ppmtogif -interlace " + c + " > " + out + " 2>/dev/null",
                                       "/usr/bin/convert " + c + " -interlace gif " + out}) {
        SCOPED_TRACE(command);
        ASSERT_EQ(run(command), 0);
        Image loaded;
        ASSERT_EQ(fixtures::Load(dir.file("t.gif"), loaded), kImgOk);
        EXPECT_TRUE(fixtures::SamePicture(colour, loaded));
    }
    // First frame of an animation.
    ASSERT_EQ(run("/usr/bin/convert -delay 10 -size 5x4 xc:red xc:blue " + out), 0);
    Image first;
    ASSERT_EQ(fixtures::Load(dir.file("t.gif"), first), kImgOk);
    EXPECT_EQ(fixtures::Rgb(first.buffer)[0], 255);
    EXPECT_EQ(fixtures::Rgb(first.buffer)[2], 0);
    // The transparent colour shows as white.
    ASSERT_EQ(run("/usr/bin/convert -size 3x1 xc:none -fill red -draw 'point 1,0' " + out), 0);
    Image clear;
    ASSERT_EQ(fixtures::Load(dir.file("t.gif"), clear), kImgOk);
    const auto rgb = fixtures::Rgb(clear.buffer);
    EXPECT_EQ(std::vector<uint8_t>(rgb.begin(), rgb.end()),
              (std::vector<uint8_t>{255, 255, 255, 255, 0, 0, 255, 255, 255}));
}

TEST(GifDamage, TruncatedHeadersFailAndBrokenFramesShowWhatDecodes) {
    TempDir dir;
    Image image;
    fixtures::MakePattern(image, 80, 64, 48);
    const std::string file = dir.file("whole.gif");
    ASSERT_EQ(SaveGif(file.c_str(), image), kImgOk);
    const size_t size = testsupport::readFile(file).size();
    // Cut in the header, the colour table or before a whole row of the frame: no picture.
    for (size_t keep : {size_t{6}, size_t{13}, size_t{800}}) {
        Image loaded;
        EXPECT_LT(fixtures::Load(fixtures::Truncated(dir, file, keep), loaded), 0) << keep;
    }
    // Cut inside the frame's data: the rows that decode are the picture's, the rest is the
    // background, as other viewers show such a file.
    Image half;
    ASSERT_EQ(fixtures::Load(fixtures::Truncated(dir, file, size / 2), half), kImgOk);
    Image whole;
    ASSERT_EQ(fixtures::Load(file, whole), kImgOk);
    const auto got = fixtures::Rgb(half.buffer), want = fixtures::Rgb(whole.buffer);
    const size_t rowBytes = 64 * 3;
    EXPECT_EQ(std::vector<uint8_t>(got.begin(), got.begin() + rowBytes),
              std::vector<uint8_t>(want.begin(), want.begin() + rowBytes));
    EXPECT_NE(got, want);
}

}  // namespace

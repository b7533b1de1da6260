#include <gtest/gtest.h>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;
using testsupport::run;
using testsupport::shellQuote;
using testsupport::TempDir;

namespace {

TEST(PngRoundTrip, EveryDepthIsLosslessWithResolution) {
    TempDir dir;
    for (int kind : {1, 8, 80, 24}) {
        SCOPED_TRACE(kind);
        Image original;
        fixtures::MakePattern(original, kind, 41, 27);
        SetImageDpi(original.buffer, 300, 300);
        const std::string file = dir.file("rt.png");
        ASSERT_EQ(SavePng(file.c_str(), original, 0), kImgOk);
        Image loaded;
        ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), BitsPerPixel(original.buffer));
        EXPECT_EQ(loaded->imageFlags & kImageFlagGrey, original->imageFlags & kImageFlagGrey);
        EXPECT_EQ(ImageDpiX(loaded.buffer), 300);
        EXPECT_TRUE(fixtures::SamePicture(original, loaded));
        Image seen;
        ASSERT_TRUE(fixtures::DecodeWithNetpbm("pngtopnm", file, seen));
        EXPECT_TRUE(fixtures::SamePicture(original, seen));
    }
}

TEST(PngRoundTrip, TwoColourPaletteStaysOneBit) {
    TempDir dir;
    Image original;
    fixtures::MakePattern(original, 1, 19, 7);
    original->palette[0] = RgbQuad{200, 0, 0, 0};
    original->palette[1] = RgbQuad{0, 180, 255, 0};
    original->imageFlags = 0;
    const std::string file = dir.file("two.png");
    ASSERT_EQ(SavePng(file.c_str(), original, 0), kImgOk);
    Image loaded;
    ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
    EXPECT_EQ(BitsPerPixel(loaded.buffer), 1);
    EXPECT_FALSE(loaded->imageFlags & kImageFlagGrey);
    EXPECT_TRUE(fixtures::SamePicture(original, loaded));
}

TEST(PngRoundTrip, PhysChunkHoldsPixelsPerMetre) {
    TempDir dir;
    Image image;
    fixtures::MakePattern(image, 8, 8, 8);
    SetImageDpi(image.buffer, 200, 100);
    const std::string file = dir.file("dpi.png");
    ASSERT_EQ(SavePng(file.c_str(), image, 0), kImgOk);
    const std::string data = testsupport::readFile(file);
    const size_t at = data.find("pHYs");
    ASSERT_NE(at, std::string::npos);
    // 200 dpi = 7874 pixels per metre, 100 dpi = 3937; unit 1 = metre.
    EXPECT_EQ(data.substr(at + 4, 9), std::string("\0\0\x1e\xc2\0\0\x0f\x61\x01", 9));
    EXPECT_EQ(SavePng(file.c_str(), image, 3), kImgUnsupportedOption);
}

TEST(PngFromTools, DepthsPalettesAlphaAndInterlace) {
    TempDir dir;
    Image colour, grey;
    fixtures::MakePattern(colour, 24, 37, 23);
    fixtures::MakePattern(grey, 8, 37, 23);
    testsupport::writeFile(dir.file("c.ppm"), fixtures::Netpbm(colour));
    testsupport::writeFile(dir.file("g.pgm"), fixtures::Netpbm(grey));
    const std::string c = shellQuote(dir.file("c.ppm")), g = shellQuote(dir.file("g.pgm"));
    const std::string out = shellQuote(dir.file("t.png"));
    struct Case {
        std::string command;
        const ImageBuffer* want;  // null: compare with ImageMagick's reading
        int bits;
    };
    const Case cases[] = {
        {"pnmtopng " + c + " > " + out + " 2>/dev/null", &colour.buffer, 24},
        {"pnmtopng -interlace " + c + " > " + out + " 2>/dev/null", &colour.buffer, 24},
        {"pnmtopng " + g + " > " + out + " 2>/dev/null", &grey.buffer, 8},
        {"pnmtopng -interlace " + g + " > " + out + " 2>/dev/null", &grey.buffer, 8},
        {"/usr/bin/convert " + c + " -depth 16 PNG48:" + out, &colour.buffer, 24},
        {"/usr/bin/convert " + g + " -depth 16 " + out, &grey.buffer, 8},
        {"/usr/bin/convert " + g + " -depth 2 " + out, nullptr, 8},
        {"/usr/bin/convert " + g + " -depth 4 " + out, nullptr, 8},
        {"/usr/bin/convert " + c + " -colors 100 PNG8:" + out, nullptr, 8},
        {"/usr/bin/convert " + g + " -threshold 50% -type bilevel " + out, nullptr, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.command);
        ASSERT_EQ(run(k.command), 0);
        Image loaded;
        ASSERT_EQ(fixtures::Load(dir.file("t.png"), loaded), kImgOk);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), k.bits);
        if (k.want) {
            EXPECT_TRUE(fixtures::SamePicture(*k.want, loaded));
        } else {
            Image seen;
            ASSERT_TRUE(fixtures::DecodeWithImageMagick(dir.file("t.png"), seen));
            EXPECT_TRUE(fixtures::SamePicture(seen, loaded));
        }
    }
}

TEST(PngFromTools, TransparencyIsFlattenedOnWhite) {
    TempDir dir;
    const std::string out = dir.file("a.png");
    // Colour with alpha, grey with alpha, and a palette with a transparent entry.
    const char* const variants[] = {"PNG32:", "", "PNG8:"};
    for (const char* prefix : variants) {
        SCOPED_TRACE(prefix);
        const std::string colour =
            std::string(prefix).empty() ? "rgba(0,0,0,0.5)" : "rgba(0,0,255,0.5)";
        ASSERT_EQ(
            run("/usr/bin/convert -size 3x1 xc:none -fill '" + colour + "' -draw 'point 1,0' " +
                (std::string(prefix).empty() ? "-colorspace gray " : "") + prefix +
                shellQuote(out)),
            0);
        Image loaded;
        ASSERT_EQ(fixtures::Load(out, loaded), kImgOk);
        const auto rgb = fixtures::Rgb(loaded.buffer);
        EXPECT_EQ(rgb[0], 255);
        EXPECT_EQ(rgb[1], 255);
        EXPECT_EQ(rgb[2], 255);
        if (std::string(prefix).empty()) {
            EXPECT_NEAR(rgb[3], 128, 2);  // half black on white
        } else if (std::string(prefix) == "PNG32:") {
            EXPECT_NEAR(rgb[3], 128, 2);
            EXPECT_EQ(rgb[5], 255);
        }
    }
}

TEST(PngDamage, TruncatedFilesFail) {
    TempDir dir;
    Image image;
    fixtures::MakePattern(image, 24, 50, 40);
    const std::string file = dir.file("whole.png");
    ASSERT_EQ(SavePng(file.c_str(), image, 0), kImgOk);
    const size_t size = testsupport::readFile(file).size();
    for (size_t keep : {size_t{8}, size_t{30}, size / 2, size - 12}) {
        Image loaded;
        EXPECT_LT(fixtures::Load(fixtures::Truncated(dir, file, keep), loaded), 0) << keep;
    }
}

}  // namespace

#include <gtest/gtest.h>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;
using testsupport::run;
using testsupport::shellQuote;
using testsupport::TempDir;

namespace {

TEST(PcxRoundTrip, OneEightAndTwentyFourBits) {
    TempDir dir;
    for (int kind : {1, 8, 80, 24}) {
        SCOPED_TRACE(kind);
        Image original;
        fixtures::MakePattern(original, kind, 39, 17);  // odd width: padded lines
        SetImageDpi(original.buffer, 200, 200);
        const std::string file = dir.file("rt.pcx");
        ASSERT_EQ(SavePcx(file.c_str(), original), kImgOk);
        Image loaded;
        ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), BitsPerPixel(original.buffer));
        EXPECT_EQ(ImageDpiX(loaded.buffer), 200);
        EXPECT_TRUE(fixtures::SamePicture(original, loaded));
        Image seen;
        ASSERT_TRUE(fixtures::DecodeWithNetpbm("pcxtoppm", file, seen));
        EXPECT_TRUE(fixtures::SamePicture(original, seen));
    }
}

TEST(PcxRoundTrip, InvertedBilevelTableIsStoredTheStandardWay) {
    TempDir dir;
    Image image;
    fixtures::MakePattern(image, 1, 20, 4);
    image->palette[0] = RgbQuad{255, 255, 255, 0};  // 0 = white
    image->palette[1] = RgbQuad{0, 0, 0, 0};
    const std::string file = dir.file("inv.pcx");
    ASSERT_EQ(SavePcx(file.c_str(), image), kImgOk);
    Image loaded;
    ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
    EXPECT_TRUE(fixtures::SamePicture(image, loaded));
}

TEST(PcxFromTools, NetpbmAndImageMagick) {
    TempDir dir;
    Image colour, palette;
    fixtures::MakePattern(colour, 24, 37, 23);
    fixtures::MakePattern(palette, 80, 37, 23);
    testsupport::writeFile(dir.file("c.ppm"), fixtures::Netpbm(colour));
    testsupport::writeFile(dir.file("p.ppm"), fixtures::Netpbm(palette));
    const std::string out = shellQuote(dir.file("t.pcx"));
    struct Case {
        std::string command;
        const ImageBuffer* want;
        int bits;
    };
    const Case cases[] = {
        {"ppmtopcx -24bit " + shellQuote(dir.file("c.ppm")) + " > " + out + " 2>/dev/null",
         &colour.buffer, 24},
        {"ppmtopcx -8bit " + shellQuote(dir.file("p.ppm")) + " > " + out + " 2>/dev/null",
         &palette.buffer, 8},
        {"/usr/bin/convert " + shellQuote(dir.file("c.ppm")) + " " + out, &colour.buffer, 24},
        {"/usr/bin/convert " + shellQuote(dir.file("p.ppm")) + " -type palette " + out,
         &palette.buffer, 8},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.command);
        ASSERT_EQ(run(k.command), 0);
        Image loaded;
        ASSERT_EQ(fixtures::Load(dir.file("t.pcx"), loaded), kImgOk);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), k.bits);
        EXPECT_TRUE(fixtures::SamePicture(*k.want, loaded));
    }
    // 16 colours in four bit planes.
    ASSERT_EQ(run("/usr/bin/convert " + shellQuote(dir.file("c.ppm")) + " -colors 16 " +
                  shellQuote(dir.file("c16.ppm")) + " && ppmtopcx -planes 4 " +
                  shellQuote(dir.file("c16.ppm")) + " > " + out + " 2>/dev/null"),
              0);
    Image sixteen, want;
    ASSERT_EQ(fixtures::Load(dir.file("t.pcx"), sixteen), kImgOk);
    ASSERT_TRUE(fixtures::DecodeWithNetpbm("pcxtoppm", dir.file("t.pcx"), want));
    EXPECT_TRUE(fixtures::SamePicture(want, sixteen));
}

TEST(PcxDamage, TruncatedFilesFail) {
    TempDir dir;
    for (int kind : {1, 8, 24}) {
        Image image;
        fixtures::MakePattern(image, kind, 40, 30);
        const std::string file = dir.file("whole.pcx");
        ASSERT_EQ(SavePcx(file.c_str(), image), kImgOk);
        const size_t size = testsupport::readFile(file).size();
        for (size_t keep : {size_t{1}, size_t{100}, size_t{140}, size - 800}) {
            if (keep >= size) continue;
            Image loaded;
            EXPECT_LT(fixtures::Load(fixtures::Truncated(dir, file, keep), loaded), 0)
                << kind << " " << keep;
        }
    }
}

}  // namespace

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;
using testsupport::capture;
using testsupport::run;
using testsupport::shellQuote;
using testsupport::TempDir;

namespace {

const char* const kIm = "/usr/bin/convert";

std::string Q(const std::string& s) {
    return shellQuote(s);
}

TEST(TiffRoundTrip, EveryDepthAndCompressionThatApplies) {
    TempDir dir;
    for (int kind : {1, 8, 80, 24}) {
        Image original;
        fixtures::MakePattern(original, kind, 45, 19);
        SetImageDpi(original.buffer, 300, 150);
        for (int code = 0; code <= 7; ++code) {
            SCOPED_TRACE("kind " + std::to_string(kind) + " code " + std::to_string(code));
            const std::string file = dir.file("rt.tif");
            const int rc = SaveTiff(file.c_str(), original, code);
            const bool ccitt = code >= 3 && code <= 5;
            const bool jpeg = code >= 6;
            if ((ccitt && kind != 1) || (jpeg && kind == 1)) {
                EXPECT_EQ(rc, kImgUnsupportedOption);
                continue;
            }
            ASSERT_EQ(rc, kImgOk);
            Image loaded;
            ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
            EXPECT_EQ(ImageDpiX(loaded.buffer), 300);
            EXPECT_EQ(ImageDpiY(loaded.buffer), 150);
            if (jpeg) {
                EXPECT_EQ(BitsPerPixel(loaded.buffer), kind == 8 ? 8 : 24);
                continue;  // fidelity: see JpegCompressionKeepsSmoothPictures
            }
            EXPECT_EQ(BitsPerPixel(loaded.buffer), BitsPerPixel(original.buffer));
            EXPECT_TRUE(fixtures::SamePicture(original, loaded));
            // libtiff's own tools agree about the pixels.
            Image seen;
            ASSERT_TRUE(fixtures::DecodeWithImageMagick(file, seen));
            EXPECT_TRUE(fixtures::SamePicture(original, seen));
        }
    }
}

TEST(TiffRoundTrip, TwoColourImageKeepsItsColours) {
    // A 1-bit image whose colours are not black and white (a page loaded from a two-colour
    // PNG, then rotated) must not come back black and white.
    TempDir dir;
    Image original;
    fixtures::MakePattern(original, 1, 37, 21);
    original.buffer.palette[0] = RgbQuad{255, 255, 255, 0};  // white
    original.buffer.palette[1] = RgbQuad{40, 30, 220, 0};    // red (blue, green, red)
    for (int code : {0, 1, 2}) {
        SCOPED_TRACE("code " + std::to_string(code));
        const std::string file = dir.file("two.tif");
        ASSERT_EQ(SaveTiff(file.c_str(), original, code), kImgOk);
        EXPECT_NE(capture("tiffinfo " + Q(file) + " 2>/dev/null").find("palette"),
                  std::string::npos);
        Image loaded;
        ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), 1);
        EXPECT_TRUE(fixtures::SamePicture(original, loaded));
        Image seen;
        ASSERT_TRUE(fixtures::DecodeWithImageMagick(file, seen));
        EXPECT_TRUE(fixtures::SamePicture(original, seen));
    }
    // Fax compressions know only black and white: the darker colour becomes black.
    const std::string fax = dir.file("fax.tif");
    ASSERT_EQ(SaveTiff(fax.c_str(), original, 4), kImgOk);
    Image loaded;
    ASSERT_EQ(fixtures::Load(fax, loaded), kImgOk);
    EXPECT_EQ(BitsPerPixel(loaded.buffer), 1);
}

TEST(TiffRoundTrip, JpegCompressionKeepsSmoothPictures) {
    TempDir dir;
    for (int bits : {8, 24}) {
        Image original;
        fixtures::MakeSmooth(original, bits, 120, 90);
        const std::string file = dir.file("j.tif");
        ASSERT_EQ(SaveTiff(file.c_str(), original, 7), kImgOk);
        Image loaded;
        ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
        EXPECT_GT(fixtures::Psnr(original, loaded), 32.0) << bits;
        EXPECT_NE(capture("tiffinfo " + Q(file) + " 2>/dev/null").find("JPEG"), std::string::npos);
    }
}

// Page files live in the temporary folder and hold the user's scans: readable by the user
// alone. A file saved anywhere else gets the usual permissions.
TEST(TiffRoundTrip, PageFilesInTheTemporaryFolderArePrivate) {
    testsupport::IsolatedHome home;
    const mode_t previous = umask(022);
    Image page;
    fixtures::MakePattern(page, 8, 30, 20);
    for (const std::string& file : {home.tempDir() + "/VW1.tmp.TIF", home.path() + "/out.tif"}) {
        ASSERT_EQ(SaveTiff(file.c_str(), page, 1), kImgOk);
        struct stat st {};
        ASSERT_EQ(stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, file == home.tempDir() + "/VW1.tmp.TIF" ? 0600u : 0644u)
            << file;
    }
    umask(previous);
}

TEST(TiffRoundTrip, UnknownCompressionCodeIsRefused) {
    TempDir dir;
    Image image;
    fixtures::MakePattern(image, 8, 4, 4);
    EXPECT_EQ(SaveTiff(dir.file("x.tif").c_str(), image, 8), kImgUnsupportedOption);
    EXPECT_EQ(SaveTiff(dir.file("x.tif").c_str(), image, -1), kImgUnsupportedOption);
    EXPECT_FALSE(testsupport::fileExists(dir.file("x.tif")));
}

TEST(TiffRoundTrip, OnlyTheWorkingAreaIsWritten) {
    TempDir dir;
    for (int kind : {1, 24}) {
        Image image;
        fixtures::MakePattern(image, kind, 40, 30);
        SetImageArea(image.buffer, 3, 5, 20, 17);
        const std::string file = dir.file("area.tif");
        ASSERT_EQ(SaveTiff(file.c_str(), image, 1), kImgOk);
        Image loaded;
        ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
        EXPECT_EQ(ImageWidth(loaded.buffer), 18);
        EXPECT_EQ(ImageHeight(loaded.buffer), 13);
        EXPECT_TRUE(fixtures::SamePicture(image, loaded));
    }
}

TEST(TiffRoundTrip, ResolutionTagsAreWritten) {
    TempDir dir;
    Image image;
    fixtures::MakePattern(image, 1, 16, 16);
    SetImageDpi(image.buffer, 200, 100);
    const std::string file = dir.file("dpi.tif");
    ASSERT_EQ(SaveTiff(file.c_str(), image, 4), kImgOk);
    const std::string info = capture("tiffinfo " + Q(file) + " 2>/dev/null");
    EXPECT_NE(info.find("Resolution: 200, 100 pixels/inch"), std::string::npos) << info;
    EXPECT_NE(info.find("CCITT Group 4"), std::string::npos) << info;
}

// Files made by independent tools from one picture load with that picture's pixels.
class TiffFromTools : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::MakePattern(colour, 24, 37, 23);
        fixtures::MakePattern(grey, 8, 37, 23);
        fixtures::MakePattern(bilevel, 1, 37, 23);
        testsupport::writeFile(dir.file("c.ppm"), fixtures::Netpbm(colour));
        testsupport::writeFile(dir.file("g.pgm"), fixtures::Netpbm(grey));
        testsupport::writeFile(dir.file("b.pbm"), fixtures::Netpbm(bilevel));
    }
    void ExpectLoads(const std::string& command, const std::string& file, const ImageBuffer& want,
                     int bits) {
        SCOPED_TRACE(command);
        ASSERT_EQ(run(command), 0);
        Image loaded;
        ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), bits);
        EXPECT_TRUE(fixtures::SamePicture(want, loaded));
    }
    TempDir dir;
    Image colour, grey, bilevel;
};

TEST_F(TiffFromTools, NetpbmAndTiffcpCompressions) {
    const std::string c = Q(dir.file("c.ppm")), g = Q(dir.file("g.pgm")), b = Q(dir.file("b.pbm"));
    ASSERT_EQ(run("pnmtotiff " + c + " > " + Q(dir.file("c.tif")) + " 2>/dev/null"), 0);
    ASSERT_EQ(run("pnmtotiff " + g + " > " + Q(dir.file("g.tif")) + " 2>/dev/null"), 0);
    ASSERT_EQ(run("pnmtotiff " + b + " > " + Q(dir.file("b.tif")) + " 2>/dev/null"), 0);
    for (const char* method : {"lzw", "packbits", "zip", "none"}) {
        ExpectLoads(std::string("tiffcp -c ") + method + " " + Q(dir.file("c.tif")) + " " +
                        Q(dir.file("c2.tif")),
                    dir.file("c2.tif"), colour, 24);
        ExpectLoads(std::string("tiffcp -c ") + method + " " + Q(dir.file("g.tif")) + " " +
                        Q(dir.file("g2.tif")),
                    dir.file("g2.tif"), grey, 8);
    }
    for (const char* method : {"g4", "g3", "g3:2d", "packbits", "lzw"})
        ExpectLoads(std::string("tiffcp -c ") + method + " " + Q(dir.file("b.tif")) + " " +
                        Q(dir.file("b2.tif")),
                    dir.file("b2.tif"), bilevel, 1);
    // Tiled and planar layouts go through a different read path.
    ExpectLoads("tiffcp -t -w 16 -l 16 " + Q(dir.file("c.tif")) + " " + Q(dir.file("t.tif")),
                dir.file("t.tif"), colour, 24);
    ExpectLoads("tiffcp -p separate " + Q(dir.file("c.tif")) + " " + Q(dir.file("p.tif")),
                dir.file("p.tif"), colour, 24);
    ExpectLoads("tiffcp -t -w 16 -l 16 " + Q(dir.file("g.tif")) + " " + Q(dir.file("tg.tif")),
                dir.file("tg.tif"), grey, 8);
}

TEST_F(TiffFromTools, Tiff2bwGivesTheGreyLevels) {
    ASSERT_EQ(
        run("pnmtotiff " + Q(dir.file("c.ppm")) + " > " + Q(dir.file("c.tif")) + " 2>/dev/null"),
        0);
    ASSERT_EQ(run("tiff2bw " + Q(dir.file("c.tif")) + " " + Q(dir.file("bw.tif"))), 0);
    Image loaded;
    ASSERT_EQ(fixtures::Load(dir.file("bw.tif"), loaded), kImgOk);
    EXPECT_EQ(BitsPerPixel(loaded.buffer), 8);
    EXPECT_TRUE(loaded->imageFlags & kImageFlagGrey);
    // tiff2bw weighs 28/59/11 (its own rounding), so compare with a tolerance of one level.
    const auto rgb = fixtures::Rgb(colour.buffer);
    const uint8_t* row = RowPointer(loaded.buffer, 7);
    for (int x = 0; x < 37; ++x) {
        const uint8_t* p = &rgb[(7 * 37 + x) * 3];
        const double expected = 0.28 * p[0] + 0.59 * p[1] + 0.11 * p[2];
        EXPECT_NEAR(row[x], expected, 1.5) << x;
    }
}

TEST_F(TiffFromTools, ImageMagickPhotometricsAndDepths) {
    const std::string c = Q(dir.file("c.ppm")), g = Q(dir.file("g.pgm"));
    // A palette file: what we load is what ImageMagick shows.
    ASSERT_EQ(
        run(std::string(kIm) + " " + c + " -colors 200 -type palette " + Q(dir.file("pal.tif"))),
        0);
    Image pal, palSeen;
    ASSERT_EQ(fixtures::Load(dir.file("pal.tif"), pal), kImgOk);
    EXPECT_EQ(BitsPerPixel(pal.buffer), 8);
    ASSERT_TRUE(fixtures::DecodeWithImageMagick(dir.file("pal.tif"), palSeen));
    EXPECT_TRUE(fixtures::ClosePicture(pal, palSeen, 1));  // 16-bit table, rounded either way
    ExpectLoads(
        std::string(kIm) + " " + g + " -negate -define quantum:polarity=min-is-white " +
            Q(dir.file("miniswhite.tif")),
        dir.file("miniswhite.tif"),
        [&]() -> const ImageBuffer& {
            // min-is-white of the negated picture shows the picture itself
            return grey.buffer;
        }(),
        8);
    ExpectLoads(std::string(kIm) + " " + g + " -depth 16 " + Q(dir.file("g16.tif")),
                dir.file("g16.tif"), grey, 8);
    ExpectLoads(std::string(kIm) + " " + c + " -depth 16 " + Q(dir.file("c16.tif")),
                dir.file("c16.tif"), colour, 24);
    // CMYK: compare against ImageMagick's own rendering of the same file.
    ASSERT_EQ(run(std::string(kIm) + " " + c + " -colorspace cmyk " + Q(dir.file("cmyk.tif"))), 0);
    Image cmyk, seen;
    ASSERT_EQ(fixtures::Load(dir.file("cmyk.tif"), cmyk), kImgOk);
    ASSERT_TRUE(fixtures::DecodeWithImageMagick(dir.file("cmyk.tif"), seen));
    EXPECT_GT(fixtures::Psnr(cmyk, seen), 40.0);
    // 2- and 4-bit grey.
    ASSERT_EQ(run(std::string(kIm) + " " + g + " -depth 4 " + Q(dir.file("g4.tif"))), 0);
    Image g4, g4seen;
    ASSERT_EQ(fixtures::Load(dir.file("g4.tif"), g4), kImgOk);
    ASSERT_TRUE(fixtures::DecodeWithImageMagick(dir.file("g4.tif"), g4seen));
    EXPECT_TRUE(fixtures::SamePicture(g4, g4seen));
}

TEST_F(TiffFromTools, YCbCrJpegAndAlphaOnWhite) {
    ASSERT_EQ(
        run("pnmtotiff " + Q(dir.file("c.ppm")) + " > " + Q(dir.file("c.tif")) + " 2>/dev/null"),
        0);
    ASSERT_EQ(run("tiffcp -c jpeg " + Q(dir.file("c.tif")) + " " + Q(dir.file("j.tif"))), 0);
    Image jpeg;
    ASSERT_EQ(fixtures::Load(dir.file("j.tif"), jpeg), kImgOk);
    EXPECT_GT(fixtures::Psnr(colour, jpeg), 20.0);
    // Half-transparent blue over nothing shows as light blue on white.
    ASSERT_EQ(
        run(std::string(kIm) + " -size 4x4 xc:none -fill 'rgba(0,0,255,0.5)' -draw 'point 1,1' " +
            Q(dir.file("a.tif"))),
        0);
    Image alpha;
    ASSERT_EQ(fixtures::Load(dir.file("a.tif"), alpha), kImgOk);
    const auto rgb = fixtures::Rgb(alpha.buffer);
    EXPECT_EQ(rgb[0], 255);  // transparent: white
    EXPECT_EQ(rgb[2], 255);
    const uint8_t* p = &rgb[(1 * 4 + 1) * 3];
    EXPECT_NEAR(p[0], 128, 2);
    EXPECT_NEAR(p[1], 128, 2);
    EXPECT_EQ(p[2], 255);
}

TEST_F(TiffFromTools, FirstPageOfMultiPageFile) {
    ASSERT_EQ(run(std::string(kIm) + " " + Q(dir.file("g.pgm")) + " " + Q(dir.file("c.ppm")) + " " +
                  Q(dir.file("multi.tif"))),
              0);
    ImageFileInfo info;
    ASSERT_EQ(InspectTiff(dir.file("multi.tif").c_str(), info), kImgOk);
    EXPECT_EQ(info.pageCount, 2);
    Image loaded;
    ASSERT_EQ(fixtures::Load(dir.file("multi.tif"), loaded), kImgOk);
    EXPECT_EQ(BitsPerPixel(loaded.buffer), 8);
    EXPECT_TRUE(fixtures::SamePicture(grey, loaded));
}

TEST_F(TiffFromTools, StoredOrientationIsTurnedUpright) {
    for (const char* file : {"c.tif", "b.tif"}) {
        const bool isColour = std::string(file) == "c.tif";
        ASSERT_EQ(run("pnmtotiff " + Q(dir.file(isColour ? "c.ppm" : "b.pbm")) + " > " +
                      Q(dir.file(file)) + " 2>/dev/null"),
                  0);
        // The same rows, stored bottom-up and right-to-left, with the tag saying so.
        ASSERT_EQ(run(std::string(kIm) + " " + Q(dir.file(file)) + " -rotate 180 " +
                      Q(dir.file("r.tif")) + " && tiffset -s 274 3 " + Q(dir.file("r.tif"))),
                  0);
        Image loaded;
        ASSERT_EQ(fixtures::Load(dir.file("r.tif"), loaded), kImgOk);
        EXPECT_TRUE(fixtures::SamePicture(isColour ? colour.buffer : bilevel.buffer, loaded))
            << file;
    }
}

TEST(TiffDamage, TruncatedAndLyingFilesFail) {
    TempDir dir;
    Image image;
    fixtures::MakePattern(image, 24, 64, 64);
    const std::string file = dir.file("whole.tif");
    for (int code : {0, 1, 6}) {
        ASSERT_EQ(SaveTiff(file.c_str(), image, code), kImgOk);
        const size_t size = testsupport::readFile(file).size();
        for (size_t keep : {size_t{4}, size_t{100}, size / 2}) {
            Image loaded;
            EXPECT_LT(fixtures::Load(fixtures::Truncated(dir, file, keep), loaded), 0)
                << code << " " << keep;
        }
    }
    // A tiny file claiming an enormous page is refused by inspection.
    ASSERT_EQ(run(std::string(kIm) + " -size 8x8 xc:white " + Q(dir.file("small.tif"))), 0);
    ASSERT_EQ(run("tiffset -s 256 60000 " + Q(dir.file("small.tif")) + " && tiffset -s 257 60000 " +
                  Q(dir.file("small.tif"))),
              0);
    ImageFileInfo info;
    EXPECT_LT(InspectTiff(dir.file("small.tif").c_str(), info), 0);
}

}  // namespace

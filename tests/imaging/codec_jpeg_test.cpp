#include <gtest/gtest.h>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;
using testsupport::run;
using testsupport::shellQuote;
using testsupport::TempDir;

namespace {

// The APP0 segment right after the start-of-image marker.
std::string App0(const std::string& jpeg) {
    if (jpeg.size() < 20 || jpeg.compare(0, 4, "\xFF\xD8\xFF\xE0") != 0) return {};
    const size_t length = (static_cast<uint8_t>(jpeg[4]) << 8) | static_cast<uint8_t>(jpeg[5]);
    return jpeg.substr(4, length);
}

class JpegDensity : public ::testing::Test {
protected:
    void TearDown() override { SetJpegDensity(1, 1, 0); }
};

TEST(JpegRoundTrip, ColourAndGreyStayClose) {
    TempDir dir;
    for (int bits : {8, 24}) {
        Image original;
        fixtures::MakeSmooth(original, bits, 160, 120);
        const std::string file = dir.file("rt.jpg");
        ASSERT_EQ(SaveJpeg(file.c_str(), original, 90), kImgOk);
        Image loaded;
        ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), bits);
        EXPECT_EQ((loaded->imageFlags & kImageFlagGrey) != 0, bits == 8);
        EXPECT_GT(fixtures::Psnr(original, loaded), 35.0) << bits;
        // djpeg decodes it to the same picture.
        Image seen;
        ASSERT_TRUE(fixtures::DecodeWithNetpbm("djpeg", file, seen));
        EXPECT_TRUE(fixtures::ClosePicture(loaded, seen, 2));
    }
}

TEST(JpegRoundTrip, QualityChangesSizeAndIsRangeChecked) {
    TempDir dir;
    Image image;
    fixtures::MakeSmooth(image, 24, 200, 100);
    ASSERT_EQ(SaveJpeg(dir.file("q10.jpg").c_str(), image, 10), kImgOk);
    ASSERT_EQ(SaveJpeg(dir.file("q95.jpg").c_str(), image, 95), kImgOk);
    EXPECT_LT(testsupport::readFile(dir.file("q10.jpg")).size(),
              testsupport::readFile(dir.file("q95.jpg")).size());
    for (int quality : {0, 101, -5}) {
        EXPECT_EQ(SaveJpeg(dir.file("bad.jpg").c_str(), image, quality), kImgBadArgument);
        EXPECT_FALSE(testsupport::fileExists(dir.file("bad.jpg")));
    }
}

TEST(JpegRoundTrip, PaletteAndBilevelImagesAreExpanded) {
    TempDir dir;
    for (int kind : {1, 80}) {
        // Flat 16 x 16 blocks, which JPEG keeps well even with subsampled colour.
        Image original;
        fixtures::MakePattern(original, kind, 64, 64);
        for (uint32_t y = 0; y < 64; ++y) {
            uint8_t* row = RowPointer(original.buffer, y);
            for (uint32_t x = 0; x < 64; ++x) {
                const unsigned block = (x / 16 + y / 16 * 4) * 13;
                if (kind == 1)
                    row[x >> 3] =
                        static_cast<uint8_t>((block & 16) ? (row[x >> 3] | (0x80 >> (x & 7)))
                                                          : (row[x >> 3] & ~(0x80 >> (x & 7))));
                else
                    row[x] = static_cast<uint8_t>(block);
            }
        }
        const std::string file = dir.file("x.jpg");
        ASSERT_EQ(SaveJpeg(file.c_str(), original, 100), kImgOk);
        Image loaded;
        ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), kind == 1 ? 8 : 24);
        EXPECT_GT(fixtures::Psnr(original, loaded), 20.0);
    }
}

TEST_F(JpegDensity, DefaultIsOneByOneWithoutUnit) {
    TempDir dir;
    Image image;
    fixtures::MakeSmooth(image, 8, 16, 16);
    ASSERT_EQ(SaveJpeg(dir.file("d.jpg").c_str(), image, 75), kImgOk);
    const std::string app0 = App0(testsupport::readFile(dir.file("d.jpg")));
    ASSERT_EQ(app0.size(), 16u);
    EXPECT_EQ(app0.substr(2, 5), std::string("JFIF\0", 5));
    EXPECT_EQ(app0.substr(7, 7), std::string("\x01\x02\x00\x00\x01\x00\x01", 7));
}

TEST_F(JpegDensity, SetValuesAreWrittenAndBadOnesKeepThePrevious) {
    TempDir dir;
    Image image;
    fixtures::MakeSmooth(image, 24, 16, 16);
    ASSERT_EQ(SetJpegDensity(150, 300, 1), kImgOk);
    EXPECT_LT(SetJpegDensity(65536, 10, 1), 0);
    EXPECT_LT(SetJpegDensity(10, 10, 3), 0);
    const std::string file = dir.file("d.jpg");
    ASSERT_EQ(SaveJpeg(file.c_str(), image, 75), kImgOk);
    const std::string app0 = App0(testsupport::readFile(file));
    ASSERT_EQ(app0.size(), 16u);
    // version 1.02, unit 1 (dpi), 150 x 300
    EXPECT_EQ(app0.substr(7, 7), std::string("\x01\x02\x01\x00\x96\x01\x2C", 7));
    Image loaded;
    ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
    EXPECT_EQ(ImageDpiX(loaded.buffer), 150);
    EXPECT_EQ(ImageDpiY(loaded.buffer), 300);
    ASSERT_EQ(SetJpegDensity(40, 40, 2), kImgOk);  // dots per centimetre
    ASSERT_EQ(SaveJpeg(file.c_str(), image, 75), kImgOk);
    Image cm;
    ASSERT_EQ(fixtures::Load(file, cm), kImgOk);
    EXPECT_EQ(ImageDpiX(cm.buffer), 102);
}

TEST(JpegFromTools, CjpegVariantsAndCmyk) {
    TempDir dir;
    Image colour, grey;
    fixtures::MakeSmooth(colour, 24, 96, 64);
    fixtures::MakeSmooth(grey, 8, 96, 64);
    testsupport::writeFile(dir.file("c.ppm"), fixtures::Netpbm(colour));
    testsupport::writeFile(dir.file("g.pgm"), fixtures::Netpbm(grey));
    const std::string c = shellQuote(dir.file("c.ppm")), g = shellQuote(dir.file("g.pgm"));
    const std::string out = shellQuote(dir.file("t.jpg"));
    struct Case {
        std::string command;
        const ImageBuffer* want;
        int bits;
    };
    const Case cases[] = {
        {"cjpeg -quality 90 " + c + " > " + out, &colour.buffer, 24},
        {"cjpeg -quality 90 -progressive " + c + " > " + out, &colour.buffer, 24},
        {"cjpeg -quality 90 -optimize -restart 2 " + c + " > " + out, &colour.buffer, 24},
        {"cjpeg -quality 90 -arithmetic " + c + " > " + out, &colour.buffer, 24},
        {"cjpeg -quality 90 -grayscale " + g + " > " + out, &grey.buffer, 8},
        {"cjpeg -quality 90 -progressive " + g + " > " + out, &grey.buffer, 8},
        {"/usr/bin/convert " + c + " -quality 95 -colorspace cmyk " + out, &colour.buffer, 24},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.command);
        ASSERT_EQ(run(k.command), 0);
        Image loaded;
        ASSERT_EQ(fixtures::Load(dir.file("t.jpg"), loaded), kImgOk);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), k.bits);
        EXPECT_GT(fixtures::Psnr(*k.want, loaded), 30.0);
    }
    // Density from the JFIF header.
    ASSERT_EQ(run("/usr/bin/convert " + c + " -units PixelsPerInch -density 240x120 " + out), 0);
    ImageFileInfo info;
    ASSERT_EQ(InspectJpeg(dir.file("t.jpg").c_str(), info), kImgOk);
    EXPECT_EQ(info.dpiX, 240);
    EXPECT_EQ(info.dpiY, 120);
}

TEST(JpegDamage, TruncatedFilesFailInsteadOfPaddingGrey) {
    TempDir dir;
    Image image;
    fixtures::MakeSmooth(image, 24, 64, 64);
    const std::string file = dir.file("whole.jpg");
    ASSERT_EQ(SaveJpeg(file.c_str(), image, 75), kImgOk);
    const size_t size = testsupport::readFile(file).size();
    for (size_t keep : {size_t{2}, size_t{100}, size / 2, size - 2}) {
        Image loaded;
        EXPECT_LT(fixtures::Load(fixtures::Truncated(dir, file, keep), loaded), 0) << keep;
        EXPECT_EQ(loaded->header, nullptr);
    }
}

}  // namespace

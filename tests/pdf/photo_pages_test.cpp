// Photos and pictures with transparency as PDF pages, with and without recompression: a photo
// shown turned is turned without decoding where its size allows (the page keeps a JPEG) and is
// upright either way; damaged JPEG data never goes into a PDF; a palette's transparency is
// white on the page while its data is still copied.
#include <gtest/gtest.h>

#include "pdf_test_util.h"
#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;
using testsupport::shellQuote;

namespace {

std::string Q(const std::string& s) {
    return shellQuote(s);
}

int Pdf(const std::string& args, std::string* out = nullptr) {
    return pdftest::Sh(std::string(VELLUMO_CLI_PATH) + " pdf " + args, out);
}

// The page drawn by MuPDF with one pixel for each of the image's.
bool Drawn(const std::string& pdf, int width, int height, ImageBuffer& image) {
    const std::string ppm = pdf + ".ppm";
    pdftest::Sh("mutool draw -q -f -w " + std::to_string(width) + " -h " + std::to_string(height) +
                " -o " + Q(ppm) + " " + Q(pdf));
    return fixtures::ReadNetpbm(testsupport::readFile(ppm), image);
}

TEST(PhotoPages, TurnedPhotosAreUprightAndStayJpegWhereTheirSizeAllows) {
    testsupport::TempDir dir;
    struct Photo {
        const char* name;
        int width, height;
        bool lossless;  // whole MCUs along the edges the turn moves
    };
    for (const Photo& p : {Photo{"whole.jpg", 64, 48, true}, Photo{"partial.jpg", 61, 37, false}}) {
        const std::string file = dir.file(p.name);
        ASSERT_EQ(pdftest::Sh("/usr/bin/convert -size " + std::to_string(p.width) + "x" +
                              std::to_string(p.height) +
                              " gradient:orange-navy -fill black -draw 'rectangle 0,0 15,7' "
                              "-sampling-factor 2x2 -quality 95 " +
                              Q(file) + " && exiftool -q -overwrite_original -n -Orientation=6 " +
                              Q(file)),
                  0);
        // What a photo viewer shows: the stored picture turned a quarter clockwise.
        Image shown;
        ASSERT_EQ(pdftest::Sh("/usr/bin/convert " + Q(file) + " -auto-orient " +
                              Q(dir.file("shown.ppm"))),
                  0);
        ASSERT_TRUE(fixtures::ReadNetpbm(testsupport::readFile(dir.file("shown.ppm")), shown));
        ASSERT_EQ(AreaWidth(shown), static_cast<uint32_t>(p.height));
        for (const char* compress : {"", "--compress 90 "}) {
            SCOPED_TRACE(std::string(p.name) + " " + compress);
            const std::string pdf = dir.file("page.pdf");
            std::string out;
            ASSERT_EQ(Pdf(std::string(compress) + "-o " + Q(pdf) + " " + Q(file), &out), 0) << out;
            const auto images = pdftest::Images(pdf);
            ASSERT_EQ(images.size(), 1u);
            EXPECT_EQ(images[0].width, p.height);
            EXPECT_EQ(images[0].height, p.width);
            // Without recompression a turn that cannot be lossless decodes the photo; with it,
            // a decoded photo is stored as JPEG only where that is smaller than without loss.
            if (p.lossless)
                EXPECT_EQ(images[0].encoding, "jpeg");
            else if (!*compress)
                EXPECT_EQ(images[0].encoding, "image");
            Image page;
            ASSERT_TRUE(Drawn(pdf, p.height, p.width, page));
            EXPECT_GT(fixtures::Psnr(page, shown), *compress ? 33 : 38);
        }
    }
}

TEST(PhotoPages, DamagedJpegDataIsRefusedWithTheReason) {
    testsupport::TempDir dir;
    const std::string file = dir.file("photo.jpg");
    ASSERT_EQ(pdftest::Sh("/usr/bin/convert -size 96x64 plasma:fractal -quality 90 " + Q(file)), 0);
    const std::string data = testsupport::readFile(file);
    testsupport::writeFile(dir.file("cut.jpg"), data.substr(0, data.size() / 2));
    for (const char* compress : {"", "--compress 50 "}) {
        SCOPED_TRACE(compress);
        std::string out;
        EXPECT_EQ(
            Pdf(std::string(compress) + "-o " + Q(dir.file("o.pdf")) + " " + Q(dir.file("cut.jpg")),
                &out),
            1);
        EXPECT_NE(out.find("cut.jpg"), std::string::npos) << out;
        EXPECT_NE(out.find("damaged"), std::string::npos) << out;
        EXPECT_NE(out.find("Premature end of JPEG file"), std::string::npos) << out;
        EXPECT_FALSE(testsupport::fileExists(dir.file("o.pdf")));
    }
}

TEST(PhotoPages, PaletteTransparencyIsWhiteWhileTheDataIsCopied) {
    testsupport::TempDir dir;
    // Sixteen colours, the first transparent, the second half covering.
    const std::string file = dir.file("p.png");
    ASSERT_EQ(
        pdftest::Sh("/usr/bin/python3 -c \"\nfrom PIL import Image\n"
                    "im = Image.new('P', (16, 4))\n"
                    "im.putpalette([v for i in range(16) for v in (i * 16, 0, 255 - i * 16)])\n"
                    "im.putdata([x for y in range(4) for x in range(16)])\n"
                    "im.save('" +
                    file + "', transparency=bytes([0, 128] + [255] * 14))\n\""),
        0);
    std::string out;
    ASSERT_EQ(Pdf("-o " + Q(dir.file("o.pdf")) + " " + Q(file), &out), 0) << out;
    const auto images = pdftest::Images(dir.file("o.pdf"));
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].colour, "index");  // the PNG's data, as it is
    Image page;
    ASSERT_TRUE(Drawn(dir.file("o.pdf"), 16, 4, page));
    const auto rgb = fixtures::Rgb(page);
    EXPECT_EQ(std::vector<uint8_t>(rgb.begin(), rgb.begin() + 9),
              (std::vector<uint8_t>{255, 255, 255, 135, 127, 247, 32, 0, 223}));
}

}  // namespace

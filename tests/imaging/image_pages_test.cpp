// Pages of image files: multi-page TIFFs page by page (reduced-resolution previews are not
// pages), JPEG decoded at reduced size, and reduced copies with the page's facts.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstring>

#include "imaging/codecs.h"
#include "imaging/image_pages.h"
#include "imaging/imaging.h"
#include "imaging/jpeg_reduced.h"
#include "support/test_support.h"

using namespace vellumo;
using namespace vellumo::imaging;
using testsupport::shellQuote;

namespace {

// A grey TIFF whose directories are: page (value 10), preview (reduced image), page (value 200).
void WriteTiffWithPreview(const std::string& path) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(t, nullptr);
    const struct {
        uint32_t width, height, subfile;
        uint8_t value;
    } dirs[] = {{64, 32, 0, 10}, {16, 8, FILETYPE_REDUCEDIMAGE, 90}, {40, 50, 0, 200}};
    for (const auto& d : dirs) {
        TIFFSetField(t, TIFFTAG_SUBFILETYPE, d.subfile);
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, d.width);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, d.height);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, d.height);
        std::vector<uint8_t> row(d.width, d.value);
        for (uint32_t y = 0; y < d.height; ++y) TIFFWriteScanline(t, row.data(), y, 0);
        TIFFWriteDirectory(t);
    }
    TIFFClose(t);
}

TEST(ImagePages, PreviewsInATiffAreNotPages) {
    testsupport::TempDir dir;
    const std::string path = dir.file("preview.tif");
    WriteTiffWithPreview(path);
    int pages = 0;
    ImageFormat format = ImageFormat::None;
    ASSERT_EQ(imaging::CountImagePages(path.c_str(), pages, &format), 0);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(format, ImageFormat::Tiff);
    ScopedImage second;
    ASSERT_EQ(imaging::ReadImagePage(path.c_str(), 1, second.image), 0);
    EXPECT_EQ(ImageWidth(second.image), 40);
    EXPECT_EQ(RowPointer(second.image, 0)[0], 200);
    ScopedImage beyond;
    EXPECT_EQ(imaging::ReadImagePage(path.c_str(), 2, beyond.image), kImgBadArgument);
    EXPECT_EQ(beyond.image.header, nullptr);
    // The plain loader still reads the first page.
    ScopedImage first;
    ASSERT_EQ(ReadImageFile(path.c_str(), first.image), 0);
    EXPECT_EQ(ImageWidth(first.image), 64);
    // Single-page formats have exactly one page.
    ASSERT_EQ(SaveBmp(dir.file("one.bmp").c_str(), first.image, 0), 0);
    ASSERT_EQ(imaging::CountImagePages(dir.file("one.bmp").c_str(), pages), 0);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(imaging::ReadImagePage(dir.file("one.bmp").c_str(), 1, beyond.image),
              kImgBadArgument);
}

TEST(ReducedJpeg, DecodesAtTheSmallestScaleThatStillCoversTheSize) {
    testsupport::TempDir dir;
    ScopedImage page;
    ASSERT_EQ(AllocateImage(page.image, 2480, 3508, 24), 0);
    for (int y = 0; y < 3508; ++y) {
        uint8_t* row = RowPointer(page.image, static_cast<uint32_t>(y));
        for (int x = 0; x < 2480 * 3; ++x) row[x] = static_cast<uint8_t>((x + y) & 0xFF);
    }
    ASSERT_EQ(SetJpegDensity(300, 300, 1), 0);
    ASSERT_EQ(SaveJpeg(dir.file("a4.jpg").c_str(), page.image, 75), 0);
    const struct {
        int minW, minH, width, height;
    } cases[] = {{0, 0, 2480, 3508},
                 {260, 260, 310, 439},
                 {400, 400, 620, 877},
                 {1000, 1000, 1240, 1754},
                 {1300, 10, 2480, 3508}};
    for (const auto& c : cases) {
        imaging::JpegDecodeOptions options;
        options.minWidth = c.minW;
        options.minHeight = c.minH;
        ScopedImage out;
        ASSERT_EQ(imaging::DecodeJpegFile(dir.file("a4.jpg").c_str(), options, out.image), 0);
        EXPECT_EQ(ImageWidth(out.image), c.width) << c.minW;
        EXPECT_EQ(ImageHeight(out.image), c.height) << c.minW;
        // The resolution scales with the picture, so the page keeps its size.
        EXPECT_NEAR(ImageDpiX(out.image), 300.0 * c.width / 2480, 1);
    }
    // The full-size decode is the file loader's.
    ScopedImage viaLoader, viaData;
    ASSERT_EQ(ReadImageFile(dir.file("a4.jpg").c_str(), viaLoader.image), 0);
    const std::string bytes = testsupport::readFile(dir.file("a4.jpg"));
    ASSERT_EQ(imaging::DecodeJpegData(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                      {}, viaData.image),
              0);
    EXPECT_EQ(
        std::memcmp(viaLoader.image.pixels, viaData.image.pixels, viaLoader.image.rowBytes * 3508),
        0);
    // Damaged data: an error, nothing allocated.
    ScopedImage cut;
    EXPECT_NE(imaging::DecodeJpegData(reinterpret_cast<const uint8_t*>(bytes.data()),
                                      bytes.size() / 2, {}, cut.image),
              0);
    EXPECT_EQ(cut.image.header, nullptr);
}

TEST(ReducedPages, FitTheBoxAndReportThePage) {
    const struct {
        int w, h, maxW, maxH, fitW, fitH;
    } fits[] = {{2480, 3508, 260, 260, 183, 260},
                {3508, 2480, 260, 260, 260, 183},
                {100, 50, 260, 260, 100, 50},
                {1, 5000, 260, 260, 1, 260}};
    for (const auto& f : fits) {
        int w = 0, h = 0;
        imaging::FitWithin(f.w, f.h, f.maxW, f.maxH, w, h);
        EXPECT_EQ(w, f.fitW) << f.w << "x" << f.h;
        EXPECT_EQ(h, f.fitH) << f.w << "x" << f.h;
    }
    testsupport::TempDir dir;
    ASSERT_EQ(testsupport::run("convert -size 300x200 xc:white -fill black -draw 'rectangle "
                               "0,0 149,199' -monochrome -units PixelsPerInch -density 200 " +
                               shellQuote(dir.file("half.png"))),
              0);
    ScopedImage thumb;
    imaging::PageFacts facts;
    ASSERT_EQ(imaging::ReadReducedPage({dir.file("half.png"), 0}, 30, 30, thumb.image, facts), 0);
    EXPECT_EQ(facts.width, 300);
    EXPECT_EQ(facts.bitsPerPixel, 1);
    EXPECT_NEAR(facts.dpiX, 200, 0.1);
    EXPECT_EQ(facts.format, ImageFormat::Png);
    ASSERT_EQ(ImageWidth(thumb.image), 30);
    ASSERT_EQ(ImageHeight(thumb.image), 20);
    EXPECT_EQ(BitsPerPixel(thumb.image), 24);
    // Left half black, right half white, in the reduction too.
    EXPECT_EQ(RowPointer(thumb.image, 10)[0], 0);
    EXPECT_EQ(RowPointer(thumb.image, 10)[3 * 29], 255);
}

}  // namespace

// Helpers of the clean-up tests: pages rendered for one test and freed with it, picture
// comparisons, and ImageMagick's own skew measure as an independent reader.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>

#include "imaging/codecs.h"
#include "imaging/image_buffer.h"
#include "tests/cleanup/test_pages.h"
#include "tests/support/test_support.h"

namespace vellumo::cleanup::testpages {
// Names a page's content in test names and messages.
inline void PrintTo(Content content, std::ostream* os) {
    PagePlan plan;
    plan.content = content;
    const std::string d = Describe(plan);
    *os << d.substr(0, d.find(" seed"));
}
}  // namespace vellumo::cleanup::testpages

namespace cleanuptest {

using namespace vellumo::imaging;

using vellumo::cleanup::testpages::Content;
using vellumo::cleanup::testpages::Describe;
using vellumo::cleanup::testpages::PagePlan;

// Owns an image for the length of a test.
struct Page {
    ImageBuffer image{};
    Page() = default;
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;
    ~Page() { FreeImage(image); }
};

inline bool HaveGhostscript() {
    static const bool have = testsupport::haveTool("gs");
    return have;
}

// Renders the page into `page`; the test fails when Ghostscript is there but fails.
inline ::testing::AssertionResult Render(const PagePlan& plan, const std::string& dir, Page& page) {
    std::string error;
    if (!vellumo::cleanup::testpages::RenderPage(plan, dir, page.image, &error))
        return ::testing::AssertionFailure() << Describe(plan) << ": " << error;
    return ::testing::AssertionSuccess();
}

#define REQUIRE_GHOSTSCRIPT() \
    if (!cleanuptest::HaveGhostscript()) GTEST_SKIP() << "Ghostscript (gs) is not installed"

// True when two images have the same size, depth, colour table and pixels in their areas.
inline bool SamePicture(const ImageBuffer& a, const ImageBuffer& b) {
    if (BitsPerPixel(a) != BitsPerPixel(b) || AreaWidth(a) != AreaWidth(b) ||
        AreaHeight(a) != AreaHeight(b))
        return false;
    if (a.paletteSize != b.paletteSize ||
        (a.paletteSize &&
         std::memcmp(a.palette, b.palette, sizeof(RgbQuad) * static_cast<size_t>(a.paletteSize))))
        return false;
    const int bits = BitsPerPixel(a);
    for (uint32_t y = 0; y < AreaHeight(a); ++y) {
        const uint8_t* ra = RowPointer(a, a.areaTop + y);
        const uint8_t* rb = RowPointer(b, b.areaTop + y);
        for (uint32_t x = 0; x < AreaWidth(a); ++x) {
            if (bits == 1) {
                const uint32_t xa = a.areaLeft + x, xb = b.areaLeft + x;
                if (((ra[xa >> 3] >> (7 - (xa & 7))) & 1) != ((rb[xb >> 3] >> (7 - (xb & 7))) & 1))
                    return false;
            } else {
                const int n = bits / 8;
                if (std::memcmp(ra + (a.areaLeft + x) * n, rb + (b.areaLeft + x) * n,
                                static_cast<size_t>(n)))
                    return false;
            }
        }
    }
    return true;
}

// A copy of the image's area as a new image.
inline void CopyOf(const ImageBuffer& from, Page& to) {
    ASSERT_EQ(AllocateImage(to.image, static_cast<int>(AreaWidth(from)),
                            static_cast<int>(AreaHeight(from)), BitsPerPixel(from)),
              kImgOk);
    ASSERT_EQ(CopyImageArea(from, to.image), kImgOk);
    to.image.imageFlags = from.imageFlags;
    to.image.header->biXPelsPerMeter = from.header->biXPelsPerMeter;
    to.image.header->biYPelsPerMeter = from.header->biYPelsPerMeter;
}

// ImageMagick's skew measure of a picture saved as PNG, looked at no finer than 150 dpi (it
// is slow on large pictures); NaN when ImageMagick is missing or says nothing.
inline double MagickSkew(const ImageBuffer& image, const std::string& dir) {
    if (!testsupport::haveTool("convert")) return NAN;
    const std::string png = dir + "/magick.png";
    if (SavePng(png.c_str(), image, 0) != kImgOk) return NAN;
    const std::string text = testsupport::capture("convert " + testsupport::shellQuote(png) +
                                                  (ImageDpiX(image) > 200 ? " -scale 50%" : "") +
                                                  " -deskew 40% -format '%[deskew:angle]' info:");
    std::remove(png.c_str());
    char* end = nullptr;
    const double angle = std::strtod(text.c_str(), &end);
    return end == text.c_str() ? NAN : angle;
}

}  // namespace cleanuptest

// Straightening: pages rendered turned by known angles come back within a tenth of a degree,
// as ImageMagick's own skew measure confirms; straight pages are not touched; depth, colours
// and resolution survive; pages that cannot be measured are left alone.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "cleanup/skew.h"
#include "cleanup/straighten.h"
#include "tests/cleanup/cleanup_fixtures.h"

namespace {

using namespace vellumo::cleanup;
using namespace cleanuptest;

constexpr double kResidualLimit = 0.1;
// ImageMagick's skew measure is only good to about a tenth of a degree itself.
constexpr double kMagickLimit = 0.2;

struct SkewCase {
    int dpi;
    int bits;
    double degrees;
    int seed;
    bool darkBackground;
};

std::ostream& operator<<(std::ostream& os, const SkewCase& c) {
    return os << c.dpi << " dpi, " << c.bits << " bits, " << c.degrees << " degrees, seed "
              << c.seed << (c.darkBackground ? ", dark background" : "");
}

// Every resolution and depth, each with angles from across the range (the ends included),
// realistic noise and defects.
std::vector<SkewCase> SkewCases() {
    const double angles[] = {-10.0, -7.35, -4.2, -1.65, -0.42, -0.13, 0.08,
                             0.27,  0.9,   2.45, 5.6,   8.15,  10.0};
    std::vector<SkewCase> cases;
    int k = 0;
    for (int dpi : {150, 300})
        for (int bits : {1, 8, 24})
            for (int j = 0; j < 4; ++j, ++k)
                cases.push_back({dpi, bits, angles[(k * 5 + j * 3) % 13], 100 + k, k % 3 == 1});
    return cases;
}

class ResidualSkew : public ::testing::TestWithParam<SkewCase> {};

TEST_P(ResidualSkew, WithinATenthOfADegreeAfterStraightening) {
    REQUIRE_GHOSTSCRIPT();
    const SkewCase c = GetParam();
    testsupport::TempDir dir;
    PagePlan plan;
    plan.dpi = c.dpi;
    plan.bits = c.bits;
    plan.skewDegrees = c.degrees;
    plan.seed = c.seed;
    plan.darkBackground = c.darkBackground;
    plan.specks = 30;
    plan.showThrough = c.seed % 2 == 0;
    plan.punchHoles = c.seed % 3 == 0;
    Page page;
    ASSERT_TRUE(Render(plan, dir.path(), page));
    const int width = ImageWidth(page.image), height = ImageHeight(page.image);

    const SkewEstimate skew = FindSkew(page.image);
    ASSERT_EQ(skew.status, AnalysisStatus::Ok);
    ASSERT_EQ(skew.basis, SkewBasis::TextLines) << Describe(plan);
    // Turning by the measured angle leaves the difference as the page's skew.
    EXPECT_LE(std::fabs(skew.degrees - c.degrees), kResidualLimit) << Describe(plan);

    ASSERT_EQ(StraightenImage(page.image, -skew.degrees), kImgOk);
    EXPECT_EQ(ImageWidth(page.image), width);
    EXPECT_EQ(ImageHeight(page.image), height);
    EXPECT_EQ(BitsPerPixel(page.image), c.bits);
    EXPECT_EQ(ImageDpiX(page.image), c.dpi);
    EXPECT_EQ(ImageDpiY(page.image), c.dpi);
    // Measured again, the result is straight; ImageMagick's own measure (whose steps are
    // coarser than ours) agrees.
    const SkewEstimate again = FindSkew(page.image);
    EXPECT_LT(std::fabs(again.degrees), kResidualLimit) << Describe(plan);
    const double magick = MagickSkew(page.image, dir.path());
    if (!std::isnan(magick)) {
        EXPECT_LE(std::fabs(magick), kMagickLimit) << Describe(plan);
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, ResidualSkew, ::testing::ValuesIn(SkewCases()));

// A straight page keeps every pixel: no resampling below 0.05 degrees.
TEST(Straighten, StraightPagesAreNotTouched) {
    REQUIRE_GHOSTSCRIPT();
    testsupport::TempDir dir;
    int seed = 200;
    for (int dpi : {150, 300}) {
        for (int bits : {1, 8, 24}) {
            PagePlan plan;
            plan.dpi = dpi;
            plan.bits = bits;
            plan.seed = ++seed;
            plan.specks = 20;
            plan.showThrough = true;
            Page page;
            ASSERT_TRUE(Render(plan, dir.path(), page));
            const SkewEstimate skew = FindSkew(page.image);
            ASSERT_EQ(skew.basis, SkewBasis::TextLines) << Describe(plan);
            EXPECT_LT(std::fabs(skew.degrees), kMinStraightenDegrees) << Describe(plan);
        }
    }
}

// A dark scanner background around a sheet without text: its edges give the angle.
TEST(Straighten, SheetEdgesOnADarkBackground) {
    REQUIRE_GHOSTSCRIPT();
    testsupport::TempDir dir;
    const struct {
        Content content;
        double degrees;
        int dpi, bits;
        bool shadow;
    } cases[] = {{Content::Blank, 3.1, 150, 8, false},
                 {Content::Signature, -2.4, 300, 24, true},
                 {Content::PageNumber, 7.4, 300, 1, true},
                 {Content::Blank, -0.6, 150, 24, false}};
    int seed = 300;
    for (const auto& c : cases) {
        PagePlan plan;
        plan.content = c.content;
        plan.skewDegrees = c.degrees;
        plan.dpi = c.dpi;
        plan.bits = c.bits;
        plan.darkBackground = true;
        plan.feederShadow = c.shadow;
        plan.specks = 20;
        plan.seed = ++seed;
        Page page;
        ASSERT_TRUE(Render(plan, dir.path(), page));
        const SkewEstimate skew = FindSkew(page.image);
        EXPECT_EQ(skew.basis, SkewBasis::PageEdges) << Describe(plan);
        EXPECT_LE(std::fabs(skew.degrees - c.degrees), kResidualLimit) << Describe(plan);
    }
}

// Pages lying on their side are measured from their vertical lines.
TEST(Straighten, SidewaysPages) {
    REQUIRE_GHOSTSCRIPT();
    testsupport::TempDir dir;
    for (int turns : {1, 3}) {
        PagePlan plan;
        plan.quarterTurns = turns;
        plan.skewDegrees = turns == 1 ? 2.6 : -5.1;
        plan.dpi = 150;
        plan.seed = 400 + turns;
        Page page;
        ASSERT_TRUE(Render(plan, dir.path(), page));
        const SkewEstimate skew = FindSkew(page.image);
        EXPECT_EQ(skew.basis, SkewBasis::TextLines) << Describe(plan);
        EXPECT_LE(std::fabs(skew.degrees - plan.skewDegrees), kResidualLimit) << Describe(plan);
    }
}

// Pages without text, lines or edges give no angle; nothing that cannot be measured is.
TEST(Straighten, NothingToMeasure) {
    REQUIRE_GHOSTSCRIPT();
    testsupport::TempDir dir;
    for (Content content : {Content::Blank, Content::Signature, Content::PageNumber}) {
        PagePlan plan;
        plan.content = content;
        plan.skewDegrees = 4;
        plan.dpi = 150;
        plan.specks = 40;
        plan.punchHoles = true;
        plan.showThrough = true;
        plan.seed = 500 + static_cast<int>(content);
        Page page;
        ASSERT_TRUE(Render(plan, dir.path(), page));
        const SkewEstimate skew = FindSkew(page.image);
        EXPECT_EQ(skew.status, AnalysisStatus::Ok);
        EXPECT_EQ(skew.basis, SkewBasis::None) << Describe(plan);
        EXPECT_EQ(skew.degrees, 0);
    }

    Page small, black, wide;
    ASSERT_EQ(AllocateImage(small.image, 99, 400, 8), kImgOk);
    EXPECT_EQ(FindSkew(small.image).status, AnalysisStatus::TooSmall);
    ASSERT_EQ(AllocateImage(black.image, 600, 800, 24), kImgOk);  // zeroed: black
    EXPECT_EQ(FindSkew(black.image).status, AnalysisStatus::AllBlack);
    ASSERT_EQ(AllocateImage(wide.image, 600, 800, 32), kImgOk);
    EXPECT_EQ(FindSkew(wide.image).status, AnalysisStatus::Unsupported);
    ImageBuffer none{};
    EXPECT_EQ(FindSkew(none).status, AnalysisStatus::Unsupported);
}

// The turn itself, on a drawn bar: its direction and size, the area it works on, and what it
// keeps.
void DrawBar(ImageBuffer& image, int top, int bottom) {
    const int bits = BitsPerPixel(image);
    for (int y = 0; y < ImageHeight(image); ++y) {
        uint8_t* row = RowPointer(image, static_cast<uint32_t>(y));
        const bool bar = y >= top && y < bottom;
        for (int x = 0; x < ImageWidth(image); ++x) {
            if (bits == 1) {
                if (!bar) row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));  // 1 white
            } else {
                for (int c = 0; c < bits / 8; ++c) row[x * bits / 8 + c] = bar ? 20 : 250;
            }
        }
    }
}

// The middle row of the dark bar in column x.
double BarRow(const ImageBuffer& image, int x) {
    double sum = 0, weight = 0;
    const int bits = BitsPerPixel(image);
    for (int y = 0; y < ImageHeight(image); ++y) {
        const uint8_t* row = RowPointer(image, static_cast<uint32_t>(y));
        double dark;
        if (bits == 1)
            dark = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 0 : 1;
        else
            dark = row[x * bits / 8] < 128 ? 1 : 0;
        sum += dark * y;
        weight += dark;
    }
    return weight > 0 ? sum / weight : -1;
}

TEST(Straighten, TurnsCounterClockwiseByTheAngleGiven) {
    for (int bits : {1, 8, 24}) {
        Page page;
        ASSERT_EQ(AllocateImage(page.image, 400, 300, bits), kImgOk);
        SetImageDpi(page.image, 200, 200);
        DrawBar(page.image, 140, 160);
        ASSERT_EQ(StraightenImage(page.image, 5.0), kImgOk);
        // Turned counter-clockwise, the bar rises to the right: 200 columns apart, its rows
        // differ by 200 tan 5 degrees.
        EXPECT_NEAR(BarRow(page.image, 100) - BarRow(page.image, 300),
                    200 * std::tan(5 * M_PI / 180), 1.0)
            << bits;
        EXPECT_EQ(ImageDpiX(page.image), 200);
        EXPECT_EQ(BitsPerPixel(page.image), bits);
        // What came from outside the picture is white: the top right corner.
        const uint8_t* top = RowPointer(page.image, 0);
        if (bits == 1)
            EXPECT_EQ(top[399 >> 3] & (0x80 >> (399 & 7)), 0x80 >> (399 & 7));
        else
            EXPECT_EQ(top[399 * bits / 8], 255);
    }
}

TEST(Straighten, KeepsColourTablesAndWorksOnTheArea) {
    Page page;
    ASSERT_EQ(AllocateImage(page.image, 300, 200, 8), kImgOk);
    // A colour table with white at index 7 and a red bar.
    for (int i = 0; i < 256; ++i) page.image.palette[i] = RgbQuad{0, 0, static_cast<uint8_t>(i), 0};
    page.image.palette[7] = RgbQuad{255, 255, 255, 0};
    page.image.imageFlags = 0;
    for (int y = 0; y < 200; ++y)
        std::memset(RowPointer(page.image, static_cast<uint32_t>(y)), y >= 90 && y < 110 ? 200 : 7,
                    300);
    ASSERT_EQ(SetImageArea(page.image, 50, 20, 249, 179), kImgOk);
    ASSERT_EQ(StraightenImage(page.image, -3.0), kImgOk);
    EXPECT_EQ(ImageWidth(page.image), 200);
    EXPECT_EQ(ImageHeight(page.image), 160);
    EXPECT_EQ(page.image.areaRight, 199u);
    EXPECT_EQ(page.image.palette[7].rgbBlue, 255);
    EXPECT_EQ(page.image.palette[200].rgbRed, 200);
    // Nearest pixels only: no index that was not there before.
    for (int y = 0; y < 160; ++y) {
        const uint8_t* row = RowPointer(page.image, static_cast<uint32_t>(y));
        for (int x = 0; x < 200; ++x) ASSERT_TRUE(row[x] == 7 || row[x] == 200) << x << "," << y;
    }
}

TEST(Straighten, RefusesWhatItCannotTurn) {
    Page page;
    ASSERT_EQ(AllocateImage(page.image, 50, 50, 32), kImgOk);
    EXPECT_EQ(StraightenImage(page.image, 1.0), kImgBadDepth);
    Page grey;
    ASSERT_EQ(AllocateImage(grey.image, 50, 50, 8), kImgOk);
    EXPECT_EQ(StraightenImage(grey.image, NAN), kImgBadArgument);
    EXPECT_EQ(StraightenImage(grey.image, INFINITY), kImgBadArgument);
    EXPECT_EQ(ImageWidth(grey.image), 50);
    ImageBuffer none{};
    EXPECT_EQ(StraightenImage(none, 1.0), kImgBadDepth);
}

}  // namespace

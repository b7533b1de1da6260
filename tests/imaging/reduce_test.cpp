// Area-averaging reduction, against ImageMagick's box scaling where the factor is whole.
#include <gtest/gtest.h>

#include "imaging/convert.h"
#include "imaging/transform.h"
#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;

namespace {

// What ImageMagick's box scaling makes of the image's area at width x height.
void ScaledByImageMagick(const ImageBuffer& source, int width, int height, ImageBuffer& scaled) {
    testsupport::TempDir dir;
    const std::string file = dir.file("area.pnm");
    testsupport::writeFile(file, fixtures::Netpbm(source));
    ASSERT_TRUE(fixtures::ReadNetpbm(
        testsupport::capture("/usr/bin/convert " + testsupport::shellQuote(file) + " -scale " +
                             std::to_string(width) + "x" + std::to_string(height) +
                             "! -depth 8 -type truecolor ppm:-"),
        scaled));
}

TEST(Reduce, WholeFactorsMatchImageMagicksBoxScalingAtEveryDepth) {
    for (int kind : {1, 8, 80, 24}) {
        SCOPED_TRACE("kind " + std::to_string(kind));
        Image source;
        fixtures::MakePattern(source, kind, 84, 66);
        // An area off the image's corner, so the offsets are honoured.
        SetImageArea(source.buffer, 4, 6, 83, 65);
        Image reduced;
        ASSERT_EQ(AllocateImage(reduced.buffer, 20, 15, 24), kImgOk);
        ASSERT_EQ(ReduceImage(source, reduced), kImgOk);

        Image expected;
        ScaledByImageMagick(source, 20, 15, expected);
        EXPECT_TRUE(fixtures::ClosePicture(reduced, expected, 1));
    }
}

// Bands of more rows than 16-bit sums hold take the wide sums.
TEST(Reduce, TallBandsAverageEveryRow) {
    Image source;
    fixtures::MakePattern(source, 8, 6, 2400);
    Image reduced;
    ASSERT_EQ(AllocateImage(reduced.buffer, 3, 2, 24), kImgOk);
    ASSERT_EQ(ReduceImage(source, reduced), kImgOk);
    Image expected;
    ScaledByImageMagick(source, 3, 2, expected);
    EXPECT_TRUE(fixtures::ClosePicture(reduced, expected, 1));
}

TEST(Reduce, PageSizedReductionKeepsUniformAreasAndSharpEdgesInPlace) {
    Image page;
    ASSERT_EQ(AllocateImage(page.buffer, 2480, 3507, 8), kImgOk);
    // Left half white, right half 40.
    for (uint32_t y = 0; y < 3507; ++y) {
        std::memset(RowPointer(page.buffer, y), 255, 1240);
        std::memset(RowPointer(page.buffer, y) + 1240, 40, 1240);
    }
    Image thumb;
    ASSERT_EQ(AllocateImage(thumb.buffer, 184, 260, 24), kImgOk);
    ASSERT_EQ(ReduceImage(page, thumb), kImgOk);
    const auto rgb = fixtures::Rgb(thumb);
    for (uint32_t y = 0; y < 260; ++y) {
        const uint8_t* row = rgb.data() + y * 184 * 3;
        EXPECT_EQ(row[0], 255);
        EXPECT_EQ(row[91 * 3], 255);
        EXPECT_EQ(row[92 * 3], 40);  // 1240 * 184 / 2480 = 92: the edge stays at its column
        EXPECT_EQ(row[183 * 3 + 2], 40);
    }
}

TEST(Reduce, WritesOnlyTheTargetArea) {
    Image source;
    fixtures::MakePattern(source, 24, 30, 30);
    Image target;
    ASSERT_EQ(AllocateImage(target.buffer, 12, 12, 24), kImgOk);
    FillImageArea(7, target.buffer);
    SetImageArea(target.buffer, 2, 3, 6, 7);
    ASSERT_EQ(ReduceImage(source, target), kImgOk);
    SetImageArea(target.buffer, 0, 0, 11, 11);
    const auto rgb = fixtures::Rgb(target);
    for (uint32_t y = 0; y < 12; ++y)
        for (uint32_t x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x <= 6 && y >= 3 && y <= 7;
            if (!inside) EXPECT_EQ(rgb[(y * 12 + x) * 3], 7) << x << "," << y;
        }
}

TEST(Reduce, RefusesWhatItCannotDo) {
    Image source, target;
    fixtures::MakePattern(source, 8, 20, 20);
    ASSERT_EQ(AllocateImage(target.buffer, 21, 10, 24), kImgOk);
    EXPECT_EQ(ReduceImage(source, target), kImgBadArgument);  // wider than the source
    FreeImage(target.buffer);
    ASSERT_EQ(AllocateImage(target.buffer, 10, 10, 8), kImgOk);
    EXPECT_EQ(ReduceImage(source, target), kImgBadDepth);
    Image deep;
    ASSERT_EQ(AllocateImage(deep.buffer, 20, 20, 16), kImgOk);
    FreeImage(target.buffer);
    ASSERT_EQ(AllocateImage(target.buffer, 10, 10, 24), kImgOk);
    EXPECT_EQ(ReduceImage(deep, target), kImgBadDepth);
    EXPECT_EQ(ReduceImage(target, target), kImgBadArgument);
}

}  // namespace

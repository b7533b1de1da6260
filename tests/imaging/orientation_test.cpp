#include "imaging/orientation.h"

#include <gtest/gtest.h>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;
using vellumo::imaging::Orientation;
using vellumo::imaging::OrientedRowWriter;

namespace {

// Where a viewer shows the stored raster's first pixel (row 0, column 0) and the last pixel of
// its first row, by the tag's own definition: "row 0 is the visual <side>, column 0 the visual
// <side>".
struct Corners {
    Orientation orientation;
    int firstX, firstY;  // in the upright picture, as fractions: 0 or 1 (far edge)
    int rowEndX, rowEndY;
};
const Corners kCorners[] = {
    {Orientation::TopLeft, 0, 0, 1, 0},     {Orientation::TopRight, 1, 0, 0, 0},
    {Orientation::BottomRight, 1, 1, 0, 1}, {Orientation::BottomLeft, 0, 1, 1, 1},
    {Orientation::LeftTop, 0, 0, 0, 1},     {Orientation::RightTop, 1, 0, 1, 1},
    {Orientation::RightBottom, 1, 1, 1, 0}, {Orientation::LeftBottom, 0, 1, 0, 0},
};

// A stored raster of width x height whose pixels are all 0 but its first (value 1) and the
// last of its first row (value 2, or also 1 for bilevel); returns the upright image.
void PlaceMarkers(Orientation o, int bits, uint32_t width, uint32_t height, ImageBuffer& out) {
    uint32_t w, h;
    vellumo::imaging::UprightSize(o, width, height, w, h);
    ASSERT_EQ(AllocateImage(out, static_cast<int>(w), static_cast<int>(h), bits), kImgOk);
    OrientedRowWriter writer;
    ASSERT_EQ(writer.begin(out, width, height, o), kImgOk);
    std::vector<uint8_t> row(RowBytesFor(width, static_cast<uint32_t>(bits)), 0);
    for (uint32_t y = height; y-- > 0;) {  // any order will do
        std::fill(row.begin(), row.end(), 0);
        if (y == 0) {
            if (bits == 1) {
                row[0] |= 0x80;
                row[(width - 1) / 8] |= static_cast<uint8_t>(0x80 >> ((width - 1) % 8));
            } else {
                const size_t bytes = static_cast<size_t>(bits / 8);
                row[0] = 1;
                row[(width - 1) * bytes] = 2;
            }
        }
        writer.putRow(y, row.data());
    }
}

int ValueAt(const ImageBuffer& image, uint32_t x, uint32_t y) {
    const uint8_t* row = RowPointer(image, y);
    const int bits = BitsPerPixel(image);
    if (bits == 1) return (row[x / 8] >> (7 - x % 8)) & 1;
    return row[x * static_cast<size_t>(bits / 8)];
}

TEST(OrientedRows, EveryOrientationPutsTheStoredCornersWhereTheTagSays) {
    for (int bits : {1, 8, 24}) {
        for (const Corners& c : kCorners) {
            SCOPED_TRACE("bits " + std::to_string(bits) + " orientation " +
                         std::to_string(static_cast<int>(c.orientation)));
            Image image;
            PlaceMarkers(c.orientation, bits, 13, 5, image);
            const uint32_t w = static_cast<uint32_t>(ImageWidth(image.buffer));
            const uint32_t h = static_cast<uint32_t>(ImageHeight(image.buffer));
            EXPECT_EQ(ValueAt(image.buffer, c.firstX * (w - 1), c.firstY * (h - 1)), 1);
            EXPECT_EQ(ValueAt(image.buffer, c.rowEndX * (w - 1), c.rowEndY * (h - 1)),
                      bits == 1 ? 1 : 2);
            // Nothing else is set.
            int set = 0;
            for (uint32_t y = 0; y < h; ++y)
                for (uint32_t x = 0; x < w; ++x) set += ValueAt(image.buffer, x, y) != 0;
            EXPECT_EQ(set, 2);
        }
    }
}

TEST(OrientedRows, TheTurnedOnesSwapTheSidesAndATargetOfTheWrongSizeIsRefused) {
    uint32_t w, h;
    vellumo::imaging::UprightSize(Orientation::RightTop, 40, 30, w, h);
    EXPECT_EQ(w, 30u);
    EXPECT_EQ(h, 40u);
    Image image;
    ASSERT_EQ(AllocateImage(image, 40, 30, 8), kImgOk);
    OrientedRowWriter writer;
    EXPECT_EQ(writer.begin(image, 40, 30, Orientation::RightTop), kImgEmpty);
    EXPECT_EQ(writer.begin(image, 40, 30, Orientation::BottomRight), kImgOk);
    EXPECT_EQ(vellumo::imaging::OrientationFromTag(9), Orientation::TopLeft);
    EXPECT_EQ(vellumo::imaging::OrientationFromTag(0), Orientation::TopLeft);
}

}  // namespace

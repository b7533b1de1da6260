// How a file's stored rows map onto the picture a viewer shows: the eight orientations of the
// Exif and TIFF Orientation tag, and a writer that places decoded rows straight into an upright
// image, so that turning a photo costs no second copy of it.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/image_buffer.h"

namespace vellumo::imaging {

// Values as the tag stores them: where row 0 and column 0 of the stored image are seen.
enum class Orientation : int {
    TopLeft = 1,      // as stored
    TopRight = 2,     // mirrored left to right
    BottomRight = 3,  // turned half round
    BottomLeft = 4,   // mirrored top to bottom
    LeftTop = 5,      // mirrored along the main diagonal
    RightTop = 6,     // shown turned a quarter clockwise
    RightBottom = 7,  // mirrored along the other diagonal
    LeftBottom = 8,   // shown turned a quarter anticlockwise
};

// The tag's value as an orientation; values outside 1..8 count as stored upright.
Orientation OrientationFromTag(int value);
// Rows and columns change places (orientations 5 to 8).
bool SwapsSides(Orientation orientation);
// The upright picture's width and height for a stored width and height.
void UprightSize(Orientation orientation, uint32_t storedWidth, uint32_t storedHeight,
                 uint32_t& width, uint32_t& height);

// Places the rows of a stored image, in any order, into an image allocated with the upright
// size. Rows are in the image's own pixel format: packed bits (1-bit, leftmost pixel in the
// high bit), one byte (8-bit) or blue, green, red (24-bit).
class OrientedRowWriter {
public:
    // 0, or kImgEmpty / kImgBadDepth when image does not have the upright size or a depth of
    // 1, 8 or 24 bits.
    int begin(ImageBuffer& image, uint32_t storedWidth, uint32_t storedHeight,
              Orientation orientation);
    // Stored row y (0 = first row of the file's raster).
    void putRow(uint32_t y, const uint8_t* row);
    // True when rows can be decoded straight into rowTarget(y) with no placing at all.
    bool direct() const { return orientation_ == Orientation::TopLeft; }
    // Where stored row y goes when direct().
    uint8_t* rowTarget(uint32_t y) const { return RowPointer(*image_, y); }

private:
    void putTurned(uint32_t y, const uint8_t* row);
    ImageBuffer* image_ = nullptr;
    uint32_t storedWidth_ = 0, storedHeight_ = 0;
    Orientation orientation_ = Orientation::TopLeft;
    int bits_ = 0;
    std::vector<uint8_t> scratch_;
};

}  // namespace vellumo::imaging

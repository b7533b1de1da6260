// Tonal conversions and single-pixel access: bilevel to grey, smoothing, two-level threshold,
// grey conversion, reading one pixel and filling an area. Operations taking a source and a
// destination read the source's area and write the destination's, over the smaller extent
// of the two from their top-left corners; the same record twice works in place. An invalid or
// empty area gives -1.
#pragma once

#include <cstdint>

#include "imaging/image_buffer.h"

namespace vellumo::imaging {

// 1-bit src to 8-bit dst: pixel 0 becomes 0, pixel 1 becomes 255; dst gets the grey ramp.
// Other depths: -26.
int ExpandBilevelToGray(const ImageBuffer& src, ImageBuffer& dst);

// Each dst pixel is the integer mean of the 3 x 3 neighbourhood of the same src pixel (sum of
// nine values / 9). At the area's edges the missing neighbours repeat the nearest edge pixel,
// so every pixel is a mean of nine values and a uniform picture stays uniform. 8-bit images
// whose colour table is not the grey ramp are smoothed through the table (per colour channel)
// and each result takes the nearest table entry; 24- and 32-bit images per channel. Same
// depth required; 1 and 16 bits: -26.
int SmoothImage(const ImageBuffer& src, ImageBuffer& dst);

// Two-level image. 8 bits: values below `level` become 0, the others 255, and dst gets the
// grey ramp. 24 and 32 bits: a pixel becomes 255 in all three colour channels when red +
// green + blue is greater than 3 x level, else 0. Level outside 0-255: -5. Same depth
// required; 1 and 16 bits: -26.
int ThresholdImage(int level, const ImageBuffer& src, ImageBuffer& dst);

// Grey value = (11 x blue + 59 x green + 30 x red) / 100. 1- and 8-bit sources go through their
// colour table, 24- and 32-bit sources per pixel. dst must be 8-bit (-26); it gets the grey
// ramp and the grey-scale flag.
int ConvertToGray(const ImageBuffer& src, ImageBuffer& dst);

// The pixel at image column x, row y (0 = top): 1 bit: 0 or 1 (most significant bit leftmost);
// 8 bits: the byte; 16 bits: the 16-bit word; 24 and 32 bits: the stored blue, green and red
// bytes with the first most significant, (blue << 16) | (green << 8) | red. No image: -1; a
// place outside the image: -5.
int GetPixelValue(const ImageBuffer& image, int x, int y);

// Sets every pixel of the area to `level` (1 bit: the level's lowest bit; 24 and 32 bits: all
// colour channels; 16 bits: each 5-bit channel to level / 8). Level outside 0-255: -5.
int FillImageArea(int level, ImageBuffer& image);

}  // namespace vellumo::imaging

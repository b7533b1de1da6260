// Turning a page back by its skew. The page's working area is turned about its centre into a
// new picture of the same size, depth, colour table and resolution that replaces it; what comes
// from outside the old picture is white.
#pragma once

#include "imaging/image_buffer.h"

namespace vellumo::cleanup {

// Skews smaller than this are left alone: a straight page is never resampled.
constexpr double kMinStraightenDegrees = 0.05;

// Turns the page counter-clockwise by `degrees` (negative: clockwise), as RotateImage counts
// angles; a page skewed by s degrees is straightened by a turn of -s. 1-bit pages and colour-table
// pages take each pixel from the nearest one, so a bilevel page stays bilevel; grey and colour
// pages are interpolated between the four nearest pixels. 1, 8 and 24 bits (else -26); an empty
// area gives -1, a non-finite angle -5; on failure the page is unchanged. 0 or a negative imaging
// code.
int StraightenImage(imaging::ImageBuffer& page, double degrees);

}  // namespace vellumo::cleanup

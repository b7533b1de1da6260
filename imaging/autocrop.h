// Auto-crop: narrows the working area of a freshly scanned image to the part that is not
// dark background, from the edges found in a small two-level copy of it. Pixels are not
// moved; only the area changes.
#pragma once

#include "imaging/image_buffer.h"

namespace vellumo::imaging {

// Replaces the image by a copy about 100 pixels wide (same depth): the scale factor is
// 10000 / areaRight percent, in unsigned integer arithmetic, so an image wider than 10001
// pixels shrinks to width 0 and fails with -1. An image one column wide (areaRight 0) has no
// factor and gives -1. On failure the image is unchanged.
int ShrinkForAnalysis(ImageBuffer& image);

// Sets the image's area to the light part found on a reduced copy (1-, 8- and 24-bit images;
// others -26). Returns 0 or the first failing operation's code, and on failure the area is
// unchanged. When the reduced copy shows no edge on some side (an all-dark image, or a 24-bit
// image without a pure black pixel) or the edges found contradict each other, the area is left
// as it was, 0 is returned and the log says "autocrop found no page edges (...), image area
// unchanged" with the edges computed, in place of the two "new image area" lines.
int AutoCropImage(ImageBuffer& image);

}  // namespace vellumo::imaging

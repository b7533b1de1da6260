// Geometric and tonal transforms of an image's working area: scaling, rotation, mirror and
// negative. Each reads the source's area and writes the destination's area; both must have
// the same depth (-26). Given the same record twice, an operation works in place; sources that
// share pixels with the destination in any other way are read through a private copy.
// An invalid or empty area gives -1.
//
// Where a destination area differs in size from the source's (other than where a size is
// required), the result is placed as CopyImageArea places pixels: from the area's top-left
// corner, over the smaller extent in each direction. Colour tables (depths up to 8) go with
// the pixels, and a destination without a recorded resolution takes the source's.
#pragma once

#include "imaging/image_buffer.h"

namespace vellumo::imaging {

// Scales the src area to exactly fill the dst area by nearest-neighbour sampling: destination
// pixel x takes source pixel x * srcWidth / dstWidth (rows alike). 1, 8, 16, 24 and 32 bits.
int ResizeImage(const ImageBuffer& src, ImageBuffer& dst);

// Scales the src area down to exactly fill the dst area by area averaging: each dst pixel is
// the mean of the source pixels under it (columns x * srcWidth / dstWidth up to the next
// one's, rows alike), the way a thumbnail is made. dst is 24-bit (else -26) and at most as
// wide and high as the src area (else -5); src has 1, 8, 24 or 32 bits (else -26), 1- and
// 8-bit sources are read through their colour table. The two must not share pixels (-5);
// dst keeps its resolution.
int ReduceImage(const ImageBuffer& src, ImageBuffer& dst);

// Turns the picture by `angle` degrees, taken modulo 360 into [0, 360); a positive angle
// turns counter-clockwise (+90 a quarter turn to the left, -90 one to the right).
// - 0: a plain copy.
// - 180: upside down (mirror plus vertical flip).
// - 90 and 270: quarter turns; the dst area must be src's area height wide and its width high
//   (else -5).
// - Any other angle: the src area turned about its centre, sampled by nearest neighbour into
//   the dst area of whatever size it has (centre on centre); places outside the source become
//   white (the lightest colour-table entry for 1- and 8-bit images).
// A non-finite angle gives -5. 1, 8, 16, 24 and 32 bits.
int RotateImage(double angle, const ImageBuffer& src, ImageBuffer& dst);

// A quarter turn: direction 0 turns right (RotateImage with -90), any other value left (+90).
int RotateQuarterTurn(int direction, const ImageBuffer& src, ImageBuffer& dst);

// Photographic negative. 8 bits and more: every byte v (each channel) becomes 255 - v;
// 1 bit: every pixel bit is inverted. An 8-bit image whose colour table is not the grey ramp,
// written over its whole image, keeps its indices and gets the negated colour table, so that
// the picture, not the index order, is inverted.
int InvertImage(const ImageBuffer& src, ImageBuffer& dst);

// Reverses the order of the pixels in every row of the area (left-right mirror).
int MirrorImage(const ImageBuffer& src, ImageBuffer& dst);

}  // namespace vellumo::imaging

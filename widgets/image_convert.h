// The one conversion between the imaging library's ImageBuffer and Qt's QImage. The windows
// draw pages, thumbnails and previews through it, and bring pictures made with QPainter back
// into the imaging library through it; nothing else in the GUI converts pixels.
#pragma once

#include <QImage>

#include "imaging/image_buffer.h"

namespace vellumo::widgets {

// The working area of the image as a QImage, copied once, straight into the QImage's rows:
// 1 bit gives Format_Mono with the colour table, 8 bits Format_Grayscale8 when the colour table
// is the grey ramp and Format_Indexed8 with the table otherwise, 16 bits Format_RGB555,
// 24 bits Format_BGR888, 32 bits Format_RGB32. The resolution goes along. An image without
// pixels, with an area outside the image or another depth gives a null QImage.
QImage ImageToQImage(const imaging::ImageBuffer& image);

// The whole image as a QImage (the working area is ignored).
QImage WholeImageToQImage(const imaging::ImageBuffer& image);

// Allocates `image` and copies the QImage into it: Mono/MonoLSB become 1-bit, Grayscale8 and
// Indexed8 8-bit (with the colour table), every other format 24-bit, with alpha laid over
// `background` (0xRRGGBB). The resolution goes along. A null QImage gives -68 and leaves
// `image` untouched; otherwise the result of the import (0 or a negative code).
int QImageToImage(const QImage& picture, imaging::ImageBuffer& image, uint32_t background = 0xFFFFFF);

}  // namespace vellumo::widgets

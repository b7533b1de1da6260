// The imaging library's names as the clean-up code spells them (imaging::ImageBuffer ...).
// The imaging library does not have a namespace of its own yet; until it has, this header
// brings its names into vellumo::imaging, and it goes away when that namespace exists.
#pragma once

#include "imaging/codecs.h"
#include "imaging/image_buffer.h"
#include "imaging/transform.h"

namespace vellumo::imaging {
using ::AllocateImage;
using ::AreaHeight;
using ::AreaWidth;
using ::BitsPerPixel;
using ::CopyImageDescriptor;
using ::CopyPalette;
using ::FreeImage;
using ::HasGreyRamp;
using ::ImageBuffer;
using ::ImageDpiX;
using ::ImageDpiY;
using ::ImageHeight;
using ::ImageWidth;
using ::kImageFlagGrey;
using ::kImgBadArgument;
using ::kImgBadDepth;
using ::kImgEmpty;
using ::kImgNoMemory;
using ::kImgOk;
using ::ReadImageFile;
using ::RgbQuad;
using ::RotateImage;
using ::RowPointer;
using ::SaveTiff;
using ::SetImageDpi;
}  // namespace vellumo::imaging

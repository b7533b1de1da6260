// Decoding JPEG data at a reduced size. libjpeg can leave out the high frequencies of every 8 x 8
// block and so decode at 1/2, 1/4 or 1/8 of the full size for a fraction of the work; thumbnails,
// the viewer's first picture and the JPEG streams of PDF pages use it. Works on a file or on data
// in memory (a PDF's DCTDecode stream).
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/codecs.h"
#include "imaging/image_buffer.h"

namespace vellumo::imaging {

struct JpegDecodeOptions {
    // The decoded image is the smallest of full, 1/2, 1/4 and 1/8 size that is at least this
    // large (0 x 0: full size).
    int minWidth = 0;
    int minHeight = 0;
    // Faster, slightly less exact decoding (integer DCT, simple upsampling): for previews only.
    bool fast = false;
};

// Grey files give 8-bit grey images, the others 24-bit; CMYK and YCCK are turned into RGB as
// the file loader does (Adobe's inverted CMYK included). The JFIF density becomes the image's
// resolution, scaled with the image. 0 or a negative code; image all zero on failure.
int DecodeJpegFile(const char* file, const JpegDecodeOptions& options, ImageBuffer& image);
int DecodeJpegData(const uint8_t* data, size_t size, const JpegDecodeOptions& options,
                   ImageBuffer& image);
// The header of JPEG data: size, depth as it would load, components, JFIF resolution.
int InspectJpegData(const uint8_t* data, size_t size, ImageFileInfo& info);

}  // namespace vellumo::imaging

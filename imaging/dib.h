// Packed device-independent bitmaps (a header, a colour table, the pixel rows) into images:
// the scanner hands its pages over in this form and BMP files hold one after a file header.
// Every read is bounded by the size given, whatever the header claims.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/codec_common.h"
#include "imaging/image_buffer.h"

namespace vellumo::imaging {

// Allocates image (which is replaced) and decodes the packed DIB into it. Depths 1, 2, 4, 8,
// 16, 24 and 32 (others -26); 2- and 4-bit become 8-bit, 16- and 32-bit become 24-bit, with
// transparency declared by an alpha mask composed onto white; RLE4, RLE8 and OS/2's RLE24 are
// decoded; top-down and bottom-up rows; Windows headers of 40 to 124 bytes, OS/2 1.x (12) and
// OS/2 2.x (16 to 64). The colour table is copied for palette depths and the grey flag is set
// exactly when it is the grey ramp. Run-length data or a colour table that runs past its
// bounds is refused as damaged. On failure image is all zero.
int DibToImage(const void* packedDib, size_t size, ImageBuffer& image);

// What the header of a DIB says, checked against the data it came with.
struct DibLayout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int fileBits = 0;   // bits per pixel as stored
    int imageBits = 0;  // 1, 8 or 24: the depth of the decoded image
    uint32_t compression = 0;
    uint32_t masks[3] = {0, 0, 0};  // red, green, blue for 16- and 32-bit pixels
    uint32_t alphaMask = 0;         // transparency of 16- and 32-bit pixels, 0 when none
    bool os2 = false;               // an OS/2 2.x header
    size_t colourOffset = 0;        // from the start of the header
    int colourCount = 0;            // entries stored (at most 2^fileBits are used)
    int colourEntryBytes = 4;       // 3 for the old core header
    size_t bitsOffset = 0;          // from the start of the header
    int32_t pelsPerMetreX = 0;
    int32_t pelsPerMetreY = 0;
};

// Reads the header. data holds at least the first `available` bytes of a DIB whose total size
// is `total`; bitsOffset is where the pixel rows start (from the header), or negative for the
// packed layout right after the colour table. 0, or a negative code.
int ParseDib(const uint8_t* data, size_t available, size_t total, long long bitsOffset,
             DibLayout& layout);
// Decodes a DIB of `size` bytes described by layout into image, which is allocated with
// layout's width, height and imageBits.
int DecodeDib(const uint8_t* data, size_t size, const DibLayout& layout, ImageBuffer& image);
// The same for a DIB that starts at offset dibStart of a file, read from front to back, so that
// memory holds the picture and a row of the file, never the whole file.
int DecodeDibFile(codec::FileReader& file, uint64_t dibStart, const DibLayout& layout,
                  ImageBuffer& image);

}  // namespace vellumo::imaging

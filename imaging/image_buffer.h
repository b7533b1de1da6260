// ImageBuffer: the descriptor of one in-memory raster image. The memory is one block in the
// packed DIB layout (a 40-byte header, the colour table, then the pixel rows bottom-up), so a
// block can be handed around as a packed DIB. The working area names the part of the image
// every operation reads and writes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/status.h"

namespace vellumo::imaging {

#pragma pack(push, 1)
struct BitmapInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;  // the image's resolution travels here (0: none known)
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
struct RgbQuad {
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
};
#pragma pack(pop)
static_assert(sizeof(BitmapInfoHeader) == 40);
static_assert(sizeof(RgbQuad) == 4);

constexpr uint32_t kImageFlagGrey = 1;  // the colour table is the grey ramp, or declared grey

struct ImageBuffer {
    uint8_t* pixels;    // first byte of the bottom row
    uint32_t areaLeft;  // working area, inclusive
    uint32_t areaTop;
    uint32_t areaRight;
    uint32_t areaBottom;
    uint32_t rowBytes;         // ((width * bits + 31) / 32) * 4
    RgbQuad* palette;          // colour table after the header (depths below 16), else null
    int32_t paletteSize;       // 2^bits for depths below 16, else 0
    uint32_t imageFlags;       // bit 0: grey scale
    BitmapInfoHeader* header;  // head of the memory block
    // On this platform there are no DIB sections: the pixels always lie in the same block as
    // the header, and this stays null. The GUI layer wraps the block in a QImage when it draws.
    void* bitmapHandle;
};

// The largest image the program accepts: each side and the pixel block. Decoders check a
// file's claimed size against these before they allocate.
constexpr uint32_t kMaxImageSide = 65535 * 2;
constexpr size_t kMaxPixelBytes = size_t{1} << 31;

inline int ImageWidth(const ImageBuffer& image) {
    return image.header ? image.header->biWidth : 0;
}
inline int ImageHeight(const ImageBuffer& image) {
    return image.header ? image.header->biHeight : 0;
}
inline int BitsPerPixel(const ImageBuffer& image) {
    return image.header ? image.header->biBitCount : 0;
}
inline uint32_t AreaWidth(const ImageBuffer& image) {
    return image.areaRight - image.areaLeft + 1;
}
inline uint32_t AreaHeight(const ImageBuffer& image) {
    return image.areaBottom - image.areaTop + 1;
}
// Row y counted from the top of the image.
inline uint8_t* RowPointer(const ImageBuffer& image, uint32_t y) {
    return image.pixels + static_cast<size_t>(ImageHeight(image) - 1 - y) * image.rowBytes;
}
inline uint32_t RowBytesFor(uint32_t width, uint32_t bitsPerPixel) {
    return static_cast<uint32_t>(((uint64_t{width} * bitsPerPixel + 31) / 32) * 4);
}
// The packed block's size: header, colour table and pixels.
size_t ImageBlockSize(const ImageBuffer& image);

// Zeroes the record, then allocates width x height at the given depth (4 becomes 8). 1- and
// 8-bit images get the grey ramp and the grey flag; 16- and 32-bit the grey flag; 24-bit
// neither. The area is the whole image and the pixels are zero.
int AllocateImage(ImageBuffer& image, int width, int height, int bitsPerPixel);
// Releases the memory and zeroes the record; harmless on an all-zero record.
int FreeImage(ImageBuffer& image);
// Copies the record: ownership moves to dst, only one of the two may be freed afterwards.
int CopyImageDescriptor(const ImageBuffer& src, ImageBuffer& dst);
int SetImageArea(ImageBuffer& image, uint32_t left, uint32_t top, uint32_t right, uint32_t bottom);
// Copies the src area's pixels into the dst area (the smaller extent in each direction, from
// the top-left corners); same depth required. Copies the colour table for depths up to 8.
int CopyImageArea(const ImageBuffer& src, ImageBuffer& dst);
// Copies the colour table and its size when both images have 8 bits or fewer.
int CopyPalette(const ImageBuffer& src, ImageBuffer& dst);
// Fills the colour table with the linear grey ramp and sets the grey flag.
void SetGreyRamp(ImageBuffer& image);
// True when the image's colour table is the linear grey ramp of its size.
bool HasGreyRamp(const ImageBuffer& image);
// Resolution in dots per inch from the header (0 when none is recorded), and setting it.
int ImageDpiX(const ImageBuffer& image);
int ImageDpiY(const ImageBuffer& image);
void SetImageDpi(ImageBuffer& image, double dpiX, double dpiY);
// For an operation that made dst from src's working area: a dst without a resolution of its
// own gets src's, scaled by the change from src's area size to dst's (unchanged for a copy or a
// crop), so the picture keeps its size on paper.
void InheritResolution(const ImageBuffer& src, ImageBuffer& dst);

}  // namespace vellumo::imaging

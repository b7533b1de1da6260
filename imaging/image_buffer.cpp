#include "imaging/image_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace vellumo::imaging {

namespace {

constexpr double kInchesPerMetre = 39.37007874015748;

bool HasColourTable(int bitsPerPixel) {
    return bitsPerPixel <= 8;
}

// The working area is not empty and lies inside the image.
bool AreaInsideImage(const ImageBuffer& image) {
    return image.header && image.pixels && image.areaLeft <= image.areaRight &&
           image.areaTop <= image.areaBottom &&
           image.areaRight < static_cast<uint32_t>(ImageWidth(image)) &&
           image.areaBottom < static_cast<uint32_t>(ImageHeight(image));
}

}  // namespace

size_t ImageBlockSize(const ImageBuffer& image) {
    if (!image.header) return 0;
    return sizeof(BitmapInfoHeader) + sizeof(RgbQuad) * static_cast<size_t>(image.paletteSize) +
           static_cast<size_t>(image.rowBytes) * static_cast<size_t>(ImageHeight(image));
}

int AllocateImage(ImageBuffer& image, int width, int height, int bitsPerPixel) {
    std::memset(&image, 0, sizeof image);
    if (bitsPerPixel == 4) bitsPerPixel = 8;
    if (bitsPerPixel != 1 && bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 &&
        bitsPerPixel != 32)
        return kImgBadDepth;
    if (width <= 0 || height <= 0) return kImgEmpty;
    if (static_cast<uint32_t>(width) > kMaxImageSide ||
        static_cast<uint32_t>(height) > kMaxImageSide)
        return kImgNoMemory;
    const uint32_t rowBytes = RowBytesFor(static_cast<uint32_t>(width), bitsPerPixel);
    const size_t pixelBytes = static_cast<size_t>(rowBytes) * static_cast<size_t>(height);
    if (pixelBytes > kMaxPixelBytes) return kImgNoMemory;
    const int paletteSize = HasColourTable(bitsPerPixel) ? (1 << bitsPerPixel) : 0;
    const size_t headerBytes = sizeof(BitmapInfoHeader) + sizeof(RgbQuad) * paletteSize;
    auto* block = static_cast<uint8_t*>(std::calloc(1, headerBytes + pixelBytes));
    if (!block) return kImgNoMemory;

    auto* header = reinterpret_cast<BitmapInfoHeader*>(block);
    header->biSize = sizeof(BitmapInfoHeader);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = static_cast<uint16_t>(bitsPerPixel);
    header->biCompression = 0;
    header->biSizeImage = static_cast<uint32_t>(pixelBytes);
    header->biClrUsed = static_cast<uint32_t>(paletteSize);
    header->biClrImportant = static_cast<uint32_t>(paletteSize);

    image.header = header;
    image.palette =
        paletteSize ? reinterpret_cast<RgbQuad*>(block + sizeof(BitmapInfoHeader)) : nullptr;
    image.paletteSize = paletteSize;
    image.pixels = block + headerBytes;
    image.rowBytes = rowBytes;
    image.areaLeft = 0;
    image.areaTop = 0;
    image.areaRight = static_cast<uint32_t>(width - 1);
    image.areaBottom = static_cast<uint32_t>(height - 1);
    image.bitmapHandle = nullptr;
    if (paletteSize)
        SetGreyRamp(image);
    else if (bitsPerPixel != 24)
        image.imageFlags = kImageFlagGrey;
    return kImgOk;
}

int FreeImage(ImageBuffer& image) {
    std::free(image.header);
    std::memset(&image, 0, sizeof image);
    return kImgOk;
}

int CopyImageDescriptor(const ImageBuffer& src, ImageBuffer& dst) {
    if (&src != &dst) std::memcpy(&dst, &src, sizeof dst);
    return kImgOk;
}

int SetImageArea(ImageBuffer& image, uint32_t left, uint32_t top, uint32_t right, uint32_t bottom) {
    image.areaLeft = left;
    image.areaTop = top;
    image.areaRight = right;
    image.areaBottom = bottom;
    return kImgOk;
}

int CopyPalette(const ImageBuffer& src, ImageBuffer& dst) {
    if (&src == &dst) return kImgOk;
    if (BitsPerPixel(src) > 8 || BitsPerPixel(dst) > 8 || !src.palette || !dst.palette)
        return kImgOk;
    // The target's table has room for its own depth; a larger source table is cut to fit.
    const int capacity = 1 << BitsPerPixel(dst);
    const int count = std::min(src.paletteSize, capacity);
    std::memcpy(dst.palette, src.palette, sizeof(RgbQuad) * static_cast<size_t>(count));
    dst.paletteSize = std::max(count, dst.paletteSize);
    dst.imageFlags = (dst.imageFlags & ~kImageFlagGrey) | (src.imageFlags & kImageFlagGrey);
    return kImgOk;
}

int CopyImageArea(const ImageBuffer& src, ImageBuffer& dst) {
    // An area reaching outside its image would read or write beyond the pixel block.
    if (!AreaInsideImage(src) || !AreaInsideImage(dst)) return kImgEmpty;
    const int bits = BitsPerPixel(src);
    if (bits != BitsPerPixel(dst)) return kImgBadDepth;
    const uint32_t width = std::min(AreaWidth(src), AreaWidth(dst));
    const uint32_t height = std::min(AreaHeight(src), AreaHeight(dst));
    if (bits >= 8) {
        const size_t bytesPerPixel = static_cast<size_t>(bits) / 8;
        const size_t rowLength = width * bytesPerPixel;
        for (uint32_t y = 0; y < height; ++y) {
            const uint8_t* from = RowPointer(src, src.areaTop + y) + src.areaLeft * bytesPerPixel;
            uint8_t* to = RowPointer(dst, dst.areaTop + y) + dst.areaLeft * bytesPerPixel;
            std::memmove(to, from, rowLength);
        }
    } else {
        // 1 bit per pixel, most significant bit leftmost.
        for (uint32_t y = 0; y < height; ++y) {
            const uint8_t* from = RowPointer(src, src.areaTop + y);
            uint8_t* to = RowPointer(dst, dst.areaTop + y);
            if (src.areaLeft % 8 == 0 && dst.areaLeft % 8 == 0) {
                const uint32_t whole = width / 8;
                std::memmove(to + dst.areaLeft / 8, from + src.areaLeft / 8, whole);
                for (uint32_t x = whole * 8; x < width; ++x) {
                    const uint32_t sx = src.areaLeft + x, dx = dst.areaLeft + x;
                    const uint8_t bit = (from[sx >> 3] >> (7 - (sx & 7))) & 1;
                    const uint8_t mask = static_cast<uint8_t>(0x80 >> (dx & 7));
                    to[dx >> 3] = bit ? (to[dx >> 3] | mask) : (to[dx >> 3] & ~mask);
                }
            } else {
                for (uint32_t x = 0; x < width; ++x) {
                    const uint32_t sx = src.areaLeft + x, dx = dst.areaLeft + x;
                    const uint8_t bit = (from[sx >> 3] >> (7 - (sx & 7))) & 1;
                    const uint8_t mask = static_cast<uint8_t>(0x80 >> (dx & 7));
                    to[dx >> 3] = bit ? (to[dx >> 3] | mask) : (to[dx >> 3] & ~mask);
                }
            }
        }
    }
    if (bits <= 8) CopyPalette(src, dst);
    return kImgOk;
}

void SetGreyRamp(ImageBuffer& image) {
    if (!image.palette || image.paletteSize < 2) return;
    const int last = image.paletteSize - 1;
    for (int i = 0; i < image.paletteSize; ++i) {
        const auto level = static_cast<uint8_t>(i * 255 / last);
        image.palette[i] = RgbQuad{level, level, level, 0};
    }
    image.imageFlags |= kImageFlagGrey;
}

bool HasGreyRamp(const ImageBuffer& image) {
    if (!image.palette || image.paletteSize < 2) return false;
    const int last = image.paletteSize - 1;
    for (int i = 0; i < image.paletteSize; ++i) {
        const auto level = static_cast<uint8_t>(i * 255 / last);
        const RgbQuad& entry = image.palette[i];
        if (entry.rgbBlue != level || entry.rgbGreen != level || entry.rgbRed != level)
            return false;
    }
    return true;
}

int ImageDpiX(const ImageBuffer& image) {
    if (!image.header || image.header->biXPelsPerMeter <= 0) return 0;
    return static_cast<int>(std::lround(image.header->biXPelsPerMeter / kInchesPerMetre));
}

int ImageDpiY(const ImageBuffer& image) {
    if (!image.header || image.header->biYPelsPerMeter <= 0) return 0;
    return static_cast<int>(std::lround(image.header->biYPelsPerMeter / kInchesPerMetre));
}

void SetImageDpi(ImageBuffer& image, double dpiX, double dpiY) {
    if (!image.header) return;
    image.header->biXPelsPerMeter =
        dpiX > 0 ? static_cast<int32_t>(std::lround(dpiX * kInchesPerMetre)) : 0;
    image.header->biYPelsPerMeter =
        dpiY > 0 ? static_cast<int32_t>(std::lround(dpiY * kInchesPerMetre)) : 0;
}

void InheritResolution(const ImageBuffer& src, ImageBuffer& dst) {
    if (!src.header || !dst.header || src.header == dst.header) return;
    if (dst.header->biXPelsPerMeter > 0 || dst.header->biYPelsPerMeter > 0) return;
    const auto scaled = [](int32_t perMetre, uint32_t to, uint32_t from) {
        if (perMetre <= 0 || from == 0) return int32_t{0};
        const int64_t value = (int64_t{perMetre} * to + from / 2) / from;
        return static_cast<int32_t>(std::min<int64_t>(value, INT32_MAX));
    };
    dst.header->biXPelsPerMeter =
        scaled(src.header->biXPelsPerMeter, AreaWidth(dst), AreaWidth(src));
    dst.header->biYPelsPerMeter =
        scaled(src.header->biYPelsPerMeter, AreaHeight(dst), AreaHeight(src));
}
}  // namespace vellumo::imaging

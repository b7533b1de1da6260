#include "ocr/pix_image.h"

#include <leptonica/allheaders.h>

#include <cmath>
#include <cstring>

namespace vellumo::ocr {

using namespace vellumo::imaging;

PixHandle::~PixHandle() {
    if (pix_) pixDestroy(&pix_);
}

PixHandle& PixHandle::operator=(PixHandle&& other) noexcept {
    if (this != &other) {
        if (pix_) pixDestroy(&pix_);
        pix_ = other.pix_;
        other.pix_ = nullptr;
    }
    return *this;
}

namespace {

bool IsGrey(const RgbQuad& q) {
    return q.rgbRed == q.rgbGreen && q.rgbGreen == q.rgbBlue;
}

uint8_t Luminance(const RgbQuad& q) {
    return static_cast<uint8_t>((q.rgbRed * 299 + q.rgbGreen * 587 + q.rgbBlue * 114 + 500) / 1000);
}

// Rows of packed bytes in file order (1 and 8 bits): copied whole, then put into Leptonica's
// word order in one pass.
PixHandle CopyPackedRows(const ImageBuffer& image, int depth, bool invert) {
    const int width = ImageWidth(image), height = ImageHeight(image);
    PixHandle pix(pixCreateNoInit(width, height, depth));
    if (!pix) return {};
    l_uint32* data = pixGetData(pix.get());
    const size_t wordsPerLine = static_cast<size_t>(pixGetWpl(pix.get()));
    const size_t rowBytes = (static_cast<size_t>(width) * depth + 7) / 8;
    // Bits past the last pixel stay white, whatever the file had there.
    const int usedBits = static_cast<int>((static_cast<size_t>(width) * depth) % 8);
    const uint8_t lastByteMask = usedBits ? static_cast<uint8_t>(0xFF << (8 - usedBits)) : 0xFF;
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<uint8_t*>(data + wordsPerLine * y);
        std::memcpy(out, RowPointer(image, y), rowBytes);
        std::memset(out + rowBytes, 0, wordsPerLine * 4 - rowBytes);
        if (invert)
            for (size_t i = 0; i < rowBytes; ++i) out[i] = static_cast<uint8_t>(~out[i]);
        if (lastByteMask != 0xFF) out[rowBytes - 1] &= lastByteMask;
    }
    pixEndianByteSwap(pix.get());
    return pix;
}

// 8-bit grey through a grey colour table that is not the plain ramp.
PixHandle MapGreyRows(const ImageBuffer& image) {
    const int width = ImageWidth(image), height = ImageHeight(image);
    PixHandle pix(pixCreateNoInit(width, height, 8));
    if (!pix) return {};
    uint8_t table[256];
    for (int i = 0; i < 256; ++i) table[i] = i < image.paletteSize ? image.palette[i].rgbRed : 0;
    l_uint32* data = pixGetData(pix.get());
    const size_t wordsPerLine = static_cast<size_t>(pixGetWpl(pix.get()));
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = RowPointer(image, y);
        auto* out = reinterpret_cast<uint8_t*>(data + wordsPerLine * y);
        for (int x = 0; x < width; ++x) out[x] = table[in[x]];
    }
    pixEndianByteSwap(pix.get());
    return pix;
}

// Leptonica's 32-bit pixel: red in the top byte, then green and blue.
inline l_uint32 Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return (l_uint32{r} << 24) | (l_uint32{g} << 16) | (l_uint32{b} << 8);
}

PixHandle ColourRows(const ImageBuffer& image) {
    const int width = ImageWidth(image), height = ImageHeight(image);
    const int bits = BitsPerPixel(image);
    PixHandle pix(pixCreateNoInit(width, height, 32));
    if (!pix) return {};
    pixSetSpp(pix.get(), 3);
    l_uint32 table[256] = {};
    if (bits == 8)
        for (int i = 0; i < image.paletteSize && i < 256; ++i)
            table[i] =
                Rgb(image.palette[i].rgbRed, image.palette[i].rgbGreen, image.palette[i].rgbBlue);
    l_uint32* data = pixGetData(pix.get());
    const size_t wordsPerLine = static_cast<size_t>(pixGetWpl(pix.get()));
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = RowPointer(image, y);
        l_uint32* out = data + wordsPerLine * y;
        if (bits == 8) {
            for (int x = 0; x < width; ++x) out[x] = table[in[x]];
        } else {
            const int step = bits / 8;  // 3 or 4 bytes, blue first
            for (int x = 0; x < width; ++x, in += step) out[x] = Rgb(in[2], in[1], in[0]);
        }
    }
    return pix;
}

}  // namespace

PixHandle PixFromImage(const ImageBuffer& image) {
    const int width = ImageWidth(image), height = ImageHeight(image);
    if (width <= 0 || height <= 0 || !image.pixels) return {};
    PixHandle pix;
    switch (BitsPerPixel(image)) {
        case 1: {
            if (!image.palette || image.paletteSize < 2) return {};
            // Leptonica's bilevel images have black as 1: keep the bits when entry 1 is the
            // darker one.
            const bool oneIsDark = Luminance(image.palette[1]) < Luminance(image.palette[0]);
            pix = CopyPackedRows(image, 1, !oneIsDark);
            break;
        }
        case 8: {
            bool grey = image.palette != nullptr;
            for (int i = 0; grey && i < image.paletteSize; ++i) grey = IsGrey(image.palette[i]);
            if (!grey)
                pix = ColourRows(image);
            else if (HasGreyRamp(image))
                pix = CopyPackedRows(image, 8, false);
            else
                pix = MapGreyRows(image);
            break;
        }
        case 24:
        case 32:
            pix = ColourRows(image);
            break;
        default:
            return {};
    }
    if (pix) {
        const int dpiX = ImageDpiX(image), dpiY = ImageDpiY(image);
        pixSetResolution(pix.get(), dpiX, dpiY);
    }
    return pix;
}

}  // namespace vellumo::ocr

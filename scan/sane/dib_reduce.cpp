#include "scan/sane/dib_reduce.h"

#include <cstring>

#include "imaging/image_buffer.h"
#include "scan/scanner_component.h"

namespace vellumo::scan::sane {

using namespace vellumo::imaging;

namespace {

constexpr int kBlackBelow = 128;  // grey levels under this become black

BitmapInfoHeader HeaderOf(const std::vector<uint8_t>& dib) {
    BitmapInfoHeader h{};
    if (dib.size() >= sizeof h) std::memcpy(&h, dib.data(), sizeof h);
    return h;
}

size_t PaletteBytes(int bits) {
    return bits <= 8 ? (size_t{1} << bits) * sizeof(RgbQuad) : 0;
}

// A new DIB of the same size and resolution with `bits` per pixel and its colour table.
std::vector<uint8_t> NewDib(const BitmapInfoHeader& from, int bits) {
    BitmapInfoHeader h = from;
    h.biBitCount = static_cast<uint16_t>(bits);
    h.biClrUsed = 0;
    h.biClrImportant = 0;
    const uint32_t rowBytes = RowBytesFor(static_cast<uint32_t>(h.biWidth), h.biBitCount);
    h.biSizeImage = rowBytes * static_cast<uint32_t>(h.biHeight);
    std::vector<uint8_t> dib(sizeof h + PaletteBytes(bits) + h.biSizeImage, 0);
    std::memcpy(dib.data(), &h, sizeof h);
    auto* palette = reinterpret_cast<RgbQuad*>(dib.data() + sizeof h);
    const int colours = 1 << bits;
    for (int i = 0; i < colours; ++i) {
        const uint8_t v = static_cast<uint8_t>(i * 255 / (colours - 1));
        palette[i] = RgbQuad{v, v, v, 0};
    }
    return dib;
}

std::vector<uint8_t> ColourToGrey(const std::vector<uint8_t>& dib, const BitmapInfoHeader& h) {
    std::vector<uint8_t> out = NewDib(h, 8);
    const uint32_t inRow = RowBytesFor(static_cast<uint32_t>(h.biWidth), 24);
    const uint32_t outRow = RowBytesFor(static_cast<uint32_t>(h.biWidth), 8);
    const uint8_t* in = dib.data() + sizeof h;
    uint8_t* o = out.data() + sizeof h + PaletteBytes(8);
    for (int32_t y = 0; y < h.biHeight; ++y, in += inRow, o += outRow)
        for (int32_t x = 0; x < h.biWidth; ++x) {
            const uint8_t* p = in + x * 3;  // blue, green, red
            o[x] = static_cast<uint8_t>((p[2] * 299 + p[1] * 587 + p[0] * 114 + 500) / 1000);
        }
    return out;
}

std::vector<uint8_t> GreyToBilevel(const std::vector<uint8_t>& dib, const BitmapInfoHeader& h) {
    std::vector<uint8_t> out = NewDib(h, 1);
    // The grey of every colour index, from the delivered colour table.
    const auto* palette = reinterpret_cast<const RgbQuad*>(dib.data() + sizeof h);
    bool white[256];
    for (int i = 0; i < 256; ++i)
        white[i] =
            (palette[i].rgbRed * 299 + palette[i].rgbGreen * 587 + palette[i].rgbBlue * 114) /
                1000 >=
            kBlackBelow;
    const uint32_t inRow = RowBytesFor(static_cast<uint32_t>(h.biWidth), 8);
    const uint32_t outRow = RowBytesFor(static_cast<uint32_t>(h.biWidth), 1);
    const uint8_t* in = dib.data() + sizeof h + PaletteBytes(8);
    uint8_t* o = out.data() + sizeof h + PaletteBytes(1);
    for (int32_t y = 0; y < h.biHeight; ++y, in += inRow, o += outRow)
        for (int32_t x = 0; x < h.biWidth; ++x)
            if (white[in[x]]) o[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    return out;
}

}  // namespace

int DibPixelType(const std::vector<uint8_t>& dib) {
    switch (HeaderOf(dib).biBitCount) {
        case 1:
            return kPixelBw;
        case 8:
            return kPixelGray;
        case 24:
            return kPixelRgb;
        default:
            return -1;
    }
}

std::vector<uint8_t> ReduceDib(const std::vector<uint8_t>& dib, int pixelType) {
    const int have = DibPixelType(dib);
    if (have < 0 || pixelType < 0 || have <= pixelType) return dib;
    const BitmapInfoHeader h = HeaderOf(dib);
    const std::vector<uint8_t> grey = have == kPixelRgb ? ColourToGrey(dib, h) : dib;
    return pixelType == kPixelBw ? GreyToBilevel(grey, h) : grey;
}

}  // namespace vellumo::scan::sane

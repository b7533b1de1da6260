#include "imaging/convert.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "imaging/convert_kernels.h"
#include "imaging/imaging.h"

namespace vellumo::imaging {

namespace {

uint8_t GreyOf(uint32_t blue, uint32_t green, uint32_t red) {
    return static_cast<uint8_t>((11 * blue + 59 * green + 30 * red) / 100);
}

// Grey level of every colour-table entry (identity where the table is missing or short).
std::array<uint8_t, 256> GreyTable(const ImageBuffer& image) {
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(i);
    if (image.palette) {
        const int count = std::min(image.paletteSize, 256);
        for (int i = 0; i < count; ++i) {
            const RgbQuad& e = image.palette[i];
            table[i] = GreyOf(e.rgbBlue, e.rgbGreen, e.rgbRed);
        }
        // A 1-bit image without its table is still black and white.
        if (count == 0 && BitsPerPixel(image) == 1) table[1] = 255;
    } else if (BitsPerPixel(image) == 1) {
        table[1] = 255;
    }
    return table;
}

// 3 x 3 mean over interleaved channels of `channels` bytes per pixel. Rows and columns beyond
// the area repeat the edge.
void SmoothChannels(const std::vector<const uint8_t*>& rows, uint32_t width, uint32_t channels,
                    const std::vector<uint8_t*>& out, uint32_t outWidth) {
    const auto height = static_cast<uint32_t>(rows.size());
    const size_t n = size_t{width} * channels;
    std::vector<uint32_t> columnSums(n);
    for (uint32_t y = 0; y < out.size(); ++y) {
        const uint8_t* above = rows[y == 0 ? 0 : y - 1];
        const uint8_t* here = rows[y];
        const uint8_t* below = rows[y + 1 < height ? y + 1 : height - 1];
        for (size_t i = 0; i < n; ++i) columnSums[i] = above[i] + here[i] + below[i];
        uint8_t* d = out[y];
        for (uint32_t x = 0; x < outWidth; ++x) {
            const size_t left = size_t{x == 0 ? 0 : x - 1} * channels;
            const size_t centre = size_t{x} * channels;
            const size_t right = size_t{x + 1 < width ? x + 1 : width - 1} * channels;
            for (uint32_t c = 0; c < channels; ++c)
                d[centre + c] = static_cast<uint8_t>(
                    (columnSums[left + c] + columnSums[centre + c] + columnSums[right + c]) / 9);
        }
    }
}

int NearestEntry(const ImageBuffer& image, uint8_t blue, uint8_t green, uint8_t red) {
    int best = 0;
    int bestDistance = INT32_MAX;
    for (int i = 0; i < image.paletteSize; ++i) {
        const RgbQuad& e = image.palette[i];
        const int db = e.rgbBlue - blue, dg = e.rgbGreen - green, dr = e.rgbRed - red;
        const int distance = db * db + dg * dg + dr * dr;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0) break;
        }
    }
    return best;
}

// Threshold of pixels of kStep bytes: the first three bytes of each become 255 where their sum
// is above `limit`, else 0.
template <uint32_t kStep>
void ThresholdColour(const uint8_t* s, uint8_t* d, uint32_t w, uint32_t limit) {
    for (uint32_t x = 0; x < w; ++x) {
        const uint8_t* p = s + size_t{x} * kStep;
        const uint8_t v = uint32_t{p[0]} + p[1] + p[2] > limit ? 255 : 0;
        uint8_t* q = d + size_t{x} * kStep;
        q[0] = v;
        q[1] = v;
        q[2] = v;
    }
}

}  // namespace

void portable::Threshold24(const uint8_t* s, uint8_t* d, uint32_t w, uint32_t limit) {
    ThresholdColour<3>(s, d, w, limit);
}

ConvertKernels ChooseConvertKernels() {
    ConvertKernels kernels{portable::Threshold24};
    UseProcessorKernels(kernels);
    return kernels;
}

int ExpandBilevelToGray(const ImageBuffer& src, ImageBuffer& dst) {
    if (!HasValidArea(src) || !HasValidArea(dst)) return kImgEmpty;
    if (BitsPerPixel(src) != 1 || BitsPerPixel(dst) != 8) return kImgBadDepth;
    ScopedImage scratch;
    const ImageBuffer* from = nullptr;
    int status = DetachSource(src, dst, false, scratch, from);
    if (status != kImgOk) return status;
    const uint32_t w = std::min(AreaWidth(*from), AreaWidth(dst));
    const uint32_t h = std::min(AreaHeight(*from), AreaHeight(dst));
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* s = AreaRow(*from, y);
        uint8_t* d = AreaRow(dst, y);
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t bit = from->areaLeft + x;
            d[x] = ((s[bit >> 3] >> (7 - (bit & 7))) & 1) ? 255 : 0;
        }
    }
    SetGreyRamp(dst);
    InheritResolution(src, dst);
    return kImgOk;
}

int SmoothImage(const ImageBuffer& src, ImageBuffer& dst) {
    if (!HasValidArea(src) || !HasValidArea(dst)) return kImgEmpty;
    const int bits = BitsPerPixel(src);
    if (bits != BitsPerPixel(dst) || (bits != 8 && bits != 24 && bits != 32)) return kImgBadDepth;
    ScopedImage scratch;
    const ImageBuffer* from = nullptr;
    int status = DetachSource(src, dst, false, scratch, from);
    if (status != kImgOk) return status;

    const uint32_t sw = AreaWidth(*from), sh = AreaHeight(*from);
    const uint32_t w = std::min(sw, AreaWidth(dst));
    const uint32_t h = std::min(sh, AreaHeight(dst));
    std::vector<const uint8_t*> rows(sh);
    std::vector<uint8_t*> out(h);
    const bool throughTable = bits == 8 && from->palette && !HasGreyRamp(*from);
    if (!throughTable) {
        for (uint32_t y = 0; y < sh; ++y) rows[y] = AreaRow(*from, y);
        for (uint32_t y = 0; y < h; ++y) out[y] = AreaRow(dst, y);
        SmoothChannels(rows, sw, static_cast<uint32_t>(bits / 8), out, w);
    } else {
        // Colour-table image: smooth the colours, then take the nearest entry of the table.
        std::vector<uint8_t> colours(size_t{sw} * sh * 3), smoothed(size_t{w} * h * 3);
        const int entries = std::min(from->paletteSize, 256);
        for (uint32_t y = 0; y < sh; ++y) {
            const uint8_t* s = AreaRow(*from, y);
            uint8_t* c = colours.data() + size_t{y} * sw * 3;
            for (uint32_t x = 0; x < sw; ++x) {
                const RgbQuad e = s[x] < entries ? from->palette[s[x]] : RgbQuad{0, 0, 0, 0};
                c[3 * x] = e.rgbBlue;
                c[3 * x + 1] = e.rgbGreen;
                c[3 * x + 2] = e.rgbRed;
            }
            rows[y] = c;
        }
        for (uint32_t y = 0; y < h; ++y) out[y] = smoothed.data() + size_t{y} * w * 3;
        SmoothChannels(rows, sw, 3, out, w);
        std::unordered_map<uint32_t, uint8_t> nearest;
        for (uint32_t y = 0; y < h; ++y) {
            const uint8_t* c = out[y];
            uint8_t* d = AreaRow(dst, y);
            for (uint32_t x = 0; x < w; ++x) {
                const uint32_t key = c[3 * x] | (c[3 * x + 1] << 8) | (c[3 * x + 2] << 16);
                auto found = nearest.find(key);
                if (found == nearest.end())
                    found = nearest
                                .emplace(key, static_cast<uint8_t>(NearestEntry(
                                                  *from, c[3 * x], c[3 * x + 1], c[3 * x + 2])))
                                .first;
                d[x] = found->second;
            }
        }
    }
    if (bits == 8 && from->palette != dst.palette) CopyPalette(*from, dst);
    return kImgOk;
}

int ThresholdImage(int level, const ImageBuffer& src, ImageBuffer& dst) {
    if (level < 0 || level > 255) return kImgBadArgument;
    if (!HasValidArea(src) || !HasValidArea(dst)) return kImgEmpty;
    const int bits = BitsPerPixel(src);
    if (bits != BitsPerPixel(dst) || (bits != 8 && bits != 24 && bits != 32)) return kImgBadDepth;
    ScopedImage scratch;
    const ImageBuffer* from = nullptr;
    int status = DetachSource(src, dst, true, scratch, from);
    if (status != kImgOk) return status;
    const uint32_t w = std::min(AreaWidth(*from), AreaWidth(dst));
    const uint32_t h = std::min(AreaHeight(*from), AreaHeight(dst));
    const auto limit = static_cast<uint32_t>(3 * level);
    const auto below = static_cast<uint8_t>(level);
    const ConvertKernels kernels = ChooseConvertKernels();
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* s = AreaRow(*from, y);
        uint8_t* d = AreaRow(dst, y);
        if (bits == 8) {
            for (uint32_t x = 0; x < w; ++x) d[x] = s[x] < below ? 0 : 255;
        } else if (bits == 24) {
            kernels.threshold24(s, d, w, limit);
        } else {
            ThresholdColour<4>(s, d, w, limit);
        }
    }
    if (bits == 8) SetGreyRamp(dst);
    return kImgOk;
}

int ConvertToGray(const ImageBuffer& src, ImageBuffer& dst) {
    if (!HasValidArea(src) || !HasValidArea(dst)) return kImgEmpty;
    const int bits = BitsPerPixel(src);
    if (BitsPerPixel(dst) != 8 || (bits != 1 && bits != 8 && bits != 24 && bits != 32))
        return kImgBadDepth;
    ScopedImage scratch;
    const ImageBuffer* from = nullptr;
    int status = DetachSource(src, dst, true, scratch, from);
    if (status != kImgOk) return status;
    const uint32_t w = std::min(AreaWidth(*from), AreaWidth(dst));
    const uint32_t h = std::min(AreaHeight(*from), AreaHeight(dst));
    // Read before dst's table becomes the grey ramp: in place it is the source's table.
    const std::array<uint8_t, 256> table = GreyTable(*from);
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* s = AreaRow(*from, y);
        uint8_t* d = AreaRow(dst, y);
        switch (bits) {
            case 1:
                for (uint32_t x = 0; x < w; ++x) {
                    const uint32_t bit = from->areaLeft + x;
                    d[x] = table[(s[bit >> 3] >> (7 - (bit & 7))) & 1];
                }
                break;
            case 8:
                for (uint32_t x = 0; x < w; ++x) d[x] = table[s[x]];
                break;
            default: {
                const uint32_t step = static_cast<uint32_t>(bits / 8);
                for (uint32_t x = 0; x < w; ++x) {
                    const uint8_t* p = s + size_t{x} * step;
                    d[x] = GreyOf(p[0], p[1], p[2]);
                }
                break;
            }
        }
    }
    SetGreyRamp(dst);
    InheritResolution(src, dst);
    return kImgOk;
}

int GetPixelValue(const ImageBuffer& image, int x, int y) {
    if (!image.header || !image.pixels) return kImgEmpty;
    if (x < 0 || y < 0 || x >= ImageWidth(image) || y >= ImageHeight(image)) return kImgBadArgument;
    const uint8_t* row = RowPointer(image, static_cast<uint32_t>(y));
    const auto ux = static_cast<size_t>(x);
    switch (BitsPerPixel(image)) {
        case 1:
            return (row[ux >> 3] >> (7 - (ux & 7))) & 1;
        case 8:
            return row[ux];
        case 16:
            return row[2 * ux] | (row[2 * ux + 1] << 8);
        case 24: {
            const uint8_t* p = row + 3 * ux;
            return (p[0] << 16) | (p[1] << 8) | p[2];
        }
        case 32: {
            const uint8_t* p = row + 4 * ux;
            return (p[0] << 16) | (p[1] << 8) | p[2];
        }
        default:
            return kImgBadDepth;
    }
}

int FillImageArea(int level, ImageBuffer& image) {
    if (level < 0 || level > 255) return kImgBadArgument;
    if (!HasValidArea(image)) return kImgEmpty;
    const int bits = BitsPerPixel(image);
    const uint32_t w = AreaWidth(image), h = AreaHeight(image);
    if (bits == 1) {
        std::vector<uint8_t> row((w + 7) / 8, (level & 1) ? 0xFF : 0x00);
        for (uint32_t y = 0; y < h; ++y)
            CopyBits(AreaRow(image, y), image.areaLeft, row.data(), 0, w);
    } else if (bits == 16) {
        const auto channel = static_cast<uint16_t>(level >> 3);
        const auto word = static_cast<uint16_t>((channel << 10) | (channel << 5) | channel);
        for (uint32_t y = 0; y < h; ++y) {
            uint8_t* d = AreaRow(image, y);
            for (uint32_t x = 0; x < w; ++x) std::memcpy(d + 2 * size_t{x}, &word, 2);
        }
    } else if (bits == 8 || bits == 24 || bits == 32) {
        for (uint32_t y = 0; y < h; ++y)
            std::memset(AreaRow(image, y), level, size_t{w} * (bits / 8));
    } else {
        return kImgBadDepth;
    }
    return kImgOk;
}

}  // namespace vellumo::imaging

#include "imaging/convert.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "imaging/imaging.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VELLUMO_X86 1
#endif

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

#if defined(VELLUMO_X86)

// Shuffle masks for 16 pixels of 3 bytes: gathering channel c from input vector m, and
// spreading one byte per pixel back over the three bytes of output vector k.
struct Masks24 {
    alignas(16) int8_t gather[3][3][16];
    alignas(16) int8_t spread[3][16];
};
constexpr Masks24 kMasks24 = [] {
    Masks24 m{};
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 3; ++v)
            for (int t = 0; t < 16; ++t) {
                const int source = 3 * t + c;
                m.gather[c][v][t] = static_cast<int8_t>(source / 16 == v ? source % 16 : -128);
            }
    for (int k = 0; k < 3; ++k)
        for (int t = 0; t < 16; ++t) m.spread[k][t] = static_cast<int8_t>((16 * k + t) / 3);
    return m;
}();

inline __m128i Mask(const int8_t* bytes) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(bytes));
}

// Threshold of 24-bit pixels, 16 at a time; returns how many were done.
__attribute__((target("ssse3"))) uint32_t Threshold24Ssse3(const uint8_t* s, uint8_t* d, uint32_t w,
                                                           uint32_t limit) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i limits = _mm_set1_epi16(static_cast<int16_t>(limit));
    uint32_t x = 0;
    for (; x + 16 <= w; x += 16) {
        __m128i v[3], channel[3];
        for (int m = 0; m < 3; ++m)
            v[m] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 3 * size_t{x} + 16 * m));
        for (int c = 0; c < 3; ++c) {
            channel[c] =
                _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(v[0], Mask(kMasks24.gather[c][0])),
                                          _mm_shuffle_epi8(v[1], Mask(kMasks24.gather[c][1]))),
                             _mm_shuffle_epi8(v[2], Mask(kMasks24.gather[c][2])));
        }
        const __m128i low = _mm_add_epi16(
            _mm_add_epi16(_mm_unpacklo_epi8(channel[0], zero), _mm_unpacklo_epi8(channel[1], zero)),
            _mm_unpacklo_epi8(channel[2], zero));
        const __m128i high = _mm_add_epi16(
            _mm_add_epi16(_mm_unpackhi_epi8(channel[0], zero), _mm_unpackhi_epi8(channel[1], zero)),
            _mm_unpackhi_epi8(channel[2], zero));
        const __m128i light =
            _mm_packs_epi16(_mm_cmpgt_epi16(low, limits), _mm_cmpgt_epi16(high, limits));
        for (int k = 0; k < 3; ++k)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 3 * size_t{x} + 16 * k),
                             _mm_shuffle_epi8(light, Mask(kMasks24.spread[k])));
    }
    return x;
}

// The same on 32 pixels at a time: each 128-bit lane works as the SSSE3 variant does, the low
// lane on pixels 0-15, the high lane on pixels 16-31.
__attribute__((target("avx2"))) uint32_t Threshold24Avx2(const uint8_t* s, uint8_t* d, uint32_t w,
                                                         uint32_t limit) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i limits = _mm256_set1_epi16(static_cast<int16_t>(limit));
    // Lambdas do not take the function's target, so the masks are loaded here.
    __m256i gather[3][3], spread[3];
    for (int c = 0; c < 3; ++c) {
        for (int m = 0; m < 3; ++m)
            gather[c][m] = _mm256_broadcastsi128_si256(
                _mm_load_si128(reinterpret_cast<const __m128i*>(kMasks24.gather[c][m])));
        spread[c] = _mm256_broadcastsi128_si256(
            _mm_load_si128(reinterpret_cast<const __m128i*>(kMasks24.spread[c])));
    }
    uint32_t x = 0;
    for (; x + 32 <= w; x += 32) {
        const uint8_t* p = s + 3 * size_t{x};
        __m256i v[3], channel[3];
        for (int m = 0; m < 3; ++m)
            v[m] = _mm256_inserti128_si256(
                _mm256_castsi128_si256(
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * m))),
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48 + 16 * m)), 1);
        for (int c = 0; c < 3; ++c)
            channel[c] = _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(v[0], gather[c][0]),
                                                         _mm256_shuffle_epi8(v[1], gather[c][1])),
                                         _mm256_shuffle_epi8(v[2], gather[c][2]));
        const __m256i low =
            _mm256_add_epi16(_mm256_add_epi16(_mm256_unpacklo_epi8(channel[0], zero),
                                              _mm256_unpacklo_epi8(channel[1], zero)),
                             _mm256_unpacklo_epi8(channel[2], zero));
        const __m256i high =
            _mm256_add_epi16(_mm256_add_epi16(_mm256_unpackhi_epi8(channel[0], zero),
                                              _mm256_unpackhi_epi8(channel[1], zero)),
                             _mm256_unpackhi_epi8(channel[2], zero));
        const __m256i light =
            _mm256_packs_epi16(_mm256_cmpgt_epi16(low, limits), _mm256_cmpgt_epi16(high, limits));
        uint8_t* q = d + 3 * size_t{x};
        for (int k = 0; k < 3; ++k) {
            const __m256i out = _mm256_shuffle_epi8(light, spread[k]);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(q + 16 * k), _mm256_castsi256_si128(out));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(q + 48 + 16 * k),
                             _mm256_extracti128_si256(out, 1));
        }
    }
    return x;
}
#endif

}  // namespace

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
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* s = AreaRow(*from, y);
        uint8_t* d = AreaRow(dst, y);
        if (bits == 8) {
            for (uint32_t x = 0; x < w; ++x) d[x] = s[x] < below ? 0 : 255;
        } else {
            const uint32_t step = static_cast<uint32_t>(bits / 8);
            uint32_t x = 0;
#if defined(VELLUMO_X86)
            if (bits == 24 && UseCpuFeature(CpuFeature::Avx2)) x = Threshold24Avx2(s, d, w, limit);
            if (bits == 24 && UseCpuFeature(CpuFeature::Ssse3))
                x += Threshold24Ssse3(s + 3 * size_t{x}, d + 3 * size_t{x}, w - x, limit);
#endif
            for (; x < w; ++x) {
                const uint8_t* p = s + size_t{x} * step;
                const uint8_t v = uint32_t{p[0]} + p[1] + p[2] > limit ? 255 : 0;
                uint8_t* q = d + size_t{x} * step;
                q[0] = v;
                q[1] = v;
                q[2] = v;
            }
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

#include "cleanup/straighten.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include <sys/mman.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vellumo::cleanup {

namespace {

// Source positions are kept in fixed point with this many fraction bits, so a whole row is
// walked by additions alone.
constexpr int kFractionBits = 24;
constexpr int64_t kOne = int64_t{1} << kFractionBits;
// Interpolation weights use the top 8 fraction bits.
constexpr int kWeightShift = kFractionBits - 8;

// A new picture's memory is first touched by the turn itself. Where the system gives fresh
// memory page by page on first touch, asking for large pages saves most of those page faults,
// which on some virtual machines cost more than the turn.
void PreferLargePages(void* start, size_t bytes) {
    constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
    const uintptr_t first =
        (reinterpret_cast<uintptr_t>(start) + kLargePage - 1) & ~(kLargePage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(start) + bytes) & ~(kLargePage - 1);
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

int Luminance(const imaging::RgbQuad& c) {
    return 77 * c.rgbRed + 150 * c.rgbGreen + 29 * c.rgbBlue;
}

// The colour-table index that shows the lightest colour.
int LightestIndex(const imaging::ImageBuffer& page) {
    int best = 0;
    for (int i = 1; i < page.paletteSize; ++i)
        if (Luminance(page.palette[i]) > Luminance(page.palette[best])) best = i;
    return best;
}

// The walk through the source for one destination row: position of pixel 0 and the step.
struct RowWalk {
    int64_t x, y, stepX, stepY;
};

class Sampler {
public:
    // turnDegrees: the counter-clockwise turn to make; the picture's skew is its negative.
    Sampler(const imaging::ImageBuffer& src, double turnDegrees)
        : width_(static_cast<int64_t>(imaging::AreaWidth(src))),
          height_(static_cast<int64_t>(imaging::AreaHeight(src))) {
        const double radians = -turnDegrees * M_PI / 180.0;
        cos_ = std::cos(radians);
        sin_ = std::sin(radians);
    }
    // Destination (0, y) maps to the source position turned about the centre: the output at p
    // shows what the skewed page shows at p turned counter-clockwise by the skew.
    RowWalk Row(int64_t y) const {
        const double cx = (static_cast<double>(width_) - 1) / 2;
        const double cy = (static_cast<double>(height_) - 1) / 2;
        const double dx = -cx, dy = static_cast<double>(y) - cy;
        const double sx = cx + dx * cos_ + dy * sin_;
        const double sy = cy - dx * sin_ + dy * cos_;
        return RowWalk{Fixed(sx), Fixed(sy), Fixed(cos_), Fixed(-sin_)};
    }

private:
    static int64_t Fixed(double v) { return static_cast<int64_t>(std::llround(v * kOne)); }
    int64_t width_, height_;
    double cos_ = 1, sin_ = 0;
};

// The stretch of a row whose source positions lie where `inside` holds, for a walk that
// moves in a straight line: found by solving, then corrected by the exact test at both ends.
template <typename Inside>
void InnerSpan(const RowWalk& walk, int64_t width, Inside inside, int64_t& first, int64_t& end) {
    double lo = 0, hi = static_cast<double>(width);
    // Each coordinate c(x) = c0 + x * step must lie in [0, limit].
    auto clip = [&](double c0, double step, double limit) {
        if (step == 0) {
            if (c0 < 0 || c0 > limit) hi = lo;
            return;
        }
        double a = -c0 / step, b = (limit - c0) / step;
        if (a > b) std::swap(a, b);
        lo = std::max(lo, a);
        hi = std::min(hi, b + 1);
    };
    clip(static_cast<double>(walk.x), static_cast<double>(walk.stepX), 1e18);
    clip(static_cast<double>(walk.y), static_cast<double>(walk.stepY), 1e18);
    first = std::clamp<int64_t>(static_cast<int64_t>(std::floor(lo)), 0, width);
    end = std::clamp<int64_t>(static_cast<int64_t>(std::ceil(hi)), first, width);
    while (first < end && !inside(walk.x + first * walk.stepX, walk.y + first * walk.stepY))
        ++first;
    while (end > first && !inside(walk.x + (end - 1) * walk.stepX, walk.y + (end - 1) * walk.stepY))
        --end;
}

inline uint32_t Load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// One colour pixel blended from the two pixels at `top` and the two at `bottom` (8-bit
// weights). The channels travel side by side in 16-bit lanes, so a few multiplications blend
// all of them; no lane ever exceeds 65535.
#if defined(__SSE2__)
inline void BlendColour(const uint8_t* top, const uint8_t* bottom, uint32_t fx, uint32_t fy,
                        uint8_t* out) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(128);
    // Lanes 0-2 the left pixel's blue, green, red, lanes 4-6 the right pixel's.
    auto pair = [&](const uint8_t* p) {
        const uint64_t bytes = Load32(p) | (uint64_t{Load32(p + 2) >> 8} << 32);
        return _mm_unpacklo_epi8(_mm_cvtsi64_si128(static_cast<long long>(bytes)), zero);
    };
    const __m128i weights = _mm_unpacklo_epi64(_mm_set1_epi16(static_cast<short>(256 - fx)),
                                               _mm_set1_epi16(static_cast<short>(fx)));
    __m128i t = _mm_mullo_epi16(pair(top), weights);
    __m128i b = _mm_mullo_epi16(pair(bottom), weights);
    t = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_si128(t, 8)), half), 8);
    b = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(b, _mm_srli_si128(b, 8)), half), 8);
    __m128i v = _mm_add_epi16(_mm_mullo_epi16(t, _mm_set1_epi16(static_cast<short>(256 - fy))),
                              _mm_mullo_epi16(b, _mm_set1_epi16(static_cast<short>(fy))));
    v = _mm_srli_epi16(_mm_add_epi16(v, half), 8);
    const uint32_t bgr = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(v, v)));
    out[0] = static_cast<uint8_t>(bgr);
    out[1] = static_cast<uint8_t>(bgr >> 8);
    out[2] = static_cast<uint8_t>(bgr >> 16);
}
#else
// Spreads three bytes into the low bytes of three 16-bit lanes of a 64-bit word.
inline uint64_t Lanes(uint32_t v) {
    return (v & 0xFF) | ((v & 0xFF00) << 8) | (uint64_t{v & 0xFF0000} << 16);
}
inline void BlendColour(const uint8_t* top, const uint8_t* bottom, uint32_t fx, uint32_t fy,
                        uint8_t* out) {
    constexpr uint64_t kLowBytes = 0x000000FF00FF00FFull;
    constexpr uint64_t kHalf = 0x0000008000800080ull;
    auto row = [&](const uint8_t* p) {
        return ((Lanes(Load32(p)) * (256 - fx) + Lanes(Load32(p + 2) >> 8) * fx + kHalf) >> 8) &
               kLowBytes;
    };
    const uint64_t v = row(top) * (256 - fy) + row(bottom) * fy + kHalf;
    out[0] = static_cast<uint8_t>(v >> 8);
    out[1] = static_cast<uint8_t>(v >> 24);
    out[2] = static_cast<uint8_t>(v >> 40);
}
#endif

// Bilinear interpolation of grey (channels 1) or colour (channels 3) pixels. `base` is the
// area's top-left pixel; rows lie `rowStep` bytes apart going down (negative for bottom-up
// images). Inside the picture each pixel is blended from its four neighbours without a test;
// at the picture's edge a neighbour outside it counts as white.
template <int channels>
void InterpolateRows(const uint8_t* base, ptrdiff_t rowStep, int64_t width, int64_t height,
                     const Sampler& sampler, const imaging::ImageBuffer& dst) {
    const int64_t lastX = (width - 1) * kOne, lastY = (height - 1) * kOne;
    auto inside = [&](int64_t sx, int64_t sy) {
        return sx >= 0 && sx < lastX && sy >= 0 && sy < lastY;
    };
    auto edgePixel = [&](int64_t sx, int64_t sy, uint8_t* out) {
        const int64_t ix = sx >> kFractionBits, iy = sy >> kFractionBits;
        const int fx = static_cast<int>((sx >> kWeightShift) & 0xFF);
        const int fy = static_cast<int>((sy >> kWeightShift) & 0xFF);
        for (int c = 0; c < channels; ++c) {
            int v[2][2];
            for (int j = 0; j < 2; ++j) {
                for (int i = 0; i < 2; ++i) {
                    const int64_t px = ix + i, py = iy + j;
                    v[j][i] = px >= 0 && px < width && py >= 0 && py < height
                                  ? base[py * rowStep + px * channels + c]
                                  : 255;
                }
            }
            const int top = v[0][0] * (256 - fx) + v[0][1] * fx;
            const int bottom = v[1][0] * (256 - fx) + v[1][1] * fx;
            out[c] = static_cast<uint8_t>((top * (256 - fy) + bottom * fy + 32768) >> 16);
        }
    };
    for (int64_t y = 0; y < height; ++y) {
        const RowWalk walk = sampler.Row(y);
        uint8_t* out = imaging::RowPointer(dst, static_cast<uint32_t>(y));
        int64_t first = 0, end = 0;
        InnerSpan(walk, width, inside, first, end);
        for (int64_t x = 0; x < first; ++x)
            edgePixel(walk.x + x * walk.stepX, walk.y + x * walk.stepY, out + x * channels);
        int64_t sx = walk.x + first * walk.stepX, sy = walk.y + first * walk.stepY;
        uint8_t* o = out + first * channels;
        for (int64_t x = first; x < end; ++x, sx += walk.stepX, sy += walk.stepY, o += channels) {
            const uint8_t* p =
                base + (sy >> kFractionBits) * rowStep + (sx >> kFractionBits) * channels;
            const uint32_t fx = static_cast<uint32_t>((sx >> kWeightShift) & 0xFF);
            const uint32_t fy = static_cast<uint32_t>((sy >> kWeightShift) & 0xFF);
            if constexpr (channels == 1) {
                const uint32_t top = p[0] * (256 - fx) + p[1] * fx;
                const uint32_t bottom = p[rowStep] * (256 - fx) + p[rowStep + 1] * fx;
                o[0] = static_cast<uint8_t>((top * (256 - fy) + bottom * fy + 32768) >> 16);
            } else {
                BlendColour(p, p + rowStep, fx, fy, o);
            }
        }
        for (int64_t x = end; x < width; ++x)
            edgePixel(walk.x + x * walk.stepX, walk.y + x * walk.stepY, out + x * channels);
    }
}

// Nearest pixel, one byte per pixel (colour-table images).
void NearestBytes(const uint8_t* base, ptrdiff_t rowStep, int64_t width, int64_t height,
                  const Sampler& sampler, uint8_t white, const imaging::ImageBuffer& dst) {
    const int64_t half = kOne / 2;
    for (int64_t y = 0; y < height; ++y) {
        RowWalk walk = sampler.Row(y);
        walk.x += half;
        walk.y += half;
        uint8_t* out = imaging::RowPointer(dst, static_cast<uint32_t>(y));
        for (int64_t x = 0; x < width; ++x, walk.x += walk.stepX, walk.y += walk.stepY) {
            const int64_t ix = walk.x >> kFractionBits, iy = walk.y >> kFractionBits;
            out[x] = walk.x >= 0 && walk.y >= 0 && ix < width && iy < height
                         ? base[iy * rowStep + ix]
                         : white;
        }
    }
}

// Nearest pixel of a bilevel page; `left` is the area's first column (a bit offset).
void NearestBits(const uint8_t* base, ptrdiff_t rowStep, uint32_t left, int64_t width,
                 int64_t height, const Sampler& sampler, int whiteBit,
                 const imaging::ImageBuffer& dst) {
    const int64_t half = kOne / 2;
    for (int64_t y = 0; y < height; ++y) {
        RowWalk walk = sampler.Row(y);
        walk.x += half;
        walk.y += half;
        uint8_t* out = imaging::RowPointer(dst, static_cast<uint32_t>(y));
        std::memset(out, 0, dst.rowBytes);
        uint8_t byte = 0;
        for (int64_t x = 0; x < width; ++x, walk.x += walk.stepX, walk.y += walk.stepY) {
            const int64_t ix = walk.x >> kFractionBits, iy = walk.y >> kFractionBits;
            int bit = whiteBit;
            if (walk.x >= 0 && walk.y >= 0 && ix < width && iy < height) {
                const uint64_t column = left + static_cast<uint64_t>(ix);
                bit =
                    (base[iy * rowStep + static_cast<int64_t>(column >> 3)] >> (7 - (column & 7))) &
                    1;
            }
            byte = static_cast<uint8_t>((byte << 1) | bit);
            if ((x & 7) == 7) {
                out[x >> 3] = byte;
                byte = 0;
            }
        }
        if (width & 7) out[width >> 3] = static_cast<uint8_t>(byte << (8 - (width & 7)));
    }
}

}  // namespace

int StraightenImage(imaging::ImageBuffer& page, double degrees) {
    if (!std::isfinite(degrees)) return imaging::kImgBadArgument;
    const int bits = imaging::BitsPerPixel(page);
    if (bits != 1 && bits != 8 && bits != 24) return imaging::kImgBadDepth;
    if (!page.pixels || page.areaRight < page.areaLeft || page.areaBottom < page.areaTop ||
        page.areaRight >= static_cast<uint32_t>(imaging::ImageWidth(page)) ||
        page.areaBottom >= static_cast<uint32_t>(imaging::ImageHeight(page)))
        return imaging::kImgEmpty;
    const int64_t width = imaging::AreaWidth(page), height = imaging::AreaHeight(page);

    imaging::ImageBuffer turned{};
    int status =
        imaging::AllocateImage(turned, static_cast<int>(width), static_cast<int>(height), bits);
    if (status != imaging::kImgOk) return status;
    PreferLargePages(turned.pixels, size_t{turned.rowBytes} * static_cast<size_t>(height));
    imaging::CopyPalette(page, turned);
    turned.imageFlags = page.imageFlags;
    turned.header->biXPelsPerMeter = page.header->biXPelsPerMeter;
    turned.header->biYPelsPerMeter = page.header->biYPelsPerMeter;

    const Sampler sampler(page, degrees);
    // Rows go down the page as memory goes back: the pixels are stored bottom-up.
    const ptrdiff_t rowStep = -static_cast<ptrdiff_t>(page.rowBytes);
    const uint8_t* top = imaging::RowPointer(page, page.areaTop);
    if (bits == 1) {
        NearestBits(top, rowStep, page.areaLeft, width, height, sampler, LightestIndex(page),
                    turned);
    } else if (bits == 8 && !imaging::HasGreyRamp(page)) {
        NearestBytes(top + page.areaLeft, rowStep, width, height, sampler,
                     static_cast<uint8_t>(LightestIndex(page)), turned);
    } else if (bits == 8) {
        InterpolateRows<1>(top + page.areaLeft, rowStep, width, height, sampler, turned);
    } else {
        InterpolateRows<3>(top + 3 * size_t{page.areaLeft}, rowStep, width, height, sampler,
                           turned);
    }
    imaging::FreeImage(page);
    imaging::CopyImageDescriptor(turned, page);
    return imaging::kImgOk;
}

}  // namespace vellumo::cleanup

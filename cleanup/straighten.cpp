#include "cleanup/straighten.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace vellumo::cleanup {

namespace {

// Source positions are kept in fixed point with this many fraction bits, so a whole row is
// walked by additions alone.
constexpr int kFractionBits = 24;
constexpr int64_t kOne = int64_t{1} << kFractionBits;
// Interpolation weights use the top 8 fraction bits.
constexpr int kWeightShift = kFractionBits - 8;

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

// Bilinear interpolation of `channels` bytes per pixel. `base` is the area's top-left pixel;
// rows lie `rowStep` bytes apart going down (negative for bottom-up images).
template <int channels>
void InterpolateRows(const uint8_t* base, ptrdiff_t rowStep, int64_t width, int64_t height,
                     const Sampler& sampler, const imaging::ImageBuffer& dst) {
    const int64_t lastX = (width - 1) * kOne, lastY = (height - 1) * kOne;
    for (int64_t y = 0; y < height; ++y) {
        RowWalk walk = sampler.Row(y);
        uint8_t* out = imaging::RowPointer(dst, static_cast<uint32_t>(y));
        for (int64_t x = 0; x < width;
             ++x, walk.x += walk.stepX, walk.y += walk.stepY, out += channels) {
            const int64_t ix = walk.x >> kFractionBits, iy = walk.y >> kFractionBits;
            const int fx = static_cast<int>((walk.x >> kWeightShift) & 0xFF);
            const int fy = static_cast<int>((walk.y >> kWeightShift) & 0xFF);
            if (walk.x >= 0 && walk.x < lastX && walk.y >= 0 && walk.y < lastY) {
                const uint8_t* p00 = base + iy * rowStep + ix * channels;
                const uint8_t* p10 = p00 + rowStep;
                for (int c = 0; c < channels; ++c) {
                    const int top = (p00[c] << 8) + (p00[c + channels] - p00[c]) * fx;
                    const int bottom = (p10[c] << 8) + (p10[c + channels] - p10[c]) * fx;
                    out[c] = static_cast<uint8_t>(((top << 8) + (bottom - top) * fy + 32768) >> 16);
                }
            } else {
                // At the picture's edge a neighbour outside it counts as white.
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
                    const int top = (v[0][0] << 8) + (v[0][1] - v[0][0]) * fx;
                    const int bottom = (v[1][0] << 8) + (v[1][1] - v[1][0]) * fx;
                    out[c] = static_cast<uint8_t>(((top << 8) + (bottom - top) * fy + 32768) >> 16);
                }
            }
        }
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

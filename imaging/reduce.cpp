// Area-averaging reduction: every source row is added into per-column sums once, and each
// band of rows is then summed across the columns of each destination pixel, so the cost is
// one addition per source value whatever the scale.
#include <algorithm>
#include <vector>

#include "imaging/imaging.h"
#include "imaging/reduce_kernels.h"
#include "imaging/transform.h"

namespace vellumo::imaging {

namespace {

bool IsGrey(const RgbQuad& c) {
    return c.rgbRed == c.rgbGreen && c.rgbGreen == c.rgbBlue;
}

// The src area's rows as values of `channels` bytes per pixel: one grey value, or blue, green,
// red (and a fourth byte for 32 bits). Rows that need no conversion are used where they lie.
class AreaRows {
public:
    explicit AreaRows(const ImageBuffer& image)
        : image_(image), bits_(BitsPerPixel(image)), width_(AreaWidth(image)) {
        if (bits_ == 24 || bits_ == 32) {
            channels_ = bits_ / 8;
            return;
        }
        const int entries = bits_ == 1 ? 2 : 256;
        greyTable_ = std::all_of(image.palette, image.palette + entries, IsGrey);
        channels_ = greyTable_ ? 1 : 3;
        direct_ = bits_ == 8 && HasGreyRamp(image);
        if (!direct_) scratch_.resize(static_cast<size_t>(width_) * channels_);
    }

    int channels() const { return channels_; }

    const uint8_t* row(uint32_t y) {
        const uint8_t* from = RowPointer(image_, image_.areaTop + y);
        if (bits_ >= 24) return from + static_cast<size_t>(image_.areaLeft) * channels_;
        if (direct_) return from + image_.areaLeft;
        const RgbQuad* palette = image_.palette;
        uint8_t* to = scratch_.data();
        if (bits_ == 1) {
            for (uint32_t x = 0, bit = image_.areaLeft; x < width_; ++x, ++bit) {
                const RgbQuad& c = palette[(from[bit >> 3] >> (7 - (bit & 7))) & 1];
                if (greyTable_) {
                    to[x] = c.rgbBlue;
                } else {
                    to[3 * x] = c.rgbBlue, to[3 * x + 1] = c.rgbGreen, to[3 * x + 2] = c.rgbRed;
                }
            }
        } else {
            from += image_.areaLeft;
            if (greyTable_) {
                for (uint32_t x = 0; x < width_; ++x) to[x] = palette[from[x]].rgbBlue;
            } else {
                for (uint32_t x = 0; x < width_; ++x) {
                    const RgbQuad& c = palette[from[x]];
                    to[3 * x] = c.rgbBlue, to[3 * x + 1] = c.rgbGreen, to[3 * x + 2] = c.rgbRed;
                }
            }
        }
        return to;
    }

private:
    const ImageBuffer& image_;
    int bits_;
    uint32_t width_;
    int channels_ = 1;
    bool greyTable_ = false;
    bool direct_ = false;
    std::vector<uint8_t> scratch_;
};

// Adds one row of values into the column sums.
void AddRow32(uint32_t* sum, const uint8_t* row, size_t n) {
    for (size_t i = 0; i < n; ++i) sum[i] += row[i];
}

}  // namespace

void portable::AddRow16(uint16_t* sum, const uint8_t* row, size_t n) {
    for (size_t i = 0; i < n; ++i) sum[i] = static_cast<uint16_t>(sum[i] + row[i]);
}

ReduceKernels ChooseReduceKernels() {
    ReduceKernels kernels{portable::AddRow16};
    UseProcessorKernels(kernels);
    return kernels;
}

namespace {

template <typename Sum>
void ReduceBands(AreaRows& rows, uint32_t sw, uint32_t sh, ImageBuffer& dst,
                 void (*addRow)(Sum* sum, const uint8_t* row, size_t n)) {
    const uint32_t dw = AreaWidth(dst), dh = AreaHeight(dst);
    const int channels = rows.channels();
    const size_t values = static_cast<size_t>(sw) * channels;
    std::vector<Sum> sums(values);
    std::vector<uint32_t> columnStart(dw + 1);
    for (uint32_t x = 0; x <= dw; ++x)
        columnStart[x] = static_cast<uint32_t>(uint64_t{x} * sw / dw);

    for (uint32_t dy = 0; dy < dh; ++dy) {
        const auto y0 = static_cast<uint32_t>(uint64_t{dy} * sh / dh);
        const auto y1 = static_cast<uint32_t>(uint64_t{dy + 1} * sh / dh);
        std::fill(sums.begin(), sums.end(), Sum{0});
        for (uint32_t y = y0; y < y1; ++y) addRow(sums.data(), rows.row(y), values);
        uint8_t* out = RowPointer(dst, dst.areaTop + dy) + static_cast<size_t>(dst.areaLeft) * 3;
        for (uint32_t dx = 0; dx < dw; ++dx, out += 3) {
            const uint32_t x0 = columnStart[dx], x1 = columnStart[dx + 1];
            const uint64_t count = uint64_t{x1 - x0} * (y1 - y0);
            const Sum* sum = sums.data() + static_cast<size_t>(x0) * channels;
            const size_t n = static_cast<size_t>(x1 - x0) * channels;
            if (channels == 1) {
                uint64_t total = 0;
                for (size_t i = 0; i < n; ++i) total += sum[i];
                out[0] = out[1] = out[2] = static_cast<uint8_t>((total + count / 2) / count);
                continue;
            }
            uint64_t blue = 0, green = 0, red = 0;
            for (size_t i = 0; i < n; i += channels) {
                blue += sum[i];
                green += sum[i + 1];
                red += sum[i + 2];
            }
            out[0] = static_cast<uint8_t>((blue + count / 2) / count);
            out[1] = static_cast<uint8_t>((green + count / 2) / count);
            out[2] = static_cast<uint8_t>((red + count / 2) / count);
        }
    }
}

}  // namespace

int ReduceImage(const ImageBuffer& src, ImageBuffer& dst) {
    if (!HasValidArea(src) || !HasValidArea(dst)) return kImgEmpty;
    const int bits = BitsPerPixel(src);
    if (BitsPerPixel(dst) != 24 || (bits != 1 && bits != 8 && bits != 24 && bits != 32))
        return kImgBadDepth;
    const uint32_t sw = AreaWidth(src), sh = AreaHeight(src);
    const uint32_t dw = AreaWidth(dst), dh = AreaHeight(dst);
    if (dw > sw || dh > sh || src.pixels == dst.pixels) return kImgBadArgument;
    // A column sum adds one band of at most sh / dh + 1 rows of values up to 255: 16 bits hold
    // 257 of them, 32 bits 2^24.
    const uint32_t bandRows = sh / dh + 1;
    if (bandRows > (1u << 24)) return kImgBadArgument;
    AreaRows rows(src);
    if (bandRows <= 257)
        ReduceBands<uint16_t>(rows, sw, sh, dst, ChooseReduceKernels().addRow16);
    else
        ReduceBands<uint32_t>(rows, sw, sh, dst, AddRow32);
    return kImgOk;
}

}  // namespace vellumo::imaging

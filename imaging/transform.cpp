#include "imaging/transform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "imaging/imaging.h"
#include "imaging/transform_kernels.h"

namespace vellumo::imaging {

namespace {

bool SupportedDepth(int bits) {
    return bits == 1 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

int CheckPair(const ImageBuffer& src, const ImageBuffer& dst) {
    if (!HasValidArea(src) || !HasValidArea(dst)) return kImgEmpty;
    if (BitsPerPixel(src) != BitsPerPixel(dst) || !SupportedDepth(BitsPerPixel(src)))
        return kImgBadDepth;
    return kImgOk;
}

// A dst without a recorded resolution takes the source's.
void CarryResolution(const ImageBuffer& src, ImageBuffer& dst, bool swapResolution) {
    if (src.header != dst.header && dst.header->biXPelsPerMeter <= 0 &&
        dst.header->biYPelsPerMeter <= 0) {
        dst.header->biXPelsPerMeter =
            swapResolution ? src.header->biYPelsPerMeter : src.header->biXPelsPerMeter;
        dst.header->biYPelsPerMeter =
            swapResolution ? src.header->biXPelsPerMeter : src.header->biYPelsPerMeter;
    }
}

// The colour table goes with the pixels, and the resolution as above.
void CarryAlong(const ImageBuffer& src, ImageBuffer& dst, bool swapResolution) {
    if (BitsPerPixel(src) <= 8 && src.palette != dst.palette) CopyPalette(src, dst);
    CarryResolution(src, dst, swapResolution);
}

// Bit reversal of one byte, for mirroring 1-bit rows.
constexpr std::array<uint8_t, 256> kReversedBits = [] {
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        int r = 0;
        for (int b = 0; b < 8; ++b)
            if (i & (1 << b)) r |= 0x80 >> b;
        table[i] = static_cast<uint8_t>(r);
    }
    return table;
}();

}  // namespace

// The portable kernels of the mirror.
namespace portable {

void ReverseBits(uint8_t* to, const uint8_t* from, size_t n) {
    for (size_t j = 0; j < n; ++j) to[j] = kReversedBits[from[n - 1 - j]];
}

void ReversePixels24(uint8_t* to, const uint8_t* from, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) {
        const uint8_t* p = from + 3 * size_t{n - 1 - i};
        to[3 * i] = p[0];
        to[3 * i + 1] = p[1];
        to[3 * i + 2] = p[2];
    }
}

}  // namespace portable

namespace {

// Writes the n pixels of `from` into `to` in reverse order (the two must not overlap).
void ReversePixels(const TransformKernels& kernels, uint8_t* to, const uint8_t* from, uint32_t n,
                   uint32_t bytesPerPixel) {
    switch (bytesPerPixel) {
        case 1: {
            uint32_t i = 0;
            for (; i + 8 <= n; i += 8) {
                uint64_t word;
                std::memcpy(&word, from + n - i - 8, 8);
                word = __builtin_bswap64(word);
                std::memcpy(to + i, &word, 8);
            }
            for (; i < n; ++i) to[i] = from[n - 1 - i];
            break;
        }
        case 2:
            for (uint32_t i = 0; i < n; ++i) std::memcpy(to + 2 * i, from + 2 * (n - 1 - i), 2);
            break;
        case 3:
            kernels.reversePixels24(to, from, n);
            break;
        default:
            for (uint32_t i = 0; i < n; ++i) std::memcpy(to + 4 * i, from + 4 * (n - 1 - i), 4);
            break;
    }
}

// Row work for mirror and half turn: a row segment is first read into a private buffer, so
// that writing it back mirrored is safe in place.
class MirrorRows {
public:
    MirrorRows(const ImageBuffer& src, ImageBuffer& dst, uint32_t count)
        : src_(src),
          dst_(dst),
          count_(count),
          bits_(BitsPerPixel(dst)),
          kernels_(ChooseTransformKernels()) {
        const size_t bytes = bits_ == 1 ? (count + 7) / 8 + 1 : size_t{count} * (bits_ / 8);
        first_.resize(bytes);
        second_.resize(bytes);
        reversed_.resize(bytes);
    }

    // Reads `count` pixels of area row srcY from area column srcX into buffer `which`.
    void Read(int which, uint32_t srcY, uint32_t srcX) {
        uint8_t* buffer = which ? second_.data() : first_.data();
        const uint8_t* row = AreaRow(src_, srcY);
        if (bits_ == 1)
            CopyBits(buffer, 0, row, size_t{src_.areaLeft} + srcX, count_);
        else
            std::memcpy(buffer, row + size_t{srcX} * (bits_ / 8), size_t{count_} * (bits_ / 8));
    }

    // Writes buffer `which` mirrored into area row dstY.
    void WriteMirrored(int which, uint32_t dstY) {
        const uint8_t* buffer = which ? second_.data() : first_.data();
        uint8_t* row = AreaRow(dst_, dstY);
        if (bits_ == 1) {
            const uint32_t bytes = (count_ + 7) / 8;
            const uint32_t pad = bytes * 8 - count_;
            if (pad == 0 && dst_.areaLeft % 8 == 0) {
                kernels_.reverseBits(row + dst_.areaLeft / 8, buffer, bytes);
            } else {
                kernels_.reverseBits(reversed_.data(), buffer, bytes);
                CopyBits(row, dst_.areaLeft, reversed_.data(), pad, count_);
            }
        } else {
            ReversePixels(kernels_, row, buffer, count_, static_cast<uint32_t>(bits_ / 8));
        }
    }

private:
    const ImageBuffer& src_;
    ImageBuffer& dst_;
    uint32_t count_;
    int bits_;
    TransformKernels kernels_;
    std::vector<uint8_t> first_, second_, reversed_;
};

int HalfTurn(const ImageBuffer& from, ImageBuffer& dst) {
    const uint32_t sw = AreaWidth(from), sh = AreaHeight(from);
    const uint32_t w = std::min(sw, AreaWidth(dst)), h = std::min(sh, AreaHeight(dst));
    MirrorRows rows(from, dst, w);
    if (SameArea(from, dst)) {
        // In place: exchange rows from both ends, each mirrored.
        for (uint32_t y = 0; y < h / 2; ++y) {
            rows.Read(0, y, 0);
            rows.Read(1, h - 1 - y, 0);
            rows.WriteMirrored(1, y);
            rows.WriteMirrored(0, h - 1 - y);
        }
        if (h % 2) {
            rows.Read(0, h / 2, 0);
            rows.WriteMirrored(0, h / 2);
        }
        return kImgOk;
    }
    // The bottom-right w x h corner of the source, turned, fills the top-left of dst.
    for (uint32_t y = 0; y < h; ++y) {
        rows.Read(0, sh - 1 - y, sw - w);
        rows.WriteMirrored(0, y);
    }
    return kImgOk;
}

// out[k][i] = in[i][k] for an 8 x 8 block of bytes.
inline void Transpose8x8Bytes(const uint8_t* const in[8], size_t inOffset, uint8_t* const out[8],
                              size_t outOffset) {
    for (int k = 0; k < 8; ++k)
        for (int i = 0; i < 8; ++i) out[k][outOffset + i] = in[i][inOffset + k];
}

template <uint32_t kBytes>
void TurnEachPixel(const TurnTile& t, uint32_t yFrom, uint32_t yTo, uint32_t xFrom) {
    // Locals, so that the stores through d need not reload them.
    const uint8_t* const* lines = t.lines;
    const uint32_t x1 = t.x1;
    if (xFrom >= x1) return;
    for (uint32_t y = yFrom; y < yTo; ++y) {
        uint8_t* d = t.out[y];
        const uint32_t sourceColumn = t.sourceColumn(y);
        const size_t column = size_t{sourceColumn} * kBytes;
        uint32_t x = xFrom;
        if constexpr (kBytes == 3) {
            // Four-byte moves; the spare byte of each store is overwritten by the next pixel.
            // The last pixel of the run, and the source's last column (whose spare byte may lie
            // past the image), move exactly three bytes.
            if (sourceColumn + 1 < t.sourceWidth)
                for (; x + 1 < x1; ++x) std::memcpy(d + 3 * size_t{x}, lines[x] + column, 4);
        }
        for (; x < x1; ++x) std::memcpy(d + size_t{x} * kBytes, lines[x] + column, kBytes);
    }
}

// Transposes an 8 x 8 bit matrix: byte i (from the top) is row i, its top bit column 0.
inline uint64_t Transpose8x8Bits(uint64_t x) {
    uint64_t t;
    t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAULL;
    x = x ^ t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCULL;
    x = x ^ t ^ (t << 14);
    t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ULL;
    x = x ^ t ^ (t << 28);
    return x;
}

}  // namespace

// The portable kernels of the quarter turns.
namespace portable {

void TurnPixels(const TurnTile& tile, uint32_t bytes, uint32_t yFrom, uint32_t yTo,
                uint32_t xFrom) {
    switch (bytes) {
        case 1:
            return TurnEachPixel<1>(tile, yFrom, yTo, xFrom);
        case 2:
            return TurnEachPixel<2>(tile, yFrom, yTo, xFrom);
        case 3:
            return TurnEachPixel<3>(tile, yFrom, yTo, xFrom);
        default:
            return TurnEachPixel<4>(tile, yFrom, yTo, xFrom);
    }
}

// Whole 8 x 8 blocks, then the pixels left over.
void TurnTile8(const TurnTile& tile) {
    TurnTileInBlocks<1, 8, 8>(
        tile, [](const uint8_t* const* in, size_t inOffset, uint8_t* const* out, size_t outOffset) {
            Transpose8x8Bytes(in, inOffset, out, outOffset);
        });
}

void TurnTile16(const TurnTile& tile) {
    TurnEachPixel<2>(tile, tile.y0, tile.y1, tile.x0);
}

void TurnTile24(const TurnTile& tile) {
    TurnEachPixel<3>(tile, tile.y0, tile.y1, tile.x0);
}

void TurnTile32(const TurnTile& tile) {
    TurnEachPixel<4>(tile, tile.y0, tile.y1, tile.x0);
}

void TurnBits(const uint8_t* const* lines, uint32_t first, uint32_t last, uint32_t packedWidth,
              uint8_t* const* rows) {
    for (uint32_t column = 0; column < packedWidth; ++column) {
        uint8_t* target[8];  // a local copy, which the stores cannot change
        for (uint32_t j = 0; j < 8; ++j) target[j] = rows[size_t{column} * 8 + j];
        for (uint32_t b = first; b < last; ++b) {
            uint64_t block = 0;
            for (uint32_t i = 0; i < 8; ++i) block = (block << 8) | lines[8 * b + i][column];
            block = Transpose8x8Bits(block);
            for (uint32_t j = 0; j < 8; ++j)
                target[j][b - first] = static_cast<uint8_t>(block >> (56 - 8 * j));
        }
    }
}

}  // namespace portable

namespace {

// Quarter turn of a byte-per-sample image, in square tiles so that the rows read and written
// in one tile stay in the cache.
//   right: dst(x, y) = src(y, h - 1 - x)      left: dst(x, y) = src(w - 1 - y, x)
// Both are a transpose once the source rows are taken in the right order (`lines[x]` is the
// source row that becomes dst column x) and each dst row knows its source column.
void QuarterTurnBytes(const ImageBuffer& from, ImageBuffer& dst, bool right,
                      TurnTileKernel turnTile) {
    const uint32_t sw = AreaWidth(from), sh = AreaHeight(from);
    std::vector<const uint8_t*> lines(sh);
    for (uint32_t x = 0; x < sh; ++x) lines[x] = AreaRow(from, right ? sh - 1 - x : x);
    std::vector<uint8_t*> out(sw);
    for (uint32_t y = 0; y < sw; ++y) out[y] = AreaRow(dst, y);
    constexpr uint32_t kTile = 64;
    for (uint32_t y0 = 0; y0 < sw; y0 += kTile) {
        const uint32_t y1 = std::min(y0 + kTile, sw);
        for (uint32_t x0 = 0; x0 < sh; x0 += kTile) {
            const uint32_t x1 = std::min(x0 + kTile, sh);
            turnTile(
                {lines.data(), out.data(), sw, right, x0, x1, y0, y1, std::min(x1 + kTile, sh)});
        }
    }
}

// Quarter turn of a 1-bit image. Source rows are read in dst column order (`lines[x]` becomes
// dst column x); each turned source column is written straight into its dst row when the dst
// area starts on a byte, else into a buffer from which it is copied bit by bit. A block of
// lines that reaches past the area's end always goes through a buffer, so that no bit beside
// the area is touched. Images narrower than 128 pixels go 8 x 8 bits at a time.
int QuarterTurnBits(const ImageBuffer& from, ImageBuffer& dst, bool right, TurnBitsKernel kernel) {
    const uint32_t sw = AreaWidth(from), sh = AreaHeight(from);
    const uint32_t packedWidth = (sw + 7) / 8;  // bytes of one source row
    if (packedWidth < kernel.minimumWidth) kernel = portable::kTurnBits;
    const uint32_t linesPerBlock = kernel.linesPerBlock;
    const uint32_t blocks = (sh + linesPerBlock - 1) / linesPerBlock;
    const uint32_t blockBytes = linesPerBlock / 8;

    std::vector<uint8_t> zero(packedWidth + 16, 0);
    std::vector<uint8_t> packed;
    std::vector<const uint8_t*> lines(size_t{blocks} * linesPerBlock, zero.data());
    const bool aligned = from.areaLeft % 8 == 0;
    if (!aligned) packed.resize(size_t{packedWidth} * sh);
    for (uint32_t x = 0; x < sh; ++x) {
        const uint32_t y = right ? sh - 1 - x : x;
        const uint8_t* row = AreaRow(from, y);
        if (aligned) {
            lines[x] = row + from.areaLeft / 8;
        } else {
            uint8_t* copy = packed.data() + size_t{y} * packedWidth;
            CopyBits(copy, 0, row, from.areaLeft, sw);
            lines[x] = copy;
        }
    }
    auto dstRow = [&](uint32_t column) {
        return AreaRow(dst, right ? column : sw - 1 - column) + dst.areaLeft / 8;
    };

    // Blocks [0, direct) go straight into dst, the rest into `buffer`.
    const uint32_t columns = packedWidth * 8;
    const uint32_t direct = dst.areaLeft % 8 == 0 ? sh / linesPerBlock : 0;
    const size_t stride = size_t{blocks - direct} * blockBytes;
    std::unique_ptr<uint8_t[]> buffer;
    std::vector<uint8_t*> rows(columns);
    if (stride) {
        // Every byte that is read back is written first, so it is left uninitialised.
        buffer.reset(new (std::nothrow) uint8_t[columns * stride]);
        if (!buffer) return kImgNoMemory;
    }
    if (direct) {
        std::vector<uint8_t> discard(size_t{blocks} * blockBytes);
        for (uint32_t c = 0; c < columns; ++c) rows[c] = c < sw ? dstRow(c) : discard.data();
        kernel.run(lines.data(), 0, direct, packedWidth, rows.data());
    }
    if (direct < blocks) {
        for (uint32_t c = 0; c < columns; ++c) rows[c] = buffer.get() + c * stride;
        kernel.run(lines.data(), direct, blocks, packedWidth, rows.data());
        const uint32_t done = direct * linesPerBlock;
        for (uint32_t c = 0; c < sw; ++c) {
            const uint32_t y = right ? c : sw - 1 - c;
            CopyBits(AreaRow(dst, y), dst.areaLeft + done, buffer.get() + c * stride, 0, sh - done);
        }
    }
    return kImgOk;
}

int QuarterTurn(const ImageBuffer& src, ImageBuffer& dst, bool right) {
    int status = CheckPair(src, dst);
    if (status != kImgOk) return status;
    if (AreaWidth(dst) != AreaHeight(src) || AreaHeight(dst) != AreaWidth(src))
        return kImgBadArgument;
    ScopedImage scratch;
    const ImageBuffer* from = nullptr;
    status = DetachSource(src, dst, false, scratch, from);
    if (status != kImgOk) return status;
    const TransformKernels kernels = ChooseTransformKernels();
    const int bits = BitsPerPixel(dst);
    if (bits == 1) {
        status = QuarterTurnBits(*from, dst, right, kernels.turnBits);
        if (status != kImgOk) return status;
    } else {
        QuarterTurnBytes(*from, dst, right, kernels.turnTile[bits / 8 - 1]);
    }
    CarryAlong(src, dst, true);
    return kImgOk;
}

// Pixel access for the slow paths, in area coordinates; the raw stored bytes, first byte
// lowest.
uint32_t ReadPixel(const ImageBuffer& image, uint32_t x, uint32_t y) {
    const uint8_t* row = AreaRow(image, y);
    const int bits = BitsPerPixel(image);
    if (bits == 1) {
        const uint32_t bit = image.areaLeft + x;
        return (row[bit >> 3] >> (7 - (bit & 7))) & 1;
    }
    uint32_t value = 0;
    std::memcpy(&value, row + size_t{x} * (bits / 8), bits / 8);
    return value;
}

void WritePixel(ImageBuffer& image, uint32_t x, uint32_t y, uint32_t value) {
    uint8_t* row = AreaRow(image, y);
    const int bits = BitsPerPixel(image);
    if (bits == 1) {
        const uint32_t bit = image.areaLeft + x;
        const auto mask = static_cast<uint8_t>(0x80 >> (bit & 7));
        row[bit >> 3] =
            static_cast<uint8_t>(value & 1 ? row[bit >> 3] | mask : row[bit >> 3] & ~mask);
        return;
    }
    std::memcpy(row + size_t{x} * (bits / 8), &value, bits / 8);
}

// The stored value of the lightest colour: for colour-table images the brightest entry.
uint32_t WhiteValue(const ImageBuffer& image) {
    const int bits = BitsPerPixel(image);
    if (bits <= 8) {
        if (!image.palette || image.paletteSize <= 0) return (1u << bits) - 1;
        uint32_t best = 0;
        int bestLevel = -1;
        for (int i = 0; i < image.paletteSize; ++i) {
            const RgbQuad& e = image.palette[i];
            const int level = 11 * e.rgbBlue + 59 * e.rgbGreen + 30 * e.rgbRed;
            if (level > bestLevel) {
                bestLevel = level;
                best = static_cast<uint32_t>(i);
            }
        }
        return best;
    }
    if (bits == 16) return 0x7FFF;
    return bits == 24 ? 0xFFFFFF : 0xFFFFFFFF;
}

// Any other angle: every dst pixel samples the source at its own place turned back about
// the centres of both areas (counter-clockwise positive, y pointing down).
int FreeRotation(double degrees, const ImageBuffer& from, ImageBuffer& dst) {
    const uint32_t sw = AreaWidth(from), sh = AreaHeight(from);
    const uint32_t dw = AreaWidth(dst), dh = AreaHeight(dst);
    const double radians = degrees * 3.14159265358979323846 / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const double scx = (sw - 1) / 2.0, scy = (sh - 1) / 2.0;
    const double dcx = (dw - 1) / 2.0, dcy = (dh - 1) / 2.0;
    const uint32_t white = WhiteValue(from);
    for (uint32_t y = 0; y < dh; ++y) {
        const double v = y - dcy;
        for (uint32_t x = 0; x < dw; ++x) {
            const double u = x - dcx;
            const double px = std::floor(u * c - v * s + scx + 0.5);
            const double py = std::floor(u * s + v * c + scy + 0.5);
            const bool inside = px >= 0 && py >= 0 && px < sw && py < sh;
            WritePixel(dst, x, y,
                       inside
                           ? ReadPixel(from, static_cast<uint32_t>(px), static_cast<uint32_t>(py))
                           : white);
        }
    }
    return kImgOk;
}

}  // namespace

std::vector<BitGather> GatherPlan(const uint32_t* positions, uint32_t n) {
    std::vector<BitGather> plan;
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t p = positions[i];
        const uint32_t byte = p / 64 * 8;
        if (plan.empty() || plan.back().byte != byte) plan.push_back({byte, 0, 0});
        plan.back().mask |= uint64_t{1} << (63 - p % 64);
        ++plan.back().count;
    }
    return plan;
}

void portable::GatherBits(const uint8_t* row, const uint32_t* positions, uint32_t n, uint8_t* out) {
    uint32_t pending = 0;
    for (uint32_t x = 0; x < n; ++x) {
        const uint32_t b = positions[x];
        pending = (pending << 1) | ((row[b >> 3] >> (7 - (b & 7))) & 1);
        if ((x & 7) == 7) out[x >> 3] = static_cast<uint8_t>(pending);
    }
    if (n % 8) out[n >> 3] = static_cast<uint8_t>(pending << (8 - n % 8));
}

TransformKernels ChooseTransformKernels() {
    TransformKernels kernels{
        portable::ReverseBits,
        portable::ReversePixels24,
        {portable::TurnTile8, portable::TurnTile16, portable::TurnTile24, portable::TurnTile32},
        portable::kTurnBits,
        nullptr};
    UseProcessorKernels(kernels);
    return kernels;
}

int ResizeImage(const ImageBuffer& src, ImageBuffer& dst) {
    int status = CheckPair(src, dst);
    if (status != kImgOk) return status;
    ScopedImage scratch;
    const ImageBuffer* from = nullptr;
    status = DetachSource(src, dst, false, scratch, from);
    if (status != kImgOk) return status;

    const uint32_t sw = AreaWidth(*from), sh = AreaHeight(*from);
    const uint32_t dw = AreaWidth(dst), dh = AreaHeight(dst);
    const int bits = BitsPerPixel(dst);
    const uint32_t bytes = bits == 1 ? 0 : static_cast<uint32_t>(bits / 8);
    // Source column of every dst column: a bit position for 1-bit images, else a byte offset.
    std::vector<uint32_t> columnList(dw);
    for (uint32_t x = 0; x < dw; ++x) {
        const auto sx = static_cast<uint32_t>(uint64_t{x} * sw / dw);
        columnList[x] = bits == 1 ? from->areaLeft + sx : sx * bytes;
    }
    const uint32_t* columns = columnList.data();
    std::vector<uint8_t> packed(bits == 1 ? (dw + 7) / 8 : 0);
    // Reducing 1-bit rows: every source bit is taken at most once, so whole words of the row
    // can be sampled at a time.
    const TransformKernels kernels = ChooseTransformKernels();
    std::vector<BitGather> plan;
    if (bits == 1 && dw <= sw && kernels.gatherBits) plan = GatherPlan(columns, dw);
    uint32_t previousSy = UINT32_MAX;
    const uint8_t* previousRow = nullptr;
    for (uint32_t y = 0; y < dh; ++y) {
        const auto sy = static_cast<uint32_t>(uint64_t{y} * sh / dh);
        uint8_t* d = AreaRow(dst, y);
        if (sy == previousSy) {
            // Enlarging: the row repeats the one above it.
            if (bits == 1)
                CopyBits(d, dst.areaLeft, packed.data(), 0, dw);
            else
                std::memcpy(d, previousRow, size_t{dw} * bytes);
            continue;
        }
        const uint8_t* s = AreaRow(*from, sy);
        switch (bits) {
            case 1:
                if (!plan.empty())
                    kernels.gatherBits(RowPointer(*from, from->areaTop + sy), from->rowBytes, plan,
                                       packed.data());
                else
                    portable::GatherBits(s, columns, dw, packed.data());
                CopyBits(d, dst.areaLeft, packed.data(), 0, dw);
                break;
            case 8:
                for (uint32_t x = 0; x < dw; ++x) d[x] = s[columns[x]];
                break;
            case 24:
                for (uint32_t x = 0; x < dw; ++x) {
                    const uint8_t* p = s + columns[x];
                    d[3 * x] = p[0];
                    d[3 * x + 1] = p[1];
                    d[3 * x + 2] = p[2];
                }
                break;
            default:
                for (uint32_t x = 0; x < dw; ++x)
                    std::memcpy(d + size_t{x} * bytes, s + columns[x], bytes);
                break;
        }
        previousSy = sy;
        previousRow = d;
    }
    if (bits <= 8 && from->palette != dst.palette) CopyPalette(*from, dst);
    InheritResolution(src, dst);
    return kImgOk;
}

int RotateImage(double angle, const ImageBuffer& src, ImageBuffer& dst) {
    if (!std::isfinite(angle)) return kImgBadArgument;
    double degrees = std::fmod(angle, 360.0);
    if (degrees < 0) degrees += 360.0;
    if (degrees >= 360.0) degrees = 0;  // a tiny negative angle rounds up to 360
    if (degrees == 90) return QuarterTurn(src, dst, false);
    if (degrees == 270) return QuarterTurn(src, dst, true);

    int status = CheckPair(src, dst);
    if (status != kImgOk) return status;
    ScopedImage scratch;
    const ImageBuffer* from = nullptr;
    status = DetachSource(src, dst, degrees == 0 || degrees == 180, scratch, from);
    if (status != kImgOk) return status;
    if (degrees == 0) {
        if (!SameArea(*from, dst)) status = CopyImageArea(*from, dst);
    } else if (degrees == 180) {
        status = HalfTurn(*from, dst);
    } else {
        status = FreeRotation(degrees, *from, dst);
    }
    if (status == kImgOk) CarryAlong(src, dst, false);
    return status;
}

int RotateQuarterTurn(int direction, const ImageBuffer& src, ImageBuffer& dst) {
    return RotateImage(direction == 0 ? -90.0 : 90.0, src, dst);
}

int InvertImage(const ImageBuffer& src, ImageBuffer& dst) {
    int status = CheckPair(src, dst);
    if (status != kImgOk) return status;
    ScopedImage scratch;
    const ImageBuffer* from = nullptr;
    status = DetachSource(src, dst, true, scratch, from);
    if (status != kImgOk) return status;

    const uint32_t w = std::min(AreaWidth(*from), AreaWidth(dst));
    const uint32_t h = std::min(AreaHeight(*from), AreaHeight(dst));
    const int bits = BitsPerPixel(dst);
    const bool wholeDst = dst.areaLeft == 0 && dst.areaTop == 0 &&
                          AreaWidth(dst) == static_cast<uint32_t>(ImageWidth(dst)) &&
                          AreaHeight(dst) == static_cast<uint32_t>(ImageHeight(dst));
    const bool negateTable = bits == 8 && from->palette && !HasGreyRamp(*from) && wholeDst;

    if (bits >= 8) {
        const size_t n = size_t{w} * (bits / 8);
        for (uint32_t y = 0; y < h; ++y) {
            const uint8_t* s = AreaRow(*from, y);
            uint8_t* d = AreaRow(dst, y);
            if (negateTable) {
                if (s != d) std::memcpy(d, s, n);
            } else {
                for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>(~s[i]);
            }
        }
    } else if (from->areaLeft % 8 == dst.areaLeft % 8) {
        // Same bit phase: whole bytes, masked at both ends.
        const uint32_t phase = dst.areaLeft % 8;
        const uint32_t count = (phase + w + 7) / 8;
        const auto head = static_cast<uint8_t>(0xFF >> phase);
        const auto tail = static_cast<uint8_t>(0xFF << ((8 - (phase + w) % 8) % 8));
        for (uint32_t y = 0; y < h; ++y) {
            const uint8_t* s = AreaRow(*from, y) + from->areaLeft / 8;
            uint8_t* d = AreaRow(dst, y) + dst.areaLeft / 8;
            const uint8_t first = static_cast<uint8_t>(~s[0]),
                          last = static_cast<uint8_t>(~s[count - 1]);
            for (uint32_t i = 1; i + 1 < count; ++i) d[i] = static_cast<uint8_t>(~s[i]);
            if (count == 1) {
                const uint8_t mask = head & tail;
                d[0] = static_cast<uint8_t>((d[0] & ~mask) | (first & mask));
            } else {
                d[0] = static_cast<uint8_t>((d[0] & ~head) | (first & head));
                d[count - 1] = static_cast<uint8_t>((d[count - 1] & ~tail) | (last & tail));
            }
        }
    } else {
        std::vector<uint8_t> row((w + 7) / 8);
        for (uint32_t y = 0; y < h; ++y) {
            CopyBits(row.data(), 0, AreaRow(*from, y), from->areaLeft, w);
            for (auto& b : row) b = static_cast<uint8_t>(~b);
            CopyBits(AreaRow(dst, y), dst.areaLeft, row.data(), 0, w);
        }
    }

    if (negateTable) {
        const int count = std::min(from->paletteSize, 256);
        for (int i = 0; i < count; ++i) {
            const RgbQuad e = from->palette[i];
            dst.palette[i] = RgbQuad{static_cast<uint8_t>(255 - e.rgbBlue),
                                     static_cast<uint8_t>(255 - e.rgbGreen),
                                     static_cast<uint8_t>(255 - e.rgbRed), e.rgbReserved};
        }
        dst.paletteSize = count;
        dst.imageFlags = (dst.imageFlags & ~kImageFlagGrey) | (from->imageFlags & kImageFlagGrey);
        CarryResolution(src, dst, false);
    } else {
        CarryAlong(src, dst, false);
    }
    return kImgOk;
}

int MirrorImage(const ImageBuffer& src, ImageBuffer& dst) {
    int status = CheckPair(src, dst);
    if (status != kImgOk) return status;
    ScopedImage scratch;
    const ImageBuffer* from = nullptr;
    status = DetachSource(src, dst, true, scratch, from);
    if (status != kImgOk) return status;
    const uint32_t sw = AreaWidth(*from);
    const uint32_t w = std::min(sw, AreaWidth(dst));
    const uint32_t h = std::min(AreaHeight(*from), AreaHeight(dst));
    MirrorRows rows(*from, dst, w);
    for (uint32_t y = 0; y < h; ++y) {
        rows.Read(0, y, sw - w);
        rows.WriteMirrored(0, y);
    }
    CarryAlong(src, dst, false);
    return kImgOk;
}

}  // namespace vellumo::imaging

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

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VELLUMO_X86 1
#endif

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

// The hot loops have SSSE3 and BMI2 variants, picked at run time; the plain C++ variants
// serve every other processor.
#if defined(VELLUMO_X86)

// to[j] = bit-reversed from[n - 1 - j].
__attribute__((target("ssse3"))) void ReverseBitsSsse3(uint8_t* to, const uint8_t* from, size_t n) {
    const __m128i nibble = _mm_set1_epi8(0x0F);
    // Reversed low nibble moved up, reversed high nibble moved down.
    const __m128i lowUp = _mm_setr_epi8(0x00, -0x80, 0x40, -0x40, 0x20, -0x60, 0x60, -0x20, 0x10,
                                        -0x70, 0x50, -0x30, 0x30, -0x50, 0x70, -0x10);
    const __m128i highDown = _mm_setr_epi8(0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15);
    const __m128i backwards = _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    size_t j = 0;
    for (; j + 16 <= n; j += 16) {
        __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + n - j - 16));
        x = _mm_shuffle_epi8(x, backwards);
        const __m128i low = _mm_and_si128(x, nibble);
        const __m128i high = _mm_and_si128(_mm_srli_epi16(x, 4), nibble);
        x = _mm_or_si128(_mm_shuffle_epi8(lowUp, low), _mm_shuffle_epi8(highDown, high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + j), x);
    }
    for (; j < n; ++j) to[j] = kReversedBits[from[n - 1 - j]];
}

// The same 32 bytes at a time; returns how many bytes were done.
__attribute__((target("avx2"))) size_t ReverseBitsAvx2(uint8_t* to, const uint8_t* from, size_t n) {
    const __m128i lowUp = _mm_setr_epi8(0x00, -0x80, 0x40, -0x40, 0x20, -0x60, 0x60, -0x20, 0x10,
                                        -0x70, 0x50, -0x30, 0x30, -0x50, 0x70, -0x10);
    const __m128i highDown = _mm_setr_epi8(0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15);
    const __m128i backwards = _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i lowUp2 = _mm256_broadcastsi128_si256(lowUp);
    const __m256i highDown2 = _mm256_broadcastsi128_si256(highDown);
    const __m256i backwards2 = _mm256_broadcastsi128_si256(backwards);
    size_t j = 0;
    for (; j + 32 <= n; j += 32) {
        __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + n - j - 32));
        x = _mm256_permute4x64_epi64(_mm256_shuffle_epi8(x, backwards2), 0x4E);
        const __m256i low = _mm256_and_si256(x, nibble);
        const __m256i high = _mm256_and_si256(_mm256_srli_epi16(x, 4), nibble);
        x = _mm256_or_si256(_mm256_shuffle_epi8(lowUp2, low), _mm256_shuffle_epi8(highDown2, high));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + j), x);
    }
    return j;
}

// Shuffle masks that reverse 16 pixels of 3 bytes: output vector k takes from input vector m.
struct Reverse24Masks {
    alignas(16) int8_t mask[3][3][16];
};
constexpr Reverse24Masks kReverse24 = [] {
    Reverse24Masks m{};
    for (int k = 0; k < 3; ++k)
        for (int t = 0; t < 16; ++t) {
            const int j = 16 * k + t;
            const int source = 3 * (15 - j / 3) + j % 3;
            for (int v = 0; v < 3; ++v)
                m.mask[k][v][t] = static_cast<int8_t>(source / 16 == v ? source % 16 : -128);
        }
    return m;
}();

__attribute__((target("ssse3"))) uint32_t Reverse24Ssse3(uint8_t* to, const uint8_t* from,
                                                         uint32_t n) {
    uint32_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const uint8_t* in = from + 3 * size_t{n - i - 16};
        __m128i v[3];
        for (int m = 0; m < 3; ++m)
            v[m] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * m));
        for (int k = 0; k < 3; ++k) {
            __m128i out = _mm_setzero_si128();
            for (int m = 0; m < 3; ++m)
                out = _mm_or_si128(
                    out, _mm_shuffle_epi8(v[m], _mm_load_si128(reinterpret_cast<const __m128i*>(
                                                    kReverse24.mask[k][m]))));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 3 * size_t{i} + 16 * k), out);
        }
    }
    return i;
}
#endif

void ReverseBits(uint8_t* to, const uint8_t* from, size_t n) {
#if defined(VELLUMO_X86)
    if (UseCpuFeature(CpuFeature::Avx2)) {
        const size_t done = ReverseBitsAvx2(to, from, n);
        to += done;
        n -= done;
    }
    if (UseCpuFeature(CpuFeature::Ssse3)) return ReverseBitsSsse3(to, from, n);
#endif
    for (size_t j = 0; j < n; ++j) to[j] = kReversedBits[from[n - 1 - j]];
}

// Writes the n pixels of `from` into `to` in reverse order (the two must not overlap).
void ReversePixels(uint8_t* to, const uint8_t* from, uint32_t n, uint32_t bytesPerPixel) {
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
        case 3: {
            uint32_t i = 0;
#if defined(VELLUMO_X86)
            if (UseCpuFeature(CpuFeature::Ssse3)) i = Reverse24Ssse3(to, from, n);
#endif
            for (; i < n; ++i) {
                const uint8_t* p = from + 3 * size_t{n - 1 - i};
                to[3 * i] = p[0];
                to[3 * i + 1] = p[1];
                to[3 * i + 2] = p[2];
            }
            break;
        }
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
        : src_(src), dst_(dst), count_(count), bits_(BitsPerPixel(dst)) {
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
                ReverseBits(row + dst_.areaLeft / 8, buffer, bytes);
            } else {
                ReverseBits(reversed_.data(), buffer, bytes);
                CopyBits(row, dst_.areaLeft, reversed_.data(), pad, count_);
            }
        } else {
            ReversePixels(row, buffer, count_, static_cast<uint32_t>(bits_ / 8));
        }
    }

private:
    const ImageBuffer& src_;
    ImageBuffer& dst_;
    uint32_t count_;
    int bits_;
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

#if defined(__SSE2__)
// out[k][i] = in[i][k] for an 8 x 8 block of bytes.
inline void Transpose8x8Bytes(const uint8_t* const in[8], size_t inOffset, uint8_t* const out[8],
                              size_t outOffset) {
    auto load = [&](int i) {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in[i] + inOffset));
    };
    const __m128i a0 = _mm_unpacklo_epi8(load(0), load(1));
    const __m128i a1 = _mm_unpacklo_epi8(load(2), load(3));
    const __m128i a2 = _mm_unpacklo_epi8(load(4), load(5));
    const __m128i a3 = _mm_unpacklo_epi8(load(6), load(7));
    const __m128i b0 = _mm_unpacklo_epi16(a0, a1);
    const __m128i b1 = _mm_unpackhi_epi16(a0, a1);
    const __m128i b2 = _mm_unpacklo_epi16(a2, a3);
    const __m128i b3 = _mm_unpackhi_epi16(a2, a3);
    const __m128i c[4] = {_mm_unpacklo_epi32(b0, b2), _mm_unpackhi_epi32(b0, b2),
                          _mm_unpacklo_epi32(b1, b3), _mm_unpackhi_epi32(b1, b3)};
    for (int k = 0; k < 4; ++k) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out[2 * k] + outOffset), c[k]);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out[2 * k + 1] + outOffset),
                         _mm_srli_si128(c[k], 8));
    }
}
#else
inline void Transpose8x8Bytes(const uint8_t* const in[8], size_t inOffset, uint8_t* const out[8],
                              size_t outOffset) {
    for (int k = 0; k < 8; ++k)
        for (int i = 0; i < 8; ++i) out[k][outOffset + i] = in[i][inOffset + k];
}
#endif

#if defined(VELLUMO_X86)
// out[k] pixel i = in[i] pixel k for 4 x 4 pixels of 3 bytes. Reads 16 bytes of every input
// row (4 past the block); writes exactly 12 bytes of every output row.
__attribute__((target("ssse3"))) void Transpose4x4Pixels24(const uint8_t* const in[4],
                                                           size_t inOffset, uint8_t* const out[4],
                                                           size_t outOffset) {
    const __m128i widen = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i narrow = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    __m128i e[4];
    for (int i = 0; i < 4; ++i)
        e[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in[i] + inOffset)),
                                widen);
    const __m128i t0 = _mm_unpacklo_epi32(e[0], e[1]);
    const __m128i t1 = _mm_unpacklo_epi32(e[2], e[3]);
    const __m128i t2 = _mm_unpackhi_epi32(e[0], e[1]);
    const __m128i t3 = _mm_unpackhi_epi32(e[2], e[3]);
    const __m128i c[4] = {_mm_unpacklo_epi64(t0, t1), _mm_unpackhi_epi64(t0, t1),
                          _mm_unpacklo_epi64(t2, t3), _mm_unpackhi_epi64(t2, t3)};
    for (int k = 0; k < 4; ++k) {
        const __m128i packedPixels = _mm_shuffle_epi8(c[k], narrow);
        uint8_t* target = out[k] + outOffset;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(target), packedPixels);
        const int last = _mm_cvtsi128_si32(_mm_srli_si128(packedPixels, 8));
        std::memcpy(target + 8, &last, 4);
    }
}
#endif

// Quarter turn of a byte-per-sample image, in square tiles so that the rows read and written
// in one tile stay in the cache.
//   right: dst(x, y) = src(y, h - 1 - x)      left: dst(x, y) = src(w - 1 - y, x)
// Both are a transpose once the source rows are taken in the right order (`lines[x]` is the
// source row that becomes dst column x) and each dst row knows its source column.
template <uint32_t kBytes>
void QuarterTurnBytes(const ImageBuffer& from, ImageBuffer& dst, bool right) {
    const uint32_t sw = AreaWidth(from), sh = AreaHeight(from);
    std::vector<const uint8_t*> lines(sh);
    for (uint32_t x = 0; x < sh; ++x) lines[x] = AreaRow(from, right ? sh - 1 - x : x);
    std::vector<uint8_t*> out(sw);
    for (uint32_t y = 0; y < sw; ++y) out[y] = AreaRow(dst, y);
    auto sourceColumn = [&](uint32_t y) { return right ? y : sw - 1 - y; };

    constexpr uint32_t kTile = 64;
    for (uint32_t y0 = 0; y0 < sw; y0 += kTile) {
        const uint32_t y1 = std::min(y0 + kTile, sw);
        for (uint32_t x0 = 0; x0 < sh; x0 += kTile) {
            const uint32_t x1 = std::min(x0 + kTile, sh);
            uint32_t yDone = y0;
            if constexpr (kBytes == 1) {
                // Whole 8 x 8 blocks through the register transpose.
                if (x1 - x0 >= 8) {
                    const uint32_t xEnd = x0 + (x1 - x0) / 8 * 8;
                    for (; yDone + 8 <= y1; yDone += 8) {
                        uint8_t* rowsOut[8];
                        for (int k = 0; k < 8; ++k)
                            rowsOut[k] = out[right ? yDone + k : yDone + 7 - k];
                        const size_t column = right ? yDone : sw - 8 - yDone;
                        for (uint32_t x = x0; x < xEnd; x += 8)
                            Transpose8x8Bytes(&lines[x], column, rowsOut, x);
                    }
                    for (uint32_t y = y0; y < yDone; ++y) {
                        const size_t column = sourceColumn(y);
                        for (uint32_t x = xEnd; x < x1; ++x) out[y][x] = lines[x][column];
                    }
                }
            }
#if defined(VELLUMO_X86)
            if constexpr (kBytes >= 3) {
                // The rows of the next tile are too many for the hardware prefetcher to follow.
                if (x1 < sh) {
                    const uint32_t next1 = std::min(x1 + kTile, sh);
                    const size_t from = size_t{right ? y0 : sw - y1} * kBytes;
                    const size_t to = size_t{right ? y1 : sw - y0} * kBytes;
                    for (uint32_t x = x1; x < next1; ++x)
                        for (size_t b = from; b < to; b += 64)
                            _mm_prefetch(reinterpret_cast<const char*>(lines[x] + b), _MM_HINT_T0);
                    for (uint32_t y = y0; y < y1; ++y)
                        for (size_t b = size_t{x1} * kBytes; b < size_t{next1} * kBytes; b += 64)
                            _mm_prefetch(reinterpret_cast<const char*>(out[y] + b), _MM_HINT_T0);
                }
            }
            if constexpr (kBytes == 3) {
                // Whole 4 x 4 blocks of pixels; the 16-byte loads must stay inside the rows.
                if (x1 - x0 >= 4 && UseCpuFeature(CpuFeature::Ssse3)) {
                    const uint32_t xEnd = x0 + (x1 - x0) / 4 * 4;
                    for (; yDone + 4 <= y1; yDone += 4) {
                        const uint32_t first = right ? yDone : sw - 4 - yDone;
                        if (size_t{first} * 3 + 16 > size_t{sw} * 3) break;
                        uint8_t* rowsOut[4];
                        for (int k = 0; k < 4; ++k)
                            rowsOut[k] = out[right ? yDone + k : yDone + 3 - k];
                        for (uint32_t x = x0; x < xEnd; x += 4)
                            Transpose4x4Pixels24(&lines[x], size_t{first} * 3, rowsOut,
                                                 size_t{x} * 3);
                    }
                    for (uint32_t y = y0; y < yDone; ++y) {
                        const size_t column = size_t{sourceColumn(y)} * 3;
                        for (uint32_t x = xEnd; x < x1; ++x)
                            std::memcpy(out[y] + 3 * size_t{x}, lines[x] + column, 3);
                    }
                }
            }
#endif
            for (uint32_t y = yDone; y < y1; ++y) {
                uint8_t* d = out[y];
                const size_t column = size_t{sourceColumn(y)} * kBytes;
                uint32_t x = x0;
                if constexpr (kBytes == 3) {
                    // Four-byte moves; the spare byte of each store is overwritten by the next
                    // pixel. The last pixel of the run, and the source's last column (whose
                    // spare byte may lie past the image), move exactly three bytes.
                    if (sourceColumn(y) + 1 < sw)
                        for (; x + 1 < x1; ++x)
                            std::memcpy(d + 3 * size_t{x}, lines[x] + column, 4);
                }
                for (; x < x1; ++x) std::memcpy(d + size_t{x} * kBytes, lines[x] + column, kBytes);
            }
        }
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

#if defined(__SSE2__)
// Transposes 16 x 16 bytes in place: row i, byte j moves to row j, byte i. Interleaving rows
// i and i + 8 four times over rotates the (row, column) index bits into (column, row).
inline void Transpose16x16Bytes(__m128i rows[16]) {
    for (int round = 0; round < 4; ++round) {
        __m128i next[16];
        for (int i = 0; i < 8; ++i) {
            next[2 * i] = _mm_unpacklo_epi8(rows[i], rows[i + 8]);
            next[2 * i + 1] = _mm_unpackhi_epi8(rows[i], rows[i + 8]);
        }
        for (int i = 0; i < 16; ++i) rows[i] = next[i];
    }
}
#endif

// Groups of 16 byte columns; the last one may overlap its neighbour, which only writes the
// same bytes twice.
inline uint32_t ColumnGroupStart(uint32_t group, uint32_t packedWidth) {
    return std::min(group * 16, packedWidth - 16);
}

// The 1-bit quarter turn, 16 source lines x 128 columns at a time (32 lines with AVX2): the
// lines go through a byte transpose, so that one vector holds the same byte column of every
// line, and each sign-bit mask of it is then a run of 16 (32) turned pixels. The lines are
// taken reversed within each group of eight, so that the mask, stored as a little-endian word,
// has the first line in the top bit of its first byte. `rows[c]` receives turned source column
// c; block b of lines goes to its bytes (b - first) * (lines per block / 8).
#if defined(__SSE2__)
void TurnBitsSse2(const uint8_t* const* lines, uint32_t first, uint32_t last, uint32_t packedWidth,
                  uint8_t* const* rows) {
    const uint32_t groups = (packedWidth + 15) / 16;
    constexpr uint32_t kBlocksPerTile = 8;
    for (uint32_t b0 = first; b0 < last; b0 += kBlocksPerTile) {
        const uint32_t b1 = std::min(b0 + kBlocksPerTile, last);
        for (uint32_t group = 0; group < groups; ++group) {
            const uint32_t column = ColumnGroupStart(group, packedWidth);
            for (uint32_t b = b0; b < b1; ++b) {
                __m128i block[16];
                for (int i = 0; i < 16; ++i)
                    block[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(
                        lines[16 * b + (i & ~7) + 7 - (i & 7)] + column));
                Transpose16x16Bytes(block);
                const size_t offset = size_t{b - first} * 2;
                for (uint32_t j = 0; j < 16; ++j) {
                    __m128i bits = block[j];
                    uint8_t* const* target = rows + size_t{column + j} * 8;
                    for (int k = 0; k < 8; ++k) {
                        const auto mask = static_cast<uint16_t>(_mm_movemask_epi8(bits));
                        std::memcpy(target[k] + offset, &mask, 2);
                        bits = _mm_add_epi8(bits, bits);
                    }
                }
            }
        }
    }
}
#endif

#if defined(VELLUMO_X86)

__attribute__((target("avx2"))) void TurnBitsAvx2(const uint8_t* const* lines, uint32_t first,
                                                  uint32_t last, uint32_t packedWidth,
                                                  uint8_t* const* rows) {
    const uint32_t groups = (packedWidth + 15) / 16;
    constexpr uint32_t kBlocksPerTile = 8;
    for (uint32_t b0 = first; b0 < last; b0 += kBlocksPerTile) {
        const uint32_t b1 = std::min(b0 + kBlocksPerTile, last);
        for (uint32_t group = 0; group < groups; ++group) {
            const uint32_t column = ColumnGroupStart(group, packedWidth);
            for (uint32_t b = b0; b < b1; ++b) {
                __m128i low[16], high[16];
                for (int i = 0; i < 16; ++i) {
                    const int line = 32 * b + (i & ~7) + 7 - (i & 7);
                    low[i] =
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(lines[line] + column));
                    high[i] = _mm_loadu_si128(
                        reinterpret_cast<const __m128i*>(lines[line + 16] + column));
                }
                Transpose16x16Bytes(low);
                Transpose16x16Bytes(high);
                const size_t offset = size_t{b - first} * 4;
                for (uint32_t j = 0; j < 16; ++j) {
                    __m256i bits = _mm256_set_m128i(high[j], low[j]);
                    uint8_t* const* target = rows + size_t{column + j} * 8;
                    for (int k = 0; k < 8; ++k) {
                        const auto mask = static_cast<uint32_t>(_mm256_movemask_epi8(bits));
                        std::memcpy(target[k] + offset, &mask, 4);
                        bits = _mm256_add_epi8(bits, bits);
                    }
                }
            }
        }
    }
}
#endif

#if defined(VELLUMO_X86)
// As TurnBitsAvx2 for 64 lines at a time: each 512-bit register holds the same row of four
// 16 x 16 byte blocks (one per 128-bit lane), so one transpose serves all four.
__attribute__((target("avx512f,avx512bw"))) void TurnBitsAvx512(const uint8_t* const* lines,
                                                                uint32_t first, uint32_t last,
                                                                uint32_t packedWidth,
                                                                uint8_t* const* rows) {
    const uint32_t groups = (packedWidth + 15) / 16;
    constexpr uint32_t kBlocksPerTile = 4;
    for (uint32_t b0 = first; b0 < last; b0 += kBlocksPerTile) {
        const uint32_t b1 = std::min(b0 + kBlocksPerTile, last);
        for (uint32_t group = 0; group < groups; ++group) {
            const uint32_t column = ColumnGroupStart(group, packedWidth);
            for (uint32_t b = b0; b < b1; ++b) {
                __m512i block[16];
                for (int i = 0; i < 16; ++i) {
                    const uint8_t* const* line = lines + 64 * b + (i & ~7) + 7 - (i & 7);
                    auto load = [&](int quarter) {
                        return _mm_loadu_si128(
                            reinterpret_cast<const __m128i*>(line[16 * quarter] + column));
                    };
                    __m512i r = _mm512_castsi128_si512(load(0));
                    r = _mm512_inserti32x4(r, load(1), 1);
                    r = _mm512_inserti32x4(r, load(2), 2);
                    block[i] = _mm512_inserti32x4(r, load(3), 3);
                }
                for (int round = 0; round < 4; ++round) {
                    __m512i next[16];
                    for (int i = 0; i < 8; ++i) {
                        next[2 * i] = _mm512_unpacklo_epi8(block[i], block[i + 8]);
                        next[2 * i + 1] = _mm512_unpackhi_epi8(block[i], block[i + 8]);
                    }
                    for (int i = 0; i < 16; ++i) block[i] = next[i];
                }
                const size_t offset = size_t{b - first} * 8;
                for (uint32_t j = 0; j < 16; ++j) {
                    __m512i bits = block[j];
                    uint8_t* const* target = rows + size_t{column + j} * 8;
                    for (int k = 0; k < 8; ++k) {
                        const uint64_t mask = _mm512_movepi8_mask(bits);
                        std::memcpy(target[k] + offset, &mask, 8);
                        bits = _mm512_add_epi8(bits, bits);
                    }
                }
            }
        }
    }
}
#endif

// Quarter turn of a 1-bit image. Source rows are read in dst column order (`lines[x]` becomes
// dst column x); each turned source column is written straight into its dst row when the dst
// area starts on a byte, else into a buffer from which it is copied bit by bit. A block of
// lines that reaches past the area's end always goes through a buffer, so that no bit beside
// the area is touched. Images narrower than 128 pixels go 8 x 8 bits at a time.
int QuarterTurnBits(const ImageBuffer& from, ImageBuffer& dst, bool right) {
    const uint32_t sw = AreaWidth(from), sh = AreaHeight(from);
    const uint32_t packedWidth = (sw + 7) / 8;  // bytes of one source row
    using Kernel = void (*)(const uint8_t* const*, uint32_t, uint32_t, uint32_t, uint8_t* const*);
    Kernel kernel = nullptr;
    uint32_t linesPerBlock = 8;
#if defined(__SSE2__)
    kernel = TurnBitsSse2;
    linesPerBlock = 16;
#endif
#if defined(VELLUMO_X86)
    if (UseCpuFeature(CpuFeature::Avx512)) {
        kernel = TurnBitsAvx512;
        linesPerBlock = 64;
    } else if (UseCpuFeature(CpuFeature::Avx2)) {
        kernel = TurnBitsAvx2;
        linesPerBlock = 32;
    }
#endif
    if (packedWidth < 16) {
        kernel = nullptr;
        linesPerBlock = 8;
    }
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
    const uint32_t direct = kernel && dst.areaLeft % 8 == 0 ? sh / linesPerBlock : 0;
    const size_t stride = size_t{blocks - direct} * blockBytes;
    std::unique_ptr<uint8_t[]> buffer;
    std::vector<uint8_t*> rows(columns);
    if (stride) {
        // Every byte that is read back is written first, so it is left uninitialised.
        buffer.reset(new (std::nothrow) uint8_t[columns * stride]);
        if (!buffer) return kImgNoMemory;
    }
    if (kernel) {
        std::vector<uint8_t> discard(size_t{blocks} * blockBytes);
        if (direct) {
            for (uint32_t c = 0; c < columns; ++c) rows[c] = c < sw ? dstRow(c) : discard.data();
            kernel(lines.data(), 0, direct, packedWidth, rows.data());
        }
        if (direct < blocks) {
            for (uint32_t c = 0; c < columns; ++c) rows[c] = buffer.get() + c * stride;
            kernel(lines.data(), direct, blocks, packedWidth, rows.data());
        }
    } else {
        for (uint32_t column = 0; column < packedWidth; ++column) {
            uint8_t* target = buffer.get() + size_t{column} * 8 * stride;
            for (uint32_t b = 0; b < blocks; ++b) {
                uint64_t block = 0;
                for (uint32_t i = 0; i < 8; ++i) block = (block << 8) | lines[8 * b + i][column];
                block = Transpose8x8Bits(block);
                for (uint32_t j = 0; j < 8; ++j)
                    target[j * stride + b] = static_cast<uint8_t>(block >> (56 - 8 * j));
            }
        }
    }
    if (direct < blocks) {
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
    switch (BitsPerPixel(dst)) {
        case 1:
            status = QuarterTurnBits(*from, dst, right);
            if (status != kImgOk) return status;
            break;
        case 8:
            QuarterTurnBytes<1>(*from, dst, right);
            break;
        case 16:
            QuarterTurnBytes<2>(*from, dst, right);
            break;
        case 24:
            QuarterTurnBytes<3>(*from, dst, right);
            break;
        default:
            QuarterTurnBytes<4>(*from, dst, right);
            break;
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

// Sampling a 1-bit row at increasing bit positions: per 64-bit word of the row (bits in
// display order) the mask of the bits taken and how many they are.
struct BitGather {
    uint32_t byte;
    uint32_t count;
    uint64_t mask;
};

std::vector<BitGather> GatherPlan(const std::vector<uint32_t>& positions) {
    std::vector<BitGather> plan;
    for (uint32_t p : positions) {
        const uint32_t byte = p / 64 * 8;
        if (plan.empty() || plan.back().byte != byte) plan.push_back({byte, 0, 0});
        plan.back().mask |= uint64_t{1} << (63 - p % 64);
        ++plan.back().count;
    }
    return plan;
}

#if defined(VELLUMO_X86)
__attribute__((target("bmi2"))) void GatherBitsBmi2(const uint8_t* row, size_t rowBytes,
                                                    const std::vector<BitGather>& plan,
                                                    uint8_t* out) {
    uint64_t pending = 0;  // the low `have` bits are waiting to be written
    unsigned have = 0;
    auto append = [&](uint64_t bits, unsigned count) {
        pending = (pending << count) | bits;
        have += count;
        while (have >= 8) {
            *out++ = static_cast<uint8_t>(pending >> (have - 8));
            have -= 8;
        }
    };
    for (const BitGather& g : plan) {
        uint64_t word = 0;
        if (g.byte + 8 <= rowBytes)
            std::memcpy(&word, row + g.byte, 8);
        else
            std::memcpy(&word, row + g.byte, rowBytes - g.byte);
        const uint64_t bits = _pext_u64(__builtin_bswap64(word), g.mask);
        if (g.count > 56) {
            append(bits >> 32, g.count - 32);
            append(bits & 0xFFFFFFFFu, 32);
        } else {
            append(bits, g.count);
        }
    }
    if (have) *out = static_cast<uint8_t>(pending << (8 - have));
}
#endif

void GatherBits(const uint8_t* row, const std::vector<uint32_t>& positions, uint8_t* out) {
    const auto n = static_cast<uint32_t>(positions.size());
    uint32_t pending = 0;
    for (uint32_t x = 0; x < n; ++x) {
        const uint32_t b = positions[x];
        pending = (pending << 1) | ((row[b >> 3] >> (7 - (b & 7))) & 1);
        if ((x & 7) == 7) out[x >> 3] = static_cast<uint8_t>(pending);
    }
    if (n % 8) out[n >> 3] = static_cast<uint8_t>(pending << (8 - n % 8));
}

}  // namespace

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
    std::vector<uint32_t> columns(dw);
    for (uint32_t x = 0; x < dw; ++x) {
        const auto sx = static_cast<uint32_t>(uint64_t{x} * sw / dw);
        columns[x] = bits == 1 ? from->areaLeft + sx : sx * bytes;
    }
    std::vector<uint8_t> packed(bits == 1 ? (dw + 7) / 8 : 0);
    // Reducing 1-bit rows: every source bit is taken at most once, so whole words of the row
    // can be sampled at a time.
    std::vector<BitGather> plan;
#if defined(VELLUMO_X86)
    if (bits == 1 && dw <= sw && UseCpuFeature(CpuFeature::Bmi2)) plan = GatherPlan(columns);
#endif
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
#if defined(VELLUMO_X86)
                if (!plan.empty())
                    GatherBitsBmi2(RowPointer(*from, from->areaTop + sy), from->rowBytes, plan,
                                   packed.data());
                else
#endif
                    GatherBits(s, columns, packed.data());
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

// The x86 kernels of the transforms (see transform_kernels.h), built only for x86 targets.
// SSE2 is the baseline of x86-64; the SSSE3, AVX2, AVX-512 and BMI2 kernels are compiled for
// their features alone and chosen at run time.
#include <immintrin.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "imaging/transform_kernels.h"

namespace vellumo::imaging {

namespace x86 {

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
    portable::ReverseBits(to + j, from, n - j);
}

// The same 32 bytes at a time, the rest as above.
__attribute__((target("avx2"))) void ReverseBitsAvx2(uint8_t* to, const uint8_t* from, size_t n) {
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
    ReverseBitsSsse3(to + j, from, n - j);
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

__attribute__((target("ssse3"))) void ReversePixels24Ssse3(uint8_t* to, const uint8_t* from,
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
    portable::ReversePixels24(to + 3 * size_t{i}, from, n - i);
}

// One prefetch per cache line of bytes [from, to) of a row. The compiler fence emits no code;
// without it GCC 12 drops loops that do nothing but prefetch.
inline void PrefetchBytes(const uint8_t* row, size_t from, size_t to) {
    for (size_t b = from; b < to; b += 64) {
        _mm_prefetch(reinterpret_cast<const char*>(row + b), _MM_HINT_T0);
        std::atomic_signal_fence(std::memory_order_seq_cst);
    }
}

// The rows of the next tile are too many for the hardware prefetcher to follow.
template <uint32_t kBytes>
void PrefetchNextTile(const TurnTile& t) {
    const uint32_t sw = t.sourceWidth;
    const size_t from = size_t{t.right ? t.y0 : sw - t.y1} * kBytes;
    const size_t to = size_t{t.right ? t.y1 : sw - t.y0} * kBytes;
    for (uint32_t x = t.x1; x < t.nextX1; ++x) PrefetchBytes(t.lines[x], from, to);
    for (uint32_t y = t.y0; y < t.y1; ++y)
        PrefetchBytes(t.out[y], size_t{t.x1} * kBytes, size_t{t.nextX1} * kBytes);
}

void TurnTile24Prefetched(const TurnTile& tile) {
    PrefetchNextTile<3>(tile);
    portable::TurnTile24(tile);
}

void TurnTile32Prefetched(const TurnTile& tile) {
    PrefetchNextTile<4>(tile);
    portable::TurnTile32(tile);
}

namespace {

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

}  // namespace

// Whole 4 x 4 blocks of pixels; the 16-byte loads must stay inside the rows.
void TurnTile24Ssse3(const TurnTile& tile) {
    PrefetchNextTile<3>(tile);
    TurnTileInBlocks<3, 4, 16>(
        tile, [](const uint8_t* const* in, size_t inOffset, uint8_t* const* out, size_t outOffset) {
            Transpose4x4Pixels24(in, inOffset, out, outOffset);
        });
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

void TurnTile8Sse2(const TurnTile& tile) {
    TurnTileInBlocks<1, 8, 8>(
        tile, [](const uint8_t* const* in, size_t inOffset, uint8_t* const* out, size_t outOffset) {
            Transpose8x8Bytes(in, inOffset, out, outOffset);
        });
}

#endif

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

// Groups of 16 byte columns; the last one may overlap its neighbour, which only writes the
// same bytes twice.
inline uint32_t ColumnGroupStart(uint32_t group, uint32_t packedWidth) {
    return std::min(group * 16, packedWidth - 16);
}

#if defined(__SSE2__)
// The 1-bit quarter turn, 16 source lines x 128 columns at a time (32 lines with AVX2): the
// lines go through a byte transpose, so that one vector holds the same byte column of every
// line, and each sign-bit mask of it is then a run of 16 (32) turned pixels. The lines are
// taken reversed within each group of eight, so that the mask, stored as a little-endian word,
// has the first line in the top bit of its first byte. `rows[c]` receives turned source column
// c; block b of lines goes to its bytes (b - first) * (lines per block / 8).
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

}  // namespace x86

void UseProcessorKernels(TransformKernels& kernels) {
#if defined(__SSE2__)
    kernels.turnTile[0] = x86::TurnTile8Sse2;
    kernels.turnBits = {x86::TurnBitsSse2, 16, 16};
#endif
    kernels.turnTile[2] = x86::TurnTile24Prefetched;
    kernels.turnTile[3] = x86::TurnTile32Prefetched;
    if (UseCpuFeature(CpuFeature::Ssse3)) {
        kernels.reverseBits = x86::ReverseBitsSsse3;
        kernels.reversePixels24 = x86::ReversePixels24Ssse3;
        kernels.turnTile[2] = x86::TurnTile24Ssse3;
        // Every processor with AVX2 has SSSE3, which the AVX2 mirror leaves its rest to.
        if (UseCpuFeature(CpuFeature::Avx2)) kernels.reverseBits = x86::ReverseBitsAvx2;
    }
    if (UseCpuFeature(CpuFeature::Avx512))
        kernels.turnBits = {x86::TurnBitsAvx512, 64, 16};
    else if (UseCpuFeature(CpuFeature::Avx2))
        kernels.turnBits = {x86::TurnBitsAvx2, 32, 16};
    if (UseCpuFeature(CpuFeature::Bmi2)) kernels.gatherBits = x86::GatherBitsBmi2;
}

}  // namespace vellumo::imaging

// The x86 kernels of the transforms against the portable ones, on sizes that are not multiples
// of the vector widths, single rows and single columns: each x86 kernel the processor can run
// must leave exactly the bytes the portable kernel leaves, and nothing past them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "imaging/transform_kernels.h"
#include "tests/imaging/kernel_inputs.h"

using namespace vellumo::imaging;
using kernel_inputs::ForEachRunnable;
using kernel_inputs::kCounts;
using kernel_inputs::RandomBytes;
using kernel_inputs::Target;
using kernel_inputs::Variant;

namespace {

using ReverseBitsKernel = void (*)(uint8_t*, const uint8_t*, size_t);
using ReversePixelsKernel = void (*)(uint8_t*, const uint8_t*, uint32_t);

TEST(MirrorKernels, ReverseBitsLikeThePortableKernel) {
    const std::vector<Variant<ReverseBitsKernel>> variants = {
        {"SSSE3", x86::ReverseBitsSsse3, {CpuFeature::Ssse3}},
        {"AVX2", x86::ReverseBitsAvx2, {CpuFeature::Avx2, CpuFeature::Ssse3}},
    };
    ForEachRunnable(variants, [](ReverseBitsKernel kernel) {
        for (uint32_t n : kCounts) {
            SCOPED_TRACE("bytes " + std::to_string(n));
            const std::vector<uint8_t> from = RandomBytes(n, n);
            std::vector<uint8_t> expected = Target(n), actual = Target(n);
            portable::ReverseBits(expected.data(), from.data(), n);
            kernel(actual.data(), from.data(), n);
            EXPECT_EQ(actual, expected);
        }
    });
}

TEST(MirrorKernels, ReversePixelsOfThreeBytesLikeThePortableKernel) {
    const std::vector<Variant<ReversePixelsKernel>> variants = {
        {"SSSE3", x86::ReversePixels24Ssse3, {CpuFeature::Ssse3}},
    };
    ForEachRunnable(variants, [](ReversePixelsKernel kernel) {
        for (uint32_t n : kCounts) {
            SCOPED_TRACE("pixels " + std::to_string(n));
            const std::vector<uint8_t> from = RandomBytes(3 * size_t{n}, n);
            std::vector<uint8_t> expected = Target(3 * size_t{n}), actual = expected;
            portable::ReversePixels24(expected.data(), from.data(), n);
            kernel(actual.data(), from.data(), n);
            EXPECT_EQ(actual, expected);
        }
    });
}

// A source of `lines` rows of `width` pixels, each row its own allocation of exactly its
// bytes, so that a kernel reading past a row shows under the address sanitizer.
struct Lines {
    std::vector<std::vector<uint8_t>> rows;
    std::vector<const uint8_t*> pointers;
    Lines(uint32_t count, size_t bytes) {
        for (uint32_t i = 0; i < count; ++i) rows.push_back(RandomBytes(bytes, 7 * i + 3));
        for (const auto& row : rows) pointers.push_back(row.data());
    }
};

struct TileShape {
    uint32_t sourceWidth, sourceLines, tile;
};
const TileShape kTileShapes[] = {
    {1, 1, 64},  {1, 37, 64},   {37, 1, 64},   {8, 8, 64},    {9, 17, 64},    {4, 5, 64},
    {21, 6, 64}, {67, 131, 64}, {130, 67, 64}, {67, 131, 13}, {100, 100, 24},
};

// Turns a whole image of `bytes` per pixel tile by tile with `kernel` into fresh dst rows.
std::vector<std::vector<uint8_t>> TurnWith(TurnTileKernel kernel, const Lines& source,
                                           const TileShape& shape, uint32_t bytes, bool right) {
    const uint32_t sw = shape.sourceWidth, sh = shape.sourceLines;
    std::vector<std::vector<uint8_t>> dst;
    std::vector<uint8_t*> out;
    for (uint32_t y = 0; y < sw; ++y) dst.push_back(Target(size_t{sh} * bytes));
    for (auto& row : dst) out.push_back(row.data());
    for (uint32_t y0 = 0; y0 < sw; y0 += shape.tile)
        for (uint32_t x0 = 0; x0 < sh; x0 += shape.tile) {
            const uint32_t x1 = std::min(x0 + shape.tile, sh);
            kernel({source.pointers.data(), out.data(), sw, right, x0, x1, y0,
                    std::min(y0 + shape.tile, sw), std::min(x1 + shape.tile, sh)});
        }
    return dst;
}

// An x86 tile kernel and the portable kernel it stands in for.
struct TilePair {
    uint32_t bytes;
    TurnTileKernel x86;
    TurnTileKernel portable;
};

TEST(QuarterTurnKernels, TilesTurnLikeThePortableKernels) {
    std::vector<Variant<TilePair>> variants = {
        {"SSSE3, 3 bytes", {3, x86::TurnTile24Ssse3, portable::TurnTile24}, {CpuFeature::Ssse3}},
        {"prefetched, 3 bytes", {3, x86::TurnTile24Prefetched, portable::TurnTile24}, {}},
        {"prefetched, 4 bytes", {4, x86::TurnTile32Prefetched, portable::TurnTile32}, {}},
    };
#if defined(__SSE2__)
    variants.push_back({"SSE2, 1 byte", {1, x86::TurnTile8Sse2, portable::TurnTile8}, {}});
#endif
    ForEachRunnable(variants, [](const TilePair& pair) {
        for (const TileShape& shape : kTileShapes)
            for (bool right : {true, false}) {
                SCOPED_TRACE(std::to_string(shape.sourceWidth) + " x " +
                             std::to_string(shape.sourceLines) + " in tiles of " +
                             std::to_string(shape.tile) + (right ? ", right" : ", left"));
                const Lines source(shape.sourceLines, size_t{shape.sourceWidth} * pair.bytes);
                EXPECT_EQ(TurnWith(pair.x86, source, shape, pair.bytes, right),
                          TurnWith(pair.portable, source, shape, pair.bytes, right));
            }
    });
}

// The 1-bit turn of `sourceLines` lines of `packedWidth` bytes: the first (sourceLines + 7) / 8
// bytes of each turned column, which every kernel must agree on whatever its block size, and
// the bytes behind them.
std::vector<std::vector<uint8_t>> TurnBitsWith(const TurnBitsKernel& kernel, const Lines& source,
                                               uint32_t packedWidth) {
    const auto sh = static_cast<uint32_t>(source.rows.size());
    const uint32_t blocks = (sh + kernel.linesPerBlock - 1) / kernel.linesPerBlock;
    const std::vector<uint8_t> zero(packedWidth, 0);
    std::vector<const uint8_t*> lines(size_t{blocks} * kernel.linesPerBlock, zero.data());
    std::copy(source.pointers.begin(), source.pointers.end(), lines.begin());
    const size_t rowBytes = size_t{blocks} * kernel.linesPerBlock / 8;
    std::vector<std::vector<uint8_t>> rows;
    std::vector<uint8_t*> pointers;
    for (uint32_t c = 0; c < packedWidth * 8; ++c) rows.push_back(Target(rowBytes));
    for (auto& row : rows) pointers.push_back(row.data());
    kernel.run(lines.data(), 0, blocks, packedWidth, pointers.data());
    const size_t used = (sh + 7) / 8;
    for (auto& row : rows) {
        // Past the turned bits, the zero lines and the guard band: those must be as they were.
        const std::vector<uint8_t> untouched = Target(rowBytes);
        EXPECT_TRUE(std::equal(row.begin() + rowBytes, row.end(), untouched.begin() + rowBytes))
            << "written past the row";
        row.resize(used);
    }
    return rows;
}

TEST(QuarterTurnKernels, BitsTurnLikeThePortableKernel) {
    std::vector<Variant<TurnBitsKernel>> variants = {
        {"AVX2", {x86::TurnBitsAvx2, 32, 16}, {CpuFeature::Avx2}},
        {"AVX-512", {x86::TurnBitsAvx512, 64, 16}, {CpuFeature::Avx512}},
    };
#if defined(__SSE2__)
    variants.push_back({"SSE2", {x86::TurnBitsSse2, 16, 16}, {}});
#endif
    ForEachRunnable(variants, [](const TurnBitsKernel& kernel) {
        for (uint32_t packedWidth : {16u, 17u, 23u, 31u, 33u, 40u})
            for (uint32_t sh : {1u, 7u, 9u, 16u, 17u, 33u, 63u, 65u, 100u}) {
                SCOPED_TRACE(std::to_string(sh) + " lines of " + std::to_string(packedWidth) +
                             " bytes");
                const Lines source(sh, packedWidth);
                EXPECT_EQ(TurnBitsWith(kernel, source, packedWidth),
                          TurnBitsWith(portable::kTurnBits, source, packedWidth));
            }
    });
}

using GatherBitsKernel = void (*)(const uint8_t*, size_t, const std::vector<BitGather>&, uint8_t*);

TEST(ResizeKernels, GatheredBitsLikeThePortableKernel) {
    const std::vector<Variant<GatherBitsKernel>> variants = {
        {"BMI2", x86::GatherBitsBmi2, {CpuFeature::Bmi2}},
    };
    ForEachRunnable(variants, [](GatherBitsKernel kernel) {
        for (uint32_t sw : {1u, 7u, 63u, 64u, 65u, 129u, 1000u, 2480u})
            // Every kind of word: a few bits taken, most (57 to 60 of 64), all but one, all.
            for (uint32_t dw :
                 {1u, sw / 3 + 1, std::max(1u, sw * 29 / 32), std::max(1u, sw - 1), sw})
                for (uint32_t left : {0u, 3u, 13u}) {
                    SCOPED_TRACE(std::to_string(sw) + " bits to " + std::to_string(dw) +
                                 " from bit " + std::to_string(left));
                    const size_t rowBytes = (left + sw + 7) / 8;
                    const std::vector<uint8_t> row = RandomBytes(rowBytes, sw + dw + left);
                    std::vector<uint32_t> positions(dw);
                    for (uint32_t x = 0; x < dw; ++x)
                        positions[x] = left + static_cast<uint32_t>(uint64_t{x} * sw / dw);
                    std::vector<uint8_t> expected = Target((dw + 7) / 8), actual = expected;
                    portable::GatherBits(row.data(), positions.data(), dw, expected.data());
                    kernel(row.data(), rowBytes, GatherPlan(positions.data(), dw), actual.data());
                    EXPECT_EQ(actual, expected);
                }
    });
}

}  // namespace

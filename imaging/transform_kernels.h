// The row and tile kernels of the mirror, the turns and the resize (transform.cpp), reached
// through TransformKernels. The portable kernels are in transform.cpp beside the code that uses
// them; the x86 versions are in transform_x86.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/kernels.h"

namespace vellumo::imaging {

// One tile of a quarter turn of pixels of one to four bytes: dst pixel (x, y) is pixel
// sourceColumn(y) of lines[x].
struct TurnTile {
    const uint8_t* const* lines;  // lines[x]: the source row that becomes dst column x
    uint8_t* const* out;          // out[y]: dst row y
    uint32_t sourceWidth;         // pixels in a source row
    bool right;                   // dst row y takes source column y, else sourceWidth - 1 - y
    uint32_t x0, x1, y0, y1;      // the tile: dst columns [x0, x1), rows [y0, y1)
    uint32_t nextX1;              // the next tile along the rows ends at nextX1 (x1: none)

    uint32_t sourceColumn(uint32_t y) const { return right ? y : sourceWidth - 1 - y; }
};
using TurnTileKernel = void (*)(const TurnTile& tile);

// The 1-bit quarter turn: turns the source lines of blocks [first, last) of linesPerBlock lines
// each (lines[x] becomes dst column x; every line has packedWidth bytes). rows[c] receives
// turned source column c, the bits of block b at its bytes (b - first) * linesPerBlock / 8, the
// first line in the top bit. Runs only on lines of at least minimumWidth bytes.
struct TurnBitsKernel {
    void (*run)(const uint8_t* const* lines, uint32_t first, uint32_t last, uint32_t packedWidth,
                uint8_t* const* rows);
    uint32_t linesPerBlock;
    uint32_t minimumWidth;
};

// Sampling a 1-bit row at increasing bit positions, a 64-bit word of the row at a time: per
// word (bits in display order) the mask of the bits taken and how many they are.
struct BitGather {
    uint32_t byte;
    uint32_t count;
    uint64_t mask;
};
// The plan for sampling at the n `positions`, which must increase.
std::vector<BitGather> GatherPlan(const uint32_t* positions, uint32_t n);

struct TransformKernels {
    // to[j] = from[n - 1 - j] with the bits of each byte reversed, for every j < n.
    void (*reverseBits)(uint8_t* to, const uint8_t* from, size_t n);
    // Writes the n pixels of 3 bytes of `from` into `to` in reverse order (no overlap).
    void (*reversePixels24)(uint8_t* to, const uint8_t* from, uint32_t n);
    // Turns a whole tile; turnTile[bytes per pixel - 1].
    TurnTileKernel turnTile[4];
    TurnBitsKernel turnBits;
    // Packs the bits a plan samples from a row of rowBytes bytes into `out`, first bit at the
    // top; null where no kernel beats portable::GatherBits.
    void (*gatherBits)(const uint8_t* row, size_t rowBytes, const std::vector<BitGather>& plan,
                       uint8_t* out);
};

// The kernels to use now: the portable ones, with the processor's where it has faster ones.
TransformKernels ChooseTransformKernels();

// The portable kernels, which every processor runs.
namespace portable {
void ReverseBits(uint8_t* to, const uint8_t* from, size_t n);
void ReversePixels24(uint8_t* to, const uint8_t* from, uint32_t n);
void TurnTile8(const TurnTile& tile);
void TurnTile16(const TurnTile& tile);
void TurnTile24(const TurnTile& tile);
void TurnTile32(const TurnTile& tile);
// Turns the tile's rows [yFrom, yTo), columns [xFrom, x1), one pixel of `bytes` at a time.
void TurnPixels(const TurnTile& tile, uint32_t bytes, uint32_t yFrom, uint32_t yTo, uint32_t xFrom);
// 8 x 8 bits at a time.
void TurnBits(const uint8_t* const* lines, uint32_t first, uint32_t last, uint32_t packedWidth,
              uint8_t* const* rows);
inline constexpr TurnBitsKernel kTurnBits{TurnBits, 8, 1};
// Packs the bits at the n `positions` of `row` into `out`, first bit at the top.
void GatherBits(const uint8_t* row, const uint32_t* positions, uint32_t n, uint8_t* out);
}  // namespace portable

// Turns a tile in blocks of kBlock x kBlock pixels of kBytes bytes, from its first row down:
// turnBlock(in, inOffset, out, outOffset) sets out[k][outOffset + pixel i] to
// in[i][inOffset + pixel k]. Blocks stop where a block's kRead source bytes from its first
// pixel would reach past the source rows; the pixels left over are turned one by one.
template <uint32_t kBytes, uint32_t kBlock, uint32_t kRead, class TurnBlock>
void TurnTileInBlocks(const TurnTile& t, TurnBlock turnBlock) {
    // Locals, so that the blocks' stores need not reload them.
    const uint8_t* const* lines = t.lines;
    const uint32_t x0 = t.x0, x1 = t.x1, y1 = t.y1, sw = t.sourceWidth;
    const bool right = t.right;
    uint32_t yDone = t.y0;
    if (x1 - x0 >= kBlock) {
        const uint32_t xEnd = x0 + (x1 - x0) / kBlock * kBlock;
        for (; yDone + kBlock <= y1; yDone += kBlock) {
            const uint32_t first = right ? yDone : sw - kBlock - yDone;
            if (size_t{first} * kBytes + kRead > size_t{sw} * kBytes) break;
            uint8_t* rowsOut[kBlock];
            for (uint32_t k = 0; k < kBlock; ++k)
                rowsOut[k] = t.out[right ? yDone + k : yDone + kBlock - 1 - k];
            for (uint32_t x = x0; x < xEnd; x += kBlock)
                turnBlock(&lines[x], size_t{first} * kBytes, rowsOut, size_t{x} * kBytes);
        }
        portable::TurnPixels(t, kBytes, t.y0, yDone, xEnd);
    }
    portable::TurnPixels(t, kBytes, yDone, y1, x0);
}

#if defined(VELLUMO_X86_KERNELS)
// Puts in the x86 kernels the processor has features for, as UseCpuFeature allows
// (transform_x86.cpp).
void UseProcessorKernels(TransformKernels& kernels);

namespace x86 {
void ReverseBitsSsse3(uint8_t* to, const uint8_t* from, size_t n);
void ReverseBitsAvx2(uint8_t* to, const uint8_t* from, size_t n);  // and SSSE3
void ReversePixels24Ssse3(uint8_t* to, const uint8_t* from, uint32_t n);
void TurnTile24Ssse3(const TurnTile& tile);
// The portable turns with the next tile's rows prefetched.
void TurnTile24Prefetched(const TurnTile& tile);
void TurnTile32Prefetched(const TurnTile& tile);
#if defined(__SSE2__)
void TurnTile8Sse2(const TurnTile& tile);
void TurnBitsSse2(const uint8_t* const* lines, uint32_t first, uint32_t last, uint32_t packedWidth,
                  uint8_t* const* rows);
#endif
void TurnBitsAvx2(const uint8_t* const* lines, uint32_t first, uint32_t last, uint32_t packedWidth,
                  uint8_t* const* rows);
void TurnBitsAvx512(const uint8_t* const* lines, uint32_t first, uint32_t last,
                    uint32_t packedWidth, uint8_t* const* rows);
void GatherBitsBmi2(const uint8_t* row, size_t rowBytes, const std::vector<BitGather>& plan,
                    uint8_t* out);
}  // namespace x86
#else
inline void UseProcessorKernels(TransformKernels&) {}
#endif

}  // namespace vellumo::imaging

// The row kernels of the area-averaging reduction (reduce.cpp), reached through ReduceKernels.
// The portable kernels are in reduce.cpp beside the code that uses them; the x86 versions are
// in reduce_x86.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/kernels.h"

namespace vellumo::imaging {

struct ReduceKernels {
    // Adds n values of a row into 16-bit column sums (which wrap).
    void (*addRow16)(uint16_t* sum, const uint8_t* row, size_t n);
};

// The kernels to use now: the portable ones, with the processor's where it has faster ones.
ReduceKernels ChooseReduceKernels();

// The portable kernels, which every processor runs.
namespace portable {
void AddRow16(uint16_t* sum, const uint8_t* row, size_t n);
}  // namespace portable

#if defined(VELLUMO_X86_KERNELS)
// Puts in the x86 kernels (reduce_x86.cpp).
void UseProcessorKernels(ReduceKernels& kernels);

namespace x86 {
#if defined(__SSE2__)
void AddRow16Sse2(uint16_t* sum, const uint8_t* row, size_t n);
#endif
}  // namespace x86
#else
inline void UseProcessorKernels(ReduceKernels&) {}
#endif

}  // namespace vellumo::imaging

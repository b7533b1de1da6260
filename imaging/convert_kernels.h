// The row kernels of the colour conversions (convert.cpp), reached through ConvertKernels. The
// portable kernels are in convert.cpp beside the code that uses them; the x86 versions are in
// convert_x86.cpp.
#pragma once

#include <cstdint>

#include "imaging/kernels.h"

namespace vellumo::imaging {

struct ConvertKernels {
    // Sets the three bytes of each of w pixels of 3 bytes to 255 where their sum is above
    // `limit`, else to 0.
    void (*threshold24)(const uint8_t* s, uint8_t* d, uint32_t w, uint32_t limit);
};

// The kernels to use now: the portable ones, with the processor's where it has faster ones.
ConvertKernels ChooseConvertKernels();

// The portable kernels, which every processor runs.
namespace portable {
void Threshold24(const uint8_t* s, uint8_t* d, uint32_t w, uint32_t limit);
}  // namespace portable

#if defined(VELLUMO_X86_KERNELS)
// Puts in the x86 kernels the processor has features for, as UseCpuFeature allows
// (convert_x86.cpp).
void UseProcessorKernels(ConvertKernels& kernels);

namespace x86 {
void Threshold24Ssse3(const uint8_t* s, uint8_t* d, uint32_t w, uint32_t limit);
void Threshold24Avx2(const uint8_t* s, uint8_t* d, uint32_t w, uint32_t limit);  // and SSSE3
}  // namespace x86
#else
inline void UseProcessorKernels(ConvertKernels&) {}
#endif

}  // namespace vellumo::imaging

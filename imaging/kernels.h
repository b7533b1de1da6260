// Processor-specific kernels of the imaging operations. An operation that has them reaches its
// row and tile kernels through a table (transform_kernels.h, convert_kernels.h,
// reduce_kernels.h) that starts with the portable versions; on x86 the *_x86.cpp files put in
// theirs at run time, as the processor's features and UseCpuFeature allow. CMake builds those
// files, and defines VELLUMO_X86_KERNELS, only when the compiler targets x86.
#pragma once

#include "imaging/imaging.h"

namespace vellumo::imaging {

#if defined(VELLUMO_X86_KERNELS)
// Whether the processor has the feature, whatever the switches say (cpu_x86.cpp).
bool ProcessorHas(CpuFeature feature);
#else
inline bool ProcessorHas(CpuFeature) {
    return false;
}
#endif

}  // namespace vellumo::imaging

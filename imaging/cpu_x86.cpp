// The x86 processor's features, asked once.
#include "imaging/kernels.h"

namespace vellumo::imaging {

bool ProcessorHas(CpuFeature feature) {
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    static const bool avx2 = __builtin_cpu_supports("avx2");
    static const bool bmi2 = __builtin_cpu_supports("bmi2");
    static const bool avx512 =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    switch (feature) {
        case CpuFeature::Ssse3:
            return ssse3;
        case CpuFeature::Avx2:
            return avx2;
        case CpuFeature::Avx512:
            return avx512;
        case CpuFeature::Bmi2:
            return bmi2;
    }
    return false;
}

}  // namespace vellumo::imaging

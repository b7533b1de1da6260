// The x86 kernels of the area-averaging reduction (see reduce_kernels.h), built only for x86
// targets. SSE2 is the baseline of x86-64.
#include <emmintrin.h>

#include "imaging/reduce_kernels.h"

namespace vellumo::imaging {

#if defined(__SSE2__)
void x86::AddRow16Sse2(uint16_t* sum, const uint8_t* row, size_t n) {
    size_t i = 0;
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
        auto* s = reinterpret_cast<__m128i*>(sum + i);
        _mm_storeu_si128(s, _mm_add_epi16(_mm_loadu_si128(s), _mm_unpacklo_epi8(v, zero)));
        _mm_storeu_si128(s + 1, _mm_add_epi16(_mm_loadu_si128(s + 1), _mm_unpackhi_epi8(v, zero)));
    }
    portable::AddRow16(sum + i, row + i, n - i);
}
#endif

void UseProcessorKernels(ReduceKernels& kernels) {
#if defined(__SSE2__)
    kernels.addRow16 = x86::AddRow16Sse2;
#endif
    (void)kernels;
}

}  // namespace vellumo::imaging

// The x86 kernels of the colour conversions (see convert_kernels.h), built only for x86
// targets; the SSSE3 and AVX2 kernels are compiled for their features alone and chosen at run
// time.
#include <immintrin.h>

#include "imaging/convert_kernels.h"

namespace vellumo::imaging {

namespace {

// Shuffle masks for 16 pixels of 3 bytes: gathering channel c from input vector m, and
// spreading one byte per pixel back over the three bytes of output vector k.
struct Masks24 {
    alignas(16) int8_t gather[3][3][16];
    alignas(16) int8_t spread[3][16];
};
constexpr Masks24 kMasks24 = [] {
    Masks24 m{};
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 3; ++v)
            for (int t = 0; t < 16; ++t) {
                const int source = 3 * t + c;
                m.gather[c][v][t] = static_cast<int8_t>(source / 16 == v ? source % 16 : -128);
            }
    for (int k = 0; k < 3; ++k)
        for (int t = 0; t < 16; ++t) m.spread[k][t] = static_cast<int8_t>((16 * k + t) / 3);
    return m;
}();

inline __m128i Mask(const int8_t* bytes) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(bytes));
}

}  // namespace

// Threshold of 24-bit pixels, 16 at a time.
__attribute__((target("ssse3"))) void x86::Threshold24Ssse3(const uint8_t* s, uint8_t* d,
                                                            uint32_t w, uint32_t limit) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i limits = _mm_set1_epi16(static_cast<int16_t>(limit));
    uint32_t x = 0;
    for (; x + 16 <= w; x += 16) {
        __m128i v[3], channel[3];
        for (int m = 0; m < 3; ++m)
            v[m] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 3 * size_t{x} + 16 * m));
        for (int c = 0; c < 3; ++c) {
            channel[c] =
                _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(v[0], Mask(kMasks24.gather[c][0])),
                                          _mm_shuffle_epi8(v[1], Mask(kMasks24.gather[c][1]))),
                             _mm_shuffle_epi8(v[2], Mask(kMasks24.gather[c][2])));
        }
        const __m128i low = _mm_add_epi16(
            _mm_add_epi16(_mm_unpacklo_epi8(channel[0], zero), _mm_unpacklo_epi8(channel[1], zero)),
            _mm_unpacklo_epi8(channel[2], zero));
        const __m128i high = _mm_add_epi16(
            _mm_add_epi16(_mm_unpackhi_epi8(channel[0], zero), _mm_unpackhi_epi8(channel[1], zero)),
            _mm_unpackhi_epi8(channel[2], zero));
        const __m128i light =
            _mm_packs_epi16(_mm_cmpgt_epi16(low, limits), _mm_cmpgt_epi16(high, limits));
        for (int k = 0; k < 3; ++k)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 3 * size_t{x} + 16 * k),
                             _mm_shuffle_epi8(light, Mask(kMasks24.spread[k])));
    }
    portable::Threshold24(s + 3 * size_t{x}, d + 3 * size_t{x}, w - x, limit);
}

// The same on 32 pixels at a time: each 128-bit lane works as the SSSE3 variant does, the low
// lane on pixels 0-15, the high lane on pixels 16-31. The rest goes to the SSSE3 variant.
__attribute__((target("avx2"))) void x86::Threshold24Avx2(const uint8_t* s, uint8_t* d, uint32_t w,
                                                          uint32_t limit) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i limits = _mm256_set1_epi16(static_cast<int16_t>(limit));
    // Lambdas do not take the function's target, so the masks are loaded here.
    __m256i gather[3][3], spread[3];
    for (int c = 0; c < 3; ++c) {
        for (int m = 0; m < 3; ++m)
            gather[c][m] = _mm256_broadcastsi128_si256(
                _mm_load_si128(reinterpret_cast<const __m128i*>(kMasks24.gather[c][m])));
        spread[c] = _mm256_broadcastsi128_si256(
            _mm_load_si128(reinterpret_cast<const __m128i*>(kMasks24.spread[c])));
    }
    uint32_t x = 0;
    for (; x + 32 <= w; x += 32) {
        const uint8_t* p = s + 3 * size_t{x};
        __m256i v[3], channel[3];
        for (int m = 0; m < 3; ++m)
            v[m] = _mm256_inserti128_si256(
                _mm256_castsi128_si256(
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * m))),
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48 + 16 * m)), 1);
        for (int c = 0; c < 3; ++c)
            channel[c] = _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(v[0], gather[c][0]),
                                                         _mm256_shuffle_epi8(v[1], gather[c][1])),
                                         _mm256_shuffle_epi8(v[2], gather[c][2]));
        const __m256i low =
            _mm256_add_epi16(_mm256_add_epi16(_mm256_unpacklo_epi8(channel[0], zero),
                                              _mm256_unpacklo_epi8(channel[1], zero)),
                             _mm256_unpacklo_epi8(channel[2], zero));
        const __m256i high =
            _mm256_add_epi16(_mm256_add_epi16(_mm256_unpackhi_epi8(channel[0], zero),
                                              _mm256_unpackhi_epi8(channel[1], zero)),
                             _mm256_unpackhi_epi8(channel[2], zero));
        const __m256i light =
            _mm256_packs_epi16(_mm256_cmpgt_epi16(low, limits), _mm256_cmpgt_epi16(high, limits));
        uint8_t* q = d + 3 * size_t{x};
        for (int k = 0; k < 3; ++k) {
            const __m256i out = _mm256_shuffle_epi8(light, spread[k]);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(q + 16 * k), _mm256_castsi256_si128(out));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(q + 48 + 16 * k),
                             _mm256_extracti128_si256(out, 1));
        }
    }
    Threshold24Ssse3(s + 3 * size_t{x}, d + 3 * size_t{x}, w - x, limit);
}

void UseProcessorKernels(ConvertKernels& kernels) {
    if (UseCpuFeature(CpuFeature::Ssse3)) {
        kernels.threshold24 = x86::Threshold24Ssse3;
        // Every processor with AVX2 has SSSE3, which the AVX2 threshold leaves its rest to.
        if (UseCpuFeature(CpuFeature::Avx2)) kernels.threshold24 = x86::Threshold24Avx2;
    }
}

}  // namespace vellumo::imaging

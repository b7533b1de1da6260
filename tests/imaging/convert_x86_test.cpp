// The x86 kernels of the colour conversions against the portable ones, on widths that are not
// multiples of the vector widths, in place and into a second row.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "imaging/convert_kernels.h"
#include "tests/imaging/kernel_inputs.h"

using namespace vellumo::imaging;
using kernel_inputs::ForEachRunnable;
using kernel_inputs::kCounts;
using kernel_inputs::RandomBytes;
using kernel_inputs::Target;
using kernel_inputs::Variant;

namespace {

using ThresholdKernel = void (*)(const uint8_t*, uint8_t*, uint32_t, uint32_t);

TEST(ThresholdKernels, ThreeBytePixelsLikeThePortableKernel) {
    const std::vector<Variant<ThresholdKernel>> variants = {
        {"SSSE3", x86::Threshold24Ssse3, {CpuFeature::Ssse3}},
        {"AVX2", x86::Threshold24Avx2, {CpuFeature::Avx2, CpuFeature::Ssse3}},
    };
    ForEachRunnable(variants, [](ThresholdKernel kernel) {
        for (uint32_t w : kCounts)
            for (uint32_t limit : {0u, 1u, 381u, 382u, 383u, 764u, 765u}) {
                SCOPED_TRACE(std::to_string(w) + " pixels, limit " + std::to_string(limit));
                const size_t n = 3 * size_t{w};
                const std::vector<uint8_t> row = RandomBytes(n, w + limit);
                std::vector<uint8_t> expected = Target(n), actual = expected;
                portable::Threshold24(row.data(), expected.data(), w, limit);
                kernel(row.data(), actual.data(), w, limit);
                EXPECT_EQ(actual, expected);

                // In place, as ThresholdImage runs on a page's own pixels.
                std::vector<uint8_t> inPlace = Target(n);
                std::copy(row.begin(), row.end(), inPlace.begin());
                kernel(inPlace.data(), inPlace.data(), w, limit);
                EXPECT_EQ(inPlace, expected);
            }
    });
}

}  // namespace

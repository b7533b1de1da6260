// The x86 kernels of the area-averaging reduction against the portable ones, on row lengths
// that are not multiples of the vector width and on sums about to wrap.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "imaging/reduce_kernels.h"
#include "tests/imaging/kernel_inputs.h"

using namespace vellumo::imaging;
using kernel_inputs::kCounts;
using kernel_inputs::RandomBytes;

namespace {

#if defined(__SSE2__)
TEST(ReduceKernels, ColumnSumsLikeThePortableKernel) {
    for (uint32_t n : kCounts) {
        SCOPED_TRACE(std::to_string(n) + " values");
        const std::vector<uint8_t> row = RandomBytes(n, n);
        // Random sums, the high ones close enough to 65535 that adding a value wraps them; and
        // a guard band of sums behind the row that no kernel may touch.
        const std::vector<uint8_t> seed = RandomBytes(2 * (size_t{n} + 16), n + 1);
        std::vector<uint16_t> expected(n + 16);
        std::memcpy(expected.data(), seed.data(), seed.size());
        std::vector<uint16_t> actual = expected;
        portable::AddRow16(expected.data(), row.data(), n);
        x86::AddRow16Sse2(actual.data(), row.data(), n);
        EXPECT_EQ(actual, expected);
    }
}
#endif

}  // namespace

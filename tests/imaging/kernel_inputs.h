// Inputs for holding the x86 kernels against the portable ones: pseudo-random bytes, sizes on
// both sides of every vector width, buffers with a guard band behind their bytes so that a
// kernel writing past its end shows in the comparison, and the kernels this processor runs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "imaging/kernels.h"

namespace kernel_inputs {

// Pixel and byte counts around 8, 16, 32 and 64, and a few larger odd ones.
inline const std::vector<uint32_t> kCounts = {1,  2,  3,  7,  8,  9,  15, 16,  17,  31,
                                              32, 33, 47, 48, 63, 64, 65, 100, 257, 1001};

inline std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
    std::vector<uint8_t> bytes(n);
    uint32_t state = seed * 2654435761u + 1;
    for (auto& b : bytes) {
        state = state * 1103515245u + 12345;
        b = static_cast<uint8_t>(state >> 16);
    }
    return bytes;
}

// n bytes to be written, followed by the guard band; all of it a fixed pattern at first.
constexpr size_t kGuard = 64;
inline std::vector<uint8_t> Target(size_t n) {
    std::vector<uint8_t> bytes(n + kGuard);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(0xA5 ^ i);
    return bytes;
}

// An x86 kernel, its name and the processor features it needs.
template <class Kernel>
struct Variant {
    const char* name;
    Kernel kernel;
    std::vector<vellumo::imaging::CpuFeature> needs;

    bool runsHere() const {
        for (vellumo::imaging::CpuFeature feature : needs)
            if (!vellumo::imaging::ProcessorHas(feature)) return false;
        return true;
    }
};

// Calls body(kernel) for every variant this processor can run; skips the test when it can run
// none, so that a machine without the features says so rather than passing.
template <class Kernel, class Body>
void ForEachRunnable(const std::vector<Variant<Kernel>>& variants, Body body) {
    int ran = 0;
    for (const Variant<Kernel>& v : variants) {
        if (!v.runsHere()) continue;
        SCOPED_TRACE(v.name);
        body(v.kernel);
        ++ran;
    }
    if (ran == 0) GTEST_SKIP() << "the processor has none of these kernels' features";
}

}  // namespace kernel_inputs

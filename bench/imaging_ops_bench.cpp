// The imaging operations on an A4 page scanned at 300 dpi (2480 x 3508) in 1, 8 and 24 bits.
// Each depth's "Memcpy" copies the same pixel bytes once and is the yardstick the others are
// read against.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/convert.h"
#include "imaging/image_buffer.h"
#include "imaging/transform.h"

namespace {

constexpr int kWidth = 2480;
constexpr int kHeight = 3508;
constexpr int kThumbnail = 260;

// A page with some content: pseudo-random pixels, so no branch predicts the data.
struct Page {
    ImageBuffer image{};
    Page(int width, int height, int bits) {
        AllocateImage(image, width, height, bits);
        uint32_t state = 12345;
        const size_t bytes = size_t{image.rowBytes} * height;
        for (size_t i = 0; i < bytes; ++i) {
            state = state * 1103515245u + 12345;
            image.pixels[i] = static_cast<uint8_t>(state >> 16);
        }
    }
    ~Page() { FreeImage(image); }
    size_t bytes() const { return size_t{image.rowBytes} * ImageHeight(image); }
};

int Bits(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}

void Memcpy(benchmark::State& state) {
    Page page(kWidth, kHeight, Bits(state));
    std::vector<uint8_t> target(page.bytes());
    for (auto _ : state) {
        std::memcpy(target.data(), page.image.pixels, page.bytes());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.bytes()));
}

template <int (*Operation)(const ImageBuffer&, ImageBuffer&)>
void InPlace(benchmark::State& state) {
    Page page(kWidth, kHeight, Bits(state));
    for (auto _ : state) {
        if (Operation(page.image, page.image) != kImgOk) state.SkipWithError("failed");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.bytes()));
}

void Threshold(benchmark::State& state) {
    Page page(kWidth, kHeight, Bits(state));
    Page target(kWidth, kHeight, Bits(state));
    for (auto _ : state) {
        if (ThresholdImage(128, page.image, target.image) != kImgOk) state.SkipWithError("failed");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.bytes()));
}

void HalfTurn(benchmark::State& state) {
    Page page(kWidth, kHeight, Bits(state));
    for (auto _ : state) {
        if (RotateImage(180, page.image, page.image) != kImgOk) state.SkipWithError("failed");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.bytes()));
}

void QuarterTurn(benchmark::State& state) {
    Page page(kWidth, kHeight, Bits(state));
    Page turned(kHeight, kWidth, Bits(state));
    for (auto _ : state) {
        if (RotateQuarterTurn(0, page.image, turned.image) != kImgOk) state.SkipWithError("failed");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.bytes()));
}

void Thumbnail(benchmark::State& state) {
    Page page(kWidth, kHeight, Bits(state));
    Page thumbnail(kThumbnail, kHeight * kThumbnail / kWidth, Bits(state));
    for (auto _ : state) {
        if (ResizeImage(page.image, thumbnail.image) != kImgOk) state.SkipWithError("failed");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.bytes()));
}

}  // namespace

BENCHMARK(Memcpy)->Arg(1)->Arg(8)->Arg(24)->Unit(benchmark::kMicrosecond);
BENCHMARK(InPlace<InvertImage>)
    ->Name("Invert")
    ->Arg(1)
    ->Arg(8)
    ->Arg(24)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(InPlace<MirrorImage>)
    ->Name("Mirror")
    ->Arg(1)
    ->Arg(8)
    ->Arg(24)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(Threshold)->Arg(8)->Arg(24)->Unit(benchmark::kMicrosecond);
BENCHMARK(HalfTurn)->Arg(1)->Arg(8)->Arg(24)->Unit(benchmark::kMicrosecond);
BENCHMARK(QuarterTurn)->Arg(1)->Arg(8)->Arg(24)->Unit(benchmark::kMicrosecond);
BENCHMARK(Thumbnail)->Arg(1)->Arg(8)->Arg(24)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

// The imaging operations on an A4 page scanned at 300 dpi (2480 x 3508) in 1, 8 and 24 bits.
// "Memcpy" copies a page's pixel bytes once; every operation is also timed against such a
// copy made in the same iteration, which gives its "x_memcpy" counter.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <vector>

#include "imaging/convert.h"
#include "imaging/image_buffer.h"
#include "imaging/transform.h"

using namespace vellumo::imaging;

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

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

// Times `operation` on the page against a memcpy of the same bytes, the two alternating within
// every iteration so that both see the same machine. The reported time is the operation's
// (thread CPU time); the counter "x_memcpy" is the operation's total over the memcpy's.
template <class Operation>
void Compare(benchmark::State& state, Page& page, Operation operation) {
    std::vector<uint8_t> target(page.bytes());
    double copyTotal = 0, operationTotal = 0;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        std::memcpy(target.data(), page.image.pixels, page.bytes());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
        const double t1 = ThreadSeconds();
        if (operation() != kImgOk) state.SkipWithError("failed");
        benchmark::ClobberMemory();
        const double t2 = ThreadSeconds();
        copyTotal += t1 - t0;
        operationTotal += t2 - t1;
        state.SetIterationTime(t2 - t1);
    }
    state.counters["x_memcpy"] = copyTotal > 0 ? operationTotal / copyTotal : 0;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.bytes()));
}

void Invert(benchmark::State& state) {
    Page page(kWidth, kHeight, Bits(state));
    Compare(state, page, [&] { return InvertImage(page.image, page.image); });
}

void Mirror(benchmark::State& state) {
    Page page(kWidth, kHeight, Bits(state));
    Compare(state, page, [&] { return MirrorImage(page.image, page.image); });
}

void Threshold(benchmark::State& state) {
    Page page(kWidth, kHeight, Bits(state));
    Page target(kWidth, kHeight, Bits(state));
    Compare(state, page, [&] { return ThresholdImage(128, page.image, target.image); });
}

void HalfTurn(benchmark::State& state) {
    Page page(kWidth, kHeight, Bits(state));
    Compare(state, page, [&] { return RotateImage(180, page.image, page.image); });
}

void QuarterTurn(benchmark::State& state) {
    Page page(kWidth, kHeight, Bits(state));
    Page turned(kHeight, kWidth, Bits(state));
    Compare(state, page, [&] { return RotateQuarterTurn(0, page.image, turned.image); });
}

void Thumbnail(benchmark::State& state) {
    Page page(kWidth, kHeight, Bits(state));
    Page thumbnail(kThumbnail, kHeight * kThumbnail / kWidth, Bits(state));
    Compare(state, page, [&] { return ResizeImage(page.image, thumbnail.image); });
}

// The area-averaging thumbnail, always 24 bits.
void Reduce(benchmark::State& state) {
    Page page(kWidth, kHeight, Bits(state));
    Page thumbnail(kThumbnail, kHeight * kThumbnail / kWidth, 24);
    Compare(state, page, [&] { return ReduceImage(page.image, thumbnail.image); });
}

}  // namespace

BENCHMARK(Memcpy)->Arg(1)->Arg(8)->Arg(24)->Unit(benchmark::kMicrosecond);
BENCHMARK(Invert)->Arg(1)->Arg(8)->Arg(24)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(Mirror)->Arg(1)->Arg(8)->Arg(24)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(Threshold)->Arg(8)->Arg(24)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(HalfTurn)->Arg(1)->Arg(8)->Arg(24)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(QuarterTurn)->Arg(1)->Arg(8)->Arg(24)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(Thumbnail)->Arg(1)->Arg(8)->Arg(24)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(Reduce)->Arg(1)->Arg(8)->Arg(24)->UseManualTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

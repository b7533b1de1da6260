// The page clean-up on an A4 text page scanned at 300 dpi (2480 x 3508), 3.3 degrees askew, in
// 1, 8 and 24 bits, rendered by Ghostscript. "Straighten" is the whole step as a scan runs it
// (finding the skew, then turning the page); it is timed in thread CPU time against a memcpy of
// the page's pixels made in the same iteration ("x_memcpy"), and its wall time is the counter
// "wall_ms".
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "cleanup/blank_page.h"
#include "cleanup/orientation.h"
#include "cleanup/skew.h"
#include "cleanup/straighten.h"
#include "tests/cleanup/test_pages.h"

namespace {

using namespace vellumo::cleanup;
using namespace vellumo::imaging;
using testpages::Content;
using testpages::PagePlan;

std::string WorkDir() {
    static const std::string dir = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/cleanup-bench-XXXXXX";
        if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
        return pattern;
    }();
    return dir;
}

// Each page is rendered once, on first use.
const ImageBuffer& Rendered(Content content, int bits) {
    static std::map<std::pair<int, int>, ImageBuffer> pages;
    const auto key = std::make_pair(static_cast<int>(content), bits);
    auto it = pages.find(key);
    if (it != pages.end()) return it->second;
    PagePlan plan;
    plan.content = content;
    plan.bits = bits;
    plan.dpi = 300;
    plan.skewDegrees = content == Content::Text ? 3.3 : 0;
    plan.seed = 7;
    plan.specks = 30;
    plan.showThrough = true;
    plan.punchHoles = content == Content::Blank;
    ImageBuffer image{};
    std::string error;
    if (!testpages::RenderPage(plan, WorkDir(), image, &error)) throw std::runtime_error(error);
    return pages.emplace(key, image).first->second;
}

size_t PixelBytes(const ImageBuffer& image) {
    return size_t{image.rowBytes} * static_cast<size_t>(ImageHeight(image));
}

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

int Bits(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}

// A fresh copy of the page for every iteration (not timed), the operation timed against a
// memcpy of the page's pixels.
template <class Operation>
void Compare(benchmark::State& state, const ImageBuffer& page, Operation operation) {
    std::vector<uint8_t> target(PixelBytes(page));
    double copyTotal = 0, operationTotal = 0, wallTotal = 0;
    ImageBuffer work{};
    for (auto _ : state) {
        state.PauseTiming();
        FreeImage(work);
        AllocateImage(work, ImageWidth(page), ImageHeight(page), BitsPerPixel(page));
        std::memcpy(work.palette ? static_cast<void*>(work.palette) : work.pixels,
                    page.palette ? static_cast<const void*>(page.palette) : page.pixels,
                    (page.palette ? sizeof(RgbQuad) * static_cast<size_t>(page.paletteSize) : 0) +
                        PixelBytes(page));
        work.header->biXPelsPerMeter = page.header->biXPelsPerMeter;
        work.header->biYPelsPerMeter = page.header->biYPelsPerMeter;
        state.ResumeTiming();
        const double t0 = ThreadSeconds();
        std::memcpy(target.data(), page.pixels, target.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
        const double t1 = ThreadSeconds();
        const auto w0 = std::chrono::steady_clock::now();
        if (!operation(work)) state.SkipWithError("failed");
        benchmark::ClobberMemory();
        const auto w1 = std::chrono::steady_clock::now();
        const double t2 = ThreadSeconds();
        copyTotal += t1 - t0;
        operationTotal += t2 - t1;
        wallTotal += std::chrono::duration<double>(w1 - w0).count();
        state.SetIterationTime(t2 - t1);
    }
    FreeImage(work);
    state.counters["x_memcpy"] = copyTotal > 0 ? operationTotal / copyTotal : 0;
    state.counters["wall_ms"] = state.iterations() ? 1000 * wallTotal / state.iterations() : 0;
}

void Memcpy(benchmark::State& state) {
    const ImageBuffer& page = Rendered(Content::Text, Bits(state));
    std::vector<uint8_t> target(PixelBytes(page));
    for (auto _ : state) {
        std::memcpy(target.data(), page.pixels, target.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}

void Straighten(benchmark::State& state) {
    Compare(state, Rendered(Content::Text, Bits(state)), [](ImageBuffer& work) {
        const SkewEstimate skew = FindSkew(work);
        return skew.basis == SkewBasis::TextLines && StraightenImage(work, -skew.degrees) == kImgOk;
    });
}

void FindOnly(benchmark::State& state) {
    Compare(state, Rendered(Content::Text, Bits(state)),
            [](ImageBuffer& work) { return FindSkew(work).basis == SkewBasis::TextLines; });
}

void TurnOnly(benchmark::State& state) {
    Compare(state, Rendered(Content::Text, Bits(state)),
            [](ImageBuffer& work) { return StraightenImage(work, -3.3) == kImgOk; });
}

void Blank(benchmark::State& state) {
    Compare(state, Rendered(Content::Blank, Bits(state)),
            [](ImageBuffer& work) { return CheckBlankPage(work).blank; });
}

void Upright(benchmark::State& state) {
    static OrientationDetector detector;
    if (!detector.ready()) {
        state.SkipWithError("tesseract-ocr-osd is not installed");
        return;
    }
    Compare(state, Rendered(Content::Text, Bits(state)),
            [](ImageBuffer& work) { return detector.detect(work).found; });
}

}  // namespace

BENCHMARK(Memcpy)->Arg(1)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(Straighten)->Arg(1)->Arg(8)->Arg(24)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(FindOnly)->Arg(1)->Arg(8)->Arg(24)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TurnOnly)->Arg(1)->Arg(8)->Arg(24)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Blank)->Arg(1)->Arg(8)->Arg(24)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Upright)->Arg(8)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// G4 encoding of an A4 page at 300 dpi, and a whole PDF of such pages through the library.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "imaging/codecs.h"
#include "pdf/g4_encoder.h"
#include "pdf/pagemint.h"

using namespace vellumo::imaging;
using namespace vellumo::pdf;

namespace {

constexpr int kWidth = 2480, kHeight = 3508;

// Text-like rows: short black runs in lines, white margins and gaps.
std::vector<std::vector<uint8_t>> TextPage() {
    std::mt19937 rng(7);
    std::vector<std::vector<uint8_t>> rows(kHeight, std::vector<uint8_t>(kWidth / 8, 0));
    for (int y = 200; y < kHeight - 200; ++y) {
        if ((y / 30) % 2) continue;
        for (int x = 180; x < kWidth - 180; ++x)
            if (rng() % 5 == 0) rows[y][x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    return rows;
}

void G4EncodeA4(benchmark::State& state) {
    const auto rows = TextPage();
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        G4Encoder encoder(kWidth, [&bytes](const uint8_t*, size_t n) { bytes += n; });
        for (const auto& row : rows) encoder.encodeRow(row.data());
        encoder.finish();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(G4EncodeA4)->Unit(benchmark::kMillisecond);

// Ten bilevel LZW TIFF pages decoded and G4-encoded into one PDF.
void BilevelTiffDocument(benchmark::State& state) {
    char dir[] = "/tmp/vellumo-pdf-bench-XXXXXX";
    if (!mkdtemp(dir)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string tiff = std::string(dir) + "/page.tif";
    ImageBuffer page{};
    AllocateImage(page, kWidth, kHeight, 1);
    const auto rows = TextPage();
    for (int y = 0; y < kHeight; ++y)
        for (int i = 0; i < kWidth / 8; ++i)
            RowPointer(page, y)[i] = static_cast<uint8_t>(~rows[y][i]);
    SetImageDpi(page, 300, 300);
    SaveTiff(tiff.c_str(), page, 1);
    FreeImage(page);
    const std::string out = std::string(dir) + "/out.pdf";
    for (auto _ : state) {
        for (int i = 0; i < 10; ++i) PGMT_AddImage(tiff.c_str());
        char error[256];
        if (PGMT_MakePDF(out.c_str(), kPgmtModeReplace, error, sizeof error) != 0)
            state.SkipWithError(error);
    }
    unlink(tiff.c_str());
    unlink(out.c_str());
    rmdir(dir);
}
BENCHMARK(BilevelTiffDocument)->Unit(benchmark::kMillisecond);

}  // namespace

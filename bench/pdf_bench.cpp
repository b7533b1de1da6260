// G4 and JBIG2 encoding of an A4 page at 300 dpi, and a whole PDF of such pages through the
// library. VELLUMO_BENCH_PAGES may name PBM files (separated by colons, as bench/pdf_sizes.sh
// makes them from rendered text) that the encoders are also timed on, one benchmark each.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "imaging/codecs.h"
#include "pdf/g4_encoder.h"
#include "pdf/jbig2_encoder.h"
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

void Jbig2EncodeRows(benchmark::State& state, int width,
                     const std::vector<std::vector<uint8_t>>& rows) {
    size_t bytes = 0;
    for (auto _ : state) {
        vellumo::pdf::Jbig2Encoder encoder(width, static_cast<int>(rows.size()));
        for (const auto& row : rows) encoder.encodeRow(row.data());
        bytes = encoder.finish().size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

void G4EncodeRows(benchmark::State& state, int width,
                  const std::vector<std::vector<uint8_t>>& rows) {
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        G4Encoder encoder(width, [&bytes](const uint8_t*, size_t n) { bytes += n; });
        for (const auto& row : rows) encoder.encodeRow(row.data());
        encoder.finish();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

void Jbig2EncodeA4(benchmark::State& state) {
    Jbig2EncodeRows(state, kWidth, TextPage());
}
BENCHMARK(Jbig2EncodeA4)->Unit(benchmark::kMillisecond);

// A binary PBM (P4) file as rows; false when it is not one.
bool ReadPbm(const std::string& path, int& width, std::vector<std::vector<uint8_t>>& rows) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int height = 0;
    in >> magic >> width >> height;
    in.get();
    if (!in || magic != "P4" || width <= 0 || height <= 0) return false;
    rows.assign(height, std::vector<uint8_t>((width + 7) / 8));
    for (auto& row : rows) in.read(reinterpret_cast<char*>(row.data()), row.size());
    return static_cast<bool>(in);
}

// Registers the JBIG2 and G4 benchmarks of the pages named in VELLUMO_BENCH_PAGES.
[[maybe_unused]] const bool kPagesRegistered = [] {
    const char* list = std::getenv("VELLUMO_BENCH_PAGES");
    if (!list) return false;
    std::stringstream names(list);
    std::string path;
    while (std::getline(names, path, ':')) {
        auto rows = std::make_shared<std::vector<std::vector<uint8_t>>>();
        int width = 0;
        if (path.empty() || !ReadPbm(path, width, *rows)) continue;
        const std::string name = path.substr(path.find_last_of('/') + 1);
        benchmark::RegisterBenchmark(("Jbig2Encode/" + name).c_str(), [rows,
                                                                       width](benchmark::State& s) {
            Jbig2EncodeRows(s, width, *rows);
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("G4Encode/" + name).c_str(), [rows,
                                                                    width](benchmark::State& s) {
            G4EncodeRows(s, width, *rows);
        })->Unit(benchmark::kMillisecond);
    }
    return true;
}();

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

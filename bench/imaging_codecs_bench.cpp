// Codec speed on an A4 page scanned at 300 dpi (2480 x 3508) in 1, 8 and 24 bits: our JPEG
// and TIFF LZW writers against libjpeg-turbo's cjpeg and libtiff's tiffcp on the same pixels
// (each tool run as a process on a file the benchmark writes first), plus the loaders.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/codec_common.h"
#include "imaging/codecs.h"

using namespace vellumo::imaging;

namespace {

constexpr int kWidth = 2480, kHeight = 3508;

// The folder for the page files, removed when the benchmark ends (the files are large).
char workDir[] = "/tmp/vellumo-codec-bench-XXXXXX";

void RemoveWorkDir() {
    std::system((std::string("rm -rf '") + workDir + "'").c_str());
}

std::string WorkDir() {
    static const bool made = [] {
        if (!mkdtemp(workDir)) std::abort();
        std::atexit(RemoveWorkDir);
        return true;
    }();
    (void)made;
    return workDir;
}

// A page like a scan: white paper, lines of dark "text" strokes, a photo in the middle, and
// a little sensor noise on everything.
const ImageBuffer& Page(int bits) {
    static ImageBuffer pages[33] = {};
    ImageBuffer& page = pages[bits];
    if (page.header) return page;
    ImageBuffer colour{};
    AllocateImage(colour, kWidth, kHeight, 24);
    uint32_t seed = 12345;
    auto noise = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % 7) - 3;
    };
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = RowPointer(colour, static_cast<uint32_t>(y));
        for (int x = 0; x < kWidth; ++x) {
            int r = 245, g = 243, b = 238;
            const bool photo = x > 400 && x < 2080 && y > 1300 && y < 2400;
            if (photo) {
                r = static_cast<int>(128 + 100 * std::sin(x / 90.0) * std::cos(y / 130.0));
                g = static_cast<int>(110 + 90 * std::cos(x / 60.0 + y / 200.0));
                b = static_cast<int>(90 + 80 * std::sin((x + y) / 150.0));
            } else if (y > 250 && (y % 60) < 34 && x > 200 && x < 2280) {
                // Glyph-like strokes in a line of text.
                const int cell = (x / 23) * 7 + (y / 60) * 13;
                if ((cell % 5) != 0 && ((x % 23) < 4 || (y % 60) < 5 || ((x + y) % 23) < 3))
                    r = g = b = 30;
            }
            row[3 * x] = static_cast<uint8_t>(std::clamp(b + noise(), 0, 255));
            row[3 * x + 1] = static_cast<uint8_t>(std::clamp(g + noise(), 0, 255));
            row[3 * x + 2] = static_cast<uint8_t>(std::clamp(r + noise(), 0, 255));
        }
    }
    if (bits == 24) {
        page = colour;
        return page;
    }
    AllocateImage(page, kWidth, kHeight, bits);
    std::vector<uint8_t> grey(kWidth);
    for (uint32_t y = 0; y < static_cast<uint32_t>(kHeight); ++y) {
        codec::AreaRowToGrey(Page(24), y, grey.data());
        uint8_t* row = RowPointer(page, y);
        if (bits == 8) {
            std::memcpy(row, grey.data(), kWidth);
        } else {
            for (int x = 0; x < kWidth; ++x)
                if (grey[x] >= 128) row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
        }
    }
    return page;
}

double ChildrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs a command line and returns its wall time in seconds; adds the CPU time it used (the
// figure that stays comparable on a shared, loaded machine) to *cpu.
double TimeProcess(const std::string& command, double* cpu) {
    const double cpuBefore = ChildrenCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const auto end = std::chrono::steady_clock::now();
    *cpu += ChildrenCpuSeconds() - cpuBefore;
    if (status != 0) return -1;
    return std::chrono::duration<double>(end - start).count();
}

// The page as the file a tool reads: PGM for grey (and for bilevel, which cjpeg cannot read
// as such), PPM for colour; an uncompressed TIFF for tiffcp.
std::string NetpbmFile(int bits) {
    const std::string path =
        WorkDir() + "/page" + std::to_string(bits) + (bits == 24 ? ".ppm" : ".pgm");
    if (FILE* existing = std::fopen(path.c_str(), "rb")) {
        std::fclose(existing);
        return path;
    }
    const ImageBuffer& page = Page(bits);
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fprintf(out, "%s\n%d %d\n255\n", bits == 24 ? "P6" : "P5", kWidth, kHeight);
    std::vector<uint8_t> row(static_cast<size_t>(kWidth) * 3);
    for (uint32_t y = 0; y < static_cast<uint32_t>(kHeight); ++y) {
        if (bits == 24) {
            codec::AreaRowToRgb(page, y, row.data());
            std::fwrite(row.data(), 1, static_cast<size_t>(kWidth) * 3, out);
        } else {
            codec::AreaRowToGrey(page, y, row.data());
            std::fwrite(row.data(), 1, kWidth, out);
        }
    }
    std::fclose(out);
    return path;
}

std::string RawTiff(int bits) {
    const std::string path = WorkDir() + "/raw" + std::to_string(bits) + ".tif";
    if (FILE* existing = std::fopen(path.c_str(), "rb")) {
        std::fclose(existing);
        return path;
    }
    SaveTiff(path.c_str(), Page(bits), 0);
    return path;
}

void SaveJpeg75(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0));
    const ImageBuffer& page = Page(bits);
    const std::string out = WorkDir() + "/ours.jpg";
    for (auto _ : state)
        if (SaveJpeg(out.c_str(), page, 75) != 0) state.SkipWithError("SaveJpeg failed");
    state.counters["bytes"] = static_cast<double>(codec::FileSize(out.c_str()));
}

void CjpegProcess75(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0));
    const std::string in = NetpbmFile(bits);
    const std::string command = "cjpeg -quality 75 -outfile " + WorkDir() + "/cjpeg.jpg " + in;
    double cpu = 0;
    for (auto _ : state) {
        const double seconds = TimeProcess(command, &cpu);
        if (seconds < 0) state.SkipWithError("cjpeg failed");
        state.SetIterationTime(seconds);
    }
    state.counters["child_cpu_ms"] = 1000 * cpu / static_cast<double>(state.iterations());
    state.counters["bytes"] =
        static_cast<double>(codec::FileSize((WorkDir() + "/cjpeg.jpg").c_str()));
}

void SaveTiffLzw(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0));
    const ImageBuffer& page = Page(bits);
    const std::string out = WorkDir() + "/ours.tif";
    for (auto _ : state)
        if (SaveTiff(out.c_str(), page, 1) != 0) state.SkipWithError("SaveTiff failed");
    state.counters["bytes"] = static_cast<double>(codec::FileSize(out.c_str()));
}

void TiffcpProcessLzw(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0));
    const std::string in = RawTiff(bits);
    const std::string out = WorkDir() + "/tiffcp.tif";
    const std::string command = "tiffcp -c lzw " + in + " " + out;
    double cpu = 0;
    for (auto _ : state) {
        std::remove(out.c_str());
        const double seconds = TimeProcess(command, &cpu);
        if (seconds < 0) state.SkipWithError("tiffcp failed");
        state.SetIterationTime(seconds);
    }
    state.counters["child_cpu_ms"] = 1000 * cpu / static_cast<double>(state.iterations());
    state.counters["bytes"] = static_cast<double>(codec::FileSize(out.c_str()));
}

// Loading what the program writes: the page files (TIFF) and the PDF's JPEG copies.
void LoadFile(benchmark::State& state, bool jpeg) {
    const int bits = static_cast<int>(state.range(0));
    const std::string file = WorkDir() + (jpeg ? "/load.jpg" : "/load.tif");
    if (jpeg)
        SaveJpeg(file.c_str(), Page(bits), 75);
    else
        SaveTiff(file.c_str(), Page(bits), bits == 1 ? 4 : 1);
    for (auto _ : state) {
        ImageBuffer image{};
        if (ReadImageFile(file.c_str(), image) != 0) state.SkipWithError("load failed");
        FreeImage(image);
    }
}
void LoadTiffPage(benchmark::State& state) {
    LoadFile(state, false);
}
void LoadJpegPage(benchmark::State& state) {
    LoadFile(state, true);
}

}  // namespace

BENCHMARK(SaveJpeg75)->Arg(8)->Arg(24)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(CjpegProcess75)->Arg(8)->Arg(24)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(SaveTiffLzw)->Arg(1)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(TiffcpProcessLzw)
    ->Arg(1)
    ->Arg(8)
    ->Arg(24)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(LoadTiffPage)->Arg(1)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadJpegPage)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

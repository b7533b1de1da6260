// A 300 dpi A4 grey page from the SANE test scanner: our component from StartAcquire until the
// packed DIB is handed over, the same page on through the transfer the program gives every
// scanned page (working image, palette, LZW TIFF page file, thumbnail), and scanimage writing
// the same page to a TIFF file, all in one run. All use the project's test scanner
// configuration with only the test back end loaded.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "imaging/codecs.h"
#include "imaging/dib.h"
#include "imaging/image_buffer.h"
#include "scan/page_transfer.h"
#include "scan/scanner_component.h"
#ifdef VELLUMO_BENCH_THUMBNAIL
#include "document/page_document.h"
#endif

using namespace vellumo::imaging;
using namespace vellumo::scan;

namespace {

std::string configDir;
std::string outputDir;

void Put(ScannerComponent& c, int code, double value) {
    c.Capability(code);
    c.CapContainer(kContainerOneValue);
    c.CapValue(value);
    c.SetCapability();
}

void OpenA4Grey(ScannerComponent& c) {
    c.CurrentSource(c.AddSource("test:0"));
    c.OpenSession();
    Put(c, kCapFeederEnabled, 0);
    Put(c, kCapPixelType, kPixelGray);
    Put(c, kCapXResolution, 300);
    Put(c, kCapYResolution, 300);
    c.SetImageLayout(0, 0, 8.28, 11.68);
}

void ComponentA4Grey(benchmark::State& state) {
    ScannerComponent c;
    OpenA4Grey(c);
    bool done = false;
    int width = 0, height = 0;
    c.SetEventCallback(kEventImageTransferred, [&](void*, int, int) {
        BitmapInfoHeader h;
        std::memcpy(&h, c.ImageHandle()->data(), sizeof h);
        width = h.biWidth;
        height = h.biHeight;
        done = true;
    });
    c.SetAcquireEndCallback([&](const AcquireEnd&) { done = true; });
    for (auto _ : state) {
        done = false;
        c.StartAcquire();
        while (!done) c.WaitForEvents(1000);
    }
    if (width != 2480 || height != 3507) state.SkipWithError("unexpected page size");
    state.counters["width"] = width;
    state.counters["height"] = height;
}

// From StartAcquire until the page file is written and (when the windows' layer is linked in)
// its thumbnail made: the steps the program runs for every scanned page before it joins the
// list. Each page file is removed again after its iteration, outside the timing.
void ComponentA4GreyToPageFile(benchmark::State& state) {
    ScannerComponent c;
    OpenA4Grey(c);
    bool done = false;
    TransferResult result;
    TransferHooks hooks;
    ImageBuffer workingImage{};
#ifdef VELLUMO_BENCH_THUMBNAIL
    vellumo::document::PageDocument document;
    int thumbnail = -1;
    hooks.beforeSave = [&](const ImageBuffer& image) { thumbnail = document.MakeThumbnail(image); };
#endif
    c.SetEventCallback(kEventImageTransferred, [&](void*, int, int) {
        result =
            ProcessScannedImage(c.ImageHandle().get(), workingImage, 1, TransferSettings{}, hooks);
        done = true;
    });
    c.SetAcquireEndCallback([&](const AcquireEnd&) { done = true; });
    for (auto _ : state) {
        done = false;
        result = TransferResult{};
        c.StartAcquire();
        while (!done) c.WaitForEvents(1000);
        state.PauseTiming();
        const bool kept = result.outcome == TransferOutcome::Kept;
        if (kept) std::remove(result.path.c_str());
        state.ResumeTiming();
        if (!kept) {
            state.SkipWithError("the page file was not written");
            break;
        }
#ifdef VELLUMO_BENCH_THUMBNAIL
        if (thumbnail != 0) {
            state.SkipWithError("the thumbnail was not made");
            break;
        }
#endif
    }
}

// The transfer's steps one by one, on one page read once, to show where the time goes.
std::shared_ptr<const std::vector<uint8_t>> A4GreyDib() {
    static std::shared_ptr<const std::vector<uint8_t>> dib;
    if (dib) return dib;
    ScannerComponent c;
    OpenA4Grey(c);
    bool done = false;
    c.SetEventCallback(kEventImageTransferred, [&](void*, int, int) {
        dib = c.ImageHandle();
        done = true;
    });
    c.SetAcquireEndCallback([&](const AcquireEnd&) { done = true; });
    c.StartAcquire();
    while (!done) c.WaitForEvents(1000);
    c.CloseSession();
    return dib;
}

void StepDibToImage(benchmark::State& state) {
    const auto dib = A4GreyDib();
    for (auto _ : state) {
        ImageBuffer image{};
        if (!dib || DibToImage(dib->data(), dib->size(), image) != 0) {
            state.SkipWithError("no image");
            break;
        }
        FreeImage(image);
    }
}

// Writes the image as an LZW page file (SaveTiff) once per iteration.
void TimeLzwPageFile(benchmark::State& state, const ImageBuffer& image, const char* name) {
    const std::string file = outputDir + "/" + name;
    for (auto _ : state)
        if (SaveTiff(file.c_str(), image, 1) != 0) {
            state.SkipWithError("not saved");
            break;
        }
    std::remove(file.c_str());
}

void StepSaveTiffLzw(benchmark::State& state) {
    const auto dib = A4GreyDib();
    ImageBuffer image{};
    if (!dib || DibToImage(dib->data(), dib->size(), image) != 0) {
        state.SkipWithError("no image");
        return;
    }
    TimeLzwPageFile(state, image, "step.tif");
    FreeImage(image);
}

// A page that is not uniform: white margins, lines of text-like grey noise. The LZW page file
// by our encoder (SaveTiff) and by libtiff's own, to show the encoder away from long runs.
ImageBuffer TextLikePage() {
    ImageBuffer page{};
    AllocateImage(page, 2480, 3507, 8);
    uint32_t seed = 12345;
    for (uint32_t y = 0; y < 3507; ++y) {
        uint8_t* row = RowPointer(page, y);
        std::memset(row, 0xFF, 2480);
        if (y > 300 && y < 3200 && y % 50 < 30)
            for (uint32_t x = 250; x < 2230; ++x) {
                seed = seed * 1103515245u + 12345u;
                row[x] = (seed >> 16) % 4 == 0 ? static_cast<uint8_t>(seed >> 8) : 0xF4;
            }
    }
    return page;
}

void TextPageLzwOurs(benchmark::State& state) {
    ImageBuffer page = TextLikePage();
    TimeLzwPageFile(state, page, "text.tif");
    FreeImage(page);
}

void TextPageLzwLibtiff(benchmark::State& state) {
    ImageBuffer page = TextLikePage();
    const std::string file = outputDir + "/text-libtiff.tif";
    std::vector<uint8_t> row(2480);
    for (auto _ : state) {
        TIFF* t = TIFFOpen(file.c_str(), "w");
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 2480u);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, 3507u);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
        for (uint32_t y = 0; y < 3507; ++y) {
            std::memcpy(row.data(), RowPointer(page, y), 2480);
            TIFFWriteScanline(t, row.data(), y, 0);
        }
        TIFFClose(t);
    }
    std::remove(file.c_str());
    FreeImage(page);
}
BENCHMARK(TextPageLzwOurs)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(TextPageLzwLibtiff)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

#ifdef VELLUMO_BENCH_THUMBNAIL
void StepThumbnail(benchmark::State& state) {
    const auto dib = A4GreyDib();
    ImageBuffer image{};
    if (!dib || DibToImage(dib->data(), dib->size(), image) != 0) {
        state.SkipWithError("no image");
        return;
    }
    vellumo::document::PageDocument document;
    for (auto _ : state)
        if (document.MakeThumbnail(image) != 0) {
            state.SkipWithError("no thumbnail");
            break;
        }
    FreeImage(image);
}
BENCHMARK(StepThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
#endif
BENCHMARK(StepDibToImage)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(StepSaveTiffLzw)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

// The same page with everything around it: SANE started, session opened, settings sent, page
// read, session closed (still without a file: the DIB is handed over in memory).
void ComponentA4GreyWholeSession(benchmark::State& state) {
    for (auto _ : state) {
        ScannerComponent c;
        c.CurrentSource(c.AddSource("test:0"));
        c.OpenSession();
        Put(c, kCapFeederEnabled, 0);
        Put(c, kCapPixelType, kPixelGray);
        Put(c, kCapXResolution, 300);
        Put(c, kCapYResolution, 300);
        c.SetImageLayout(0, 0, 8.28, 11.68);
        bool done = false;
        c.SetEventCallback(kEventImageTransferred, [&](void*, int, int) { done = true; });
        c.SetAcquireEndCallback([&](const AcquireEnd&) { done = true; });
        c.StartAcquire();
        while (!done) c.WaitForEvents(1000);
        c.CloseSession();
    }
}

void ScanimageA4GreyTiff(benchmark::State& state) {
    const std::string file = outputDir + "/page.tif";
    const std::string command = "SANE_CONFIG_DIR='" + configDir +
                                "' scanimage -d test:0 --mode Gray --depth 8 --resolution 300 "
                                "--source Flatbed -l 0 -t 0 -x 210 -y 297 --format=tiff -o '" +
                                file + "' 2>/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("scanimage failed");
            break;
        }
    }
}

BENCHMARK(ComponentA4Grey)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ComponentA4GreyToPageFile)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ComponentA4GreyWholeSession)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ScanimageA4GreyTiff)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

int main(int argc, char** argv) {
    char dirTemplate[] = "/tmp/vellumo-scan-bench-XXXXXX";
    if (!mkdtemp(dirTemplate)) return 1;
    configDir = dirTemplate;
    outputDir = dirTemplate;
    const char* source = std::getenv("VELLUMO_SOURCE_DIR");
    const std::string testConf =
        ReadAll(std::string(source ? source : VELLUMO_SOURCE_TREE) + "/res/sane/test.conf");
    std::ofstream(configDir + "/dll.conf") << "test\n";
    std::ofstream(configDir + "/test.conf") << testConf;
    setenv("SANE_CONFIG_DIR", configDir.c_str(), 1);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::remove((configDir + "/page.tif").c_str());
    std::remove((configDir + "/dll.conf").c_str());
    std::remove((configDir + "/test.conf").c_str());
    rmdir(configDir.c_str());
    return 0;
}

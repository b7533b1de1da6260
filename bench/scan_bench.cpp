// A 300 dpi A4 grey page from the SANE test scanner: our component from StartAcquire until the
// packed DIB is handed over, and scanimage writing the same page to a TIFF file, in one run.
// Both use the project's test scanner configuration with only the test back end loaded.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "imaging/image_buffer.h"
#include "scan/scanner_component.h"

namespace {

std::string configDir;
std::string outputDir;

void Put(ScannerComponent& c, int code, double value) {
    c.Capability(code);
    c.CapContainer(kContainerOneValue);
    c.CapValue(value);
    c.SetCapability();
}

void ComponentA4Grey(benchmark::State& state) {
    ScannerComponent c;
    c.CurrentSource(c.AddSource("test:0"));
    c.OpenSession();
    Put(c, kCapFeederEnabled, 0);
    Put(c, kCapPixelType, kPixelGray);
    Put(c, kCapXResolution, 300);
    Put(c, kCapYResolution, 300);
    c.SetImageLayout(0, 0, 8.28, 11.68);
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

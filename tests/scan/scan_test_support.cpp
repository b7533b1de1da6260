#include "scan_test_support.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/log.h"

using namespace vellumo::platform;
using namespace vellumo::imaging;
using namespace vellumo::scan;

namespace scantest {

namespace {

// The scan tests use the project's test scanner configuration (res/sane/test.conf) with only
// the test back end loaded, so that neither the machine's real scanners nor network discovery
// can change what the tests see or how long they take.
struct SaneTestConfiguration {
    testsupport::TempDir dir;
    SaneTestConfiguration() {
        testsupport::writeFile(dir.file("dll.conf"), "test\n");
        testsupport::writeFile(
            dir.file("test.conf"),
            testsupport::readFile(testsupport::sourceDir() + "/res/sane/test.conf"));
        setenv("SANE_CONFIG_DIR", dir.path().c_str(), 1);
    }
};
SaneTestConfiguration saneConfiguration;

}  // namespace

std::string SaneConfigDir() {
    return saneConfiguration.dir.path();
}

SaneBackendsInUse::SaneBackendsInUse(const std::string& dllConf) {
    testsupport::writeFile(saneConfiguration.dir.file("dll.conf"), dllConf);
}

SaneBackendsInUse::~SaneBackendsInUse() {
    testsupport::writeFile(saneConfiguration.dir.file("dll.conf"), "test\n");
}

void OpenTestDevice(ScannerComponent& component, const std::string& device) {
    component.CurrentSource(component.AddSource(device));
    component.OpenSession();
}

Acquisition Acquire(ScannerComponent& component, int timeoutMs) {
    Acquisition a;
    bool done = false;
    component.SetEventCallback(kEventImageTransferred, [&](void*, int, int) {
        a.images.push_back(component.ImageHandle());
        a.pendingAfterEach.push_back(component.PendingTransfers());
        if (component.PendingTransfers() == 0) done = true;
    });
    component.SetAcquireEndCallback([&](const AcquireEnd& end) {
        a.end = end;
        done = true;
    });
    component.StartAcquire();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            a.timedOut = true;
            component.CloseSession();
            break;
        }
        component.WaitForEvents(static_cast<int>(std::min<long long>(left.count(), 200)));
    }
    return a;
}

BitmapInfoHeader DibHeader(const std::vector<uint8_t>& dib) {
    BitmapInfoHeader h{};
    if (dib.size() >= sizeof h) std::memcpy(&h, dib.data(), sizeof h);
    return h;
}

const RgbQuad* DibPalette(const std::vector<uint8_t>& dib) {
    return reinterpret_cast<const RgbQuad*>(dib.data() + sizeof(BitmapInfoHeader));
}

const uint8_t* DibRow(const std::vector<uint8_t>& dib, int yFromTop) {
    const BitmapInfoHeader h = DibHeader(dib);
    const size_t palette = h.biBitCount <= 8 ? (size_t{1} << h.biBitCount) * sizeof(RgbQuad) : 0;
    const uint32_t rowBytes = RowBytesFor(static_cast<uint32_t>(h.biWidth), h.biBitCount);
    return dib.data() + sizeof h + palette +
           static_cast<size_t>(h.biHeight - 1 - yFromTop) * rowBytes;
}

LogCapture::LogCapture() : savedOn_(loggingOn), savedPath_(logPath) {
    loggingOn = 1;
    logPath = dir_.file("Vellumo_log.mdm");
}

LogCapture::~LogCapture() {
    loggingOn = savedOn_;
    logPath = savedPath_;
}

std::vector<std::string> LogCapture::lines() const {
    std::vector<std::string> out;
    for (const std::string& line : allLines())
        if (line.rfind("SANE: ", 0) != 0) out.push_back(line);
    return out;
}

std::vector<std::string> LogCapture::allLines() const {
    std::vector<std::string> out;
    std::istringstream in(testsupport::readFile(logPath));
    std::string line;
    // "MM/DD/YY HH:MM:SS - " in front of each line.
    // A message with a line break inside goes on in a line of its own, without a stamp.
    while (std::getline(in, line)) {
        const bool stamped = line.size() >= 20 && line[2] == '/' && line[5] == '/' &&
                             line.compare(17, 3, " - ") == 0;
        out.push_back(stamped ? line.substr(20) : line);
    }
    return out;
}

void RecordingUi::MessageBox(const std::string& text, MessageIcon icon) {
    calls.push_back(std::string(icon == MessageIcon::Exclamation ? "warning: " : "message: ") +
                    text);
}

void RecordingUi::PumpMessages() {
    ++pumps;
    calls.push_back("pump");
    if (onPump) onPump(pumps);
}

int RecordingUi::count(const std::string& call) const {
    int n = 0;
    for (const std::string& c : calls) n += c == call;
    return n;
}

}  // namespace scantest

// SANE unloads its back ends at sane_exit. In the tests they stay loaded, so that a leak inside
// a back end shows its library's name and can be told apart from ours. Every test still starts
// SANE afresh. (Sanitizer builds keep them loaded in the program itself.)
#ifndef VELLUMO_KEEP_BACK_ENDS_LOADED
extern "C" int dlclose(void*) {
    return 0;
}
#endif

// Leaks of the back ends themselves, not ours: the SANE test back end's reader thread keeps its
// buffer when sane_cancel stops it; the escl back end never frees its capabilities, option
// texts and parsed XML (libxml2); sane-airscan and the net back end keep a little per device.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libsane-test.so\n"
           "leak:libsane-escl.so\n"
           "leak:libsane-airscan.so\n"
           "leak:libsane-net.so\n"
           "leak:libxml2.so\n";
}

// Shared by the scan tests: the SANE test scanner, a UI that records what the session asks of
// the windows, the log file read back, and whole acquisitions run to their end.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/image_buffer.h"
#include "sane_test_config.h"
#include "scan/scan_session.h"
#include "scan/scanner_component.h"
#include "support/test_support.h"

namespace scantest {
using namespace vellumo::imaging;
using namespace vellumo::scan;

// Opens a session on a device of the SANE test back end, without discovery.
void OpenTestDevice(vellumo::scan::ScannerComponent& component,
                    const std::string& device = "test:0");

// One finished acquisition.
struct Acquisition {
    std::vector<std::shared_ptr<const std::vector<uint8_t>>> images;
    std::vector<int> pendingAfterEach;
    std::optional<vellumo::scan::AcquireEnd> end;
    bool timedOut = false;
};
// Starts an acquisition and runs the component's event loop until it has ended (an image with
// no pending transfers, or an end event), or until the time limit.
Acquisition Acquire(vellumo::scan::ScannerComponent& component, int timeoutMs = 60000);

// The header of a packed DIB.
vellumo::imaging::BitmapInfoHeader DibHeader(const std::vector<uint8_t>& dib);
const vellumo::imaging::RgbQuad* DibPalette(const std::vector<uint8_t>& dib);
const uint8_t* DibRow(const std::vector<uint8_t>& dib, int yFromTop);

// Captures the program's log in a temporary file; lines come back without their time stamps.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    // The program's own lines, without the component's trace of SANE calls.
    std::vector<std::string> lines() const;
    std::vector<std::string> allLines() const;

private:
    testsupport::TempDir dir_;
    int savedOn_;
    std::string savedPath_;
};

// Records every request of the session as one line.
class RecordingUi : public vellumo::scan::ScanUi {
public:
    std::vector<std::string> calls;
    std::optional<PrinterInfo> printer = PrinterInfo{"PDF", true};
    // Called at every pump with its number (1, 2, ...); may set cancelRequested.
    std::function<void(int)> onPump;
    int pumps = 0;
    int scanFinished = 0;

    void MessageBox(const std::string& text, MessageIcon icon) override;
    void Beep() override { calls.push_back("beep"); }
    void ShowWaitCursor() override { calls.push_back("wait cursor"); }
    void SetActivityText(const std::string& text) override { calls.push_back("text: " + text); }
    void ShowActivity() override { calls.push_back("show activity"); }
    void HideActivity() override { calls.push_back("hide activity"); }
    void ShowCancelButton(bool show) override {
        calls.push_back(show ? "cancel button" : "no cancel button");
    }
    void EnableMainWindow(bool enable) override { calls.push_back(enable ? "enable" : "disable"); }
    void PumpMessages() override;
    std::optional<PrinterInfo> DefaultPrinter() override { return printer; }
    void PostScanFinished() override {
        ++scanFinished;
        calls.push_back("scan finished");
    }
    int count(const std::string& call) const;
};

}  // namespace scantest

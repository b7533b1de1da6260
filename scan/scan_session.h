// The scan session without its windows: opening the source, sending the scan settings in their
// fixed order with a log line for every step, starting the acquisition, and the report of a
// failed component call. The main window and the command line both run it, each with its own
// ScanUi.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/cancel.h"
#include "scan/scanner_component.h"

namespace vellumo::scan {

// Program-wide scan state.
extern std::string currentSourceName;  // product name of the source the last scan opened
extern std::string errorContext;       // text naming the step in progress

enum class MessageIcon { None, Exclamation };

struct PrinterInfo {
    std::string deviceName;
    bool paperIsA4 = false;
};

// What the session needs of the windows around it.
class ScanUi {
public:
    virtual ~ScanUi() = default;
    // A message box with the caption "Vellumo" and an OK button.
    virtual void MessageBox(const std::string& text, MessageIcon icon) = 0;
    virtual void Beep() = 0;
    virtual void ShowWaitCursor() = 0;
    virtual void SetActivityText(const std::string& text) = 0;
    virtual void ShowActivity() = 0;
    virtual void HideActivity() = 0;
    virtual void ShowCancelButton(bool show) = 0;
    virtual void EnableMainWindow(bool enable) = 0;
    // Lets pending window messages through (a click on Cancel sets cancelRequested).
    virtual void PumpMessages() = 0;
    // The default printer without a dialog; none when there is no default printer.
    virtual std::optional<PrinterInfo> DefaultPrinter() = 0;
    // Posts the "scan finished" message to the main window.
    virtual void PostScanFinished() = 0;
};

// Reads a text setting from the settings store (name, default) and writes one.
struct SettingsAccess {
    std::function<std::string(const std::string& name, const std::string& defaultValue)> getText;
    std::function<void(const std::string& name, const std::string& value)> setText;
};

struct ScanSettings {
    int scanMode = 0;         // "nType": 0 black and white, 1 grey, 2 colour
    int brightnessLevel = 3;  // "nBright": 0 (bright) to 6 (dark)
    int duplex = 0;           // "Duplex"
    int noFeeder = 0;         // "ADF": 1 when the user disabled the feeder
    // Reads "ResBW", "ResGrey" or "ResColor" at every scan.
    std::function<std::string(const std::string& name, const std::string& defaultValue)> getText;
};

// The resolution setting of a colour mode as the session sends it: the leading decimal integer
// of the stored text; a colour mode outside 0 to 2 gives 300.
int ScanResolution(const ScanSettings& settings);
// Brightness step 1 (darkest) to 7 (brightest) of a brightness level 0 to 6: 7 - level.
int BrightnessStep(int brightnessLevel);
// The brightness value sent for a step, by the capability's container kind.
int BrightnessValue(int step, int container, double capMin, double capMax);

// Text of a failed component call: "code: description".
std::string ComponentErrorText(const ScannerError& error);
// Reports a failed component call (message box and log, or quietly for HP's error 5).
void ReportComponentError(const ScannerError& error, ScanUi& ui);

// Sets up the scanner and starts the acquisition. Returns true when the acquisition runs: the
// main window stays disabled and images arrive through the component's events.
bool OnScanPage(ScannerComponent& component, ScanUi& ui, const ScanSettings& settings);

// An acquisition that stopped without its last image: reports a failure, then ends the scan.
void OnAcquireEnded(const AcquireEnd& end, ScanUi& ui);
// The end of a scan (the "scan finished" message): log, close the session, give the main window
// back.
void FinishScan(ScannerComponent& component, ScanUi& ui);

}  // namespace vellumo::scan

#include "scan/scan_session.h"

#include <cstdio>
#include <cstdlib>

#include "platform/log.h"
#include "scan/log_capability.h"

namespace vellumo::scan {

using namespace vellumo::platform;

std::string currentSourceName;
std::string errorContext;

namespace {

constexpr size_t kMaxSourceName = 255;
constexpr size_t kMaxErrorText = 200;

std::string Printf(const char* format, int value) {
    char line[256];
    std::snprintf(line, sizeof line, format, value);
    return line;
}

// Cuts a UTF-8 text to at most `limit` bytes without splitting a character.
std::string Cut(const std::string& text, size_t limit) {
    if (text.size() <= limit) return text;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

int ToLayout(double inches) {
    const double v = inches * 1000;
    if (!(v > -2e9 && v < 2e9)) return 0;
    return static_cast<int>(v);
}

// Sets the selected capability: one value, then SetCapability.
void Send(ScannerComponent& c, int code, double value) {
    c.Capability(code);
    c.CapContainer(kContainerOneValue);
    c.CapValue(value);
    c.SetCapability();
}

bool Supported(ScannerComponent& c, int code) {
    c.Capability(code);
    return c.CapSupported();
}

// A scan that ends before its acquisition runs: the source is released at once, so that it is
// free for other programs until the next scan.
void EndSetUp(ScannerComponent& c, ScanUi& ui) {
    c.CloseSession();
    ui.HideActivity();
    ui.EnableMainWindow(true);
}

}  // namespace

int ScanResolution(const ScanSettings& settings) {
    static const char* const names[] = {"ResBW", "ResGrey", "ResColor"};
    static const char* const defaults[] = {"300", "150", "150"};
    if (settings.scanMode < 0 || settings.scanMode > 2 || !settings.getText) return 300;
    const std::string text =
        settings.getText(names[settings.scanMode], defaults[settings.scanMode]);
    // The leading decimal integer; nothing readable gives 0.
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > 1000000 || value < -1000000) return 0;
    return static_cast<int>(value);
}

int BrightnessStep(int brightnessLevel) {
    const int level = brightnessLevel < 0 ? 0 : brightnessLevel > 6 ? 6 : brightnessLevel;
    return 7 - level;
}

int BrightnessValue(int step, int container, double capMin, double capMax) {
    if (container == kContainerRange) {
        const int min = static_cast<int>(capMin), max = static_cast<int>(capMax);
        if (step <= 1) return min;
        if (step >= 7) return max;
        if (step == 4) return (min + max) / 2;
        return min + (step - 1) * ((max - min) / 6);
    }
    if (container == kContainerEnumeration) {
        if (step <= 1) return -1000;
        if (step >= 7) return 1000;
        if (step == 4) return 0;
        return ((step - 1) * 1000) / 3 - 1000;
    }
    return 0;
}

std::string ComponentErrorText(const ScannerError& error) {
    const unsigned low = static_cast<unsigned>(error.status()) & 0xFFFFu;
    if (low == kComponentStatus)
        return std::to_string(error.ErrorCode()) + ": " + Cut(error.ErrorText(), kMaxErrorText);
    std::string description = Cut(error.ErrorText(), kMaxErrorText);
    // The first line break, "\r\n" or "\n", becomes a space.
    const size_t lf = description.find('\n');
    if (lf != std::string::npos) {
        const size_t start = (lf > 0 && description[lf - 1] == '\r') ? lf - 1 : lf;
        description = description.substr(0, start) + " " + description.substr(lf + 1);
    }
    return std::to_string(low) + ": " + description;
}

namespace {
// HP sources report this at the end of every feeder run: not worth a message.
bool IsQuietError(const std::string& text) {
    return text.rfind("5: Source or Source Manager", 0) == 0 &&
           currentSourceName.rfind("HP", 0) == 0;
}
}  // namespace

void ReportComponentError(const ScannerError& error, ScanUi& ui) {
    const std::string text = ComponentErrorText(error);
    if (IsQuietError(text)) {
        WriteLog(errorContext + text + "\n");
        WriteLog("Error 5!\n");
        ui.PostScanFinished();
        return;
    }
    errorContext += text;
    ui.Beep();
    ui.MessageBox(errorContext, MessageIcon::Exclamation);
    WriteLog(errorContext + "\n");
}

bool OnScanPage(ScannerComponent& c, ScanUi& ui, const ScanSettings& settings) {
    ui.ShowWaitCursor();
    const int resolution = ScanResolution(settings);

    WriteLog("Opening TWAIN session\n");
    try {
        c.OpenSession();
    } catch (const ScannerError&) {
        ui.MessageBox("Error opening TWAIN session", MessageIcon::Exclamation);
        return false;
    }
    WriteLog("TWAIN session opened successfully\n");

    std::string name;
    try {
        name = Cut(c.SourceName(c.CurrentSource()), kMaxSourceName);
    } catch (const ScannerError& e) {
        ReportComponentError(e, ui);
        c.CloseSession();
        return false;
    }
    currentSourceName = name;
    WriteLog(name + "\n");

    cancelRequested = 0;
    ui.ShowCancelButton(true);
    ui.ShowActivity();
    ui.EnableMainWindow(false);
    ui.SetActivityText("Setting up scanner " + name + " ....");
    ui.PumpMessages();
    if (cancelRequested) {
        WriteLog("Cancelled\n");
        EndSetUp(c, ui);
        return false;
    }

    // Units and pixel type: without them the images would not be what the user asked for.
    try {
        WriteLog(Printf("Setting current units to: %d\n", 0));
        errorContext = "Error while setting units:\n";
        if (Supported(c, kCapUnits)) LogCapability(c, "Before");
        Send(c, kCapUnits, 0);
        if (Supported(c, kCapUnits)) LogCapability(c, "After");

        WriteLog(Printf("Setting pixel type to: %d\n", settings.scanMode));
        const bool pixelSupported = Supported(c, kCapPixelType);
        if (pixelSupported) LogCapability(c, "Before");
        errorContext = "Error while setting pixel type:\n";
        Send(c, kCapPixelType, settings.scanMode);
        if (Supported(c, kCapPixelType)) LogCapability(c, "After");
    } catch (const ScannerError& e) {
        ReportComponentError(e, ui);
        EndSetUp(c, ui);
        return false;
    }

    // Everything from here on is best effort: a failure is logged and the scan goes on.
    const struct {
        int code;
        const char* setting;
        const char* unsupported;
    } resolutions[] = {{kCapXResolution, "Setting X resolution to: %d\n",
                        "X Resolution capability not supported\n"},
                       {kCapYResolution, "Setting Y resolution to: %d\n",
                        "Y Resolution capability not supported\n"}};
    for (const auto& r : resolutions) {
        WriteLog(Printf(r.setting, resolution));
        try {
            if (Supported(c, r.code)) {
                LogCapability(c, "Before");
                errorContext = "Error while setting resolution:\n";
                Send(c, r.code, resolution);
                LogCapability(c, "After");
            } else {
                WriteLog(r.unsupported);
            }
        } catch (const ScannerError&) {
            WriteLog(errorContext);
        }
    }

    try {
        if (Supported(c, kCapBrightness)) {
            const int value = BrightnessValue(BrightnessStep(settings.brightnessLevel),
                                              c.CapContainer(), c.CapMin(), c.CapMax());
            WriteLog(Printf("Setting brightness to: %d\n", value));
            LogCapability(c, "Before");
            errorContext = Printf("Error while setting brightness to %d\n", value);
            Send(c, kCapBrightness, value);
            LogCapability(c, "After");
        } else {
            WriteLog("Brightness capability not supported\n");
        }
    } catch (const ScannerError&) {
        WriteLog(errorContext);
    }

    WriteLog("Setting duplex scanning\n");
    bool duplexAvailable = false;
    try {
        duplexAvailable = Supported(c, kCapDuplex);
    } catch (const ScannerError&) {
    }
    if (duplexAvailable) {
        WriteLog("Duplex mode supported\n");
        try {
            if (Supported(c, kCapDuplexEnabled)) {
                LogCapability(c, "Before");
                Send(c, kCapDuplexEnabled, settings.duplex == 1 ? 1 : 0);
                LogCapability(c, "After");
            } else {
                WriteLog("Enable/disable duplex mode not supported\n");
            }
        } catch (const ScannerError&) {
            WriteLog("Couldn't enable/disable duplex mode\n");
        }
    } else if (settings.duplex == 1) {
        ui.MessageBox("Scanner doesn't support duplex mode", MessageIcon::None);
        WriteLog("Scanner doesn't support duplex mode\n");
    }

    // The frame in thousandths of an inch, so that the log shows the sizes exactly.
    int width = 8480, height = 10980;  // Letter
    const std::optional<PrinterInfo> printer = ui.DefaultPrinter();
    if (!printer) {
        WriteLog("No default printer found, scanning Letter format\n");
    } else {
        WriteLog("Default printer: " + printer->deviceName + "\n");
        if (printer->paperIsA4) {
            WriteLog("Printer is set to A4, so scanning A4 format\n");
            width = 8280;
            height = 11680;
        } else {
            WriteLog("Scanning Letter format\n");
        }
    }
    auto logLayout = [&](const char* label) {
        try {
            double l, t, r, b;
            c.GetImageLayout(l, t, r, b);
            char line[256];
            std::snprintf(line, sizeof line, "%s: (%d, %d, %d, %d)\n", label, ToLayout(l),
                          ToLayout(t), ToLayout(r), ToLayout(b));
            WriteLog(line);
        } catch (const ScannerError&) {
        }
    };
    logLayout("Image layout before");
    {
        char line[256];
        std::snprintf(line, sizeof line, "Setting image layout to: (%d, %d, %d, %d)\n", 0, 0, width,
                      height);
        WriteLog(line);
    }
    errorContext = "Error while setting image layout: capability not supported\n";
    try {
        c.SetImageLayout(0, 0, width / 1000.0, height / 1000.0);
    } catch (const ScannerError&) {
        WriteLog(errorContext);
    }
    logLayout("Image layout after");

    try {
        if (!Supported(c, kCapUiControllable))
            WriteLog("Scanner driver does not support TWCAP_UICONTROLLABLE\n");
    } catch (const ScannerError&) {
        WriteLog("Scanner driver does not support TWCAP_UICONTROLLABLE\n");
    }
    try {
        c.ShowUI(false);
    } catch (const ScannerError&) {
        WriteLog("Vellumo cannot switch off scanner driver's user interface\n");
    }

    ui.SetActivityText("Scanning from " + name + " ....");

    int transferCount = -1;
    try {
        Send(c, kCapFeederEnabled, settings.noFeeder == 1 ? 0 : 1);
    } catch (const ScannerError&) {
        if (settings.noFeeder == 1) transferCount = 1;
        WriteLog("No ADF found\n");
    }
    if (settings.noFeeder == 0) {
        WriteLog("Should use ADF\n");
        try {
            Send(c, kCapAutoFeed, 1);
        } catch (const ScannerError&) {
            transferCount = -1;
            WriteLog("Could not switch on ADF\n");
        }
    } else {
        WriteLog("Should not use ADF\n");
        try {
            Send(c, kCapAutoFeed, 0);
        } catch (const ScannerError&) {
            WriteLog("Could not switch off ADF\n");
        }
        transferCount = 1;
    }

    WriteLog(Printf("Setting XferCount to: %d\n", transferCount));
    errorContext = "Error while setting XferCount\n";
    try {
        Send(c, kCapTransferCount, transferCount);
    } catch (const ScannerError&) {
        WriteLog(errorContext);
    }

    ui.PumpMessages();
    if (cancelRequested) {
        WriteLog("cancelled\n");
        EndSetUp(c, ui);
        return false;
    }

    WriteLog("Start acquire\n");
    errorContext = "Error while scanning:\n";
    try {
        c.StartAcquire();
    } catch (const ScannerError& e) {
        ReportComponentError(e, ui);
        EndSetUp(c, ui);
        return false;
    }
    return true;
}

void OnAcquireEnded(const AcquireEnd& end, ScanUi& ui) {
    if (end.error) {
        errorContext = "Error while scanning:\n";
        ReportComponentError(*end.error, ui);
        if (IsQuietError(ComponentErrorText(*end.error))) return;  // it has posted the end already
    } else {
        WriteLog("Scan cancelled\n");
    }
    ui.PostScanFinished();
}

void FinishScan(ScannerComponent& component, ScanUi& ui) {
    WriteLog("All images processed\n");
    component.CloseSession();
    ui.HideActivity();
    ui.EnableMainWindow(true);
}

}  // namespace vellumo::scan

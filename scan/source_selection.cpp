#include "scan/source_selection.h"

#include <cstring>

#include "platform/log.h"

namespace vellumo::scan {

using namespace vellumo::platform;

namespace {

constexpr size_t kMaxSourceName = 255;
constexpr size_t kSameSourceBytes = 32;

std::string Cut(const std::string& text) {
    if (text.size() <= kMaxSourceName) return text;
    size_t end = kMaxSourceName;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace

bool SameSource(const std::string& a, const std::string& b) {
    return std::strncmp(a.c_str(), b.c_str(), kSameSourceBytes) == 0;
}

bool SelectStartupSource(ScannerComponent& c, ScanUi& ui, const SettingsAccess& settings,
                         void* mainWindow, ScanEventCallback onTransfer) {
    c.ParentWindow(mainWindow);
    c.SetEventCallback(kEventImageTransferred, std::move(onTransfer), mainWindow);
    if (loggingOn) c.TraceLog(1);

    try {
        c.OpenSourceManager();
    } catch (const ScannerError& e) {
        ReportComponentError(e, ui);
        return false;
    }
    const std::string stored =
        settings.getText ? settings.getText("CurrentDevice", "") : std::string();
    WriteLog("Current source was " + stored + "\n");

    bool haveCurrent = true;
    int current = -1;
    try {
        current = c.CurrentSource();
    } catch (const ScannerError&) {
        haveCurrent = false;
    }
    if (haveCurrent) {
        try {
            const int n = c.SourceCount();
            WriteLog("Found " + std::to_string(n) + " TWAIN sources:\n");
            for (int i = 0; i < n; ++i) {
                const std::string name = Cut(c.SourceName(i));
                WriteLog(std::to_string(i + 1) + ": " + name + "\n");
                if (SameSource(name, stored) && current != i) {
                    errorContext = "Error while selecting data source:\n";
                    try {
                        c.CurrentSource(i);
                        current = i;
                    } catch (const ScannerError& e) {
                        ReportComponentError(e, ui);
                        return false;
                    }
                }
            }
            const std::string now = Cut(c.SourceName(c.CurrentSource()));
            WriteLog("Current source now " + now + "\n");
            if (settings.setText) settings.setText("CurrentDevice", now);
        } catch (const ScannerError& e) {
            // The source list could not be read: say so, and start without a stored choice.
            ReportComponentError(e, ui);
        }
    }
    c.CloseSession();
    return true;
}

void ReportPageComponentError(const ScannerError& error, ScanUi& ui) {
    ui.Beep();
    ui.MessageBox(ComponentErrorText(error), MessageIcon::Exclamation);
}

std::optional<std::string> CurrentDeviceText(ScannerComponent& c, ScanUi& ui) {
    try {
        c.OpenSourceManager();
    } catch (const ScannerError& e) {
        ReportPageComponentError(e, ui);
        return std::nullopt;
    }
    std::string text;
    try {
        text = Cut(c.SourceName(c.CurrentSource()));
    } catch (const ScannerError&) {
        return std::string();
    }
    c.CloseSession();
    return text;
}

std::string SelectDevice(ScannerComponent& c, const SettingsAccess& settings) {
    try {
        c.SelectSource();
    } catch (const ScannerError&) {
        // Cancelled or failed: the stored choice stays as it was.
        return {};
    }
    std::string name;
    try {
        c.OpenSourceManager();
        name = Cut(c.SourceName(c.CurrentSource()));
    } catch (const ScannerError&) {
        c.CloseSession();
        return {};
    }
    c.CloseSession();
    if (settings.setText) settings.setText("CurrentDevice", name);
    return name;
}

}  // namespace vellumo::scan

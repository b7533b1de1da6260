// Which scanner the program uses: the source stored by product name in "CurrentDevice" is
// selected again at every start, the General preferences page shows the current one, and its
// "Select device" button lets the user choose another.
#pragma once

#include <optional>
#include <string>

#include "scan/scan_session.h"
#include "scan/scanner_component.h"

namespace vellumo::scan {

// Two names are the same source when their first 32 bytes agree.
bool SameSource(const std::string& a, const std::string& b);

// The start-up selection. `onTransfer` becomes the image event's callback, with `mainWindow` as
// owner. Returns false when the source manager could not be opened or the stored source could
// not be selected (the main window then skips the rest of its start-up).
bool SelectStartupSource(ScannerComponent& component, ScanUi& ui, const SettingsAccess& settings,
                         void* mainWindow, ScanEventCallback onTransfer);

// The error report of the preferences page: "code: description" in a message box, no log.
void ReportPageComponentError(const ScannerError& error, ScanUi& ui);

// The General page's "Current device" field: the name to show, or none when the field is to
// be left as it is (the source manager failed and was reported).
std::optional<std::string> CurrentDeviceText(ScannerComponent& component, ScanUi& ui);

// "Select device": the source dialog, then the chosen name. Returns the text for the field;
// "CurrentDevice" is written only when a source was really chosen.
std::string SelectDevice(ScannerComponent& component, const SettingsAccess& settings);

}  // namespace vellumo::scan

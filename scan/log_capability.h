// Writes the state of the scanner capability currently selected in the component to the log,
// one line introduced by a label, in the format of the capability's container kind.
#pragma once

#include <string>

namespace vellumo::scan {

class ScannerComponent;

// A capability value as the log shows it: truncated toward zero, held at the limits of int.
int TruncateCapValue(double value);

// The line LogCapability writes (empty for a container kind it does not know). Numbers are the
// component's values truncated toward zero.
std::string CapabilityLogLine(ScannerComponent& component, const std::string& label);
// Throws ScannerError when the component fails while it is asked.
void LogCapability(ScannerComponent& component, const std::string& label);

}  // namespace vellumo::scan

// The component's failures as ScannerErrors: its own (status kComponentStatus) and those SANE
// reports. A scan that stops at the scanner (a jam, an empty feeder, a scanner gone from the
// network) is told in words a user can act on, not as SANE's bare status.
#pragma once

#include <sane/sane.h>

#include <string>

#include "scan/scanner_component.h"

namespace vellumo::scan::sane {

[[noreturn]] void ThrowOwn(int code, const std::string& text);
// A failed SANE call with SANE's own description of the status.
ScannerError SaneError(SANE_Status status);
[[noreturn]] void ThrowSane(SANE_Status status);
// A scan that the scanner stopped: the SANE status as code, the text for the user.
ScannerError ScanStopped(SANE_Status status);
// " = <SANE's description>", for the trace lines.
std::string TraceResult(SANE_Status status);

// A status a back end returned, as one of SANE's: the net back end returns values outside the
// enumeration when its server has gone (an unset reply), which count as an I/O error. Taking the
// call's result as an int keeps the stray value out of a SANE_Status variable.
SANE_Status KnownStatus(int status);

}  // namespace vellumo::scan::sane

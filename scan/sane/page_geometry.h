// The page frame on a SANE device, in inches from the top-left corner of the scan area, on the
// device's corner options (top-left and bottom-right, in millimetres, or in pixels where the
// option-mapping table allows converting them with the resolution).
#pragma once

#include "scan/sane/option_access.h"

namespace vellumo::scan::sane {

void GetPageFrame(SaneOptions& options, double& left, double& top, double& right, double& bottom);
// Throws ScannerError for an empty frame and for a device without usable corner options.
void SetPageFrame(SaneOptions& options, double left, double top, double right, double bottom);

}  // namespace vellumo::scan::sane

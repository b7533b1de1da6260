// The scanning code's way to the dialog seam (message boxes, the default printer). Kept apart
// because the seam's own types share names with the scan session's.
#pragma once

#include <string>

class QWidget;

// A message box with the caption "Vellumo" and an OK button, with or without the exclamation
// icon.
void ShowScanMessage(QWidget* parent, const std::string& text, bool exclamation);

struct ScanPrinter {
    bool found = false;
    std::string name;
    bool paperIsA4 = false;
};
// The default printer, asked without a dialog.
ScanPrinter QueryScanPrinter();

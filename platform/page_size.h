// The scan page size that follows the default printer. The settings reader of "PageSize" takes
// printerPageSize as its default; it stays 0 (Letter) until ComputePrinterPageSize has run once
// in this process.
#pragma once

namespace vellumo::platform {

// 0 Letter, 1 A4, 2 Legal, 3 A3.
enum PageSizeValue { kPageLetter = 0, kPageA4 = 1, kPageLegal = 2, kPageA3 = 3 };

// The process-wide default of "PageSize".
extern int printerPageSize;

// Asks for the default printer (through the dialog seam), logs what it found, stores the page
// size in printerPageSize and returns it: no printer gives A4; Letter, Legal and A3 paper give
// their size; any other paper A4.
int ComputePrinterPageSize();

// The page frame of a scan, which knows only A4 and Letter: true for A4 when the default
// printer has A4 paper; no printer or any other paper gives Letter. Logs what it found.
bool ScanFrameIsA4();

}  // namespace vellumo::platform

#include "platform/page_size.h"

#include "platform/dialogs.h"
#include "platform/log.h"

namespace vellumo::platform {

int printerPageSize = 0;

int ComputePrinterPageSize() {
    const PrinterInfo printer = Dialogs()->defaultPrinter();
    int size;
    if (!printer.found) {
        WriteLog("No default printer found, scanning A4 format\n");
        size = kPageA4;
    } else {
        WriteLogF("Default printer: %s\n", printer.name.c_str());
        switch (printer.paper) {
            case PaperSize::Letter:
                WriteLog("Printer is set to Letter, so scanning Letter format\n");
                size = kPageLetter;
                break;
            case PaperSize::Legal:
                WriteLog("Printer is set to Legal, so scanning Legal format\n");
                size = kPageLegal;
                break;
            case PaperSize::A3:
                WriteLog("Scanning A3 format\n");
                size = kPageA3;
                break;
            default:
                WriteLog("Scanning A4 format\n");
                size = kPageA4;
                break;
        }
    }
    printerPageSize = size;
    return size;
}

bool ScanFrameIsA4() {
    const PrinterInfo printer = Dialogs()->defaultPrinter();
    if (!printer.found) {
        WriteLog("No default printer found, scanning Letter format\n");
        return false;
    }
    WriteLogF("Default printer: %s\n", printer.name.c_str());
    if (printer.paper == PaperSize::A4) {
        WriteLog("Printer is set to A4, so scanning A4 format\n");
        return true;
    }
    WriteLog("Scanning Letter format\n");
    return false;
}

}  // namespace vellumo::platform

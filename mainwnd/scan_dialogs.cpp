#include "mainwnd/scan_dialogs.h"

#include "platform/dialogs.h"

using namespace vellumo::platform;

void ShowScanMessage(QWidget* parent, const std::string& text, bool exclamation) {
    MessageBox(parent, QString::fromStdString(text),
               exclamation ? MessageIcon::Exclamation : MessageIcon::None, MessageButtons::Ok);
}

ScanPrinter QueryScanPrinter() {
    const PrinterInfo printer = Dialogs()->defaultPrinter();
    ScanPrinter result;
    result.found = printer.found;
    result.name = printer.name;
    result.paperIsA4 = printer.found && printer.paper == PaperSize::A4;
    return result;
}

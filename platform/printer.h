// The default printer and its paper, from CUPS: what the program asks for when it derives the
// scan page size from the printer. Qt-free.
#pragma once

#include <string>

namespace vellumo::platform {

enum class PaperSize { Letter, Legal, A3, A4, Other };

struct PrinterInfo {
    bool found = false;  // false: there is no default printer (or no print system at all)
    std::string name;    // the destination's name ("Office" or "Office/duplex" for an instance)
    std::string media;   // the default media as CUPS names it ("na_letter_8.5x11in", "A4", ...)
    PaperSize paper = PaperSize::Other;
};

// The paper a media names. PWG and PPD names are recognised by their size part; anything else
// by its physical size (hundredths of a millimetre, 0 when unknown) within 2 mm, because CUPS
// rounds sizes that are defined in points (A4 comes as 209.90 x 297.04 mm).
PaperSize PaperFromMedia(const std::string& media, int widthHmm, int lengthHmm);

// The default destination of the print system (CUPS_SERVER, lpoptions and the server's
// default are honoured as CUPS does) and its default media.
PrinterInfo QueryDefaultPrinter();

}  // namespace vellumo::platform

// Black-and-white (and other two-colour) images in a PDF: the rows are coded as JBIG2 and as
// CCITT G4, as the chosen coding allows, and the smallest stream is written, or the image's own
// coded data (a G4 strip, a PNG's data) when that is smaller still. Memory holds the coded
// streams only, never the bitmap.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pdf/pdf_writer.h"

namespace vellumo::pdf {

class Jbig2Encoder;

enum class BilevelCoding {
    Auto,   // the smallest of JBIG2, G4 and the image's own coding
    Jbig2,  // always JBIG2
    G4,     // always CCITT G4
};

// "auto", "jbig2" or "g4"; false for anything else.
bool ParseBilevelCoding(const std::string& text, BilevelCoding& coding);

class BilevelImageWriter {
public:
    BilevelImageWriter(int width, int height, BilevelCoding coding);
    ~BilevelImageWriter();
    BilevelImageWriter(const BilevelImageWriter&) = delete;
    BilevelImageWriter& operator=(const BilevelImageWriter&) = delete;

    // A coding of the same image the file already holds, of the given size, that write can
    // copy as a whole stream object; isG4: it is CCITT G4, so the writer need not make its own
    // G4 and the G4 coding may use it; name: what coding reports when it is chosen. Call
    // before the first row.
    void offerOriginal(uint64_t bytes, bool isG4,
                       std::function<bool(PdfWriter& writer, int object)> write,
                       const std::string& name);

    // The next row: (width + 7) / 8 bytes, most significant bit first, 1 = foreground (black).
    void addRow(const uint8_t* row);

    // Writes the smallest allowed coding as stream object number object. colourSpace: empty for
    // black and white (/DeviceGray, black = foreground), else a two-entry colour space whose
    // entry 0 is the foreground colour. coding receives "JBIG2", "G4" or the original's name.
    bool write(PdfWriter& writer, int object, const std::string& colourSpace, std::string& coding);

private:
    int width_, height_;
    BilevelCoding coding_;
    std::unique_ptr<Jbig2Encoder> jbig2_;
    std::vector<uint8_t> jbig2Data_;
    class G4Buffer;
    std::unique_ptr<G4Buffer> g4_;
    uint64_t originalBytes_ = 0;
    std::function<bool(PdfWriter&, int)> writeOriginal_;
    std::string originalName_;
};

}  // namespace vellumo::pdf

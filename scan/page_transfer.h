// One transferred scan made into a page file: the packed DIB becomes the working image, a
// bilevel image with a white first colour gets the expected palette, "Invert" and "AutoCrop"
// are applied, and the image is written as an LZW TIFF to a fresh temporary page file. The
// main window and the command line both run every scanned image through ProcessScannedImage;
// what only the windows do (the preview, the thumbnail, the activity text) comes in as hooks.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "imaging/image_buffer.h"

namespace vellumo::scan {

struct TransferSettings {
    bool invert = false;    // "Invert" stored as exactly 1
    bool autoCrop = false;  // "AutoCrop" stored as exactly 1
};

struct TransferHooks {
    // A message for the user (caption "Vellumo", OK only): a failed conversion or save.
    std::function<void(const std::string& text)> showMessage;
    // After the corrections: false drops the image (the preview was discarded).
    std::function<bool(imaging::ImageBuffer& image)> keep;
    // Right before the page file is written (the windows update their status and thumbnail).
    std::function<void(const imaging::ImageBuffer& image)> beforeSave;
    // A new unique page file name ending in ".TIF", or "" when none can be made. When the name
    // was reserved by an empty file without the ".TIF" ending, that file is removed.
    std::function<std::string()> makePagePath;
};

enum class TransferOutcome {
    Kept,          // written to `path`: becomes a page
    NotConverted,  // the DIB could not be read
    Discarded,     // `keep` said no
    SaveFailed,    // the file could not be written; nothing is left on disk
};

struct TransferResult {
    TransferOutcome outcome = TransferOutcome::NotConverted;
    int code = 0;  // the conversion's or the save's result
    std::string path;
};

// Reads "Invert" and "AutoCrop" values as the transfer uses them: on only when exactly 1.
TransferSettings MakeTransferSettings(int invert, int autoCrop);

// Swaps the colour table of a bilevel image whose entry 0 is white (blue 255) to black, white;
// pixel bits are untouched. True when the table was changed.
bool CorrectBilevelPalette(imaging::ImageBuffer& image);

// Runs one transferred image through the steps above in `workingImage` (the image under work of
// the page list it joins). pageNumber is the number the new page will get (for the log). The
// working image is free again when this returns, whatever the outcome.
TransferResult ProcessScannedImage(const std::vector<uint8_t>* dib,
                                   imaging::ImageBuffer& workingImage, int pageNumber,
                                   const TransferSettings& settings, const TransferHooks& hooks);

// A page file for the command line: "<temp>/VW<unique>.tmp.TIF", created empty and private
// (0600) to reserve the name, for the page to be written over; "" when the temporary folder
// cannot be written.
std::string MakeScanPagePath();

}  // namespace vellumo::scan

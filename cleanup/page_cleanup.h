// The clean-up of one page as scanning and the page commands run it: the blank-page check,
// straightening and turning upright, in that order, each step as chosen, each with its line in
// the log. A blank page gets no further step: it holds nothing to straighten or read.
#pragma once

#include "cleanup/orientation.h"
#include "imaging/image_buffer.h"

namespace vellumo::cleanup {

// The setting "BlankPages": what happens to blank pages.
enum class BlankPages {
    Off = 0,   // not looked for
    Mark = 1,  // shown as blank, kept
    Drop = 2,  // left out (at scan time only, when the user chose so)
};

// "BlankPages" as stored: 0 off, 2 drop; every other value marks (dropping pages needs an
// explicit choice).
BlankPages BlankPagesFromSetting(int stored);

struct CleanupOptions {
    bool straighten = false;  // "Deskew"
    bool upright = false;     // "AutoRotate"
    BlankPages blankPages = BlankPages::Off;
};

struct CleanupReport {
    bool blank = false;         // found blank (looked for only when blankPages is not Off)
    double straightenedBy = 0;  // the turn made, counter-clockwise degrees; 0: none
    int turnedBy = 0;           // the quarter turns made, counter-clockwise degrees; 0: none
    int status = 0;             // a failed turn's imaging code (the page is then as it was)
    bool changed() const { return straightenedBy != 0 || turnedBy != 0; }
};

// Cleans the page in place. pageNumber names it in the log. The detector is used when
// options.upright is set; null (or one without orientation data) leaves pages unturned.
CleanupReport CleanPage(imaging::ImageBuffer& page, int pageNumber, const CleanupOptions& options,
                        OrientationDetector* detector);

}  // namespace vellumo::cleanup

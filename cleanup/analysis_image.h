// The small grey copy of a page that the clean-up measures work on: the page's working area
// averaged over square blocks down to about the resolution a measure needs, one byte per pixel
// (0 black, 255 white), with the paper's level and the level below which a pixel counts as ink.
#pragma once

#include <memory>

#include "imaging/image_buffer.h"

struct Pix;

namespace vellumo::cleanup {

struct PixDeleter {
    void operator()(Pix* pix) const;
};
// A Leptonica image, destroyed with its owner.
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

// Pages narrower or lower than this are too small to measure and are left as they are.
constexpr int kMinMeasurableSide = 100;

enum class AnalysisStatus {
    Ok,
    TooSmall,     // under kMinMeasurableSide pixels a side
    AllBlack,     // no paper to be seen: nothing can be told from it
    Unsupported,  // not a 1-, 8- or 24-bit image, or no valid area
    NoMemory,
};

struct AnalysisImage {
    PixPtr grey;             // 8 bits per pixel
    int scale = 1;           // page pixels per analysis pixel, each way
    double dpi = 0;          // the copy's resolution (estimated when the page records none)
    int paperLevel = 255;    // the grey of the paper: the 90th percentile of the copy
    int inkThreshold = 0;    // pixels darker than this are ink
    double inkFraction = 0;  // share of the copy that is ink
};

// Makes the analysis copy of the page's area at about targetDpi (never enlarged). A page that
// records no resolution is taken as one whose long side is 11 inches.
AnalysisStatus MakeAnalysisImage(const imaging::ImageBuffer& page, int targetDpi,
                                 AnalysisImage& out);

// The ink of the analysis copy as a 1-bit Leptonica image (1 = ink); null when memory is short.
PixPtr InkMask(const AnalysisImage& analysis);

// The page's resolution as a number: the larger of its two recorded values, or the estimate
// above when it records none.
double PageDpi(const imaging::ImageBuffer& page);

}  // namespace vellumo::cleanup

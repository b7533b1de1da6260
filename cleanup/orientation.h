// Turning pages upright: Tesseract's orientation detection says whether the text of a page
// lies at 0, 90, 180 or 270 degrees, and the page is turned by whole quarter turns. Pages
// without text, or whose text does not say clearly, are left as they are.
#pragma once

#include <memory>

#include "cleanup/analysis_image.h"
#include "imaging/image_buffer.h"

namespace tesseract {
class TessBaseAPI;
}

namespace vellumo::cleanup {

struct OrientationEstimate {
    AnalysisStatus status = AnalysisStatus::Ok;  // not Ok: the page could not be measured
    bool found = false;                          // text was found and its direction is trusted
    // The counter-clockwise turn that makes the page upright: 0, 90, 180 or 270.
    int turnDegrees = 0;
    double confidence = 0;  // Tesseract's orientation confidence
};

// One Tesseract engine with the orientation data. An engine serves one thread at a time; a
// worker keeps its own.
class OrientationDetector {
public:
    OrientationDetector();
    ~OrientationDetector();
    OrientationDetector(const OrientationDetector&) = delete;
    OrientationDetector& operator=(const OrientationDetector&) = delete;

    // True when the orientation data is installed and loaded (it is loaded on the first call).
    bool ready();
    // The page's orientation; not found when the detector is not ready.
    OrientationEstimate detect(const imaging::ImageBuffer& page);

private:
    std::unique_ptr<tesseract::TessBaseAPI> engine_;
    bool loadTried_ = false;
    bool loaded_ = false;
};

// Turns the page's area counter-clockwise by degrees (a multiple of 90; others -5) into a new
// picture that replaces it, keeping depth, colour table and resolution (swapped for quarter
// turns). 0 does nothing. 0 or a negative imaging code; on failure the page is unchanged.
int TurnPage(imaging::ImageBuffer& page, int degrees);

}  // namespace vellumo::cleanup

// Finding how far a page is turned from straight: from its text lines, and where a page has
// none, from the edges of the sheet against a dark scanner background. Works on a grey copy at
// about 150 dots per inch with Leptonica's projection-profile search.
#pragma once

#include "cleanup/analysis_image.h"
#include "imaging/image_buffer.h"

namespace vellumo::cleanup {

// The widest skew looked for, each way, in degrees.
constexpr double kMaxSkewDegrees = 12.0;

enum class SkewBasis {
    None,       // neither text lines nor page edges were found
    TextLines,  // the lines of text (or of a table or picture) on the page
    PageEdges,  // the sheet's edges against a dark background
};

struct SkewEstimate {
    AnalysisStatus status = AnalysisStatus::Ok;  // not Ok: the page could not be measured
    SkewBasis basis = SkewBasis::None;
    // How far the page is turned counter-clockwise, in degrees; 0 unless basis is not None.
    double degrees = 0;
    // Leptonica's ratio of the best to the worst alignment score.
    double confidence = 0;
};

SkewEstimate FindSkew(const imaging::ImageBuffer& page);

}  // namespace vellumo::cleanup

// Finding blank pages: a page is blank when it holds nothing beyond scanner noise, specks,
// punch holes, the feeder's shadows at its edges and faint show-through from the other side.
// Any real mark (a signature, a page number, one line) makes it not blank.
#pragma once

#include "cleanup/analysis_image.h"
#include "imaging/image_buffer.h"

namespace vellumo::cleanup {

struct BlankPageCheck {
    AnalysisStatus status = AnalysisStatus::Ok;  // not Ok: not measured, so not blank
    bool blank = false;
    int marks = 0;  // marks counted as content (0 on a blank page)
};

BlankPageCheck CheckBlankPage(const imaging::ImageBuffer& page);

}  // namespace vellumo::cleanup

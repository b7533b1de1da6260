// Scanned pages for the clean-up tests and benchmarks, made from known content: Ghostscript
// typesets an A4 page (text from a fixed vocabulary, or only a signature, a page number, one
// line or nothing), turned by a known angle and lying on a known side, with the defects of real
// scans (show-through, punch holes, feeder shadows, specks, a dark scanner background); the
// picture then gets sensor noise and the depth asked for. No test framework: the benchmarks
// use it too.
#pragma once

#include <string>

#include "imaging/image_buffer.h"

namespace vellumo::cleanup::testpages {

enum class Content {
    Text,        // a page of running text
    Blank,       // nothing
    Signature,   // a pen signature, nothing else
    PageNumber,  // a page number at the foot, nothing else
    OneLine,     // one line of text
    Rule,        // one drawn line
    Picture,     // shapes and shades without any text, as a photo or a drawing
};

struct PagePlan {
    Content content = Content::Text;
    int seed = 1;            // chooses words, font, size and the defects' places
    double skewDegrees = 0;  // the sheet turned counter-clockwise on the glass
    int quarterTurns = 0;    // the page lies turned counter-clockwise by 90 degrees times this
    int dpi = 300;
    int bits = 8;                 // 1, 8 or 24
    bool darkBackground = false;  // a dark backing shows around a skewed sheet
    bool noise = true;            // sensor noise
    int specks = 0;               // dust specks
    bool punchHoles = false;      // two punched holes at the left, dark backing seen through
    bool feederShadow = false;    // a feeder's shadow along the top and left edges
    bool showThrough = false;     // the other side's text, faint and mirrored
};

// Renders the page into `image` (allocated here; the caller frees it), with its resolution
// recorded. workDir takes the intermediate files. False, with a reason, when Ghostscript or
// loading failed.
bool RenderPage(const PagePlan& plan, const std::string& workDir, imaging::ImageBuffer& image,
                std::string* error);

// A short description for failure messages ("text seed 3, 300 dpi, 8 bits, skew 2.50").
std::string Describe(const PagePlan& plan);

}  // namespace vellumo::cleanup::testpages

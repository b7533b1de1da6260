// The invisible text layer of a page: the recognised words as text in rendering mode 3 (neither
// filled nor stroked) over the picture, each word placed and stretched onto its ink, on its
// line's baseline, with real spaces between the words of a line and the lines in reading order.
// Readers select, copy and search it; nothing of it is drawn.
#pragma once

#include <bitset>
#include <string>

#include "ocr/page_text.h"
#include "pdf/glyphless_font.h"

namespace vellumo::pdf {

// Where the picture lies on the page: the matrix (as for the cm operator) that maps the unit
// square onto it, the picture's top-left corner at (0, 1).
struct PicturePlacement {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
};

// What a text layer used of the glyphless font: the high bytes of its codes (for the ToUnicode
// map) and the variants it named.
struct TextLayerUse {
    std::bitset<256> highBytes;
    std::bitset<kGlyphlessVariantCount> variants;
};

// The content-stream operators of the text layer. Variant v of the glyphless font is named by the
// resource name fontPrefix followed by v (e.g. "/Ocr2"). Empty when the page has no words. The
// text's picture maps onto the placed picture, so the words lie on the picture they were read
// from. What it used is added to use.
std::string TextLayerContent(const ocr::PageText& text, const PicturePlacement& placement,
                             const std::string& fontPrefix, TextLayerUse& use);

}  // namespace vellumo::pdf

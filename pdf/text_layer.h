// The invisible text layer of a page: the recognised words as text in rendering mode 3 (neither
// filled nor stroked) over the picture, each word placed and stretched onto its ink, on its
// line's baseline, with real spaces between the words of a line and the lines in reading order.
// Readers select, copy and search it; nothing of it is drawn.
#pragma once

#include <bitset>
#include <memory>
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

// The resource names of the glyphless font's variants in the pages that show text: this prefix
// followed by the variant's number (e.g. "/Ocr2").
inline constexpr char kTextFontPrefix[] = "/Ocr";

// A page's text layer ready to go into a PDF: the operators that lay the words out in the
// picture's pixels (y up), compressed. The page puts a matrix from those pixels onto the picture
// before them and a Q after them.
struct PreparedTextLayer {
    int imageWidth = 0;
    int imageHeight = 0;
    std::string body;  // Flate-compressed "BT ... ET"
    TextLayerUse use;
};

// The text layer of recognised text; null when it has no words.
std::shared_ptr<const PreparedTextLayer> MakeTextLayer(const ocr::PageText& text, int level = 6);

// Prepares the text layer of recognised text and keeps it for the PDF writer, so a page whose
// text was prepared saves at hardly more cost than one without text. Call it where the text is
// recognised, off the GUI thread. Layers are kept while their text lives.
void PrepareTextLayer(const std::shared_ptr<const ocr::PageText>& text);

// The text's layer: the prepared one when there is one, else made now.
std::shared_ptr<const PreparedTextLayer> TextLayerFor(
    const std::shared_ptr<const ocr::PageText>& text);

// The operators that put picture pixels (y up) of a picture of the given size onto the placed
// picture: "q a b c d e f cm".
std::string TextLayerMatrix(int imageWidth, int imageHeight, const PicturePlacement& placement);

}  // namespace vellumo::pdf

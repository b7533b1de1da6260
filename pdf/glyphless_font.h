// The font of the invisible text layer: a TrueType font with one empty glyph that every
// character code shows, so the text costs no drawing and no glyph data, and a ToUnicode map that
// gives readers back the characters. Written once per document as Type 0 fonts with 2-byte
// codes that are the characters' UTF-16 code units. The fonts differ only in the ascent and
// descent they declare, from which readers take a word's box: a word without ascenders gets a
// box as low as its letters while keeping the size of its line, and readers keep the line whole.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "pdf/pdf_writer.h"

namespace vellumo::pdf {

// The font's metrics, in thousandths of the font size: every glyph is this wide. The text layer
// sizes a line so that its letters with ascenders reach kGlyphlessAscent: somewhat more than a
// real font's em, so readers that measure gaps between words in font sizes see the words of a
// line together even in typewriter faces.
constexpr int kGlyphlessWidth = 500;
constexpr int kGlyphlessAscent = 600;
constexpr int kGlyphlessDescent = -190;

// The declared extents of the variants, in thousandths of the font size: words with ascenders,
// words of small letters with descenders, and of small letters alone. A descent of 0 would read
// as "none given".
struct GlyphlessExtent {
    int ascent;
    int descent;  // negative: below the baseline
};
constexpr GlyphlessExtent kGlyphlessVariants[] = {
    {kGlyphlessAscent, -100}, {400, kGlyphlessDescent}, {400, -15}};
constexpr int kGlyphlessVariantCount = 3;

// The TrueType file itself.
std::vector<uint8_t> GlyphlessTrueType();

// The font in one document: written with the first page that needs it; its ToUnicode map
// covers only the code blocks (high bytes) the pages used and is written when they are done.
class GlyphlessFont {
public:
    // The Type 0 font object of a variant that pages name in their resources; writes the font
    // the first time any variant is asked for, and the variant the first time it is.
    int object(PdfWriter& writer, int variant);
    // Codes with these high bytes appear in the text.
    void use(const std::bitset<256>& highBytes) { used_ |= highBytes; }
    // Writes the ToUnicode map; nothing when the font was never written.
    void finish(PdfWriter& writer);

private:
    int type0_[kGlyphlessVariantCount] = {};
    int fontFile_ = 0;
    int cidToGid_ = 0;
    int toUnicode_ = 0;
    std::bitset<256> used_;
};

}  // namespace vellumo::pdf

// Word boxes fitted to the ink: the engine's box of a word sometimes cuts through a letter (its
// character positions are estimates), so each box grows to the whole marks it touches, taken
// from the binarised page.
#pragma once

#include "ocr/page_text.h"

struct Pix;

namespace vellumo::ocr {

// binary: the page as black and white, the size of the picture the text was read from.
void FitBoxesToInk(Pix* binary, PageText& text);

}  // namespace vellumo::ocr

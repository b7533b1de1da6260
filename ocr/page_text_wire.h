// Recognised text as bytes: how a page's text comes back from the recognition process. Decoding
// checks every length against the bytes there are, so a process that died halfway gives a clear
// failure, never a half-filled page.
#pragma once

#include <string>

#include "ocr/page_text.h"

namespace vellumo::ocr {

std::string EncodePageText(const PageText& text);
// False when the bytes are not a whole encoded page text.
bool DecodePageText(const std::string& bytes, PageText& text);

}  // namespace vellumo::ocr

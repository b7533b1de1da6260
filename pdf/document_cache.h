// The PDF documents our reader has open. Pages of one file are asked for one after another (a
// whole document brought in, thumbnails, a PDF written from its pages), so the last few stay
// open; a file that changed on disk is read again.
#pragma once

#include <memory>
#include <string>

#include "pdf/pdf_reader.h"

namespace vellumo::pdf {

PdfStatus OpenCachedDocument(const std::string& path, std::shared_ptr<PdfDocument>& doc,
                             std::string& reason);
// Closes every cached document (their files may then be removed or replaced).
void ForgetCachedDocuments();

}  // namespace vellumo::pdf

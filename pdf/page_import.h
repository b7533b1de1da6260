// Bringing pages in from files: every page of an image file (all pages of a multi-page TIFF)
// or of a PDF. PDF pages that are one image come in losslessly from their image stream; other
// PDF pages are drawn by Poppler at 300 dpi. One entry point for the page list, the viewer,
// the thumbnails and the PDF builder, whatever the kind of file.
#pragma once

#include <string>
#include <vector>

#include "imaging/image_buffer.h"
#include "imaging/image_pages.h"

namespace vellumo::pdf {

enum class ImportStatus {
    Ok,
    CannotOpen,     // missing or unreadable
    Unsupported,    // neither an image of a readable format nor a PDF
    Damaged,        // the file is broken (the reason says how)
    NeedsPassword,  // an encrypted PDF that the password (none, or the one given) does not open
    NoSuchPage,     // the page index is beyond the last page
    NoMemory,
};

// True when the file starts like a PDF (its first kilobyte holds "%PDF-").
bool IsPdfFile(const std::string& path);

// The pages of a file in order. password: for encrypted PDFs (empty: none).
ImportStatus ListPages(const std::string& path, const std::string& password,
                       std::vector<imaging::PageRef>& pages, std::string& reason);

// Loads one page at full size into image (replaced; the caller frees what it held): image
// files through the imaging codecs, PDF image pages from their stream at their own resolution
// (the page's rotation applied), other PDF pages drawn at 300 dpi.
ImportStatus LoadPage(const imaging::PageRef& page, const std::string& password,
                      imaging::ImageBuffer& image, std::string& reason);

// A 24-bit reduced copy that fits maxWidth x maxHeight, and the page's facts, made as cheaply
// as the file allows (JPEG and the JPEG streams of PDF pages by DCT scaling, other PDF pages
// drawn at the resolution the size needs).
ImportStatus LoadReducedPage(const imaging::PageRef& page, const std::string& password,
                             int maxWidth, int maxHeight, imaging::ImageBuffer& reduced,
                             imaging::PageFacts& facts, std::string& reason);

// The message a user reads for a failed import: "<file>: <reason>".
std::string DescribeImportFailure(const std::string& path, ImportStatus status,
                                  const std::string& reason);

}  // namespace vellumo::pdf

// Drawing PDF pages with Poppler: pages that are not one image (text, drawings, several
// pictures) are brought in as pictures at 300 dpi, and thumbnails of them at a low resolution.
// Poppler also opens encrypted files, with the password the user gives.
#pragma once

#include <string>

#include "imaging/image_buffer.h"
#include "pdf/pdf_reader.h"

namespace vellumo::pdf {

// The resolution at which pages that are not one image are brought in.
constexpr double kRenderDpi = 300;

// The number of pages as Poppler reads the file. NeedsPassword when the file is encrypted and
// the password (empty: none) does not open it.
PdfStatus PopplerPageCount(const std::string& path, const std::string& password, int& pages,
                           std::string& reason);

// Draws page `index` at dpi into a new 24-bit image (the page's /Rotate applied, white paper).
PdfStatus RenderPdfPage(const std::string& path, const std::string& password, int index, double dpi,
                        imaging::ImageBuffer& image, std::string& reason);

// The page's size in points as Poppler sees it (rotation applied).
PdfStatus PopplerPageSize(const std::string& path, const std::string& password, int index,
                          double& width, double& height, std::string& reason);

}  // namespace vellumo::pdf

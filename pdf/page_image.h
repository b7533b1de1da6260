// Pages of a PDF that are one image: a scan, a photo, a fax page. Such a page is taken as its
// image, losslessly: its stream can go into a new PDF exactly as it is, and its pixels are
// decoded from that stream (JPEG, CCITT fax, JBIG2, or plain samples after the general
// filters). Anything else on the page (visible text, paths, a second image, masks, clipping)
// makes it a page to draw instead.
#pragma once

#include <string>
#include <vector>

#include "imaging/image_buffer.h"
#include "pdf/pdf_reader.h"

namespace vellumo::pdf {

struct PageImage {
    PdfRef ref;        // the image XObject
    PdfObject stream;  // its stream, dictionary resolved as in the file
    int width = 0;
    int height = 0;
    double pageWidth = 0;  // the page's visible box in points
    double pageHeight = 0;
    int rotate = 0;  // the page's /Rotate
    // Resolution of the image on the page.
    double dpiX() const { return pageWidth > 0 ? width * 72.0 / pageWidth : 0; }
    double dpiY() const { return pageHeight > 0 ? height * 72.0 / pageHeight : 0; }
};

// True when page `index` shows exactly one image that covers its visible box, upright and
// unmirrored, with nothing else visible (invisible text, such as a recognised text layer, is
// allowed). why, when given, says why not.
bool FindPageImage(const PdfDocument& doc, int index, PageImage& image, std::string* why = nullptr);

// Decodes the image's pixels: 1-bit black and white (CCITT, JBIG2, 1-bit grey), 8-bit grey or
// palette, or 24-bit colour, with the resolution it has on the page. The page's /Rotate is not
// applied. False with a reason when the stream uses something this decoder does not handle
// (the page can then be drawn instead) or is damaged.
bool DecodePageImage(const PdfDocument& doc, const PageImage& image, imaging::ImageBuffer& pixels,
                     std::string& reason);

// Decodes CCITT fax data (group 3 or 4, as /CCITTFaxDecode's parameters say) into a 1-bit
// image whose colour table makes 0 black. Exposed for the tests.
bool DecodeCcittFax(std::string_view data, const PdfObject& params, int width, int height,
                    imaging::ImageBuffer& pixels, std::string& reason);

// Decodes an embedded JBIG2 stream (with the stream of its /JBIG2Globals, or empty) into a 1-bit
// image whose colour table makes 0 black.
bool DecodeJbig2(std::string_view data, std::string_view globals, int width, int height,
                 imaging::ImageBuffer& pixels, std::string& reason);

}  // namespace vellumo::pdf

// Pages of image files. A page is a file and the page's place in it, so that every page of a
// multi-page TIFF can be brought in, not only the first. Formats that hold one picture have one
// page. Reduced copies of a page, decoded only as far as the format allows, serve thumbnails.
#pragma once

#include <string>

#include "imaging/codecs.h"
#include "imaging/image_buffer.h"

namespace vellumo::imaging {

// One page: the file and the page's index in it (0 = first).
struct PageRef {
    std::string path;
    int index = 0;
    bool operator==(const PageRef&) const = default;
};

// The number of pages of an image file of any readable format, and its format. 0, or the code
// of the format's inspect operation (kImgNotThisFormat when no format accepts the file).
int CountImagePages(const char* file, int& pages, ImageFormat* format = nullptr);

// Inspects page `index` of the file (see ImageFileInfo); its format in *format when given.
// A page beyond the last gives kImgBadArgument.
int InspectImagePage(const char* file, int index, ImageFileInfo& info,
                     ImageFormat* format = nullptr);

// Inspects, allocates and loads page `index` into image (replaced; the caller frees what it held
// before). 0, or a negative code with image all zero.
int ReadImagePage(const char* file, int index, ImageBuffer& image);

// What a page is, learnt while its thumbnail was made.
struct PageFacts {
    int width = 0;  // full size of the page in pixels
    int height = 0;
    int bitsPerPixel = 0;  // as it loads: 1, 8 or 24
    double dpiX = 0;       // 0 when the file records no resolution
    double dpiY = 0;
    int pageCount = 1;  // pages in the file
    ImageFormat format = ImageFormat::None;
};

// The page's size scaled to fit maxWidth x maxHeight, keeping its proportions, never enlarged;
// each side at least 1.
void FitWithin(int width, int height, int maxWidth, int maxHeight, int& fitWidth, int& fitHeight);

// A 24-bit copy of the page reduced to fit maxWidth x maxHeight (FitWithin), made by area
// averaging. JPEG files are decoded at 1/2, 1/4 or 1/8 of their size by the codec's DCT scaling
// whenever that still gives at least the reduced size, so a thumbnail of a 300-dpi page costs
// a fraction of a full decode and of its memory. 0, or a negative code with reduced all zero.
int ReadReducedPage(const PageRef& page, int maxWidth, int maxHeight, ImageBuffer& reduced,
                    PageFacts& facts);

// Reduces image (any depth ReduceImage reads) to a new 24-bit image fitting maxWidth x
// maxHeight. 0 or a negative code; reduced is all zero on failure.
int ReduceToFit(const ImageBuffer& image, int maxWidth, int maxHeight, ImageBuffer& reduced);

}  // namespace vellumo::imaging

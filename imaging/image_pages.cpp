#include "imaging/image_pages.h"

#include <algorithm>
#include <cstring>

#include "imaging/imaging.h"
#include "imaging/jpeg_reduced.h"
#include "imaging/transform.h"
#include "platform/regular_file.h"

namespace vellumo::imaging {

int CountImagePages(const char* file, int& pages, ImageFormat* format) {
    pages = 0;
    ImageFileInfo info;
    const int rc = InspectImagePage(file, 0, info, format);
    if (rc == kImgOk) pages = info.pageCount;
    return rc;
}

int InspectImagePage(const char* file, int index, ImageFileInfo& info, ImageFormat* format) {
    if (format) *format = ImageFormat::None;
    if (index < 0) return kImgBadArgument;
    // A FIFO or a device would make the decoders wait or read for ever.
    if (!file || !vellumo::platform::IsRegularFile(file)) return kImgCannotOpen;
    // TIFF is asked first, as the single-page inspection does; only TIFF has more pages.
    int rc = InspectTiffPage(file, index, info);
    if (rc == kImgOk || (rc != kImgNotThisFormat && rc != kImgCannotOpen)) {
        if (rc == kImgOk && format) *format = ImageFormat::Tiff;
        return rc;
    }
    if (rc == kImgCannotOpen) return rc;
    const ImageFormat found = DetectImageFormat(file, &info);
    if (found == ImageFormat::None) return kImgNotThisFormat;
    if (index > 0) return kImgBadArgument;
    if (format) *format = found;
    info.pageCount = 1;
    return kImgOk;
}

int ReadImagePage(const char* file, int index, ImageBuffer& image) {
    std::memset(&image, 0, sizeof image);
    ImageFileInfo info;
    ImageFormat format = ImageFormat::None;
    if (int rc = InspectImagePage(file, index, info, &format)) return rc;
    if (format != ImageFormat::Tiff) return ReadImageFile(file, image);
    if (int rc = AllocateImage(image, info.width, info.height, info.bitsPerPixel)) return rc;
    if (int rc = LoadTiffPage(file, index, image)) {
        FreeImage(image);
        return rc;
    }
    return kImgOk;
}

void FitWithin(int width, int height, int maxWidth, int maxHeight, int& fitWidth, int& fitHeight) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    maxWidth = std::max(maxWidth, 1);
    maxHeight = std::max(maxHeight, 1);
    if (width <= maxWidth && height <= maxHeight) {
        fitWidth = width;
        fitHeight = height;
        return;
    }
    // The side that hits its limit first decides the scale.
    if (static_cast<int64_t>(width) * maxHeight >= static_cast<int64_t>(height) * maxWidth) {
        fitWidth = maxWidth;
        fitHeight = static_cast<int>(static_cast<int64_t>(height) * maxWidth / width);
    } else {
        fitHeight = maxHeight;
        fitWidth = static_cast<int>(static_cast<int64_t>(width) * maxHeight / height);
    }
    fitWidth = std::max(fitWidth, 1);
    fitHeight = std::max(fitHeight, 1);
}

int ReduceToFit(const ImageBuffer& image, int maxWidth, int maxHeight, ImageBuffer& reduced) {
    std::memset(&reduced, 0, sizeof reduced);
    if (!HasValidArea(image)) return kImgEmpty;
    int w = 0, h = 0;
    FitWithin(static_cast<int>(AreaWidth(image)), static_cast<int>(AreaHeight(image)), maxWidth,
              maxHeight, w, h);
    if (int rc = AllocateImage(reduced, w, h, 24)) return rc;
    reduced.imageFlags &= ~kImageFlagGrey;
    if (int rc = ReduceImage(image, reduced)) {
        FreeImage(reduced);
        return rc;
    }
    return kImgOk;
}

int ReadReducedPage(const PageRef& page, int maxWidth, int maxHeight, ImageBuffer& reduced,
                    PageFacts& facts) {
    std::memset(&reduced, 0, sizeof reduced);
    facts = PageFacts{};
    ImageFileInfo info;
    ImageFormat format = ImageFormat::None;
    if (int rc = InspectImagePage(page.path.c_str(), page.index, info, &format)) return rc;
    facts.width = info.width;
    facts.height = info.height;
    facts.bitsPerPixel = info.bitsPerPixel;
    facts.dpiX = info.dpiX;
    facts.dpiY = info.dpiY;
    facts.pageCount = info.pageCount;
    facts.format = format;

    ScopedImage full;
    int rc;
    if (format == ImageFormat::Jpeg) {
        int w = 0, h = 0;
        FitWithin(info.width, info.height, maxWidth, maxHeight, w, h);
        JpegDecodeOptions options;
        options.minWidth = w;
        options.minHeight = h;
        rc = DecodeJpegFile(page.path.c_str(), options, full.image);
    } else {
        rc = ReadImagePage(page.path.c_str(), page.index, full.image);
    }
    if (rc != kImgOk) return rc;
    return ReduceToFit(full.image, maxWidth, maxHeight, reduced);
}

}  // namespace vellumo::imaging

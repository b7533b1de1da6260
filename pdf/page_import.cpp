#include "pdf/page_import.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#include "imaging/imaging.h"
#include "imaging/jpeg_reduced.h"
#include "imaging/transform.h"
#include "pdf/document_cache.h"
#include "pdf/page_image.h"
#include "pdf/pdf_render.h"
#include "platform/regular_file.h"

namespace vellumo::pdf {

using namespace vellumo::imaging;

namespace {

ImportStatus FromPdfStatus(PdfStatus status) {
    switch (status) {
        case PdfStatus::Ok:
            return ImportStatus::Ok;
        case PdfStatus::CannotOpen:
            return ImportStatus::CannotOpen;
        case PdfStatus::NotPdf:
            return ImportStatus::Unsupported;
        case PdfStatus::Damaged:
            return ImportStatus::Damaged;
        case PdfStatus::NeedsPassword:
            return ImportStatus::NeedsPassword;
        case PdfStatus::NoSuchPage:
            return ImportStatus::NoSuchPage;
        case PdfStatus::Unsupported:
            return ImportStatus::Unsupported;
    }
    return ImportStatus::Damaged;
}

ImportStatus FromImagingCode(int code, std::string& reason) {
    switch (code) {
        case kImgOk:
            return ImportStatus::Ok;
        case kImgCannotOpen:
            reason = "the file cannot be opened";
            return ImportStatus::CannotOpen;
        case kImgNotThisFormat:
            reason = "the file is neither an image of a format Vellumo reads nor a PDF";
            return ImportStatus::Unsupported;
        case kImgBadArgument:
            reason = "the file has no such page";
            return ImportStatus::NoSuchPage;
        case kImgNoMemory:
            reason = "the image is larger than Vellumo accepts";
            return ImportStatus::NoMemory;
        case kImgUnsupportedFile:
            reason = "the image uses a feature Vellumo does not read";
            return ImportStatus::Unsupported;
        default:
            reason = "the file is damaged or truncated (error " + std::to_string(code) + ")";
            return ImportStatus::Damaged;
    }
}

// Turns the picture clockwise by a page's /Rotate (90, 180 or 270).
bool ApplyRotation(ImageBuffer& image, int rotate, std::string& reason) {
    if (rotate == 0) return true;
    const bool quarter = rotate == 90 || rotate == 270;
    const int w = quarter ? ImageHeight(image) : ImageWidth(image);
    const int h = quarter ? ImageWidth(image) : ImageHeight(image);
    ImageBuffer turned{};
    if (AllocateImage(turned, w, h, BitsPerPixel(image)) != 0) {
        reason = "not enough memory to turn the page";
        return false;
    }
    CopyPalette(image, turned);
    turned.imageFlags = image.imageFlags;
    const double dpiX = ImageDpiX(image), dpiY = ImageDpiY(image);
    if (RotateImage(-rotate, image, turned) != 0) {
        FreeImage(turned);
        reason = "the page cannot be turned";
        return false;
    }
    if (quarter)
        SetImageDpi(turned, dpiY, dpiX);
    else
        SetImageDpi(turned, dpiX, dpiY);
    FreeImage(image);
    image = turned;
    return true;
}

// The document through our reader, when it can read it (not encrypted); null otherwise.
std::shared_ptr<PdfDocument> ReadableDocument(const std::string& path) {
    std::shared_ptr<PdfDocument> doc;
    std::string ignored;
    if (OpenCachedDocument(path, doc, ignored) != PdfStatus::Ok || doc->encrypted()) return nullptr;
    return doc;
}

ImportStatus LoadPdfPage(const imaging::PageRef& page, const std::string& password,
                         ImageBuffer& image, std::string& reason) {
    if (std::shared_ptr<PdfDocument> doc = ReadableDocument(page.path)) {
        if (page.index < 0 || page.index >= doc->pageCount()) {
            reason = "the document has no page " + std::to_string(page.index + 1);
            return ImportStatus::NoSuchPage;
        }
        PageImage pageImage;
        std::string why;
        if (FindPageImage(*doc, page.index, pageImage)) {
            if (DecodePageImage(*doc, pageImage, image, why)) {
                if (ApplyRotation(image, pageImage.rotate, reason)) return ImportStatus::Ok;
                FreeImage(image);
                return ImportStatus::NoMemory;
            }
            // An image our decoders do not read (JPEG 2000, CMYK JPEG ...) is drawn at its own
            // resolution, so the page keeps its pixel size.
            const double dpi = std::max(pageImage.dpiX(), pageImage.dpiY());
            if (dpi >= 10 && dpi <= 2400)
                return FromPdfStatus(
                    RenderPdfPage(page.path, password, page.index, dpi, image, reason));
        }
    }
    return FromPdfStatus(RenderPdfPage(page.path, password, page.index, kRenderDpi, image, reason));
}

int BitsOfPageImage(const PdfDocument& doc, const PageImage& image) {
    const std::vector<std::string> filters = FilterNames(doc.resolve(image.stream.get("Filter")));
    for (const std::string& f : filters)
        if (f == "CCITTFaxDecode" || f == "JBIG2Decode") return 1;
    const PdfObject bpc = doc.resolvedKey(image.stream, "BitsPerComponent");
    const PdfObject cs = doc.resolvedKey(image.stream, "ColorSpace");
    std::string family =
        cs.type == PdfObject::Type::Name ? cs.text
        : cs.type == PdfObject::Type::Array && cs.at(0).type == PdfObject::Type::Name
            ? cs.at(0).text
            : "";
    if (family == "DeviceGray" || family == "CalGray" || family == "G" || family == "Indexed" ||
        family == "I")
        return bpc.type == PdfObject::Type::Int && bpc.integer == 1 ? 1 : 8;
    return 24;
}

}  // namespace

bool IsPdfFile(const std::string& path) {
    // Never waits on a FIFO or a device given as a page.
    std::FILE* f = vellumo::platform::OpenRegularFile(path);
    if (!f) return false;
    char head[1024];
    const size_t n = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    return std::string_view(head, n).find("%PDF-") != std::string_view::npos;
}

ImportStatus ListPages(const std::string& path, const std::string& password,
                       std::vector<imaging::PageRef>& pages, std::string& reason) {
    pages.clear();
    int count = 0;
    if (IsPdfFile(path)) {
        std::shared_ptr<PdfDocument> doc;
        const PdfStatus ours = OpenCachedDocument(path, doc, reason);
        if (ours == PdfStatus::Ok && !doc->encrypted()) {
            count = doc->pageCount();
        } else {
            // Encrypted files, and files our reader gives up on, go to Poppler, which knows
            // passwords and repairs more kinds of damage.
            std::string popplerReason;
            const PdfStatus poppler = PopplerPageCount(path, password, count, popplerReason);
            if (poppler != PdfStatus::Ok) {
                if (poppler == PdfStatus::NeedsPassword || ours == PdfStatus::Ok)
                    reason = popplerReason;
                return FromPdfStatus(
                    poppler == PdfStatus::NeedsPassword || ours == PdfStatus::Ok ? poppler : ours);
            }
        }
    } else {
        if (const int rc = imaging::CountImagePages(path.c_str(), count))
            return FromImagingCode(rc, reason);
    }
    pages.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) pages.push_back(imaging::PageRef{path, i});
    return ImportStatus::Ok;
}

ImportStatus LoadPage(const imaging::PageRef& page, const std::string& password, ImageBuffer& image,
                      std::string& reason) {
    std::memset(&image, 0, sizeof image);
    if (IsPdfFile(page.path)) return LoadPdfPage(page, password, image, reason);
    return FromImagingCode(imaging::ReadImagePage(page.path.c_str(), page.index, image), reason);
}

ImportStatus LoadReducedPage(const imaging::PageRef& page, const std::string& password,
                             int maxWidth, int maxHeight, ImageBuffer& reduced,
                             imaging::PageFacts& facts, std::string& reason) {
    std::memset(&reduced, 0, sizeof reduced);
    facts = imaging::PageFacts{};
    if (!IsPdfFile(page.path))
        return FromImagingCode(imaging::ReadReducedPage(page, maxWidth, maxHeight, reduced, facts),
                               reason);

    ScopedImage picture;
    bool done = false;
    std::shared_ptr<PdfDocument> doc = ReadableDocument(page.path);
    if (doc) {
        if (page.index < 0 || page.index >= doc->pageCount()) {
            reason = "the document has no page " + std::to_string(page.index + 1);
            return ImportStatus::NoSuchPage;
        }
        facts.pageCount = doc->pageCount();
        PageImage pageImage;
        if (FindPageImage(*doc, page.index, pageImage)) {
            // A JPEG stream is decoded only as far as the reduced size needs.
            std::string data, why;
            ImageFilter filter;
            const bool quarter = pageImage.rotate == 90 || pageImage.rotate == 270;
            int w = 0, h = 0;
            imaging::FitWithin(pageImage.width, pageImage.height, quarter ? maxHeight : maxWidth,
                               quarter ? maxWidth : maxHeight, w, h);
            if (doc->decodeStream(pageImage.stream, data, why, &filter, size_t{1} << 30) &&
                filter.name == "DCTDecode") {
                ImageFileInfo info;
                imaging::JpegDecodeOptions options;
                options.minWidth = w;
                options.minHeight = h;
                options.fast = true;
                const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
                done = imaging::InspectJpegData(bytes, data.size(), info) == 0 &&
                       info.fileSamplesPerPixel != 4 && info.width == pageImage.width &&
                       info.height == pageImage.height &&
                       imaging::DecodeJpegData(bytes, data.size(), options, picture.image) == 0;
            }
            if (!done) {
                FreeImage(picture.image);
                done = DecodePageImage(*doc, pageImage, picture.image, why);
            }
            if (done) {
                facts.width = quarter ? pageImage.height : pageImage.width;
                facts.height = quarter ? pageImage.width : pageImage.height;
                facts.dpiX = quarter ? pageImage.dpiY() : pageImage.dpiX();
                facts.dpiY = quarter ? pageImage.dpiX() : pageImage.dpiY();
                facts.bitsPerPixel = BitsOfPageImage(*doc, pageImage);
                if (!ApplyRotation(picture.image, pageImage.rotate, reason))
                    return ImportStatus::NoMemory;
            }
        }
    }
    if (!done) {
        double width = 0, height = 0;
        const PdfStatus sized =
            PopplerPageSize(page.path, password, page.index, width, height, reason);
        if (sized != PdfStatus::Ok) return FromPdfStatus(sized);
        if (!doc) {
            int count = 0;
            PopplerPageCount(page.path, password, count, reason);
            facts.pageCount = count;
        }
        facts.width = static_cast<int>(std::lround(width * kRenderDpi / 72));
        facts.height = static_cast<int>(std::lround(height * kRenderDpi / 72));
        facts.dpiX = facts.dpiY = kRenderDpi;
        facts.bitsPerPixel = 24;
        // Drawn at the resolution the reduced size needs, never above the import resolution.
        const double dpi = std::min(
            kRenderDpi, std::min(maxWidth * 72.0 / width, maxHeight * 72.0 / height) + 0.5);
        const PdfStatus drawn =
            RenderPdfPage(page.path, password, page.index, dpi, picture.image, reason);
        if (drawn != PdfStatus::Ok) return FromPdfStatus(drawn);
    }
    facts.format = ImageFormat::None;
    if (imaging::ReduceToFit(picture.image, maxWidth, maxHeight, reduced) != 0) {
        reason = "not enough memory for the thumbnail";
        return ImportStatus::NoMemory;
    }
    return ImportStatus::Ok;
}

std::string DescribeImportFailure(const std::string& path, ImportStatus status,
                                  const std::string& reason) {
    if (status == ImportStatus::Ok) return std::string();
    return path + ": " + (reason.empty() ? std::string("the file cannot be read") : reason);
}

}  // namespace vellumo::pdf

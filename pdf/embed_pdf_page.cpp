// Pages of PDF files into the PDF being written. A page that is one image keeps its image data
// byte for byte: the stream is copied with its dictionary, and the objects the dictionary refers
// to are copied after it under new numbers. Any other page is drawn by Poppler.
#include <deque>
#include <map>

#include "imaging/imaging.h"
#include "pdf/document_cache.h"
#include "pdf/image_embed.h"
#include "pdf/page_image.h"
#include "pdf/page_import.h"
#include "pdf/pdf_render.h"

namespace vellumo::pdf {

using namespace vellumo::imaging;

namespace {

// More objects than this behind one image is no image a writer makes.
constexpr size_t kMaxCopiedObjects = 10000;

// Entries of an image dictionary that are not copied: the writer gives the length, and
// metadata and alternates are not needed to show the image.
bool SkippedKey(const std::string& key) {
    return key == "Length" || key == "Type" || key == "Subtype" || key == "Metadata" ||
           key == "Alternates" || key == "OPI" || key == "StructParent" || key == "Name" ||
           key == "ID" || key == "OC";
}

class ObjectCopier {
public:
    ObjectCopier(const PdfDocument& doc, PdfWriter& writer) : doc_(doc), writer_(writer) {}

    // The dictionary's entries in PDF syntax, references renumbered (and queued).
    std::string entries(const PdfObject& dict, bool skipImageKeys) {
        std::string out;
        if (!dict.dict) return out;
        for (const auto& [key, value] : *dict.dict) {
            if (key == "Length" || (skipImageKeys && SkippedKey(key))) continue;
            PdfObject name = PdfObject::Name(key);
            out += SerializeObject(name) + " " + SerializeObject(value, remap()) + " ";
        }
        return out;
    }

    // Writes every queued object, and those they refer to in turn.
    bool flush(std::string& error) {
        while (!queue_.empty()) {
            const auto [source, number] = queue_.front();
            queue_.pop_front();
            const PdfObject o = doc_.object(source);
            if (o.type == PdfObject::Type::Stream) {
                writer_.beginStream(number, entries(o, false));
                const std::string_view raw = doc_.rawStream(o);
                writer_.write(raw.data(), raw.size());
                writer_.endStream();
            } else {
                writer_.beginObject(number);
                writer_.write(SerializeObject(o, remap()) + "\n");
                writer_.endObject();
            }
            if (numbers_.size() > kMaxCopiedObjects) {
                error = "the image refers to too many objects";
                return false;
            }
        }
        return !writer_.failed();
    }

private:
    RefText remap() {
        return [this](const PdfRef& ref) {
            auto it = numbers_.find(ref.num);
            int number;
            if (it != numbers_.end()) {
                number = it->second;
            } else {
                number = writer_.reserveObject();
                numbers_[ref.num] = number;
                queue_.emplace_back(ref, number);
            }
            return std::to_string(number) + " 0 R";
        };
    }

    const PdfDocument& doc_;
    PdfWriter& writer_;
    std::map<int, int> numbers_;
    std::deque<std::pair<PdfRef, int>> queue_;
};

}  // namespace

EmbedResult EmbedPdfPage(PdfWriter& writer, int object, const std::string& path, int page,
                         const std::string& password, const EmbedOptions& options,
                         EmbeddedImage& image, std::string& error) {
    std::shared_ptr<PdfDocument> doc;
    std::string reason;
    PageImage pageImage;
    if (OpenCachedDocument(path, doc, reason) == PdfStatus::Ok && !doc->encrypted() && page >= 0 &&
        page < doc->pageCount() && FindPageImage(*doc, page, pageImage)) {
        ObjectCopier copier(*doc, writer);
        const std::string dict =
            "/Type /XObject /Subtype /Image " + copier.entries(pageImage.stream, true);
        writer.beginStream(object, dict);
        const std::string_view raw = doc->rawStream(pageImage.stream);
        writer.write(raw.data(), raw.size());
        writer.endStream();
        if (!copier.flush(error)) return EmbedResult::Failed;
        image.width = pageImage.width;
        image.height = pageImage.height;
        image.dpiX = pageImage.dpiX();
        image.dpiY = pageImage.dpiY();
        image.rotate = pageImage.rotate;
        // For the report of bytes per kind of page: what the kept stream holds.
        const PdfObject& bits = pageImage.stream.get("BitsPerComponent");
        const PdfObject& space = pageImage.stream.get("ColorSpace");
        image.kind = bits.isNumber() && bits.number() == 1 ? PageKind::Bilevel
                     : space.isName("DeviceGray")          ? PageKind::Grey
                                                           : PageKind::Colour;
        image.coding = "kept";
        return EmbedResult::Done;
    }
    ImageBuffer drawn{};
    const PdfStatus status = RenderPdfPage(path, password, page, kRenderDpi, drawn, reason);
    if (status != PdfStatus::Ok) {
        error = "Cannot read page " + std::to_string(page + 1) + " of " + path + ": " + reason;
        return EmbedResult::Failed;
    }
    image.width = ImageWidth(drawn);
    image.height = ImageHeight(drawn);
    image.dpiX = image.dpiY = kRenderDpi;
    const bool ok = EmbedImageBuffer(writer, object, drawn, options, image, error);
    FreeImage(drawn);
    return ok ? EmbedResult::Done : EmbedResult::Failed;
}

int CheckImagePage(const std::string& path, int page, const std::string& password,
                   std::string& error) {
    std::vector<imaging::PageRef> pages;
    std::string reason;
    const ImportStatus status = ListPages(path, password, pages, reason);
    if (status == ImportStatus::CannotOpen) {
        error = "Cannot open " + path + ": " + reason;
        return 2;
    }
    if (status != ImportStatus::Ok) {
        error = DescribeImportFailure(path, status, reason);
        return 3;
    }
    if (page < 0 || page >= static_cast<int>(pages.size())) {
        error = path + ": the file has no page " + std::to_string(page + 1);
        return 3;
    }
    return 0;
}

bool EmbedImagePage(PdfWriter& writer, int object, const std::string& path, int page,
                    const std::string& password, const EmbedOptions& options, EmbeddedImage& image,
                    std::string& error) {
    if (IsPdfFile(path))
        return EmbedPdfPage(writer, object, path, page, password, options, image, error) ==
               EmbedResult::Done;
    if (page == 0) return EmbedImageFile(writer, object, path, options, image, error);
    ImageBuffer buffer{};
    const int rc = imaging::ReadImagePage(path.c_str(), page, buffer);
    if (rc != 0) {
        error = "Cannot read page " + std::to_string(page + 1) + " of " + path + " (error " +
                std::to_string(rc) + ")";
        return false;
    }
    image.width = ImageWidth(buffer);
    image.height = ImageHeight(buffer);
    image.dpiX = buffer.header->biXPelsPerMeter > 0 ? buffer.header->biXPelsPerMeter * 0.0254 : 0;
    image.dpiY = buffer.header->biYPelsPerMeter > 0 ? buffer.header->biYPelsPerMeter * 0.0254 : 0;
    const bool ok = EmbedImageBuffer(writer, object, buffer, options, image, error);
    FreeImage(buffer);
    return ok;
}

}  // namespace vellumo::pdf

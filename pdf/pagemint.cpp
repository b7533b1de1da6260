#include "pdf/pagemint.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bitset>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "pdf/glyphless_font.h"
#include "pdf/image_embed.h"
#include "pdf/pdf_writer.h"
#include "pdf/text_layer.h"
#include "platform/log.h"
#include "platform/replace_file.h"
#include "platform/temp_file.h"

namespace vellumo::pdf {

using namespace vellumo::platform;

namespace {

struct AddedImage {
    std::string path;
    int dpi;
    int page = 0;          // the page within the file, from 0
    std::string password;  // for encrypted PDFs
    std::shared_ptr<const vellumo::ocr::PageText> text;
};

struct DocumentState {
    std::string creator, producer, title, creationDate;
    int dpi = 0;
    EmbedOptions options;
    std::vector<AddedImage> images;
    std::function<bool()> cancelled;
};

// What the last MakePDF wrote, for the byte report.
struct WrittenDocument {
    std::vector<vellumo::pdf::WrittenPage> pages;
    uint64_t bytes = 0;
};

WrittenDocument& LastDocument() {
    static WrittenDocument written;
    return written;
}

const char* KindName(PageKind kind) {
    switch (kind) {
        case PageKind::Bilevel:
            return "bilevel";
        case PageKind::Grey:
            return "grey";
        case PageKind::Colour:
            break;
    }
    return "colour";
}

DocumentState& State() {
    static DocumentState state;
    return state;
}

// A page whose file records no resolution is taken as 150 dpi: that is the resolution this
// program gives the pages it recompresses, and for screen images and photos it gives a page
// of sensible size (a 1240 x 1754 image is A4), where 72 dpi would make posters of them.
constexpr double kDefaultDpi = 150;
// Resolutions below this are taken as "none": they would give pages many metres wide.
constexpr double kLowestDpi = 10;

// Resolutions kept in pixels per metre (PNG, BMP, JPEG and TIFF in centimetres) come back
// from a whole-inch value with an error of up to one pixel per metre (writers round or
// truncate), 0.0254 dpi: 300 dpi reads as 299.9994, 72 dpi as 71.98. Such values are taken as the
// whole number they stand for, so that an A4 page at 300 dpi is exactly A4.
double SnapDpi(double dpi) {
    const double whole = std::round(dpi);
    return std::fabs(dpi - whole) <= 0.03 ? whole : dpi;
}

std::string Text(const char* text) {
    return text ? text : "";
}

void CopyError(const std::string& message, char* errorText, int errorTextSize) {
    if (!errorText || errorTextSize <= 0) return;
    const size_t n = std::min(message.size(), static_cast<size_t>(errorTextSize - 1));
    std::memcpy(errorText, message.data(), n);
    errorText[n] = '\0';
}

// The invisible text of a page over its picture; null when it has none or the text was read
// from a picture of another size (it would lie beside the words).
std::shared_ptr<const PreparedTextLayer> TextLayer(const AddedImage& added,
                                                   const EmbeddedImage& image, size_t page) {
    if (!added.text) return nullptr;
    if (added.text->imageWidth != image.width || added.text->imageHeight != image.height) {
        WriteLogF(
            "Page %zu: the recognised text is of a %d x %d picture, the page's is %d x %d; "
            "left out\n",
            page, added.text->imageWidth, added.text->imageHeight, image.width, image.height);
        return nullptr;
    }
    return TextLayerFor(added.text);
}

// How writing the document ended.
enum class WriteOutcome { Written, Failed, Cancelled };

// Writes the whole document to file. Failed with a message on any failure.
WriteOutcome WriteDocument(std::FILE* file, const DocumentState& doc, WrittenDocument& written,
                           std::string& error) {
    PdfWriter w(file);
    // A document with a text layer has many small font and page dictionaries: they go packed
    // into a compressed object stream, a feature of PDF 1.5.
    const bool hasText = std::any_of(doc.images.begin(), doc.images.end(),
                                     [](const AddedImage& a) { return a.text != nullptr; });
    w.write(hasText ? "%PDF-1.5\n%\xE2\xE3\xCF\xD3\n" : "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    if (hasText) w.packObjects();
    const int catalog = w.reserveObject();
    const int pages = w.reserveObject();
    const int info = w.reserveObject();
    std::vector<int> kids;
    GlyphlessFont textFont;

    for (size_t i = 0; i < doc.images.size(); ++i) {
        // Between pages: each one may take a while to code.
        if (doc.cancelled && doc.cancelled()) return WriteOutcome::Cancelled;
        const AddedImage& added = doc.images[i];
        const int imageObject = w.reserveObject();
        const uint64_t pageStart = w.offset();
        EmbeddedImage image;
        std::string why;
        bool embedded = false;
        try {
            embedded = EmbedImagePage(w, imageObject, added.path, added.page, added.password,
                                      doc.options, image, why);
        } catch (const std::bad_alloc&) {
            why = "not enough memory for " + added.path;
        }
        if (!embedded) {
            if (w.failed())
                error = std::string("Cannot write the PDF file: ") + std::strerror(errno);
            else
                error = "Page " + std::to_string(i + 1) + ": " +
                        (why.empty() ? "cannot read " + added.path : why);
            return WriteOutcome::Failed;
        }
        double dpiX = SnapDpi(image.dpiX), dpiY = SnapDpi(image.dpiY);
        if (dpiX < kLowestDpi || dpiY < kLowestDpi) dpiX = dpiY = kDefaultDpi;
        if (added.dpi > 0) dpiX = dpiY = added.dpi;
        // Page size in points, as the file states it (two decimals).
        const double widthPt = std::round(image.width * 72.0 / dpiX * 100) / 100;
        const double heightPt = std::round(image.height * 72.0 / dpiY * 100) / 100;
        const std::string width = PdfNumber(widthPt);
        const std::string height = PdfNumber(heightPt);

        const int content = w.reserveObject();
        const std::string drawing = "q " + width + " 0 0 " + height + " 0 0 cm /Im0 Do Q\n";
        const std::shared_ptr<const PreparedTextLayer> text = TextLayer(added, image, i + 1);
        int textContent = 0;
        std::string fonts;
        if (!text) {
            w.beginStream(content, "");
            w.write(drawing);
            w.endStream();
        } else {
            // The picture, then the prepared text in a stream of its own: its bytes go in as they
            // were compressed when the text was recognised.
            PicturePlacement placement;
            placement.a = widthPt;
            placement.d = heightPt;
            w.writeStream(
                content, "",
                drawing + TextLayerMatrix(text->imageWidth, text->imageHeight, placement));
            textContent = w.reserveObject();
            w.writeStream(textContent, "/Filter/FlateDecode", text->body);
            textFont.use(text->use.highBytes);
            // The text's fonts are written once, with the first page that uses them.
            for (int v = 0; v < kGlyphlessVariantCount; ++v)
                if (text->use.variants.test(v))
                    fonts += std::string(" ") + kTextFontPrefix + std::to_string(v) + " " +
                             std::to_string(textFont.object(w, v)) + " 0 R";
        }

        const int page = w.reserveObject();
        w.beginObject(page);
        const std::string rotate =
            image.rotate ? " /Rotate " + std::to_string(image.rotate) : std::string();
        w.printf(
            "<< /Type /Page /Parent %d 0 R /MediaBox [0 0 %s %s]%s /Resources << /XObject << "
            "/Im0 %d 0 R >>",
            pages, width.c_str(), height.c_str(), rotate.c_str(), imageObject);
        if (!fonts.empty()) w.printf(" /Font <<%s >>", fonts.c_str());
        if (textContent)
            w.printf(" >> /Contents [%d 0 R %d 0 R] >>\n", content, textContent);
        else
            w.printf(" >> /Contents %d 0 R >>\n", content);
        w.endObject();
        kids.push_back(page);
        written.pages.push_back({KindName(image.kind), image.coding, w.offset() - pageStart});
        if (w.failed()) break;
    }

    textFont.finish(w);

    w.beginObject(pages);
    w.write("<< /Type /Pages /Kids [");
    for (int kid : kids) w.printf("%d 0 R ", kid);
    w.printf("] /Count %zu >>\n", kids.size());
    w.endObject();

    w.beginObject(catalog);
    w.printf("<< /Type /Catalog /Pages %d 0 R >>\n", pages);
    w.endObject();

    w.beginObject(info);
    w.write("<<");
    const std::pair<const char*, const std::string*> entries[] = {
        {"Creator", &doc.creator}, {"Producer", &doc.producer}, {"Title", &doc.title}};
    for (const auto& [key, value] : entries)
        if (!value->empty()) w.write(std::string(" /") + key + " " + PdfTextString(*value));
    if (!doc.creationDate.empty()) w.write(" /CreationDate (" + doc.creationDate + ")");
    w.write(" >>\n");
    w.endObject();
    w.finish(catalog, info);

    if (w.failed()) {
        error = std::string("Cannot write the PDF file: ") + std::strerror(errno);
        return WriteOutcome::Failed;
    }
    written.bytes = w.offset();
    return WriteOutcome::Written;
}

int MakePdf(const char* outPath, int mode, std::string& error) {
    DocumentState& doc = State();
    if (!outPath || !*outPath || (mode != kPgmtModeCreateNew && mode != kPgmtModeReplace))
        return kPgmtInvalidParameters;
    const std::string target = outPath;
    if (target.back() == '/') return kPgmtInvalidParameters;
    if (doc.images.empty()) return kPgmtNoImages;

    // The document goes to a partial file beside the target (through a link, beside the file
    // it names), which replaces the target only when complete.
    vellumo::platform::ReplacingFile file;
    if (!file.open(target)) {
        const vellumo::platform::OutputTarget& t = file.target();
        error = t.problem != vellumo::platform::TargetProblem::None
                    ? vellumo::platform::DescribeTargetProblem(t)
                    : std::string("Cannot create the PDF file: ") + std::strerror(file.error());
        switch (t.problem) {
            case vellumo::platform::TargetProblem::Invalid:
                return kPgmtInvalidParameters;
            case vellumo::platform::TargetProblem::IsFolder:
            case vellumo::platform::TargetProblem::NotWritable:
                return kPgmtCannotReplace;
            case vellumo::platform::TargetProblem::NotRegularFile:
                // A device, FIFO or socket is never replaced by a file.
                return kPgmtFailed;
            default:
                return kPgmtCannotCreate;
        }
    }
    if (file.target().exists && mode == kPgmtModeCreateNew) {
        error = file.target().path + " exists already";
        return kPgmtCannotReplace;
    }
    static thread_local std::vector<char> buffer(1 << 18);
    setvbuf(file.stream(), buffer.data(), _IOFBF, buffer.size());

    WrittenDocument written;
    // On any way out but commit the partial file goes and the target stays as it was.
    switch (WriteDocument(file.stream(), doc, written, error)) {
        case WriteOutcome::Written:
            break;
        case WriteOutcome::Cancelled:
            error = "cancelled";
            return kPgmtCancelled;
        case WriteOutcome::Failed:
            return kPgmtFailed;
    }
    if (!file.commit(true)) {
        const int why = file.error();
        error = std::string("Cannot write the PDF file: ") + std::strerror(why);
        if (file.target().exists || why == EISDIR || why == EEXIST || why == EBUSY ||
            why == ETXTBSY)
            return kPgmtCannotReplace;
        return kPgmtFailed;
    }
    LastDocument() = std::move(written);
    return kPgmtOk;
}

}  // namespace

int PGMT_SetCreator(const char* text) {
    State().creator = Text(text);
    return 0;
}

int PGMT_SetProducer(const char* text) {
    State().producer = Text(text);
    return 0;
}

int PGMT_SetTitle(const char* text) {
    State().title = Text(text);
    return 0;
}

int PGMT_SetCreationDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return 1;
    char date[32];
    std::strftime(date, sizeof date, "D:%Y%m%d%H%M%S", &local);
    const long offset = local.tm_gmtoff;
    char zone[40];
    if (offset == 0)
        std::snprintf(zone, sizeof zone, "Z");
    else
        std::snprintf(zone, sizeof zone, "%c%02ld'%02ld'", offset < 0 ? '-' : '+',
                      std::labs(offset) / 3600, (std::labs(offset) % 3600) / 60);
    State().creationDate = std::string(date) + zone;
    return 0;
}

int PGMT_SetDPI(int dpi) {
    if (dpi < 0 || dpi > 65535) return 1;
    State().dpi = dpi;
    return 0;
}

int PGMT_AddImage(const char* path) {
    if (!path || !*path) return kPgmtInvalidParameters;
    std::string error;
    const int rc = CheckImageFile(path, error);
    if (rc != 0) return rc;
    State().images.push_back({path, State().dpi, 0, std::string(), nullptr});
    return 0;
}

int PGMT_AddText(std::shared_ptr<const vellumo::ocr::PageText> text) {
    if (!text || State().images.empty()) return 1;
    State().images.back().text = std::move(text);
    return 0;
}

int PGMT_AddImagePage(const char* path, int page, const char* password, char* errorText,
                      int errorTextSize) {
    if (!path || !*path || page < 0) return kPgmtInvalidParameters;
    std::string error;
    const std::string key = password ? password : "";
    const int rc = vellumo::pdf::CheckImagePage(path, page, key, error);
    CopyError(rc ? error : "", errorText, errorTextSize);
    if (rc != 0) return rc;
    State().images.push_back({path, State().dpi, page, key, nullptr});
    return 0;
}

int PGMT_MakePDF(const char* outPath, int mode, char* errorText, int errorTextSize) {
    std::string error;
    const bool bufferOk = errorText ? errorTextSize > 0 : errorTextSize == 0;
    LastDocument() = WrittenDocument{};
    const int rc = bufferOk ? MakePdf(outPath, mode, error) : kPgmtInvalidParameters;
    if (errorText && errorTextSize > 0)
        CopyError(rc == kPgmtOk ? "" : error, errorText, errorTextSize);
    PGMT_Reset();
    return rc;
}

void PGMT_SetCancelCheck(std::function<bool()> cancelled) {
    State().cancelled = std::move(cancelled);
}

void PGMT_Reset() {
    State() = DocumentState{};
}

int PGMT_ImageCount() {
    return static_cast<int>(State().images.size());
}

void SetBilevelCoding(BilevelCoding coding) {
    State().options.bilevel = coding;
}

const std::vector<WrittenPage>& LastWrittenPages() {
    return LastDocument().pages;
}

uint64_t LastFileBytes() {
    return LastDocument().bytes;
}

}  // namespace vellumo::pdf

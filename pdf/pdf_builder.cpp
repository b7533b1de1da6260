#include "pdf/pdf_builder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <deque>
#include <exception>
#include <future>
#include <mutex>

#include "imaging/codecs.h"
#include "imaging/image_pages.h"
#include "imaging/read_failure.h"
#include "imaging/status.h"
#include "pdf/document_cache.h"
#include "pdf/image_embed.h"
#include "pdf/jpeg_requantize.h"
#include "pdf/page_image.h"
#include "pdf/page_import.h"
#include "pdf/pagemint.h"
#include "platform/log.h"
#include "platform/private_folder.h"
#include "platform/product.h"
#include "platform/temp_file.h"

namespace vellumo::pdf {

using namespace vellumo::platform;
using namespace vellumo::imaging;

namespace {

// Joins character arrays at compile time, so the creator text is a constant like its parts.
template <size_t... N>
constexpr std::array<char, (N + ...) - sizeof...(N) + 1> JoinText(const char (&... parts)[N]) {
    std::array<char, (N + ...) - sizeof...(N) + 1> out{};
    size_t at = 0;
    for (const char* part : {static_cast<const char*>(parts)...})
        for (size_t i = 0; part[i] != '\0'; ++i) out[at++] = part[i];
    out[at] = '\0';
    return out;
}

constexpr auto kCreatorText = JoinText(kProductName, " - ", kProductWebAddress);

}  // namespace

const char* const kPdfCreator = kCreatorText.data();

std::string PdfTitle() {
    return std::string("Produced by ") + kPdfCreator;
}

void PdfBuildListener::pageStarted(int, int, const std::string&) {}
void PdfBuildListener::showMessage(const std::string&, PdfMessageKind) {}
void PdfBuildListener::showMessageWithDetails(const std::string& text, PdfMessageKind kind,
                                              const std::string&) {
    showMessage(text, kind);
}
bool PdfBuildListener::stopRequested() {
    return false;
}

namespace {

// The resolution a recompressed page gets when its own file records none; it matches what
// the PDF library assumes for such files, so the page keeps its size either way.
constexpr int kDefaultJpegDpi = 150;

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(out.data(), out.size() + 1, format, args);
    va_end(args);
    return out;
}

// The temporary JPEG copies of one build live in a private folder of their own, made when the
// first copy is needed and removed with them on every way out (a signal included) once the
// library is done with them. Nobody else can read them or plant a link among them.
class TemporaryCopies {
public:
    // The folder, made on first use; "" when the temporary folder cannot be written.
    std::string folder() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!tried_) {
            tried_ = true;
            folder_ = vellumo::platform::PrivateFolder("VW");
        }
        return folder_.path();
    }

private:
    std::mutex mutex_;
    bool tried_ = false;
    vellumo::platform::PrivateFolder folder_;
};

// What a page hands to the library, worked out before its turn: the file (the page's own, or
// its JPEG copy) and the page in it, and a note for the log.
struct PreparedPage {
    bool readable = false;
    bool noTempFolder = false;  // a copy was needed and the temporary folder cannot be written
    int readStatus = 0;         // why the page is not readable
    std::string file;
    int page = 0;  // the page within file, from 0
    std::string note;
    std::string reason;  // why an unreadable page cannot be read
};

// The JFIF density of a recompressed page: its own resolution, or 150 dpi when it has none.
std::pair<int, int> DensityFor(double dpiX, double dpiY) {
    const int x = static_cast<int>(std::lround(dpiX)), y = static_cast<int>(std::lround(dpiY));
    if (x <= 0 || y <= 0 || x >= 65536 || y >= 65536) return {kDefaultJpegDpi, kDefaultJpegDpi};
    return {x, y};
}

// SetJpegDensity is one setting for every later SaveJpeg, so each pair runs alone.
std::mutex jpegMutex;

uint64_t FileBytes(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<uint64_t>(st.st_size) : UINT64_MAX;
}

// The bytes the page's image would take in the PDF without recompression, found by writing it
// to nowhere; UINT64_MAX when that fails.
uint64_t LosslessBytes(const vellumo::imaging::PageRef& ref, const PdfBuildOptions& options) {
    std::FILE* sink = std::fopen("/dev/null", "wb");
    if (!sink) return UINT64_MAX;
    uint64_t bytes = UINT64_MAX;
    {
        PdfWriter writer(sink);
        const int object = writer.reserveObject();
        EmbedOptions embed;
        embed.bilevel = options.bilevel;
        EmbeddedImage image;
        std::string error;
        if (EmbedImagePage(writer, object, ref.path, ref.index, std::string(), embed, image, error))
            bytes = writer.offset();
    }
    std::fclose(sink);
    return bytes;
}

// The name of page's JPEG copy in the build's private folder; "" when the temporary folder
// cannot be written.
std::string CopyName(TemporaryCopies* copies, int page) {
    const std::string folder = copies->folder();
    return folder.empty() ? std::string() : folder + "/VW" + std::to_string(page) + ".tmp.jpg";
}

// Writes a JPEG copy of the image with its own resolution into jpeg; true when written.
bool SaveJpegCopy(const ImageBuffer& image, const std::string& jpeg, int quality) {
    const auto [x, y] = DensityFor(ImageDpiX(image), ImageDpiY(image));
    std::lock_guard<std::mutex> lock(jpegMutex);
    SetJpegDensity(x, y, 1);
    return SaveJpeg(jpeg.c_str(), image, quality) == 0;
}

// A page of a PDF: readable when the file has it. Pages that are one image keep their image
// data whatever the compression setting; drawn pages become JPEG copies when compressing.
PreparedPage PreparePdfPage(const vellumo::imaging::PageRef& ref, const PdfBuildOptions& options,
                            int page, int pageCount, TemporaryCopies* copies) {
    PreparedPage p;
    p.file = ref.path;
    p.page = ref.index;
    const auto known = options.passwords.find(ref.path);
    const std::string password = known == options.passwords.end() ? "" : known->second;
    std::vector<vellumo::imaging::PageRef> pages;
    const vellumo::pdf::ImportStatus listed =
        vellumo::pdf::ListPages(ref.path, password, pages, p.reason);
    p.readable = listed == vellumo::pdf::ImportStatus::Ok && ref.index >= 0 &&
                 ref.index < static_cast<int>(pages.size());
    if (listed == vellumo::pdf::ImportStatus::Ok && !p.readable)
        p.reason = "the document has no page " + std::to_string(ref.index + 1);
    if (!p.readable || !options.compress) return p;
    std::shared_ptr<vellumo::pdf::PdfDocument> doc;
    std::string ignored;
    vellumo::pdf::PageImage image;
    if (vellumo::pdf::OpenCachedDocument(ref.path, doc, ignored) == vellumo::pdf::PdfStatus::Ok &&
        !doc->encrypted() && vellumo::pdf::FindPageImage(*doc, ref.index, image))
        return p;
    const std::string jpeg = CopyName(copies, page);
    if (jpeg.empty()) {
        // Leaving the page uncompressed would report as done what was not asked for.
        p.noTempFolder = true;
        return p;
    }
    ImageBuffer drawn{};
    if (vellumo::pdf::LoadPage(ref, password, drawn, p.reason) == vellumo::pdf::ImportStatus::Ok &&
        SaveJpegCopy(drawn, jpeg, CompressionQuality(options.compressionPercent))) {
        p.file = jpeg;
        p.page = 0;
    } else {
        p.note = Format("Could not compress image %d of %d (%s), adding it unchanged\n", page,
                        pageCount, ref.path.c_str());
    }
    FreeImage(drawn);
    return p;
}

// Inspects the page and, for colour and grey pages when compressing, writes a JPEG copy with
// the page's own resolution. Runs on a worker thread for the page after the current one, so it
// touches neither the log nor the library.
PreparedPage PreparePage(const vellumo::imaging::PageRef& ref, const PdfBuildOptions& options,
                         int page, int pageCount, TemporaryCopies* copies) {
    if (vellumo::pdf::IsPdfFile(ref.path))
        return PreparePdfPage(ref, options, page, pageCount, copies);
    const std::string& path = ref.path;
    PreparedPage p;
    p.file = path;
    p.page = ref.index;
    // Only pages that are recompressed need their pixels; for the others reading the file's
    // header is enough to know it is a readable image, and the library reads the data itself.
    ImageFileInfo info;
    ImageFormat format = ImageFormat::None;
    p.readStatus = vellumo::imaging::InspectImagePage(path.c_str(), ref.index, info, &format);
    p.readable = p.readStatus == kImgOk;
    if (!p.readable) p.reason = ImageFileProblem();
    if (!p.readable || !options.compress || info.bitsPerPixel <= 1) return p;
    const int quality = CompressionQuality(options.compressionPercent);
    const std::string jpeg = CopyName(copies, page);
    if (jpeg.empty()) {
        p.noTempFolder = true;
        return p;
    }
    // A JPEG page is requantised without going through pixels, and only below the quality it
    // already has: at or above it a new encoding only adds bytes. Where requantising does not
    // apply it is decoded and encoded like every other page.
    if (format == ImageFormat::Jpeg) {
        const int own = EstimateJpegQuality(path);
        if (own > 0 && quality >= own) {
            p.note =
                Format("Image %d of %d kept as it is: its quality (about %d) is not above %d\n",
                       page, pageCount, own, quality);
            return p;
        }
        double dpiX = 0, dpiY = 0;
        ReadJpegResolution(path, dpiX, dpiY);
        const auto [x, y] = DensityFor(dpiX, dpiY);
        if (RequantizeJpeg(path, jpeg, quality, x, y)) {
            if (FileBytes(jpeg) < FileBytes(path))
                p.file = jpeg;
            else
                p.note = Format("Image %d of %d kept as it is: recompressing it saves nothing\n",
                                page, pageCount);
            return p;
        }
    }
    ImageBuffer image{};
    p.readStatus = vellumo::imaging::ReadImagePage(path.c_str(), ref.index, image);
    p.readable = p.readStatus == 0;
    if (!p.readable) p.reason = ImageFileProblem();
    TwoColours colours;
    // Two colours are coded losslessly (JBIG2 or G4), smaller than any JPEG of them.
    if (p.readable && BitsPerPixel(image) > 1 && !FindTwoColours(image, colours)) {
        const bool saved = SaveJpegCopy(image, jpeg, quality);
        FreeImage(image);
        if (!saved) {
            p.note = Format("Could not compress image %d of %d (%s), adding it unchanged\n", page,
                            pageCount, path.c_str());
        } else if (FileBytes(jpeg) < LosslessBytes(ref, options)) {
            p.file = jpeg;
            p.page = 0;
        } else {
            p.note = Format("Image %d of %d kept lossless: as JPEG it would not be smaller\n", page,
                            pageCount);
        }
    }
    FreeImage(image);
    return p;
}

// The pages being prepared ahead of the loop (at most two, so memory holds two pages). Every
// way out of the loop waits for them; their JPEG copies go with copies.
class PagesAhead {
public:
    PagesAhead(const std::vector<vellumo::imaging::PageRef>& files, const PdfBuildOptions& options,
               TemporaryCopies& copies)
        : files_(files), options_(options), copies_(copies) {}
    ~PagesAhead() {
        for (auto& [page, job] : jobs_) {
            try {
                job.get();
            } catch (const std::exception&) {
            }
        }
    }
    // Page j (from 1); starts j and j + 1 when they are not running yet.
    PreparedPage take(int j) {
        const int n = static_cast<int>(files_.size());
        if (!options_.compress) return PreparePage(files_[j - 1], options_, j, n, &copies_);
        for (int k = j; k <= std::min(j + 1, n); ++k)
            if (jobs_.empty() || jobs_.back().first < k)
                jobs_.emplace_back(k, std::async(std::launch::async, PreparePage, files_[k - 1],
                                                 options_, k, n, &copies_));
        PreparedPage p;
        try {
            p = jobs_.front().second.get();
        } catch (const std::exception&) {
            p.note = Format("Not enough memory for image %d of %d\n", j, n);
        }
        jobs_.pop_front();
        return p;
    }

private:
    const std::vector<vellumo::imaging::PageRef>& files_;
    const PdfBuildOptions& options_;
    TemporaryCopies& copies_;
    std::deque<std::pair<int, std::future<PreparedPage>>> jobs_;
};

}  // namespace

int CompressionQuality(const std::string& text) {
    long long value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        value = value * 10 + (c - '0');
        if (value > INT_MAX) value = INT_MAX;
    }
    if (value < 1) return 1;
    if (value > 100) return 100;
    return static_cast<int>(value);
}

PdfResultText DescribeMakePdfResult(int result, const std::string& path,
                                    const std::string& errorText) {
    PdfResultText t;
    const char* p = path.c_str();
    switch (result) {
        case 1:
            t.message =
                Format("Could not create PDF file %s (error %d): invalid parameters", p, result);
            break;
        case 2:
            t.message = Format(
                "Could not create PDF file %s (error %d), possibly because the file is "
                "in use by another application",
                p, result);
            break;
        case 3:
            t.message = Format("Could not create PDF file %s: %s", p, errorText.c_str());
            t.logLine = errorText + "\n";
            break;
        case 4:
            t.message = Format(
                "Could not create PDF file %s (error %d), PDF file already exists and "
                "could not be overwritten - it is possibly being held open by a PDF "
                "viewer application",
                p, result);
            break;
        case 5:
            t.message =
                Format("Could not create PDF file %s (error %d): no images to be added", p, result);
            break;
        default:
            t.message = Format("*** Successfully created %s ***", p);
            if (result == 0) t.logLine = Format("Successfully created PDF file %s\n", p);
            return t;
    }
    t.failure = true;
    if (t.logLine.empty()) t.logLine = t.message + "\n";
    // The texts of results 2 and 4 guess at the cause; the library's reason says what it was.
    if (result != 3) t.details = errorText;
    return t;
}

PdfBuildResult BuildPdf(const std::vector<std::string>& pageFiles, const std::string& outPath,
                        const PdfBuildOptions& options, PdfBuildListener* listener) {
    std::vector<vellumo::imaging::PageRef> pages;
    pages.reserve(pageFiles.size());
    for (const std::string& file : pageFiles) pages.push_back(vellumo::imaging::PageRef{file, 0});
    return BuildPdf(pages, outPath, options, listener);
}

PdfBuildResult BuildPdf(const std::vector<vellumo::imaging::PageRef>& pageFiles,
                        const std::string& outPath, const PdfBuildOptions& options,
                        PdfBuildListener* listener) {
    PdfBuildListener quiet;
    PdfBuildListener& events = listener ? *listener : quiet;
    PdfBuildResult result;
    TemporaryCopies copies;
    // Images left from a build that ended early must not join this one.
    PGMT_Reset();
    vellumo::pdf::SetBilevelCoding(options.bilevel);

    PGMT_SetCreator(kPdfCreator);
    WriteLog("Creator set\n");
    PGMT_SetProducer(kPdfCreator);
    WriteLog("Producer set\n");
    PGMT_SetTitle(PdfTitle().c_str());
    WriteLog("Title set\n");
    PGMT_SetCreationDate();
    WriteLog("Creation date set\n");
    // The listener is asked in the final write too: it codes every page again.
    PGMT_SetCancelCheck([&events] { return events.stopRequested(); });

    const int n = static_cast<int>(pageFiles.size());
    PagesAhead ahead(pageFiles, options, copies);
    for (int j = 1; j <= n; ++j) {
        if (events.stopRequested()) {
            PGMT_Reset();
            result.status = PdfBuildStatus::Cancelled;
            result.page = j;
            return result;
        }
        const std::string& path = pageFiles[j - 1].path;
        WriteLogF("Loading image %d of %d (%s)\n", j, n, path.c_str());
        events.pageStarted(j, n, path);
        const int dpiResult = PGMT_SetDPI(0);
        if (dpiResult != 0) {
            WriteLog(options.forMail ? "Could not set dpi for body in PDF\n"
                                     : "Could not set dpi for fax body in PDF\n");
            PGMT_Reset();
            result.status = PdfBuildStatus::SetDpiFailed;
            result.code = dpiResult;
            result.page = j;
            return result;
        }
        const PreparedPage prepared = ahead.take(j);
        if (!prepared.note.empty()) WriteLog(prepared.note);
        const std::string& file = prepared.file;
        if (prepared.noTempFolder) {
            result.errorText = TempFolderProblem();
            events.showMessage(result.errorText, PdfMessageKind::Warning);
            WriteLog(result.errorText + "\n");
            PGMT_Reset();
            result.status = PdfBuildStatus::NoTempFolder;
            result.page = j;
            return result;
        }
        if (!prepared.readable) {
            // Leaving the page out would give a PDF that silently lacks it.
            // A document's page says why itself; an image's reason comes from its status.
            result.errorText = !prepared.reason.empty()
                                   ? prepared.reason
                                   : vellumo::imaging::ReadFailureReason(path, prepared.readStatus);
            events.showMessageWithDetails("Unsupported graphics format", PdfMessageKind::Warning,
                                          path + ": " + result.errorText);
            WriteLogF("Could not load image %d of %d (%s)\n", j, n, path.c_str());
            PGMT_Reset();
            result.status = PdfBuildStatus::PageUnreadable;
            result.page = j;
            return result;
        }
        int addResult;
        if (prepared.page == 0 && !vellumo::pdf::IsPdfFile(file)) {
            addResult = PGMT_AddImage(file.c_str());  // the JPEG copy
        } else {
            const auto known = options.passwords.find(path);
            addResult = PGMT_AddImagePage(
                file.c_str(), prepared.page,
                known == options.passwords.end() ? nullptr : known->second.c_str());
        }
        if (addResult != 0) {
            if (options.forMail) {
                const std::string text = Format("Could not add image to PDF file %s (error %d)",
                                                outPath.c_str(), addResult);
                events.showMessage(text, PdfMessageKind::Plain);
                WriteLog(text + "\n");
            } else {
                WriteLog("Could not add body to PDF\n");
            }
            PGMT_Reset();
            result.status = PdfBuildStatus::AddImageFailed;
            result.code = addResult;
            result.page = j;
            return result;
        }
        if (static_cast<size_t>(j) <= options.pageTexts.size() && options.pageTexts[j - 1])
            PGMT_AddText(options.pageTexts[j - 1]);
    }

    char errorText[256] = {};
    result.code = PGMT_MakePDF(outPath.c_str(), kPgmtModeReplace, errorText, sizeof errorText);
    result.errorText = errorText;
    if (result.code == kPgmtCancelled) {
        result.status = PdfBuildStatus::Cancelled;
        result.page = n;
        return result;
    }
    if (result.code == kPgmtOk) {
        result.pages = vellumo::pdf::LastWrittenPages();
        result.fileBytes = vellumo::pdf::LastFileBytes();
    }
    const PdfResultText text = DescribeMakePdfResult(result.code, outPath, result.errorText);
    if (text.failure)
        events.showMessageWithDetails(text.message, PdfMessageKind::Warning, text.details);
    if (!text.logLine.empty()) WriteLog(text.logLine);
    if (!text.details.empty()) WriteLog("Reason: " + text.details + "\n");
    return result;
}

}  // namespace vellumo::pdf

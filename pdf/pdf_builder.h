// Building one PDF from a list of page files: document information, the page loop (with JPEG
// recompression of colour and grey pages when asked) and the final write, exactly as "SAVE AS
// PDF", "MAIL AS PDF" and vellumo-cli need it. No GUI: what the windows do in between (status,
// message boxes) goes through a small listener; log lines go to the program's log.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "imaging/image_pages.h"
#include "ocr/page_text.h"
#include "pdf/bilevel_image.h"
#include "pdf/pagemint.h"

namespace vellumo::pdf {

// The creator and producer written into every PDF, and the title.
extern const char* const kPdfCreator;
std::string PdfTitle();

struct PdfBuildOptions {
    bool compress = true;                    // the setting "Compress"
    std::string compressionPercent = "100";  // the setting "ComprPerc", as text
    bool forMail = false;                    // the log and message variants of mailing
    vellumo::pdf::BilevelCoding bilevel = vellumo::pdf::BilevelCoding::Auto;
    std::map<std::string, std::string>
        passwords;  // encrypted PDFs among the pages: file -> password
    // The recognised text of each page, by position (missing or null: the page has none); it
    // goes under the page's picture as an invisible, searchable layer.
    std::vector<std::shared_ptr<const vellumo::ocr::PageText>> pageTexts;
};

enum class PdfMessageKind {
    Warning,  // exclamation icon
    Plain,    // OK only, no icon
};

class PdfBuildListener {
public:
    virtual ~PdfBuildListener() = default;
    // Page page of pageCount (from 1) is about to be handled.
    virtual void pageStarted(int page, int pageCount, const std::string& file);
    // A message the user must see now, while the build is still under way (caption "Vellumo").
    virtual void showMessage(const std::string& text, PdfMessageKind kind);
    // The same with the file and the real reason behind it, for the box's details (and the
    // command line's standard error); by default the text alone.
    virtual void showMessageWithDetails(const std::string& text, PdfMessageKind kind,
                                        const std::string& details);
    // Asked before each page and between the pages of the final write: true stops the build
    // with PdfBuildStatus::Cancelled, no file written and an existing one left as it was. May
    // be asked from the thread running the build.
    virtual bool stopRequested();
};

enum class PdfBuildStatus {
    Finished,        // PGMT_MakePDF ran; its result is in code
    SetDpiFailed,    // PGMT_SetDPI failed (code: its result)
    PageUnreadable,  // a page file could not be read (page: which one)
    AddImageFailed,  // PGMT_AddImage failed (code: its result, page: which one)
    NoTempFolder,    // a page needed a JPEG copy and the temporary folder cannot be written
    Cancelled,       // the listener asked to stop (page: the page it was asked before)
};

struct PdfBuildResult {
    PdfBuildStatus status = PdfBuildStatus::Finished;
    int code = 0;
    int page = 0;
    // The library's error text (for result 3 the reason itself, for the other failures the
    // system's reason behind them), or the reason a page could not be read, or the message on
    // the temporary folder.
    std::string errorText;
    // For a written PDF: each page's kind, coding and bytes, and the file's size.
    std::vector<vellumo::pdf::WrittenPage> pages;
    uint64_t fileBytes = 0;
    // The PDF is written: MakePDF reported 0.
    bool written() const { return status == PdfBuildStatus::Finished && code == 0; }
    // What the windows treat as success: any MakePDF result other than 1 to 5.
    bool succeeded() const { return status == PdfBuildStatus::Finished && (code < 1 || code > 5); }
};

// Builds outPath from the page files in order. The temporary JPEG copies are removed before it
// returns. listener may be null.
PdfBuildResult BuildPdf(const std::vector<std::string>& pageFiles, const std::string& outPath,
                        const PdfBuildOptions& options, PdfBuildListener* listener);
// The same from pages of files: any page of a multi-page TIFF or of a PDF. PDF pages that are
// one image keep their image data byte for byte, even when compressing.
PdfBuildResult BuildPdf(const std::vector<vellumo::imaging::PageRef>& pages,
                        const std::string& outPath, const PdfBuildOptions& options,
                        PdfBuildListener* listener);

// The JPEG quality from the text of "ComprPerc": its leading digits (none count as 0), clamped
// to 1..100.
int CompressionQuality(const std::string& text);

// The message and log line for a PGMT_MakePDF result. failure: results 1 to 5, for which the
// message goes into a warning box (with the error text as its details, except for result 3,
// whose message holds it) and the log line into the log. Otherwise message is the
// success text "*** Successfully created %s ***" and logLine the success line for result 0
// (empty for results the library does not define).
struct PdfResultText {
    bool failure = false;
    std::string message;
    std::string logLine;
    std::string details;  // the real reason behind results 1, 2, 4 and 5, when known
};
PdfResultText DescribeMakePdfResult(int result, const std::string& path,
                                    const std::string& errorText);

}  // namespace vellumo::pdf

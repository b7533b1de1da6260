// Pagemint: the program's PDF library. Collects document information and a list of image
// files, then writes them as one PDF with one page per image. Plain functions, narrow strings,
// int results (0 success). MakePDF writes into a hidden partial file beside the target and
// renames it over the target only when the whole document is written, so an existing PDF is
// never lost to a failed run, and a failure (or Ctrl+C) leaves no partial file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ocr/page_text.h"
#include "pdf/bilevel_image.h"

namespace vellumo::pdf {

// Results of PGMT_MakePDF.
enum PagemintResult : int {
    kPgmtOk = 0,
    kPgmtInvalidParameters = 1,
    kPgmtCannotCreate = 2,   // the folder is missing or not writable
    kPgmtFailed = 3,         // described in the error text
    kPgmtCannotReplace = 4,  // the file exists and cannot be replaced
    kPgmtNoImages = 5,
    kPgmtCancelled = 6,  // the cancel check asked to stop; nothing was written
};

// Modes of PGMT_MakePDF.
constexpr int kPgmtModeCreateNew = 1;  // an existing file at the target is result 4
constexpr int kPgmtModeReplace = 2;    // an existing file at the target is replaced

// Document information for the next file; the texts are UTF-8.
int PGMT_SetCreator(const char* text);
int PGMT_SetProducer(const char* text);
int PGMT_SetTitle(const char* text);
// The creation date of the next file: now, as a PDF date with the local time zone.
int PGMT_SetCreationDate();
// Resolution in dots per inch for the images added from now on: 0 uses each image's own
// resolution; a positive value overrides it. Negative or above 65535: nonzero (rejected).
int PGMT_SetDPI(int dpi);
// Appends an image file as the next page. Nonzero when the file cannot be opened (2) or is no
// image of a format the program reads (3), or for a null or empty path (1).
int PGMT_AddImage(const char* path);
// Lays recognised text invisibly over the image added last, so the page can be searched and its
// text copied. The text must have been recognised on a picture of that image's size; else the
// page goes in without it. Nonzero (1) when no image has been added or text is null.
int PGMT_AddText(std::shared_ptr<const vellumo::ocr::PageText> text);
// Appends page `page` (from 0) of a file as the next page: any page of a multi-page TIFF, or of
// a PDF (opened with password when it is encrypted; null or empty: none). A PDF page that is
// one image keeps its image data byte for byte, with its size and turn; other PDF pages are
// drawn at 300 dpi. Results as PGMT_AddImage; the reason goes into errorText when given.
int PGMT_AddImagePage(const char* path, int page, const char* password, char* errorText = nullptr,
                      int errorTextSize = 0);
// Writes all added pages to outPath. Results as in PagemintResult; for kPgmtFailed the reason
// is in errorText, and for the other failures the system's reason when there is one (always
// NUL-terminated when errorTextSize > 0). Only a regular file or a new name is written: a link
// is followed to its file and stays, a device, FIFO or socket is result 3. A new file gets
// 0666 less the umask (0600 in the temporary folder), a replaced one keeps its mode.
// Afterwards the document information and the list of images are reset, whatever the result.
int PGMT_MakePDF(const char* outPath, int mode, char* errorText, int errorTextSize);
// A check MakePDF makes before each page: when it returns true, MakePDF stops with
// kPgmtCancelled, leaving no partial file and the target as it was. The check may be called
// from the thread running MakePDF only. Forgotten by PGMT_Reset (so after every MakePDF).
void PGMT_SetCancelCheck(std::function<bool()> cancelled);
// Forgets the document information and the added images without writing anything.
void PGMT_Reset();
// The number of images added since the last reset.
int PGMT_ImageCount();

// How the next files code their images of two colours (reset to Auto by PGMT_Reset).
void SetBilevelCoding(BilevelCoding coding);

// One page of the last file PGMT_MakePDF wrote: its kind ("bilevel", "grey", "colour"), the
// coding of its image ("JBIG2", "G4", "JPEG", "Flate") and the bytes the page takes in the file
// (image, drawing and page objects).
struct WrittenPage {
    std::string kind;
    std::string coding;
    uint64_t bytes = 0;
};
// The pages of the last file written, and its size; empty after a failed run.
const std::vector<WrittenPage>& LastWrittenPages();
uint64_t LastFileBytes();

}  // namespace vellumo::pdf

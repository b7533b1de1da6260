// Pagemint: the program's PDF library. Collects document information and a list of image
// files, then writes them as one PDF with one page per image. Plain functions, narrow strings,
// int results (0 success). MakePDF writes into a hidden partial file beside the target and
// renames it over the target only when the whole document is written, so an existing PDF is
// never lost to a failed run, and a failure (or Ctrl+C) leaves no partial file.
#pragma once

#include <cstddef>

namespace vellumo::pdf {

// Results of PGMT_MakePDF.
enum PagemintResult : int {
    kPgmtOk = 0,
    kPgmtInvalidParameters = 1,
    kPgmtCannotCreate = 2,   // the folder is missing or not writable
    kPgmtFailed = 3,         // described in the error text
    kPgmtCannotReplace = 4,  // the file exists and cannot be replaced
    kPgmtNoImages = 5,
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
// Writes all added pages to outPath. Results as in PagemintResult; for kPgmtFailed the reason
// is in errorText, and for the other failures the system's reason when there is one (always
// NUL-terminated when errorTextSize > 0). Only a regular file or a new name is written: a link
// is followed to its file and stays, a device, FIFO or socket is result 3. A new file gets
// 0666 less the umask (0600 in the temporary folder), a replaced one keeps its mode.
// Afterwards the document information and the list of images are reset, whatever the result.
int PGMT_MakePDF(const char* outPath, int mode, char* errorText, int errorTextSize);
// Forgets the document information and the added images without writing anything.
void PGMT_Reset();
// The number of images added since the last reset.
int PGMT_ImageCount();

}  // namespace vellumo::pdf

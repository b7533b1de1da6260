// The page document: the ordered pages that become one PDF, each a file on disk (a temporary
// TIFF for a scanned or transformed page, the user's own file for a loaded one) plus a
// thumbnail, and the one image under work. One object, owned by the main dialog and handed to
// the commands that need it; it works and is tested without any window. The windows that show
// it register as its views and are told when to refresh.
#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/page_image_list.h"
#include "imaging/image_buffer.h"
#include "imaging/image_pages.h"
#include "ocr/page_text.h"

namespace vellumo::document {

struct Page {
    int isScanned = 0;        // 1: came from the scanner; 0: loaded from the user's file
    std::string sourcePath;   // scanned: the temporary TIFF written at transfer; loaded: the
                              // user's own file, used in place
    std::string workingPath;  // the newest transformed copy (a temporary TIFF), or empty
    int imageIndex = 0;       // the page's thumbnail slot in pageImageList
    int pageIndex = 0;        // the page's place in sourcePath (0 = first; a multi-page TIFF
                              // or a PDF holds more than one)
    uint64_t id = 0;          // unique for the life of the document; background work finds
                              // its page again by it
    // The text recognised on the page as it is now; null while none is known.
    std::shared_ptr<const ocr::PageText> text;
    bool waitingForText = false;  // clean-up or recognition still under way (thumbnail mark)
    bool blank = false;           // found blank by the clean-up (thumbnail mark)
};

// The pages in list order. The table grows as pages arrive; it has no fixed limit.
using PageTable = std::vector<std::unique_ptr<Page>>;

// The file that holds the page now: the working copy when there is one, else the source.
std::string PagePath(const Page& page);

// The page as it is now: the working copy (a one-page file) when there is one, else the page
// of the source file.
imaging::PageRef PageRefOf(const Page& page);

// A new unique page file name in the temporary folder, "<temp>/VW<unique>.tmp.TIF". The empty
// "VW<unique>.tmp" file that reserves the name is left in place; "" when the temporary folder
// cannot be written.
std::string MakeTempPagePath();

// The thumbnail's size inside its cell for a working area w x h (w = areaRight - areaLeft,
// h = areaBottom - areaTop).
QSize ThumbnailSize(uint32_t w, uint32_t h);
// The same for a cell of cell x cell pixels (the thumbnail cell at a screen's scale factor).
QSize ThumbnailSize(uint32_t w, uint32_t h, int cell);

// The side of a thumbnail cell in pixels on a screen of that scale factor (260 at 1).
int CellPixels(double scale);

// Puts a picture no larger than the cell, centred, into a new cellSize x cellSize cell of grey
// 227 (same depth as the picture). Needs no window, so workers can make cells. 0 or a negative
// code, cell all zero then.
int PlaceInCell(const imaging::ImageBuffer& picture, int cellSize, imaging::ImageBuffer& cell);

// Makes the cellSize x cellSize thumbnail cell of an image (see PageDocument::MakeThumbnail)
// without touching a document, so that a worker thread can make it. 0 or a negative code.
int MakeThumbnailCell(const imaging::ImageBuffer& image, imaging::ImageBuffer& cell, int cellSize);

// A thumbnail cell as the list shows it: a cell made for a scaled screen records its scale
// factor, so that it is drawn at 260 points, pixel for pixel, instead of larger.
QImage ThumbnailPictureOf(const imaging::ImageBuffer& cell);

// What background work on the pages needs to hear: a page joined the list, its picture changed
// (what was found on it is void), or it is about to leave. Unset members do nothing.
struct PageEvents {
    std::function<void(Page& page)> added;
    std::function<void(Page& page)> changed;
    std::function<void(Page& page)> removing;
};

// What the windows showing the document do when it has changed. Unset members do nothing.
struct DocumentViews {
    std::function<void()> postPageCount;  // the skin window shows the new page count
    std::function<void()> rebuild;        // the page view refills itself from the table
    std::function<int()> selectedRow;     // the page selected in the view, -1 when none
    std::function<void(int row)> selectRow;
    std::function<void(int row)> refreshPage;  // the page's thumbnail changed: show it
    std::function<void()> refreshMarks;        // a page's marks changed: show them
};

class PageDocument {
public:
    PageDocument() = default;
    // Frees the pages (deleting working copies, as "Exit" does) and the images.
    ~PageDocument();
    PageDocument(const PageDocument&) = delete;
    PageDocument& operator=(const PageDocument&) = delete;

    PageTable pages;
    // The number of pages plus one (1 for an empty list), always derived from the table.
    int pageCounter() const { return static_cast<int>(pages.size()) + 1; }
    // List index of the page last right-clicked; the page menu's commands act on it.
    int currentItem = 0;
    // The last thumbnail cell made by MakeThumbnail (260 x 260 at thumbnailScale 1, 24-bit).
    imaging::ImageBuffer thumbnailImage{};
    // The scale factor of the screen the thumbnails are shown on: cells are made with this many
    // pixels per point so that they are sharp there.
    double thumbnailScale = 1.0;
    // Passwords of the encrypted PDFs pages were brought in from (file -> password); kept only
    // in memory, for loading those pages again.
    std::map<std::string, std::string> pdfPasswords;
    // The password a page's file needs ("" for most).
    std::string PasswordOf(const Page& page) const;
    PageImageList pageImageList;
    // The page under work. All zero while no page is loaded; every command that loads a page
    // into it releases it again before it returns.
    imaging::ImageBuffer workingImage{};

    // Fits the image into a 260 x 260 cell filled with grey 227 (centred, never enlarged) and
    // keeps the cell in thumbnailImage. 0, or -1 when the image is empty; another negative code
    // when the cell cannot be made (thumbnailImage is then unchanged).
    int MakeThumbnail(const imaging::ImageBuffer& image);
    // Makes `cell` (from PlaceInCell) the last thumbnail; cell is all zero afterwards.
    void TakeThumbnail(imaging::ImageBuffer& cell);
    // Puts the last thumbnail into a new image-list slot and appends a page for the file. The
    // caller posts the page count and rebuilds the view once after its last page.
    void AppendPage(const std::string& path, int isScanned, int pageIndex = 0);
    // Puts the last thumbnail into the page's own slot.
    void ReplaceThumbnail(Page& page);
    // The last thumbnail cell as the list shows it (its scale factor recorded in the picture).
    QImage ThumbnailPicture() const;
    // Removes the page at `index`: a scanned page's source file and any working copy are
    // deleted (each logged), a loaded page's own file never. False when there is no such page.
    bool RemovePageAt(int index);
    // Swaps two pages; false when either index is outside the table.
    bool SwapPages(int a, int b);
    // Frees every page, deleting their working copies; source files stay.
    void FreeAllPages();

    // The windows that show the document.
    DocumentViews views;
    // The background work on the pages.
    PageEvents events;
    // The page with the id, or nullptr; its row in row when asked.
    Page* FindPage(uint64_t pageId, int* row = nullptr) const;
    // Shows the pages' marks (waiting for text, blank) anew.
    void RefreshMarks() const;
    // Tells the skin window the page count (UM_PAGECOUNT with pageCounter).
    void PostPageCount() const;
    // Refills the page view from the table.
    void RebuildPageView() const;
    // The page selected in the view, -1 when none (or no view).
    int selectedRow() const;
    void selectRow(int row) const;
    // Shows the page's new thumbnail in the view and scrolls it into sight.
    void RefreshPage(int row) const;

private:
    uint64_t nextPageId_ = 1;
};

}  // namespace vellumo::document

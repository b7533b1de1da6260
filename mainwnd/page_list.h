// The page list: the program's document, the ordered pages that become one PDF. Each page is a
// file on disk (a temporary TIFF for a scanned or transformed page, the user's own file for a
// loaded one) plus a thumbnail in an image list. This is the model alone: it works and is tested
// without any window; the page view (mainwnd/page_view.h) is rebuilt from it after each change.
#pragma once

#include <QIcon>
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "imaging/image_buffer.h"

struct Page {
    int isScanned = 0;        // 1: came from the scanner; 0: loaded from the user's file
    std::string sourcePath;   // scanned: the temporary TIFF written at transfer; loaded: the
                              // user's own file, used in place
    std::string workingPath;  // the newest transformed copy (a temporary TIFF), or empty
    int imageIndex = 0;       // the page's thumbnail slot in pageImageList
};

// The pages in list order. The table grows as pages arrive; it has no fixed limit.
using PageTable = std::vector<std::unique_ptr<Page>>;
extern PageTable pages;

// The number of pages plus one (1 for an empty list), always derived from the table. Reads as
// an int: `if (pageCounter > 1)`, `PostWindowMessage(..., pageCounter)`.
struct PageCounter {
    operator int() const { return static_cast<int>(pages.size()) + 1; }
};
inline constexpr PageCounter pageCounter{};

// List index of the page last right-clicked; the context menu's commands act on it.
extern int currentItem;

// The last thumbnail cell made by MakeThumbnail (260 x 260, 24-bit).
extern vellumo::imaging::ImageBuffer thumbnailImage;

// The thumbnails, one slot per page ever added. The list only grows, so a slot stays valid
// after the page before it is deleted or the list is cleared.
class PageImageList {
public:
    static constexpr int kCellSize = 260;
    int count() const { return static_cast<int>(images_.size()); }
    // Adds a slot holding the image and returns its index.
    int append(const QImage& image);
    // Puts the image into an existing slot; false when there is no such slot.
    bool replace(int index, const QImage& image);
    QImage image(int index) const;
    QIcon icon(int index) const;

private:
    std::vector<QImage> images_;
    std::vector<QIcon> icons_;
};
extern PageImageList pageImageList;

// The file that holds the page now: the working copy when there is one, else the source.
std::string PagePath(const Page& page);

// A new unique page file name in the temporary folder, "<temp>/VW<unique>.tmp.TIF". The empty
// "VW<unique>.tmp" file that reserves the name is left in place; "" when the temporary folder
// cannot be written.
std::string MakeTempPagePath();

// Fits the image into a 260 x 260 cell filled with grey 227 (centred, never enlarged) and keeps
// the cell in thumbnailImage. 0, or -1 when the image is empty; another negative code when the
// cell cannot be made (thumbnailImage is then unchanged).
int MakeThumbnail(const vellumo::imaging::ImageBuffer& image);
// The thumbnail's size inside its cell for a working area w x h (w = areaRight - areaLeft,
// h = areaBottom - areaTop).
QSize ThumbnailSize(uint32_t w, uint32_t h);

// Puts the last thumbnail into a new image-list slot and appends a page for the file. The
// caller posts the page count and rebuilds the view once after its last page.
void AppendPage(const std::string& path, int isScanned);
// Puts the last thumbnail into the page's own slot.
void ReplaceThumbnail(Page& page);

// Removes the page at `index`: a scanned page's source file and any working copy are deleted
// (each logged), a loaded page's own file never. False when there is no such page.
bool RemovePageAt(int index);
// Swaps two pages; false when either index is outside the table.
bool SwapPages(int a, int b);
// Frees every page, deleting their working copies; source files stay.
void FreeAllPages();

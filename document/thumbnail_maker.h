// Thumbnails made from page files on worker threads, for pages that come back to the list (an
// undo, a redo, a restored session) after their thumbnails were let go. Decoding a page takes
// longer than a blink, so the list shows at once and each thumbnail appears when it is made;
// each result is handed back on the GUI thread.
#pragma once

#include <QImage>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <string>

#include "imaging/image_pages.h"

namespace vellumo::document {

class ThumbnailMaker {
public:
    // `done` gets each thumbnail on the GUI thread: the slot asked for and the cell (a null image
    // when the file could not be read).
    explicit ThumbnailMaker(std::function<void(int slot, const QImage& cell)> done);
    // Thumbnails not yet begun are dropped, the ones being made are waited for and not handed
    // back.
    ~ThumbnailMaker();
    ThumbnailMaker(const ThumbnailMaker&) = delete;
    ThumbnailMaker& operator=(const ThumbnailMaker&) = delete;

    // The thumbnail of the page, cellSize pixels square (CellPixels of the screen's scale).
    void request(int slot, const imaging::PageRef& page, const std::string& password, int cellSize);
    // Thumbnails asked for and not yet handed back.
    int pending() const;
    // Lets events through until every thumbnail asked for has been handed back; false when
    // `timeoutMs` passed first.
    bool waitForAll(int timeoutMs);

    // The cell of a page: decoded reduced and fitted; null when it cannot be read.
    static QImage CellOfPage(const imaging::PageRef& page, const std::string& password,
                             int cellSize);

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    QThreadPool pool_;
};

}  // namespace vellumo::document

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

#include "imaging/image_buffer.h"

namespace vellumo::document {

// Fits an image into a 260 x 260 cell filled with grey 227, centred and never enlarged: the
// thumbnail of the page list. 0, or a negative code (-1: the image is empty). Safe on any thread.
int MakeThumbnailCell(const imaging::ImageBuffer& image, imaging::ImageBuffer& cell);

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

    void request(int slot, const std::string& path);
    // Thumbnails asked for and not yet handed back.
    int pending() const;
    // Lets events through until every thumbnail asked for has been handed back; false when
    // `timeoutMs` passed first.
    bool waitForAll(int timeoutMs);

    // The cell of a page file: decoded and fitted; null when the file cannot be read.
    static QImage CellOfFile(const std::string& path);

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    QThreadPool pool_;
};

}  // namespace vellumo::document

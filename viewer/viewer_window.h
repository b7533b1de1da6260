// The viewer's window: the page canvas, the pages it walks through with Page Up and Page Down,
// and their loading. A page first appears from a reduced decode the size of the screen (for
// JPEG a fraction of the work of a full one), then the full page replaces it, decoded on a
// worker thread, so that the window opens at once and zooming in shows every pixel.
#pragma once

#include <QThread>
#include <QWidget>
#include <memory>
#include <vector>

#include "imaging/image_pages.h"
#include "viewer/page_canvas.h"

namespace vellumo::viewer {

class ViewerWindow : public QWidget {
    Q_OBJECT
public:
    explicit ViewerWindow(std::vector<imaging::PageRef> pages, int current = 0,
                          QWidget* parent = nullptr);
    ~ViewerWindow() override;

    int current() const { return current_; }
    int pageCount() const { return static_cast<int>(pages_.size()); }
    PageCanvas* canvas() const { return canvas_; }
    // Shows page `index` (from 0) of the list.
    void showPage(int index);
    // True once the full picture of the current page has arrived (or it failed).
    bool fullPageLoaded() const { return fullLoaded_; }

    // The window title for page `number` (from 1) of `count`.
    static QString TitleFor(int number, int count);

signals:
    void fullPageArrived();

protected:
    void keyPressEvent(QKeyEvent*) override;

private:
    void startFullLoad();
    void finishLoader();

    std::vector<imaging::PageRef> pages_;
    int current_ = 0;
    PageCanvas* canvas_;
    QThread* loader_ = nullptr;
    int generation_ = 0;  // the page shown; pictures for an earlier one are dropped
    bool fullLoaded_ = false;
};

// QImage of an imaging::ImageBuffer (1-bit, 8-bit with its table or grey, 24-bit), rows top-down.
QImage ToQImage(const imaging::ImageBuffer& image);

}  // namespace vellumo::viewer

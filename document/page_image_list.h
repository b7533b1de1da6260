// The thumbnails of the pages, one slot per page version ever added. The list only grows, so a
// page's slot stays valid after the page before it is deleted or the list is cleared; a page out
// of the list gives its slot's pixels back.
#pragma once

#include <QIcon>
#include <QImage>
#include <vector>

namespace vellumo::document {

class PageImageList {
public:
    static constexpr int kCellSize = 260;
    int count() const { return static_cast<int>(images_.size()); }
    // Adds a slot holding the image and returns its index.
    int append(const QImage& image);
    // Puts the image into an existing slot; false when there is no such slot.
    bool replace(int index, const QImage& image);
    // Gives the slot's memory back (the page left the list); the slot stays, empty.
    void release(int index);
    QImage image(int index) const;
    QIcon icon(int index) const;

private:
    std::vector<QImage> images_;
    std::vector<QIcon> icons_;
};

}  // namespace vellumo::document

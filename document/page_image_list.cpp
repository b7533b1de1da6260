#include "document/page_image_list.h"

#include <QPixmap>

namespace vellumo::document {

int PageImageList::append(const QImage& image) {
    images_.push_back(image);
    icons_.push_back(QIcon(QPixmap::fromImage(image)));
    return count() - 1;
}

bool PageImageList::replace(int index, const QImage& image) {
    if (index < 0 || index >= count()) return false;
    images_[static_cast<size_t>(index)] = image;
    icons_[static_cast<size_t>(index)] = QIcon(QPixmap::fromImage(image));
    return true;
}

void PageImageList::release(int index) {
    if (index < 0 || index >= count()) return;
    images_[static_cast<size_t>(index)] = QImage();
    icons_[static_cast<size_t>(index)] = QIcon();
}

QImage PageImageList::image(int index) const {
    return index >= 0 && index < count() ? images_[static_cast<size_t>(index)] : QImage();
}

QIcon PageImageList::icon(int index) const {
    return index >= 0 && index < count() ? icons_[static_cast<size_t>(index)] : QIcon();
}

}  // namespace vellumo::document

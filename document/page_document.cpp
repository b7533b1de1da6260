#include "document/page_document.h"

#include <cstdio>

#include "imaging/convert.h"
#include "imaging/imaging.h"
#include "imaging/transform.h"
#include "platform/log.h"
#include "platform/temp_file.h"
#include "widgets/image_convert.h"

namespace vellumo::document {

using namespace vellumo::imaging;
using namespace vellumo::platform;
using namespace vellumo::widgets;

namespace {

constexpr int kCell = PageImageList::kCellSize;
constexpr int kCellGrey = 227;

void DeleteTempFile(const std::string& path) {
    WriteLogF("Deleting temp file %s\n", path.c_str());
    std::remove(path.c_str());
}

// The whole picture (not only its area, as it has always been shown) scaled to `size` in
// 24-bit colour: our own area averaging where it applies, else Qt's smooth scaling.
int ScaledWholeImage(const ImageBuffer& image, const QSize& size, ImageBuffer& scaled) {
    if (int rc = AllocateImage(scaled, size.width(), size.height(), 24)) return rc;
    ImageBuffer whole = image;  // a view: the area widened, the pixels not owned
    SetImageArea(whole, 0, 0, static_cast<uint32_t>(ImageWidth(image)) - 1,
                 static_cast<uint32_t>(ImageHeight(image)) - 1);
    if (ReduceImage(whole, scaled) == 0) return 0;
    FreeImage(scaled);

    QImage picture = WholeImageToQImage(image);
    if (picture.isNull()) return -1;
    // Palette and bilevel pictures are scaled smoothly in colour, like the rest.
    if (picture.format() == QImage::Format_Mono || picture.format() == QImage::Format_Indexed8)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    return QImageToImage(picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB888),
                         scaled);
}

}  // namespace

std::string PagePath(const Page& page) {
    return page.workingPath.empty() ? page.sourcePath : page.workingPath;
}

std::string MakeTempPagePath() {
    const std::string reserved = CreateTempFile("VW");
    return reserved.empty() ? std::string() : reserved + ".TIF";
}

QSize ThumbnailSize(uint32_t w, uint32_t h) {
    if (w <= static_cast<uint32_t>(kCell) && h <= static_cast<uint32_t>(kCell))
        return QSize(static_cast<int>(w), static_cast<int>(h));
    // Single precision and truncation toward zero, as the thumbnails have always been sized.
    const float sx = 260.0f * 100.0f / static_cast<float>(w);
    const float sy = 260.0f * 100.0f / static_cast<float>(h);
    if (sy > sx) return QSize(kCell, static_cast<int>(static_cast<float>(h) * sx / 100.0f));
    return QSize(static_cast<int>(static_cast<float>(w) * sy / 100.0f), kCell);
}

PageDocument::~PageDocument() {
    FreeAllPages();
    FreeImage(thumbnailImage);
    FreeImage(workingImage);
}

int MakeThumbnailCell(const ImageBuffer& image, ImageBuffer& cellOut) {
    if (image.areaRight == 0 || image.areaRight < image.areaLeft ||
        image.areaBottom < image.areaTop)
        return -1;
    const QSize size =
        ThumbnailSize(image.areaRight - image.areaLeft, image.areaBottom - image.areaTop);
    if (size.isEmpty()) return -1;
    ScopedImage thumb;
    if (int rc = ScaledWholeImage(image, size, thumb.image)) return rc;
    ScopedImage cell;
    const int rc = AllocateImage(cell.image, kCell, kCell, BitsPerPixel(thumb.image));
    if (rc != 0) return rc;
    FillImageArea(kCellGrey, cell.image);
    const uint32_t r = thumb.image.areaRight, b = thumb.image.areaBottom;
    const uint32_t left = (kCell - r) / 2, top = (kCell - b) / 2;
    SetImageArea(cell.image, left, top, left + r, top + b);
    CopyImageArea(thumb.image, cell.image);
    SetImageArea(cell.image, 0, 0, kCell - 1, kCell - 1);
    CopyImageDescriptor(cell.image, cellOut);
    cell.image = ImageBuffer{};
    return 0;
}

int PageDocument::MakeThumbnail(const ImageBuffer& image) {
    if (image.areaRight == 0 || image.areaRight < image.areaLeft ||
        image.areaBottom < image.areaTop)
        return -1;
    WriteLog("Started making thumbnail\n");
    ImageBuffer cell{};
    if (int rc = MakeThumbnailCell(image, cell)) return rc;
    // The previous cell is released before the new one takes its place.
    FreeImage(thumbnailImage);
    CopyImageDescriptor(cell, thumbnailImage);
    WriteLog("Successfully made thumbnail\n");
    return 0;
}

void PageDocument::AppendPage(const std::string& path, int isScanned) {
    auto page = std::make_unique<Page>();
    page->sourcePath = path;
    page->isScanned = isScanned;
    page->imageIndex = pageImageList.append(WholeImageToQImage(thumbnailImage));
    page->id = nextPageId_++;
    pages.push_back(std::move(page));
    if (events.added) events.added(*pages.back());
}

void PageDocument::ReplaceThumbnail(Page& page) {
    pageImageList.replace(page.imageIndex, WholeImageToQImage(thumbnailImage));
    // A new thumbnail means a new picture: what was recognised on the old one is void.
    page.text.reset();
    if (events.changed) events.changed(page);
}

Page* PageDocument::FindPage(uint64_t pageId, int* row) const {
    for (size_t i = 0; i < pages.size(); ++i)
        if (pages[i]->id == pageId) {
            if (row) *row = static_cast<int>(i);
            return pages[i].get();
        }
    return nullptr;
}

void PageDocument::RefreshMarks() const {
    if (views.refreshMarks) views.refreshMarks();
}

bool PageDocument::RemovePageAt(int index) {
    if (index < 0 || index >= static_cast<int>(pages.size())) return false;
    Page& page = *pages[static_cast<size_t>(index)];
    if (events.removing) events.removing(page);
    if (page.isScanned) DeleteTempFile(page.sourcePath);
    if (!page.workingPath.empty()) DeleteTempFile(page.workingPath);
    pages.erase(pages.begin() + index);
    return true;
}

bool PageDocument::SwapPages(int a, int b) {
    const int n = static_cast<int>(pages.size());
    if (a < 0 || b < 0 || a >= n || b >= n) return false;
    std::swap(pages[static_cast<size_t>(a)], pages[static_cast<size_t>(b)]);
    return true;
}

void PageDocument::FreeAllPages() {
    for (const auto& page : pages) {
        if (events.removing) events.removing(*page);
        if (!page->workingPath.empty()) std::remove(page->workingPath.c_str());
    }
    pages.clear();
}

void PageDocument::PostPageCount() const {
    if (views.postPageCount) views.postPageCount();
}

void PageDocument::RebuildPageView() const {
    if (views.rebuild) views.rebuild();
}

int PageDocument::selectedRow() const {
    return views.selectedRow ? views.selectedRow() : -1;
}

void PageDocument::selectRow(int row) const {
    if (views.selectRow) views.selectRow(row);
}

void PageDocument::RefreshPage(int row) const {
    if (views.refreshPage) views.refreshPage(row);
}

}  // namespace vellumo::document

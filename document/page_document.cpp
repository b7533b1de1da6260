#include "document/page_document.h"

#include <algorithm>
#include <cmath>
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

int CellPixels(double scale) {
    // Scale factors are bounded so that a wrong screen report cannot ask for giant cells.
    const double bounded = std::clamp(scale, 1.0, 4.0);
    return static_cast<int>(std::lround(kCell * bounded));
}

int PlaceInCell(const ImageBuffer& picture, int cellSize, ImageBuffer& cell) {
    if (ImageWidth(picture) > cellSize || ImageHeight(picture) > cellSize) return kImgBadArgument;
    if (int rc = AllocateImage(cell, cellSize, cellSize, BitsPerPixel(picture))) return rc;
    FillImageArea(kCellGrey, cell);
    const uint32_t r = picture.areaRight, b = picture.areaBottom;
    const uint32_t left = (cellSize - r) / 2, top = (cellSize - b) / 2;
    SetImageArea(cell, left, top, left + r, top + b);
    CopyImageArea(picture, cell);
    SetImageArea(cell, 0, 0, cellSize - 1, cellSize - 1);
    return 0;
}

std::string PageDocument::PasswordOf(const Page& page) const {
    if (!page.workingPath.empty()) return std::string();
    const auto found = pdfPasswords.find(page.sourcePath);
    return found == pdfPasswords.end() ? std::string() : found->second;
}

void PageDocument::TakeThumbnail(ImageBuffer& cell) {
    FreeImage(thumbnailImage);
    CopyImageDescriptor(cell, thumbnailImage);
    cell = ImageBuffer{};
}

std::string PagePath(const Page& page) {
    return page.workingPath.empty() ? page.sourcePath : page.workingPath;
}

imaging::PageRef PageRefOf(const Page& page) {
    if (!page.workingPath.empty()) return {page.workingPath, 0};
    return {page.sourcePath, page.pageIndex};
}

std::string MakeTempPagePath() {
    const std::string reserved = CreateTempFile("VW");
    return reserved.empty() ? std::string() : reserved + ".TIF";
}

QSize ThumbnailSize(uint32_t w, uint32_t h) {
    return ThumbnailSize(w, h, kCell);
}

QSize ThumbnailSize(uint32_t w, uint32_t h, int cell) {
    if (w <= static_cast<uint32_t>(cell) && h <= static_cast<uint32_t>(cell))
        return QSize(static_cast<int>(w), static_cast<int>(h));
    // Single precision and truncation toward zero, as the thumbnails have always been sized.
    const float sx = static_cast<float>(cell) * 100.0f / static_cast<float>(w);
    const float sy = static_cast<float>(cell) * 100.0f / static_cast<float>(h);
    if (sy > sx) return QSize(cell, static_cast<int>(static_cast<float>(h) * sx / 100.0f));
    return QSize(static_cast<int>(static_cast<float>(w) * sy / 100.0f), cell);
}

PageDocument::~PageDocument() {
    FreeAllPages();
    FreeImage(thumbnailImage);
    FreeImage(workingImage);
}

int MakeThumbnailCell(const ImageBuffer& image, ImageBuffer& cellOut, int cellSize) {
    if (image.areaRight == 0 || image.areaRight < image.areaLeft ||
        image.areaBottom < image.areaTop)
        return -1;
    const QSize size =
        ThumbnailSize(image.areaRight - image.areaLeft, image.areaBottom - image.areaTop, cellSize);
    if (size.isEmpty()) return -1;
    ScopedImage thumb;
    if (int rc = ScaledWholeImage(image, size, thumb.image)) return rc;
    ScopedImage cell;
    if (int rc = PlaceInCell(thumb.image, cellSize, cell.image)) return rc;
    CopyImageDescriptor(cell.image, cellOut);
    cell.image = ImageBuffer{};
    return 0;
}

QImage ThumbnailPictureOf(const ImageBuffer& cell) {
    QImage picture = WholeImageToQImage(cell);
    if (!picture.isNull() && ImageWidth(cell) != kCell)
        picture.setDevicePixelRatio(static_cast<double>(ImageWidth(cell)) / kCell);
    return picture;
}

int PageDocument::MakeThumbnail(const ImageBuffer& image) {
    if (image.areaRight == 0 || image.areaRight < image.areaLeft ||
        image.areaBottom < image.areaTop)
        return -1;
    WriteLog("Started making thumbnail\n");
    ImageBuffer cell{};
    if (int rc = MakeThumbnailCell(image, cell, CellPixels(thumbnailScale))) return rc;
    // The previous cell is released before the new one takes its place.
    FreeImage(thumbnailImage);
    CopyImageDescriptor(cell, thumbnailImage);
    WriteLog("Successfully made thumbnail\n");
    return 0;
}

void PageDocument::AppendPage(const std::string& path, int isScanned, int pageIndex) {
    auto page = std::make_unique<Page>();
    page->sourcePath = path;
    page->isScanned = isScanned;
    page->pageIndex = pageIndex;
    page->imageIndex = pageImageList.append(ThumbnailPicture());
    page->id = nextPageId_++;
    pages.push_back(std::move(page));
    if (events.added) events.added(*pages.back());
}

void PageDocument::ReplaceThumbnail(Page& page) {
    pageImageList.replace(page.imageIndex, ThumbnailPicture());
    // A new thumbnail means a new picture: what was recognised on the old one is void.
    page.text.reset();
    if (events.changed) events.changed(page);
}

QImage PageDocument::ThumbnailPicture() const {
    return ThumbnailPictureOf(thumbnailImage);
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

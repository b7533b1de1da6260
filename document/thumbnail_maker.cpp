#include "document/thumbnail_maker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QObject>
#include <QSize>
#include <mutex>

#include "document/page_document.h"
#include "imaging/codecs.h"
#include "imaging/convert.h"
#include "imaging/imaging.h"
#include "imaging/transform.h"
#include "widgets/image_convert.h"

namespace vellumo::document {

using namespace vellumo::imaging;
using namespace vellumo::widgets;

namespace {

constexpr int kCell = PageImageList::kCellSize;
constexpr int kCellGrey = 227;

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

int MakeThumbnailCell(const ImageBuffer& image, ImageBuffer& cell) {
    if (image.areaRight == 0 || image.areaRight < image.areaLeft ||
        image.areaBottom < image.areaTop)
        return -1;
    const QSize size =
        ThumbnailSize(image.areaRight - image.areaLeft, image.areaBottom - image.areaTop);
    if (size.isEmpty()) return -1;
    ScopedImage thumb;
    if (int rc = ScaledWholeImage(image, size, thumb.image)) return rc;
    ScopedImage made;
    if (int rc = AllocateImage(made.image, kCell, kCell, BitsPerPixel(thumb.image))) return rc;
    FillImageArea(kCellGrey, made.image);
    const uint32_t r = thumb.image.areaRight, b = thumb.image.areaBottom;
    const uint32_t left = (kCell - r) / 2, top = (kCell - b) / 2;
    SetImageArea(made.image, left, top, left + r, top + b);
    CopyImageArea(thumb.image, made.image);
    SetImageArea(made.image, 0, 0, kCell - 1, kCell - 1);
    CopyImageDescriptor(made.image, cell);
    made.image = ImageBuffer{};
    return 0;
}

// What the workers share with the maker: where results go, and whether anyone still wants them.
struct ThumbnailMaker::Shared {
    std::mutex mutex;
    QObject* receiver = nullptr;  // lives on the GUI thread; null once the maker is gone
    std::function<void(int, const QImage&)> done;
    int pending = 0;  // GUI thread only
};

ThumbnailMaker::ThumbnailMaker(std::function<void(int slot, const QImage& cell)> done)
    : shared_(std::make_shared<Shared>()) {
    shared_->receiver = new QObject;
    shared_->done = std::move(done);
    // Two decoders at a time: enough to keep up with the list, not so many that the window's
    // own work waits.
    pool_.setMaxThreadCount(2);
}

ThumbnailMaker::~ThumbnailMaker() {
    pool_.clear();
    QObject* receiver = nullptr;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        receiver = shared_->receiver;
        shared_->receiver = nullptr;
    }
    pool_.waitForDone();
    // Results already posted go with their receiver.
    delete receiver;
}

QImage ThumbnailMaker::CellOfFile(const std::string& path) {
    ScopedImage image;
    if (ReadImageFile(path.c_str(), image.image) != 0) return {};
    ScopedImage cell;
    if (MakeThumbnailCell(image.image, cell.image) != 0) return {};
    return WholeImageToQImage(cell.image);
}

void ThumbnailMaker::request(int slot, const std::string& path) {
    ++shared_->pending;
    std::shared_ptr<Shared> shared = shared_;
    pool_.start([shared, slot, path] {
        const QImage cell = CellOfFile(path);
        std::lock_guard<std::mutex> lock(shared->mutex);
        if (!shared->receiver) return;
        QMetaObject::invokeMethod(
            shared->receiver,
            [shared, slot, cell] {
                --shared->pending;
                if (shared->done) shared->done(slot, cell);
            },
            Qt::QueuedConnection);
    });
}

int ThumbnailMaker::pending() const {
    return shared_->pending;
}

bool ThumbnailMaker::waitForAll(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (shared_->pending > 0) {
        if (timer.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (shared_->pending > 0) pool_.waitForDone(5);
    }
    return true;
}

}  // namespace vellumo::document

#include "document/thumbnail_maker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QObject>
#include <QSize>
#include <mutex>

#include "document/page_document.h"
#include "imaging/imaging.h"
#include "pdf/page_import.h"

namespace vellumo::document {

using namespace vellumo::imaging;

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

QImage ThumbnailMaker::CellOfPage(const PageRef& page, const std::string& password, int cellSize) {
    ScopedImage reduced;
    PageFacts facts;
    if (pdf::IsPdfFile(page.path)) {
        std::string reason;
        if (pdf::LoadReducedPage(page, password, cellSize, cellSize, reduced.image, facts,
                                 reason) != pdf::ImportStatus::Ok)
            return {};
    } else if (ReadReducedPage(page, cellSize, cellSize, reduced.image, facts) != 0) {
        return {};
    }
    ScopedImage cell;
    if (PlaceInCell(reduced.image, cellSize, cell.image) != 0) return {};
    return ThumbnailPictureOf(cell.image);
}

void ThumbnailMaker::request(int slot, const PageRef& page, const std::string& password,
                             int cellSize) {
    ++shared_->pending;
    std::shared_ptr<Shared> shared = shared_;
    pool_.start([shared, slot, page, password, cellSize] {
        const QImage cell = CellOfPage(page, password, cellSize);
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

#include "viewer/viewer_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>
#include <cstring>

#include "imaging/imaging.h"
#include "pdf/page_import.h"

namespace vellumo::viewer {

using namespace vellumo::imaging;

QImage ToQImage(const ImageBuffer& image) {
    const int w = ImageWidth(image), h = ImageHeight(image), bits = BitsPerPixel(image);
    if (!image.pixels || w <= 0 || h <= 0) return QImage();
    QImage::Format format;
    switch (bits) {
        case 1:
            format = QImage::Format_Mono;
            break;
        case 8:
            format = HasGreyRamp(image) ? QImage::Format_Grayscale8 : QImage::Format_Indexed8;
            break;
        case 24:
            format = QImage::Format_BGR888;
            break;
        default:
            return QImage();
    }
    QImage out(w, h, format);
    if (out.isNull()) return out;
    if (format == QImage::Format_Mono || format == QImage::Format_Indexed8) {
        QList<QRgb> table;
        for (int i = 0; i < image.paletteSize; ++i)
            table.push_back(
                qRgb(image.palette[i].rgbRed, image.palette[i].rgbGreen, image.palette[i].rgbBlue));
        out.setColorTable(table);
    }
    const size_t rowBytes = (static_cast<size_t>(w) * bits + 7) / 8;
    for (int y = 0; y < h; ++y)
        std::memcpy(out.scanLine(y), RowPointer(image, static_cast<uint32_t>(y)), rowBytes);
    return out;
}

QString ViewerWindow::TitleFor(int number, int count) {
    return tr("Vellumo - Page %1 of %2").arg(number).arg(count);
}

ViewerWindow::ViewerWindow(std::vector<imaging::PageRef> pages, int current, QWidget* parent)
    : QWidget(parent), pages_(std::move(pages)), canvas_(new PageCanvas(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(canvas_);
    setFocusProxy(canvas_);
    // Most of the screen, in the proportions of a portrait page.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const int h = area.height() * 9 / 10;
        resize(std::min(area.width() * 9 / 10, h * 3 / 4), h);
    } else {
        resize(700, 900);
    }
    showPage(std::clamp(current, 0, std::max(0, pageCount() - 1)));
}

ViewerWindow::~ViewerWindow() {
    finishLoader();
}

void ViewerWindow::finishLoader() {
    if (!loader_) return;
    loader_->wait();
    delete loader_;
    loader_ = nullptr;
}

void ViewerWindow::showPage(int index) {
    if (index < 0 || index >= pageCount()) return;
    current_ = index;
    ++generation_;
    fullLoaded_ = false;
    setWindowTitle(TitleFor(index + 1, pageCount()));
    const imaging::PageRef& page = pages_[static_cast<size_t>(index)];
    // The stand-in: as large as the screen shows it, in device pixels.
    QSize screen(1920, 1080);
    double ratio = devicePixelRatioF();
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        screen = s->size();
        ratio = s->devicePixelRatio();
    }
    ScopedImage reduced;
    imaging::PageFacts facts;
    std::string reason;
    const pdf::ImportStatus status = pdf::LoadReducedPage(
        page, "", static_cast<int>(screen.width() * ratio),
        static_cast<int>(screen.height() * ratio), reduced.image, facts, reason);
    if (status != pdf::ImportStatus::Ok) {
        canvas_->setMessage(
            tr("Cannot show %1:\n%2")
                .arg(QString::fromStdString(page.path), QString::fromStdString(reason)));
        fullLoaded_ = true;
        emit fullPageArrived();
        return;
    }
    canvas_->setPage(QSize(facts.width, facts.height), ToQImage(reduced.image));
    if (ImageWidth(reduced.image) >= facts.width && ImageHeight(reduced.image) >= facts.height) {
        fullLoaded_ = true;  // the page is no larger than the screen: this is all of it
        emit fullPageArrived();
        return;
    }
    startFullLoad();
}

void ViewerWindow::startFullLoad() {
    finishLoader();
    const imaging::PageRef page = pages_[static_cast<size_t>(current_)];
    const int generation = generation_;
    QPointer<ViewerWindow> self(this);
    loader_ = QThread::create([page, generation, self] {
        ScopedImage full;
        std::string reason;
        QImage picture;
        if (pdf::LoadPage(page, "", full.image, reason) == pdf::ImportStatus::Ok)
            picture = ToQImage(full.image);
        // The window waits for this thread before it goes, so it is there to receive.
        QMetaObject::invokeMethod(
            self.data(),
            [self, generation, picture] {
                if (!self || generation != self->generation_) return;
                self->canvas_->replacePicture(picture);
                self->fullLoaded_ = true;
                emit self->fullPageArrived();
            },
            Qt::QueuedConnection);
    });
    loader_->start();
}

void ViewerWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            close();
            return;
        case Qt::Key_PageDown:
        case Qt::Key_Space:
            if (current_ + 1 < pageCount()) showPage(current_ + 1);
            return;
        case Qt::Key_PageUp:
        case Qt::Key_Backspace:
            if (current_ > 0) showPage(current_ - 1);
            return;
        case Qt::Key_Home:
            showPage(0);
            return;
        case Qt::Key_End:
            showPage(pageCount() - 1);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

}  // namespace vellumo::viewer

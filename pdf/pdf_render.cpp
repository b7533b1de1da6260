#include "pdf/pdf_render.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>
#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>

#include "imaging/imaging.h"

namespace vellumo::pdf {

using namespace vellumo::imaging;

namespace {

// Poppler's documents are not safe to share between threads: one lock around every use. The
// last document opened stays open, since pages of one file are asked for one after another.
std::mutex popplerMutex;

struct OpenDocument {
    std::string path;
    std::string password;
    long long size = -1;
    long long modified = 0;
    std::unique_ptr<poppler::document> doc;
};
OpenDocument lastDocument;

void Quiet(const std::string&, void*) {}

bool FileStamp(const std::string& path, long long& size, long long& modified) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    size = st.st_size;
    modified = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return true;
}

// The open document for path (caller holds the lock), or null with the status.
poppler::document* Open(const std::string& path, const std::string& password, PdfStatus& status,
                        std::string& reason) {
    static bool silenced = false;
    if (!silenced) {
        // Poppler prints its complaints about damaged files on stderr otherwise.
        poppler::set_debug_error_function(Quiet, nullptr);
        silenced = true;
    }
    long long size = 0, modified = 0;
    if (!FileStamp(path, size, modified)) {
        status = PdfStatus::CannotOpen;
        reason = std::string("cannot open the file: ") + std::strerror(errno);
        return nullptr;
    }
    if (lastDocument.doc && lastDocument.path == path && lastDocument.password == password &&
        lastDocument.size == size && lastDocument.modified == modified) {
        status = PdfStatus::Ok;
        return lastDocument.doc.get();
    }
    lastDocument = OpenDocument{};
    std::unique_ptr<poppler::document> doc(
        poppler::document::load_from_file(path, password, password));
    if (!doc) {
        // Poppler gives no reason; a locked file is told apart by trying without a password.
        std::unique_ptr<poppler::document> probe(poppler::document::load_from_file(path));
        if (!probe || probe->is_locked()) {
            status = PdfStatus::Damaged;
            reason = "Poppler cannot read the document";
            return nullptr;
        }
        doc = std::move(probe);
    }
    if (doc->is_locked()) {
        status = PdfStatus::NeedsPassword;
        reason = password.empty() ? "the document is protected by a password"
                                  : "the password does not open the document";
        return nullptr;
    }
    lastDocument.path = path;
    lastDocument.password = password;
    lastDocument.size = size;
    lastDocument.modified = modified;
    lastDocument.doc = std::move(doc);
    status = PdfStatus::Ok;
    return lastDocument.doc.get();
}

}  // namespace

PdfStatus PopplerPageCount(const std::string& path, const std::string& password, int& pages,
                           std::string& reason) {
    pages = 0;
    std::lock_guard<std::mutex> lock(popplerMutex);
    PdfStatus status;
    poppler::document* doc = Open(path, password, status, reason);
    if (!doc) return status;
    pages = doc->pages();
    if (pages <= 0) {
        reason = "the document has no pages";
        return PdfStatus::Damaged;
    }
    return PdfStatus::Ok;
}

PdfStatus PopplerPageSize(const std::string& path, const std::string& password, int index,
                          double& width, double& height, std::string& reason) {
    width = height = 0;
    std::lock_guard<std::mutex> lock(popplerMutex);
    PdfStatus status;
    poppler::document* doc = Open(path, password, status, reason);
    if (!doc) return status;
    if (index < 0 || index >= doc->pages()) {
        reason = "the document has no page " + std::to_string(index + 1);
        return PdfStatus::NoSuchPage;
    }
    std::unique_ptr<poppler::page> page(doc->create_page(index));
    if (!page) {
        reason = "page " + std::to_string(index + 1) + " cannot be read";
        return PdfStatus::Damaged;
    }
    const poppler::rectf box = page->page_rect(poppler::crop_box);
    width = box.width();
    height = box.height();
    const poppler::page::orientation_enum o = page->orientation();
    if (o == poppler::page::landscape || o == poppler::page::seascape) std::swap(width, height);
    return PdfStatus::Ok;
}

PdfStatus RenderPdfPage(const std::string& path, const std::string& password, int index, double dpi,
                        ImageBuffer& image, std::string& reason) {
    std::memset(&image, 0, sizeof image);
    std::lock_guard<std::mutex> lock(popplerMutex);
    PdfStatus status;
    poppler::document* doc = Open(path, password, status, reason);
    if (!doc) return status;
    if (index < 0 || index >= doc->pages()) {
        reason = "the document has no page " + std::to_string(index + 1);
        return PdfStatus::NoSuchPage;
    }
    std::unique_ptr<poppler::page> page(doc->create_page(index));
    if (!page) {
        reason = "page " + std::to_string(index + 1) + " cannot be read";
        return PdfStatus::Damaged;
    }
    // Refuse sizes no page has before Poppler allocates them.
    const poppler::rectf box = page->page_rect(poppler::crop_box);
    const double w = box.width() * dpi / 72.0, h = box.height() * dpi / 72.0;
    if (!(w >= 1 && h >= 1) || w > kMaxImageSide || h > kMaxImageSide ||
        w * h * 4 > static_cast<double>(kMaxPixelBytes)) {
        reason = "page " + std::to_string(index + 1) + " is too large to draw";
        return PdfStatus::Unsupported;
    }
    poppler::page_renderer renderer;
    renderer.set_render_hints(poppler::page_renderer::antialiasing |
                              poppler::page_renderer::text_antialiasing |
                              poppler::page_renderer::text_hinting);
    renderer.set_image_format(poppler::image::format_bgr24);
    renderer.set_paper_color(0xFFFFFFFF);
    // Whole pixels covering the page, rounded up as Poppler's own tools size their pictures.
    const int pixelsW = static_cast<int>(std::ceil(w - 1e-6));
    const int pixelsH = static_cast<int>(std::ceil(h - 1e-6));
    const bool turned = page->orientation() == poppler::page::landscape ||
                        page->orientation() == poppler::page::seascape;
    poppler::image drawn = renderer.render_page(
        page.get(), dpi, dpi, 0, 0, turned ? pixelsH : pixelsW, turned ? pixelsW : pixelsH);
    if (!drawn.is_valid() || drawn.format() != poppler::image::format_bgr24) {
        reason = "page " + std::to_string(index + 1) + " cannot be drawn";
        return PdfStatus::Damaged;
    }
    if (AllocateImage(image, drawn.width(), drawn.height(), 24) != 0) {
        reason = "not enough memory to draw page " + std::to_string(index + 1);
        return PdfStatus::Unsupported;
    }
    image.imageFlags &= ~kImageFlagGrey;
    const size_t rowBytes = static_cast<size_t>(drawn.width()) * 3;
    for (int y = 0; y < drawn.height(); ++y)
        std::memcpy(RowPointer(image, static_cast<uint32_t>(y)),
                    drawn.const_data() + static_cast<size_t>(y) * drawn.bytes_per_row(), rowBytes);
    SetImageDpi(image, dpi, dpi);
    return PdfStatus::Ok;
}

}  // namespace vellumo::pdf

#include "editing/thumbnail_queue.h"

#include <chrono>

#include "document/page_document.h"
#include "imaging/imaging.h"
#include "imaging/read_failure.h"
#include "pdf/page_import.h"

namespace vellumo::editing {

using namespace vellumo::imaging;

ThumbnailQueue::ThumbnailQueue(int cellSize, int threads) : cellSize_(cellSize) {
    if (threads > 0) pool_.setMaxThreadCount(threads);
}

ThumbnailQueue::~ThumbnailQueue() {
    cancel();
    pool_.waitForDone();
}

void ThumbnailQueue::decode(Entry& entry) const {
    ThumbnailResult& result = entry.result;
    ScopedImage reduced;
    PageFacts facts;
    if (pdf::IsPdfFile(result.page.path)) {
        std::string reason;
        const pdf::ImportStatus status = pdf::LoadReducedPage(
            result.page, entry.password, cellSize_, cellSize_, reduced.image, facts, reason);
        if (status != pdf::ImportStatus::Ok) {
            result.details = pdf::DescribeImportFailure(result.page.path, status, reason);
            return;
        }
    } else if (const int rc =
                   ReadReducedPage(result.page, cellSize_, cellSize_, reduced.image, facts)) {
        result.details = DescribeReadFailure(result.page.path, rc);
        return;
    }
    if (const int rc = document::PlaceInCell(reduced.image, cellSize_, result.cell)) {
        result.details = DescribeReadFailure(result.page.path, rc);
        return;
    }
    result.ok = true;
}

void ThumbnailQueue::addPage(const PageRef& page, const std::string& password) {
    auto entry = std::make_shared<Entry>();
    entry->result.page = page;
    entry->password = password;
    {
        std::lock_guard lock(mutex_);
        entries_.push_back(entry);
    }
    pool_.start([this, entry] {
        decode(*entry);
        {
            std::lock_guard lock(mutex_);
            entry->done = true;
        }
        ready_.notify_all();
    });
}

void ThumbnailQueue::addFailure(const std::string& path, const std::string& details) {
    auto entry = std::make_shared<Entry>();
    entry->result.page = PageRef{path, 0};
    entry->result.details = details;
    entry->done = true;
    std::lock_guard lock(mutex_);
    entries_.push_back(entry);
}

int ThumbnailQueue::pending() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(entries_.size());
}

bool ThumbnailQueue::takeNext(ThumbnailResult& result, int timeoutMs) {
    std::unique_lock lock(mutex_);
    const bool ready = ready_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] {
        return entries_.empty() || entries_.front()->done;
    });
    if (!ready || entries_.empty()) return false;
    result = std::move(entries_.front()->result);
    entries_.front()->result.cell = ImageBuffer{};
    entries_.pop_front();
    return true;
}

void ThumbnailQueue::cancel() {
    pool_.clear();
    std::deque<std::shared_ptr<Entry>> dropped;
    {
        std::lock_guard lock(mutex_);
        dropped.swap(entries_);
    }
    // Running decodes still hold their entries; their cells go when they finish.
    pool_.waitForDone();
    for (const auto& entry : dropped) FreeImage(entry->result.cell);
}

}  // namespace vellumo::editing

// The thumbnails of pages being brought in, decoded on worker threads at the size the page list
// shows them. Pages go in in order and come out in the same order as soon as each is ready,
// however the workers finish, so the list fills from the top while the rest still decode.
#pragma once

#include <QThreadPool>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "imaging/image_buffer.h"
#include "imaging/image_pages.h"

namespace vellumo::editing {

struct ThumbnailResult {
    imaging::PageRef page;
    bool ok = false;
    imaging::ImageBuffer cell{};  // owned by the receiver when ok (a thumbnail cell)
    std::string details;          // "FILE: reason" when not ok
};

class ThumbnailQueue {
public:
    // cellSize: the side of a thumbnail cell in pixels. threads 0: one per processor.
    explicit ThumbnailQueue(int cellSize, int threads = 0);
    // Drops what has not started and waits for the running decodes; frees unclaimed cells.
    ~ThumbnailQueue();
    ThumbnailQueue(const ThumbnailQueue&) = delete;
    ThumbnailQueue& operator=(const ThumbnailQueue&) = delete;

    // Starts decoding the page (password: for an encrypted PDF).
    void addPage(const imaging::PageRef& page, const std::string& password);
    // A file that failed before any page of it could be decoded: reported in its turn.
    void addFailure(const std::string& path, const std::string& details);
    // Entries not yet taken.
    int pending() const;
    int threadCount() const { return pool_.maxThreadCount(); }
    // The next entry in order, once it is ready; waits at most timeoutMs. False when the next
    // one is not ready yet or there is none.
    bool takeNext(ThumbnailResult& result, int timeoutMs);
    // Drops every entry not taken; decodes under way finish and are thrown away.
    void cancel();

private:
    struct Entry {
        ThumbnailResult result;
        std::string password;
        bool done = false;
    };
    void decode(Entry& entry) const;

    const int cellSize_;
    QThreadPool pool_;
    mutable std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::shared_ptr<Entry>> entries_;
};

}  // namespace vellumo::editing

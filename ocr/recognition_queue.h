// Recognition in the background: page files submitted with an id are recognised on worker
// threads, each with an engine of its own, and every result is handed to a callback. A page can
// be cancelled or replaced while it waits or runs, and a caller that needs some pages now (the
// save flow) waits for them with progress and a way to stop waiting.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ocr/engine.h"

namespace vellumo::ocr {

using PageId = uint64_t;

class RecognitionQueue {
public:
    // Called on a worker thread with the page's result, once per submission that was neither
    // cancelled nor replaced. The page counts as done when the callback has returned.
    using ResultCallback = std::function<void(PageId id, const RecognitionResult& result)>;

    // workers <= 0: every core but one, and at least one. No thread starts and no language is
    // loaded until the first page arrives.
    explicit RecognitionQueue(ResultCallback onResult, int workers = 0);
    // Stops every page and waits for the workers to finish.
    ~RecognitionQueue();
    RecognitionQueue(const RecognitionQueue&) = delete;
    RecognitionQueue& operator=(const RecognitionQueue&) = delete;

    // Queues a page file for recognition in languages ("eng+deu"). A page with the same id that
    // still waits or runs is replaced: it ends without a result.
    void submit(PageId id, const std::string& path, const std::string& languages);
    // The same for one page of a file (a multi-page TIFF holds several).
    void submit(PageId id, const imaging::PageRef& page, const std::string& languages);
    // Drops a page, waiting or running; no result is delivered for it.
    void cancel(PageId id);
    void cancelAll();
    // Whether the page still waits or runs.
    bool busy(PageId id) const;
    // Pages waiting or running.
    int pendingCount() const;
    int workerCount() const { return workerCount_; }

    enum class WaitResult { Done, Stopped };
    // Waits until none of ids waits or runs any more (their callbacks have returned), putting
    // them at the head of the queue. progress(done, total) is called on the waiting thread at
    // once, whenever a page is done, and at least every interval, so a window can keep its
    // events flowing; when it returns false the wait ends with Stopped (the pages go on being
    // recognised).
    WaitResult waitFor(const std::vector<PageId>& ids,
                       const std::function<bool(int done, int total)>& progress,
                       std::chrono::milliseconds interval = std::chrono::milliseconds(50));

    static int DefaultWorkerCount();

private:
    struct Job {
        PageId id = 0;
        imaging::PageRef page;
        std::string languages;
        std::shared_ptr<std::atomic<bool>> cancel;
    };

    void work();
    void startWorkersLocked();
    bool busyLocked(PageId id) const;
    void cancelLocked(PageId id);

    ResultCallback onResult_;
    const int workerCount_;
    mutable std::mutex mutex_;
    std::condition_variable jobArrived_;
    std::condition_variable jobFinished_;
    std::deque<Job> waiting_;
    std::vector<Job> running_;
    std::vector<std::thread> workers_;
    bool stopping_ = false;
};

}  // namespace vellumo::ocr

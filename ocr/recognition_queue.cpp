#include "ocr/recognition_queue.h"

#include <algorithm>
#include <chrono>

#include "ocr/recognition_worker.h"
#include "platform/log.h"

namespace vellumo::ocr {

using platform::WriteLogF;

namespace {

void LogResult(const imaging::PageRef& page, const RecognitionResult& r, double seconds) {
    const std::string name =
        page.index ? page.path + " (page " + std::to_string(page.index + 1) + ")" : page.path;
    if (r.status == RecognitionStatus::Ok)
        WriteLogF("Recognised %d words in %s (%.1f s)\n", r.text ? r.text->wordCount() : 0,
                  name.c_str(), seconds);
    else if (r.status != RecognitionStatus::Cancelled)
        WriteLogF("No text recognised in %s: %s\n", name.c_str(), r.reason.c_str());
}

}  // namespace

int RecognitionQueue::DefaultWorkerCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 1 ? static_cast<int>(cores) - 1 : 1;
}

RecognitionQueue::RecognitionQueue(ResultCallback onResult, int workers)
    : onResult_(std::move(onResult)), workerCount_(workers > 0 ? workers : DefaultWorkerCount()) {}

RecognitionQueue::~RecognitionQueue() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        waiting_.clear();
        for (Job& job : running_) job.cancel->store(true);
    }
    jobArrived_.notify_all();
    for (std::thread& t : workers_) t.join();
}

void RecognitionQueue::startWorkersLocked() {
    if (!workers_.empty()) return;
    for (int i = 0; i < workerCount_; ++i) workers_.emplace_back([this] { work(); });
}

void RecognitionQueue::submit(PageId id, const std::string& path, const std::string& languages) {
    submit(id, imaging::PageRef{path, 0}, languages);
}

void RecognitionQueue::submit(PageId id, const imaging::PageRef& page,
                              const std::string& languages) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_) return;
        cancelLocked(id);
        waiting_.push_back(Job{id, page, languages, std::make_shared<std::atomic<bool>>(false)});
        startWorkersLocked();
    }
    jobArrived_.notify_one();
}

void RecognitionQueue::cancelLocked(PageId id) {
    waiting_.erase(
        std::remove_if(waiting_.begin(), waiting_.end(), [id](const Job& j) { return j.id == id; }),
        waiting_.end());
    for (Job& job : running_)
        if (job.id == id) job.cancel->store(true);
}

void RecognitionQueue::cancel(PageId id) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        cancelLocked(id);
    }
    jobFinished_.notify_all();
}

void RecognitionQueue::cancelAll() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        waiting_.clear();
        for (Job& job : running_) job.cancel->store(true);
    }
    jobFinished_.notify_all();
}

bool RecognitionQueue::busyLocked(PageId id) const {
    for (const Job& job : waiting_)
        if (job.id == id) return true;
    // A cancelled page may still be winding down in its engine; it delivers nothing.
    for (const Job& job : running_)
        if (job.id == id && !job.cancel->load()) return true;
    return false;
}

bool RecognitionQueue::busy(PageId id) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return busyLocked(id);
}

int RecognitionQueue::pendingCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    int n = static_cast<int>(waiting_.size());
    for (const Job& job : running_)
        if (!job.cancel->load()) ++n;
    return n;
}

void RecognitionQueue::work() {
    // One recognition process per worker, kept with its languages from page to page.
    RecognitionWorker worker;
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            jobArrived_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
            if (stopping_) return;
            job = std::move(waiting_.front());
            waiting_.pop_front();
            running_.push_back(job);
        }
        const auto started = std::chrono::steady_clock::now();
        const RecognitionResult result =
            worker.recognise(job.page, job.languages, job.cancel.get());
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (!job.cancel->load()) {
            LogResult(job.page, result, seconds);
            if (onResult_) onResult_(job.id, result);
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            auto it = std::find_if(running_.begin(), running_.end(),
                                   [&job](const Job& j) { return j.cancel == job.cancel; });
            if (it != running_.end()) running_.erase(it);
        }
        jobFinished_.notify_all();
    }
}

RecognitionQueue::WaitResult RecognitionQueue::waitFor(
    const std::vector<PageId>& ids, const std::function<bool(int done, int total)>& progress,
    std::chrono::milliseconds interval) {
    const int total = static_cast<int>(ids.size());
    auto countDone = [&] {
        int done = 0;
        for (PageId id : ids)
            if (!busyLocked(id)) ++done;
        return done;
    };
    std::unique_lock<std::mutex> lock(mutex_);
    // The pages asked for go first, in the order asked.
    std::stable_partition(waiting_.begin(), waiting_.end(), [&ids](const Job& j) {
        return std::find(ids.begin(), ids.end(), j.id) != ids.end();
    });
    int done = countDone();
    for (;;) {
        bool goOn = true;
        if (progress) {
            lock.unlock();
            goOn = progress(done, total);
            lock.lock();
        }
        if (done == total) return WaitResult::Done;
        if (!goOn) return WaitResult::Stopped;
        const int before = done;
        jobFinished_.wait_for(lock, interval, [&] { return countDone() != before; });
        done = countDone();
    }
}

}  // namespace vellumo::ocr

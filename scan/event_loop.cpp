#include "scan/event_loop.h"

#include <chrono>

namespace vellumo::scan {

void BlockingEventLoop::Post(std::function<void()> work) {
    // Notified under the lock: once the waiting thread has the work, the poster no longer
    // touches the loop, so the loop may be gone as soon as its work has run.
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(work));
    posted_.notify_all();
}

int BlockingEventLoop::ProcessEvents() {
    int count = 0;
    for (;;) {
        std::function<void()> work;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (queue_.empty()) return count;
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        // Run outside the lock: the work may post more.
        work();
        ++count;
    }
}

int BlockingEventLoop::WaitForEvents(int timeoutMs) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        posted_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                         [this] { return !queue_.empty(); });
    }
    return ProcessEvents();
}

Dispatcher BlockingEventLoop::dispatcher() {
    return [this](std::function<void()> work) { Post(std::move(work)); };
}

}  // namespace vellumo::scan

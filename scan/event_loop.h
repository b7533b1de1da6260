// A small blocking event loop: work posted from any thread runs on the thread that calls
// ProcessEvents or WaitForEvents, in the order it was posted. The scanner component delivers its
// events through it when no GUI event loop takes them; the command line and the tests use it.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace vellumo::scan {

using Dispatcher = std::function<void(std::function<void()>)>;

class BlockingEventLoop {
public:
    void Post(std::function<void()> work);
    // Runs everything posted so far; returns how many were run.
    int ProcessEvents();
    // Waits up to timeoutMs for something to be posted, then runs everything posted; returns
    // how many were run (0 on time-out).
    int WaitForEvents(int timeoutMs);
    Dispatcher dispatcher();

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> queue_;
};

}  // namespace vellumo::scan

// One worker's way to recognise pages: in a process of its own (vellumo-ocr-worker), started when
// the first page comes and kept with its languages loaded from page to page. A page that runs over
// its time, is cancelled, or ends the process in a fault is stopped by ending the process; that
// page goes without text and the next page starts a new one. Where the process cannot be
// started the pages are recognised in this process, as before, without the time limit.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "imaging/image_pages.h"
#include "ocr/engine.h"

namespace vellumo::ocr {

// The longest a page may take; far beyond what a page of text needs (seconds).
constexpr std::chrono::milliseconds kPageTimeLimit{180000};

// The recognition program that belongs to the running program: the build's in the build tree,
// else the one beside it or among its installed helpers. Empty when there is none.
std::string RecognitionWorkerProgram();

class RecognitionWorker {
public:
    // program: the recognition program; empty recognises in this process. The process belongs to
    // the thread that first recognises a page (it ends when that thread ends).
    explicit RecognitionWorker(std::string program = RecognitionWorkerProgram());
    ~RecognitionWorker();
    RecognitionWorker(const RecognitionWorker&) = delete;
    RecognitionWorker& operator=(const RecognitionWorker&) = delete;

    // Recognises the page in languages ("eng+deu"). cancel, when given, is polled while the page
    // runs; setting it ends the page with Cancelled.
    RecognitionResult recognise(const imaging::PageRef& page, const std::string& languages,
                                const std::atomic<bool>* cancel = nullptr);

    void setTimeLimit(std::chrono::milliseconds limit) { timeLimit_ = limit; }
    // The running recognition process, 0 when none runs.
    pid_t processId() const { return pid_; }

private:
    bool start();
    void stop();
    RecognitionResult recogniseHere(const imaging::PageRef& page, const std::string& languages,
                                    const std::atomic<bool>* cancel);
    RecognitionResult awaitAnswer(const std::atomic<bool>* cancel);
    // Reaps a process that ended or misbehaved on a page: the page's result says why.
    RecognitionResult ended();

    std::string program_;
    pid_t pid_ = 0;
    int channel_ = -1;
    bool everAnswered_ = false;
    bool brokenProgram_ = false;
    std::unique_ptr<Engine> here_;
    std::chrono::milliseconds timeLimit_ = kPageTimeLimit;
};

}  // namespace vellumo::ocr

// The work done on the document's pages in the background: scanned pages are cleaned up
// (blank check, straightening, turning upright, as the settings say), every page is recognised
// as it joins the list, and the results are kept with the pages. The window never waits for it;
// a save that needs the text waits here, with progress and a way to stop.
#pragma once

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "cleanup/page_cleanup.h"
#include "document/page_document.h"
#include "ocr/engine.h"

namespace vellumo::ocr {
class RecognitionQueue;
}

namespace vellumo::document {

// What the settings ask of the background work, read when a page joins the list.
struct ProcessingSettings {
    bool recognise = false;           // "OCR"
    std::string languages;            // "OCRLanguages"
    cleanup::CleanupOptions scanned;  // "Deskew", "AutoRotate", "BlankPages"
};
// The settings as stored now (with the defaults that depend on the installed data).
ProcessingSettings StoredProcessingSettings();

class PageProcessing : public QObject {
    Q_OBJECT
public:
    // settings: read each time a page joins or a save asks (the stored ones by default);
    // recognitionWorkers <= 0: every core but one.
    explicit PageProcessing(PageDocument& document,
                            std::function<ProcessingSettings()> settings = {},
                            int recognitionWorkers = 0);
    // Stops every job and waits for the workers.
    ~PageProcessing() override;
    PageProcessing(const PageProcessing&) = delete;
    PageProcessing& operator=(const PageProcessing&) = delete;

    // Connects to the document's page events.
    void Attach();
    // Stops all work and lets go of the document's events (the window's end).
    void Stop();

    // Cleans one page now chosen from the page menu, in the background; its text is found
    // again afterwards. False when there is no such page.
    bool CleanPage(int row, const cleanup::CleanupOptions& options);

    // Whether a page still waits for clean-up or recognition.
    bool busy(uint64_t pageId) const;
    int pendingCount() const;

    enum class WaitResult { Done, Stopped };
    // Makes sure every page has the text the settings ask for: pages not yet recognised are
    // queued, and the call returns once all are done. progress(done, total) runs on this thread
    // at least every 50 ms; returning false stops the wait (Stopped). Also Done when
    // recognition is off or impossible.
    WaitResult WaitForText(const std::function<bool(int done, int total)>& progress);
    // The text of each page by list position (null: none), for the PDF.
    std::vector<std::shared_ptr<const ocr::PageText>> PageTexts() const;
    // What the user must be told about missing language data ("Text recognition needs the
    // package tesseract-ocr-deu"), once per program run; empty when nothing (new) is missing.
    std::string TakeMissingLanguageMessage();

    // Moves finished results into their pages (normally done by queued calls).
    void DeliverResults();

signals:
    // A page's state changed (text arrived, clean-up done): marks and thumbnails were updated.
    void pageProcessed(quint64 pageId);

private:
    struct CleanJob;
    struct CleanResult;

    ProcessingSettings currentSettings() const;
    void onAdded(const Page& page);
    void onChanged(const Page& page);
    void onRemoving(const Page& page);
    void submitCleanup(const Page& page, int row, const cleanup::CleanupOptions& options);
    void applyCleanup(const std::shared_ptr<CleanResult>& result);
    // Queues the page for recognition when the settings ask for it; false when they do not.
    bool submitRecognition(const Page& page, const ProcessingSettings& settings);
    void updateWaiting(const Page& page);
    void cancelRecognition(uint64_t pageId);
    ocr::RecognitionQueue& queue();

    PageDocument& document_;
    std::function<ProcessingSettings()> settings_;
    int recognitionWorkers_;
    std::unique_ptr<ocr::RecognitionQueue> queue_;
    QThreadPool cleaner_;
    std::shared_ptr<std::atomic<bool>> stopping_;
    std::set<uint64_t> cleaning_;  // ids whose clean-up is queued or running
    // Each recognition goes to the queue under an id of its own, so that the result of a
    // picture that has changed since can never pass for the new one's.
    std::map<uint64_t, uint64_t> recognising_;  // page id -> its current submission
    std::map<uint64_t, uint64_t> submissions_;  // submission -> page id, until delivered
    uint64_t nextSubmission_ = 1;
    std::set<std::string> missingTold_;

    // Results arriving from the recognition workers, taken on the GUI thread.
    struct Arrivals {
        std::mutex mutex;
        std::map<uint64_t, ocr::RecognitionResult> results;
    };
    std::shared_ptr<Arrivals> arrivals_;
};

}  // namespace vellumo::document

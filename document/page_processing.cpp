#include "document/page_processing.h"

#include <QCoreApplication>
#include <QImage>
#include <QMetaObject>
#include <cstdio>

#include "cleanup/orientation.h"
#include "cleanup/tessdata.h"
#include "imaging/codecs.h"
#include "imaging/imaging.h"
#include "ocr/engine_setup.h"
#include "ocr/languages.h"
#include "ocr/recognition_queue.h"
#include "pdf/page_import.h"
#include "pdf/text_layer.h"
#include "platform/log.h"
#include "platform/settings_store.h"
#include "widgets/image_convert.h"

namespace vellumo::document {

using namespace vellumo::platform;

namespace {

constexpr int kTiffLzw = 1;
constexpr int kTiffGroup4 = 4;

bool CleanupWanted(const cleanup::CleanupOptions& options) {
    return options.straighten || options.upright || options.blankPages != cleanup::BlankPages::Off;
}

// One orientation engine for the clean-up thread, loaded on its first use.
cleanup::OrientationDetector& ThreadDetector() {
    thread_local cleanup::OrientationDetector detector;
    return detector;
}

}  // namespace

ProcessingSettings StoredProcessingSettings() {
    ProcessingSettings s;
    s.recognise = SettingsStore::readInt(setting::OCR.name, ocr::DefaultOcrSetting()) != 0;
    s.languages = SettingsStore::readText(setting::OCRLanguages.name,
                                          QString::fromStdString(ocr::DefaultOcrLanguages()))
                      .toStdString();
    s.scanned.straighten = SettingsStore::read(setting::Deskew) == 1;
    // Without the orientation data the setting cannot take effect.
    const bool osd = cleanup::OrientationDataInstalled();
    s.scanned.upright = osd && SettingsStore::readInt(setting::AutoRotate.name, 1) == 1;
    s.scanned.blankPages = cleanup::BlankPagesFromSetting(SettingsStore::read(setting::BlankPages));
    return s;
}

// A clean-up to run on the worker: it works on copies, never on the page itself.
struct PageProcessing::CleanJob {
    uint64_t pageId = 0;
    std::string path;
    int pageIndex = 0;  // the page's place in a multi-page file
    int pageNumber = 0;
    cleanup::CleanupOptions options;
    bool atScan = false;          // dropping blank pages is for scan time only
    double thumbnailScale = 1.0;  // the list's screen scale, for a sharp new thumbnail
    // The page file a changed page is written to, made beforehand where the document keeps
    // its page files; removed again when it is not used.
    std::string outPath;
};

struct PageProcessing::CleanResult {
    CleanJob job;
    bool readable = true;
    cleanup::CleanupReport report;
    std::string newPath;  // the cleaned page file, when it changed and was written
    QImage thumbnail;     // its thumbnail cell
};

PageProcessing::PageProcessing(PageDocument& document, std::function<ProcessingSettings()> settings,
                               int recognitionWorkers)
    : document_(document),
      settings_(std::move(settings)),
      recognitionWorkers_(recognitionWorkers),
      stopping_(std::make_shared<std::atomic<bool>>(false)),
      arrivals_(std::make_shared<Arrivals>()) {
    // One page at a time: the clean-up of one page is quick, and the cores are the
    // recognition's.
    cleaner_.setMaxThreadCount(1);
    // The thread keeps its orientation engine between pages.
    cleaner_.setExpiryTimeout(-1);
}

PageProcessing::~PageProcessing() {
    Stop();
}

void PageProcessing::Attach() {
    document_.events.added = [this](const Page& page) { onAdded(page); };
    document_.events.changed = [this](const Page& page) { onChanged(page); };
    document_.events.removing = [this](const Page& page) { onRemoving(page); };
}

void PageProcessing::Stop() {
    document_.events = PageEvents{};
    stopping_->store(true);
    cleaner_.clear();
    cleaner_.waitForDone();
    queue_.reset();
}

ProcessingSettings PageProcessing::currentSettings() const {
    return settings_ ? settings_() : StoredProcessingSettings();
}

ocr::RecognitionQueue& PageProcessing::queue() {
    if (!queue_) {
        std::shared_ptr<Arrivals> arrivals = arrivals_;
        queue_ = std::make_unique<ocr::RecognitionQueue>(
            [this, arrivals](ocr::PageId id, const ocr::RecognitionResult& result) {
                // The text layer is laid out here, on the worker, so saving does not have to.
                if (result.status == ocr::RecognitionStatus::Ok) pdf::PrepareTextLayer(result.text);
                {
                    std::lock_guard<std::mutex> lock(arrivals->mutex);
                    arrivals->results[id] = result;
                }
                QMetaObject::invokeMethod(
                    this, [this] { DeliverResults(); }, Qt::QueuedConnection);
            },
            recognitionWorkers_);
    }
    return *queue_;
}

bool PageProcessing::busy(uint64_t pageId) const {
    return cleaning_.count(pageId) != 0 || recognising_.count(pageId) != 0;
}

int PageProcessing::pendingCount() const {
    std::set<uint64_t> all(cleaning_);
    for (const auto& entry : recognising_) all.insert(entry.first);
    return static_cast<int>(all.size());
}

void PageProcessing::updateWaiting(const Page& page) {
    page.waitingForText = busy(page.id);
}

void PageProcessing::onAdded(const Page& page) {
    const ProcessingSettings s = currentSettings();
    int row = 0;
    document_.FindPage(page.id, &row);
    if (page.isScanned && CleanupWanted(s.scanned))
        submitCleanup(page, row, s.scanned);
    else
        submitRecognition(page, s);
    updateWaiting(page);
    document_.RefreshMarks();
}

void PageProcessing::onChanged(const Page& page) {
    page.text.reset();
    cancelRecognition(page.id);
    submitRecognition(page, currentSettings());
    updateWaiting(page);
    document_.RefreshMarks();
}

void PageProcessing::onRemoving(const Page& page) {
    cancelRecognition(page.id);
}

void PageProcessing::cancelRecognition(uint64_t pageId) {
    const auto it = recognising_.find(pageId);
    if (it == recognising_.end()) return;
    if (queue_) queue_->cancel(it->second);
    submissions_.erase(it->second);
    recognising_.erase(it);
}

bool PageProcessing::CleanPage(int row, const cleanup::CleanupOptions& options) {
    if (row < 0 || row >= static_cast<int>(document_.pages.size())) return false;
    const Page& page = *document_.pages[static_cast<size_t>(row)];
    submitCleanup(page, row, options);
    updateWaiting(page);
    document_.RefreshMarks();
    return true;
}

void PageProcessing::submitCleanup(const Page& page, int row,
                                   const cleanup::CleanupOptions& options) {
    auto result = std::make_shared<CleanResult>();
    const imaging::PageRef where = PageRefOf(page);
    result->job = CleanJob{page.id,
                           where.path,
                           where.index,
                           row + 1,
                           options,
                           page.isScanned != 0,
                           document_.thumbnailScale,
                           document_.MakeTempPagePath()};
    cleaning_.insert(page.id);
    std::shared_ptr<std::atomic<bool>> stopping = stopping_;
    cleaner_.start([this, result, stopping] {
        if (stopping->load()) return;
        ocr::RunEnginesSingleThreaded();
        imaging::ScopedImage image;
        if (imaging::ReadImagePage(result->job.path.c_str(), result->job.pageIndex, image.image) !=
            imaging::kImgOk) {
            result->readable = false;
        } else {
            result->report = cleanup::CleanPage(image.image, result->job.pageNumber,
                                                result->job.options, &ThreadDetector());
            if (!result->report.blank && result->report.changed() && !stopping->load()) {
                const std::string& path = result->job.outPath;
                const int compression =
                    imaging::BitsPerPixel(image.image) == 1 ? kTiffGroup4 : kTiffLzw;
                imaging::ImageBuffer cell{};
                if (!path.empty() &&
                    imaging::SaveTiff(path.c_str(), image.image, compression) == imaging::kImgOk &&
                    MakeThumbnailCell(image.image, cell, CellPixels(result->job.thumbnailScale)) ==
                        0) {
                    result->newPath = path;
                    result->thumbnail = ThumbnailPictureOf(cell);
                } else {
                    // A copy that could not be written completely never becomes the page.
                    WriteLogF("Page %d: the cleaned page could not be written, kept as it was\n",
                              result->job.pageNumber);
                }
                imaging::FreeImage(cell);
            }
        }
        if (stopping->load()) {
            if (!result->job.outPath.empty()) std::remove(result->job.outPath.c_str());
            return;
        }
        QMetaObject::invokeMethod(
            this, [this, result] { applyCleanup(result); }, Qt::QueuedConnection);
    });
}

void PageProcessing::applyCleanup(const std::shared_ptr<CleanResult>& result) {
    const CleanJob& job = result->job;
    // Another clean-up of the same page may still run; the last one ends the wait.
    cleaning_.erase(job.pageId);
    // The page file made for the job stays only when it becomes the page.
    if (result->newPath.empty() && !job.outPath.empty()) std::remove(job.outPath.c_str());
    int row = 0;
    const Page* page = document_.FindPage(job.pageId, &row);
    if (!page || PageRefOf(*page).path != job.path || PageRefOf(*page).index != job.pageIndex) {
        // The page left or changed meanwhile: what was found belongs to a picture that is gone.
        if (!result->newPath.empty()) std::remove(result->newPath.c_str());
        if (page) updateWaiting(*page);
        document_.RefreshMarks();
        return;
    }
    if (!result->readable) WriteLogF("Page %d not cleaned: the file cannot be read\n", row + 1);
    if (result->report.blank) {
        page->blank = true;
        if (job.atScan && job.options.blankPages == cleanup::BlankPages::Drop) {
            WriteLogF("Dropped blank page %d\n", row + 1);
            document_.RemovePageAt(row);
            document_.PostPageCount();
            document_.RebuildPageView();
            emit pageProcessed(job.pageId);
            return;
        }
    }
    if (!result->newPath.empty()) {
        // The cleaned picture is a new version of the page, a step the user can undo; the
        // document announces it (changed), and its text is found then.
        Page cleaned = *page;
        cleaned.workingPath = result->newPath;
        cancelRecognition(page->id);
        document_.ReplacePage(row, std::move(cleaned), result->thumbnail);
        document_.RebuildPageView();
        emit pageProcessed(job.pageId);
        return;
    }
    // A blank page holds nothing to read.
    if (!page->blank && !recognising_.count(page->id) && !page->text)
        submitRecognition(*page, currentSettings());
    updateWaiting(*page);
    document_.RefreshMarks();
    emit pageProcessed(job.pageId);
}

bool PageProcessing::submitRecognition(const Page& page, const ProcessingSettings& settings) {
    if (!settings.recognise) return false;
    std::vector<std::string> codes;
    if (!ocr::ParseLanguages(settings.languages, codes)) {
        WriteLogF("Text recognition: the languages \"%s\" are not valid\n",
                  settings.languages.c_str());
        return false;
    }
    const std::vector<std::string> missing = ocr::MissingLanguages(settings.languages);
    if (!missing.empty()) return false;  // told when the text is needed
    const std::string path = PagePath(page);
    // A page of a PDF keeps its own text, if it has any.
    if (pdf::IsPdfFile(path)) return false;
    cancelRecognition(page.id);
    const uint64_t submission = nextSubmission_++;
    recognising_[page.id] = submission;
    submissions_[submission] = page.id;
    // The page itself, also when it is a later page of a multi-page file.
    queue().submit(submission, PageRefOf(page), settings.languages);
    return true;
}

void PageProcessing::DeliverResults() {
    std::map<uint64_t, ocr::RecognitionResult> taken;
    {
        std::lock_guard<std::mutex> lock(arrivals_->mutex);
        taken.swap(arrivals_->results);
    }
    bool any = false;
    for (auto& [submission, result] : taken) {
        const auto sub = submissions_.find(submission);
        if (sub == submissions_.end()) continue;  // cancelled meanwhile
        const uint64_t id = sub->second;
        submissions_.erase(sub);
        const auto current = recognising_.find(id);
        if (current == recognising_.end() || current->second != submission) continue;
        recognising_.erase(current);
        const Page* page = document_.FindPage(id);
        if (!page) continue;
        // The engine has logged what it found, or why the page goes without text.
        if (result.status == ocr::RecognitionStatus::Ok) page->text = result.text;
        updateWaiting(*page);
        any = true;
        emit pageProcessed(id);
    }
    if (any) document_.RefreshMarks();
}

PageProcessing::WaitResult PageProcessing::WaitForText(
    const std::function<bool(int done, int total)>& progress) {
    const int total = static_cast<int>(document_.pages.size());
    // Pages still being cleaned up change their file first.
    while (!cleaning_.empty()) {
        if (progress && !progress(0, total)) return WaitResult::Stopped;
        cleaner_.waitForDone(50);
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
    const ProcessingSettings s = currentSettings();
    if (!s.recognise) return WaitResult::Done;
    DeliverResults();
    std::vector<ocr::PageId> ids;
    for (const auto& page : document_.pages) {
        if (page->blank) continue;
        if (const auto it = recognising_.find(page->id); it != recognising_.end()) {
            ids.push_back(it->second);
            continue;
        }
        if (page->text && page->text->languages == s.languages) continue;
        if (submitRecognition(*page, s)) {
            ids.push_back(recognising_[page->id]);
            updateWaiting(*page);
        }
    }
    if (ids.empty()) return WaitResult::Done;
    document_.RefreshMarks();
    const auto waited = queue().waitFor(ids, progress, std::chrono::milliseconds(50));
    DeliverResults();
    return waited == ocr::RecognitionQueue::WaitResult::Done ? WaitResult::Done
                                                             : WaitResult::Stopped;
}

std::vector<std::shared_ptr<const ocr::PageText>> PageProcessing::PageTexts() const {
    std::vector<std::shared_ptr<const ocr::PageText>> texts;
    texts.reserve(document_.pages.size());
    for (const auto& page : document_.pages) texts.push_back(page->text);
    return texts;
}

std::string PageProcessing::TakeMissingLanguageMessage() {
    const ProcessingSettings s = currentSettings();
    if (!s.recognise) return {};
    std::vector<std::string> codes;
    if (!ocr::ParseLanguages(s.languages, codes)) return {};
    const std::vector<std::string> missing = ocr::MissingLanguages(s.languages);
    if (missing.empty()) return {};
    const std::string message = ocr::MissingLanguagesMessage(missing);
    if (!missingTold_.insert(message).second) return {};
    return message;
}

}  // namespace vellumo::document

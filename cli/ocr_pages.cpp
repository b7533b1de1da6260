#include "cli/ocr_pages.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "ocr/languages.h"
#include "ocr/recognition_queue.h"
#include "pdf/page_import.h"
#include "pdf/text_layer.h"

#ifdef VELLUMO_CLI_SETTINGS
#include "platform/settings_store.h"
#endif

namespace vellumo::cli {

#ifdef VELLUMO_CLI_SETTINGS
using platform::SettingsStore;
namespace setting = platform::setting;
#endif

namespace {

// The codes of the options in a command's table.
enum : int { kOcr = kFirstLongOnlyOption + 110, kNoOcr };

int StoredOcr() {
#ifdef VELLUMO_CLI_SETTINGS
    return SettingsStore::readInt(setting::OCR.name, ocr::DefaultOcrSetting());
#else
    return ocr::DefaultOcrSetting();
#endif
}

std::string StoredLanguages() {
#ifdef VELLUMO_CLI_SETTINGS
    return SettingsStore::readText(setting::OCRLanguages.name,
                                   QString::fromStdString(ocr::DefaultOcrLanguages()))
        .toStdString();
#else
    return ocr::DefaultOcrLanguages();
#endif
}

}  // namespace

const char* const kOcrHelp =
    "  --ocr[=LANGS]          recognise the text of every page and lay it invisibly under the\n"
    "                         picture, so the PDF can be searched and copied; LANGS as\n"
    "                         eng+deu (default: Vellumo's settings, else the installed ones)\n"
    "  --no-ocr               no text recognition\n";

const std::vector<CommandOption>& OcrOptionTable() {
    static const std::vector<CommandOption> kTable = {
        {kOcr, "ocr", 0, OptionValue::Optional},
        {kNoOcr, "no-ocr", 0, OptionValue::None},
    };
    return kTable;
}

bool TakeOcrOption(int id, const char* value, OcrRequest& request, std::string& problem) {
    if (id == kNoOcr) {
        request.mode = OcrRequest::Mode::Off;
        return true;
    }
    if (id != kOcr) return false;
    if (value) {
        std::vector<std::string> codes;
        if (!ocr::ParseLanguages(value, codes)) {
            problem = std::string("--ocr needs languages like eng+deu, not '") + value + "'";
            return true;
        }
    }
    request.mode = OcrRequest::Mode::On;
    request.languages = value ? value : "";
    return true;
}

struct PageRecogniser::Results {
    std::mutex mutex;
    std::vector<std::shared_ptr<const ocr::PageText>> texts;
    std::vector<std::string> problems;  // by page, empty when fine
};

PageRecogniser::PageRecogniser(const OcrRequest& request, bool progress)
    : progress_(progress), results_(std::make_shared<Results>()) {
    if (request.mode == OcrRequest::Mode::Off) return;
    if (request.mode == OcrRequest::Mode::FromSettings && StoredOcr() == 0) return;
    languages_ = request.languages.empty() ? StoredLanguages() : request.languages;
    std::vector<std::string> codes;
    if (!ocr::ParseLanguages(languages_, codes)) {
        std::fprintf(stderr, "vellumo-cli: the setting OCRLanguages (%s) names no languages\n",
                     languages_.c_str());
        failed_ = request.mode == OcrRequest::Mode::On;
        return;
    }
    const std::vector<std::string> missing = ocr::MissingLanguages(languages_);
    if (!missing.empty()) {
        std::fprintf(stderr, "vellumo-cli: %s\n", ocr::MissingLanguagesMessage(missing).c_str());
        failed_ = request.mode == OcrRequest::Mode::On;
        return;
    }
    std::shared_ptr<Results> results = results_;
    queue_ = std::make_unique<ocr::RecognitionQueue>(
        [results](ocr::PageId id, const ocr::RecognitionResult& r) {
            const size_t index = static_cast<size_t>(id);
            // A file that cannot be read at all is reported by the PDF build.
            if (r.status == ocr::RecognitionStatus::Ok) {
                // Its text layer is made here, on the worker, while other pages are read.
                pdf::PrepareTextLayer(r.text);
            }
            std::lock_guard<std::mutex> lock(results->mutex);
            if (r.status == ocr::RecognitionStatus::Ok)
                results->texts[index] = r.text;
            else if (r.status != ocr::RecognitionStatus::Unreadable)
                results->problems[index] = r.reason;
        });
}

PageRecogniser::~PageRecogniser() = default;

void PageRecogniser::add(const imaging::PageRef& page) {
    if (!queue_) return;
    {
        std::lock_guard<std::mutex> lock(results_->mutex);
        results_->texts.emplace_back();
        results_->problems.emplace_back();
    }
    const auto id = static_cast<ocr::PageId>(pages_++);
    if (pdf::IsPdfFile(page.path)) return;
    submitted_.push_back(id);
    queue_->submit(id, page, languages_);
}

std::vector<std::shared_ptr<const ocr::PageText>> PageRecogniser::finish() {
    if (!queue_) return {};
    int shown = 0;
    queue_->waitFor(submitted_, [&](int done, int total) {
        // The page now under way, as the windows' activity dialog says it.
        for (; progress_ && shown < std::min(done + 1, total); ++shown)
            std::fprintf(stderr, "Recognising text, page %d of %d\n", shown + 1, total);
        return true;
    });
    queue_.reset();
    std::lock_guard<std::mutex> lock(results_->mutex);
    for (size_t i = 0; i < results_->problems.size(); ++i)
        if (!results_->problems[i].empty())
            std::fprintf(stderr, "vellumo-cli: page %zu goes in without text: %s\n", i + 1,
                         results_->problems[i].c_str());
    return results_->texts;
}

}  // namespace vellumo::cli

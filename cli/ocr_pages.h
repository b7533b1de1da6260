// Text recognition for vellumo-cli pdf and scan: --ocr[=LANGS] and --no-ocr over the settings
// "OCR" and "OCRLanguages", the pages recognised in the background as they arrive, progress per
// page on a terminal, and the one message about missing language data.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cli/option_parser.h"
#include "imaging/image_pages.h"
#include "ocr/page_text.h"

namespace vellumo::ocr {
class RecognitionQueue;
}

namespace vellumo::cli {

struct OcrRequest {
    enum class Mode { FromSettings, On, Off };
    Mode mode = Mode::FromSettings;
    std::string languages;  // from --ocr=LANGS; empty: the setting "OCRLanguages"
};

// The rows of "--ocr[=LANGS]" and "--no-ocr" for a command's option table.
const std::vector<CommandOption>& OcrOptionTable();
// Takes one option of those rows: true when `id` is one of them, with `problem` set when its
// languages are not a valid "eng+deu" list.
bool TakeOcrOption(int id, const char* value, OcrRequest& request, std::string& problem);

// The usage lines of the options, for the commands' help.
extern const char* const kOcrHelp;

class PageRecogniser {
public:
    // Works out from the request and the settings whether pages are recognised and in which
    // languages; when language data is missing it says so once on standard error and the pages
    // go without text.
    PageRecogniser(const OcrRequest& request, bool progress);
    ~PageRecogniser();
    PageRecogniser(const PageRecogniser&) = delete;
    PageRecogniser& operator=(const PageRecogniser&) = delete;

    bool active() const { return queue_ != nullptr; }
    // Queues the next page (pages count from 1 in the order added). Pages of PDF files keep their
    // own text, if any, and are not recognised again.
    void add(const std::string& file) { add(imaging::PageRef{file, 0}); }
    void add(const imaging::PageRef& page);
    // Waits for every page and returns their texts by position (null: no text). Pages the
    // engine could not read are named on standard error.
    std::vector<std::shared_ptr<const ocr::PageText>> finish();
    // --ocr was given and the text could not be made: the command fails once the PDF is written.
    bool failed() const { return failed_; }

private:
    bool progress_;
    bool failed_ = false;
    std::string languages_;
    std::unique_ptr<ocr::RecognitionQueue> queue_;
    struct Results;
    std::shared_ptr<Results> results_;
    int pages_ = 0;
    std::vector<uint64_t> submitted_;  // the ids of the pages handed to the queue
};

}  // namespace vellumo::cli

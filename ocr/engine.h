// One text recognition engine (Tesseract) with its languages loaded: recognises page files
// into PageText. An engine is used by one thread at a time; the recognition queue gives every
// worker thread its own.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "imaging/image_buffer.h"
#include "imaging/image_pages.h"
#include "ocr/page_text.h"

namespace vellumo::ocr {

enum class RecognitionStatus {
    Ok,               // recognised; a page without text has no lines
    Cancelled,        // stopped on request
    Unreadable,       // the page file cannot be read as an image
    Empty,            // the picture has no pixels
    TooLarge,         // a side longer than the engine takes
    SixteenBit,       // 16 bits per sample
    MissingLanguage,  // the data of a language is not installed
    EngineFailed,     // the engine could not load its data or failed on the page
};

struct RecognitionResult {
    RecognitionStatus status = RecognitionStatus::EngineFailed;
    std::shared_ptr<const PageText> text;  // set when status is Ok
    std::string reason;                    // why not, for the log and the user
};

// The longest side the engine takes.
constexpr int kMaxRecognitionSide = 32767;

class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Loads the languages ("eng+deu") unless they are loaded already. Ok, MissingLanguage (the
    // reason names the package to install) or EngineFailed.
    RecognitionResult load(const std::string& languages);
    const std::string& languages() const { return languages_; }

    // Recognises the page file with the loaded languages. cancel, when given, is polled while the
    // engine works; setting it ends recognition with Cancelled.
    RecognitionResult recognise(const std::string& path, const std::atomic<bool>* cancel = nullptr);
    // The same for one page of a file (a multi-page TIFF holds several).
    RecognitionResult recognise(const imaging::PageRef& page,
                                const std::atomic<bool>* cancel = nullptr);
    // The same for a picture in memory.
    RecognitionResult recognise(const imaging::ImageBuffer& image,
                                const std::atomic<bool>* cancel = nullptr);

private:
    struct Api;
    std::unique_ptr<Api> api_;
    std::string languages_;
};

// The text of a status for the log: "cancelled", "the file cannot be read" ...
const char* StatusText(RecognitionStatus status);

}  // namespace vellumo::ocr

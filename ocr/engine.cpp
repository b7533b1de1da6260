#include "ocr/engine.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <map>
#include <new>
#include <utility>

#include "imaging/codecs.h"
#include "ocr/engine_setup.h"
#include "ocr/ink_boxes.h"
#include "ocr/languages.h"
#include "ocr/pix_image.h"

namespace vellumo::ocr {

using namespace vellumo::imaging;

namespace {

// Below this mean word confidence a page may be lying on its side: worth asking the
// orientation detector. Upright pages, even noisy ones, score far higher.
constexpr float kDoubtfulConfidence = 50;
// The detector's confidence from which its answer is tried.
constexpr float kOrientationConfidence = 2;
// Words of at least this confidence count when two readings of a page are compared.
constexpr float kGoodWordConfidence = 60;

RecognitionResult Failure(RecognitionStatus status, std::string reason) {
    RecognitionResult r;
    r.status = status;
    r.reason = std::move(reason);
    return r;
}

bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load(std::memory_order_relaxed);
}

bool CancelRequested(void* flag, int) {
    return static_cast<const std::atomic<bool>*>(flag)->load(std::memory_order_relaxed);
}

// The word as a reader should get it: no spaces or control characters inside.
std::string CleanWord(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c > ' ' && c != 0x7F) out += static_cast<char>(c);
    }
    return out;
}

struct ReadingScore {
    int goodCharacters = 0;
    float meanConfidence = 0;
};

ReadingScore Score(const PageText& text) {
    ReadingScore s;
    double sum = 0;
    int words = 0;
    for (const Line& line : text.lines)
        for (const Word& w : line.words) {
            sum += w.confidence;
            ++words;
            if (w.confidence >= kGoodWordConfidence)
                s.goodCharacters += static_cast<int>(w.text.size());
        }
    s.meanConfidence = words ? static_cast<float>(sum / words) : 0;
    return s;
}

// How a line lies, from the way its words follow each other (or, for a single word, from its
// baseline): the engine reads lines running down the page without calling them turned.
int LineTurn(const Line& line) {
    double dx = line.baselineEnd.x - line.baselineStart.x;
    double dy = line.baselineEnd.y - line.baselineStart.y;
    if (line.words.size() >= 2) {
        const Box& first = line.words.front().box;
        const Box& last = line.words.back().box;
        dx = (last.left + last.right - first.left - first.right) / 2.0;
        dy = (last.top + last.bottom - first.top - first.bottom) / 2.0;
    }
    if (std::abs(dx) >= std::abs(dy)) return dx >= 0 ? 0 : 2;
    return dy > 0 ? 3 : 1;
}

// Puts the baseline's points in reading order for the way the line lies: left to right when
// upright, bottom to top for a quarter turn counter-clockwise, and so on.
void OrderBaseline(Line& line) {
    const double dx = line.baselineEnd.x - line.baselineStart.x;
    const double dy = line.baselineEnd.y - line.baselineStart.y;
    bool reversed = false;
    switch (line.turn) {
        case 0:
            reversed = dx < 0;
            break;
        case 1:
            reversed = dy > 0;
            break;
        case 2:
            reversed = dx > 0;
            break;
        case 3:
            reversed = dy < 0;
            break;
    }
    if (reversed) std::swap(line.baselineStart, line.baselineEnd);
}

// Every line gets its turn; a line of one word takes the turn most lines of its block have,
// as its own baseline says little about which way it reads.
void SettleTurns(PageText& text) {
    std::map<int, std::array<int, 4>> votes;
    for (Line& line : text.lines) {
        line.turn = LineTurn(line);
        if (line.words.size() >= 2) ++votes[line.block][line.turn];
    }
    for (Line& line : text.lines) {
        const auto it = votes.find(line.block);
        if (line.words.size() < 2 && it != votes.end()) {
            const std::array<int, 4>& v = it->second;
            line.turn = static_cast<int>(std::max_element(v.begin(), v.end()) - v.begin());
        }
        OrderBaseline(line);
    }
}

// Maps a point of a picture turned clockwise by quarter turns back into the picture before the
// turn (width and height of that original picture).
Point Unturn(Point p, int quarterTurns, int width, int height) {
    switch (quarterTurns) {
        case 1:
            return {p.y, height - p.x};
        case 2:
            return {width - p.x, height - p.y};
        case 3:
            return {width - p.y, p.x};
        default:
            return p;
    }
}

Box Unturn(const Box& b, int quarterTurns, int width, int height) {
    const Point a = Unturn(Point{double(b.left), double(b.top)}, quarterTurns, width, height);
    const Point c = Unturn(Point{double(b.right), double(b.bottom)}, quarterTurns, width, height);
    return Box{static_cast<int>(std::min(a.x, c.x)), static_cast<int>(std::min(a.y, c.y)),
               static_cast<int>(std::max(a.x, c.x)), static_cast<int>(std::max(a.y, c.y))};
}

// Text read from a picture turned clockwise by quarterTurns, put back onto the page as it is:
// the text lies turned counter-clockwise by as much.
void TurnBack(PageText& text, int quarterTurns, int width, int height) {
    for (Line& line : text.lines) {
        line.turn = (line.turn + quarterTurns) % 4;
        line.box = Unturn(line.box, quarterTurns, width, height);
        line.baselineStart = Unturn(line.baselineStart, quarterTurns, width, height);
        line.baselineEnd = Unturn(line.baselineEnd, quarterTurns, width, height);
        for (Word& w : line.words) w.box = Unturn(w.box, quarterTurns, width, height);
    }
    text.imageWidth = width;
    text.imageHeight = height;
    if (quarterTurns % 2) std::swap(text.dpiX, text.dpiY);
}

}  // namespace

struct Engine::Api {
    tesseract::TessBaseAPI tess;
    std::unique_ptr<tesseract::TessBaseAPI> orientation;  // loaded when first needed
    bool orientationTried = false;

    // Reads the picture as it lies. False when the engine fails or is cancelled.
    bool read(Pix* pix, const std::atomic<bool>* cancel, PageText& out) {
        tess.ClearAdaptiveClassifier();  // each page is read on its own, in any order
        tess.SetImage(pix);
        tesseract::ETEXT_DESC monitor;
        if (cancel) {
            monitor.cancel = CancelRequested;
            monitor.cancel_this = const_cast<std::atomic<bool>*>(cancel);
        }
        if (tess.Recognize(&monitor) != 0) return false;
        out = PageText{};
        out.imageWidth = pixGetWidth(pix);
        out.imageHeight = pixGetHeight(pix);
        out.dpiX = out.dpiY = tess.GetSourceYResolution();
        if (pixGetXRes(pix) > 0 && pixGetXRes(pix) != pixGetYRes(pix))
            out.dpiX = out.dpiY * pixGetXRes(pix) / std::max(1, pixGetYRes(pix));
        out.languages = tess.GetInitLanguagesAsString();
        collect(out);
        if (tess.GetThresholdedImageScaleFactor() == 1) {
            Pix* binary = tess.GetThresholdedImage();
            FitBoxesToInk(binary, out);
            pixDestroy(&binary);
        }
        tess.Clear();
        return true;
    }

    void collect(PageText& out) {
        std::unique_ptr<tesseract::ResultIterator> it(tess.GetIterator());
        if (!it) return;
        using tesseract::RIL_BLOCK;
        using tesseract::RIL_TEXTLINE;
        using tesseract::RIL_WORD;
        int block = -1;
        for (; !it->Empty(RIL_BLOCK); it->Next(RIL_WORD)) {
            if (it->IsAtBeginningOf(RIL_BLOCK)) ++block;
            if (it->IsAtBeginningOf(RIL_TEXTLINE) || out.lines.empty()) {
                if (!out.lines.empty() && out.lines.back().words.empty()) out.lines.pop_back();
                Line line;
                line.block = std::max(block, 0);
                it->BoundingBox(RIL_TEXTLINE, &line.box.left, &line.box.top, &line.box.right,
                                &line.box.bottom);
                int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
                if (it->Baseline(RIL_TEXTLINE, &x1, &y1, &x2, &y2)) {
                    line.baselineStart = {double(x1), double(y1)};
                    line.baselineEnd = {double(x2), double(y2)};
                } else {
                    line.baselineStart = {double(line.box.left), double(line.box.bottom)};
                    line.baselineEnd = {double(line.box.right), double(line.box.bottom)};
                }
                out.lines.push_back(std::move(line));
            }
            if (it->Empty(RIL_WORD)) continue;
            const std::unique_ptr<char[]> utf8(it->GetUTF8Text(RIL_WORD));
            Word word;
            word.text = utf8 ? CleanWord(utf8.get()) : std::string();
            if (word.text.empty()) continue;
            it->BoundingBox(RIL_WORD, &word.box.left, &word.box.top, &word.box.right,
                            &word.box.bottom);
            if (word.box.empty()) continue;
            word.confidence = std::clamp(it->Confidence(RIL_WORD), 0.0f, 100.0f);
            out.lines.back().words.push_back(std::move(word));
        }
        if (!out.lines.empty() && out.lines.back().words.empty()) out.lines.pop_back();
        SettleTurns(out);
    }

    // Clockwise quarter turns that bring the picture's text upright, by the orientation
    // detector; 0 when it is upright, unsure, or the detector's data is not installed.
    int uprightTurns(Pix* pix) {
        if (!orientationTried) {
            orientationTried = true;
            const std::string folder = TessdataDirectory();
            auto api = std::make_unique<tesseract::TessBaseAPI>();
            if (!folder.empty() && access((folder + "osd.traineddata").c_str(), R_OK) == 0 &&
                api->Init(nullptr, "osd", tesseract::OEM_TESSERACT_ONLY) == 0)
                orientation = std::move(api);
        }
        if (!orientation) return 0;
        orientation->SetImage(pix);
        int degrees = 0;
        float confidence = 0, scriptConfidence = 0;
        const char* script = nullptr;
        const bool found =
            orientation->DetectOrientationScript(&degrees, &confidence, &script, &scriptConfidence);
        orientation->Clear();
        if (!found || confidence < kOrientationConfidence) return 0;
        // The detector names how far the picture is turned clockwise; turning it on by the
        // rest of a full turn sets it upright.
        return ((360 - degrees) / 90) % 4;
    }
};

Engine::Engine() : api_(std::make_unique<Api>()) {
    PrepareEngineLibrary();
}

Engine::~Engine() = default;

RecognitionResult Engine::load(const std::string& languages) {
    if (!languages_.empty() && languages_ == languages) return Failure(RecognitionStatus::Ok, {});
    std::vector<std::string> codes;
    if (!ParseLanguages(languages, codes))
        return Failure(RecognitionStatus::MissingLanguage, "no such language: " + languages);
    const std::vector<std::string> missing = MissingLanguages(languages);
    if (!missing.empty())
        return Failure(RecognitionStatus::MissingLanguage, MissingLanguagesMessage(missing));
    languages_.clear();
    try {
        if (api_->tess.Init(nullptr, languages.c_str(), tesseract::OEM_DEFAULT) != 0)
            return Failure(RecognitionStatus::EngineFailed,
                           "the language data for " + languages + " could not be loaded");
    } catch (const std::exception& e) {
        return Failure(RecognitionStatus::EngineFailed,
                       "the language data for " + languages + " could not be loaded: " + e.what());
    }
    api_->tess.SetPageSegMode(tesseract::PSM_AUTO);
    languages_ = languages;
    return Failure(RecognitionStatus::Ok, {});
}

RecognitionResult Engine::recognise(const std::string& path, const std::atomic<bool>* cancel) {
    return recognise(PageRef{path, 0}, cancel);
}

RecognitionResult Engine::recognise(const PageRef& page, const std::atomic<bool>* cancel) {
    ImageFileInfo info;
    ImageFormat format = ImageFormat::None;
    if (InspectImagePage(page.path.c_str(), page.index, info, &format) != 0 ||
        format == ImageFormat::None)
        return Failure(RecognitionStatus::Unreadable, "the file cannot be read as an image");
    if (info.width <= 0 || info.height <= 0)
        return Failure(RecognitionStatus::Empty, "the picture has no pixels");
    if (info.width > kMaxRecognitionSide || info.height > kMaxRecognitionSide)
        return Failure(
            RecognitionStatus::TooLarge,
            "the picture is larger than " + std::to_string(kMaxRecognitionSide) + " pixels a side");
    // Samples deeper than 8 bits (the other formats count whole pixels here).
    const bool perSample =
        format == ImageFormat::Tiff || format == ImageFormat::Png || format == ImageFormat::Jpeg;
    if (perSample && info.fileBitsPerSample > 8)
        return Failure(
            RecognitionStatus::SixteenBit,
            "the picture has " + std::to_string(info.fileBitsPerSample) + " bits per sample");
    if (Cancelled(cancel)) return Failure(RecognitionStatus::Cancelled, "cancelled");
    ImageBuffer image{};
    if (ReadImagePage(page.path.c_str(), page.index, image) != 0)
        return Failure(RecognitionStatus::Unreadable, "the file cannot be read as an image");
    RecognitionResult r = recognise(image, cancel);
    FreeImage(image);
    return r;
}

RecognitionResult Engine::recognise(const ImageBuffer& image, const std::atomic<bool>* cancel) {
    const int width = ImageWidth(image), height = ImageHeight(image);
    if (width <= 0 || height <= 0 || !image.pixels)
        return Failure(RecognitionStatus::Empty, "the picture has no pixels");
    if (width > kMaxRecognitionSide || height > kMaxRecognitionSide)
        return Failure(
            RecognitionStatus::TooLarge,
            "the picture is larger than " + std::to_string(kMaxRecognitionSide) + " pixels a side");
    if (languages_.empty())
        return Failure(RecognitionStatus::EngineFailed, "no language data is loaded");
    if (Cancelled(cancel)) return Failure(RecognitionStatus::Cancelled, "cancelled");
    RunEnginesSingleThreaded();
    try {
        const PixHandle pix = PixFromImage(image);
        if (!pix)
            return Failure(RecognitionStatus::EngineFailed,
                           BitsPerPixel(image) == 16 ? "the picture has 16 bits per pixel"
                                                     : "not enough memory for the picture");
        auto text = std::make_shared<PageText>();
        if (!api_->read(pix.get(), cancel, *text)) {
            if (Cancelled(cancel)) return Failure(RecognitionStatus::Cancelled, "cancelled");
            return Failure(RecognitionStatus::EngineFailed, "the engine failed on the page");
        }
        // Text lying on its side reads as a few doubtful words: find out whether turning the
        // picture reads better.
        const ReadingScore score = Score(*text);
        if (text->wordCount() > 0 && score.meanConfidence < kDoubtfulConfidence) {
            const int turns = api_->uprightTurns(pix.get());
            if (turns != 0 && !Cancelled(cancel)) {
                const PixHandle upright(pixRotateOrth(pix.get(), turns));
                auto turned = std::make_shared<PageText>();
                if (upright && api_->read(upright.get(), cancel, *turned) &&
                    Score(*turned).goodCharacters > score.goodCharacters) {
                    TurnBack(*turned, turns, width, height);
                    text = std::move(turned);
                }
            }
            if (Cancelled(cancel)) return Failure(RecognitionStatus::Cancelled, "cancelled");
        }
        RecognitionResult r;
        r.status = RecognitionStatus::Ok;
        r.text = std::move(text);
        return r;
    } catch (const std::bad_alloc&) {
        return Failure(RecognitionStatus::EngineFailed, "not enough memory for the page");
    } catch (const std::exception& e) {
        return Failure(RecognitionStatus::EngineFailed,
                       std::string("the engine failed on the page: ") + e.what());
    }
}

const char* StatusText(RecognitionStatus status) {
    switch (status) {
        case RecognitionStatus::Ok:
            return "recognised";
        case RecognitionStatus::Cancelled:
            return "cancelled";
        case RecognitionStatus::Unreadable:
            return "the file cannot be read as an image";
        case RecognitionStatus::Empty:
            return "the picture has no pixels";
        case RecognitionStatus::TooLarge:
            return "the picture is too large for text recognition";
        case RecognitionStatus::SixteenBit:
            return "the picture has 16 bits per sample";
        case RecognitionStatus::MissingLanguage:
            return "the language data is not installed";
        case RecognitionStatus::EngineFailed:
            return "the recognition engine failed";
    }
    return "unknown";
}

}  // namespace vellumo::ocr

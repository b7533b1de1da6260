// The recognition engine on pages of known text: words, boxes, lines and reading order, pages
// lying on their side, every depth the page files have, and everything that must end in a
// clear status instead of a crash.
#include "ocr/engine.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "imaging/codecs.h"
#include "ocr/languages.h"
#include "ocr_checks.h"
#include "support/test_support.h"
#include "support/text_pages.h"

using namespace vellumo::ocr;
using namespace vellumo::imaging;
using ocrtest::CommonWords;
using ocrtest::Render;
using ocrtest::ScopedEnv;
using ocrtest::SmallPage;
using testsupport::TextPage;
using testsupport::TextPagePlan;

namespace {

RecognitionResult Recognise(const std::string& path, const std::string& languages = "eng") {
    Engine engine;
    const RecognitionResult loaded = engine.load(languages);
    if (loaded.status != RecognitionStatus::Ok) return loaded;
    return engine.recognise(path);
}

int ThreadCount() {
    int n = 0;
    DIR* dir = opendir("/proc/self/task");
    while (const dirent* e = readdir(dir))
        if (e->d_name[0] != '.') ++n;
    closedir(dir);
    return n;
}

// Every recognised word that is a word of the page lies on that word's ink.
void ExpectBoxesOnInk(const PageText& text, const TextPage& page, double minimum) {
    int checked = 0;
    for (const Line& line : text.lines)
        for (const Word& w : line.words) {
            const double overlap = ocrtest::BestOverlap(page, w.text, ocrtest::Ink(w.box));
            if (overlap == 0) continue;  // misread: no word of the page to compare with
            EXPECT_GE(overlap, minimum) << w.text;
            ++checked;
        }
    EXPECT_GE(checked, page.words.size() * 9 / 10);
}

}  // namespace

TEST(Recognition, ReadsTheWordsWhereTheyAre) {
    testsupport::TempDir dir;
    TextPagePlan plan = SmallPage();
    const TextPage page = Render(plan, dir.file("page.png"));
    const RecognitionResult r = Recognise(page.path);
    ASSERT_EQ(r.status, RecognitionStatus::Ok) << r.reason;
    const PageText& text = *r.text;
    EXPECT_EQ(text.imageWidth, page.width);
    EXPECT_EQ(text.imageHeight, page.height);
    EXPECT_DOUBLE_EQ(text.dpiY, 300);
    EXPECT_EQ(text.languages, "eng");
    EXPECT_GE(CommonWords(ocrtest::Words(page), ocrtest::Words(text)),
              static_cast<int>(page.words.size()) * 97 / 100);
    ExpectBoxesOnInk(text, page, 0.8);
    for (const Line& line : text.lines)
        for (const Word& w : line.words) {
            EXPECT_GT(w.confidence, 50) << w.text;
            EXPECT_LE(w.confidence, 100);
        }
}

TEST(Recognition, LinesHaveTheirWordsAndBaselines) {
    testsupport::TempDir dir;
    const TextPage page = Render(SmallPage(), dir.file("page.png"));
    const RecognitionResult r = Recognise(page.path);
    ASSERT_EQ(r.status, RecognitionStatus::Ok) << r.reason;
    const std::vector<std::string> expected = page.lines();
    ASSERT_EQ(r.text->lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Line& line = r.text->lines[i];
        EXPECT_EQ(line.turn, 0);
        // The baseline runs left to right under the letters without descenders: each word's
        // bottom lies on it or a descender's depth below it.
        EXPECT_LT(line.baselineStart.x, line.baselineEnd.x);
        for (const Word& w : line.words) {
            const double t =
                (w.box.left - line.baselineStart.x) / (line.baselineEnd.x - line.baselineStart.x);
            const double base =
                line.baselineStart.y + t * (line.baselineEnd.y - line.baselineStart.y);
            EXPECT_GE(w.box.bottom, base - 2) << w.text;
            EXPECT_LE(w.box.bottom, base + w.box.height() * 0.45) << w.text;
            EXPECT_GE(w.box.left, line.box.left);
            EXPECT_LE(w.box.right, line.box.right);
        }
    }
    // The copied text of the page is its lines, words joined by single spaces.
    int sameLines = 0;
    std::string all = r.text->plainText();
    for (const std::string& l : expected)
        if (all.find(l + "\n") != std::string::npos) ++sameLines;
    EXPECT_GE(sameLines, static_cast<int>(expected.size()) - 1);
}

TEST(Recognition, ColumnsAreReadOneAfterTheOther) {
    testsupport::TempDir dir;
    TextPagePlan plan;
    plan.columns = 2;
    plan.words = 120;
    plan.pageHeightPt = 330;
    const TextPage page = Render(plan, dir.file("columns.png"));
    const RecognitionResult r = Recognise(page.path);
    ASSERT_EQ(r.status, RecognitionStatus::Ok) << r.reason;
    // The first word of the right column comes after the last word of the left one.
    const std::string lastLeft = page.words[59].text, firstRight = page.words[60].text;
    const std::string text = r.text->plainText();
    const size_t end = text.find(lastLeft + "\n");
    ASSERT_NE(end, std::string::npos) << text;
    const size_t start = text.find(firstRight, end);
    EXPECT_NE(start, std::string::npos) << text;
    // And no line mixes the columns.
    const int middle = page.width / 2;
    for (const Line& line : r.text->lines)
        EXPECT_TRUE(line.box.right < middle || line.box.left > middle) << line.words.front().text;
    EXPECT_GT(r.text->lines.back().block, r.text->lines.front().block);
}

TEST(Recognition, GermanWithItsLetters) {
    if (!MissingLanguages("deu").empty()) GTEST_SKIP() << "no German language data";
    testsupport::TempDir dir;
    TextPagePlan plan = SmallPage();
    plan.language = "deu";
    plan.font = "NimbusSans-Regular";
    const TextPage page = Render(plan, dir.file("deutsch.png"));
    const RecognitionResult r = Recognise(page.path, "deu");
    ASSERT_EQ(r.status, RecognitionStatus::Ok) << r.reason;
    const std::vector<std::string> words = ocrtest::Words(*r.text);
    EXPECT_GE(CommonWords(ocrtest::Words(page), words),
              static_cast<int>(page.words.size()) * 95 / 100);
    EXPECT_NE(std::find(words.begin(), words.end(), "B\xC3\xBCro"), words.end());
}

// A page scanned on its side: the text is read, and lies on the page as the picture shows it.
class TurnedPage : public testing::TestWithParam<int> {};

TEST_P(TurnedPage, IsReadAndKeepsItsPlace) {
    testsupport::TempDir dir;
    TextPagePlan plan = SmallPage();
    plan.quarterTurns = GetParam();
    const TextPage page = Render(plan, dir.file("turned.png"));
    const RecognitionResult r = Recognise(page.path);
    ASSERT_EQ(r.status, RecognitionStatus::Ok) << r.reason;
    EXPECT_EQ(r.text->imageWidth, page.width);
    EXPECT_EQ(r.text->imageHeight, page.height);
    EXPECT_GE(CommonWords(ocrtest::Words(page), ocrtest::Words(*r.text)),
              static_cast<int>(page.words.size()) * 9 / 10);
    ExpectBoxesOnInk(*r.text, page, 0.7);
    // Turned clockwise by the picture's turns: counter-clockwise quarter turns are the rest.
    for (const Line& line : r.text->lines) EXPECT_EQ(line.turn, (4 - GetParam()) % 4);
}

INSTANTIATE_TEST_SUITE_P(Recognition, TurnedPage, testing::Values(1, 2, 3));

TEST(Recognition, EveryDepthOfPageFile) {
    testsupport::TempDir dir;
    for (int bits : {1, 24}) {
        TextPagePlan plan = SmallPage();
        plan.bitsPerPixel = bits;
        plan.dpi = 200;
        const TextPage page = Render(plan, dir.file(bits == 1 ? "bw.tif" : "colour.png"));
        const RecognitionResult r = Recognise(page.path);
        ASSERT_EQ(r.status, RecognitionStatus::Ok) << r.reason;
        EXPECT_GE(CommonWords(ocrtest::Words(page), ocrtest::Words(*r.text)),
                  static_cast<int>(page.words.size()) * 95 / 100)
            << bits << " bits";
        ExpectBoxesOnInk(*r.text, page, 0.75);
    }
}

TEST(Recognition, EachPageOfAMultiPageTiff) {
    testsupport::TempDir dir;
    TextPagePlan plan = SmallPage();
    plan.bitsPerPixel = 1;
    plan.dpi = 200;
    const TextPage first = Render(plan, dir.file("a.tif"));
    plan.firstWord = 150;
    const TextPage second = Render(plan, dir.file("b.tif"));
    ASSERT_EQ(testsupport::run("tiffcp " + testsupport::shellQuote(first.path) + " " +
                               testsupport::shellQuote(second.path) + " " +
                               testsupport::shellQuote(dir.file("both.tif"))),
              0);
    Engine engine;
    ASSERT_EQ(engine.load("eng").status, RecognitionStatus::Ok);
    const TextPage* pages[] = {&first, &second};
    for (int index = 0; index < 2; ++index) {
        const RecognitionResult r = engine.recognise(PageRef{dir.file("both.tif"), index});
        ASSERT_EQ(r.status, RecognitionStatus::Ok) << r.reason;
        const int expected = static_cast<int>(pages[index]->words.size());
        EXPECT_GE(CommonWords(ocrtest::Words(*pages[index]), ocrtest::Words(*r.text)),
                  expected * 95 / 100)
            << "page " << index + 1;
        // Not the other page read twice.
        EXPECT_LT(CommonWords(ocrtest::Words(*pages[1 - index]), ocrtest::Words(*r.text)),
                  expected / 2)
            << "page " << index + 1;
    }
    EXPECT_EQ(engine.recognise(PageRef{dir.file("both.tif"), 2}).status,
              RecognitionStatus::Unreadable);
}

TEST(Recognition, BlankPageHasNoText) {
    testsupport::TempDir dir;
    ImageBuffer blank{};
    ASSERT_EQ(AllocateImage(blank, 1200, 1600, 8), 0);
    for (int y = 0; y < 1600; ++y) std::fill_n(RowPointer(blank, y), 1200, uint8_t{255});
    SetImageDpi(blank, 150, 150);
    ASSERT_EQ(SavePng(dir.file("blank.png").c_str(), blank, 0), 0);
    FreeImage(blank);
    const RecognitionResult r = Recognise(dir.file("blank.png"));
    ASSERT_EQ(r.status, RecognitionStatus::Ok) << r.reason;
    EXPECT_EQ(r.text->wordCount(), 0);
    EXPECT_TRUE(r.text->lines.empty());
}

TEST(Recognition, RunsOnTheCallingThreadAlone) {
    testsupport::TempDir dir;
    const TextPage page = Render(SmallPage(), dir.file("page.png"));
    const int before = ThreadCount();
    int during = 0;
    std::thread worker([&] {
        Engine engine;
        ASSERT_EQ(engine.load("eng").status, RecognitionStatus::Ok);
        ASSERT_EQ(engine.recognise(page.path).status, RecognitionStatus::Ok);
        during = ThreadCount();
    });
    worker.join();
    // This thread and the worker: the engine started no helpers of its own.
    EXPECT_EQ(during, before + 1);
}

TEST(Recognition, CancelStopsThePage) {
    testsupport::TempDir dir;
    TextPagePlan plan;
    plan.words = 400;
    const TextPage page = Render(plan, dir.file("long.png"));
    Engine engine;
    ASSERT_EQ(engine.load("eng").status, RecognitionStatus::Ok);
    std::atomic<bool> cancel{true};
    EXPECT_EQ(engine.recognise(page.path, &cancel).status, RecognitionStatus::Cancelled);

    cancel = false;
    const auto started = std::chrono::steady_clock::now();
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        cancel = true;
    });
    const RecognitionResult r = engine.recognise(page.path, &cancel);
    canceller.join();
    const auto cancelled = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(r.status, RecognitionStatus::Cancelled);
    // The same engine reads the next page in full, and took longer for it than for the
    // cancelled one.
    cancel = false;
    const auto again = std::chrono::steady_clock::now();
    const RecognitionResult full = engine.recognise(page.path, &cancel);
    EXPECT_EQ(full.status, RecognitionStatus::Ok);
    EXPECT_GT(std::chrono::steady_clock::now() - again, cancelled);
}

TEST(BadInput, EndsInAStatusNotACrash) {
    testsupport::TempDir dir;
    Engine engine;
    ASSERT_EQ(engine.load("eng").status, RecognitionStatus::Ok);

    testsupport::writeFile(dir.file("not-an-image.png"), "this is text, not a picture");
    EXPECT_EQ(engine.recognise(dir.file("not-an-image.png")).status, RecognitionStatus::Unreadable);
    EXPECT_EQ(engine.recognise(dir.file("missing.png")).status, RecognitionStatus::Unreadable);

    // Wider than the engine takes: refused from the file's header, before decoding.
    ImageBuffer wide{};
    ASSERT_EQ(AllocateImage(wide, 40000, 16, 1), 0);
    ASSERT_EQ(SaveTiff(dir.file("wide.tif").c_str(), wide, 4), 0);
    FreeImage(wide);
    const RecognitionResult tooWide = engine.recognise(dir.file("wide.tif"));
    EXPECT_EQ(tooWide.status, RecognitionStatus::TooLarge);
    EXPECT_NE(tooWide.reason.find("32767"), std::string::npos);

    // 16 bits per sample.
    ASSERT_EQ(testsupport::run("convert -size 300x200 gradient: -depth 16 '" +
                               dir.file("deep.png") + "'"),
              0);
    const RecognitionResult deep = engine.recognise(dir.file("deep.png"));
    EXPECT_EQ(deep.status, RecognitionStatus::SixteenBit);
    EXPECT_NE(deep.reason.find("16 bits"), std::string::npos);

    // A picture in memory without pixels.
    ImageBuffer none{};
    EXPECT_EQ(engine.recognise(none).status, RecognitionStatus::Empty);

    // Truncated page file: the loader refuses it or it reads as part of a page.
    const TextPage page = Render(SmallPage(), dir.file("page.png"));
    const std::string data = testsupport::readFile(page.path);
    testsupport::writeFile(dir.file("cut.png"), data.substr(0, data.size() / 3));
    const RecognitionStatus cut = engine.recognise(dir.file("cut.png")).status;
    EXPECT_TRUE(cut == RecognitionStatus::Unreadable || cut == RecognitionStatus::Ok);
}

TEST(BadInput, MissingOrDamagedLanguageData) {
    testsupport::TempDir dir;
    {
        // No data at all: the package of the language asked for is named.
        ScopedEnv prefix("TESSDATA_PREFIX", dir.path());
        Engine engine;
        const RecognitionResult r = engine.load("eng");
        EXPECT_EQ(r.status, RecognitionStatus::MissingLanguage);
        EXPECT_EQ(r.reason, "Text recognition needs the package tesseract-ocr-eng");
        ImageBuffer page{};
        AllocateImage(page, 100, 100, 8);
        EXPECT_EQ(engine.recognise(page).status, RecognitionStatus::EngineFailed);
        FreeImage(page);
    }
    {
        // One language of two is missing.
        Engine engine;
        const RecognitionResult r = engine.load("eng+zzz");
        EXPECT_EQ(r.status, RecognitionStatus::MissingLanguage);
        EXPECT_EQ(r.reason, "Text recognition needs the package tesseract-ocr-zzz");
    }
    {
        // Damaged data: a failed load, the engine survives it and loads good data afterwards.
        testsupport::writeFile(dir.file("eng.traineddata"), std::string(5000, 'x'));
        ScopedEnv prefix("TESSDATA_PREFIX", dir.path());
        Engine engine;
        EXPECT_EQ(engine.load("eng").status, RecognitionStatus::EngineFailed);
    }
    Engine engine;
    EXPECT_EQ(engine.load("eng").status, RecognitionStatus::Ok);
    EXPECT_EQ(engine.load("../eng").status, RecognitionStatus::MissingLanguage);
}

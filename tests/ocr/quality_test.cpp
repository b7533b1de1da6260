// Searchable PDFs as readers see them. Each page is set from known text (several fonts and
// sizes, 150 to 300 dpi, clean, noisy and skewed, one and two columns, English and German),
// recognised, written with its text layer, and read back by pdftotext (words and boxes),
// pdf.js, mutool and Ghostscript; Tesseract's own `tesseract IMAGE out pdf` on the same image
// is the floor for the words found.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "ocr/engine.h"
#include "ocr/languages.h"
#include "ocr_checks.h"
#include "pdf/pdf_builder.h"
#include "support/test_support.h"
#include "support/text_pages.h"

using namespace vellumo::ocr;
using namespace vellumo::pdf;
using testsupport::shellQuote;
using testsupport::TextPage;
using testsupport::TextPagePlan;

namespace {

struct Case {
    const char* name;
    const char* language;
    const char* font;
    double points;
    int dpi;
    int columns;
    double skew;
    bool noisy;
    int bits;
    int firstWord;
};

std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << c.name;
}

const Case kCases[] = {
    {"TimesClean300", "eng", "NimbusRoman-Regular", 11, 300, 1, 0, false, 8, 0},
    {"SansTwoColumns300", "eng", "NimbusSans-Regular", 10, 300, 2, 0, false, 8, 40},
    {"CourierClean200", "eng", "NimbusMonoPS-Regular", 12, 200, 1, 0, false, 8, 90},
    {"PalatinoClean150", "eng", "P052-Roman", 12, 150, 1, 0, false, 8, 150},
    {"CenturyNoisy300", "eng", "C059-Roman", 11, 300, 1, 0, true, 8, 200},
    {"TimesSkewed200", "eng", "NimbusRoman-Regular", 12, 200, 1, 1.5, false, 8, 250},
    {"SansBilevel300", "eng", "NimbusSans-Regular", 14, 300, 1, 0, false, 1, 300},
    {"TimesColour200", "eng", "NimbusRoman-Regular", 10, 200, 2, 0, false, 24, 120},
    {"GermanSansClean300", "deu", "NimbusSans-Regular", 11, 300, 1, 0, false, 8, 0},
    {"GermanTimesNoisyColumns200", "deu", "NimbusRoman-Regular", 11, 200, 2, 0, true, 8, 100},
    {"GermanBookmanSkewed300", "deu", "URWBookman-Light", 11, 300, 1, -0.7, false, 8, 220},
};

std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string w;
    while (in >> w) out.push_back(w);
    return out;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const size_t a = line.find_first_not_of(" \f");
        const size_t b = line.find_last_not_of(" \f\r");
        if (a != std::string::npos) out.push_back(line.substr(a, b - a + 1));
    }
    return out;
}

std::string Unescape(std::string s) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [from, to] : entities)
        for (size_t at; (at = s.find(from)) != std::string::npos;)
            s.replace(at, std::strlen(from), to);
    return s;
}

struct BoxedWord {
    std::string text;
    testsupport::InkBox box;  // picture pixels
};

// pdftotext -bbox: every word with its box, turned into picture pixels.
std::vector<BoxedWord> BoxedWords(const std::string& pdf, const TextPage& page) {
    const std::string html = testsupport::capture("pdftotext -bbox " + shellQuote(pdf) + " -");
    std::vector<BoxedWord> out;
    std::smatch m;
    const std::regex pageSize(R"re(<page width="([0-9.]+)" height="([0-9.]+)")re");
    double scaleX = 1, scaleY = 1;
    if (std::regex_search(html, m, pageSize)) {
        scaleX = page.width / std::stod(m[1]);
        scaleY = page.height / std::stod(m[2]);
    }
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word);
         it != std::sregex_iterator(); ++it) {
        const auto& w = *it;
        out.push_back({Unescape(w[5]),
                       {static_cast<int>(std::lround(std::stod(w[1]) * scaleX)),
                        static_cast<int>(std::lround(std::stod(w[2]) * scaleY)),
                        static_cast<int>(std::lround(std::stod(w[3]) * scaleX)),
                        static_cast<int>(std::lround(std::stod(w[4]) * scaleY))}});
    }
    return out;
}

bool HavePdfJs() {
    return testsupport::haveTool("node") &&
           testsupport::fileExists(testsupport::sourceDir() +
                                   "/tests/support/pdfjs/node_modules/pdfjs-dist/package.json");
}

std::string PdfJsText(const std::string& pdf) {
    return testsupport::capture(
        "node " + shellQuote(testsupport::sourceDir() + "/tests/support/pdfjs/pdfjs_text.mjs") +
        " " + shellQuote(pdf));
}

// What the truth's neighbouring words would read as when run together.
std::set<std::string> RunTogether(const TextPage& page) {
    std::set<std::string> out;
    for (size_t i = 0; i + 1 < page.words.size(); ++i)
        out.insert(page.words[i].text + page.words[i + 1].text);
    return out;
}

// Copying. Every line whose words were all recognised comes out as one line, its words joined by
// single spaces; no two words run together anywhere. With wholeLines false a reader may break a
// line into pieces or run two lines into one (readers find the lines of a skewed page by
// heights that drift along the line, and they lose their way with Tesseract's own PDFs too),
// but whatever it gives as a line is a run of the page's words in order, single-spaced.
void ExpectLinesCopied(const std::string& reader, const std::string& text, const TextPage& page,
                       const PageText& recognised, bool wholeLines = true) {
    SCOPED_TRACE(reader);
    const std::vector<std::string> lines = Lines(text);
    const std::set<std::string> extracted(lines.begin(), lines.end());
    std::set<std::string> recognisedLines;
    for (const Line& line : recognised.lines) {
        std::string l;
        for (const Word& w : line.words) l += (l.empty() ? "" : " ") + w.text;
        recognisedLines.insert(l);
    }
    int checked = 0;
    for (const std::string& truth : page.lines()) {
        if (!recognisedLines.count(truth)) continue;  // the engine misread a word of it
        ++checked;
        if (wholeLines) {
            EXPECT_TRUE(extracted.count(truth)) << "line not copied whole: " << truth;
        }
    }
    EXPECT_GE(checked, static_cast<int>(page.lines().size()) / 2);
    std::string all = " ";
    for (const auto& w : page.words) all += w.text + " ";
    for (const std::string& piece : lines) {
        const std::vector<std::string> words = Tokens(piece);
        const bool allTrue =
            ocrtest::CommonWords(words, ocrtest::Words(page)) == static_cast<int>(words.size());
        if (allTrue) {
            EXPECT_NE(all.find(" " + piece + " "), std::string::npos)
                << "not a run of the page's words: " << piece;
        }
    }
    EXPECT_EQ(text.find("  "), std::string::npos) << "double space";
    const std::set<std::string> joined = RunTogether(page);
    for (const std::string& token : Tokens(text)) EXPECT_FALSE(joined.count(token)) << token;
}

class Quality : public testing::TestWithParam<Case> {};

TEST_P(Quality, ReadersFindTheWordsInTheirPlaces) {
    const Case& c = GetParam();
    if (!MissingLanguages(c.language).empty()) GTEST_SKIP() << "no data for " << c.language;
    for (const char* tool : {"gs", "pdftotext", "tesseract", "qpdf"})
        if (!testsupport::haveTool(tool)) GTEST_SKIP() << tool << " is missing";
    testsupport::IsolatedHome home;
    const std::string dir = home.path();

    TextPagePlan plan;
    plan.language = c.language;
    plan.font = c.font;
    plan.pointSize = c.points;
    plan.dpi = c.dpi;
    plan.columns = c.columns;
    plan.skewDegrees = c.skew;
    plan.noisy = c.noisy;
    plan.bitsPerPixel = c.bits;
    plan.firstWord = c.firstWord;
    TextPage page;
    std::string error;
    const std::string image = dir + (c.bits == 1 ? "/page.tif" : "/page.png");
    ASSERT_TRUE(testsupport::RenderTextPage(plan, image, page, error)) << error;

    Engine engine;
    ASSERT_EQ(engine.load(c.language).status, RecognitionStatus::Ok);
    const RecognitionResult r = engine.recognise(image);
    ASSERT_EQ(r.status, RecognitionStatus::Ok) << r.reason;

    PdfBuildOptions options;
    options.compress = false;
    ASSERT_TRUE(BuildPdf({image}, dir + "/plain.pdf", options, nullptr).written());
    options.pageTexts = {r.text};
    ASSERT_TRUE(BuildPdf({image}, dir + "/ours.pdf", options, nullptr).written());
    const std::string ours = dir + "/ours.pdf";
    std::string report;
    EXPECT_EQ(testsupport::run("qpdf --check " + shellQuote(ours) + " >/dev/null 2>&1"), 0);

    // The text layer's cost.
    const long added = static_cast<long>(testsupport::readFile(ours).size()) -
                       static_cast<long>(testsupport::readFile(dir + "/plain.pdf").size());
    RecordProperty("text_layer_bytes", std::to_string(added));
    EXPECT_LE(added, 4096) << page.words.size() << " words";

    // Tesseract's own PDF of the same image is the floor.
    ASSERT_EQ(testsupport::run("OMP_THREAD_LIMIT=1 tesseract " + shellQuote(image) + " " +
                               shellQuote(dir + "/theirs") + " -l " + c.language +
                               " pdf >/dev/null 2>&1"),
              0);
    const std::vector<std::string> truth = ocrtest::Words(page);
    const std::vector<std::string> ourWords =
        Tokens(testsupport::capture("pdftotext " + shellQuote(ours) + " -"));
    const std::vector<std::string> theirWords =
        Tokens(testsupport::capture("pdftotext " + shellQuote(dir + "/theirs.pdf") + " -"));
    const int ourRight = ocrtest::CommonWords(truth, ourWords);
    const int theirRight = ocrtest::CommonWords(truth, theirWords);
    RecordProperty("words", std::to_string(truth.size()));
    RecordProperty("ours_right", std::to_string(ourRight));
    RecordProperty("theirs_right", std::to_string(theirRight));
    EXPECT_GE(ourRight, theirRight);
    // Every word of the page that readers find in Tesseract's PDF they find in ours too. (On
    // skewed pages pdftotext breaks some of Tesseract's words into pieces; pieces are no words.)
    std::vector<std::string> theirTrueWords;
    {
        std::map<std::string, int> left;
        for (const std::string& w : truth) ++left[w];
        for (const std::string& w : theirWords)
            if (left[w]-- > 0) theirTrueWords.push_back(w);
    }
    EXPECT_EQ(ocrtest::CommonWords(theirTrueWords, ourWords),
              static_cast<int>(theirTrueWords.size()))
        << "a word of Tesseract's PDF is missing from ours";
    if (c.dpi == 300 && !c.noisy && c.skew == 0) {
        EXPECT_GE(ourRight, static_cast<int>(truth.size() * 0.97))
            << ourRight << " of " << truth.size();
    }

    // Each word's box lies on its ink.
    int boxes = 0;
    for (const BoxedWord& w : BoxedWords(ours, page)) {
        const double overlap = ocrtest::BestOverlap(page, w.text, w.box);
        if (overlap == 0) continue;  // a misread word has no ink of its own to compare with
        ++boxes;
        EXPECT_GE(overlap, 0.7) << w.text << " at " << w.box.left << "," << w.box.top;
    }
    EXPECT_GE(boxes, ourRight * 9 / 10);

    // Copying lines: in reading order, and in the order of the page's content.
    ExpectLinesCopied("pdftotext", testsupport::capture("pdftotext " + shellQuote(ours) + " -"),
                      page, *r.text, c.skew == 0);
    // Content order holds lines only while they are level: on a skewed page the end of one line
    // and the start of the next lie at one height.
    if (c.skew == 0)
        ExpectLinesCopied("pdftotext -raw",
                          testsupport::capture("pdftotext -raw " + shellQuote(ours) + " -"), page,
                          *r.text);
    if (HavePdfJs()) ExpectLinesCopied("pdf.js", PdfJsText(ours), page, *r.text, c.skew == 0);

    // Independent readers get the same words.
    if (testsupport::haveTool("mutool")) {
        const auto words = Tokens(testsupport::capture("mutool draw -q -F txt -o - " +
                                                       shellQuote(ours) + " 2>/dev/null"));
        EXPECT_GE(ocrtest::CommonWords(ourWords, words), static_cast<int>(ourWords.size() * 0.99))
            << "mutool";
    }
    const auto gsWords = Tokens(testsupport::capture(
        "gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile=- " + shellQuote(ours)));
    EXPECT_GE(ocrtest::CommonWords(ourWords, gsWords), static_cast<int>(ourWords.size() * 0.99))
        << "Ghostscript";
}

INSTANTIATE_TEST_SUITE_P(Pages, Quality, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

// A page scanned on its side: its text follows the picture, so readers find the words on their
// ink, running along the page as the picture shows them.
class TurnedPageQuality : public testing::TestWithParam<int> {};

TEST_P(TurnedPageQuality, TextFollowsThePicture) {
    for (const char* tool : {"gs", "pdftotext"})
        if (!testsupport::haveTool(tool)) GTEST_SKIP() << tool << " is missing";
    testsupport::IsolatedHome home;
    TextPagePlan plan;
    plan.pageWidthPt = 500;
    plan.pageHeightPt = 300;
    plan.words = 70;
    plan.dpi = 200;
    plan.quarterTurns = GetParam();
    TextPage page;
    std::string error;
    const std::string image = home.path() + "/turned.png";
    ASSERT_TRUE(testsupport::RenderTextPage(plan, image, page, error)) << error;
    Engine engine;
    ASSERT_EQ(engine.load("eng").status, RecognitionStatus::Ok);
    const RecognitionResult r = engine.recognise(image);
    ASSERT_EQ(r.status, RecognitionStatus::Ok) << r.reason;
    PdfBuildOptions options;
    options.compress = false;
    options.pageTexts = {r.text};
    const std::string pdf = home.path() + "/turned.pdf";
    ASSERT_TRUE(BuildPdf({image}, pdf, options, nullptr).written());

    const std::vector<std::string> words =
        Tokens(testsupport::capture("pdftotext " + shellQuote(pdf) + " -"));
    EXPECT_GE(ocrtest::CommonWords(ocrtest::Words(page), words),
              static_cast<int>(page.words.size() * 0.9));
    int boxes = 0;
    for (const BoxedWord& w : BoxedWords(pdf, page)) {
        const double overlap = ocrtest::BestOverlap(page, w.text, w.box);
        if (overlap == 0) continue;
        ++boxes;
        EXPECT_GE(overlap, 0.7) << w.text;
    }
    EXPECT_GE(boxes, static_cast<int>(page.words.size() * 0.9));
    // Copied, the lines read in their own order, words single-spaced.
    ExpectLinesCopied("pdftotext", testsupport::capture("pdftotext " + shellQuote(pdf) + " -"),
                      page, *r.text);
    if (HavePdfJs()) ExpectLinesCopied("pdf.js", PdfJsText(pdf), page, *r.text);
}

INSTANTIATE_TEST_SUITE_P(Pages, TurnedPageQuality, testing::Values(1, 2, 3));

}  // namespace

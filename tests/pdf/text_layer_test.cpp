// The invisible text layer on its own: recognised text made by hand (no engine) laid over real
// pictures, then read back by poppler (pdftotext, -bbox, pdffonts, pdftoppm), pdf.js, mutool and
// Ghostscript. Words land on their boxes, lines read as lines with single spaces, nothing is
// drawn, the pictures go in unchanged, and the font is embedded once per document.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <regex>
#include <set>
#include <sstream>

#include "imaging/codecs.h"
#include "pdf/pagemint.h"
#include "pdf/text_layer.h"
#include "pdf_test_util.h"
#include "platform/log.h"
#include "support/test_support.h"

using namespace vellumo::pdf;
using namespace pdftest;
using testsupport::shellQuote;
using vellumo::ocr::Box;
using vellumo::ocr::Line;
using vellumo::ocr::PageText;
using vellumo::ocr::Word;

namespace {

// A line of words on a baseline at y, each word's box from its left edge and width; letters
// with ascenders reach ascent above the baseline, small letters x, descenders desc below.
Line MakeLine(int y, const std::vector<std::tuple<std::string, int, int>>& words, int block = 0,
              int ascent = 30, int x = 20, int desc = 9) {
    Line line;
    line.block = block;
    for (const auto& [text, left, width] : words) {
        Word w;
        w.text = text;
        const bool tall =
            text.find_first_of("bdfhklt0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string::npos;
        const bool deep = text.find_first_of("gjpqy,") != std::string::npos;
        w.box = Box{left, y - (tall ? ascent : x), left + width, y + (deep ? desc : 0)};
        w.confidence = 90;
        line.words.push_back(w);
    }
    line.box = Box{line.words.front().box.left, y - ascent, line.words.back().box.right, y + desc};
    line.baselineStart = {double(line.box.left), double(y)};
    line.baselineEnd = {double(line.box.right), double(y)};
    return line;
}

PageText SampleText(int width, int height) {
    PageText text;
    text.imageWidth = width;
    text.imageHeight = height;
    text.dpiX = text.dpiY = 300;
    text.languages = "eng";
    text.lines.push_back(
        MakeLine(200, {{"The", 150, 90}, {"quick", 260, 130}, {"brown", 410, 150}}));
    text.lines.push_back(
        MakeLine(260, {{"fox", 150, 70}, {"jumps", 240, 160}, {"over", 420, 110}, {"a", 550, 25}}));
    text.lines.push_back(MakeLine(320, {{"lazy", 150, 100}, {"dog.", 270, 95}}));
    return text;
}

// A white page of the given size and resolution.
void WhitePage(const std::string& path, int width, int height, int dpi, int bits = 8) {
    vellumo::imaging::ImageBuffer page{};
    ASSERT_EQ(vellumo::imaging::AllocateImage(page, width, height, bits), 0);
    for (int y = 0; y < height; ++y)
        std::fill_n(vellumo::imaging::RowPointer(page, y), page.rowBytes, uint8_t{255});
    vellumo::imaging::SetImageDpi(page, dpi, dpi);
    ASSERT_EQ(vellumo::imaging::SavePng(path.c_str(), page, 0), 0);
    vellumo::imaging::FreeImage(page);
}

struct BboxWord {
    std::string text;
    double xMin, yMin, xMax, yMax;  // points, from the top
};

std::vector<BboxWord> BboxWords(const std::string& pdf) {
    std::string html;
    Sh("pdftotext -bbox " + shellQuote(pdf) + " -", &html);
    std::vector<BboxWord> out;
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word);
         it != std::sregex_iterator(); ++it)
        out.push_back({(*it)[5], std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]),
                       std::stod((*it)[4])});
    return out;
}

std::string PdfJsText(const std::string& pdf) {
    std::string out;
    Sh("node " + shellQuote(testsupport::sourceDir() + "/tests/support/pdfjs/pdfjs_text.mjs") +
           " " + shellQuote(pdf) + " 2>&1",
       &out);
    return out;
}

bool HavePdfJs() {
    return testsupport::fileExists(testsupport::sourceDir() +
                                   "/tests/support/pdfjs/node_modules/pdfjs-dist/package.json");
}

// Lines of text with leading and trailing blanks and empty lines dropped.
std::string Normalised(const std::string& text) {
    std::istringstream in(text);
    std::string line, out;
    while (std::getline(in, line)) {
        const size_t a = line.find_first_not_of(" \f\r");
        if (a == std::string::npos) continue;
        const size_t b = line.find_last_not_of(" \f\r");
        out += line.substr(a, b - a + 1) + "\n";
    }
    return out;
}

class TextLayer : public ::testing::Test {
protected:
    void SetUp() override { PGMT_Reset(); }
    void TearDown() override { PGMT_Reset(); }

    // One page: the picture, with text when given.
    void Write(const std::string& out, const std::string& picture,
               std::shared_ptr<const PageText> text) {
        ASSERT_EQ(PGMT_AddImage(picture.c_str()), 0);
        if (text) {
            ASSERT_EQ(PGMT_AddText(text), 0);
        }
        char error[256];
        ASSERT_EQ(PGMT_MakePDF(out.c_str(), kPgmtModeReplace, error, sizeof error), 0) << error;
        std::string report;
        EXPECT_TRUE(QpdfClean(out, &report)) << report;
    }
    std::string f(const std::string& name) const { return dir_.file(name); }
    testsupport::TempDir dir_;
};

}  // namespace

TEST_F(TextLayer, WordsLieOnTheirBoxes) {
    WhitePage(f("page.png"), 1000, 500, 300);
    const auto text = std::make_shared<PageText>(SampleText(1000, 500));
    Write(f("out.pdf"), f("page.png"), text);
    const std::vector<BboxWord> words = BboxWords(f("out.pdf"));
    std::vector<const Word*> expected;
    for (const Line& l : text->lines)
        for (const Word& w : l.words) expected.push_back(&w);
    ASSERT_EQ(words.size(), expected.size());
    const double pt = 72.0 / 300;
    for (size_t i = 0; i < words.size(); ++i) {
        SCOPED_TRACE(words[i].text);
        const Box& b = expected[i]->box;
        EXPECT_EQ(words[i].text, expected[i]->text);
        // Stretched to the word's width exactly (whole pixels)...
        EXPECT_NEAR(words[i].xMin, b.left * pt, 0.3);
        EXPECT_NEAR(words[i].xMax, b.right * pt, 0.3);
        // ...and as high as its letters: tall words reach the ascender, small ones the x height,
        // words with descenders reach below the baseline.
        const double top = b.top * pt, bottom = b.bottom * pt;
        const double inter = std::min(bottom, words[i].yMax) - std::max(top, words[i].yMin);
        const double uni = std::max(bottom, words[i].yMax) - std::min(top, words[i].yMin);
        EXPECT_GT(inter / uni, 0.85)
            << words[i].yMin << ".." << words[i].yMax << " vs " << top << ".." << bottom;
    }
}

TEST_F(TextLayer, LinesReadAsLinesWithSingleSpaces) {
    WhitePage(f("page.png"), 1000, 500, 300);
    Write(f("out.pdf"), f("page.png"), std::make_shared<PageText>(SampleText(1000, 500)));
    const std::string lines = "The quick brown\nfox jumps over a\nlazy dog.\n";
    std::string out;
    Sh("pdftotext " + shellQuote(f("out.pdf")) + " -", &out);
    EXPECT_EQ(Normalised(out), lines);
    Sh("pdftotext -raw " + shellQuote(f("out.pdf")) + " -", &out);
    EXPECT_EQ(Normalised(out), lines);
    if (HavePdfJs()) {
        EXPECT_EQ(Normalised(PdfJsText(f("out.pdf"))), lines);
    }
    Sh("mutool draw -q -F txt -o - " + shellQuote(f("out.pdf")) + " 2>/dev/null", &out);
    EXPECT_EQ(Normalised(out), lines);
    Sh("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile=- " +
           shellQuote(f("out.pdf")) + " 2>&1",
       &out);
    EXPECT_EQ(Normalised(out), lines);
}

TEST_F(TextLayer, ColumnsStayInReadingOrder) {
    WhitePage(f("page.png"), 1400, 500, 300);
    PageText text;
    text.imageWidth = 1400;
    text.imageHeight = 500;
    // The left column's two lines, then the right column's, side by side on the page.
    text.lines.push_back(MakeLine(200, {{"left", 100, 90}, {"one", 210, 80}}, 0));
    text.lines.push_back(MakeLine(260, {{"left", 100, 90}, {"two", 210, 80}}, 0));
    text.lines.push_back(MakeLine(200, {{"right", 800, 110}, {"one", 930, 80}}, 1));
    text.lines.push_back(MakeLine(260, {{"right", 800, 110}, {"two", 930, 80}}, 1));
    Write(f("out.pdf"), f("page.png"), std::make_shared<PageText>(text));
    const std::string order = "left one\nleft two\nright one\nright two\n";
    std::string out;
    Sh("pdftotext -raw " + shellQuote(f("out.pdf")) + " -", &out);
    EXPECT_EQ(Normalised(out), order);
    Sh("pdftotext " + shellQuote(f("out.pdf")) + " -", &out);
    EXPECT_EQ(Normalised(out), order);
    if (HavePdfJs()) {
        EXPECT_EQ(Normalised(PdfJsText(f("out.pdf"))), order);
    }
}

TEST_F(TextLayer, NothingIsDrawnAndThePictureGoesInUnchanged) {
    // A photograph-like JPEG goes in as its own bytes; the text changes no pixel of the page.
    MakeColourImage(f("photo.jpg"), 1000, 500, 300);
    Write(f("plain.pdf"), f("photo.jpg"), nullptr);
    PGMT_Reset();
    Write(f("text.pdf"), f("photo.jpg"), std::make_shared<PageText>(SampleText(1000, 500)));
    EXPECT_EQ(DifferentPixels(RenderPoppler(f("plain.pdf"), 1, 100, false, f("p")),
                              RenderPoppler(f("text.pdf"), 1, 100, false, f("t"))),
              0);
    std::string a, b;
    Sh("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r100 -sOutputFile=" +
           shellQuote(f("gp.png")) + " " + shellQuote(f("plain.pdf")) + " 2>&1",
       &a);
    Sh("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r100 -sOutputFile=" +
           shellQuote(f("gt.png")) + " " + shellQuote(f("text.pdf")) + " 2>&1",
       &b);
    EXPECT_EQ(b, "") << "Ghostscript has a complaint about the text layer";
    EXPECT_EQ(DifferentPixels(f("gp.png"), f("gt.png")), 0);
    Sh("mutool draw -q -o " + shellQuote(f("mt.png")) + " -r 100 " + shellQuote(f("text.pdf")) +
           " 2>&1 | grep -v ICC",
       &b);
    EXPECT_EQ(b, "") << "mutool has a complaint about the text layer";
    // The JPEG's bytes, as pdfimages takes them out of each file.
    Sh("pdfimages -j " + shellQuote(f("plain.pdf")) + " " + shellQuote(f("a")));
    Sh("pdfimages -j " + shellQuote(f("text.pdf")) + " " + shellQuote(f("b")));
    EXPECT_EQ(testsupport::readFile(f("a-000.jpg")), testsupport::readFile(f("photo.jpg")));
    EXPECT_EQ(testsupport::readFile(f("b-000.jpg")), testsupport::readFile(f("photo.jpg")));
}

TEST_F(TextLayer, FontIsEmbeddedOnceWithItsUnicodeMap) {
    WhitePage(f("page.png"), 1000, 500, 300);
    const auto text = std::make_shared<PageText>(SampleText(1000, 500));
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(PGMT_AddImage(f("page.png").c_str()), 0);
        ASSERT_EQ(PGMT_AddText(text), 0);
    }
    char error[256];
    ASSERT_EQ(PGMT_MakePDF(f("five.pdf").c_str(), kPgmtModeReplace, error, sizeof error), 0);
    std::string fonts;
    Sh("pdffonts " + shellQuote(f("five.pdf")), &fonts);
    std::istringstream in(fonts);
    std::string line;
    std::set<std::string> objects;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.rfind("VGlyphless", 0) != 0) continue;
        ++rows;
        EXPECT_NE(line.find("CID TrueType"), std::string::npos) << line;
        EXPECT_NE(line.find("Identity-H"), std::string::npos) << line;
        EXPECT_NE(line.find("yes no  yes"), std::string::npos)
            << "embedded, with Unicode: " << line;
        objects.insert(line.substr(line.size() - 10));
    }
    // The same few font objects serve every page.
    EXPECT_GE(rows, 1);
    EXPECT_LE(rows, 3);
    EXPECT_EQ(objects.size(), static_cast<size_t>(rows));
    std::string text5;
    Sh("pdftotext " + shellQuote(f("five.pdf")) + " -", &text5);
    size_t count = 0;
    for (size_t at = 0; (at = text5.find("lazy dog.", at)) != std::string::npos; ++at) ++count;
    EXPECT_EQ(count, 5u);
}

TEST_F(TextLayer, EveryKindOfCharacterComesBack) {
    WhitePage(f("page.png"), 1400, 400, 300);
    PageText text;
    text.imageWidth = 1400;
    text.imageHeight = 400;
    // Characters from several code blocks, the PDF's string delimiters, and one beyond the
    // first plane (it becomes the replacement character).
    text.lines.push_back(MakeLine(150, {{"Grüße,", 50, 150},
                                        {"(1)", 220, 60},
                                        {"a\\b", 300, 60},
                                        {"\xE2\x82\xAC"
                                         "5",
                                         380, 60},
                                        {"\xD0\x9F\xD1\x80\xD0\xB8", 460, 100},
                                        {"\xE6\x97\xA5\xE6\x9C\xAC", 580, 100},
                                        {"\xF0\x9F\x98\x80", 700, 40}}));
    Write(f("out.pdf"), f("page.png"), std::make_shared<PageText>(text));
    std::string out;
    Sh("pdftotext " + shellQuote(f("out.pdf")) + " -", &out);
    EXPECT_EQ(Normalised(out),
              "Grüße, (1) a\\b \xE2\x82\xAC"
              "5 \xD0\x9F\xD1\x80\xD0\xB8 "
              "\xE6\x97\xA5\xE6\x9C\xAC \xEF\xBF\xBD\n");
}

TEST_F(TextLayer, TurnedLinesFollowThePicture) {
    // A page whose text runs up the page (turned a quarter counter-clockwise): the words' boxes
    // are tall and narrow, and readers get the line in its reading order.
    WhitePage(f("page.png"), 500, 1000, 300);
    PageText text;
    text.imageWidth = 500;
    text.imageHeight = 1000;
    Line line;
    line.turn = 1;
    const std::pair<const char*, Box> words[] = {{"reads", {220, 700, 250, 850}},
                                                 {"upwards", {220, 450, 258, 680}}};
    for (const auto& [t, b] : words) line.words.push_back(Word{t, b, 90});
    line.box = Box{220, 450, 258, 850};
    line.baselineStart = {250, 850};
    line.baselineEnd = {250, 450};
    text.lines.push_back(line);
    Write(f("out.pdf"), f("page.png"), std::make_shared<PageText>(text));
    std::string out;
    Sh("pdftotext " + shellQuote(f("out.pdf")) + " -", &out);
    EXPECT_EQ(Normalised(out), "reads upwards\n");
    const std::vector<BboxWord> boxes = BboxWords(f("out.pdf"));
    ASSERT_EQ(boxes.size(), 2u);
    const double pt = 72.0 / 300;
    EXPECT_NEAR(boxes[0].yMin, 700 * pt, 1);
    EXPECT_NEAR(boxes[0].yMax, 850 * pt, 1);
    EXPECT_NEAR(boxes[1].yMin, 450 * pt, 1);
    EXPECT_NEAR(boxes[1].yMax, 680 * pt, 1);
    for (const BboxWord& b : boxes) {
        EXPECT_GT(b.xMin, 200 * pt);
        EXPECT_LT(b.xMax, 270 * pt);
    }
}

TEST_F(TextLayer, TextOfAnotherPictureIsLeftOut) {
    testsupport::IsolatedHome home;
    vellumo::platform::loggingOn = 1;
    vellumo::platform::logPath = home.path() + "/log.mdm";
    WhitePage(f("page.png"), 1000, 500, 300);
    // Text recognised on the page before it was cropped, say.
    Write(f("out.pdf"), f("page.png"), std::make_shared<PageText>(SampleText(1200, 600)));
    vellumo::platform::loggingOn = 0;
    std::string out;
    Sh("pdftotext " + shellQuote(f("out.pdf")) + " -", &out);
    EXPECT_EQ(Normalised(out), "");
    const auto log = testsupport::logMessages(home.path() + "/log.mdm");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(),
              "Page 1: the recognised text is of a 1200 x 600 picture, the page's is 1000 x 500; "
              "left out");
    EXPECT_NE(PGMT_AddText(nullptr), 0);
}

TEST_F(TextLayer, CostsAFewBytesPerWord) {
    WhitePage(f("page.png"), 2480, 3508, 300);
    // A dense page: 40 lines of 9 words.
    PageText text;
    text.imageWidth = 2480;
    text.imageHeight = 3508;
    const char* words[] = {"every", "office", "keeps", "a",     "drawer",
                           "of",    "paper",  "that",  "nobody"};
    for (int l = 0; l < 40; ++l) {
        std::vector<std::tuple<std::string, int, int>> line;
        int x = 250;
        for (const char* w : words) {
            const int width = 22 * static_cast<int>(std::strlen(w));
            line.emplace_back(w, x, width);
            x += width + 12;
        }
        text.lines.push_back(MakeLine(300 + 75 * l, line));
    }
    Write(f("plain.pdf"), f("page.png"), nullptr);
    PGMT_Reset();
    Write(f("text.pdf"), f("page.png"), std::make_shared<PageText>(text));
    const long added = static_cast<long>(testsupport::readFile(f("text.pdf")).size()) -
                       static_cast<long>(testsupport::readFile(f("plain.pdf")).size());
    // 360 words with the font: well under what Tesseract's own PDFs spend.
    EXPECT_LT(added, 4096);
    RecordProperty("bytes_for_360_words", std::to_string(added));
}

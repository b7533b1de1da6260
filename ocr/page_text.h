// The text recognised on one page: words with their boxes and confidences, grouped into lines
// with baselines, in reading order. Plain data with no tie to the recognition engine, so the PDF
// writer can take it as input and the page list can keep it beside a page.
#pragma once

#include <string>
#include <vector>

namespace vellumo::ocr {

// A rectangle of picture pixels: x to the right, y down from the top-left corner; right and
// bottom lie one past the last pixel.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
};

struct Point {
    double x = 0;
    double y = 0;
};

struct Word {
    std::string text;      // UTF-8, no spaces
    Box box;               // the word's ink
    float confidence = 0;  // 0 to 100
};

// One line of text. Its words read in order from the baseline's start to its end.
struct Line {
    // How the line lies in the picture: quarter turns counter-clockwise from upright text that
    // reads left to right (1: reads bottom to top, 2: upside down, 3: reads top to bottom).
    int turn = 0;
    Box box;
    // Two points of the baseline, in reading direction, in picture pixels. A slightly skewed
    // page has a slightly sloping baseline.
    Point baselineStart;
    Point baselineEnd;
    int block = 0;  // blocks (columns, paragraphs set apart) count up in reading order
    std::vector<Word> words;
};

struct PageText {
    // The picture the text was recognised on: the page file as the program shows it.
    int imageWidth = 0;
    int imageHeight = 0;
    double dpiX = 0;  // the resolution recognition assumed
    double dpiY = 0;
    std::string languages;    // e.g. "eng+deu"
    std::vector<Line> lines;  // reading order: each block's lines, block after block

    int wordCount() const;
    // The words of each line joined by single spaces, lines ended by '\n', a blank line between
    // blocks: what a reader should get when the page's text is copied.
    std::string plainText() const;
};

}  // namespace vellumo::ocr

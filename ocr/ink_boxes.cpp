#include "ocr/ink_boxes.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace vellumo::ocr {

namespace {

// The marks of the page in a coarse grid, so a box finds the marks near it quickly.
class MarkIndex {
public:
    MarkIndex(Boxa* marks, int width, int height) {
        const int n = boxaGetCount(marks);
        boxes_.reserve(n);
        columns_ = width / kCell + 1;
        cells_.resize(static_cast<size_t>(columns_) * (height / kCell + 1));
        for (int i = 0; i < n; ++i) {
            int x = 0, y = 0, w = 0, h = 0;
            boxaGetBoxGeometry(marks, i, &x, &y, &w, &h);
            boxes_.push_back(Box{x, y, x + w, y + h});
            for (int cy = y / kCell; cy <= (y + h - 1) / kCell; ++cy)
                for (int cx = x / kCell; cx <= (x + w - 1) / kCell; ++cx)
                    cells_[static_cast<size_t>(cy) * columns_ + cx].push_back(i);
        }
        seen_.assign(boxes_.size(), -1);
    }

    // Calls f for every mark whose box meets b, once each.
    template <typename F>
    void near(const Box& b, int query, F f) {
        const int rows = static_cast<int>(cells_.size()) / columns_;
        for (int cy = std::max(0, b.top / kCell); cy <= std::min(rows - 1, (b.bottom - 1) / kCell);
             ++cy)
            for (int cx = std::max(0, b.left / kCell);
                 cx <= std::min(columns_ - 1, (b.right - 1) / kCell); ++cx)
                for (int i : cells_[static_cast<size_t>(cy) * columns_ + cx]) {
                    if (seen_[i] == query) continue;
                    seen_[i] = query;
                    f(boxes_[i]);
                }
    }

private:
    static constexpr int kCell = 64;
    int columns_ = 1;
    std::vector<Box> boxes_;
    std::vector<std::vector<int>> cells_;
    std::vector<int> seen_;
};

int Overlap(const Box& a, const Box& b) {
    const int w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// Which small separate marks a word's letters have: dots and accents above (i, j, letters beyond
// ASCII, quotes, the tops of ! and ?), dots and commas below (. , ; : ! ? and the like).
struct Marks {
    bool above = false;
    bool below = false;
};

Marks MarksOf(const std::string& text) {
    Marks m;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80 || c == 'i' || c == 'j' || c == '\'' || c == '"' || c == '`' || c == '^' ||
            c == ':' || c == ';' || c == '%' || c == '*')
            m.above = true;
        if (c >= 0x80 || c == '.' || c == ',' || c == ';' || c == ':' || c == '!' || c == '?' ||
            c == '_' || c == '%')
            m.below = true;
    }
    return m;
}

}  // namespace

void FitBoxesToInk(Pix* binary, PageText& text) {
    if (!binary || pixGetDepth(binary) != 1 || pixGetWidth(binary) != text.imageWidth ||
        pixGetHeight(binary) != text.imageHeight)
        return;
    Boxa* marks = pixConnCompBB(binary, 8);
    if (!marks) return;
    MarkIndex index(marks, text.imageWidth, text.imageHeight);
    boxaDestroy(&marks);
    int query = 0;
    for (Line& line : text.lines) {
        // Lines lying on their side keep the engine's boxes.
        if (line.turn != 0 || line.words.empty()) continue;
        const double x0 = line.baselineStart.x, y0 = line.baselineStart.y;
        const double dx = line.baselineEnd.x - x0;
        const double slope = std::fabs(dx) > 1e-6 ? (line.baselineEnd.y - y0) / dx : 0;
        auto baseline = [&](double x) { return y0 + slope * (x - x0); };
        // How far the line's letters reach above the baseline: its ascender height.
        std::vector<double> heights;
        for (const Word& w : line.words)
            heights.push_back(baseline((w.box.left + w.box.right) / 2.0) - w.box.top);
        std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
        const double ascender = std::max(4.0, heights[heights.size() / 2]);

        // The line's marks, each given to the word it lies in, else (a letter the engine's box
        // left out) to the nearest word.
        Box band = line.box;
        band.top -= static_cast<int>(ascender);
        band.bottom += static_cast<int>(ascender);
        const size_t n = line.words.size();
        std::vector<Box> core(n, Box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN});
        std::vector<std::vector<Box>> small(n);
        index.near(band, query++, [&](const Box& m) {
            const double cx = (m.left + m.right) / 2.0, cy = (m.top + m.bottom) / 2.0;
            // Marks of this line only: a descender of the line above that reaches into the
            // word's box (as on a skewed page) is not part of the word.
            const double base = baseline(cx);
            if (cy < base - 1.1 * ascender || cy > base + 0.45 * ascender) return;
            if (m.height() > 1.6 * ascender) return;  // a rule or a picture
            size_t owner = n;
            double nearest = 0.5 * ascender;
            for (size_t i = 0; i < n; ++i) {
                const Box& b = line.words[i].box;
                if ((cx >= b.left && cx < b.right) || Overlap(m, b) * 4 >= m.width() * m.height()) {
                    owner = i;
                    break;
                }
                const double distance = std::max(b.left - m.right, m.left - b.right);
                if (distance < nearest) {
                    nearest = distance;
                    owner = i;
                }
            }
            if (owner == n || m.width() > line.words[owner].box.width() + ascender) return;
            if (m.height() >= 0.35 * ascender) {
                Box& c = core[owner];
                c = Box{std::min(c.left, m.left), std::min(c.top, m.top),
                        std::max(c.right, m.right), std::max(c.bottom, m.bottom)};
            } else {
                small[owner].push_back(m);
            }
        });

        std::vector<Box> fitted;
        for (size_t i = 0; i < n; ++i) {
            const Word& word = line.words[i];
            if (core[i].empty()) {
                fitted.push_back(word.box);  // no letters found: the engine's box stands
                continue;
            }
            // Dots, accents and punctuation belong to the word when its text has such marks and
            // they sit where those marks do: over its letters or just after them. Specks do not.
            const Marks expected = MarksOf(word.text);
            Box grown = core[i];
            for (const Box& m : small[i]) {
                const double cx = (m.left + m.right) / 2.0, cy = (m.top + m.bottom) / 2.0;
                const bool high = cy < baseline(cx) - 0.55 * ascender;
                if (!(high ? expected.above : expected.below)) continue;
                // Dots and accents stand over the letters; full stops and commas follow them,
                // in a typewriter's face a cell away; low quotes may open a word.
                const bool beside = high ? m.left >= core[i].left - 0.1 * ascender &&
                                               m.right <= core[i].right + 0.1 * ascender
                                         : m.left >= core[i].left - 0.3 * ascender &&
                                               m.right <= core[i].right + 1.0 * ascender;
                const bool level = m.top >= core[i].top - 0.35 * ascender &&
                                   m.bottom <= core[i].bottom + 0.3 * ascender;
                if (beside && level)
                    grown = Box{std::min(grown.left, m.left), std::min(grown.top, m.top),
                                std::max(grown.right, m.right), std::max(grown.bottom, m.bottom)};
            }
            fitted.push_back(grown);
        }
        // A word never grows over its neighbours' own boxes.
        for (size_t i = 0; i < fitted.size(); ++i) {
            if (i > 0) fitted[i].left = std::max(fitted[i].left, line.words[i - 1].box.right);
            if (i + 1 < fitted.size())
                fitted[i].right = std::min(fitted[i].right, line.words[i + 1].box.left);
            if (!fitted[i].empty()) line.words[i].box = fitted[i];
        }
    }
}

}  // namespace vellumo::ocr

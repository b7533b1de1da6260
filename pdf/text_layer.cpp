#include "pdf/text_layer.h"

#include <algorithm>
#include <bitset>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "pdf/glyphless_font.h"
#include "pdf/pdf_writer.h"

namespace vellumo::pdf {

namespace {

using ocr::Line;
using ocr::PageText;
using ocr::Point;
using ocr::Word;

constexpr double kAscent = kGlyphlessAscent / 1000.0;
constexpr double kAdvance = kGlyphlessWidth / 1000.0;
// The least gap between two words' boxes, in font sizes: poppler's content-order extraction
// takes anything under 0.15 for no gap at all.
constexpr double kMinGap = 0.17;
// Horizontal scaling is kept within what readers handle well.
constexpr double kMinScale = 1, kMaxScale = 10000;

// A number for the content stream: at most `decimals` decimals, no trailing zeros.
std::string Num(double v, int decimals = 1) {
    char text[48];
    const auto end =
        std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, decimals).ptr;
    std::string s(text, end);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

// Positions, sizes and scales go in whole units (pixels of the picture, percent): finer steps
// cost bytes on every word and move nothing a reader would notice.
double Round(double v) {
    return std::round(v);
}

// Appends one 2-byte code to a literal string: the bytes as they are, but for the three that
// delimit or escape, and carriage return, which readers would turn into a line feed.
void AppendCode(std::string& out, uint32_t code) {
    for (const auto byte : {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)}) {
        if (byte == '(' || byte == ')' || byte == '\\') {
            out += '\\';
            out += byte;
        } else if (byte == '\r') {
            out += "\\r";
        } else {
            out += byte;
        }
    }
}

// The word as a literal string of 2-byte codes, the UTF-16 code units of its characters.
// Characters beyond the first plane and broken UTF-8 become U+FFFD. The high bytes used are
// marked in usedHighBytes (for the font's ToUnicode map).
std::string Codes(const std::string& utf8, int& count, std::bitset<256>& usedHighBytes) {
    std::string out = "(";
    count = 0;
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        uint32_t cp = 0xFFFD;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
        }
        if (len > 1) {
            bool ok = i + len <= utf8.size();
            uint32_t v = c & (0x7F >> len);
            for (size_t k = 1; ok && k < len; ++k) {
                const auto cc = static_cast<unsigned char>(utf8[i + k]);
                ok = (cc & 0xC0) == 0x80;
                v = (v << 6) | (cc & 0x3F);
            }
            cp = ok && v <= 0xFFFF && (v < 0xD800 || v > 0xDFFF) ? v : 0xFFFD;
            if (!ok) len = 1;
        }
        AppendCode(out, cp);
        usedHighBytes.set(cp >> 8);
        ++count;
        i += len;
    }
    return out + ")";
}

// A line's own frame: picture pixels with y up, turned back by the line's quarter turns, with
// the baseline's start as origin. In it every line is upright text running to the right along u;
// v is the height. A slightly skewed line keeps a sloping baseline: its words are laid level,
// each on the baseline where it stands, because readers take rotated text for a line per word.
class LineFrame {
public:
    LineFrame(const Line& line, double pictureHeight) : turn_(line.turn), height_(pictureHeight) {
        origin_ = quarter(line.baselineStart.x, line.baselineStart.y);
        const Point end = quarter(line.baselineEnd.x, line.baselineEnd.y);
        if (end.x - origin_.x > 1e-6) slope_ = (end.y - origin_.y) / (end.x - origin_.x);
        if (!(std::fabs(slope_) < 0.5)) slope_ = 0;  // no baseline to speak of
    }

    Point toLine(double x, double yDown) const {
        const Point p = quarter(x, yDown);
        return {p.x - origin_.x, p.y - origin_.y};
    }
    double baselineAt(double u) const { return slope_ * u; }

    // The text matrix that puts upright text at (u, v) of the line onto the page.
    std::string matrixAt(double u, double v) const {
        const int c = turn_ == 0 ? 1 : turn_ == 2 ? -1 : 0;
        const int s = turn_ == 1 ? 1 : turn_ == 3 ? -1 : 0;
        const Point q{origin_.x + u, origin_.y + v};
        const Point page{c * q.x - s * q.y, s * q.x + c * q.y};
        return std::to_string(c) + " " + std::to_string(s) + " " + std::to_string(-s) + " " +
               std::to_string(c) + " " + Num(Round(page.x)) + " " + Num(Round(page.y)) + " Tm ";
    }

private:
    // Page pixels (y down) into the quarter-turned frame (y up).
    Point quarter(double x, double yDown) const {
        const double y = height_ - yDown;
        switch (turn_) {
            case 1:
                return {y, -x};
            case 2:
                return {-x, -y};
            case 3:
                return {-y, x};
            default:
                return {x, y};
        }
    }

    int turn_;
    double height_;
    Point origin_;
    double slope_ = 0;
};

struct Span {
    double left = 0, right = 0;  // along the line
    double bottom = 0, top = 0;  // above the word's baseline
};

// The word's ink in the line's frame, its heights taken from the baseline where the word
// stands (baseline is that height).
Span InFrame(const LineFrame& f, const ocr::Box& b, double& baseline) {
    const Point p = f.toLine(b.left, b.top), q = f.toLine(b.right, b.bottom);
    Span s{std::min(p.x, q.x), std::max(p.x, q.x), std::min(p.y, q.y), std::max(p.y, q.y)};
    baseline = f.baselineAt((s.left + s.right) / 2);
    s.bottom -= baseline;
    s.top -= baseline;
    return s;
}

double OverlapOfSpans(double lo1, double hi1, double lo2, double hi2) {
    const double inter = std::min(hi1, hi2) - std::max(lo1, lo2);
    if (inter <= 0) return 0;
    return inter / (std::max(hi1, hi2) - std::min(lo1, lo2));
}

// The font size a line's letters with ascenders give it: most lines have a few, so the height
// that a quarter of the words reach stands for them, untroubled by a stray mark above one word.
double OwnSize(const std::vector<Span>& words) {
    std::vector<double> above;
    for (const Span& w : words) above.push_back(w.top);
    if (above.empty()) return 0;
    std::sort(above.begin(), above.end(), std::greater<double>());
    return above[above.size() / 4] / kAscent;
}

// One size per line, the same for the lines of a block: readers put words of one size on one
// line, and lines of one size in one paragraph. A line that is clearly larger than its block
// (a heading run into it) keeps its own.
std::vector<double> LineSizes(const PageText& text, const std::vector<std::vector<Span>>& spans) {
    std::vector<double> own(text.lines.size());
    std::map<int, std::vector<double>> byBlock, fullByBlock;
    for (size_t i = 0; i < text.lines.size(); ++i) {
        own[i] = OwnSize(spans[i]);
        byBlock[text.lines[i].block].push_back(own[i]);
        if (text.lines[i].words.size() >= 3) fullByBlock[text.lines[i].block].push_back(own[i]);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::vector<double> sizes(text.lines.size());
    for (size_t i = 0; i < text.lines.size(); ++i) {
        const int block = text.lines[i].block;
        const double shared =
            median(fullByBlock.count(block) ? fullByBlock[block] : byBlock[block]);
        const double size = own[i] <= 1.15 * shared ? shared : own[i];
        sizes[i] = std::max(1.0, Round(size));
    }
    return sizes;
}

// The font variant whose declared extent covers the word's ink best at the line's size.
int FittingVariant(const Span& ink, double size) {
    int best = 0;
    double bestOverlap = -1;
    for (int v = 0; v < kGlyphlessVariantCount; ++v) {
        const double top = kGlyphlessVariants[v].ascent / 1000.0 * size;
        const double bottom = kGlyphlessVariants[v].descent / 1000.0 * size;
        const double overlap = OverlapOfSpans(bottom, top, ink.bottom, ink.top);
        if (overlap > bestOverlap + 1e-9) {
            bestOverlap = overlap;
            best = v;
        }
    }
    return best;
}

class Writer {
public:
    explicit Writer(const std::string& fontPrefix) : fontPrefix_(fontPrefix) {}

    // Each word on the line's baseline, stretched to its ink; a real space between words that
    // spans the gap to the next one exactly, so readers that follow the pen find neither a
    // second space nor an overlap; the next line on a baseline of its own.
    void line(const Line& line, const LineFrame& frame, const std::vector<Span>& spans,
              const std::vector<double>& baselines, double size) {
        bool started = false;
        double at = 0, atBase = 0;
        for (size_t i = 0; i < line.words.size(); ++i) {
            int count = 0;
            const std::string codes = Codes(line.words[i].text, count, use_.highBytes);
            if (count == 0) continue;
            const Span& ink = spans[i];
            const double start = Round(ink.left), base = Round(baselines[i]);
            if (!started) {
                out_ += frame.matrixAt(start, base);
                started = true;
            } else {
                out_ += Num(start - at) + " " + Num(base - atBase) + " Td ";
            }
            at = start;
            atBase = base;
            const int variant = FittingVariant(ink, size);
            if (size != size_ || variant != variant_) {
                out_ += fontPrefix_ + std::to_string(variant) + " " + Num(size) + " Tf ";
                size_ = size;
                variant_ = variant;
                use_.variants.set(variant);
            }
            double width = std::max(ink.right - start, 1.0);
            const double next = i + 1 < line.words.size() ? Round(spans[i + 1].left) : 0;
            if (i + 1 < line.words.size()) {
                // Readers that find spaces by the gaps between words, not by the space
                // characters, need a gap of some size: a word whose ink nearly touches the
                // next one ends a little short.
                const double shortfall = kMinGap * size - (next - start - width);
                if (shortfall > 0) width = std::max(width - shortfall, 0.85 * width);
            }
            setScale(100 * width / (count * kAdvance * size));
            out_ += codes + "Tj ";
            if (i + 1 < line.words.size()) {
                const double gap = std::max(next - start - width, 0.0);
                setScale(100 * gap / (kAdvance * size));
                out_ += std::string("(\0 )Tj ", 7);
                use_.highBytes.set(0);
            }
            out_.back() = '\n';
        }
    }

    const TextLayerUse& use() const { return use_; }

    std::string finish() {
        if (out_.empty()) return {};
        return "BT\n3 Tr\n" + out_ + "ET\nQ\n";
    }

private:
    void setScale(double percent) {
        const double scale = std::clamp(Round(percent), kMinScale, kMaxScale);
        if (scale != scale_) {
            out_ += Num(scale) + " Tz ";
            scale_ = scale;
        }
    }

    const std::string fontPrefix_;
    std::string out_;
    TextLayerUse use_;
    double size_ = -1;
    int variant_ = -1;
    double scale_ = 100;
};

}  // namespace

std::shared_ptr<const PreparedTextLayer> MakeTextLayer(const PageText& text, int level) {
    if (text.imageWidth <= 0 || text.imageHeight <= 0 || text.wordCount() == 0) return nullptr;
    std::vector<LineFrame> frames;
    std::vector<std::vector<Span>> spans;
    std::vector<std::vector<double>> baselines;
    for (const Line& line : text.lines) {
        frames.emplace_back(line, text.imageHeight);
        spans.emplace_back();
        baselines.emplace_back();
        for (const Word& w : line.words) {
            double base = 0;
            spans.back().push_back(InFrame(frames.back(), w.box, base));
            baselines.back().push_back(base);
        }
    }
    const std::vector<double> sizes = LineSizes(text, spans);
    Writer writer(kTextFontPrefix);
    for (size_t i = 0; i < text.lines.size(); ++i)
        writer.line(text.lines[i], frames[i], spans[i], baselines[i], sizes[i]);
    const std::string body = writer.finish();
    if (body.empty()) return nullptr;
    auto layer = std::make_shared<PreparedTextLayer>();
    layer->imageWidth = text.imageWidth;
    layer->imageHeight = text.imageHeight;
    layer->body = Deflate(body, level);
    layer->use = writer.use();
    if (layer->body.empty()) return nullptr;
    return layer;
}

namespace {

// Prepared layers by the text they were made from. The weak pointer tells a living text from a
// new one that happens to have the address of a dead one.
struct Prepared {
    std::weak_ptr<const PageText> text;
    std::shared_ptr<const PreparedTextLayer> layer;
};
std::mutex preparedMutex;
std::unordered_map<const PageText*, Prepared> prepared;

}  // namespace

void PrepareTextLayer(const std::shared_ptr<const PageText>& text) {
    if (!text) return;
    std::shared_ptr<const PreparedTextLayer> layer = MakeTextLayer(*text, 9);
    std::lock_guard<std::mutex> lock(preparedMutex);
    for (auto it = prepared.begin(); it != prepared.end();)
        it = it->second.text.expired() ? prepared.erase(it) : std::next(it);
    prepared[text.get()] = Prepared{text, std::move(layer)};
}

std::shared_ptr<const PreparedTextLayer> TextLayerFor(const std::shared_ptr<const PageText>& text) {
    if (!text) return nullptr;
    {
        std::lock_guard<std::mutex> lock(preparedMutex);
        const auto it = prepared.find(text.get());
        if (it != prepared.end() && it->second.text.lock() == text) return it->second.layer;
    }
    return MakeTextLayer(*text);
}

std::string TextLayerMatrix(int imageWidth, int imageHeight, const PicturePlacement& placement) {
    const double w = imageWidth, h = imageHeight;
    std::string out = "q";
    for (double v : {placement.a / w, placement.b / w, placement.c / h, placement.d / h,
                     placement.e, placement.f}) {
        out += ' ';
        out += Num(v, 6);
    }
    out += " cm\n";
    return out;
}

}  // namespace vellumo::pdf

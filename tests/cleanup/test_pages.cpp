#include "tests/cleanup/test_pages.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "imaging/codecs.h"

namespace vellumo::cleanup::testpages {

using namespace vellumo::imaging;

namespace {

constexpr double kPageWidth = 595.28;  // A4 in points
constexpr double kPageHeight = 841.89;
constexpr double kPointsPerMm = 72 / 25.4;
// Pages are rendered at about this resolution and averaged down to the one asked for.
constexpr int kRenderDpi = 600;

const char* const kWords[] = {
    "the",        "of",           "and",        "to",          "in",          "is",
    "that",       "for",          "it",         "as",          "was",         "with",
    "be",         "by",           "on",         "not",         "he",          "this",
    "are",        "or",           "his",        "from",        "at",          "which",
    "but",        "have",         "an",         "had",         "they",        "you",
    "were",       "their",        "one",        "all",         "we",          "can",
    "her",        "has",          "there",      "been",        "if",          "more",
    "when",       "will",         "would",      "who",         "so",          "no",
    "paper",      "scanner",      "page",       "document",    "letter",      "invoice",
    "contract",   "agreement",    "delivery",   "payment",     "account",     "number",
    "customer",   "service",      "office",     "meeting",     "report",      "question",
    "answer",     "quarterly",    "results",    "market",      "growth",      "company",
    "between",    "through",      "without",    "however",     "therefore",   "important",
    "following",  "receipt",      "address",    "telephone",   "weather",     "morning",
    "evening",    "history",      "village",    "garden",      "river",       "mountain",
    "library",    "station",      "journey",    "window",      "kitchen",     "children",
    "teacher",    "student",      "science",    "method",      "problem",     "example",
    "system",     "process",      "together",   "because",     "another",     "several",
    "against",    "during",       "before",     "after",       "under",       "above",
    "always",     "never",        "often",      "perhaps",     "remember",    "understand",
    "consider",   "continue",     "provide",    "include",     "require",     "describe",
    "according",  "available",    "particular", "information", "development", "government",
    "experience", "relationship", "community",  "everything",  "Monday",      "January",
    "London",     "Berlin",       "Vienna",     "Article",     "Section",     "Total",
    "Dear",       "Sincerely",    "Regards",    "Madam",       "Sir",         "1998",
    "2024",       "42",           "17.50",      "3,200",       "see",         "note",
};
constexpr int kWordCount = sizeof kWords / sizeof kWords[0];

const char* const kFonts[] = {"Times-Roman",
                              "Helvetica",
                              "Courier",
                              "Palatino-Roman",
                              "NewCenturySchlbk-Roman",
                              "Bookman-Light",
                              "Helvetica-Narrow",
                              "AvantGarde-Book"};
const char* const kBoldFonts[] = {"Times-Bold", "Helvetica-Bold"};

// Shared procedures: F sets a font, w shows a word with wrapping (and a second column),
// para starts a paragraph.
const char kProcedures[] = R"PS(
/F { exch findfont exch scalefont setfont } def
/nl {
  /y y lead sub def
  y bm lt {
    col 0 eq cols 2 eq and { /col 1 def /lm lm2 def /rm rm2 def /y y0 def } { /done true def } ifelse
  } if
  lm y moveto
} def
/w {
  done { pop } {
    dup stringwidth pop currentpoint pop add rm gt { nl } if
    done { pop } { show ( ) show } ifelse
  } ifelse
} def
/para { /y y lead 0.6 mul sub def nl } def
)PS";

std::string Num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", v);
    return text;
}

std::string Word(std::mt19937& rng) {
    return kWords[std::uniform_int_distribution<int>(0, kWordCount - 1)(rng)];
}

// A column or two of running text between the margins, from the top down.
void WriteText(std::ostream& ps, std::mt19937& rng, bool heading) {
    const int fontIndex = std::uniform_int_distribution<int>(0, 7)(rng);
    const double size = std::uniform_real_distribution<double>(9.0, 13.0)(rng);
    const double margin = std::uniform_real_distribution<double>(56, 85)(rng);
    const bool twoColumns = std::uniform_int_distribution<int>(0, 3)(rng) == 0;
    const double left = margin, right = kPageWidth - margin, middle = kPageWidth / 2;
    double top = kPageHeight - margin;
    ps << "/done false def /col 0 def /cols " << (twoColumns ? 2 : 1) << " def\n";
    ps << "/bm " << Num(margin) << " def /lead " << Num(size * 1.3) << " def\n";
    if (heading) {
        ps << "/" << kBoldFonts[fontIndex % 2] << " " << Num(size * 1.5) << " F " << Num(left)
           << " " << Num(top) << " moveto (";
        const int words = std::uniform_int_distribution<int>(2, 5)(rng);
        for (int i = 0; i < words; ++i) ps << (i ? " " : "") << Word(rng);
        ps << ") show\n";
        top -= size * 3;
    }
    ps << "/lm " << Num(left) << " def /rm " << Num(twoColumns ? middle - 9 : right) << " def\n";
    ps << "/lm2 " << Num(middle + 9) << " def /rm2 " << Num(right) << " def\n";
    ps << "/y0 " << Num(top) << " def /y y0 def lm y moveto\n";
    ps << "/" << kFonts[fontIndex] << " " << Num(size) << " F\n";
    // More words than a page holds; the layout stops at the bottom margin.
    for (int paragraph = 0; paragraph < 16; ++paragraph) {
        const int words = std::uniform_int_distribution<int>(25, 90)(rng);
        for (int i = 0; i < words; ++i) ps << "(" << Word(rng) << ") w ";
        ps << "para\n";
    }
}

void WriteSignature(std::ostream& ps, std::mt19937& rng, bool colour) {
    std::uniform_real_distribution<double> x(340, 520), y(105, 165);
    ps << (colour ? "0.10 0.12 0.45 setrgbcolor" : "0.15 setgray")
       << " 1.1 setlinewidth 1 setlinecap 1 setlinejoin\n";
    ps << Num(x(rng)) << " " << Num(y(rng)) << " moveto\n";
    const int strokes = std::uniform_int_distribution<int>(6, 10)(rng);
    for (int i = 0; i < strokes; ++i)
        ps << Num(x(rng)) << " " << Num(y(rng)) << " " << Num(x(rng)) << " " << Num(y(rng)) << " "
           << Num(x(rng)) << " " << Num(y(rng)) << " curveto\n";
    ps << "stroke\n";
}

void WriteContent(std::ostream& ps, const PagePlan& plan, std::mt19937& rng) {
    ps << (plan.bits == 24 ? "0.05 0.05 0.08 setrgbcolor\n" : "0.05 setgray\n");
    switch (plan.content) {
        case Content::Text:
            WriteText(ps, rng, plan.seed % 3 != 0);
            break;
        case Content::Blank:
            break;
        case Content::Signature:
            WriteSignature(ps, rng, plan.bits == 24);
            break;
        case Content::PageNumber: {
            const int number = std::uniform_int_distribution<int>(1, 240)(rng);
            const bool dashes = plan.seed % 2 == 0;
            ps << "/Helvetica 10 F (" << (dashes ? "- " : "") << number << (dashes ? " -" : "")
               << ") dup stringwidth pop 2 div " << Num(kPageWidth / 2) << " exch sub "
               << Num(std::uniform_real_distribution<double>(30, 50)(rng)) << " moveto show\n";
            break;
        }
        case Content::OneLine: {
            ps << "/Times-Roman 11 F " << Num(std::uniform_real_distribution<double>(60, 120)(rng))
               << " " << Num(std::uniform_real_distribution<double>(150, 700)(rng)) << " moveto (";
            for (int i = 0; i < 8; ++i) ps << (i ? " " : "") << Word(rng);
            ps << ") show\n";
            break;
        }
        case Content::Picture: {
            std::uniform_real_distribution<double> x(60, 530), y(80, 760), size(20, 160),
                grey(0.1, 0.8);
            // A shaded photo, then shapes and strokes around it.
            const double left = x(rng) * 0.5, bottom = y(rng) * 0.5 + 200;
            for (int strip = 0; strip < 60; ++strip)
                ps << Num(0.15 + 0.6 * strip / 60.0 + 0.1 * std::sin(strip * 0.7)) << " setgray "
                   << Num(left) << " " << Num(bottom + strip * 4) << " 300 4 rectfill\n";
            for (int i = 0; i < 8; ++i) {
                ps << Num(grey(rng)) << " setgray newpath " << Num(x(rng)) << " " << Num(y(rng))
                   << " " << Num(size(rng) / 2) << " 0 360 arc fill\n";
                ps << Num(grey(rng)) << " setgray " << Num(x(rng)) << " " << Num(y(rng)) << " "
                   << Num(size(rng)) << " " << Num(size(rng)) << " rectfill\n";
                ps << "0.1 setgray 2 setlinewidth " << Num(x(rng)) << " " << Num(y(rng))
                   << " moveto " << Num(x(rng)) << " " << Num(y(rng)) << " lineto stroke\n";
            }
            break;
        }
        case Content::Rule: {
            const double y = std::uniform_real_distribution<double>(150, 700)(rng);
            ps << "0.6 setlinewidth " << Num(std::uniform_real_distribution<double>(70, 200)(rng))
               << " " << Num(y) << " moveto "
               << Num(std::uniform_real_distribution<double>(380, 520)(rng)) << " " << Num(y)
               << " lineto stroke\n";
            break;
        }
    }
}

std::string PostScript(const PagePlan& plan) {
    std::mt19937 rng(static_cast<unsigned>(plan.seed) * 7919u + 13u);
    const bool landscape = plan.quarterTurns % 2 != 0;
    const double frameW = landscape ? kPageHeight : kPageWidth;
    const double frameH = landscape ? kPageWidth : kPageHeight;
    const bool colour = plan.bits == 24;
    const std::string paper = colour ? "0.98 0.96 0.91 setrgbcolor" : "0.96 setgray";
    std::ostringstream ps;
    ps << "%!PS\n<< /PageSize [" << Num(frameW) << " " << Num(frameH) << "] >> setpagedevice\n";
    ps << kProcedures;
    ps << (plan.darkBackground ? "0.12 setgray" : paper) << " 0 0 " << Num(frameW) << " "
       << Num(frameH) << " rectfill\n";

    // The sheet: lying on its side as asked, then turned on the glass about its centre.
    ps << "gsave\n";
    switch (((plan.quarterTurns % 4) + 4) % 4) {
        case 1:
            ps << Num(kPageHeight) << " 0 translate 90 rotate\n";
            break;
        case 2:
            ps << Num(kPageWidth) << " " << Num(kPageHeight) << " translate 180 rotate\n";
            break;
        case 3:
            ps << "0 " << Num(kPageWidth) << " translate 270 rotate\n";
            break;
    }
    ps << Num(kPageWidth / 2) << " " << Num(kPageHeight / 2) << " translate "
       << Num(plan.skewDegrees) << " rotate " << Num(-kPageWidth / 2) << " "
       << Num(-kPageHeight / 2) << " translate\n";
    if (plan.darkBackground)
        ps << paper << " 0 0 " << Num(kPageWidth) << " " << Num(kPageHeight) << " rectfill\n";
    if (plan.showThrough) {
        std::mt19937 back(static_cast<unsigned>(plan.seed) * 104729u + 7u);
        const double grey = std::uniform_real_distribution<double>(0.76, 0.88)(back);
        ps << "gsave " << Num(kPageWidth) << " 0 translate -1 1 scale " << Num(grey)
           << " setgray\n";
        WriteText(ps, back, true);
        ps << "grestore\n";
    }
    if (plan.punchHoles) {
        const double r = 3 * kPointsPerMm, x = 12 * kPointsPerMm;
        for (double dy : {-40 * kPointsPerMm, 40 * kPointsPerMm})
            ps << "0.12 setgray newpath " << Num(x) << " " << Num(kPageHeight / 2 + dy) << " "
               << Num(r) << " 0 360 arc fill\n";
    }
    WriteContent(ps, plan, rng);
    ps << "grestore\n";

    // What the scanner adds on the glass: dust. (The feeder's shadow darkens the picture
    // afterwards.)
    std::mt19937 dust(static_cast<unsigned>(plan.seed) * 31337u + 3u);
    for (int i = 0; i < plan.specks; ++i) {
        const double x = std::uniform_real_distribution<double>(0, frameW)(dust);
        const double y = std::uniform_real_distribution<double>(0, frameH)(dust);
        const double r = std::uniform_real_distribution<double>(0.3, 1.4)(dust);
        const double g = std::uniform_real_distribution<double>(0.05, 0.35)(dust);
        ps << Num(g) << " setgray newpath " << Num(x) << " " << Num(y) << " " << Num(r)
           << " 0 360 arc fill\n";
    }
    ps << "showpage\n";
    return ps.str();
}

// Gaussian noise from a table walked by a cheap generator: the same picture every run, fast
// enough for pages of 26 MB.
class Noise {
public:
    Noise(unsigned seed, double sigma) : state_(seed * 2654435761u + 1u) {
        std::mt19937 rng(seed);
        std::normal_distribution<double> normal(0, sigma);
        for (int& v : table_) v = static_cast<int>(std::lround(normal(rng)));
    }
    int next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return table_[state_ & 4095];
    }

private:
    uint32_t state_;
    std::array<int, 4096> table_{};
};

uint8_t Clamp(int v) {
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

void AddNoise(ImageBuffer& image, unsigned seed, double sigma) {
    Noise noise(seed, sigma);
    const int bytes = ImageWidth(image) * (BitsPerPixel(image) / 8);
    for (int y = 0; y < ImageHeight(image); ++y) {
        uint8_t* row = RowPointer(image, static_cast<uint32_t>(y));
        for (int x = 0; x < bytes; ++x) row[x] = Clamp(row[x] + noise.next());
    }
}

// A bilevel scan: the grey picture cut at a threshold, black 0 and white 1.
bool Threshold(ImageBuffer& grey, ImageBuffer& bilevel) {
    const int w = ImageWidth(grey), h = ImageHeight(grey);
    if (AllocateImage(bilevel, w, h, 1) != kImgOk) return false;
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = RowPointer(grey, static_cast<uint32_t>(y));
        uint8_t* out = RowPointer(bilevel, static_cast<uint32_t>(y));
        for (int x = 0; x < w; ++x)
            if (in[x] >= 140) out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
    return true;
}

// The next number of a netpbm header, skipping white space and comments.
bool HeaderNumber(std::FILE* f, int& value) {
    int c = std::fgetc(f);
    while (c == '#' || std::isspace(c)) {
        if (c == '#')
            while (c != '\n' && c != EOF) c = std::fgetc(f);
        c = std::fgetc(f);
    }
    if (!std::isdigit(c)) return false;
    value = 0;
    while (std::isdigit(c)) {
        value = value * 10 + (c - '0');
        c = std::fgetc(f);
    }
    // One white-space character ends the number (and, after the last, the header).
    return std::isspace(c);
}

// Reads a binary PGM (P5, 8 bits) as Ghostscript writes it.
bool ReadPgm(const std::string& path, std::vector<uint8_t>& pixels, int& width, int& height) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    int maxValue = 0;
    const bool header = std::fgetc(f) == 'P' && std::fgetc(f) == '5' && HeaderNumber(f, width) &&
                        HeaderNumber(f, height) && HeaderNumber(f, maxValue) && maxValue == 255 &&
                        width > 0 && height > 0;
    bool ok = false;
    if (header) {
        pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        ok = std::fread(pixels.data(), 1, pixels.size(), f) == pixels.size();
    }
    std::fclose(f);
    return ok;
}

// Each pixel of `grey` the mean of a fine x fine block of the rendering.
void AverageDown(const std::vector<uint8_t>& pixels, int fineWidth, int fine, ImageBuffer& grey) {
    const int w = ImageWidth(grey), h = ImageHeight(grey), area = fine * fine;
    std::vector<int> sums(static_cast<size_t>(w));
    for (int y = 0; y < h; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int k = 0; k < fine; ++k) {
            const uint8_t* in = &pixels[static_cast<size_t>(y * fine + k) * fineWidth];
            for (int x = 0; x < w; ++x)
                for (int j = 0; j < fine; ++j) sums[static_cast<size_t>(x)] += in[x * fine + j];
        }
        uint8_t* out = RowPointer(grey, static_cast<uint32_t>(y));
        for (int x = 0; x < w; ++x) out[x] = static_cast<uint8_t>((sums[x] + area / 2) / area);
    }
}

// The feeder's shadow along the leading (top) and left edges: it darkens whatever lies there,
// most at the edge, fading out over a few millimetres.
void AddFeederShadow(ImageBuffer& grey, int dpi) {
    const int w = ImageWidth(grey), h = ImageHeight(grey);
    const double topDepth = 5 / 25.4 * dpi, leftDepth = 3 / 25.4 * dpi;
    auto shade = [](double distance, double depth) {
        return distance >= depth ? 1.0 : 0.3 + 0.7 * (distance / depth);
    };
    for (int y = 0; y < h; ++y) {
        uint8_t* row = RowPointer(grey, static_cast<uint32_t>(y));
        const double top = shade(y, topDepth);
        // Below the top band only the left band is shaded.
        const int end = top < 1 ? w : std::min(w, static_cast<int>(leftDepth) + 1);
        for (int x = 0; x < end; ++x)
            row[x] = static_cast<uint8_t>(row[x] * top * shade(x, leftDepth));
    }
}

// A colour scan of the page: cream paper, ink a little blue.
bool Colourise(const ImageBuffer& grey, ImageBuffer& colour) {
    const int w = ImageWidth(grey), h = ImageHeight(grey);
    if (AllocateImage(colour, w, h, 24) != kImgOk) return false;
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = RowPointer(grey, static_cast<uint32_t>(y));
        uint8_t* out = RowPointer(colour, static_cast<uint32_t>(y));
        for (int x = 0; x < w; ++x) {
            const int v = in[x];
            out[3 * x] = static_cast<uint8_t>(12 + v * 218 / 255);     // blue
            out[3 * x + 1] = static_cast<uint8_t>(4 + v * 245 / 255);  // green
            out[3 * x + 2] = static_cast<uint8_t>(2 + v * 253 / 255);  // red
        }
    }
    return true;
}

}  // namespace

std::string Describe(const PagePlan& plan) {
    static const char* const names[] = {"text",     "blank", "signature", "page number",
                                        "one line", "rule",  "picture"};
    std::ostringstream d;
    d << names[static_cast<int>(plan.content)] << " seed " << plan.seed << ", " << plan.dpi
      << " dpi, " << plan.bits << " bits, skew " << Num(plan.skewDegrees) << ", turned "
      << plan.quarterTurns * 90;
    if (plan.darkBackground) d << ", dark background";
    if (plan.showThrough) d << ", show-through";
    if (plan.punchHoles) d << ", holes";
    if (plan.feederShadow) d << ", shadow";
    if (plan.specks) d << ", " << plan.specks << " specks";
    return d.str();
}

bool RenderPage(const PagePlan& plan, const std::string& workDir, ImageBuffer& image,
                std::string* error) {
    static std::atomic<int> counter{0};
    const std::string base = workDir + "/page" + std::to_string(counter++);
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        std::remove((base + ".ps").c_str());
        std::remove((base + ".pgm").c_str());
        return false;
    };
    {
        std::ofstream out(base + ".ps");
        out << PostScript(plan);
        if (!out) return fail("cannot write " + base + ".ps");
    }
    // The page is rendered finer than asked and averaged down, as a scanner's sensor averages
    // the light over each of its cells: edges fall between pixels wherever they really lie.
    const int fine = std::max(1, kRenderDpi / plan.dpi);
    const std::string command =
        "gs -q -dSAFER -dBATCH -dNOPAUSE -dTextAlphaBits=4 -dGraphicsAlphaBits=4 "
        "-sDEVICE=pgmraw -r" +
        std::to_string(plan.dpi * fine) + " -sOutputFile='" + base + ".pgm' '" + base +
        ".ps' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return fail("Ghostscript failed on " + base + ".ps");
    std::vector<uint8_t> pixels;
    int fineWidth = 0, fineHeight = 0;
    if (!ReadPgm(base + ".pgm", pixels, fineWidth, fineHeight))
        return fail("cannot read the rendered page " + base + ".pgm");
    std::remove((base + ".ps").c_str());
    std::remove((base + ".pgm").c_str());

    ImageBuffer grey{};
    if (AllocateImage(grey, fineWidth / fine, fineHeight / fine, 8) != kImgOk)
        return fail("out of memory");
    AverageDown(pixels, fineWidth, fine, grey);
    if (plan.feederShadow) AddFeederShadow(grey, plan.dpi);
    pixels.clear();
    pixels.shrink_to_fit();
    ImageBuffer result{};
    if (plan.bits == 24) {
        const bool ok = Colourise(grey, result);
        FreeImage(grey);
        if (!ok) return fail("out of memory");
    } else {
        result = grey;
    }
    if (plan.noise) AddNoise(result, static_cast<unsigned>(plan.seed), plan.bits == 1 ? 9 : 5);
    if (plan.bits == 1) {
        ImageBuffer bilevel{};
        const bool ok = Threshold(result, bilevel);
        FreeImage(result);
        if (!ok) return fail("out of memory");
        result = bilevel;
    }
    SetImageDpi(result, plan.dpi, plan.dpi);
    image = result;
    return true;
}

}  // namespace vellumo::cleanup::testpages

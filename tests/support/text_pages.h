// Pages of known text for the recognition tests and benchmarks: Ghostscript sets English or
// German prose in a chosen font, size and resolution, in one or two columns, optionally
// skewed, noisy or turned, and reports where each word's ink lies. Needs `gs` on the PATH.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct TextPagePlan {
    std::string font = "NimbusRoman-Regular";  // a font Ghostscript has
    double pointSize = 11;
    int dpi = 300;
    int columns = 1;
    double skewDegrees = 0;        // the text turned counter-clockwise on the page
    bool noisy = false;            // grey speckle, specks and faint smudges, like a worn scan
    std::string language = "eng";  // "eng" or "deu": which prose is set
    int words = 220;               // how many words of the prose
    int firstWord = 0;             // where in the prose to start
    int bitsPerPixel = 8;          // 1 (G4 TIFF), 8 (grey PNG) or 24 (colour PNG)
    int quarterTurns = 0;          // the finished page turned clockwise
    double pageWidthPt = 595;      // A4
    double pageHeightPt = 842;
};

struct InkBox {
    int left = 0, top = 0, right = 0, bottom = 0;  // pixels, right and bottom exclusive
};

struct PageWord {
    std::string text;  // UTF-8
    InkBox ink;
    int line = 0;  // lines count from 0 in reading order (column after column)
};

struct TextPage {
    std::string path;
    int width = 0;
    int height = 0;
    std::vector<PageWord> words;  // reading order
    // The words of each line joined by single spaces.
    std::vector<std::string> lines() const;
};

// Renders the page into path (".png" or ".tif" as the depth needs). False with a message when
// Ghostscript or the imaging library fails.
bool RenderTextPage(const TextPagePlan& plan, const std::string& path, TextPage& page,
                    std::string& error);

// The prose of a language as words, for checks that need the vocabulary.
const std::vector<std::string>& ProseWords(const std::string& language);

// Intersection over union of two boxes.
double Overlap(const InkBox& a, const InkBox& b);

}  // namespace testsupport

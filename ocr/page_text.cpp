#include "ocr/page_text.h"

namespace vellumo::ocr {

int PageText::wordCount() const {
    int n = 0;
    for (const Line& line : lines) n += static_cast<int>(line.words.size());
    return n;
}

std::string PageText::plainText() const {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0 && lines[i].block != lines[i - 1].block) out += '\n';
        for (size_t j = 0; j < lines[i].words.size(); ++j) {
            if (j > 0) out += ' ';
            out += lines[i].words[j].text;
        }
        out += '\n';
    }
    return out;
}

}  // namespace vellumo::ocr

// Lossless JBIG2 for one bilevel image: a generic region coded with the MQ arithmetic coder,
// template 0 with its nominal adaptive pixels and typical prediction (TPGDON). The result is
// the page information segment and the generic region segment, as a PDF's /JBIG2Decode stream
// holds them: no file header, no end-of-page or end-of-file segment, no global segments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "pdf/mq_encoder.h"

namespace vellumo::pdf {

class Jbig2Encoder {
public:
    // The image size must be known before the first row; both at least 1.
    Jbig2Encoder(int width, int height);

    // Codes the next row: (width + 7) / 8 bytes, most significant bit first, 1 = black; bits
    // past the width are ignored. Rows beyond the height are ignored.
    void encodeRow(const uint8_t* row);
    // Codes any missing rows as white and returns the segments.
    std::vector<uint8_t> finish();

private:
    void codeRow();

    int width_;
    int height_;
    int rowsCoded_ = 0;
    size_t rowBytes_;
    // Three rows (two above and the current one), each with a zero byte before and two after,
    // so that the context of every pixel reads whole bytes without bounds checks.
    std::vector<uint8_t> rows_;
    uint8_t* above2_;
    uint8_t* above1_;
    uint8_t* current_;
    bool typical_ = false;  // the previous row was coded as a copy of the one above it
    std::vector<uint8_t> contexts_;
    std::vector<uint8_t> coded_;
    MqEncoder coder_{coded_};
};

}  // namespace vellumo::pdf

#include "pdf/jbig2_encoder.h"

#include <cstring>

namespace vellumo::pdf {

namespace {

// Segment types.
constexpr uint8_t kPageInformation = 48;
constexpr uint8_t kImmediateGenericRegion = 38;

// The context of template 0 whose state also codes the "row is typical" decisions.
constexpr unsigned kTypicalRowContext = 0x9B25;

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

// A segment header: no referred-to segments, associated with page 1.
void PutSegmentHeader(std::vector<uint8_t>& out, uint32_t number, uint8_t type,
                      uint32_t dataLength) {
    Put32(out, number);
    out.push_back(type);  // one-byte page association
    out.push_back(0);     // no referred-to segments, none retained
    out.push_back(1);     // page 1
    Put32(out, dataLength);
}

}  // namespace

Jbig2Encoder::Jbig2Encoder(int width, int height)
    : width_(width < 1 ? 1 : width),
      height_(height < 1 ? 1 : height),
      rowBytes_((static_cast<size_t>(width_) + 7) / 8),
      contexts_(65536, 0) {
    const size_t stride = rowBytes_ + 3;
    rows_.assign(3 * stride, 0);
    above2_ = rows_.data() + 1;
    above1_ = above2_ + stride;
    current_ = above1_ + stride;
    coded_.reserve(rowBytes_ * 16);
}

void Jbig2Encoder::encodeRow(const uint8_t* row) {
    if (rowsCoded_ >= height_) return;
    std::memcpy(current_, row, rowBytes_);
    if (width_ % 8) current_[rowBytes_ - 1] &= static_cast<uint8_t>(0xFF00 >> (width_ % 8));
    codeRow();
}

void Jbig2Encoder::codeRow() {
    // Typical prediction: a row equal to the one above is coded by one decision alone; the
    // decision is coded as a change from the previous row's.
    const bool typical = std::memcmp(current_, above1_, rowBytes_) == 0;
    coder_.encode(typical != typical_, contexts_[kTypicalRowContext]);
    typical_ = typical;
    if (!typical) {
        // The context bits, most significant first: row y-2 at x-2..x+2, row y-1 at x-3..x+3
        // (the outer two are the nominal adaptive pixels), row y at x-4..x-1. Each step shifts
        // the three fields left by one and brings in the next pixel of each row.
        uint8_t* contexts = contexts_.data();
        MqEncoder& coder = coder_;
        unsigned context = (static_cast<unsigned>(above2_[0] >> 6) << 11) |
                           (static_cast<unsigned>(above1_[0] >> 5) << 4);
        // The byte before the current row (a zero guard byte): left[i] is the byte before
        // current_[i], also for i = 0, without an index that wraps below zero.
        const uint8_t* left = current_ - 1;
        for (size_t i = 0; i < rowBytes_; ++i) {
            // Sixteen pixels from x = 8i on in each row above, and the current row from 8i - 8.
            const unsigned w2 = (above2_[i] << 8) | above2_[i + 1];
            const unsigned w1 = (above1_[i] << 8) | above1_[i + 1];
            const unsigned w0 = (left[i] << 8) | current_[i];
            const int pixels = i + 1 < rowBytes_ || width_ % 8 == 0 ? 8 : width_ % 8;
            for (int k = 0; k < pixels; ++k) {
                context = ((context << 1) & 0xF7EF) | (((w2 >> (13 - k)) & 1) << 11) |
                          (((w1 >> (12 - k)) & 1) << 4) | ((w0 >> (8 - k)) & 1);
                coder.encode((w0 >> (7 - k)) & 1, contexts[context]);
            }
        }
    }
    ++rowsCoded_;
    uint8_t* oldest = above2_;
    above2_ = above1_;
    above1_ = current_;
    current_ = oldest;
}

std::vector<uint8_t> Jbig2Encoder::finish() {
    while (rowsCoded_ < height_) {
        std::memset(current_, 0, rowBytes_);
        codeRow();
    }
    coder_.finish();

    std::vector<uint8_t> out;
    out.reserve(coded_.size() + 64);
    PutSegmentHeader(out, 0, kPageInformation, 19);
    Put32(out, static_cast<uint32_t>(width_));
    Put32(out, static_cast<uint32_t>(height_));
    Put32(out, 0);  // resolution unknown: the PDF page gives the size
    Put32(out, 0);
    out.push_back(1);  // eventually lossless, default pixel 0, combination OR
    out.push_back(0);  // not striped
    out.push_back(0);

    PutSegmentHeader(out, 1, kImmediateGenericRegion,
                     static_cast<uint32_t>(17 + 1 + 8 + coded_.size()));
    Put32(out, static_cast<uint32_t>(width_));
    Put32(out, static_cast<uint32_t>(height_));
    Put32(out, 0);  // at 0, 0
    Put32(out, 0);
    out.push_back(0);     // combination OR
    out.push_back(0x08);  // arithmetic coding, template 0, typical prediction on
    // The nominal adaptive pixels of template 0: (3,-1), (-3,-1), (2,-2), (-2,-2).
    for (int8_t v : {3, -1, -3, -1, 2, -2, -2, -2}) out.push_back(static_cast<uint8_t>(v));
    out.insert(out.end(), coded_.begin(), coded_.end());
    return out;
}

}  // namespace vellumo::pdf

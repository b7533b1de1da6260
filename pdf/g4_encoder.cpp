#include "pdf/g4_encoder.h"

#include <utility>

namespace vellumo::pdf {

namespace {

struct Code {
    uint16_t code;
    uint8_t length;
};

// The run-length code words of ITU-T T.4: terminating codes for runs 0..63, then make-up codes
// for 64..1728 in steps of 64, then the make-up codes for 1792..2560 shared by both colours.
constexpr Code kWhite[] = {
    {0x35, 8},
    {0x07, 6},
    {0x07, 4},
    {0x08, 4},
    {0x0B, 4},
    {0x0C, 4},
    {0x0E, 4},
    {0x0F, 4},
    {0x13, 5},
    {0x14, 5},
    {0x07, 5},
    {0x08, 5},
    {0x08, 6},
    {0x03, 6},
    {0x34, 6},
    {0x35, 6},
    {0x2A, 6},
    {0x2B, 6},
    {0x27, 7},
    {0x0C, 7},
    {0x08, 7},
    {0x17, 7},
    {0x03, 7},
    {0x04, 7},
    {0x28, 7},
    {0x2B, 7},
    {0x13, 7},
    {0x24, 7},
    {0x18, 7},
    {0x02, 8},
    {0x03, 8},
    {0x1A, 8},
    {0x1B, 8},
    {0x12, 8},
    {0x13, 8},
    {0x14, 8},
    {0x15, 8},
    {0x16, 8},
    {0x17, 8},
    {0x28, 8},
    {0x29, 8},
    {0x2A, 8},
    {0x2B, 8},
    {0x2C, 8},
    {0x2D, 8},
    {0x04, 8},
    {0x05, 8},
    {0x0A, 8},
    {0x0B, 8},
    {0x52, 8},
    {0x53, 8},
    {0x54, 8},
    {0x55, 8},
    {0x24, 8},
    {0x25, 8},
    {0x58, 8},
    {0x59, 8},
    {0x5A, 8},
    {0x5B, 8},
    {0x4A, 8},
    {0x4B, 8},
    {0x32, 8},
    {0x33, 8},
    {0x34, 8},
    // 64 .. 1728
    {0x1B, 5},
    {0x12, 5},
    {0x17, 6},
    {0x37, 7},
    {0x36, 8},
    {0x37, 8},
    {0x64, 8},
    {0x65, 8},
    {0x68, 8},
    {0x67, 8},
    {0xCC, 9},
    {0xCD, 9},
    {0xD2, 9},
    {0xD3, 9},
    {0xD4, 9},
    {0xD5, 9},
    {0xD6, 9},
    {0xD7, 9},
    {0xD8, 9},
    {0xD9, 9},
    {0xDA, 9},
    {0xDB, 9},
    {0x98, 9},
    {0x99, 9},
    {0x9A, 9},
    {0x18, 6},
    {0x9B, 9},
};
constexpr Code kBlack[] = {
    {0x37, 10},
    {0x02, 3},
    {0x03, 2},
    {0x02, 2},
    {0x03, 3},
    {0x03, 4},
    {0x02, 4},
    {0x03, 5},
    {0x05, 6},
    {0x04, 6},
    {0x04, 7},
    {0x05, 7},
    {0x07, 7},
    {0x04, 8},
    {0x07, 8},
    {0x18, 9},
    {0x17, 10},
    {0x18, 10},
    {0x08, 10},
    {0x67, 11},
    {0x68, 11},
    {0x6C, 11},
    {0x37, 11},
    {0x28, 11},
    {0x17, 11},
    {0x18, 11},
    {0xCA, 12},
    {0xCB, 12},
    {0xCC, 12},
    {0xCD, 12},
    {0x68, 12},
    {0x69, 12},
    {0x6A, 12},
    {0x6B, 12},
    {0xD2, 12},
    {0xD3, 12},
    {0xD4, 12},
    {0xD5, 12},
    {0xD6, 12},
    {0xD7, 12},
    {0x6C, 12},
    {0x6D, 12},
    {0xDA, 12},
    {0xDB, 12},
    {0x54, 12},
    {0x55, 12},
    {0x56, 12},
    {0x57, 12},
    {0x64, 12},
    {0x65, 12},
    {0x52, 12},
    {0x53, 12},
    {0x24, 12},
    {0x37, 12},
    {0x38, 12},
    {0x27, 12},
    {0x28, 12},
    {0x58, 12},
    {0x59, 12},
    {0x2B, 12},
    {0x2C, 12},
    {0x5A, 12},
    {0x66, 12},
    {0x67, 12},
    // 64 .. 1728
    {0x0F, 10},
    {0xC8, 12},
    {0xC9, 12},
    {0x5B, 12},
    {0x33, 12},
    {0x34, 12},
    {0x35, 12},
    {0x6C, 13},
    {0x6D, 13},
    {0x4A, 13},
    {0x4B, 13},
    {0x4C, 13},
    {0x4D, 13},
    {0x72, 13},
    {0x73, 13},
    {0x74, 13},
    {0x75, 13},
    {0x76, 13},
    {0x77, 13},
    {0x52, 13},
    {0x53, 13},
    {0x54, 13},
    {0x55, 13},
    {0x5A, 13},
    {0x5B, 13},
    {0x64, 13},
    {0x65, 13},
};
// 1792 .. 2560
constexpr Code kExtended[] = {
    {0x08, 11}, {0x0C, 11}, {0x0D, 11}, {0x12, 12}, {0x13, 12}, {0x14, 12}, {0x15, 12},
    {0x16, 12}, {0x17, 12}, {0x1C, 12}, {0x1D, 12}, {0x1E, 12}, {0x1F, 12},
};
static_assert(sizeof kWhite / sizeof kWhite[0] == 64 + 27);
static_assert(sizeof kBlack / sizeof kBlack[0] == 64 + 27);
static_assert(sizeof kExtended / sizeof kExtended[0] == 13);

// Vertical mode codes indexed by b1 - a1 + 3: VR3, VR2, VR1, V0, VL1, VL2, VL3.
constexpr Code kVertical[] = {{0x03, 7}, {0x03, 6}, {0x03, 3}, {0x01, 1},
                              {0x02, 3}, {0x02, 6}, {0x02, 7}};
constexpr Code kPass = {0x1, 4};
constexpr Code kHorizontal = {0x1, 3};
constexpr Code kEol = {0x001, 12};

}  // namespace

G4Encoder::G4Encoder(int width, Sink sink) : width_(width), sink_(std::move(sink)) {
    // One spare word so that a search never reads past the row.
    const size_t words = static_cast<size_t>(width) / 64 + 2;
    coding_.assign(words, 0);
    reference_.assign(words, 0);  // the line above the first is all white
    out_.reserve(1 << 16);
}

void G4Encoder::loadRow(const uint8_t* row, std::vector<uint64_t>& words) const {
    const size_t bytes = (static_cast<size_t>(width_) + 7) / 8;
    const size_t full = bytes / 8;
    for (size_t i = 0; i < full; ++i) {
        uint64_t w;
        __builtin_memcpy(&w, row + i * 8, 8);
        words[i] = __builtin_bswap64(w);
    }
    uint64_t last = 0;
    for (size_t k = full * 8; k < bytes; ++k) last |= uint64_t{row[k]} << (56 - 8 * (k - full * 8));
    words[full] = last;
    for (size_t i = full + 1; i < words.size(); ++i) words[i] = 0;
    // Clear the bits past the width so that they read as white.
    const int tail = width_ & 63;
    const size_t lastWord = static_cast<size_t>(width_) / 64;
    if (tail)
        words[lastWord] &= ~uint64_t{0} << (64 - tail);
    else
        words[lastWord] = 0;
}

// The first position at or after from whose colour differs from colour, or the width.
int G4Encoder::nextChange(const std::vector<uint64_t>& words, int from, int colour) const {
    if (from >= width_) return width_;
    const uint64_t flip = colour ? ~uint64_t{0} : 0;
    size_t index = static_cast<size_t>(from) >> 6;
    uint64_t w = (words[index] ^ flip) & (~uint64_t{0} >> (from & 63));
    const size_t end = static_cast<size_t>(width_) / 64;
    while (w == 0) {
        if (index >= end) return width_;
        ++index;
        w = words[index] ^ flip;
    }
    const int at = static_cast<int>(index * 64) + __builtin_clzll(w);
    return at < width_ ? at : width_;
}

void G4Encoder::put(uint32_t code, int length) {
    bits_ = (bits_ << length) | code;
    bitCount_ += length;
    while (bitCount_ >= 8) {
        bitCount_ -= 8;
        out_.push_back(static_cast<uint8_t>(bits_ >> bitCount_));
    }
}

void G4Encoder::putRun(int run, int colour) {
    const Code* table = colour ? kBlack : kWhite;
    while (run >= 2624) {
        put(kExtended[12].code, kExtended[12].length);  // 2560
        run -= 2560;
    }
    if (run >= 64) {
        const int makeUp = run >> 6;  // 1 .. 40
        const Code c = makeUp <= 27 ? table[63 + makeUp] : kExtended[makeUp - 28];
        put(c.code, c.length);
        run &= 63;
    }
    put(table[run].code, table[run].length);
}

void G4Encoder::flushBytes() {
    if (!out_.empty()) sink_(out_.data(), out_.size());
    out_.clear();
}

void G4Encoder::encodeRow(const uint8_t* row) {
    loadRow(row, coding_);
    const auto pixel = [](const std::vector<uint64_t>& w, int x) {
        return static_cast<int>((w[static_cast<size_t>(x) >> 6] >> (63 - (x & 63))) & 1);
    };
    // a0 starts on an imaginary white pixel before the row.
    int a0 = 0;
    int colour = 0;
    int a1 = nextChange(coding_, 0, 0);
    int b1 = nextChange(reference_, 0, 0);
    for (;;) {
        const int b2 = b1 < width_ ? nextChange(reference_, b1, pixel(reference_, b1)) : width_;
        if (b2 < a1) {
            put(kPass.code, kPass.length);
            a0 = b2;
        } else {
            const int d = b1 - a1;
            if (d >= -3 && d <= 3) {
                const Code c = kVertical[d + 3];
                put(c.code, c.length);
                a0 = a1;
                colour ^= 1;
            } else {
                const int a2 = a1 < width_ ? nextChange(coding_, a1, colour ^ 1) : width_;
                put(kHorizontal.code, kHorizontal.length);
                putRun(a1 - a0, colour);
                putRun(a2 - a1, colour ^ 1);
                a0 = a2;
            }
        }
        if (a0 >= width_) break;
        // a1: the next change after a0 on the coding line; b1: the first change on the
        // reference line right of a0 to the colour opposite a0's.
        a1 = nextChange(coding_, a0, colour);
        b1 = nextChange(reference_, a0, colour ^ 1);
        b1 = nextChange(reference_, b1, colour);
    }
    std::swap(coding_, reference_);
    if (out_.size() >= (1 << 16) - 64) flushBytes();
}

void G4Encoder::finish() {
    put(kEol.code, kEol.length);
    put(kEol.code, kEol.length);
    if (bitCount_ > 0) put(0, 8 - bitCount_);
    flushBytes();
}

}  // namespace vellumo::pdf

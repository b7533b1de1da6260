#include "imaging/lzw_encoder.h"

#include <bit>
#include <cstring>

namespace vellumo::imaging {

namespace {

constexpr uint32_t kClearCode = 256;
constexpr uint32_t kEndOfInformation = 257;
constexpr uint32_t kFirstCode = 258;
// The table is cleared when it reaches this many codes, one short of 12 bits' 4096, as
// every TIFF writer does, so that no reader ever sees a 13-bit code.
constexpr uint32_t kTableLimit = 4094;
// Runs shorter than this are cheaper to walk through the table than to measure.
constexpr size_t kShortestRun = 16;

static_assert(std::endian::native == std::endian::little, "the run scan reads words little-endian");

uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// How many bytes from p on equal p[0].
size_t RunLength(const uint8_t* p, size_t size) {
    const uint64_t pattern = p[0] * 0x0101010101010101ull;
    size_t k = 0;
    for (; k + 8 <= size; k += 8)
        if (const uint64_t diff = Load64(p + k) ^ pattern) return k + std::countr_zero(diff) / 8;
    while (k < size && p[k] == p[0]) ++k;
    return k;
}

// How many bytes of value b start at p, when there are enough to be worth coding as a run.
size_t LongRun(const uint8_t* p, size_t size, uint32_t b) {
    if (size < kShortestRun) return 0;
    const uint64_t pattern = b * 0x0101010101010101ull;
    if (Load64(p) != pattern || Load64(p + 8) != pattern) return 0;
    return RunLength(p, size);
}

}  // namespace

LzwEncoder::LzwEncoder()
    : child_(new uint16_t[4096 * 256]()),
      runCodes_(new uint16_t[256 * 4096]),
      nextCode_(kFirstCode) {
    for (uint32_t b = 0; b < 256; ++b) {
        runCodes_[b * 4096 + 1] = static_cast<uint16_t>(b);
        runOf_[b] = 1;
    }
}

LzwEncoder::~LzwEncoder() = default;

void LzwEncoder::resetTable() {
    for (uint32_t code = kFirstCode; code < nextCode_; ++code)
        child_[parent_[code] * 256u + lastByte_[code]] = 0;
    nextCode_ = kFirstCode;
    width_ = 9;
    maxCode_ = 511;
    for (auto& length : runLength_) length = 1;
}

void LzwEncoder::begin(std::vector<uint8_t>& out) {
    out_ = &out;
    bits_ = 0;
    bitCount_ = 0;
    resetTable();
    put(kClearCode);
    current_ = -1;
}

void LzwEncoder::put(uint32_t code) {
    bits_ = (bits_ << width_) | code;
    bitCount_ += width_;
    if (bitCount_ < 32) return;
    bitCount_ -= 32;
    const auto word = static_cast<uint32_t>(bits_ >> bitCount_);
    const uint8_t bytes[4] = {static_cast<uint8_t>(word >> 24), static_cast<uint8_t>(word >> 16),
                              static_cast<uint8_t>(word >> 8), static_cast<uint8_t>(word)};
    out_->insert(out_->end(), bytes, bytes + 4);
    bits_ &= (uint64_t{1} << bitCount_) - 1;
}

void LzwEncoder::emitAndExtend(uint32_t next) {
    const auto prefix = static_cast<uint32_t>(current_);
    put(prefix);
    const auto code = static_cast<uint16_t>(nextCode_);
    child_[prefix * 256u + next] = code;
    parent_[code] = static_cast<uint16_t>(prefix);
    lastByte_[code] = static_cast<uint8_t>(next);
    if (prefix == runCode(next, runLength_[next])) {
        runCodes_[next * 4096 + ++runLength_[next]] = code;
        runOf_[code] = runLength_[next];
    } else {
        runOf_[code] = 0;
    }
    if (++nextCode_ == kTableLimit) {
        put(kClearCode);
        resetTable();
    } else if (nextCode_ > maxCode_) {
        ++width_;
        maxCode_ = (1u << width_) - 1;
    }
    current_ = static_cast<int>(next);
}

// Greedy matching follows the table's runs of b up to the longest, misses its extension and
// enters it one byte longer, then starts again with one b: so each step codes a whole run of
// the table, and none walks the bytes.
void LzwEncoder::continueRun(uint32_t b, size_t matched, size_t length) {
    while (matched + length > runLength_[b]) {
        length -= runLength_[b] - matched;
        current_ = static_cast<int>(runCode(b, runLength_[b]));
        emitAndExtend(b);
        matched = 1;
        --length;
    }
    current_ = static_cast<int>(runCode(b, matched + length));
}

void LzwEncoder::add(const uint8_t* data, size_t size) {
    if (size == 0) return;
    size_t i = 0;
    if (current_ < 0) {
        current_ = data[0];
        i = 1;
    }
    // A run that goes on from the previous piece (the row before) continues as one.
    if (const uint32_t matched = runOf_[current_]) {
        const uint32_t b = current_ < 256 ? static_cast<uint32_t>(current_) : lastByte_[current_];
        if (const size_t run = LongRun(data + i, size - i, b)) {
            continueRun(b, matched, run);
            i += run;
        }
    }
    while (i < size) {
        const uint32_t next = data[i];
        if (const uint16_t code = child_[static_cast<uint32_t>(current_) * 256u + next]) {
            current_ = code;
            ++i;
            continue;
        }
        emitAndExtend(next);
        ++i;
        // A new string starts with `next`: a long run of it is coded at once.
        if (const size_t run = LongRun(data + i, size - i, next)) {
            continueRun(next, 1, run);
            i += run;
        }
    }
}

void LzwEncoder::finish() {
    if (current_ >= 0) {
        put(static_cast<uint32_t>(current_));
        // A reader enters one more string after this code, and may widen its codes for End
        // of Information because of it: do the same.
        const uint32_t entered = nextCode_ + 1;
        if (entered == kTableLimit) {
            put(kClearCode);
            width_ = 9;
        } else if (entered > maxCode_) {
            ++width_;
        }
    }
    put(kEndOfInformation);
    while (bitCount_ >= 8) {
        bitCount_ -= 8;
        out_->push_back(static_cast<uint8_t>(bits_ >> bitCount_));
    }
    if (bitCount_ > 0) out_->push_back(static_cast<uint8_t>(bits_ << (8 - bitCount_)));
    bits_ = 0;
    bitCount_ = 0;
    current_ = -1;
}

}  // namespace vellumo::imaging

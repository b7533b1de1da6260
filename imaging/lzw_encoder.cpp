#include "imaging/lzw_encoder.h"

#include <bit>
#include <cstring>

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

}  // namespace

LzwEncoder::LzwEncoder() : child_(new uint16_t[4096 * 256]()), nextCode_(kFirstCode) {}

LzwEncoder::~LzwEncoder() = default;

void LzwEncoder::resetTable() {
    for (uint32_t code = kFirstCode; code < nextCode_; ++code)
        child_[parent_[code] * 256u + lastByte_[code]] = 0;
    nextCode_ = kFirstCode;
    width_ = 9;
    maxCode_ = 511;
    for (uint32_t b = 0; b < 256; ++b) {
        runTop_[b] = static_cast<uint16_t>(b);
        runLength_[b] = 1;
    }
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
    if (prefix == runTop_[next]) {
        runTop_[next] = code;
        ++runLength_[next];
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

// The current string is the run's first byte alone. Greedy matching takes the longest run of
// that byte the table holds, misses its extension, and enters it one byte longer; so each
// step codes runLength bytes, and only the run's last piece is looked up byte by byte.
void LzwEncoder::codeRun(uint32_t b, size_t length) {
    size_t remaining = length;
    while (remaining > runLength_[b]) {
        const size_t matched = runLength_[b];
        current_ = runTop_[b];
        emitAndExtend(b);
        remaining -= matched;
    }
    uint32_t code = b;
    for (size_t k = 1; k < remaining; ++k) code = child_[code * 256u + b];
    current_ = static_cast<int>(code);
}

void LzwEncoder::add(const uint8_t* data, size_t size) {
    size_t i = 0;
    if (current_ < 0 && size > 0) current_ = data[0], i = 1;
    while (i < size) {
        const uint32_t next = data[i];
        if (const uint16_t code = child_[static_cast<uint32_t>(current_) * 256u + next]) {
            current_ = code;
            ++i;
            continue;
        }
        emitAndExtend(next);
        // A new string starts here: a long run of one byte value is coded at once.
        if (size - i >= kShortestRun && Load64(data + i) == Load64(data + i + 8) &&
            Load64(data + i) == next * 0x0101010101010101ull) {
            const size_t run = RunLength(data + i, size - i);
            codeRun(next, run);
            i += run;
        } else {
            ++i;
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

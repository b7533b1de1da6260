// The LZW encoder of TIFF page files: one strip's bytes in, the strip's compressed bytes out,
// readable by every TIFF LZW decoder (codes of 9 to 12 bits, most significant bit first, the
// width raised one code early, a Clear code first and when the table fills, End of
// Information last).
//
// The dictionary is a direct table (one slot per code and next byte), so a step costs one
// lookup instead of a hash probe, and runs of one byte value (the white or black margins of a
// scanned page) are coded without walking them byte by byte: the codes a run produces follow
// from the longest run of that byte the table holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace vellumo::imaging {

class LzwEncoder {
public:
    LzwEncoder();
    ~LzwEncoder();
    LzwEncoder(const LzwEncoder&) = delete;
    LzwEncoder& operator=(const LzwEncoder&) = delete;

    // Starts a strip whose codes are appended to out.
    void begin(std::vector<uint8_t>& out);
    // Adds the strip's next bytes; a strip may arrive in any number of pieces.
    void add(const uint8_t* data, size_t size);
    // Ends the strip: the pending string, End of Information and the last partial byte.
    void finish();

private:
    void resetTable();
    void put(uint32_t code);
    // Emits the current string and enters it extended by `next` into the table.
    void emitAndExtend(uint32_t next);
    // The current string is `matched` bytes of value b and `length` more of them follow.
    void continueRun(uint32_t b, size_t matched, size_t length);
    uint32_t runCode(uint32_t b, size_t length) const { return runCodes_[b * 4096 + length]; }

    std::unique_ptr<uint16_t[]> child_;     // [code * 256 + byte]: the extended string's code or 0
    std::unique_ptr<uint16_t[]> runCodes_;  // [byte * 4096 + n]: the code of n times that byte
    uint16_t parent_[4096];                 // what each entry extends, to clear only what was set
    uint8_t lastByte_[4096];
    uint16_t runOf_[4096];     // for a run of one byte value its length, else 0
    uint16_t runLength_[256];  // the longest run of each byte value in the table
    std::vector<uint8_t>* out_ = nullptr;
    uint64_t bits_ = 0;
    int bitCount_ = 0;
    uint32_t nextCode_ = 0;
    uint32_t maxCode_ = 0;
    int width_ = 9;
    int current_ = -1;  // the code of the string matched so far, -1 before the first byte
};

}  // namespace vellumo::imaging

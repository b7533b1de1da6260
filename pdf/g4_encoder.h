// CCITT group 4 (T.6) encoder for bilevel rows, as /CCITTFaxDecode with /K -1 reads it. Rows are
// packed bits, most significant bit first, 1 = black. The encoded bytes go to a sink in blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vellumo::pdf {

class G4Encoder {
public:
    using Sink = std::function<void(const uint8_t* data, size_t size)>;
    G4Encoder(int width, Sink sink);

    // Encodes one row of (width + 7) / 8 bytes; bits past the width are ignored.
    void encodeRow(const uint8_t* row);
    // Writes the end-of-block code and the last partial byte, then hands on what is left.
    void finish();

private:
    void loadRow(const uint8_t* row, std::vector<uint64_t>& words) const;
    int nextChange(const std::vector<uint64_t>& words, int from, int colour) const;
    void put(uint32_t code, int length);
    void putRun(int run, int colour);
    void flushBytes();

    int width_;
    Sink sink_;
    std::vector<uint64_t> coding_;
    std::vector<uint64_t> reference_;
    uint64_t bits_ = 0;  // pending bits, left-aligned count in bitCount_
    int bitCount_ = 0;
    std::vector<uint8_t> out_;
};

}  // namespace vellumo::pdf

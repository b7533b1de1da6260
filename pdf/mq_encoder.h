// The MQ arithmetic encoder of JBIG2 (and JPEG 2000): binary decisions coded in adaptive
// contexts. A context is one byte, its probability state index times two plus its more
// probable symbol, so that a coder's whole context table is a plain byte array.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellumo::pdf {

class MqEncoder {
public:
    // The coded bytes are appended to out.
    explicit MqEncoder(std::vector<uint8_t>& out) : out_(out) {}

    // Codes bit (0 or 1) in context; inline, since a page codes millions of them.
    void encode(unsigned bit, uint8_t& context) {
        const unsigned state = context;
        const uint32_t qe = kStates[state >> 1].qe;
        a_ -= qe;
        if (bit == (state & 1)) {
            if (a_ & 0x8000) {
                c_ += qe;
                return;
            }
            if (a_ < qe)
                a_ = qe;
            else
                c_ += qe;
            context = kStates[state >> 1].nextMps | (state & 1);
        } else {
            if (a_ < qe)
                c_ += qe;
            else
                a_ = qe;
            context = kStates[state >> 1].nextLps | ((state & 1) ^ kStates[state >> 1].swap);
        }
        renormalize();
    }

    // Ends the coded data, with the 0xFF 0xAC marker after it.
    void finish();

private:
    struct State {
        uint16_t qe;
        uint8_t nextMps;  // next index times two
        uint8_t nextLps;
        uint8_t swap;  // 1: an LPS in this state exchanges the MPS
    };
    static const State kStates[47];

    void renormalize() {
        do {
            a_ <<= 1;
            c_ <<= 1;
            if (--ct_ == 0) byteOut();
        } while ((a_ & 0x8000) == 0);
    }
    void byteOut();
    void emit(unsigned byte);

    std::vector<uint8_t>& out_;
    uint32_t a_ = 0x8000;
    uint32_t c_ = 0;
    int ct_ = 12;
    // The byte waiting for a possible carry; the first one is a dummy that is never written.
    unsigned b_ = 0;
    bool started_ = false;
};

}  // namespace vellumo::pdf

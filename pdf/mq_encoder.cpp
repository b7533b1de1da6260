#include "pdf/mq_encoder.h"

namespace vellumo::pdf {

// Qe, next index after an MPS and after an LPS (both times two), and the exchange flag.
#define S(qe, nmps, nlps, swap) \
    { qe, (nmps)*2, (nlps)*2, swap }
const MqEncoder::State MqEncoder::kStates[47] = {
    S(0x5601, 1, 1, 1),   S(0x3401, 2, 6, 0),   S(0x1801, 3, 9, 0),   S(0x0AC1, 4, 12, 0),
    S(0x0521, 5, 29, 0),  S(0x0221, 38, 33, 0), S(0x5601, 7, 6, 1),   S(0x5401, 8, 14, 0),
    S(0x4801, 9, 14, 0),  S(0x3801, 10, 14, 0), S(0x3001, 11, 17, 0), S(0x2401, 12, 18, 0),
    S(0x1C01, 13, 20, 0), S(0x1601, 29, 21, 0), S(0x5601, 15, 14, 1), S(0x5401, 16, 14, 0),
    S(0x5101, 17, 15, 0), S(0x4801, 18, 16, 0), S(0x3801, 19, 17, 0), S(0x3401, 20, 18, 0),
    S(0x3001, 21, 19, 0), S(0x2801, 22, 19, 0), S(0x2401, 23, 20, 0), S(0x2201, 24, 21, 0),
    S(0x1C01, 25, 22, 0), S(0x1801, 26, 23, 0), S(0x1601, 27, 24, 0), S(0x1401, 28, 25, 0),
    S(0x1201, 29, 26, 0), S(0x1101, 30, 27, 0), S(0x0AC1, 31, 28, 0), S(0x09C1, 32, 29, 0),
    S(0x08A1, 33, 30, 0), S(0x0521, 34, 31, 0), S(0x0441, 35, 32, 0), S(0x02A1, 36, 33, 0),
    S(0x0221, 37, 34, 0), S(0x0141, 38, 35, 0), S(0x0111, 39, 36, 0), S(0x0085, 40, 37, 0),
    S(0x0049, 41, 38, 0), S(0x0025, 42, 39, 0), S(0x0015, 43, 40, 0), S(0x0009, 44, 41, 0),
    S(0x0005, 45, 42, 0), S(0x0001, 45, 43, 0), S(0x5601, 46, 46, 0),
};
#undef S

void MqEncoder::emit(unsigned byte) {
    // The byte before the first one only takes a carry that cannot happen; it is not data.
    if (started_) out_.push_back(static_cast<uint8_t>(byte));
    started_ = true;
}

void MqEncoder::byteOut() {
    if (b_ == 0xFF) {
        // After 0xFF only seven bits go into a byte, so that no marker can appear.
        emit(b_);
        b_ = c_ >> 20;
        c_ &= 0xFFFFF;
        ct_ = 7;
        return;
    }
    if (c_ >= 0x8000000) {
        ++b_;  // the carry
        if (b_ == 0xFF) {
            c_ &= 0x7FFFFFF;
            emit(b_);
            b_ = c_ >> 20;
            c_ &= 0xFFFFF;
            ct_ = 7;
            return;
        }
    }
    emit(b_);
    b_ = c_ >> 19;
    c_ &= 0x7FFFF;
    ct_ = 8;
}

void MqEncoder::finish() {
    // The shortest value inside the final interval, then the marker.
    const uint32_t top = c_ + a_;
    c_ |= 0xFFFF;
    if (c_ >= top) c_ -= 0x8000;
    c_ <<= ct_;
    byteOut();
    c_ <<= ct_;
    byteOut();
    if (b_ != 0xFF) {
        emit(b_);
        b_ = 0xFF;
    }
    emit(b_);
    emit(0xAC);
}

}  // namespace vellumo::pdf

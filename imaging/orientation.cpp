#include "imaging/orientation.h"

#include <cstring>

namespace vellumo::imaging {

namespace {

// Each byte with its bits in the opposite order.
struct BitReversal {
    uint8_t table[256];
    constexpr BitReversal() : table() {
        for (int i = 0; i < 256; ++i) {
            int r = 0;
            for (int b = 0; b < 8; ++b)
                if (i & (1 << b)) r |= 0x80 >> b;
            table[i] = static_cast<uint8_t>(r);
        }
    }
};
constexpr BitReversal kReversed;

bool MirrorsRows(Orientation o) {
    return o == Orientation::TopRight || o == Orientation::BottomRight;
}
bool FlipsRows(Orientation o) {
    return o == Orientation::BottomRight || o == Orientation::BottomLeft;
}

// Writes row mirrored left to right into out (both `width` pixels of `bits` bits).
void MirrorRow(const uint8_t* row, uint32_t width, int bits, uint8_t* out) {
    if (bits == 8) {
        for (uint32_t x = 0; x < width; ++x) out[x] = row[width - 1 - x];
        return;
    }
    if (bits == 24) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* p = row + 3 * static_cast<size_t>(width - 1 - x);
            out[3 * x] = p[0];
            out[3 * x + 1] = p[1];
            out[3 * x + 2] = p[2];
        }
        return;
    }
    // Packed bits: reverse the bytes and the bits in them, then shift the padding back out.
    const size_t bytes = (width + 7) / 8;
    const unsigned pad = static_cast<unsigned>(bytes * 8 - width);
    for (size_t i = 0; i < bytes; ++i) out[i] = kReversed.table[row[bytes - 1 - i]];
    if (pad) {
        for (size_t i = 0; i < bytes; ++i) {
            const unsigned next = i + 1 < bytes ? out[i + 1] : 0u;
            out[i] = static_cast<uint8_t>((out[i] << pad) | (next >> (8 - pad)));
        }
    }
}

}  // namespace

Orientation OrientationFromTag(int value) {
    return value >= 1 && value <= 8 ? static_cast<Orientation>(value) : Orientation::TopLeft;
}

bool SwapsSides(Orientation orientation) {
    return static_cast<int>(orientation) >= 5;
}

void UprightSize(Orientation orientation, uint32_t storedWidth, uint32_t storedHeight,
                 uint32_t& width, uint32_t& height) {
    width = SwapsSides(orientation) ? storedHeight : storedWidth;
    height = SwapsSides(orientation) ? storedWidth : storedHeight;
}

int OrientedRowWriter::begin(ImageBuffer& image, uint32_t storedWidth, uint32_t storedHeight,
                             Orientation orientation) {
    uint32_t width, height;
    UprightSize(orientation, storedWidth, storedHeight, width, height);
    if (!image.header || !image.pixels || ImageWidth(image) != static_cast<int>(width) ||
        ImageHeight(image) != static_cast<int>(height))
        return kImgEmpty;
    const int bits = BitsPerPixel(image);
    if (bits != 1 && bits != 8 && bits != 24) return kImgBadDepth;
    image_ = &image;
    storedWidth_ = storedWidth;
    storedHeight_ = storedHeight;
    orientation_ = orientation;
    bits_ = bits;
    if (MirrorsRows(orientation)) scratch_.assign(RowBytesFor(storedWidth, bits) + 8, 0);
    return kImgOk;
}

void OrientedRowWriter::putRow(uint32_t y, const uint8_t* row) {
    if (y >= storedHeight_) return;
    if (SwapsSides(orientation_)) {
        putTurned(y, row);
        return;
    }
    uint8_t* target = RowPointer(*image_, FlipsRows(orientation_) ? storedHeight_ - 1 - y : y);
    const size_t bytes = bits_ == 1 ? (storedWidth_ + 7) / 8 : storedWidth_ * (bits_ / 8u);
    if (MirrorsRows(orientation_)) {
        MirrorRow(row, storedWidth_, bits_, scratch_.data());
        row = scratch_.data();
    }
    if (target != row) std::memcpy(target, row, bytes);
    if (bits_ == 1 && storedWidth_ % 8)
        target[bytes - 1] &= static_cast<uint8_t>(0xFF << (8 - storedWidth_ % 8));
}

// Stored row y becomes an upright column; stored column x an upright row.
void OrientedRowWriter::putTurned(uint32_t y, const uint8_t* row) {
    const Orientation o = orientation_;
    const uint32_t column =
        o == Orientation::LeftTop || o == Orientation::LeftBottom ? y : storedHeight_ - 1 - y;
    const bool downwards = o == Orientation::LeftTop || o == Orientation::RightTop;
    const uint32_t firstRow = downwards ? 0 : storedWidth_ - 1;
    // Rows are kept bottom-up: the next upright row down lies rowBytes lower in memory.
    const ptrdiff_t step = downwards ? -static_cast<ptrdiff_t>(image_->rowBytes)
                                     : static_cast<ptrdiff_t>(image_->rowBytes);
    uint8_t* p = RowPointer(*image_, firstRow);
    const uint32_t width = storedWidth_;
    if (bits_ == 8) {
        p += column;
        for (uint32_t x = 0; x < width; ++x, p += step) *p = row[x];
    } else if (bits_ == 24) {
        p += 3 * static_cast<size_t>(column);
        for (uint32_t x = 0; x < width; ++x, p += step) {
            p[0] = row[3 * x];
            p[1] = row[3 * x + 1];
            p[2] = row[3 * x + 2];
        }
    } else {
        p += column >> 3;
        const uint8_t mask = static_cast<uint8_t>(0x80 >> (column & 7));
        for (uint32_t x = 0; x < width; ++x, p += step) {
            const bool set = (row[x >> 3] >> (7 - (x & 7))) & 1;
            *p = static_cast<uint8_t>(set ? (*p | mask) : (*p & ~mask));
        }
    }
}

}  // namespace vellumo::imaging

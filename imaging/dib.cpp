#include "imaging/dib.h"

#include <cstring>
#include <vector>

#include "imaging/codec_common.h"

namespace vellumo::imaging {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

// Run-length data can describe at most this many output bytes per byte of input.
constexpr uint64_t kRleRatio = 1024;

uint16_t Get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// One channel of a bit-field pixel scaled to 0-255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (!mask) return;
        while (!((mask >> shift) & 1)) ++shift;
        max = mask >> shift;
    }
    uint8_t operator()(uint32_t pixel) const {
        if (!max) return 0;
        const uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint8_t>((v * 255 + max / 2) / max);
    }
};

bool IsGreyRamp16(const RgbQuad* table) {
    for (int i = 0; i < 16; ++i) {
        const uint8_t level = static_cast<uint8_t>(i * 17);
        if (table[i].rgbRed != level || table[i].rgbGreen != level || table[i].rgbBlue != level)
            return false;
    }
    return true;
}

// Decodes RLE4 or RLE8 data into 8-bit rows through a pixel map (index to stored value).
int DecodeRle(const uint8_t* data, size_t size, const DibLayout& layout, const uint8_t* map,
              ImageBuffer& image) {
    const bool four = layout.compression == kBiRle4;
    const uint32_t width = static_cast<uint32_t>(layout.width);
    const uint32_t height = static_cast<uint32_t>(layout.height);
    uint32_t x = 0, row = 0;  // row counts in storage order
    size_t pos = 0;
    auto put = [&](uint8_t index) {
        if (x < width && row < height) {
            const uint32_t imageRow = layout.topDown ? height - 1 - row : row;
            image.pixels[static_cast<size_t>(imageRow) * image.rowBytes + x] = map[index];
        }
        ++x;
    };
    while (true) {
        if (pos + 2 > size) {
            // Data that ends without its end marker is accepted only once every row is done.
            return row >= height ? kImgOk : kImgCorruptFile;
        }
        const uint8_t count = data[pos], value = data[pos + 1];
        pos += 2;
        if (count) {
            for (unsigned i = 0; i < count && x < width; ++i)
                put(four ? ((i & 1) ? (value & 15) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of bitmap
            return kImgOk;
        } else if (value == 2) {  // move right and up
            if (pos + 2 > size) return kImgCorruptFile;
            x += data[pos];
            row += data[pos + 1];
            pos += 2;
        } else {  // a literal run, padded to a 16-bit boundary
            const size_t bytes = four ? (value + 1u) / 2u : value;
            const size_t padded = (bytes + 1) & ~size_t{1};
            if (pos + padded > size) return kImgCorruptFile;
            for (unsigned i = 0; i < value; ++i) {
                const uint8_t b = data[pos + (four ? i / 2 : i)];
                put(four ? ((i & 1) ? (b & 15) : (b >> 4)) : b);
            }
            pos += padded;
        }
        if (row >= height && x == 0) {
            // Past the last row; anything further cannot land in the image.
            return kImgOk;
        }
    }
}

}  // namespace

int ParseDib(const uint8_t* data, size_t available, size_t total, long long bitsOffset,
             DibLayout& layout) {
    layout = DibLayout{};
    if (!data || available > total || available < 12) return kImgCorruptFile;
    const uint32_t headerSize = Get32(data);
    size_t maskBytes = 0;
    if (headerSize == 12) {
        // The old core header: 16-bit sizes, 3-byte colour entries, no compression.
        layout.width = Get16(data + 4);
        layout.height = Get16(data + 6);
        layout.fileBits = Get16(data + 10);
        layout.colourEntryBytes = 3;
    } else {
        if (headerSize < 40 || headerSize > 256 || headerSize > available) return kImgCorruptFile;
        const int32_t width = static_cast<int32_t>(Get32(data + 4));
        const int32_t height = static_cast<int32_t>(Get32(data + 8));
        if (width <= 0 || height == 0 || height == INT32_MIN) return kImgCorruptFile;
        layout.width = width;
        layout.height = height < 0 ? -height : height;
        layout.topDown = height < 0;
        layout.fileBits = Get16(data + 14);
        layout.compression = Get32(data + 16);
        layout.pelsPerMetreX = static_cast<int32_t>(Get32(data + 24));
        layout.pelsPerMetreY = static_cast<int32_t>(Get32(data + 28));
        const uint32_t used = Get32(data + 32);
        if (used > (1u << 16)) return kImgCorruptFile;
        layout.colourCount = static_cast<int>(used);
        if (layout.compression == kBiBitfields || layout.compression == kBiAlphaBitfields) {
            const uint8_t* masks = data + 40;
            if (headerSize < 52) {
                maskBytes = layout.compression == kBiAlphaBitfields ? 16 : 12;
                if (40 + maskBytes > available) return kImgCorruptFile;
            }
            layout.masks[0] = Get32(masks);
            layout.masks[1] = Get32(masks + 4);
            layout.masks[2] = Get32(masks + 8);
        }
    }
    const int bits = layout.fileBits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return kImgBadDepth;
    switch (layout.compression) {
        case kBiRgb:
            if (bits == 16) {
                layout.masks[0] = 0x7C00;
                layout.masks[1] = 0x03E0;
                layout.masks[2] = 0x001F;
            } else if (bits == 32) {
                layout.masks[0] = 0xFF0000;
                layout.masks[1] = 0x00FF00;
                layout.masks[2] = 0x0000FF;
            }
            break;
        case kBiRle8:
            if (bits != 8) return kImgCorruptFile;
            break;
        case kBiRle4:
            if (bits != 4) return kImgCorruptFile;
            break;
        case kBiBitfields:
        case kBiAlphaBitfields:
            if (bits != 16 && bits != 32) return kImgCorruptFile;
            break;
        default:
            return kImgUnsupportedFile;  // embedded JPEG or PNG, CMYK variants
    }
    if (bits <= 8 && layout.colourCount == 0) layout.colourCount = 1 << bits;
    layout.imageBits = bits == 1 ? 1 : bits <= 8 ? 8 : 24;
    layout.colourOffset = headerSize + maskBytes;
    const size_t tableEnd =
        layout.colourOffset + static_cast<size_t>(layout.colourCount) * layout.colourEntryBytes;
    if (bits <= 8 && tableEnd > total) return kImgCorruptFile;
    if (bitsOffset >= 0) {
        if (static_cast<unsigned long long>(bitsOffset) < layout.colourOffset ||
            static_cast<unsigned long long>(bitsOffset) > total)
            return kImgCorruptFile;
        layout.bitsOffset = static_cast<size_t>(bitsOffset);
    } else {
        layout.bitsOffset = tableEnd;
    }
    if (layout.bitsOffset > total) return kImgCorruptFile;
    if (!codec::AcceptableDimensions(static_cast<uint64_t>(layout.width),
                                     static_cast<uint64_t>(layout.height), layout.imageBits))
        return kImgNoMemory;
    const size_t dataBytes = total - layout.bitsOffset;
    const uint64_t rowBytes = RowBytesFor(static_cast<uint32_t>(layout.width), bits);
    if (layout.compression == kBiRle4 || layout.compression == kBiRle8) {
        if (!codec::PlausibleSize(rowBytes * layout.height, dataBytes, kRleRatio))
            return kImgCorruptFile;
    } else if (rowBytes * static_cast<uint64_t>(layout.height) > dataBytes) {
        return kImgCorruptFile;  // truncated pixel data
    }
    return kImgOk;
}

int DecodeDib(const uint8_t* data, size_t size, const DibLayout& layout, ImageBuffer& image) {
    if (int rc = codec::CheckLoadTarget(image, layout.width, layout.height, layout.imageBits))
        return rc;
    const int bits = layout.fileBits;
    const uint32_t width = static_cast<uint32_t>(layout.width);
    const uint32_t height = static_cast<uint32_t>(layout.height);

    // Colour table and the map from stored index to image value.
    uint8_t map[256];
    for (int i = 0; i < 256; ++i) map[i] = static_cast<uint8_t>(i);
    if (bits <= 8) {
        const int capacity = 1 << bits;
        const int count = layout.colourCount < capacity ? layout.colourCount : capacity;
        std::vector<RgbQuad> table(static_cast<size_t>(capacity), RgbQuad{0, 0, 0, 0});
        for (int i = 0; i < count; ++i) {
            const uint8_t* p =
                data + layout.colourOffset + static_cast<size_t>(i) * layout.colourEntryBytes;
            table[i] = RgbQuad{p[0], p[1], p[2], 0};
        }
        std::memset(image.palette, 0, sizeof(RgbQuad) * static_cast<size_t>(image.paletteSize));
        if (bits == 4 && IsGreyRamp16(table.data())) {
            // A 16-level grey image stays grey: its indices become the levels they stand for.
            for (int i = 0; i < 16; ++i) map[i] = static_cast<uint8_t>(i * 17);
            SetGreyRamp(image);
        } else {
            std::memcpy(image.palette, table.data(),
                        sizeof(RgbQuad) * static_cast<size_t>(capacity));
        }
        if (HasGreyRamp(image))
            image.imageFlags |= kImageFlagGrey;
        else
            image.imageFlags &= ~kImageFlagGrey;
    } else {
        image.imageFlags &= ~kImageFlagGrey;
    }
    image.header->biXPelsPerMeter = layout.pelsPerMetreX > 0 ? layout.pelsPerMetreX : 0;
    image.header->biYPelsPerMeter = layout.pelsPerMetreY > 0 ? layout.pelsPerMetreY : 0;

    const uint8_t* bitsData = data + layout.bitsOffset;
    const size_t bitsSize = size - layout.bitsOffset;
    if (layout.compression == kBiRle4 || layout.compression == kBiRle8) {
        std::memset(image.pixels, 0, static_cast<size_t>(image.rowBytes) * height);
        return DecodeRle(bitsData, bitsSize, layout, map, image);
    }

    const size_t srcRowBytes = RowBytesFor(width, bits);
    if (srcRowBytes * height > bitsSize) return kImgCorruptFile;
    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
    for (uint32_t r = 0; r < height; ++r) {
        const uint8_t* src = bitsData + static_cast<size_t>(r) * srcRowBytes;
        const uint32_t imageRow = layout.topDown ? height - 1 - r : r;
        uint8_t* dst = image.pixels + static_cast<size_t>(imageRow) * image.rowBytes;
        switch (bits) {
            case 1:
            case 8:
            case 24:
                std::memcpy(dst, src, srcRowBytes < image.rowBytes ? srcRowBytes : image.rowBytes);
                break;
            case 4:
                for (uint32_t x = 0; x < width; ++x)
                    dst[x] = map[(x & 1) ? (src[x / 2] & 15) : (src[x / 2] >> 4)];
                break;
            case 16:
            case 32:
                for (uint32_t x = 0; x < width; ++x) {
                    const uint32_t pixel = bits == 16 ? Get16(src + 2 * x) : Get32(src + 4 * x);
                    dst[3 * x] = blue(pixel);
                    dst[3 * x + 1] = green(pixel);
                    dst[3 * x + 2] = red(pixel);
                }
                break;
        }
        if (bits == 1 && width % 8) {
            // Keep the padding bits of the last byte clear.
            const size_t last = (width - 1) / 8;
            dst[last] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
        }
    }
    return kImgOk;
}

int DibToImage(const void* packedDib, size_t size, ImageBuffer& image) {
    std::memset(&image, 0, sizeof image);
    if (!packedDib) return kImgEmpty;
    const auto* data = static_cast<const uint8_t*>(packedDib);
    DibLayout layout;
    if (int rc = ParseDib(data, size, size, -1, layout)) return rc;
    if (int rc = AllocateImage(image, layout.width, layout.height, layout.imageBits)) return rc;
    if (int rc = DecodeDib(data, size, layout, image)) {
        FreeImage(image);
        return rc;
    }
    return kImgOk;
}

}  // namespace vellumo::imaging

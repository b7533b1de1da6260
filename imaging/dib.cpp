#include "imaging/dib.h"

#include <algorithm>
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
// OS/2 2.x headers give codes 3 and 4 other meanings.
constexpr uint32_t kOs2Huffman = 3;
constexpr uint32_t kOs2Rle24 = 4;
// A DIB recording this compression code means RLE24 (an OS/2 2.x bitmap).
constexpr uint32_t kRle24 = 0x100 + kOs2Rle24;

// Run-length data can describe at most this many output bytes per byte of input.
constexpr uint64_t kRleRatio = 1024;

int Damaged(const char* reason) {
    codec::NoteImageProblem(reason);
    return kImgCorruptFile;
}

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

// Where the pixel data comes from: a DIB in memory, or a BMP file read from front to back.
struct MemorySource {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    const uint8_t* take(size_t n) {
        if (n > size - pos) return nullptr;
        const uint8_t* at = data + pos;
        pos += n;
        return at;
    }
};

struct FileSource {
    codec::FileReader& reader;
    const uint8_t* take(size_t n) { return reader.take(n); }
};

// Decodes RLE4, RLE8 or RLE24 data into the image's rows (indices through a pixel map for the
// first two). Runs that would run past the end of their row, moves past the image and pixels
// below the last row are damage: the file is refused rather than shown partly.
template <class Source>
int DecodeRle(Source& source, const DibLayout& layout, const uint8_t* map, ImageBuffer& image) {
    const bool four = layout.compression == kBiRle4;
    const int pixelBytes = layout.compression == kRle24 ? 3 : 1;
    const uint32_t width = static_cast<uint32_t>(layout.width);
    // Writers (ImageMagick among them) also code the padding at the end of each stored row;
    // runs may fill it, but no further.
    const uint32_t stored = RowBytesFor(width, static_cast<uint32_t>(layout.fileBits));
    const uint32_t rowLimit = four ? stored * 2 : stored / pixelBytes;
    const uint32_t height = static_cast<uint32_t>(layout.height);
    uint32_t x = 0, row = 0;  // row counts in storage order
    auto target = [&]() {
        const uint32_t imageRow = layout.topDown ? height - 1 - row : row;
        return image.pixels + static_cast<size_t>(imageRow) * image.rowBytes +
               static_cast<size_t>(x) * pixelBytes;
    };
    while (true) {
        const uint8_t* pair = source.take(2);
        if (!pair) {
            // Data that ends without its end marker is accepted only once every row is done.
            return row >= height ? kImgOk : Damaged("the run-length data ends early");
        }
        const uint8_t count = pair[0], value = pair[1];
        if (count) {
            if (row >= height || count > rowLimit - x)
                return Damaged("the run-length data runs past the end of a row or the image");
            // What lands in the padding is dropped.
            const unsigned shown = x < width ? std::min<unsigned>(count, width - x) : 0;
            uint8_t* p = shown ? target() : nullptr;
            if (pixelBytes == 3) {
                const uint8_t* rest = source.take(2);
                if (!rest) return Damaged("the run-length data ends early");
                const uint8_t green = rest[0], red = rest[1];
                for (unsigned i = 0; i < shown; ++i, p += 3) {
                    p[0] = value;
                    p[1] = green;
                    p[2] = red;
                }
            } else {
                for (unsigned i = 0; i < shown; ++i)
                    p[i] = map[four ? ((i & 1) ? (value & 15) : (value >> 4)) : value];
            }
            x += count;
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of bitmap
            return kImgOk;
        } else if (value == 2) {  // move right and up
            const uint8_t* move = source.take(2);
            if (!move) return Damaged("the run-length data ends early");
            const uint32_t dx = move[0], dy = move[1];
            if (dx > rowLimit - x || dy > height - row)
                return Damaged("the run-length data moves past the edge of the image");
            x += dx;
            row += dy;
        } else {  // a literal run, padded to a 16-bit boundary
            const size_t bytes = four ? (value + 1u) / 2u : size_t{value} * pixelBytes;
            const size_t padded = (bytes + 1) & ~size_t{1};
            const uint8_t* literal = source.take(padded);
            if (!literal) return Damaged("the run-length data ends early");
            if (row >= height || value > rowLimit - x)
                return Damaged("the run-length data runs past the end of a row or the image");
            const unsigned shown = x < width ? std::min<unsigned>(value, width - x) : 0;
            uint8_t* p = shown ? target() : nullptr;
            if (pixelBytes == 3) {
                for (unsigned i = 0; i < shown; ++i) {
                    // Stored blue, green, red, as the image keeps them.
                    p[3 * i] = literal[3 * i];
                    p[3 * i + 1] = literal[3 * i + 1];
                    p[3 * i + 2] = literal[3 * i + 2];
                }
            } else {
                for (unsigned i = 0; i < shown; ++i) {
                    const uint8_t b = literal[four ? i / 2 : i];
                    p[i] = map[four ? ((i & 1) ? (b & 15) : (b >> 4)) : b];
                }
            }
            x += value;
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
    bool implicitTable = false;
    if (headerSize == 12) {
        // The old core header: 16-bit sizes, 3-byte colour entries, no compression.
        layout.width = Get16(data + 4);
        layout.height = Get16(data + 6);
        layout.fileBits = Get16(data + 10);
        layout.colourEntryBytes = 3;
        implicitTable = true;
    } else {
        if (headerSize < 16 || headerSize > 256 || headerSize > available) return kImgCorruptFile;
        // OS/2 2.x headers have 16 to 64 bytes; fields they leave out count as zero.
        layout.os2 = headerSize < 40 || headerSize == 64;
        uint8_t h[64] = {};
        std::memcpy(h, data, headerSize < sizeof h ? headerSize : sizeof h);
        const int32_t width = static_cast<int32_t>(Get32(h + 4));
        const int32_t height = static_cast<int32_t>(Get32(h + 8));
        if (width <= 0 || height == 0 || height == INT32_MIN) return kImgCorruptFile;
        layout.width = width;
        layout.height = height < 0 ? -height : height;
        layout.topDown = height < 0;
        layout.fileBits = Get16(h + 14);
        layout.compression = Get32(h + 16);
        layout.pelsPerMetreX = static_cast<int32_t>(Get32(h + 24));
        layout.pelsPerMetreY = static_cast<int32_t>(Get32(h + 28));
        const uint32_t used = Get32(h + 32);
        if (used > (1u << 16)) return kImgCorruptFile;
        layout.colourCount = static_cast<int>(used);
        implicitTable = used == 0;
        if (layout.os2 && layout.compression == kOs2Huffman) {
            // One-dimensional Huffman coding of fax images.
            codec::NoteImageProblem("OS/2 Huffman-coded bitmaps are not supported");
            return kImgUnsupportedFile;
        }
        if (layout.os2 && layout.compression == kOs2Rle24) layout.compression = kRle24;
        if (!layout.os2 &&
            (layout.compression == kBiBitfields || layout.compression == kBiAlphaBitfields)) {
            // The masks are part of a larger header, or follow a 40-byte one.
            const uint8_t* masks = data + 40;
            const size_t count =
                layout.compression == kBiAlphaBitfields || headerSize >= 56 ? 4 : 3;
            if (headerSize < 52) {
                maskBytes = 4 * count;
                if (40 + maskBytes > available) return kImgCorruptFile;
            }
            layout.masks[0] = Get32(masks);
            layout.masks[1] = Get32(masks + 4);
            layout.masks[2] = Get32(masks + 8);
            if (count == 4 && (headerSize >= 56 || headerSize < 52))
                layout.alphaMask = Get32(masks + 12);
        }
    }
    const int bits = layout.fileBits;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
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
        case kRle24:
            if (bits != 24) return kImgCorruptFile;
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
    // The colour table lies between the header and the pixels. A table the header only implies
    // is cut to what is there; one whose length the header states must fit.
    const size_t limit = bitsOffset >= 0 && static_cast<unsigned long long>(bitsOffset) <= total
                             ? static_cast<size_t>(bitsOffset)
                             : total;
    if (bits <= 8) {
        if (layout.colourOffset > limit) return kImgCorruptFile;
        const size_t room = (limit - layout.colourOffset) / layout.colourEntryBytes;
        if (static_cast<size_t>(layout.colourCount) > room) {
            if (!implicitTable || room == 0)
                return Damaged("the colour table runs past its bounds");
            layout.colourCount = static_cast<int>(room);
        }
    }
    const size_t tableEnd =
        layout.colourOffset + static_cast<size_t>(layout.colourCount) * layout.colourEntryBytes;
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
    if (layout.compression == kBiRle4 || layout.compression == kBiRle8 ||
        layout.compression == kRle24) {
        if (!codec::PlausibleSize(rowBytes * layout.height, dataBytes, kRleRatio))
            return kImgCorruptFile;
    } else if (rowBytes * static_cast<uint64_t>(layout.height) > dataBytes) {
        return Damaged("the pixel data is incomplete");
    }
    return kImgOk;
}

namespace {

// Copies the colour table (entries of layout.colourEntryBytes bytes, as many as the depth can
// index) and fills map, from stored index to image value. Indices past the table are black.
void ApplyColourTable(const uint8_t* entries, const DibLayout& layout, ImageBuffer& image,
                      uint8_t* map) {
    for (int i = 0; i < 256; ++i) map[i] = static_cast<uint8_t>(i);
    const int bits = layout.fileBits;
    if (bits <= 8) {
        const int capacity = 1 << bits;
        const int count = layout.colourCount < capacity ? layout.colourCount : capacity;
        std::vector<RgbQuad> table(static_cast<size_t>(capacity), RgbQuad{0, 0, 0, 0});
        for (int i = 0; i < count; ++i) {
            const uint8_t* p = entries + static_cast<size_t>(i) * layout.colourEntryBytes;
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
}

bool HasColourTable(const DibLayout& layout) {
    return layout.fileBits <= 8;
}

// Bytes of the colour table that are used.
size_t ColourTableBytes(const DibLayout& layout) {
    if (!HasColourTable(layout)) return 0;
    const int capacity = 1 << layout.fileBits;
    const int count = layout.colourCount < capacity ? layout.colourCount : capacity;
    return static_cast<size_t>(count) * layout.colourEntryBytes;
}

bool IsRunLength(const DibLayout& layout) {
    return layout.compression == kBiRle4 || layout.compression == kBiRle8 ||
           layout.compression == kRle24;
}

// True when an alpha mask is declared and some pixel is not wholly transparent: an alpha that
// is zero everywhere was left unset by its writer, and viewers show the colours.
template <class Source>
bool UsesAlpha(Source& source, const DibLayout& layout) {
    const int bits = layout.fileBits;
    if (layout.alphaMask == 0 || (bits != 16 && bits != 32)) return false;
    const uint32_t width = static_cast<uint32_t>(layout.width);
    const size_t srcRowBytes = RowBytesFor(width, static_cast<uint32_t>(bits));
    for (int r = 0; r < layout.height; ++r) {
        const uint8_t* src = source.take(srcRowBytes);
        if (!src) return false;
        for (uint32_t x = 0; x < width; ++x)
            if (((bits == 16 ? Get16(src + 2 * x) : Get32(src + 4 * x)) & layout.alphaMask) != 0)
                return true;
    }
    return false;
}

// The stored rows of an uncompressed DIB into the image.
template <class Source>
int DecodeRows(Source& source, const DibLayout& layout, const uint8_t* map, bool hasAlpha,
               ImageBuffer& image) {
    const int bits = layout.fileBits;
    const uint32_t width = static_cast<uint32_t>(layout.width);
    const uint32_t height = static_cast<uint32_t>(layout.height);
    const size_t srcRowBytes = RowBytesFor(width, static_cast<uint32_t>(bits));
    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
    const Channel alpha(layout.alphaMask);
    for (uint32_t r = 0; r < height; ++r) {
        const uint8_t* src = source.take(srcRowBytes);
        if (!src) return Damaged("the pixel data is incomplete");
        const uint32_t imageRow = layout.topDown ? height - 1 - r : r;
        uint8_t* dst = image.pixels + static_cast<size_t>(imageRow) * image.rowBytes;
        switch (bits) {
            case 1:
            case 8:
            case 24:
                std::memcpy(dst, src, srcRowBytes < image.rowBytes ? srcRowBytes : image.rowBytes);
                break;
            case 2:
                for (uint32_t x = 0; x < width; ++x)
                    dst[x] = map[(src[x / 4] >> (6 - 2 * (x & 3))) & 3];
                break;
            case 4:
                for (uint32_t x = 0; x < width; ++x)
                    dst[x] = map[(x & 1) ? (src[x / 2] & 15) : (src[x / 2] >> 4)];
                break;
            case 16:
            case 32:
                for (uint32_t x = 0; x < width; ++x) {
                    const uint32_t pixel = bits == 16 ? Get16(src + 2 * x) : Get32(src + 4 * x);
                    uint8_t b = blue(pixel), g = green(pixel), rr = red(pixel);
                    if (hasAlpha) {
                        const uint8_t a = alpha(pixel);
                        b = codec::OnWhite(b, a);
                        g = codec::OnWhite(g, a);
                        rr = codec::OnWhite(rr, a);
                    }
                    dst[3 * x] = b;
                    dst[3 * x + 1] = g;
                    dst[3 * x + 2] = rr;
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

}  // namespace

int DecodeDib(const uint8_t* data, size_t size, const DibLayout& layout, ImageBuffer& image) {
    if (int rc = codec::CheckLoadTarget(image, layout.width, layout.height, layout.imageBits))
        return rc;
    if (layout.bitsOffset > size || layout.colourOffset + ColourTableBytes(layout) > size)
        return Damaged("the file is incomplete");
    uint8_t map[256];
    ApplyColourTable(data + layout.colourOffset, layout, image, map);
    MemorySource pixels{data + layout.bitsOffset, size - layout.bitsOffset};
    if (IsRunLength(layout)) {
        std::memset(image.pixels, 0, static_cast<size_t>(image.rowBytes) * image.header->biHeight);
        return DecodeRle(pixels, layout, map, image);
    }
    MemorySource scan = pixels;
    return DecodeRows(pixels, layout, map, UsesAlpha(scan, layout), image);
}

int DecodeDibFile(codec::FileReader& file, uint64_t dibStart, const DibLayout& layout,
                  ImageBuffer& image) {
    if (int rc = codec::CheckLoadTarget(image, layout.width, layout.height, layout.imageBits))
        return rc;
    uint8_t map[256];
    const uint8_t* table = nullptr;
    if (HasColourTable(layout)) {
        if (!file.seek(dibStart + layout.colourOffset) ||
            !(table = file.take(ColourTableBytes(layout))))
            return Damaged("the colour table is incomplete");
    }
    const uint8_t none[4] = {};
    ApplyColourTable(table ? table : none, layout, image, map);
    const uint64_t pixels = dibStart + layout.bitsOffset;
    if (!file.seek(pixels)) return Damaged("the file is incomplete");
    FileSource source{file};
    if (IsRunLength(layout)) {
        std::memset(image.pixels, 0, static_cast<size_t>(image.rowBytes) * image.header->biHeight);
        return DecodeRle(source, layout, map, image);
    }
    const bool alpha = UsesAlpha(source, layout);
    if (!file.seek(pixels)) return Damaged("the file is incomplete");
    return DecodeRows(source, layout, map, alpha, image);
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

// Truevision TGA. Loads colour-mapped (8-bit indices), grey (8 bits, or 16 with alpha) and
// true-colour (15/16, 24 and 32 bits) images, raw or run-length encoded, with any of the four
// origins. Transparency (the attribute bits the header declares, unless the TGA 2.0 extension
// area says they are no alpha) is composed onto white; an alpha channel that is zero
// everywhere is taken as absent, as viewers do, since the writer left it unset. Saves 24-bit
// images only; option 0 writes raw pixels, option 1 run-length encodes them.
#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/codec_common.h"
#include "imaging/codecs.h"

namespace vellumo::imaging {

namespace {

constexpr size_t kHeaderBytes = 18;

uint16_t Get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
void Put16(uint8_t* p, unsigned v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

struct TgaLayout {
    int idLength = 0, mapType = 0, imageType = 0;
    int mapFirst = 0, mapLength = 0, mapEntryBits = 0;
    int width = 0, height = 0, pixelBits = 0;
    bool topDown = false, rightToLeft = false;
    bool encoded = false;
    int alphaBits = 0;  // attribute bits per pixel that hold transparency
    int imageBits = 0;
    size_t mapOffset = 0, pixelOffset = 0;
};

int ParseHeader(const uint8_t* h, size_t fileBytes, TgaLayout& l) {
    // The format has no signature: the header has to be consistent in every field.
    if (fileBytes < kHeaderBytes) return kImgNotThisFormat;
    l.idLength = h[0];
    l.mapType = h[1];
    l.imageType = h[2];
    l.mapFirst = Get16(h + 3);
    l.mapLength = Get16(h + 5);
    l.mapEntryBits = h[7];
    l.width = Get16(h + 12);
    l.height = Get16(h + 14);
    l.pixelBits = h[16];
    const uint8_t descriptor = h[17];
    l.topDown = descriptor & 0x20;
    l.rightToLeft = descriptor & 0x10;
    l.alphaBits = descriptor & 0x0F;
    if (descriptor & 0xC0) return kImgNotThisFormat;  // interleaving: never used
    if (l.mapType > 1) return kImgNotThisFormat;
    const int base = l.imageType & ~8;
    if (base < 1 || base > 3) return kImgNotThisFormat;
    l.encoded = l.imageType & 8;
    if (l.mapType == 1 && l.mapEntryBits != 15 && l.mapEntryBits != 16 && l.mapEntryBits != 24 &&
        l.mapEntryBits != 32)
        return kImgNotThisFormat;
    if (base == 1) {
        if (l.mapType != 1 || l.pixelBits != 8) return kImgNotThisFormat;
        l.imageBits = 8;
    } else if (base == 2) {
        if (l.pixelBits != 15 && l.pixelBits != 16 && l.pixelBits != 24 && l.pixelBits != 32)
            return kImgNotThisFormat;
        l.imageBits = 24;
    } else {
        // Grey, or grey and alpha.
        if (l.pixelBits != 8 && l.pixelBits != 16) return kImgNotThisFormat;
        l.imageBits = 8;
    }
    if (l.width == 0 || l.height == 0) return kImgNotThisFormat;
    const size_t mapBytes =
        l.mapType == 1 ? static_cast<size_t>(l.mapLength) * ((l.mapEntryBits + 7) / 8) : 0;
    l.mapOffset = kHeaderBytes + l.idLength;
    l.pixelOffset = l.mapOffset + mapBytes;
    if (l.pixelOffset > fileBytes) return kImgNotThisFormat;
    const size_t bytesPerPixel = (l.pixelBits + 7) / 8;
    const uint64_t pixels = uint64_t(l.width) * uint64_t(l.height);
    const uint64_t payload = fileBytes - l.pixelOffset;
    // Each run packet of 1 + bytesPerPixel bytes stands for at most 128 pixels.
    if (l.encoded ? pixels > payload * 128 : pixels * bytesPerPixel > payload)
        return kImgNotThisFormat;
    if (!codec::AcceptableDimensions(static_cast<uint64_t>(l.width),
                                     static_cast<uint64_t>(l.height), l.imageBits))
        return kImgNoMemory;
    return kImgOk;
}

// A colour entry or true-colour pixel of 2, 3 or 4 bytes as blue, green, red.
inline void ToBgr(const uint8_t* p, int bytes, uint8_t* out) {
    if (bytes == 2) {
        const unsigned v = Get16(p);
        const auto expand = [](unsigned c) { return static_cast<uint8_t>((c << 3) | (c >> 2)); };
        out[0] = expand(v & 31);
        out[1] = expand((v >> 5) & 31);
        out[2] = expand((v >> 10) & 31);
    } else {
        out[0] = p[0];
        out[1] = p[1];
        out[2] = p[2];
    }
}

}  // namespace

int InspectTga(const char* file, ImageFileInfo& info) {
    info = ImageFileInfo{};
    uint8_t header[kHeaderBytes];
    size_t got;
    long long total;
    if (int rc = codec::ReadFileHead(file, header, sizeof header, got, total)) return rc;
    if (got < kHeaderBytes || total < 0) return kImgNotThisFormat;
    TgaLayout layout;
    if (int rc = ParseHeader(header, static_cast<size_t>(total), layout)) return rc;
    info.width = layout.width;
    info.height = layout.height;
    info.bitsPerPixel = layout.imageBits;
    info.fileBitsPerSample = layout.pixelBits;
    info.fileSamplesPerPixel = layout.imageType & 2 ? 3 : 1;
    info.compression = layout.encoded ? 1 : 0;
    return kImgOk;
}

namespace {

// The TGA 2.0 extension area's attribute type says whether the attribute bits are alpha (3,
// or 4 premultiplied) or not (0 to 2). -1 when the file has no such area.
int AttributesType(codec::FileReader& file) {
    constexpr size_t kFooterBytes = 26;
    constexpr size_t kAttributesAt = 494;
    const uint64_t size = file.size();
    if (size < kHeaderBytes + kFooterBytes || !file.seek(size - kFooterBytes)) return -1;
    const uint8_t* footer = file.take(kFooterBytes);
    if (!footer || std::memcmp(footer + 8, "TRUEVISION-XFILE.\0", 18) != 0) return -1;
    const uint32_t offset =
        footer[0] | (footer[1] << 8) | (footer[2] << 16) | (static_cast<uint32_t>(footer[3]) << 24);
    if (offset < kHeaderBytes || uint64_t{offset} + kAttributesAt + 1 > size - kFooterBytes ||
        !file.seek(offset + kAttributesAt))
        return -1;
    const uint8_t* type = file.take(1);
    return type ? *type : -1;
}

// Walks the pixels in file order (packets may run on from one row into the next), handing
// each to visit(x, y, pixel) at its place in the upright image. 0, or kImgCorruptFile when the
// data ends early.
template <class Visit>
int WalkPixels(codec::FileReader& file, const TgaLayout& l, Visit visit) {
    const size_t bytes = static_cast<size_t>((l.pixelBits + 7) / 8);
    const uint32_t width = static_cast<uint32_t>(l.width), height = static_cast<uint32_t>(l.height);
    uint32_t packetLeft = 0;
    bool packetIsRun = false;
    uint8_t runPixel[4] = {};
    for (uint32_t r = 0; r < height; ++r) {
        const uint32_t y = l.topDown ? r : height - 1 - r;
        // Raw files come a row at a time.
        const uint8_t* raw = l.encoded ? nullptr : file.take(width * bytes);
        if (!l.encoded && !raw) return kImgCorruptFile;
        for (uint32_t i = 0; i < width; ++i) {
            const uint8_t* pixel;
            if (!l.encoded) {
                pixel = raw + i * bytes;
            } else {
                if (packetLeft == 0) {
                    const uint8_t* head = file.take(1);
                    if (!head) return kImgCorruptFile;
                    packetIsRun = *head & 0x80;
                    packetLeft = (*head & 0x7F) + 1u;
                    if (packetIsRun) {
                        const uint8_t* value = file.take(bytes);
                        if (!value) return kImgCorruptFile;
                        std::memcpy(runPixel, value, bytes);
                    }
                }
                if (packetIsRun) {
                    pixel = runPixel;
                } else {
                    pixel = file.take(bytes);
                    if (!pixel) return kImgCorruptFile;
                }
                --packetLeft;
            }
            visit(l.rightToLeft ? width - 1 - i : i, y, pixel);
        }
    }
    return kImgOk;
}

}  // namespace

int LoadTga(const char* file, ImageBuffer& image) {
    if (!image.header) return kImgEmpty;
    // The header and the colour map from the front of the file; the pixels are read as they
    // are decoded.
    codec::FileReader reader;
    if (int rc = reader.open(file)) return rc;
    const uint8_t* header = reader.take(kHeaderBytes);
    if (!header) return kImgNotThisFormat;
    TgaLayout l;
    if (int rc = ParseHeader(header, static_cast<size_t>(reader.size()), l)) return rc;
    if (int rc = codec::CheckLoadTarget(image, l.width, l.height, l.imageBits)) return rc;
    const int base = l.imageType & ~8;
    // Which attribute bits are transparency.
    const int attributes = AttributesType(reader);
    const bool alphaDeclared = attributes < 0 ? l.alphaBits > 0 : attributes >= 3;
    const bool premultiplied = attributes == 4;
    const bool pixelAlpha = alphaDeclared && base != 1 &&
                            ((l.pixelBits == 32 && l.alphaBits >= 8) ||
                             (l.pixelBits == 16 && (base == 3 || l.alphaBits == 1)));
    if (base == 1) {
        std::memset(image.palette, 0, sizeof(RgbQuad) * 256);
        const int entryBytes = (l.mapEntryBits + 7) / 8;
        const bool entryAlpha = alphaDeclared && l.mapEntryBits == 32;
        const uint8_t* map = reader.seek(l.mapOffset)
                                 ? reader.take(static_cast<size_t>(l.mapLength) * entryBytes)
                                 : nullptr;
        if (!map) return kImgCorruptFile;
        for (int i = 0; i < l.mapLength; ++i) {
            const int index = l.mapFirst + i;
            if (index >= 256) break;
            const uint8_t* entry = map + static_cast<size_t>(i) * entryBytes;
            uint8_t bgr[3];
            ToBgr(entry, entryBytes, bgr);
            if (entryAlpha)
                for (uint8_t& c : bgr) c = codec::OnWhite(c, entry[3]);
            image.palette[index] = RgbQuad{bgr[0], bgr[1], bgr[2], 0};
        }
        if (HasGreyRamp(image))
            image.imageFlags |= kImageFlagGrey;
        else
            image.imageFlags &= ~kImageFlagGrey;
    } else if (base == 3) {
        SetGreyRamp(image);
    } else {
        image.imageFlags &= ~kImageFlagGrey;
    }
    image.header->biXPelsPerMeter = 0;
    image.header->biYPelsPerMeter = 0;

    const int bytes = (l.pixelBits + 7) / 8;
    auto alphaOf = [&](const uint8_t* pixel) -> unsigned {
        if (l.pixelBits == 32 || base == 3) return pixel[bytes - 1];
        return (pixel[1] & 0x80) ? 255u : 0u;
    };
    // An alpha channel that is zero everywhere was left unset by its writer: a first walk
    // finds out, so that the picture needs no second buffer.
    bool useAlpha = false;
    if (pixelAlpha) {
        if (!reader.seek(l.pixelOffset)) return kImgCorruptFile;
        WalkPixels(reader, l, [&](uint32_t, uint32_t, const uint8_t* pixel) {
            useAlpha |= alphaOf(pixel) != 0;
        });
    }
    if (!reader.seek(l.pixelOffset)) return kImgCorruptFile;
    return WalkPixels(reader, l, [&](uint32_t x, uint32_t y, const uint8_t* pixel) {
        uint8_t* row = RowPointer(image, y);
        const unsigned a = useAlpha ? alphaOf(pixel) : 255u;
        auto shown = [&](unsigned v) -> uint8_t {
            if (a == 255) return static_cast<uint8_t>(v);
            if (premultiplied) return static_cast<uint8_t>(std::min(255u, v + 255u - a));
            return codec::OnWhite(v, a);
        };
        if (l.imageBits == 8) {
            uint8_t value = pixel[0];
            if (base == 1) {
                const int index = value - l.mapFirst;
                value = index >= 0 && index < l.mapLength && index + l.mapFirst < 256
                            ? static_cast<uint8_t>(index + l.mapFirst)
                            : 0;
            }
            row[x] = base == 3 ? shown(value) : value;
        } else {
            uint8_t* out = row + 3 * static_cast<size_t>(x);
            ToBgr(pixel, bytes, out);
            out[0] = shown(out[0]);
            out[1] = shown(out[1]);
            out[2] = shown(out[2]);
        }
    });
}

int SaveTga(const char* file, const ImageBuffer& image, int option) {
    if (int rc = codec::CheckSaveSource(image)) return rc;
    if (BitsPerPixel(image) != 24) return kImgBadDepth;
    if (option != 0 && option != 1) return kImgUnsupportedOption;
    const uint32_t width = AreaWidth(image), height = AreaHeight(image);
    if (width > 65535 || height > 65535) return kImgTooLarge;

    uint8_t header[kHeaderBytes] = {};
    header[2] = option == 1 ? 10 : 2;
    Put16(header + 12, width);
    Put16(header + 14, height);
    header[16] = 24;
    header[17] = 0;  // bottom-left origin, the order the rows are kept in

    codec::OutputFile out;
    if (int rc = out.open(file)) return rc;
    out.write(header, sizeof header);
    std::vector<uint8_t> packed;
    packed.reserve(static_cast<size_t>(width) * 4 + 4);
    for (uint32_t i = 0; i < height && out.ok(); ++i) {
        const uint32_t y = height - 1 - i;
        const uint8_t* row =
            RowPointer(image, image.areaTop + y) + 3 * static_cast<size_t>(image.areaLeft);
        if (option == 0) {
            out.write(row, static_cast<size_t>(width) * 3);
            continue;
        }
        // Run packets for repeats, raw packets for the rest; packets stay inside the row.
        packed.clear();
        uint32_t x = 0;
        while (x < width) {
            uint32_t run = 1;
            while (x + run < width && run < 128 &&
                   std::memcmp(row + 3 * (x + run), row + 3 * x, 3) == 0)
                ++run;
            if (run >= 2) {
                packed.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
                packed.insert(packed.end(), row + 3 * x, row + 3 * x + 3);
                x += run;
                continue;
            }
            uint32_t raw = 1;
            while (x + raw < width && raw < 128 &&
                   !(x + raw + 1 < width &&
                     std::memcmp(row + 3 * (x + raw), row + 3 * (x + raw + 1), 3) == 0))
                ++raw;
            packed.push_back(static_cast<uint8_t>(raw - 1));
            packed.insert(packed.end(), row + 3 * x, row + 3 * (x + raw));
            x += raw;
        }
        out.write(packed.data(), packed.size());
    }
    return out.commit();
}

}  // namespace vellumo::imaging

// Truevision TGA. Loads colour-mapped (8-bit indices), grey (8-bit) and true-colour (15/16,
// 24 and 32 bits; the attribute channel is ignored) images, raw or run-length encoded, with
// any of the four origins. Saves 24-bit images only; option 0 writes raw pixels, option 1
// run-length encodes them.
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
        if (l.pixelBits != 8) return kImgNotThisFormat;
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

int LoadTga(const char* file, ImageBuffer& image) {
    if (!image.header) return kImgEmpty;
    std::vector<uint8_t> data;
    if (int rc = codec::ReadWholeFile(file, data)) return rc;
    TgaLayout l;
    if (int rc = ParseHeader(data.data(), data.size(), l)) return rc;
    if (int rc = codec::CheckLoadTarget(image, l.width, l.height, l.imageBits)) return rc;
    const int base = l.imageType & ~8;
    if (base == 1) {
        std::memset(image.palette, 0, sizeof(RgbQuad) * 256);
        const int entryBytes = (l.mapEntryBits + 7) / 8;
        for (int i = 0; i < l.mapLength; ++i) {
            const int index = l.mapFirst + i;
            if (index >= 256) break;
            uint8_t bgr[3];
            ToBgr(data.data() + l.mapOffset + static_cast<size_t>(i) * entryBytes, entryBytes, bgr);
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
    const uint8_t* src = data.data() + l.pixelOffset;
    const uint8_t* end = data.data() + data.size();
    const uint32_t width = static_cast<uint32_t>(l.width), height = static_cast<uint32_t>(l.height);
    // Pixels in file order; packets may run on from one row into the next.
    uint32_t packetLeft = 0;
    bool packetIsRun = false;
    const uint8_t* runPixel = nullptr;
    for (uint32_t r = 0; r < height; ++r) {
        const uint32_t y = l.topDown ? r : height - 1 - r;
        uint8_t* row = RowPointer(image, y);
        for (uint32_t i = 0; i < width; ++i) {
            const uint8_t* pixel;
            if (!l.encoded) {
                pixel = src;
                src += bytes;
            } else {
                if (packetLeft == 0) {
                    if (src >= end) return kImgCorruptFile;
                    const uint8_t head = *src++;
                    packetIsRun = head & 0x80;
                    packetLeft = (head & 0x7F) + 1u;
                    if (packetIsRun) {
                        if (end - src < bytes) return kImgCorruptFile;
                        runPixel = src;
                        src += bytes;
                    }
                }
                if (packetIsRun) {
                    pixel = runPixel;
                } else {
                    if (end - src < bytes) return kImgCorruptFile;
                    pixel = src;
                    src += bytes;
                }
                --packetLeft;
            }
            const uint32_t x = l.rightToLeft ? width - 1 - i : i;
            if (l.imageBits == 8) {
                uint8_t value = pixel[0];
                if (base == 1) {
                    const int index = value - l.mapFirst;
                    value = index >= 0 && index < l.mapLength && index + l.mapFirst < 256
                                ? static_cast<uint8_t>(index + l.mapFirst)
                                : 0;
                }
                row[x] = value;
            } else {
                ToBgr(pixel, bytes, row + 3 * static_cast<size_t>(x));
            }
        }
    }
    return kImgOk;
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

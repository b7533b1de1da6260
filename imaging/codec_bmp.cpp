// BMP files: a 14-byte file header in front of a DIB. Loading goes through the DIB decoder;
// saving writes an uncompressed DIB of the working area (1, 8 or 24 bits; 16- and 32-bit
// images are written as 24-bit).
#include <cstring>
#include <vector>

#include "imaging/codec_common.h"
#include "imaging/codecs.h"
#include "imaging/dib.h"

namespace vellumo::imaging {

namespace {

constexpr size_t kFileHeaderBytes = 14;
// Enough of the file for any header variant and its bit-field masks.
constexpr size_t kHeadBytes = kFileHeaderBytes + 256 + 16;

uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Parses the file header and the DIB header from the first bytes of a file of `total` bytes.
int ParseBmp(const uint8_t* head, size_t available, size_t total, DibLayout& layout) {
    if (available < kFileHeaderBytes + 12 || head[0] != 'B' || head[1] != 'M')
        return kImgNotThisFormat;
    const uint32_t offBits = Get32(head + 10);
    // Some writers leave the offset zero; the rows then follow the colour table.
    const long long bitsOffset =
        offBits >= kFileHeaderBytes ? static_cast<long long>(offBits - kFileHeaderBytes) : -1;
    return ParseDib(head + kFileHeaderBytes, available - kFileHeaderBytes, total - kFileHeaderBytes,
                    bitsOffset, layout);
}

}  // namespace

int InspectBmp(const char* file, ImageFileInfo& info) {
    info = ImageFileInfo{};
    uint8_t head[kHeadBytes];
    size_t got;
    long long total;
    if (int rc = codec::ReadFileHead(file, head, sizeof head, got, total)) return rc;
    if (total < 0) return kImgCannotOpen;
    DibLayout layout;
    if (int rc = ParseBmp(head, got, static_cast<size_t>(total), layout)) return rc;
    info.width = layout.width;
    info.height = layout.height;
    info.bitsPerPixel = layout.imageBits;
    info.dpiX = codec::DpiFromPelsPerMetre(layout.pelsPerMetreX);
    info.dpiY = codec::DpiFromPelsPerMetre(layout.pelsPerMetreY);
    info.fileBitsPerSample = layout.fileBits;
    info.fileSamplesPerPixel = 1;
    info.compression = static_cast<int>(layout.compression);
    return kImgOk;
}

int LoadBmp(const char* file, ImageBuffer& image) {
    // The headers from the front of the file; the rows are read as they are decoded.
    codec::FileReader reader;
    if (int rc = reader.open(file)) return rc;
    const size_t available =
        reader.size() < kHeadBytes ? static_cast<size_t>(reader.size()) : kHeadBytes;
    const uint8_t* head = reader.take(available);
    if (!head) return kImgCorruptFile;
    DibLayout layout;
    if (int rc = ParseBmp(head, available, static_cast<size_t>(reader.size()), layout)) return rc;
    return DecodeDibFile(reader, kFileHeaderBytes, layout, image);
}

int SaveBmp(const char* file, const ImageBuffer& image, int option) {
    if (option != 0) return kImgUnsupportedOption;
    if (int rc = codec::CheckSaveSource(image)) return rc;
    const int bits = BitsPerPixel(image) > 8 ? 24 : BitsPerPixel(image);
    const uint32_t width = AreaWidth(image), height = AreaHeight(image);
    const uint32_t rowBytes = RowBytesFor(width, static_cast<uint32_t>(bits));
    const uint32_t colours = bits <= 8 ? (1u << bits) : 0u;
    const uint64_t offBits = kFileHeaderBytes + 40 + 4ull * colours;
    const uint64_t fileBytes = offBits + static_cast<uint64_t>(rowBytes) * height;
    if (fileBytes > 0xFFFFFFFFull) return kImgTooLarge;

    uint8_t head[kFileHeaderBytes + 40] = {};
    head[0] = 'B';
    head[1] = 'M';
    Put32(head + 2, static_cast<uint32_t>(fileBytes));
    Put32(head + 10, static_cast<uint32_t>(offBits));
    uint8_t* info = head + kFileHeaderBytes;
    Put32(info, 40);
    Put32(info + 4, width);
    Put32(info + 8, height);
    Put16(info + 12, 1);
    Put16(info + 14, static_cast<uint32_t>(bits));
    Put32(info + 16, 0);
    Put32(info + 20, rowBytes * height);
    Put32(info + 24, static_cast<uint32_t>(image.header->biXPelsPerMeter));
    Put32(info + 28, static_cast<uint32_t>(image.header->biYPelsPerMeter));
    Put32(info + 32, colours);
    Put32(info + 36, colours);

    codec::OutputFile out;
    if (int rc = out.open(file)) return rc;
    out.write(head, sizeof head);
    if (colours) {
        std::vector<RgbQuad> table(colours, RgbQuad{0, 0, 0, 0});
        for (uint32_t i = 0; i < colours && i < static_cast<uint32_t>(image.paletteSize); ++i) {
            table[i] = image.palette[i];
            table[i].rgbReserved = 0;
        }
        out.write(table.data(), sizeof(RgbQuad) * colours);
    }
    std::vector<uint8_t> row(rowBytes, 0);
    // Rows bottom-up, as the format stores them.
    for (uint32_t i = 0; i < height && out.ok(); ++i) {
        const uint32_t y = height - 1 - i;
        std::memset(row.data(), 0, row.size());
        if (bits == 1)
            codec::AreaRowBits(image, y, row.data());
        else if (bits == 8)
            std::memcpy(row.data(), RowPointer(image, image.areaTop + y) + image.areaLeft, width);
        else
            codec::AreaRowToBgr(image, y, row.data());
        out.write(row.data(), row.size());
    }
    return out.commit();
}

}  // namespace vellumo::imaging

// PCX (ZSoft) files, run-length encoded. Loads the CGA and EGA layouts of 1 to 4 bits per pixel
// (1, 2 or 4 bits packed in one plane, or 1-bit planes; two colours stay 1-bit, more become an
// 8-bit palette image) through the header's 16-colour table, or the standard EGA colours when
// that table holds a single colour; 8-bit (with the 256-colour table at the end of the file,
// or grey without it); 24-bit (three 8-bit planes) and 32-bit (a fourth plane of alpha,
// composed onto white). Saves 1, 8 and 24 bits.
#include <cstring>
#include <vector>

#include "imaging/codec_common.h"
#include "imaging/codecs.h"

namespace vellumo::imaging {

namespace {

constexpr size_t kHeaderBytes = 128;
constexpr size_t kVgaPaletteBytes = 769;  // 0x0C and 256 RGB triplets
// A run byte pair stands for at most 63 bytes.
constexpr uint64_t kRleExpansion = 32;

uint16_t Get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
void Put16(uint8_t* p, unsigned v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

// The EGA colours that files with an empty header palette mean.
constexpr uint8_t kStandardColours[16][3] = {
    {0, 0, 0},     {255, 255, 255}, {0, 170, 0},    {0, 170, 170},  {170, 0, 0},   {170, 0, 170},
    {170, 170, 0}, {170, 170, 170}, {85, 85, 85},   {85, 85, 255},  {85, 255, 85}, {85, 255, 255},
    {255, 85, 85}, {255, 85, 255},  {255, 255, 85}, {255, 255, 255}};

struct PcxLayout {
    int width = 0, height = 0;
    int bitsPerPlane = 0, planes = 0;
    bool indexed = false;  // 1 to 4 bits per pixel through the header's colour table
    size_t bytesPerLine = 0;
    bool encoded = true;
    int imageBits = 0;
    int dpiX = 0, dpiY = 0;
    int version = 0;
};

int ParseHeader(const uint8_t* h, size_t fileBytes, PcxLayout& l) {
    if (fileBytes < kHeaderBytes || h[0] != 0x0A) return kImgNotThisFormat;
    l.version = h[1];
    if (l.version != 0 && l.version != 2 && l.version != 3 && l.version != 4 && l.version != 5)
        return kImgNotThisFormat;
    if (h[2] > 1) return kImgNotThisFormat;
    l.encoded = h[2] == 1;
    l.bitsPerPlane = h[3];
    const int xmin = Get16(h + 4), ymin = Get16(h + 6), xmax = Get16(h + 8), ymax = Get16(h + 10);
    l.dpiX = Get16(h + 12);
    l.dpiY = Get16(h + 14);
    l.planes = h[65];
    l.bytesPerLine = Get16(h + 66);
    if (xmax < xmin || ymax < ymin) return kImgCorruptFile;
    l.width = xmax - xmin + 1;
    l.height = ymax - ymin + 1;
    // Some writers (netpbm among them) put the image size where the resolution belongs.
    if (l.dpiX == l.width && l.dpiY == l.height) l.dpiX = l.dpiY = 0;
    const int indexBits = l.bitsPerPlane * l.planes;
    const bool lowDepth = l.bitsPerPlane == 1 || l.bitsPerPlane == 2 || l.bitsPerPlane == 4;
    if (lowDepth && l.planes >= 1 && indexBits <= 4) {
        l.indexed = true;
        l.imageBits = indexBits == 1 ? 1 : 8;
    } else if (l.bitsPerPlane == 8 && l.planes == 1)
        l.imageBits = 8;
    else if (l.bitsPerPlane == 8 && (l.planes == 3 || l.planes == 4))
        l.imageBits = 24;
    else
        return kImgUnsupportedFile;
    if (l.bytesPerLine * 8 < static_cast<size_t>(l.width) * l.bitsPerPlane) return kImgCorruptFile;
    if (!codec::AcceptableDimensions(static_cast<uint64_t>(l.width),
                                     static_cast<uint64_t>(l.height), l.imageBits))
        return kImgNoMemory;
    const uint64_t decoded = uint64_t{l.bytesPerLine} * l.planes * static_cast<uint64_t>(l.height);
    const uint64_t payload = fileBytes - kHeaderBytes;
    if (l.encoded ? !codec::PlausibleSize(decoded, payload, kRleExpansion) : decoded > payload)
        return kImgCorruptFile;
    return kImgOk;
}

// The 256-colour table that version 5 files keep at their end, copied into table.
bool ReadVgaPalette(codec::FileReader& file, uint8_t* table) {
    if (file.size() < kHeaderBytes + kVgaPaletteBytes || !file.seek(file.size() - kVgaPaletteBytes))
        return false;
    const uint8_t* p = file.take(kVgaPaletteBytes);
    if (!p || p[0] != 0x0C) return false;
    std::memcpy(table, p + 1, kVgaPaletteBytes - 1);
    return true;
}

}  // namespace

int InspectPcx(const char* file, ImageFileInfo& info) {
    info = ImageFileInfo{};
    uint8_t header[kHeaderBytes];
    size_t got;
    long long total;
    if (int rc = codec::ReadFileHead(file, header, sizeof header, got, total)) return rc;
    if (got < kHeaderBytes || total < 0) return kImgNotThisFormat;
    PcxLayout layout;
    if (int rc = ParseHeader(header, static_cast<size_t>(total), layout)) return rc;
    info.width = layout.width;
    info.height = layout.height;
    info.bitsPerPixel = layout.imageBits;
    info.dpiX = layout.dpiX;
    info.dpiY = layout.dpiY;
    info.fileBitsPerSample = layout.bitsPerPlane;
    info.fileSamplesPerPixel = layout.planes;
    info.compression = layout.encoded ? 1 : 0;
    return kImgOk;
}

int LoadPcx(const char* file, ImageBuffer& image) {
    if (!image.header) return kImgEmpty;
    // The header and the colour table from the file; the lines are read as they are decoded.
    codec::FileReader reader;
    if (int rc = reader.open(file)) return rc;
    uint8_t head[kHeaderBytes];
    const uint8_t* front = reader.take(kHeaderBytes);
    if (!front) return kImgNotThisFormat;
    std::memcpy(head, front, kHeaderBytes);
    PcxLayout l;
    if (int rc = ParseHeader(head, static_cast<size_t>(reader.size()), l)) return rc;
    if (int rc = codec::CheckLoadTarget(image, l.width, l.height, l.imageBits)) return rc;

    // Colour table.
    uint8_t vgaTable[kVgaPaletteBytes - 1];
    const uint8_t* vga = l.bitsPerPlane == 8 && l.planes == 1 && ReadVgaPalette(reader, vgaTable)
                             ? vgaTable
                             : nullptr;
    // The coded lines lie between the header and the table at the end.
    uint64_t dataLeft = reader.size() - kHeaderBytes - (vga ? kVgaPaletteBytes : 0);
    if (!reader.seek(kHeaderBytes)) return kImgCorruptFile;
    if (l.indexed) {
        // The header's table, unless every colour an index can reach is the same one.
        const int colours = 1 << (l.bitsPerPlane * l.planes);
        const uint8_t* header = head + 16;
        bool oneColour = true;
        for (int i = 1; i < colours; ++i)
            if (std::memcmp(header + 3 * i, header, 3) != 0) oneColour = false;
        std::memset(image.palette, 0, sizeof(RgbQuad) * static_cast<size_t>(image.paletteSize));
        for (int i = 0; i < colours && i < image.paletteSize; ++i) {
            const uint8_t* c = oneColour ? kStandardColours[i] : header + 3 * i;
            image.palette[i] = RgbQuad{c[2], c[1], c[0], 0};
        }
        if (HasGreyRamp(image))
            image.imageFlags |= kImageFlagGrey;
        else
            image.imageFlags &= ~kImageFlagGrey;
    } else if (l.imageBits == 8) {
        std::memset(image.palette, 0, sizeof(RgbQuad) * 256);
        if (vga) {
            for (int i = 0; i < 256; ++i)
                image.palette[i] = RgbQuad{vga[3 * i + 2], vga[3 * i + 1], vga[3 * i], 0};
        } else {
            SetGreyRamp(image);
        }
        if (HasGreyRamp(image))
            image.imageFlags |= kImageFlagGrey;
        else
            image.imageFlags &= ~kImageFlagGrey;
    } else {
        image.imageFlags &= ~kImageFlagGrey;
    }
    SetImageDpi(image, l.dpiX, l.dpiY);

    // Decode the plane lines. Runs may cross line ends, so the data is one stream.
    const size_t lineBytes = l.bytesPerLine * static_cast<size_t>(l.planes);
    std::vector<uint8_t> line(lineBytes);
    uint8_t runValue = 0;
    size_t runLeft = 0;
    // The next coded byte, or -1 at the end of the coded data.
    auto next = [&]() -> int {
        if (dataLeft == 0) return -1;
        const uint8_t* b = reader.take(1);
        if (!b) return -1;
        --dataLeft;
        return *b;
    };
    const uint32_t width = static_cast<uint32_t>(l.width);
    for (int y = 0; y < l.height; ++y) {
        if (l.encoded) {
            for (size_t i = 0; i < lineBytes;) {
                if (runLeft == 0) {
                    const int b = next();
                    if (b < 0) return kImgCorruptFile;
                    if ((b & 0xC0) == 0xC0) {
                        const int value = next();
                        if (value < 0) return kImgCorruptFile;
                        runLeft = b & 0x3F;
                        runValue = static_cast<uint8_t>(value);
                        if (runLeft == 0) continue;  // an empty run: nothing to emit
                    } else {
                        runLeft = 1;
                        runValue = static_cast<uint8_t>(b);
                    }
                }
                line[i++] = runValue;
                --runLeft;
            }
        } else {
            const uint8_t* raw = lineBytes <= dataLeft ? reader.take(lineBytes) : nullptr;
            if (!raw) return kImgCorruptFile;
            std::memcpy(line.data(), raw, lineBytes);
            dataLeft -= lineBytes;
        }
        uint8_t* row = RowPointer(image, static_cast<uint32_t>(y));
        const uint8_t* plane0 = line.data();
        if (l.imageBits == 1) {
            std::memcpy(row, plane0, (width + 7) / 8);
            if (width % 8) row[(width - 1) / 8] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
        } else if (l.indexed) {
            // Each plane gives the next bits of the index, the first plane the lowest.
            const unsigned bits = static_cast<unsigned>(l.bitsPerPlane);
            const unsigned mask = (1u << bits) - 1;
            for (uint32_t x = 0; x < width; ++x) {
                const size_t bit = static_cast<size_t>(x) * bits;
                const unsigned shift = static_cast<unsigned>(8 - bits - bit % 8);
                unsigned v = 0;
                for (int p = 0; p < l.planes; ++p)
                    v |= ((line[p * l.bytesPerLine + bit / 8] >> shift) & mask) << (p * bits);
                row[x] = static_cast<uint8_t>(v);
            }
        } else if (l.imageBits == 8) {
            std::memcpy(row, plane0, width);
        } else {
            const uint8_t* red = plane0;
            const uint8_t* green = plane0 + l.bytesPerLine;
            const uint8_t* blue = plane0 + 2 * l.bytesPerLine;
            // A fourth plane is alpha: what shows through is white.
            const uint8_t* alpha = l.planes == 4 ? plane0 + 3 * l.bytesPerLine : nullptr;
            for (uint32_t x = 0; x < width; ++x) {
                const unsigned a = alpha ? alpha[x] : 255u;
                row[3 * x] = codec::OnWhite(blue[x], a);
                row[3 * x + 1] = codec::OnWhite(green[x], a);
                row[3 * x + 2] = codec::OnWhite(red[x], a);
            }
        }
    }
    return kImgOk;
}

namespace {

// Appends the run-length encoding of one plane line.
void EncodeLine(const uint8_t* line, size_t length, std::vector<uint8_t>& out) {
    size_t i = 0;
    while (i < length) {
        const uint8_t v = line[i];
        size_t run = 1;
        while (i + run < length && run < 63 && line[i + run] == v) ++run;
        if (run > 1 || (v & 0xC0) == 0xC0) {
            out.push_back(static_cast<uint8_t>(0xC0 | run));
            out.push_back(v);
        } else {
            out.push_back(v);
        }
        i += run;
    }
}

}  // namespace

int SavePcx(const char* file, const ImageBuffer& image) {
    if (int rc = codec::CheckSaveSource(image)) return rc;
    const int bits = BitsPerPixel(image) > 8 ? 24 : BitsPerPixel(image);
    const uint32_t width = AreaWidth(image), height = AreaHeight(image);
    if (width > 65535 || height > 65535) return kImgTooLarge;
    const int planes = bits == 24 ? 3 : 1;
    const int bitsPerPlane = bits == 1 ? 1 : 8;
    size_t bytesPerLine = bits == 1 ? (width + 7) / 8 : width;
    bytesPerLine += bytesPerLine & 1;  // lines have an even length
    if (bytesPerLine > 65535) return kImgTooLarge;

    // A 1-bit file is read as 0 = black: invert the bits when entry 0 is the lighter one.
    bool invert = false;
    if (bits == 1) {
        const RgbQuad& c0 = image.palette[0];
        const RgbQuad& c1 = image.palette[1];
        invert = c0.rgbRed + c0.rgbGreen + c0.rgbBlue > c1.rgbRed + c1.rgbGreen + c1.rgbBlue;
    }

    uint8_t header[kHeaderBytes] = {};
    header[0] = 0x0A;
    header[1] = 5;
    header[2] = 1;
    header[3] = static_cast<uint8_t>(bitsPerPlane);
    Put16(header + 8, width - 1);
    Put16(header + 10, height - 1);
    const int dpiX = ImageDpiX(image), dpiY = ImageDpiY(image);
    Put16(header + 12, dpiX > 0 && dpiX < 65536 ? static_cast<unsigned>(dpiX) : 0);
    Put16(header + 14, dpiY > 0 && dpiY < 65536 ? static_cast<unsigned>(dpiY) : 0);
    if (bits == 1) {
        header[16 + 3] = header[16 + 4] = header[16 + 5] = 255;  // entry 1 white
    }
    header[65] = static_cast<uint8_t>(planes);
    Put16(header + 66, static_cast<unsigned>(bytesPerLine));
    Put16(header + 68, bits == 8 && HasGreyRamp(image) ? 2 : 1);

    codec::OutputFile out;
    if (int rc = out.open(file)) return rc;
    out.write(header, sizeof header);
    std::vector<uint8_t> line(bytesPerLine * planes, 0), rgb(static_cast<size_t>(width) * 3 + 3);
    std::vector<uint8_t> encoded;
    encoded.reserve(line.size() * 2);
    for (uint32_t y = 0; y < height && out.ok(); ++y) {
        std::fill(line.begin(), line.end(), 0);
        if (bits == 1) {
            codec::AreaRowBits(image, y, line.data());
            if (invert) {
                for (size_t i = 0; i < (width + 7) / 8; ++i)
                    line[i] = static_cast<uint8_t>(~line[i]);
                if (width % 8)
                    line[(width - 1) / 8] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
            }
        } else if (bits == 8) {
            std::memcpy(line.data(), RowPointer(image, image.areaTop + y) + image.areaLeft, width);
        } else {
            codec::AreaRowToRgb(image, y, rgb.data());
            for (uint32_t x = 0; x < width; ++x) {
                line[x] = rgb[3 * x];
                line[bytesPerLine + x] = rgb[3 * x + 1];
                line[2 * bytesPerLine + x] = rgb[3 * x + 2];
            }
        }
        encoded.clear();
        for (int p = 0; p < planes; ++p)
            EncodeLine(line.data() + p * bytesPerLine, bytesPerLine, encoded);
        out.write(encoded.data(), encoded.size());
    }
    if (bits == 8) {
        uint8_t table[kVgaPaletteBytes] = {0x0C};
        for (int i = 0; i < 256 && i < image.paletteSize; ++i) {
            table[1 + 3 * i] = image.palette[i].rgbRed;
            table[2 + 3 * i] = image.palette[i].rgbGreen;
            table[3 + 3 * i] = image.palette[i].rgbBlue;
        }
        out.write(table, sizeof table);
    }
    return out.commit();
}

}  // namespace vellumo::imaging

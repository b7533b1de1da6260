// Pixels of a page image, decoded from its stream: the general filters first, then the image
// filter (JPEG through libjpeg, CCITT fax through libtiff, JBIG2 through jbig2dec), then the
// samples through the colour space.
#include <tiffio.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "imaging/imaging.h"
#include "imaging/jpeg_reduced.h"
#include "pdf/page_image.h"

namespace vellumo::pdf {

using namespace vellumo::imaging;

namespace {

enum class Colours { Gray, Rgb, Cmyk, Indexed, Unsupported };

struct ColourSpace {
    Colours kind = Colours::Unsupported;
    int components = 0;
    // Indexed: the base space's colours of every entry as RGB.
    std::vector<uint8_t> table;
    int entries = 0;
    std::string name;
};

ColourSpace BaseSpace(const PdfDocument& doc, const PdfObject& value, int depth);

ColourSpace ReadColourSpace(const PdfDocument& doc, const PdfObject& value, int depth) {
    ColourSpace cs;
    const PdfObject v = doc.resolve(value);
    if (depth > 4) return cs;
    std::string family;
    if (v.type == PdfObject::Type::Name) family = v.text;
    if (v.type == PdfObject::Type::Array && v.at(0).type == PdfObject::Type::Name)
        family = v.at(0).text;
    cs.name = family;
    if (family == "DeviceGray" || family == "G" || family == "CalGray") {
        cs.kind = Colours::Gray;
        cs.components = 1;
    } else if (family == "DeviceRGB" || family == "RGB" || family == "CalRGB") {
        cs.kind = Colours::Rgb;
        cs.components = 3;
    } else if (family == "DeviceCMYK" || family == "CMYK") {
        cs.kind = Colours::Cmyk;
        cs.components = 4;
    } else if (family == "ICCBased") {
        const PdfObject profile = doc.resolve(v.at(1));
        const PdfObject n = doc.resolvedKey(profile, "N");
        const long long count = n.type == PdfObject::Type::Int ? n.integer : 0;
        if (count == 1) cs.kind = Colours::Gray;
        if (count == 3) cs.kind = Colours::Rgb;
        if (count == 4) cs.kind = Colours::Cmyk;
        cs.components = static_cast<int>(count);
    } else if (family == "Indexed" || family == "I") {
        const ColourSpace base = BaseSpace(doc, v.at(1), depth + 1);
        const PdfObject hival = doc.resolve(v.at(2));
        const PdfObject lookup = doc.resolve(v.at(3));
        if (base.kind == Colours::Unsupported || base.kind == Colours::Indexed ||
            hival.type != PdfObject::Type::Int || hival.integer < 0 || hival.integer > 255)
            return cs;
        std::string bytes, reason;
        if (lookup.type == PdfObject::Type::String)
            bytes = lookup.text;
        else if (lookup.type != PdfObject::Type::Stream ||
                 !doc.decodeStream(lookup, bytes, reason, nullptr, 4096))
            return cs;
        cs.entries = static_cast<int>(hival.integer) + 1;
        const size_t need = static_cast<size_t>(cs.entries) * base.components;
        if (bytes.size() < need) bytes.resize(need, '\0');  // short tables read as black
        for (int i = 0; i < cs.entries; ++i) {
            const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes.data()) + i * base.components;
            uint8_t r, g, b;
            if (base.kind == Colours::Gray) {
                r = g = b = p[0];
            } else if (base.kind == Colours::Rgb) {
                r = p[0];
                g = p[1];
                b = p[2];
            } else {
                const unsigned k = 255u - p[3];
                r = static_cast<uint8_t>((255u - p[0]) * k / 255);
                g = static_cast<uint8_t>((255u - p[1]) * k / 255);
                b = static_cast<uint8_t>((255u - p[2]) * k / 255);
            }
            cs.table.insert(cs.table.end(), {r, g, b});
        }
        cs.kind = Colours::Indexed;
        cs.components = 1;
    }
    return cs;
}

ColourSpace BaseSpace(const PdfDocument& doc, const PdfObject& value, int depth) {
    return ReadColourSpace(doc, value, depth);
}

// The /Decode array is the default for the colour space, or (for one component) inverted.
enum class DecodeArray { Default, Inverted, Other };

DecodeArray ReadDecode(const PdfDocument& doc, const PdfObject& stream, const ColourSpace& cs,
                       int bpc) {
    const PdfObject decode = doc.resolvedKey(stream, "Decode");
    if (decode.type != PdfObject::Type::Array) return DecodeArray::Default;
    const double top = cs.kind == Colours::Indexed ? (1 << bpc) - 1 : 1;
    bool isDefault = true, isInverted = true;
    for (size_t i = 0; i + 1 < decode.size(); i += 2) {
        const double lo = doc.resolve(decode.at(i)).number();
        const double hi = doc.resolve(decode.at(i + 1)).number();
        if (!(lo == 0 && hi == top)) isDefault = false;
        if (!(lo == top && hi == 0)) isInverted = false;
    }
    if (isDefault) return DecodeArray::Default;
    return isInverted && cs.components == 1 ? DecodeArray::Inverted : DecodeArray::Other;
}

void SetTwoColours(ImageBuffer& image, const uint8_t* first, const uint8_t* second) {
    image.palette[0] = RgbQuad{first[2], first[1], first[0], 0};
    image.palette[1] = RgbQuad{second[2], second[1], second[0], 0};
    if (HasGreyRamp(image))
        image.imageFlags |= kImageFlagGrey;
    else
        image.imageFlags &= ~kImageFlagGrey;
}

// Plain samples (after the general filters) into an image.
bool DecodeSamples(const std::string& data, const ColourSpace& cs, int bpc, DecodeArray decode,
                   int width, int height, ImageBuffer& out, std::string& reason) {
    if (bpc != 1 && bpc != 2 && bpc != 4 && bpc != 8 && bpc != 16) {
        reason = "unsupported bits per component";
        return false;
    }
    const size_t rowBytes = (static_cast<size_t>(width) * cs.components * bpc + 7) / 8;
    const size_t need = rowBytes * static_cast<size_t>(height);
    std::string padded;
    const std::string* samples = &data;
    if (data.size() < need) {
        // Short data: what is missing reads as zero, as PDF readers show it.
        if (data.size() < need / 2) {
            reason = "the image data is incomplete";
            return false;
        }
        padded = data;
        padded.resize(need, '\0');
        samples = &padded;
    }
    const uint8_t* src = reinterpret_cast<const uint8_t*>(samples->data());
    const bool oneBit = bpc == 1 && cs.components == 1;
    const int bits = oneBit                                                      ? 1
                     : (cs.kind == Colours::Gray || cs.kind == Colours::Indexed) ? 8
                                                                                 : 24;
    if (AllocateImage(out, width, height, bits) != 0) {
        reason = "not enough memory for the image";
        return false;
    }
    const unsigned maxValue = (1u << (bpc == 16 ? 8 : bpc)) - 1;
    auto sample = [&](const uint8_t* row, size_t i) -> unsigned {
        switch (bpc) {
            case 8:
                return row[i];
            case 16:
                return row[2 * i];  // the high byte
            default: {
                const size_t bit = i * static_cast<size_t>(bpc);
                return (row[bit >> 3] >> (8 - bpc - (bit & 7))) & maxValue;
            }
        }
    };
    if (oneBit) {
        if (cs.kind == Colours::Indexed) {
            const uint8_t* t = cs.table.data();
            const uint8_t black[3] = {0, 0, 0};
            SetTwoColours(out, t, cs.entries > 1 ? t + 3 : black);
        } else {
            const uint8_t black[3] = {0, 0, 0}, white[3] = {255, 255, 255};
            // Sample 0 is black unless the decode array turns it round.
            if (decode == DecodeArray::Inverted)
                SetTwoColours(out, white, black);
            else
                SetTwoColours(out, black, white);
        }
        for (int y = 0; y < height; ++y) {
            uint8_t* row = RowPointer(out, static_cast<uint32_t>(y));
            std::memcpy(row, src + rowBytes * static_cast<size_t>(y), rowBytes);
            if (width % 8) row[rowBytes - 1] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
        }
        return true;
    }
    if (cs.kind == Colours::Indexed) {
        std::memset(out.palette, 0, sizeof(RgbQuad) * static_cast<size_t>(out.paletteSize));
        for (int i = 0; i < cs.entries && i < out.paletteSize; ++i)
            out.palette[i] = RgbQuad{cs.table[3 * i + 2], cs.table[3 * i + 1], cs.table[3 * i], 0};
        if (HasGreyRamp(out))
            out.imageFlags |= kImageFlagGrey;
        else
            out.imageFlags &= ~kImageFlagGrey;
    } else if (bits == 24) {
        out.imageFlags &= ~kImageFlagGrey;
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t* s = src + rowBytes * static_cast<size_t>(y);
        uint8_t* row = RowPointer(out, static_cast<uint32_t>(y));
        if (cs.kind == Colours::Gray || cs.kind == Colours::Indexed) {
            if (bpc == 8 && decode == DecodeArray::Default) {
                std::memcpy(row, s, static_cast<size_t>(width));
                continue;
            }
            for (int x = 0; x < width; ++x) {
                unsigned v = sample(s, static_cast<size_t>(x));
                if (cs.kind == Colours::Gray) {
                    v = v * 255 / maxValue;
                    if (decode == DecodeArray::Inverted) v = 255 - v;
                }
                row[x] = static_cast<uint8_t>(v);
            }
        } else if (cs.kind == Colours::Rgb) {
            for (int x = 0; x < width; ++x) {
                const size_t i = static_cast<size_t>(x) * 3;
                row[3 * x] = static_cast<uint8_t>(sample(s, i + 2) * 255 / maxValue);
                row[3 * x + 1] = static_cast<uint8_t>(sample(s, i + 1) * 255 / maxValue);
                row[3 * x + 2] = static_cast<uint8_t>(sample(s, i) * 255 / maxValue);
            }
        } else {
            for (int x = 0; x < width; ++x) {
                const size_t i = static_cast<size_t>(x) * 4;
                const unsigned k = 255 - sample(s, i + 3) * 255 / maxValue;
                row[3 * x] =
                    static_cast<uint8_t>((255 - sample(s, i + 2) * 255 / maxValue) * k / 255);
                row[3 * x + 1] =
                    static_cast<uint8_t>((255 - sample(s, i + 1) * 255 / maxValue) * k / 255);
                row[3 * x + 2] =
                    static_cast<uint8_t>((255 - sample(s, i) * 255 / maxValue) * k / 255);
            }
        }
    }
    return true;
}

// A TIFF in memory for libtiff to read the fax data from.
struct MemoryTiff {
    std::string bytes;
    toff_t pos = 0;
};

tmsize_t MemRead(thandle_t h, void* buf, tmsize_t size) {
    auto* m = static_cast<MemoryTiff*>(h);
    if (m->pos >= m->bytes.size()) return 0;
    const size_t n = std::min<size_t>(static_cast<size_t>(size), m->bytes.size() - m->pos);
    std::memcpy(buf, m->bytes.data() + m->pos, n);
    m->pos += n;
    return static_cast<tmsize_t>(n);
}
tmsize_t MemWrite(thandle_t, void*, tmsize_t) {
    return 0;
}
toff_t MemSeek(thandle_t h, toff_t off, int whence) {
    auto* m = static_cast<MemoryTiff*>(h);
    toff_t base = whence == SEEK_CUR ? m->pos : whence == SEEK_END ? m->bytes.size() : 0;
    m->pos = base + off;
    return m->pos;
}
int MemClose(thandle_t) {
    return 0;
}
toff_t MemSize(thandle_t h) {
    return static_cast<MemoryTiff*>(h)->bytes.size();
}
int MemMap(thandle_t, void**, toff_t*) {
    return 0;
}
void MemUnmap(thandle_t, void*, toff_t) {}
int QuietTiff(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

void Put16(std::string& s, uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}
void Put32(std::string& s, uint32_t v) {
    for (int k = 0; k < 4; ++k) s += static_cast<char>((v >> (8 * k)) & 0xFF);
}

long long ParamInt(const PdfObject& params, const char* key, long long fallback) {
    const PdfObject& v = params.get(key);
    return v.type == PdfObject::Type::Int ? v.integer : fallback;
}
bool ParamBool(const PdfObject& params, const char* key) {
    const PdfObject& v = params.get(key);
    return v.type == PdfObject::Type::Bool && v.boolean;
}

}  // namespace

bool DecodeCcittFax(std::string_view data, const PdfObject& params, int width, int height,
                    ImageBuffer& pixels, std::string& reason) {
    std::memset(&pixels, 0, sizeof pixels);
    const long long k = ParamInt(params, "K", 0);
    const long long columns = ParamInt(params, "Columns", 1728);
    const long long rows = ParamInt(params, "Rows", height);
    if (columns != width || columns <= 0 || rows <= 0 || rows > kMaxImageSide) {
        reason = "the fax data's size does not match the image";
        return false;
    }
    if (ParamBool(params, "EncodedByteAlign") && k < 0) {
        reason = "byte-aligned group 4 data is not supported";
        return false;
    }
    // A little-endian TIFF: header, one directory, then the coded data as one strip.
    MemoryTiff m;
    std::string& t = m.bytes;
    t = "II";
    Put16(t, 42);
    Put32(t, 8);
    struct Entry {
        uint16_t tag, type;
        uint32_t count, value;
    };
    std::vector<Entry> entries = {
        {256, 4, 1, static_cast<uint32_t>(columns)},
        {257, 4, 1, static_cast<uint32_t>(rows)},
        {258, 3, 1, 1},
        {259, 3, 1, static_cast<uint32_t>(k < 0 ? 4 : 3)},
        {262, 3, 1, 0},
        {273, 4, 1, 0},  // strip offset, filled in below
        {277, 3, 1, 1},
        {278, 4, 1, static_cast<uint32_t>(rows)},
        {279, 4, 1, static_cast<uint32_t>(data.size())},
    };
    if (k >= 0) {
        uint32_t options = k > 0 ? 1u : 0u;
        if (ParamBool(params, "EncodedByteAlign")) options |= 4u;
        entries.push_back({292, 4, 1, options});
    }
    const uint32_t dataOffset = 8 + 2 + static_cast<uint32_t>(entries.size()) * 12 + 4;
    entries[5].value = dataOffset;
    Put16(t, static_cast<uint16_t>(entries.size()));
    for (const Entry& e : entries) {
        Put16(t, e.tag);
        Put16(t, e.type);
        Put32(t, e.count);
        if (e.type == 3) {
            Put16(t, static_cast<uint16_t>(e.value));
            Put16(t, 0);
        } else {
            Put32(t, e.value);
        }
    }
    Put32(t, 0);
    t.append(data);

    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, QuietTiff, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, QuietTiff, nullptr);
    TIFF* tif = TIFFClientOpenExt("fax", "rm", &m, MemRead, MemWrite, MemSeek, MemClose, MemSize,
                                  MemMap, MemUnmap, options);
    TIFFOpenOptionsFree(options);
    if (!tif) {
        reason = "the fax data cannot be read";
        return false;
    }
    bool ok = AllocateImage(pixels, width, height, 1) == 0;
    if (!ok) reason = "not enough memory for the image";
    const tmsize_t lineBytes = TIFFScanlineSize(tif);
    std::vector<uint8_t> line(static_cast<size_t>(std::max<tmsize_t>(lineBytes, 1)));
    const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
    const bool blackIs1 = ParamBool(params, "BlackIs1");
    for (int y = 0; ok && y < height; ++y) {
        uint8_t* row = RowPointer(pixels, static_cast<uint32_t>(y));
        if (y >= rows || TIFFReadScanline(tif, line.data(), static_cast<uint32_t>(y), 0) < 0) {
            // Rows the data does not reach stay white, as readers show a short fax.
            if (y == 0) {
                ok = false;
                reason = "the fax data is damaged";
                break;
            }
            std::memset(row, 0xFF, rowBytes);
            continue;
        }
        // libtiff hands out coded black runs as 1 bits; the filter's samples are those bits
        // when BlackIs1, else their inverse, and sample 0 is entry 0, black.
        const size_t n = std::min(rowBytes, line.size());
        if (blackIs1)
            std::memcpy(row, line.data(), n);
        else
            for (size_t i = 0; i < n; ++i) row[i] = static_cast<uint8_t>(~line[i]);
        if (width % 8) row[rowBytes - 1] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
    }
    TIFFClose(tif);
    if (!ok) FreeImage(pixels);
    return ok;
}

bool DecodePageImage(const PdfDocument& doc, const PageImage& image, ImageBuffer& pixels,
                     std::string& reason) {
    std::memset(&pixels, 0, sizeof pixels);
    const PdfObject& stream = image.stream;
    const int width = image.width, height = image.height;
    ImageFilter filter;
    std::string data;
    const size_t limit = static_cast<size_t>(width) * height * 4 * 2 + (size_t{1} << 20);
    if (!doc.decodeStream(stream, data, reason, &filter, limit)) return false;

    ColourSpace cs = ReadColourSpace(doc, stream.get("ColorSpace"), 0);
    const PdfObject bpcValue = doc.resolvedKey(stream, "BitsPerComponent");
    int bpc = bpcValue.type == PdfObject::Type::Int ? static_cast<int>(bpcValue.integer) : 0;
    if (filter.name == "CCITTFaxDecode" || filter.name == "JBIG2Decode") {
        bpc = 1;
        if (cs.kind == Colours::Unsupported) {
            cs.kind = Colours::Gray;
            cs.components = 1;
        }
    }
    if (cs.kind == Colours::Unsupported && filter.name != "DCTDecode") {
        reason = "the colour space " + cs.name + " is not supported";
        return false;
    }
    const DecodeArray decode = ReadDecode(doc, stream, cs, bpc);
    bool ok = false;
    if (filter.name.empty()) {
        if (decode == DecodeArray::Other) {
            reason = "the image's decode array is not supported";
            return false;
        }
        ok = DecodeSamples(data, cs, bpc, decode, width, height, pixels, reason);
    } else if (filter.name == "DCTDecode") {
        ImageFileInfo info;
        if (imaging::InspectJpegData(reinterpret_cast<const uint8_t*>(data.data()), data.size(),
                                     info) != 0 ||
            info.width != width || info.height != height) {
            reason = "the JPEG data is damaged";
            return false;
        }
        // Four-component JPEGs depend on how the writer stored its inks; Poppler knows better.
        if (info.fileSamplesPerPixel == 4 || decode != DecodeArray::Default) {
            reason = "CMYK and inverted JPEG images are drawn instead";
            return false;
        }
        ok = imaging::DecodeJpegData(reinterpret_cast<const uint8_t*>(data.data()), data.size(),
                                     imaging::JpegDecodeOptions{}, pixels) == 0;
        if (!ok) reason = "the JPEG data is damaged";
    } else if (filter.name == "CCITTFaxDecode") {
        ok = DecodeCcittFax(data, filter.params, width, height, pixels, reason);
    } else if (filter.name == "JBIG2Decode") {
        std::string globals;
        const PdfObject g = doc.resolvedKey(filter.params, "JBIG2Globals");
        if (g.type == PdfObject::Type::Stream && !doc.decodeStream(g, globals, reason))
            return false;
        ok = DecodeJbig2(data, globals, width, height, pixels, reason);
    } else {
        reason = "images compressed as " + filter.name + " are drawn instead";
        return false;
    }
    if (!ok) return false;
    if ((filter.name == "CCITTFaxDecode" || filter.name == "JBIG2Decode") &&
        decode == DecodeArray::Inverted)
        std::swap(pixels.palette[0], pixels.palette[1]);
    SetImageDpi(pixels, image.dpiX(), image.dpiY());
    return true;
}

}  // namespace vellumo::pdf

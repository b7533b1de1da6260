#include "pdf/glyphless_font.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace vellumo::pdf {

namespace {

constexpr char kShortName[] = "VGlyphless";
constexpr int kUnitsPerEm = 1000;

// Big-endian writer for the font's tables.
class Bytes {
public:
    void u8(unsigned v) { data_.push_back(static_cast<uint8_t>(v)); }
    void u16(unsigned v) {
        u8(v >> 8);
        u8(v);
    }
    void s16(int v) { u16(static_cast<uint16_t>(static_cast<int16_t>(v))); }
    void u32(uint32_t v) {
        u16(v >> 16);
        u16(v & 0xFFFF);
    }
    void zeros(size_t n) { data_.insert(data_.end(), n, 0); }
    void tag(const char* t) {
        for (int i = 0; i < 4; ++i) u8(static_cast<unsigned char>(t[i]));
    }
    void append(const std::vector<uint8_t>& other) {
        data_.insert(data_.end(), other.begin(), other.end());
    }
    const std::vector<uint8_t>& data() const { return data_; }
    std::vector<uint8_t>& data() { return data_; }

private:
    std::vector<uint8_t> data_;
};

uint32_t CheckSum(const std::vector<uint8_t>& table) {
    uint32_t sum = 0;
    for (size_t i = 0; i < table.size(); i += 4) {
        uint32_t word = 0;
        for (size_t k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < table.size() ? table[i + k] : 0);
        sum += word;
    }
    return sum;
}

// Glyph 0 (.notdef) is the usual hollow box, glyph 1 the empty glyph every code shows.
std::vector<uint8_t> GlyphTable() {
    Bytes b;
    b.s16(1);  // one contour
    b.s16(50);
    b.s16(0);
    b.s16(450);
    b.s16(700);
    b.u16(3);                                // the contour ends at point 3
    b.u16(0);                                // no instructions
    for (int i = 0; i < 4; ++i) b.u8(0x01);  // on-curve points, 2-byte deltas
    for (int dx : {50, 0, 400, 0}) b.s16(dx);
    for (int dy : {0, 700, 0, -700}) b.s16(dy);
    return b.data();
}

std::vector<uint8_t> HeadTable() {
    Bytes b;
    b.u32(0x00010000);
    b.u32(0x00010000);  // font revision
    b.u32(0);           // checksum adjustment, filled in last
    b.u32(0x5F0F3CF5);
    b.u16(0x000B);  // baseline at 0, left side bearing at 0, integer scaling
    b.u16(kUnitsPerEm);
    b.zeros(16);  // created, modified
    b.s16(0);
    b.s16(kGlyphlessDescent);
    b.s16(kGlyphlessWidth);
    b.s16(kGlyphlessAscent);
    b.u16(0);  // mac style
    b.u16(3);  // lowest readable size
    b.s16(2);  // direction hint
    b.s16(0);  // short loca offsets
    b.s16(0);  // glyph data format
    return b.data();
}

std::vector<uint8_t> HheaTable() {
    Bytes b;
    b.u32(0x00010000);
    b.s16(kGlyphlessAscent);
    b.s16(kGlyphlessDescent);
    b.s16(0);  // line gap
    b.u16(kGlyphlessWidth);
    b.s16(0);  // min left side bearing
    b.s16(0);  // min right side bearing
    b.s16(kGlyphlessWidth);
    b.s16(1);  // caret slope rise
    b.s16(0);
    b.s16(0);
    b.zeros(8);
    b.s16(0);  // metric data format
    b.u16(2);  // horizontal metrics
    return b.data();
}

std::vector<uint8_t> MaxpTable() {
    Bytes b;
    b.u32(0x00010000);
    b.u16(2);  // glyphs
    b.u16(4);  // most points
    b.u16(1);  // most contours
    b.u16(0);
    b.u16(0);
    b.u16(2);  // zones
    b.zeros(18);
    return b.data();
}

std::vector<uint8_t> HmtxTable() {
    Bytes b;
    for (int glyph = 0; glyph < 2; ++glyph) {
        b.u16(kGlyphlessWidth);
        b.s16(0);
    }
    return b.data();
}

std::vector<uint8_t> LocaTable(size_t glyph0Length) {
    Bytes b;
    b.u16(0);
    b.u16(static_cast<unsigned>(glyph0Length / 2));
    b.u16(static_cast<unsigned>(glyph0Length / 2));  // glyph 1 has no outline
    return b.data();
}

// The mapping of codes (UTF-16 code units) back to characters: every code is its own character,
// one range per high byte used, as ToUnicode ranges must keep the high byte. Surrogates are left
// out; the text layer never writes them.
std::string ToUnicodeMap(const std::bitset<256>& used) {
    std::string map =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    std::vector<int> highBytes;
    for (int high = 0; high < 256; ++high)
        if (used[high] && (high < 0xD8 || high > 0xDF)) highBytes.push_back(high);
    char line[40];
    for (size_t start = 0; start < highBytes.size(); start += 100) {
        const size_t n = std::min<size_t>(100, highBytes.size() - start);
        map += std::to_string(n) + " beginbfrange\n";
        for (size_t i = start; i < start + n; ++i) {
            const int h = highBytes[i];
            std::snprintf(line, sizeof line, "<%02X00> <%02XFF> <%02X00>\n", h, h, h);
            map += line;
        }
        map += "endbfrange\n";
    }
    map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return map;
}

void WriteFlateStream(PdfWriter& w, int object, const std::string& dictionary,
                      const std::string& data) {
    const std::string packed = Deflate(data);
    if (packed.empty())
        w.writeStream(object, dictionary, data);
    else
        w.writeStream(object, "/Filter/FlateDecode" + dictionary, packed);
}

}  // namespace

std::vector<uint8_t> GlyphlessTrueType() {
    const std::vector<uint8_t> glyf = GlyphTable();
    // Directory order is by tag. The tables a CIDFontType2 program needs in a PDF; character
    // maps, names and the like are the PDF's business.
    std::vector<std::pair<const char*, std::vector<uint8_t>>> tables = {
        {"glyf", glyf},
        {"head", HeadTable()},
        {"hhea", HheaTable()},
        {"hmtx", HmtxTable()},
        {"loca", LocaTable(glyf.size())},
        {"maxp", MaxpTable()}};
    const unsigned count = static_cast<unsigned>(tables.size());
    unsigned power = 1, log2 = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log2;
    }
    Bytes font;
    font.u32(0x00010000);
    font.u16(count);
    font.u16(power * 16);
    font.u16(log2);
    font.u16(count * 16 - power * 16);
    uint32_t offset = 12 + 16 * count;
    size_t headOffset = 0;
    for (auto& [tag, data] : tables) {
        font.tag(tag);
        font.u32(CheckSum(data));
        font.u32(offset);
        font.u32(static_cast<uint32_t>(data.size()));
        if (std::string(tag) == "head") headOffset = offset;
        offset += static_cast<uint32_t>((data.size() + 3) & ~size_t{3});
    }
    for (auto& [tag, data] : tables) {
        font.append(data);
        font.zeros(((data.size() + 3) & ~size_t{3}) - data.size());
    }
    // The whole font sums to the magic number once the head table carries the adjustment.
    const uint32_t adjustment = 0xB1B0AFBA - CheckSum(font.data());
    std::vector<uint8_t>& bytes = font.data();
    for (int i = 0; i < 4; ++i)
        bytes[headOffset + 8 + i] = static_cast<uint8_t>(adjustment >> (24 - 8 * i));
    return bytes;
}

int GlyphlessFont::object(PdfWriter& w, int variant) {
    variant = std::clamp(variant, 0, kGlyphlessVariantCount - 1);
    if (type0_[variant] != 0) return type0_[variant];
    if (fontFile_ == 0) {
        // The parts every variant shares.
        fontFile_ = w.reserveObject();
        cidToGid_ = w.reserveObject();
        toUnicode_ = w.reserveObject();
        // Both are the same in every document: compressed once per process.
        static const std::vector<uint8_t> font = GlyphlessTrueType();
        static const std::string packedFont = Deflate(std::string(font.begin(), font.end()));
        static const std::string packedMap = [] {
            std::string map(2 * 65536, '\0');  // every character identifier shows glyph 1
            for (size_t i = 1; i < map.size(); i += 2) map[i] = 1;
            return Deflate(map);
        }();
        w.writeStream(fontFile_, "/Filter/FlateDecode/Length1 " + std::to_string(font.size()),
                      packedFont);
        w.writeStream(cidToGid_, "/Filter/FlateDecode", packedMap);
    }
    const int type0 = w.reserveObject();
    const int cidFont = w.reserveObject();
    const int descriptor = w.reserveObject();
    const GlyphlessExtent extent = kGlyphlessVariants[variant];
    // Written without optional spaces: with several variants the dictionaries add up.
    w.beginObject(type0);
    w.printf(
        "<</Type/Font/Subtype/Type0/BaseFont/%s%d/Encoding/Identity-H/DescendantFonts[%d 0 R]"
        "/ToUnicode %d 0 R>>\n",
        kShortName, variant, cidFont, toUnicode_);
    w.endObject();
    w.beginObject(cidFont);
    w.printf(
        "<</Type/Font/Subtype/CIDFontType2/BaseFont/%s%d/CIDSystemInfo<</Registry(Adobe)"
        "/Ordering(Identity)/Supplement 0>>/FontDescriptor %d 0 R/DW %d/CIDToGIDMap %d 0 R>>\n",
        kShortName, variant, descriptor, kGlyphlessWidth, cidToGid_);
    w.endObject();
    w.beginObject(descriptor);
    w.printf(
        "<</Type/FontDescriptor/FontName/%s%d/Flags 5/FontBBox[0 %d %d %d]/ItalicAngle 0"
        "/Ascent %d/Descent %d/CapHeight %d/StemV 80/FontFile2 %d 0 R>>\n",
        kShortName, variant, extent.descent, kGlyphlessWidth, extent.ascent, extent.ascent,
        extent.descent, extent.ascent, fontFile_);
    w.endObject();
    type0_[variant] = type0;
    return type0;
}

void GlyphlessFont::finish(PdfWriter& w) {
    if (fontFile_ == 0) return;
    WriteFlateStream(w, toUnicode_, "", ToUnicodeMap(used_));
}

}  // namespace vellumo::pdf

// The page files' LZW encoder, checked by libtiff's decoder (strips written raw, read back
// decoded) and, through SaveTiff, by ImageMagick.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <random>

#include "imaging/lzw_encoder.h"
#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using testsupport::TempDir;

namespace {

std::vector<uint8_t> Encode(const std::vector<uint8_t>& data, size_t piece = 0) {
    std::vector<uint8_t> out;
    LzwEncoder encoder;
    encoder.begin(out);
    if (piece == 0) piece = data.size() + 1;
    for (size_t at = 0; at < data.size(); at += piece)
        encoder.add(data.data() + at, std::min(piece, data.size() - at));
    encoder.finish();
    return out;
}

// A TIFF file in memory, so thousands of strips can be decoded quickly.
struct MemoryFile {
    std::vector<uint8_t> bytes;
    uint64_t at = 0;

    static tmsize_t Read(thandle_t h, void* buf, tmsize_t size) {
        auto* f = static_cast<MemoryFile*>(h);
        const auto n = static_cast<tmsize_t>(
            std::min<uint64_t>(static_cast<uint64_t>(size),
                               f->bytes.size() - std::min<uint64_t>(f->at, f->bytes.size())));
        if (n > 0) std::memcpy(buf, f->bytes.data() + f->at, static_cast<size_t>(n));
        f->at += static_cast<uint64_t>(n);
        return n;
    }
    static tmsize_t Write(thandle_t h, void* buf, tmsize_t size) {
        auto* f = static_cast<MemoryFile*>(h);
        if (f->bytes.size() < f->at + static_cast<uint64_t>(size))
            f->bytes.resize(f->at + static_cast<uint64_t>(size));
        std::memcpy(f->bytes.data() + f->at, buf, static_cast<size_t>(size));
        f->at += static_cast<uint64_t>(size);
        return size;
    }
    static toff_t Seek(thandle_t h, toff_t offset, int whence) {
        auto* f = static_cast<MemoryFile*>(h);
        f->at = whence == SEEK_SET   ? offset
                : whence == SEEK_CUR ? f->at + offset
                                     : f->bytes.size() + offset;
        return f->at;
    }
    static int Close(thandle_t) { return 0; }
    static toff_t Size(thandle_t h) { return static_cast<MemoryFile*>(h)->bytes.size(); }
    static int Map(thandle_t, void**, toff_t*) { return 0; }
    static void Unmap(thandle_t, void*, toff_t) {}

    TIFF* open(const char* mode) {
        at = 0;
        return TIFFClientOpen("memory", mode, this, Read, Write, Seek, Close, Size, Map, Unmap);
    }
};

// Writes the codes as the one strip of a one-row grey TIFF and lets libtiff decode it.
std::vector<uint8_t> DecodeWithLibtiff(const std::vector<uint8_t>& codes, size_t size) {
    MemoryFile file;
    TIFF* t = file.open("w");
    if (!t) return {};
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(size));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, 1u);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 1u);
    TIFFWriteRawStrip(t, 0, const_cast<uint8_t*>(codes.data()),
                      static_cast<tmsize_t>(codes.size()));
    TIFFClose(t);
    t = file.open("r");
    if (!t) return {};
    std::vector<uint8_t> decoded(size);
    const tmsize_t got = TIFFReadEncodedStrip(t, 0, decoded.data(), static_cast<tmsize_t>(size));
    TIFFClose(t);
    if (got != static_cast<tmsize_t>(size)) decoded.clear();
    return decoded;
}

// A strict reading of the codes by the rules of TIFF LZW: a Clear code first, widths raised
// one code early, End of Information last and only zero padding after it. libtiff stops
// reading once it has a strip's bytes, so it would not see a wrong last code width.
std::vector<uint8_t> StrictDecode(const std::vector<uint8_t>& codes) {
    size_t bit = 0;
    int width = 9;
    auto read = [&](uint32_t& code) {
        if (bit + static_cast<size_t>(width) > codes.size() * 8) return false;
        code = 0;
        for (int k = 0; k < width; ++k, ++bit)
            code = (code << 1) | ((codes[bit / 8] >> (7 - bit % 8)) & 1u);
        return true;
    };
    std::vector<uint32_t> prefix(4096), length(4096);
    std::vector<uint8_t> last(4096), first(4096);
    for (uint32_t c = 0; c < 256; ++c) last[c] = first[c] = static_cast<uint8_t>(c), length[c] = 1;
    std::vector<uint8_t> out;
    uint32_t code = 0, next = 258;
    int previous = -1;
    if (!read(code) || code != 256) return {};
    for (;;) {
        if (!read(code)) return {};
        if (code == 257) break;
        if (code == 256) {
            next = 258, width = 9, previous = -1;
            continue;
        }
        if (previous < 0) {
            if (code > 255) return {};
        } else {
            if (code > next || next >= 4096) return {};
            const auto p = static_cast<uint32_t>(previous);
            prefix[next] = p;
            first[next] = first[p];
            last[next] = code == next ? first[p] : first[code];
            length[next] = length[p] + 1;
            if (++next >= (1u << width) - 1 && width < 12) ++width;
        }
        const size_t at = out.size();
        out.resize(at + length[code]);
        uint32_t c = code;
        for (size_t k = out.size(); k > at; c = prefix[c]) out[--k] = last[c];
        previous = static_cast<int>(code);
    }
    // Only the padding of the last byte may follow.
    if ((bit + 7) / 8 != codes.size()) return {};
    for (; bit % 8; ++bit)
        if ((codes[bit / 8] >> (7 - bit % 8)) & 1u) return {};
    return out;
}

void ExpectRoundTrip(const std::vector<uint8_t>& data, size_t piece = 0) {
    const std::vector<uint8_t> codes = Encode(data, piece);
    ASSERT_EQ(DecodeWithLibtiff(codes, data.size()), data)
        << "length " << data.size() << ", pieces of " << piece;
    ASSERT_EQ(StrictDecode(codes), data) << "length " << data.size() << ", pieces of " << piece;
}

std::vector<uint8_t> Random(size_t size, int alphabet, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> data(size);
    for (auto& b : data) b = static_cast<uint8_t>(random() % alphabet);
    return data;
}

// Every length up to well past the first table clear, so the last code of some strip falls on
// each point where the code width grows and where the table fills.
TEST(LzwEncoder, EveryLengthThroughTheWidthChangesAndTheClear) {
    const std::vector<uint8_t> noise = Random(4600, 256, 7);
    for (size_t n = 1; n <= noise.size(); ++n) {
        const std::vector<uint8_t> data(noise.begin(), noise.begin() + static_cast<long>(n));
        ExpectRoundTrip(data);
        if (HasFatalFailure()) return;
    }
}

TEST(LzwEncoder, LongStringsAndRepeatedTableClears) {
    // Two symbols: long strings and the code-equals-next-entry case, many clears.
    ExpectRoundTrip(Random(300000, 2, 3));
    ExpectRoundTrip(Random(300000, 16, 4));
    std::vector<uint8_t> cycle(200000);
    for (size_t i = 0; i < cycle.size(); ++i) cycle[i] = static_cast<uint8_t>(i % 251);
    ExpectRoundTrip(cycle);
}

TEST(LzwEncoder, RunsOfEveryLengthAmongNoise) {
    std::mt19937 random(11);
    std::vector<uint8_t> data;
    for (size_t run = 1; run <= 400; ++run) {
        const auto value = static_cast<uint8_t>(random() % 3 == 0 ? 255 : random() % 256);
        data.insert(data.end(), run, value);
        for (int k = 0; k < static_cast<int>(random() % 5); ++k)
            data.push_back(static_cast<uint8_t>(random()));
    }
    ExpectRoundTrip(data);
    // The same bytes arriving in pieces that cut runs and strings anywhere.
    for (size_t piece : {1, 7, 16, 17, 333}) ExpectRoundTrip(data, piece);
    EXPECT_EQ(Encode(data, 17), Encode(data));
}

TEST(LzwEncoder, UniformDataFillsTheTableThroughRunsAlone) {
    for (uint8_t value : {0, 255, 128}) {
        // Far more than one table holds: the run path itself must clear the table.
        const std::vector<uint8_t> data(3'000'000, value);
        const std::vector<uint8_t> codes = Encode(data);
        EXPECT_LT(codes.size(), 12000u);
        EXPECT_EQ(DecodeWithLibtiff(codes, data.size()), data);
        EXPECT_EQ(StrictDecode(codes), data);
    }
    // A strip of an A4 page's white margin codes to a few hundred bytes.
    EXPECT_LT(Encode(std::vector<uint8_t>(7440, 255)).size(), 200u);
}

TEST(LzwEncoder, EncoderIsReusedForManyStrips) {
    LzwEncoder encoder;
    for (unsigned strip = 0; strip < 20; ++strip) {
        const std::vector<uint8_t> data = Random(5000 + strip * 97, strip % 2 ? 256 : 3, strip);
        std::vector<uint8_t> codes;
        encoder.begin(codes);
        encoder.add(data.data(), data.size());
        encoder.finish();
        EXPECT_EQ(codes, Encode(data)) << "strip " << strip;
    }
}

// A scanned-looking page through SaveTiff: margins, text-like noise, grey and colour, many
// strips; ImageMagick reads the same pixels.
TEST(LzwEncoder, PageFilesReadBackByImageMagick) {
    TempDir dir;
    std::mt19937 random(5);
    for (int bits : {8, 24, 1}) {
        fixtures::Image page;
        ASSERT_EQ(AllocateImage(page.buffer, 700, 990, bits), kImgOk);
        const uint32_t rowBytes = page.buffer.rowBytes;
        for (uint32_t y = 0; y < 990; ++y) {
            uint8_t* row = RowPointer(page.buffer, y);
            std::memset(row, 0xFF, rowBytes);
            if (y > 100 && y < 880 && y % 40 < 25)
                for (uint32_t x = rowBytes / 10; x < rowBytes * 9 / 10; ++x)
                    row[x] = static_cast<uint8_t>(random() % 4 == 0 ? random() : 0xF0);
        }
        const std::string file = dir.file("page.tif");
        ASSERT_EQ(SaveTiff(file.c_str(), page.buffer, 1), kImgOk);
        EXPECT_NE(testsupport::capture("tiffinfo " + testsupport::shellQuote(file) + " 2>&1")
                      .find("Compression Scheme: LZW"),
                  std::string::npos);
        fixtures::Image seen;
        ASSERT_TRUE(fixtures::DecodeWithImageMagick(file, seen));
        EXPECT_TRUE(fixtures::SamePicture(page, seen)) << bits << " bits";
    }
}

}  // namespace

// The JBIG2 encoder against jbig2dec: every bitmap must come back bit for bit, from the library
// and from the command-line decoder, and the stream must hold nothing a PDF's stream may not.
#include "pdf/jbig2_encoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "jbig2dec_decode.h"
#include "pdf/g4_encoder.h"
#include "pdf_test_util.h"
#include "support/test_support.h"

namespace {

using namespace vellumo::pdf;

struct Bitmap {
    int width, height;
    std::vector<uint8_t> rows;
    size_t rowBytes() const { return (static_cast<size_t>(width) + 7) / 8; }
    uint8_t* row(int y) { return rows.data() + y * rowBytes(); }
    void set(int x, int y) { row(y)[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8)); }
};

Bitmap Blank(int width, int height) {
    return {width, height, std::vector<uint8_t>(((width + 7) / 8) * static_cast<size_t>(height))};
}

std::vector<uint8_t> Encode(const Bitmap& b) {
    Jbig2Encoder encoder(b.width, b.height);
    for (int y = 0; y < b.height; ++y) encoder.encodeRow(b.rows.data() + y * b.rowBytes());
    return encoder.finish();
}

// Clears the bits past the width, which are no part of the image.
Bitmap Trimmed(Bitmap b) {
    if (b.width % 8)
        for (int y = 0; y < b.height; ++y)
            b.row(y)[b.rowBytes() - 1] &= static_cast<uint8_t>(0xFF00 >> (b.width % 8));
    return b;
}

void ExpectRoundTrip(const Bitmap& b, const char* what) {
    const std::vector<uint8_t> stream = Encode(b);
    const jbig2test::Decoded d = jbig2test::DecodeEmbedded(stream);
    ASSERT_TRUE(d.ok) << what << ": " << d.errors;
    EXPECT_EQ(d.errors, "") << what;
    EXPECT_EQ(d.width, b.width) << what;
    EXPECT_EQ(d.height, b.height) << what;
    EXPECT_TRUE(d.rows == Trimmed(b).rows) << what << ": the pixels differ";
}

Bitmap Noise(int width, int height, unsigned seed, int blackPercent) {
    Bitmap b = Blank(width, height);
    std::mt19937 rng(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (static_cast<int>(rng() % 100) < blackPercent) b.set(x, y);
    return b;
}

// Text-like: rows of small glyph boxes with gaps, margins and blank lines.
Bitmap TextLike(int width, int height, unsigned seed) {
    Bitmap b = Blank(width, height);
    std::mt19937 rng(seed);
    for (int line = 0; 60 + line * 50 + 40 < height; ++line) {
        const int top = 60 + line * 50;
        for (int x = 60; x + 24 < width - 60;) {
            const int w = 10 + static_cast<int>(rng() % 14), h = 20 + static_cast<int>(rng() % 12);
            for (int yy = top + 32 - h; yy < top + 32; ++yy)
                for (int xx = x; xx < x + w; ++xx)
                    if ((xx - x < 3 || w - (xx - x) <= 3 || yy - (top + 32 - h) < 3 ||
                         top + 32 - yy <= 3) &&
                        rng() % 16 != 0)
                        b.set(xx, yy);
            x += w + 4 + (rng() % 7 == 0 ? 20 : 0);
        }
    }
    return b;
}

TEST(Jbig2Encoder, OddBitmapsComeBackExactly) {
    Bitmap one = Blank(1, 1);
    ExpectRoundTrip(one, "1 x 1 white");
    one.set(0, 0);
    ExpectRoundTrip(one, "1 x 1 black");

    for (int width : {1, 7, 9, 13, 63, 65, 100, 333}) {
        ExpectRoundTrip(Noise(width, 1, width, 50), "one row of noise");
        ExpectRoundTrip(Noise(width, 37, width + 1, 30), "noise, width not a multiple of 8");
    }
    ExpectRoundTrip(Blank(517, 211), "all white");

    Bitmap black = Blank(517, 211);
    std::fill(black.rows.begin(), black.rows.end(), 0xFF);  // padding bits set too
    ExpectRoundTrip(black, "all black");

    for (int cell : {1, 2, 3, 8}) {
        Bitmap board = Blank(203, 101);
        for (int y = 0; y < board.height; ++y)
            for (int x = 0; x < board.width; ++x)
                if (((x / cell) + (y / cell)) % 2) board.set(x, y);
        ExpectRoundTrip(board, "checkerboard");
    }
    for (int percent : {1, 50, 99}) ExpectRoundTrip(Noise(640, 480, percent, percent), "noise");
    ExpectRoundTrip(TextLike(1275, 1650, 3), "text-like page");

    // Repeated rows use typical prediction; a change back and forth must still be exact.
    Bitmap stripes = Blank(300, 120);
    for (int y = 0; y < stripes.height; ++y)
        if ((y / 7) % 3 == 0)
            for (int x = y % 5; x < stripes.width; x += 3) stripes.set(x, y - y % 7);
    ExpectRoundTrip(stripes, "repeated rows");
}

TEST(Jbig2Encoder, MissingRowsAreWhiteAndExtraRowsIgnored) {
    Bitmap b = Noise(50, 20, 9, 40);
    Jbig2Encoder short_(50, 20);
    for (int y = 0; y < 10; ++y) short_.encodeRow(b.row(y));
    jbig2test::Decoded d = jbig2test::DecodeEmbedded(short_.finish());
    ASSERT_TRUE(d.ok);
    Bitmap expected = b;
    std::fill(expected.rows.begin() + 10 * b.rowBytes(), expected.rows.end(), 0);
    EXPECT_TRUE(d.rows == Trimmed(expected).rows);

    Jbig2Encoder long_(50, 10);
    for (int y = 0; y < 20; ++y) long_.encodeRow(b.row(y));
    d = jbig2test::DecodeEmbedded(long_.finish());
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.height, 10);
    EXPECT_TRUE(std::equal(d.rows.begin(), d.rows.end(), Trimmed(b).rows.begin()));
}

// The stream is what a PDF holds: the page information segment first, one generic region
// segment, no file header and no end-of-page or end-of-file segment; the command-line decoder
// reads it as an embedded stream and writes the same bitmap.
TEST(Jbig2Encoder, StreamIsAnEmbeddedPageForTheCommandLineDecoder) {
    testsupport::TempDir dir;
    const Bitmap b = TextLike(619, 403, 5);
    const std::vector<uint8_t> stream = Encode(b);
    ASSERT_GT(stream.size(), 11u + 19 + 11 + 26);
    EXPECT_NE(stream[0], 0x97) << "a file header";
    EXPECT_EQ(stream[4], 48) << "page information first";
    EXPECT_EQ(stream[11 + 19 + 4], 38) << "then an immediate generic region";
    const uint32_t regionLength =
        (stream[37] << 24) | (stream[38] << 16) | (stream[39] << 8) | stream[40];
    EXPECT_EQ(11u + 19 + 11 + regionLength, stream.size()) << "nothing after the region";
    EXPECT_EQ(stream[stream.size() - 2], 0xFF);
    EXPECT_EQ(stream.back(), 0xAC);

    const std::string in = dir.file("page.jb2"), out = dir.file("page.pbm");
    std::ofstream(in, std::ios::binary)
        .write(reinterpret_cast<const char*>(stream.data()),
               static_cast<std::streamsize>(stream.size()));
    std::string output;
    ASSERT_EQ(pdftest::Sh("jbig2dec -e -t pbm -o " + out + " " + in, &output), 0) << output;
    std::ifstream pbm(out, std::ios::binary);
    std::string magic;
    int w = 0, h = 0;
    pbm >> magic >> w >> h;
    pbm.get();
    ASSERT_EQ(magic, "P4");
    ASSERT_EQ(w, b.width);
    ASSERT_EQ(h, b.height);
    std::vector<uint8_t> pixels(b.rows.size());
    pbm.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    EXPECT_TRUE(pixels == Trimmed(b).rows);
}

// What the encoder is for: text codes much smaller than as G4.
TEST(Jbig2Encoder, TextIsSmallerThanG4) {
    const Bitmap b = TextLike(2480, 3508, 11);
    size_t g4Bytes = 0;
    G4Encoder g4(b.width, [&g4Bytes](const uint8_t*, size_t n) { g4Bytes += n; });
    for (int y = 0; y < b.height; ++y) g4.encodeRow(b.rows.data() + y * b.rowBytes());
    g4.finish();
    const size_t jbig2Bytes = Encode(b).size();
    EXPECT_LT(jbig2Bytes * 10, g4Bytes * 8) << jbig2Bytes << " vs G4 " << g4Bytes;
}

}  // namespace

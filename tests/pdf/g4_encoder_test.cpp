// The G4 encoder, decoded by libtiff's independent CCITT decoder: every row must come back.
#include "pdf/g4_encoder.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <random>
#include <vector>

#include "support/test_support.h"

using namespace vellumo::pdf;

namespace {

using Rows = std::vector<std::vector<uint8_t>>;

std::vector<uint8_t> Encode(int width, const Rows& rows) {
    std::vector<uint8_t> out;
    G4Encoder encoder(width,
                      [&out](const uint8_t* d, size_t n) { out.insert(out.end(), d, d + n); });
    for (const auto& row : rows) encoder.encodeRow(row.data());
    encoder.finish();
    return out;
}

// Wraps the coded data in a one-strip TIFF and lets libtiff decode it.
Rows DecodeWithLibtiff(int width, int height, const std::vector<uint8_t>& data) {
    testsupport::TempDir dir;
    const std::string path = dir.file("g4.tif");
    TIFF* out = TIFFOpen(path.c_str(), "w");
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, height);
    TIFFWriteRawStrip(out, 0, const_cast<uint8_t*>(data.data()),
                      static_cast<tmsize_t>(data.size()));
    TIFFClose(out);

    Rows rows;
    TIFF* in = TIFFOpen(path.c_str(), "r");
    if (!in) return rows;
    const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
    std::vector<uint8_t> strip(rowBytes * height);
    if (TIFFReadEncodedStrip(in, 0, strip.data(), static_cast<tmsize_t>(strip.size())) ==
        static_cast<tmsize_t>(strip.size())) {
        for (int y = 0; y < height; ++y)
            rows.emplace_back(strip.begin() + y * rowBytes, strip.begin() + (y + 1) * rowBytes);
    }
    TIFFClose(in);
    return rows;
}

// Bits past the width do not belong to the image.
void ClearPadding(int width, Rows& rows) {
    if (width % 8 == 0) return;
    for (auto& row : rows) row.back() &= static_cast<uint8_t>(0xFF << (8 - width % 8));
}

void ExpectRoundTrip(int width, Rows rows) {
    const std::vector<uint8_t> coded = Encode(width, rows);
    ClearPadding(width, rows);
    Rows back = DecodeWithLibtiff(width, static_cast<int>(rows.size()), coded);
    ClearPadding(width, back);
    ASSERT_EQ(back.size(), rows.size()) << "width " << width;
    for (size_t y = 0; y < rows.size(); ++y)
        ASSERT_EQ(back[y], rows[y]) << "width " << width << " row " << y;
}

Rows Random(int width, int height, double black, unsigned seed) {
    std::mt19937 rng(seed);
    std::bernoulli_distribution ink(black);
    Rows rows(height, std::vector<uint8_t>((width + 7) / 8, 0));
    for (auto& row : rows)
        for (int x = 0; x < width; ++x)
            if (ink(rng)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    return rows;
}

TEST(G4Encoder, RandomPagesOfAwkwardWidths) {
    for (int width : {1, 2, 7, 8, 9, 63, 64, 65, 127, 128, 129, 1728, 2480}) {
        ExpectRoundTrip(width, Random(width, 40, 0.5, width));
        ExpectRoundTrip(width, Random(width, 40, 0.03, width + 1));  // sparse: long white runs
        ExpectRoundTrip(width, Random(width, 40, 0.97, width + 2));  // dense: long black runs
    }
}

TEST(G4Encoder, LongRunsNeedExtendedMakeUpCodes) {
    for (int width : {2559, 2560, 2561, 2623, 2624, 2625, 5200, 9000}) {
        Rows rows;
        const size_t bytes = (width + 7) / 8;
        rows.emplace_back(bytes, 0x00);  // all white
        rows.emplace_back(bytes, 0xFF);  // all black
        std::vector<uint8_t> split(bytes, 0x00);
        for (int x = 1; x < width; ++x)  // one white pixel, then black to the end
            split[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        rows.push_back(split);
        rows.emplace_back(bytes, 0xFF);
        rows.emplace_back(bytes, 0x00);
        rows.emplace_back(bytes, 0xAA);  // alternating pixels
        rows.emplace_back(bytes, 0x55);
        ExpectRoundTrip(width, rows);
    }
}

TEST(G4Encoder, ShapesWithEdgesInEveryDirection) {
    const int width = 300, height = 200;
    Rows rows(height, std::vector<uint8_t>((width + 7) / 8, 0));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int dx = x - 150, dy = y - 100;
            const bool ring = dx * dx + dy * dy < 90 * 90 && dx * dx + dy * dy > 40 * 40;
            const bool diagonal = std::abs(x - y) < 3 || std::abs(x + y - 250) < 2;
            if (ring != diagonal) rows[y][x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    ExpectRoundTrip(width, rows);
}

}  // namespace

// Test images for the codec tests: patterns of every depth, pixel comparison through the
// colours a viewer would show, and netpbm files for the independent tools.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/codec_common.h"
#include "imaging/codecs.h"
#include "tests/support/test_support.h"

namespace fixtures {
using namespace vellumo::imaging;

// Owns an image for the length of a test.
struct Image {
    vellumo::imaging::ImageBuffer buffer{};
    Image() = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    ~Image() { FreeImage(buffer); }
    operator vellumo::imaging::ImageBuffer&() { return buffer; }
    vellumo::imaging::ImageBuffer* operator->() { return &buffer; }
};

// A pattern with structure in both directions and, for colour, every channel different.
// kind: 1 bilevel, 8 grey ramp, 80 eight-bit with a colourful table, 24 colour.
inline void MakePattern(vellumo::imaging::ImageBuffer& image, int kind, int width, int height) {
    const int bits = kind == 80 ? 8 : kind;
    ASSERT_EQ(AllocateImage(image, width, height, bits), kImgOk);
    if (kind == 80) {
        for (int i = 0; i < 256; ++i)
            image.palette[i] = vellumo::imaging::RgbQuad{static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i),
                                       static_cast<uint8_t>(i * 3 + 11), 0};
        image.imageFlags &= ~vellumo::imaging::kImageFlagGrey;
    }
    for (int y = 0; y < height; ++y) {
        uint8_t* row = RowPointer(image, static_cast<uint32_t>(y));
        for (int x = 0; x < width; ++x) {
            switch (bits) {
                case 1:
                    if (((x / 3) + (y / 2)) % 2 || x == y)
                        row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
                    break;
                case 8:
                    row[x] = static_cast<uint8_t>((x * 5 + y * 11) & 255);
                    break;
                case 24:
                    row[3 * x] = static_cast<uint8_t>((x * 4) & 255);
                    row[3 * x + 1] = static_cast<uint8_t>((y * 6) & 255);
                    row[3 * x + 2] = static_cast<uint8_t>((x * 2 + y * 3) & 255);
                    break;
            }
        }
    }
}

// A smooth colour picture (for lossy formats, whose error on sharp edges is large).
inline void MakeSmooth(vellumo::imaging::ImageBuffer& image, int bits, int width, int height) {
    ASSERT_EQ(AllocateImage(image, width, height, bits), kImgOk);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = RowPointer(image, static_cast<uint32_t>(y));
        for (int x = 0; x < width; ++x) {
            const double fx = static_cast<double>(x) / width, fy = static_cast<double>(y) / height;
            const auto r = static_cast<uint8_t>(127 + 120 * std::sin(6 * fx + 2 * fy));
            const auto g = static_cast<uint8_t>(127 + 120 * std::cos(4 * fy - fx));
            const auto b = static_cast<uint8_t>(255 * fx * fy);
            if (bits == 8) {
                row[x] = r;
            } else {
                row[3 * x] = b;
                row[3 * x + 1] = g;
                row[3 * x + 2] = r;
            }
        }
    }
}

// The working area as RGB, top row first.
inline std::vector<uint8_t> Rgb(const vellumo::imaging::ImageBuffer& image) {
    std::vector<uint8_t> out(static_cast<size_t>(AreaWidth(image)) * AreaHeight(image) * 3);
    for (uint32_t y = 0; y < AreaHeight(image); ++y)
        codec::AreaRowToRgb(image, y, out.data() + static_cast<size_t>(y) * AreaWidth(image) * 3);
    return out;
}

// Same size and the same colour at every pixel.
inline ::testing::AssertionResult SamePicture(const vellumo::imaging::ImageBuffer& a, const vellumo::imaging::ImageBuffer& b) {
    if (AreaWidth(a) != AreaWidth(b) || AreaHeight(a) != AreaHeight(b))
        return ::testing::AssertionFailure() << "size " << AreaWidth(a) << "x" << AreaHeight(a)
                                             << " vs " << AreaWidth(b) << "x" << AreaHeight(b);
    const auto pa = Rgb(a), pb = Rgb(b);
    for (size_t i = 0; i < pa.size(); ++i)
        if (pa[i] != pb[i]) {
            const size_t pixel = i / 3;
            return ::testing::AssertionFailure()
                   << "pixel (" << pixel % AreaWidth(a) << ", " << pixel / AreaWidth(a)
                   << ") channel " << i % 3 << ": " << int(pa[i]) << " vs " << int(pb[i]);
        }
    return ::testing::AssertionSuccess();
}

// Same size, every channel within `tolerance` (for tools that round 16-bit values their way).
inline ::testing::AssertionResult ClosePicture(const vellumo::imaging::ImageBuffer& a, const vellumo::imaging::ImageBuffer& b,
                                               int tolerance) {
    if (AreaWidth(a) != AreaWidth(b) || AreaHeight(a) != AreaHeight(b))
        return ::testing::AssertionFailure() << "sizes differ";
    const auto pa = Rgb(a), pb = Rgb(b);
    for (size_t i = 0; i < pa.size(); ++i)
        if (std::abs(int(pa[i]) - int(pb[i])) > tolerance)
            return ::testing::AssertionFailure()
                   << "byte " << i << ": " << int(pa[i]) << " vs " << int(pb[i]);
    return ::testing::AssertionSuccess();
}

inline double Psnr(const vellumo::imaging::ImageBuffer& a, const vellumo::imaging::ImageBuffer& b) {
    const auto pa = Rgb(a), pb = Rgb(b);
    if (pa.size() != pb.size() || pa.empty()) return 0;
    double sum = 0;
    for (size_t i = 0; i < pa.size(); ++i) {
        const double d = double(pa[i]) - double(pb[i]);
        sum += d * d;
    }
    const double mse = sum / pa.size();
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

// The working area as a netpbm file: P4 (1-bit, 1 = black in the file), P5 (8-bit grey ramp)
// or P6 (everything else).
inline std::string Netpbm(const vellumo::imaging::ImageBuffer& image) {
    const uint32_t w = AreaWidth(image), h = AreaHeight(image);
    const int bits = BitsPerPixel(image);
    std::string out;
    if (bits == 1 && HasGreyRamp(image)) {
        out = "P4\n" + std::to_string(w) + " " + std::to_string(h) + "\n";
        std::vector<uint8_t> row((w + 7) / 8);
        for (uint32_t y = 0; y < h; ++y) {
            codec::AreaRowBits(image, y, row.data());
            for (auto& b : row) b = static_cast<uint8_t>(~b);
            if (w % 8) row.back() &= static_cast<uint8_t>(0xFF << (8 - w % 8));
            out.append(reinterpret_cast<const char*>(row.data()), row.size());
        }
    } else if (bits == 8 && HasGreyRamp(image)) {
        out = "P5\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
        std::vector<uint8_t> row(w);
        for (uint32_t y = 0; y < h; ++y) {
            codec::AreaRowToGrey(image, y, row.data());
            out.append(reinterpret_cast<const char*>(row.data()), row.size());
        }
    } else {
        out = "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
        const auto rgb = Rgb(image);
        out.append(reinterpret_cast<const char*>(rgb.data()), rgb.size());
    }
    return out;
}

// Reads a binary P5/P6 file (as written by the tools with maxval 255) into a 24-bit image.
inline bool ReadNetpbm(const std::string& data, vellumo::imaging::ImageBuffer& image) {
    // Header tokens, skipping comments.
    size_t pos = 0;
    auto token = [&]() {
        std::string t;
        while (pos < data.size()) {
            const char c = data[pos];
            if (c == '#') {
                while (pos < data.size() && data[pos] != '\n') ++pos;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                if (!t.empty()) break;
                ++pos;
            } else {
                t += c;
                ++pos;
            }
        }
        return t;
    };
    const std::string kind = token();
    const int w = std::atoi(token().c_str()), h = std::atoi(token().c_str());
    const int maxval = std::atoi(token().c_str());
    const bool colour = kind == "P6";
    if ((!colour && kind != "P5") || maxval != 255 || w <= 0 || h <= 0) return false;
    const size_t start = pos + 1;
    const size_t channels = colour ? 3 : 1;
    if (data.size() < start + static_cast<size_t>(w) * h * channels) return false;
    if (AllocateImage(image, w, h, 24) != kImgOk) return false;
    for (int y = 0; y < h; ++y) {
        uint8_t* row = RowPointer(image, static_cast<uint32_t>(y));
        for (int x = 0; x < w; ++x) {
            const auto* p = reinterpret_cast<const uint8_t*>(data.data()) + start +
                            (static_cast<size_t>(y) * w + x) * channels;
            row[3 * x] = colour ? p[2] : p[0];
            row[3 * x + 1] = colour ? p[1] : p[0];
            row[3 * x + 2] = p[0];
        }
    }
    return true;
}

// What a netpbm converter (e.g. "tgatoppm") makes of a file, as a 24-bit image.
inline bool DecodeWithNetpbm(const std::string& tool, const std::string& file, vellumo::imaging::ImageBuffer& image) {
    const std::string data = testsupport::capture(tool + " " + testsupport::shellQuote(file) +
                                                  " 2>/dev/null | ppmtoppm");
    return ReadNetpbm(data, image);
}

// What ImageMagick sees in a file, as a 24-bit image.
inline bool DecodeWithImageMagick(const std::string& file, vellumo::imaging::ImageBuffer& image) {
    const std::string data =
        testsupport::capture("/usr/bin/convert " + testsupport::shellQuote(file) +
                             "[0] -depth 8 -type truecolor ppm:- 2>/dev/null");
    return ReadNetpbm(data, image);
}

// Loads a file through inspection and the format's loader.
inline int Load(const std::string& file, vellumo::imaging::ImageBuffer& image) {
    return ReadImageFile(file.c_str(), image);
}

// The first `keep` bytes of a file, written beside it.
inline std::string Truncated(const testsupport::TempDir& dir, const std::string& file,
                             size_t keep) {
    const std::string data = testsupport::readFile(file);
    const std::string cut =
        dir.file("cut-" + std::to_string(keep) + "-" + file.substr(file.find_last_of('/') + 1));
    testsupport::writeFile(cut, data.substr(0, keep < data.size() ? keep : data.size()));
    return cut;
}

}  // namespace fixtures

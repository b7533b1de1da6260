#include "imaging/tiff_page.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "imaging/codec_common.h"

namespace vellumo::imaging {

namespace {

// Largest output a compression method can make of one byte of input.
uint64_t ExpansionLimit(uint16_t compression, uint64_t rowBytes) {
    switch (compression) {
        case COMPRESSION_NONE:
            return 1;
        case COMPRESSION_PACKBITS:
            return 64;
        case COMPRESSION_ADOBE_DEFLATE:
        case COMPRESSION_DEFLATE:
            return 1032;
        case COMPRESSION_CCITTRLE:
        case COMPRESSION_CCITTRLEW:
        case COMPRESSION_CCITTFAX3:
        case COMPRESSION_CCITTFAX4:
            // Every row takes at least one bit.
            return 8 * (rowBytes + 1);
        default:
            return 8192;
    }
}

int Refuse(std::string* problem, int code, const std::string& why) {
    if (problem && problem->empty()) *problem = why;
    return code;
}

bool GreyPhotometric(uint16_t p) {
    return p == PHOTOMETRIC_MINISBLACK || p == PHOTOMETRIC_MINISWHITE;
}

bool IntegerSamples(uint16_t format) {
    return format == SAMPLEFORMAT_UINT || format == SAMPLEFORMAT_INT || format == SAMPLEFORMAT_VOID;
}

// How many colour samples a photometric interpretation has.
uint16_t NaturalColourSamples(TIFF* tif, uint16_t photometric) {
    switch (photometric) {
        case PHOTOMETRIC_RGB:
        case PHOTOMETRIC_YCBCR:
        case PHOTOMETRIC_CIELAB:
        case PHOTOMETRIC_ICCLAB:
        case PHOTOMETRIC_ITULAB:
        case PHOTOMETRIC_LOGLUV:
            return 3;
        case PHOTOMETRIC_SEPARATED: {
            uint16_t inks = 4;
            TIFFGetFieldDefaulted(tif, TIFFTAG_NUMBEROFINKS, &inks);
            return inks;
        }
        default:
            return 1;
    }
}

// ---- Samples to 16-bit levels ----

// The levels are kept with 16 bits, as ImageMagick keeps them, and reduced to 8 bits once at
// the end: deeper samples then round the way the other tools round them.
inline uint8_t To8(unsigned level16) {
    return static_cast<uint8_t>((level16 + 128) / 257);
}

inline float FloatFromBits(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

// Half-precision samples, widened by moving their bits (denormals, rare, through ldexp).
inline float HalfToFloat(uint16_t h) {
    const uint32_t sign = static_cast<uint32_t>(h >> 15) << 31, exponent = (h >> 10) & 31u,
                   mantissa = h & 1023u;
    if (exponent == 31) return FloatFromBits(sign | 0x7F800000u | (mantissa << 13));
    if (exponent == 0) {
        const float v = std::ldexp(static_cast<float>(mantissa), -24);
        return sign ? -v : v;
    }
    return FloatFromBits(sign | ((exponent - 15 + 127) << 23) | (mantissa << 13));
}

// The 24-bit floating-point samples of some scanners and DNG files: a sign, 7 bits of
// exponent (bias 63) and 16 of mantissa.
inline float Float24ToFloat(uint32_t v) {
    const uint32_t sign = ((v >> 23) & 1) << 31, exponent = (v >> 16) & 127, mantissa = v & 0xFFFF;
    if (exponent == 127) return FloatFromBits(sign | 0x7F800000u | (mantissa << 7));
    if (exponent == 0) {
        const float f = std::ldexp(static_cast<float>(mantissa), -62 - 16);
        return sign ? -f : f;
    }
    return FloatFromBits(sign | ((exponent - 63 + 127) << 23) | (mantissa << 7));
}

inline uint16_t ScaleFloat(double v, double low, double span) {
    const double x = (v - low) / span;
    if (!(x > 0)) return 0;  // NaN too
    if (x >= 1) return 65535;
    return static_cast<uint16_t>(x * 65535 + 0.5);
}

// Unpacks `count` samples (sample i at index first + i * stride of the packed row) into
// levels: scaled to 0..65535, or the stored value itself for colour-table indices.
void UnpackSamples(const TiffPage& page, const uint8_t* row, size_t first, size_t stride,
                   size_t count, bool raw, uint16_t* out) {
    const unsigned bps = page.bitsPerSample;
    if (page.sampleFormat == SAMPLEFORMAT_IEEEFP) {
        const double low = page.sampleMin, span = page.sampleMax - page.sampleMin;
        for (size_t i = 0; i < count; ++i) {
            const size_t at = (first + i * stride) * (bps / 8);
            double v;
            if (bps == 32) {
                float f;
                std::memcpy(&f, row + at, 4);
                v = f;
            } else if (bps == 64) {
                std::memcpy(&v, row + at, 8);
            } else if (bps == 16) {
                uint16_t h;
                std::memcpy(&h, row + at, 2);
                v = HalfToFloat(h);
            } else {
                v = Float24ToFloat(uint32_t{row[at]} | (uint32_t{row[at + 1]} << 8) |
                                   (uint32_t{row[at + 2]} << 16));
            }
            out[i] = ScaleFloat(v, low, span);
        }
        return;
    }
    // Integer samples (signed ones are taken by their bits, as libtiff's own tools take them).
    switch (bps) {
        case 8:
            for (size_t i = 0; i < count; ++i) {
                const unsigned v = row[first + i * stride];
                out[i] = static_cast<uint16_t>(raw ? v : v * 257);
            }
            return;
        case 16:
            for (size_t i = 0; i < count; ++i) {
                uint16_t v;
                std::memcpy(&v, row + 2 * (first + i * stride), 2);
                out[i] = v;
            }
            return;
        case 24:
            for (size_t i = 0; i < count; ++i) {
                const uint8_t* p = row + 3 * (first + i * stride);
                const uint64_t v = p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
                out[i] = static_cast<uint16_t>((v * 65535 + 0x7FFFFF) / 0xFFFFFF);
            }
            return;
        case 32:
            for (size_t i = 0; i < count; ++i) {
                uint32_t v;
                std::memcpy(&v, row + 4 * (first + i * stride), 4);
                out[i] = static_cast<uint16_t>((uint64_t{v} * 65535 + 0x7FFFFFFF) / 0xFFFFFFFFu);
            }
            return;
        default: {
            // 1 to 15 bits, packed with the first sample in the high bits; rows carry a few
            // bytes of slack, so three bytes can always be read.
            const unsigned max = (1u << bps) - 1;
            for (size_t i = 0; i < count; ++i) {
                const size_t bit = (first + i * stride) * bps;
                const uint8_t* p = row + (bit >> 3);
                const uint32_t word = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
                const unsigned v = (word >> (24 - (bit & 7) - bps)) & max;
                out[i] = static_cast<uint16_t>(raw ? v : (v * 65535u + max / 2) / max);
            }
            return;
        }
    }
}

// ---- CIE L*a*b* ----

bool LabPhotometric(uint16_t p) {
    return p == PHOTOMETRIC_CIELAB || p == PHOTOMETRIC_ICCLAB;
}

// sRGB's transfer curve on linear light 0..1, in 4096 steps, as 16-bit levels.
struct SrgbCurve {
    uint16_t level[4097];
    SrgbCurve() {
        for (int i = 0; i <= 4096; ++i) {
            const double v = i / 4096.0;
            const double c = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
            level[i] = static_cast<uint16_t>(std::lround(std::clamp(c, 0.0, 1.0) * 65535));
        }
    }
};

inline double LabInverse(double t) {
    constexpr double kEdge = 6.0 / 29.0;
    return t > kEdge ? t * t * t : 3 * kEdge * kEdge * (t - 4.0 / 29.0);
}

// One L*a*b* pixel (relative to D65, as the other tools take it) as 16-bit sRGB levels.
inline void LabToSrgb(double l, double a, double b, const SrgbCurve& curve, unsigned& red,
                      unsigned& green, unsigned& blue) {
    const double fy = (l + 16) / 116, fx = fy + a / 500, fz = fy - b / 200;
    const double x = 0.95047 * LabInverse(fx), y = LabInverse(fy), z = 1.08883 * LabInverse(fz);
    const double linear[3] = {3.2404542 * x - 1.5371385 * y - 0.4985314 * z,
                              -0.9692660 * x + 1.8760108 * y + 0.0415560 * z,
                              0.0556434 * x - 0.2040259 * y + 1.0572252 * z};
    unsigned out[3];
    for (int c = 0; c < 3; ++c)
        out[c] = curve.level[static_cast<int>(std::clamp(linear[c], 0.0, 1.0) * 4096 + 0.5)];
    red = out[0];
    green = out[1];
    blue = out[2];
}

// ---- Reading the stored rows ----

// Hands out the stored rows in order, one packed row per plane, whatever the file's layout:
// contiguous strips row by row, separate planes strip by strip, tiles a row of tiles at a time.
// Memory holds one strip or one row of tiles of each plane.
class StoredRows {
public:
    StoredRows(TIFF* tif, const TiffPage& page) : tif_(tif), page_(page) {}

    int begin(std::string* problem) {
        planes_ = page_.planar == PLANARCONFIG_SEPARATE ? page_.samplesPerPixel : 1;
        const unsigned samplesPerPlane = planes_ > 1 ? 1 : page_.samplesPerPixel;
        const uint64_t rowBytes =
            (uint64_t{page_.storedWidth} * page_.bitsPerSample * samplesPerPlane + 7) / 8;
        if (page_.tiled) {
            uint32_t tileWidth = 0, tileLength = 0;
            TIFFGetField(tif_, TIFFTAG_TILEWIDTH, &tileWidth);
            TIFFGetField(tif_, TIFFTAG_TILELENGTH, &tileLength);
            const tmsize_t tileRow = TIFFTileRowSize(tif_);
            const tmsize_t tileBytes = TIFFTileSize(tif_);
            if (tileWidth == 0 || tileLength == 0 || tileRow <= 0 || tileBytes <= 0)
                return Refuse(problem, kImgCorruptFile, "the tile size is invalid");
            tileWidth_ = tileWidth;
            bandRows_ = tileLength;
            tileRowBytes_ = static_cast<uint64_t>(tileRow);
            const uint64_t across = (page_.storedWidth + uint64_t{tileWidth} - 1) / tileWidth;
            rowStride_ = across * tileRowBytes_;
            if (rowStride_ < rowBytes || static_cast<uint64_t>(tileBytes) > kMaxPixelBytes ||
                static_cast<uint64_t>(tileBytes) < tileRowBytes_ * tileLength)
                return Refuse(problem, kImgCorruptFile, "the tile size is invalid");
            if (!allocate(tile_, static_cast<uint64_t>(tileBytes)))
                return Refuse(problem, kImgNoMemory, "not enough memory");
        } else if (planes_ > 1) {
            uint32_t rowsPerStrip = 0;
            TIFFGetFieldDefaulted(tif_, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
            bandRows_ = rowsPerStrip == 0 ? page_.storedHeight : rowsPerStrip;
            rowStride_ = rowBytes;
        } else {
            // One plane in strips: libtiff decodes row by row, holding only the coded strip.
            const tmsize_t line = TIFFScanlineSize(tif_);
            if (line <= 0 || static_cast<uint64_t>(line) < rowBytes)
                return Refuse(problem, kImgCorruptFile, "the row size is invalid");
            bandRows_ = 1;
            rowStride_ = static_cast<uint64_t>(line);
        }
        // A few bytes of slack: the unpacking reads up to three bytes at a time.
        const uint64_t bandBytes = rowStride_ * std::min(bandRows_, page_.storedHeight) + 8;
        if (bandBytes > kMaxPixelBytes)
            return Refuse(problem, kImgNoMemory, "the strips are too large");
        bands_.resize(planes_);
        for (auto& plane : bands_)
            if (!allocate(plane, bandBytes))
                return Refuse(problem, kImgNoMemory, "not enough memory");
        return kImgOk;
    }

    // Row y (rows are asked for in order): one pointer per plane. False when the data cannot
    // be read.
    bool row(uint32_t y, const uint8_t** planes) {
        if (!page_.tiled && planes_ == 1) {
            if (TIFFReadScanline(tif_, bands_[0].data(), y, 0) < 0) return false;
            planes[0] = bands_[0].data();
            return true;
        }
        if (!loaded_ || y < bandTop_ || y - bandTop_ >= bandRows_) {
            if (!load(y - y % bandRows_)) return false;
        }
        for (unsigned p = 0; p < planes_; ++p)
            planes[p] = bands_[p].data() + (y - bandTop_) * rowStride_;
        return true;
    }

private:
    static bool allocate(std::vector<uint8_t>& buffer, uint64_t bytes) {
        try {
            buffer.assign(static_cast<size_t>(bytes), 0);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

    // Reads the band of rows that starts at row top, in every plane.
    bool load(uint32_t top) {
        const uint32_t rows = std::min(bandRows_, page_.storedHeight - top);
        for (unsigned p = 0; p < planes_; ++p) {
            uint8_t* band = bands_[p].data();
            if (!page_.tiled) {
                const uint32_t strip = TIFFComputeStrip(tif_, top, static_cast<uint16_t>(p));
                const auto want = static_cast<tmsize_t>(rows * rowStride_);
                if (TIFFReadEncodedStrip(tif_, strip, band, want) < want) return false;
                continue;
            }
            const auto need = static_cast<tmsize_t>(rows * tileRowBytes_);
            for (uint32_t x = 0, column = 0; x < page_.storedWidth; x += tileWidth_, ++column) {
                const uint32_t tile = TIFFComputeTile(tif_, x, top, 0, static_cast<uint16_t>(p));
                if (TIFFReadEncodedTile(tif_, tile, tile_.data(),
                                        static_cast<tmsize_t>(tile_.size())) < need)
                    return false;
                const uint64_t offset = column * tileRowBytes_;
                for (uint32_t r = 0; r < rows; ++r)
                    std::memcpy(band + r * rowStride_ + offset, tile_.data() + r * tileRowBytes_,
                                static_cast<size_t>(tileRowBytes_));
            }
        }
        bandTop_ = top;
        loaded_ = true;
        return true;
    }

    TIFF* tif_;
    const TiffPage& page_;
    unsigned planes_ = 1;
    uint64_t rowStride_ = 0;  // distance between the rows of a band
    uint32_t bandRows_ = 1;   // rows per strip or per tile
    uint32_t bandTop_ = 0;
    bool loaded_ = false;
    uint32_t tileWidth_ = 0;
    uint64_t tileRowBytes_ = 0;
    std::vector<std::vector<uint8_t>> bands_;
    std::vector<uint8_t> tile_;
};

// ---- Stored rows to the page's rows ----

class RowConverter {
public:
    RowConverter(TIFF* tif, const TiffPage& page) : page_(page) {
        const uint32_t width = page.storedWidth;
        channels_ = page.colourSamples + (page.alphaSample >= 0 ? 1 : 0);
        levels_.resize(static_cast<size_t>(width) * channels_);
        if (page.photometric == PHOTOMETRIC_PALETTE && page.kind == TiffPageKind::Colour) {
            uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
            TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b);
            const size_t entries = size_t{1} << page.bitsPerSample;
            map_.resize(entries * 3);
            for (size_t i = 0; i < entries; ++i) {
                map_[3 * i] = r[i];
                map_[3 * i + 1] = g[i];
                map_[3 * i + 2] = b[i];
            }
        }
    }

    // Converts one stored row (a pointer per plane) into out, in the page's format.
    void convert(const uint8_t* const* planes, uint8_t* out) {
        const TiffPage& p = page_;
        const uint32_t width = p.storedWidth;
        if (p.imageBits == 1) {
            // Bilevel and two-colour palette rows keep their bits; min-is-white is inverted so
            // that 1 is white, as the grey ramp of a 1-bit image says.
            const size_t bytes = (width + 7) / 8;
            const bool invert = p.photometric == PHOTOMETRIC_MINISWHITE;
            for (size_t i = 0; i < bytes; ++i)
                out[i] = invert ? static_cast<uint8_t>(~planes[0][i]) : planes[0][i];
            if (width % 8) out[bytes - 1] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
            return;
        }
        unpack(planes);
        const uint16_t* l = levels_.data();
        const size_t w = width;
        const uint16_t* alpha = p.alphaSample >= 0 ? l + w * p.colourSamples : nullptr;
        if (p.kind == TiffPageKind::Palette) {
            for (size_t x = 0; x < w; ++x) out[x] = static_cast<uint8_t>(l[x]);
            return;
        }
        if (p.kind == TiffPageKind::Grey) {
            const bool invert = p.photometric == PHOTOMETRIC_MINISWHITE;
            for (size_t x = 0; x < w; ++x) {
                unsigned v = invert ? 65535u - l[x] : l[x];
                if (alpha) v = OnWhite(v, alpha[x]);
                out[x] = To8(v);
            }
            return;
        }
        // Colour: from RGB, CMYK or a deep colour table.
        for (size_t x = 0; x < w; ++x) {
            unsigned r, g, b;
            if (p.photometric == PHOTOMETRIC_PALETTE) {
                const size_t index = l[x];
                r = map_[3 * index];
                g = map_[3 * index + 1];
                b = map_[3 * index + 2];
            } else if (LabPhotometric(p.photometric)) {
                // Lightness from 0 to 100; a* and b* signed (CIELab) or offset by half their
                // range (ICCLab), in units of 1 at 8 bits and 1/256 at 16.
                const bool deep = p.bitsPerSample == 16;
                const unsigned rawA = l[x + w], rawB = l[x + 2 * w];
                double a, bb;
                if (p.photometric == PHOTOMETRIC_CIELAB) {
                    a = deep ? static_cast<int16_t>(rawA) : static_cast<int8_t>(rawA);
                    bb = deep ? static_cast<int16_t>(rawB) : static_cast<int8_t>(rawB);
                } else {
                    a = static_cast<double>(rawA) - (deep ? 32768 : 128);
                    bb = static_cast<double>(rawB) - (deep ? 32768 : 128);
                }
                if (deep) {
                    a /= 256;
                    bb /= 256;
                }
                LabToSrgb(l[x] * 100.0 / (deep ? 65535 : 255), a, bb, curve_, r, g, b);
            } else if (p.photometric == PHOTOMETRIC_SEPARATED) {
                const unsigned white = 65535u - l[x + 3 * w];
                r = Times(65535u - l[x], white);
                g = Times(65535u - l[x + w], white);
                b = Times(65535u - l[x + 2 * w], white);
            } else {
                r = l[x];
                g = l[x + w];
                b = l[x + 2 * w];
            }
            if (alpha) {
                r = OnWhite(r, alpha[x]);
                g = OnWhite(g, alpha[x]);
                b = OnWhite(b, alpha[x]);
            }
            out[3 * x] = To8(b);
            out[3 * x + 1] = To8(g);
            out[3 * x + 2] = To8(r);
        }
    }

private:
    static unsigned Times(unsigned a, unsigned b) { return (a * b + 32767u) / 65535u; }
    unsigned OnWhite(unsigned v, unsigned a) const {
        if (page_.alphaAssociated) return std::min(65535u, v + 65535u - a);
        return static_cast<unsigned>((uint64_t{v} * a + uint64_t{65535} * (65535 - a) + 32767) /
                                     65535);
    }

    // Channel-major levels: the colour samples, then alpha.
    void unpack(const uint8_t* const* planes) {
        const TiffPage& p = page_;
        const size_t w = p.storedWidth;
        const bool separate = p.planar == PLANARCONFIG_SEPARATE && p.samplesPerPixel > 1;
        // Colour-table indices and L*a*b* values are taken as stored.
        const bool palette = p.photometric == PHOTOMETRIC_PALETTE;
        const bool lab = LabPhotometric(p.photometric);
        for (unsigned c = 0; c < channels_; ++c) {
            const unsigned sample = c < p.colourSamples ? c : static_cast<unsigned>(p.alphaSample);
            const bool raw = (palette && c == 0) || (lab && c < 3);
            uint16_t* out = levels_.data() + c * w;
            if (separate)
                UnpackSamples(p, planes[sample], 0, 1, w, raw, out);
            else
                UnpackSamples(p, planes[0], sample, p.samplesPerPixel, w, raw, out);
        }
    }

    const TiffPage& page_;
    unsigned channels_ = 1;
    std::vector<uint16_t> levels_;
    SrgbCurve curve_;
    std::vector<uint16_t> map_;  // red, green, blue of each entry of a deep colour table
};

int DecodeSamples(TIFF* tif, const TiffPage& page, OrientedRowWriter& writer,
                  std::string* problem) {
    StoredRows rows(tif, page);
    if (int rc = rows.begin(problem)) return rc;
    RowConverter converter(tif, page);
    std::vector<uint8_t> turned(
        writer.direct() ? 0 : RowBytesFor(page.storedWidth, static_cast<uint32_t>(page.imageBits)));
    std::vector<const uint8_t*> planes(page.samplesPerPixel);
    for (uint32_t y = 0; y < page.storedHeight; ++y) {
        if (!rows.row(y, planes.data()))
            return Refuse(problem, kImgCorruptFile, "the image data is damaged or incomplete");
        uint8_t* out = writer.direct() ? writer.rowTarget(y) : turned.data();
        converter.convert(planes.data(), out);
        if (!writer.direct()) writer.putRow(y, out);
    }
    return kImgOk;
}

int DecodeRgba(TIFF* tif, const TiffPage& page, OrientedRowWriter& writer, std::string* problem) {
    char message[1024] = {};
    TIFFRGBAImage rgba;
    if (!TIFFRGBAImageBegin(&rgba, tif, 1, message))
        return Refuse(problem, kImgUnsupportedFile, message);
    // Asked for the file's own orientation, libtiff hands the rows over as stored.
    rgba.req_orientation = static_cast<uint16_t>(page.orientation);
    const uint32_t width = page.storedWidth, height = page.storedHeight;
    uint32_t band = 0;
    if (page.tiled)
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &band);
    else
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &band);
    const uint32_t maxBand = static_cast<uint32_t>((size_t{64} << 20) / (4ull * width)) + 1;
    if (band == 0 || band > maxBand) band = maxBand;
    if (band > height) band = height;
    std::vector<uint32_t> raster;
    std::vector<uint8_t> row;
    try {
        raster.resize(static_cast<size_t>(band) * width);
        row.resize(static_cast<size_t>(width) * 3);
    } catch (const std::bad_alloc&) {
        TIFFRGBAImageEnd(&rgba);
        return Refuse(problem, kImgNoMemory, "not enough memory");
    }
    int rc = kImgOk;
    for (uint32_t top = 0; top < height && rc == kImgOk; top += band) {
        const uint32_t rows = std::min(band, height - top);
        rgba.row_offset = static_cast<int>(top);
        rgba.col_offset = 0;
        if (!TIFFRGBAImageGet(&rgba, raster.data(), width, rows)) {
            rc = Refuse(problem, kImgCorruptFile, "the image data is damaged or incomplete");
            break;
        }
        for (uint32_t r = 0; r < rows; ++r) {
            const uint32_t* src = raster.data() + static_cast<size_t>(r) * width;
            for (uint32_t x = 0; x < width; ++x) {
                // The interface hands out premultiplied colour: on white that is c + (255 - a).
                const unsigned a = TIFFGetA(src[x]);
                auto onWhite = [a](unsigned c) {
                    const unsigned v = c + 255 - a;
                    return static_cast<uint8_t>(v > 255 ? 255 : v);
                };
                if (page.imageBits == 24) {
                    row[3 * x] = onWhite(TIFFGetB(src[x]));
                    row[3 * x + 1] = onWhite(TIFFGetG(src[x]));
                    row[3 * x + 2] = onWhite(TIFFGetR(src[x]));
                } else {
                    row[x] = onWhite(TIFFGetR(src[x]));
                }
            }
            writer.putRow(top + r, row.data());
        }
    }
    TIFFRGBAImageEnd(&rgba);
    return rc;
}

}  // namespace

bool TiffPage::rowsAsStored() const {
    if (route != TiffRoute::Samples || tiled || orientation != Orientation::TopLeft ||
        (planar != PLANARCONFIG_CONTIG && samplesPerPixel > 1) || alphaSample >= 0 ||
        samplesPerPixel != colourSamples)
        return false;
    if (sampleFormat != SAMPLEFORMAT_UINT && sampleFormat != SAMPLEFORMAT_VOID) return false;
    if (compression == COMPRESSION_JPEG || compression == COMPRESSION_OJPEG) return false;
    switch (kind) {
        case TiffPageKind::Bilevel:
            return true;
        case TiffPageKind::Grey:
        case TiffPageKind::Palette:
            return bitsPerSample == 8 && samplesPerPixel == 1;
        case TiffPageKind::Colour:
            return bitsPerSample == 8 && samplesPerPixel == 3 && photometric == PHOTOMETRIC_RGB;
    }
    return false;
}

int DescribeTiffPage(TIFF* tif, long long fileBytes, TiffPage& page, std::string* problem) {
    page = TiffPage{};
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &page.storedWidth) ||
        !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &page.storedHeight))
        return Refuse(problem, kImgCorruptFile, "the image size is missing");
    if (page.storedWidth == 0 || page.storedHeight == 0)
        return Refuse(problem, kImgCorruptFile, "the image is empty");
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &page.bitsPerSample);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &page.samplesPerPixel);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &page.compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &page.planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &page.sampleFormat);
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &page.photometric)) {
        page.photometric = page.samplesPerPixel >= 3 ? PHOTOMETRIC_RGB
                           : page.bitsPerSample == 1 ? PHOTOMETRIC_MINISWHITE
                                                     : PHOTOMETRIC_MINISBLACK;
    }
    page.tiled = TIFFIsTiled(tif) != 0;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    page.orientation = OrientationFromTag(orientation);
    if (!TIFFIsCODECConfigured(page.compression))
        return Refuse(
            problem, kImgUnsupportedFile,
            "compression method " + std::to_string(page.compression) + " is not supported");
    const uint16_t bps = page.bitsPerSample, spp = page.samplesPerPixel;
    if (spp == 0) return Refuse(problem, kImgCorruptFile, "the image has no samples");

    // Colour samples and alpha.
    uint16_t extraCount = 0;
    uint16_t* extraTypes = nullptr;
    page.colourSamples = std::min(spp, NaturalColourSamples(tif, page.photometric));
    if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes) && extraCount &&
        extraTypes && extraCount < spp) {
        page.colourSamples = static_cast<uint16_t>(spp - extraCount);
        for (uint16_t i = 0; i < extraCount; ++i) {
            if (extraTypes[i] == EXTRASAMPLE_ASSOCALPHA ||
                extraTypes[i] == EXTRASAMPLE_UNASSALPHA) {
                page.alphaSample = page.colourSamples + i;
                page.alphaAssociated = extraTypes[i] == EXTRASAMPLE_ASSOCALPHA;
                break;
            }
        }
    }

    // Resolution.
    float xres = 0, yres = 0;
    uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xres) && xres > 0 && xres < 1e6) {
        if (!TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yres) || !(yres > 0) || yres >= 1e6)
            yres = xres;
        const double scale = unit == RESUNIT_CENTIMETER ? 2.54 : unit == RESUNIT_INCH ? 1.0 : 0.0;
        const bool swap = SwapsSides(page.orientation);
        page.dpiX = (swap ? yres : xres) * scale;
        page.dpiY = (swap ? xres : yres) * scale;
    }

    // Sample formats we scale ourselves.
    const bool integer = IntegerSamples(page.sampleFormat);
    const bool floating = page.sampleFormat == SAMPLEFORMAT_IEEEFP;
    if (!integer && !floating)
        return Refuse(problem, kImgUnsupportedFile, "complex-valued samples are not a picture");
    if (integer && !((bps >= 1 && bps <= 16) || bps == 24 || bps == 32))
        return Refuse(problem, kImgUnsupportedFile,
                      std::to_string(bps) + "-bit integer samples are not supported");
    if (floating && bps != 16 && bps != 24 && bps != 32 && bps != 64)
        return Refuse(problem, kImgUnsupportedFile,
                      std::to_string(bps) + "-bit floating-point samples are not supported");
    if (floating) {
        double low = 0, high = 0;
        if (TIFFGetField(tif, TIFFTAG_SMINSAMPLEVALUE, &low) &&
            TIFFGetField(tif, TIFFTAG_SMAXSAMPLEVALUE, &high) && std::isfinite(low) &&
            std::isfinite(high) && high > low) {
            page.sampleMin = low;
            page.sampleMax = high;
        }
    }

    // The page's kind, and who reads the samples.
    const uint16_t photometric = page.photometric;
    bool samples = false;
    if (GreyPhotometric(photometric)) {
        samples = true;
        page.kind = integer && bps == 1 && spp == 1 ? TiffPageKind::Bilevel : TiffPageKind::Grey;
    } else if (photometric == PHOTOMETRIC_PALETTE) {
        uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
        if (!integer || bps > 16)
            return Refuse(problem, kImgUnsupportedFile, "the colour table indices are invalid");
        if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b) || !r || !g || !b)
            return Refuse(problem, kImgCorruptFile, "the colour table is missing");
        samples = true;
        page.colourSamples = 1;
        page.kind = bps <= 8 && page.alphaSample < 0 ? TiffPageKind::Palette : TiffPageKind::Colour;
    } else if (photometric == PHOTOMETRIC_RGB && page.colourSamples >= 3) {
        samples = true;
        page.colourSamples = 3;
        page.kind = TiffPageKind::Colour;
    } else if (LabPhotometric(photometric) && page.colourSamples >= 3 && integer &&
               (bps == 8 || bps == 16)) {
        samples = true;
        page.colourSamples = 3;
        page.kind = TiffPageKind::Colour;
    } else if (photometric == PHOTOMETRIC_SEPARATED && page.colourSamples == 4) {
        uint16_t inkSet = INKSET_CMYK;
        TIFFGetFieldDefaulted(tif, TIFFTAG_INKSET, &inkSet);
        samples = inkSet == INKSET_CMYK;
        page.kind = TiffPageKind::Colour;
    } else if (photometric == PHOTOMETRIC_YCBCR && page.compression == COMPRESSION_JPEG &&
               integer && bps == 8 && page.colourSamples == 3 &&
               page.planar == PLANARCONFIG_CONTIG) {
        // libjpeg converts the colours and undoes the subsampling.
        if (TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB)) {
            samples = true;
            page.photometric = PHOTOMETRIC_RGB;
            page.kind = TiffPageKind::Colour;
        }
    }
    if (!samples) {
        char message[1024] = {};
        if (!TIFFRGBAImageOK(tif, message)) return Refuse(problem, kImgUnsupportedFile, message);
        page.route = TiffRoute::Rgba;
        page.kind = GreyPhotometric(photometric) || photometric == PHOTOMETRIC_LOGL
                        ? TiffPageKind::Grey
                        : TiffPageKind::Colour;
    }
    page.imageBits = page.kind == TiffPageKind::Bilevel   ? 1
                     : page.kind == TiffPageKind::Palette ? (bps == 1 ? 1 : 8)
                     : page.kind == TiffPageKind::Grey    ? 8
                                                          : 24;

    UprightSize(page.orientation, page.storedWidth, page.storedHeight, page.width, page.height);
    if (!codec::AcceptableDimensions(page.width, page.height, page.imageBits))
        return Refuse(problem, kImgNoMemory, "the image is too large");
    // What the file claims must fit what its bytes can hold.
    const uint64_t rowBytes = (uint64_t{page.storedWidth} * bps * spp + 7) / 8;
    if (fileBytes >= 0 &&
        !codec::PlausibleSize(rowBytes * page.storedHeight, static_cast<uint64_t>(fileBytes),
                              ExpansionLimit(page.compression, rowBytes)))
        return Refuse(problem, kImgCorruptFile,
                      "the file is too small for the size of picture it claims");
    return kImgOk;
}

void TiffPageColours(TIFF* tif, const TiffPage& page, RgbQuad* table, int entries) {
    std::memset(table, 0, sizeof(RgbQuad) * static_cast<size_t>(entries));
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (page.kind != TiffPageKind::Palette ||
        !TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) || !red || !green || !blue) {
        for (int i = 0; i < entries; ++i) {
            const auto level = static_cast<uint8_t>(entries > 1 ? i * 255 / (entries - 1) : 0);
            table[i] = RgbQuad{level, level, level, 0};
        }
        return;
    }
    const int count = std::min(entries, 1 << page.bitsPerSample);
    // Old writers store 8-bit values in the 16-bit table.
    bool eightBit = true;
    for (int i = 0; i < count; ++i)
        if (red[i] > 255 || green[i] > 255 || blue[i] > 255) eightBit = false;
    auto level = [eightBit](uint16_t v) { return static_cast<uint8_t>(eightBit ? v : To8(v)); };
    for (int i = 0; i < count; ++i)
        table[i] = RgbQuad{level(blue[i]), level(green[i]), level(red[i]), 0};
}

int DecodeTiffPage(TIFF* tif, const TiffPage& page, ImageBuffer& image, std::string* problem) {
    if (int rc = codec::CheckLoadTarget(image, static_cast<int>(page.width),
                                        static_cast<int>(page.height), page.imageBits))
        return rc;
    if (page.imageBits <= 8) {
        TiffPageColours(tif, page, image.palette, image.paletteSize);
        if (HasGreyRamp(image))
            image.imageFlags |= kImageFlagGrey;
        else
            image.imageFlags &= ~kImageFlagGrey;
    } else {
        image.imageFlags &= ~kImageFlagGrey;
    }
    SetImageDpi(image, page.dpiX, page.dpiY);
    OrientedRowWriter writer;
    if (int rc = writer.begin(image, page.storedWidth, page.storedHeight, page.orientation))
        return rc;
    return page.route == TiffRoute::Samples ? DecodeSamples(tif, page, writer, problem)
                                            : DecodeRgba(tif, page, writer, problem);
}

}  // namespace vellumo::imaging

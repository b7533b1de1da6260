// TIFF through libtiff. Loads any page of a file (the first by default): bilevel, grey, palette,
// RGB and CMYK images of 1 to 16 bits per sample are decoded directly; tiled, planar and the
// remaining photometric interpretations (YCbCr, CIE L*a*b*, ...) go through libtiff's RGBA
// interface. libtiff's messages are swallowed: a bad file is reported by the result code alone.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <memory>
#include <vector>

#include "imaging/codec_common.h"
#include "imaging/codecs.h"
#include "imaging/lzw_encoder.h"

namespace vellumo::imaging {

namespace {

int Silent(TIFF*, void*, const char*, const char*, va_list) {
    return 1;  // handled: libtiff must not fall back to printing on stderr
}

struct TiffCloser {
    void operator()(TIFF* tif) const {
        if (tif) TIFFClose(tif);
    }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

TiffHandle OpenTiff(const char* file, const char* mode) {
    if (!file) return nullptr;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options, Silent, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Silent, nullptr);
    // libtiff itself only needs strip buffers and tables; our pixels are allocated by us.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t{256} << 20);
    TIFF* tif = TIFFOpenExt(file, mode, options);
    TIFFOpenOptionsFree(options);
    return TiffHandle(tif);
}

enum class Route { Direct, Rgba };

struct TiffLayout {
    uint32_t width = 0, height = 0;
    uint16_t bitsPerSample = 1, samplesPerPixel = 1, photometric = PHOTOMETRIC_MINISWHITE;
    uint16_t compression = COMPRESSION_NONE, planar = PLANARCONFIG_CONTIG;
    uint16_t sampleFormat = SAMPLEFORMAT_UINT;
    uint16_t alphaSample = 0;  // index of an alpha sample, 0 when there is none
    bool alphaAssociated = false;
    bool tiled = false;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    int imageBits = 0;
    Route route = Route::Direct;
    double dpiX = 0, dpiY = 0;
};

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

int ReadLayout(TIFF* tif, long long fileBytes, TiffLayout& layout) {
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &layout.width) ||
        !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &layout.height))
        return kImgCorruptFile;
    if (layout.width == 0 || layout.height == 0) return kImgCorruptFile;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &layout.bitsPerSample);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &layout.samplesPerPixel);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &layout.compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &layout.planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &layout.sampleFormat);
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &layout.photometric)) {
        layout.photometric = layout.samplesPerPixel >= 3 ? PHOTOMETRIC_RGB
                             : layout.bitsPerSample == 1 ? PHOTOMETRIC_MINISWHITE
                                                         : PHOTOMETRIC_MINISBLACK;
    }
    layout.tiled = TIFFIsTiled(tif) != 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &layout.orientation);
    if (!TIFFIsCODECConfigured(layout.compression)) return kImgUnsupportedFile;
    uint16_t extraCount = 0;
    uint16_t* extraTypes = nullptr;
    if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes) && extraCount &&
        extraTypes) {
        const uint16_t colourSamples = layout.samplesPerPixel - extraCount;
        if (layout.samplesPerPixel > extraCount &&
            (extraTypes[0] == EXTRASAMPLE_ASSOCALPHA || extraTypes[0] == EXTRASAMPLE_UNASSALPHA)) {
            layout.alphaSample = colourSamples;
            layout.alphaAssociated = extraTypes[0] == EXTRASAMPLE_ASSOCALPHA;
        }
    }
    float xres = 0, yres = 0;
    uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xres) && xres > 0 && xres < 1e6) {
        if (!TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yres) || !(yres > 0) || yres >= 1e6)
            yres = xres;
        const double scale = unit == RESUNIT_CENTIMETER ? 2.54 : unit == RESUNIT_INCH ? 1.0 : 0.0;
        layout.dpiX = xres * scale;
        layout.dpiY = yres * scale;
    }

    const uint16_t bps = layout.bitsPerSample, spp = layout.samplesPerPixel;
    const uint16_t photometric = layout.photometric;
    const bool integer =
        layout.sampleFormat == SAMPLEFORMAT_UINT || layout.sampleFormat == SAMPLEFORMAT_VOID;
    const bool plain = !layout.tiled && layout.planar == PLANARCONFIG_CONTIG && integer;
    const bool greyPhotometric =
        photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
    bool direct = false;
    if (plain) {
        if (greyPhotometric) {
            direct = spp >= 1 && (bps == 1 || bps == 2 || bps == 4 || bps == 8 || bps == 16);
            layout.imageBits = bps == 1 && spp == 1 ? 1 : 8;
        } else if (photometric == PHOTOMETRIC_PALETTE) {
            direct = spp == 1 && (bps == 1 || bps == 2 || bps == 4 || bps == 8);
            layout.imageBits = bps == 1 ? 1 : 8;
        } else if (photometric == PHOTOMETRIC_RGB) {
            direct = spp >= 3 && (bps == 8 || bps == 16);
            layout.imageBits = 24;
        } else if (photometric == PHOTOMETRIC_SEPARATED) {
            uint16_t inkSet = INKSET_CMYK;
            TIFFGetFieldDefaulted(tif, TIFFTAG_INKSET, &inkSet);
            direct = inkSet == INKSET_CMYK && spp >= 4 && (bps == 8 || bps == 16);
            layout.imageBits = 24;
        } else if (photometric == PHOTOMETRIC_YCBCR && layout.compression == COMPRESSION_JPEG &&
                   bps == 8 && spp == 3) {
            // libjpeg does the colour conversion and the upsampling.
            if (TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB)) {
                layout.photometric = PHOTOMETRIC_RGB;
                direct = true;
                layout.imageBits = 24;
            }
        }
    }
    if (!direct) {
        char message[1024];
        if (!TIFFRGBAImageOK(tif, message)) return kImgUnsupportedFile;
        layout.route = Route::Rgba;
        layout.imageBits = greyPhotometric ? (bps == 1 && spp == 1 ? 1 : 8) : 24;
    }
    if (!codec::AcceptableDimensions(layout.width, layout.height, layout.imageBits))
        return kImgNoMemory;
    const uint64_t rowBytes = (uint64_t{layout.width} * bps * spp + 7) / 8;
    if (fileBytes >= 0 &&
        !codec::PlausibleSize(rowBytes * layout.height, static_cast<uint64_t>(fileBytes),
                              ExpansionLimit(layout.compression, rowBytes)))
        return kImgCorruptFile;
    return kImgOk;
}

// Sample i of a row of packed samples of the given width in bits (1 to 16), scaled to 0-255.
inline unsigned Sample8(const uint8_t* row, size_t i, unsigned bits) {
    switch (bits) {
        case 8:
            return row[i];
        case 16:
            return (reinterpret_cast<const uint16_t*>(row)[i] * 255u + 32767u) / 65535u;
        default: {
            const size_t bit = i * bits;
            const unsigned max = (1u << bits) - 1;
            const unsigned v = (row[bit >> 3] >> (8 - bits - (bit & 7))) & max;
            return v * 255 / max;
        }
    }
}
// Sample i as stored (indices of palette images).
inline unsigned SampleRaw(const uint8_t* row, size_t i, unsigned bits) {
    if (bits == 8) return row[i];
    const size_t bit = i * bits;
    return (row[bit >> 3] >> (8 - bits - (bit & 7))) & ((1u << bits) - 1);
}

void ConvertRow(const TiffLayout& layout, const uint8_t* src, uint8_t* dst) {
    const uint32_t width = layout.width;
    const unsigned bps = layout.bitsPerSample, spp = layout.samplesPerPixel;
    const bool alpha = layout.alphaSample != 0;
    auto composite = [&](unsigned v, unsigned a) -> uint8_t {
        if (layout.alphaAssociated)
            return static_cast<uint8_t>(v + 255 - a > 255 ? 255 : v + 255 - a);
        return codec::OnWhite(v, a);
    };
    switch (layout.photometric) {
        case PHOTOMETRIC_MINISBLACK:
        case PHOTOMETRIC_MINISWHITE: {
            const bool inverted = layout.photometric == PHOTOMETRIC_MINISWHITE;
            if (layout.imageBits == 1) {
                const size_t bytes = (width + 7) / 8;
                for (size_t i = 0; i < bytes; ++i)
                    dst[i] = inverted ? static_cast<uint8_t>(~src[i]) : src[i];
                if (width % 8) dst[bytes - 1] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
                return;
            }
            for (uint32_t x = 0; x < width; ++x) {
                unsigned v = Sample8(src, static_cast<size_t>(x) * spp, bps);
                if (inverted) v = 255 - v;
                if (alpha)
                    v = composite(
                        v, Sample8(src, static_cast<size_t>(x) * spp + layout.alphaSample, bps));
                dst[x] = static_cast<uint8_t>(v);
            }
            return;
        }
        case PHOTOMETRIC_PALETTE:
            if (layout.imageBits == 1) {
                const size_t bytes = (width + 7) / 8;
                std::memcpy(dst, src, bytes);
                if (width % 8) dst[bytes - 1] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
                return;
            }
            for (uint32_t x = 0; x < width; ++x)
                dst[x] = static_cast<uint8_t>(SampleRaw(src, x, bps));
            return;
        case PHOTOMETRIC_RGB:
            for (uint32_t x = 0; x < width; ++x) {
                const size_t base = static_cast<size_t>(x) * spp;
                unsigned r = Sample8(src, base, bps), g = Sample8(src, base + 1, bps),
                         b = Sample8(src, base + 2, bps);
                if (alpha) {
                    const unsigned a = Sample8(src, base + layout.alphaSample, bps);
                    r = composite(r, a);
                    g = composite(g, a);
                    b = composite(b, a);
                }
                dst[3 * x] = static_cast<uint8_t>(b);
                dst[3 * x + 1] = static_cast<uint8_t>(g);
                dst[3 * x + 2] = static_cast<uint8_t>(r);
            }
            return;
        case PHOTOMETRIC_SEPARATED:
            for (uint32_t x = 0; x < width; ++x) {
                const size_t base = static_cast<size_t>(x) * spp;
                const unsigned c = Sample8(src, base, bps), m = Sample8(src, base + 1, bps),
                               y = Sample8(src, base + 2, bps), k = Sample8(src, base + 3, bps);
                dst[3 * x] = static_cast<uint8_t>((255 - y) * (255 - k) / 255);
                dst[3 * x + 1] = static_cast<uint8_t>((255 - m) * (255 - k) / 255);
                dst[3 * x + 2] = static_cast<uint8_t>((255 - c) * (255 - k) / 255);
            }
            return;
    }
}

int SetColourTable(TIFF* tif, const TiffLayout& layout, ImageBuffer& image) {
    std::memset(image.palette, 0, sizeof(RgbQuad) * static_cast<size_t>(image.paletteSize));
    if (layout.photometric != PHOTOMETRIC_PALETTE || layout.route == Route::Rgba) {
        SetGreyRamp(image);
        return kImgOk;
    }
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) || !red || !green || !blue)
        return kImgCorruptFile;
    const int entries = 1 << layout.bitsPerSample;
    // Old writers store 8-bit values in the 16-bit table.
    bool eightBit = true;
    for (int i = 0; i < entries; ++i)
        if (red[i] > 255 || green[i] > 255 || blue[i] > 255) eightBit = false;
    auto level = [eightBit](uint16_t v) {
        return static_cast<uint8_t>(eightBit ? v : (v * 255u + 32767u) / 65535u);
    };
    for (int i = 0; i < entries && i < image.paletteSize; ++i)
        image.palette[i] = RgbQuad{level(blue[i]), level(green[i]), level(red[i]), 0};
    if (HasGreyRamp(image))
        image.imageFlags |= kImageFlagGrey;
    else
        image.imageFlags &= ~kImageFlagGrey;
    return kImgOk;
}

void MirrorRow(uint8_t* row, uint32_t width, int bits) {
    if (bits == 1) {
        std::vector<uint8_t> copy(row, row + (width + 7) / 8);
        std::memset(row, 0, copy.size());
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t from = width - 1 - x;
            if ((copy[from >> 3] >> (7 - (from & 7))) & 1)
                row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
        }
        return;
    }
    const size_t bytes = static_cast<size_t>(bits / 8);
    for (uint32_t a = 0, b = width - 1; a < b; ++a, --b)
        for (size_t k = 0; k < bytes; ++k) std::swap(row[a * bytes + k], row[b * bytes + k]);
}

int LoadDirect(TIFF* tif, const TiffLayout& layout, ImageBuffer& image) {
    const tmsize_t lineBytes = TIFFScanlineSize(tif);
    const uint64_t needed =
        (uint64_t{layout.width} * layout.bitsPerSample * layout.samplesPerPixel + 7) / 8;
    if (lineBytes <= 0 || static_cast<uint64_t>(lineBytes) < needed) return kImgCorruptFile;
    std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
    // Files stored bottom-up or right-to-left are turned upright; the rotated orientations are
    // left as stored.
    const uint16_t o = layout.orientation;
    const bool flip = o == ORIENTATION_BOTLEFT || o == ORIENTATION_BOTRIGHT;
    const bool mirror = o == ORIENTATION_TOPRIGHT || o == ORIENTATION_BOTRIGHT;
    for (uint32_t y = 0; y < layout.height; ++y) {
        if (TIFFReadScanline(tif, line.data(), y, 0) < 0) return kImgCorruptFile;
        uint8_t* row = RowPointer(image, flip ? layout.height - 1 - y : y);
        ConvertRow(layout, line.data(), row);
        if (mirror) MirrorRow(row, layout.width, layout.imageBits);
    }
    return kImgOk;
}

int LoadRgba(TIFF* tif, const TiffLayout& layout, ImageBuffer& image) {
    char message[1024];
    TIFFRGBAImage rgba;
    if (!TIFFRGBAImageBegin(&rgba, tif, 1, message)) return kImgUnsupportedFile;
    rgba.req_orientation = ORIENTATION_TOPLEFT;
    uint32_t band = 0;
    if (layout.tiled)
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &band);
    else
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &band);
    const uint32_t maxBand = static_cast<uint32_t>((size_t{64} << 20) / (4ull * layout.width)) + 1;
    if (band == 0 || band > maxBand) band = maxBand;
    if (band > layout.height) band = layout.height;
    std::vector<uint32_t> raster;
    try {
        raster.resize(static_cast<size_t>(band) * layout.width);
    } catch (const std::bad_alloc&) {
        TIFFRGBAImageEnd(&rgba);
        return kImgNoMemory;
    }
    int rc = kImgOk;
    for (uint32_t top = 0; top < layout.height && rc == kImgOk; top += band) {
        const uint32_t rows = layout.height - top < band ? layout.height - top : band;
        rgba.row_offset = static_cast<int>(top);
        rgba.col_offset = 0;
        if (!TIFFRGBAImageGet(&rgba, raster.data(), layout.width, rows)) {
            rc = kImgCorruptFile;
            break;
        }
        for (uint32_t r = 0; r < rows; ++r) {
            const uint32_t* src = raster.data() + static_cast<size_t>(r) * layout.width;
            uint8_t* dst = RowPointer(image, top + r);
            if (layout.imageBits == 1) std::memset(dst, 0, image.rowBytes);
            for (uint32_t x = 0; x < layout.width; ++x) {
                // The interface hands out premultiplied colour: on white that is c + (255 - a).
                const unsigned a = TIFFGetA(src[x]);
                auto onWhite = [a](unsigned c) {
                    const unsigned v = c + 255 - a;
                    return static_cast<uint8_t>(v > 255 ? 255 : v);
                };
                const uint8_t red = onWhite(TIFFGetR(src[x]));
                if (layout.imageBits == 24) {
                    dst[3 * x] = onWhite(TIFFGetB(src[x]));
                    dst[3 * x + 1] = onWhite(TIFFGetG(src[x]));
                    dst[3 * x + 2] = red;
                } else if (layout.imageBits == 8) {
                    dst[x] = red;
                } else if (red >= 128) {
                    dst[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
                }
            }
        }
    }
    TIFFRGBAImageEnd(&rgba);
    return rc;
}

}  // namespace

namespace {

// Pages of a multi-page file are its directories, except the reduced-resolution copies some
// writers add as previews. A broken chain of directories ends the list where it breaks.
constexpr int kMaxTiffPages = 100000;

bool IsPageDirectory(TIFF* tif) {
    uint32_t subfileType = 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SUBFILETYPE, &subfileType);
    return (subfileType & FILETYPE_REDUCEDIMAGE) == 0;
}

// Makes page `page` (from 0) the current directory; counts the pages when pageCount is given.
int SelectPage(TIFF* tif, int page, int* pageCount) {
    if (page < 0) return kImgBadArgument;
    if (!TIFFSetDirectory(tif, 0)) return kImgCorruptFile;
    int pages = 0;
    tdir_t found = 0;
    bool have = false;
    for (tdir_t dir = 0; pages < kMaxTiffPages; ++dir) {
        if (IsPageDirectory(tif)) {
            if (pages == page) {
                found = dir;
                have = true;
                if (!pageCount) break;
            }
            ++pages;
        }
        if (!TIFFReadDirectory(tif)) break;
    }
    if (pageCount) *pageCount = pages;
    if (!have) return pages == 0 ? kImgCorruptFile : kImgBadArgument;
    return TIFFSetDirectory(tif, found) ? kImgOk : kImgCorruptFile;
}

}  // namespace

int InspectTiffPage(const char* file, int page, ImageFileInfo& info) {
    info = ImageFileInfo{};
    // Only files that start like a TIFF are handed to libtiff at all.
    FILE* stream = file ? std::fopen(file, "rb") : nullptr;
    if (!stream) return kImgCannotOpen;
    uint8_t magic[4] = {};
    const size_t got = std::fread(magic, 1, 4, stream);
    const long long fileBytes = codec::FileSize(stream);
    std::fclose(stream);
    const bool little =
        magic[0] == 'I' && magic[1] == 'I' && (magic[2] == 42 || magic[2] == 43) && magic[3] == 0;
    const bool big =
        magic[0] == 'M' && magic[1] == 'M' && magic[2] == 0 && (magic[3] == 42 || magic[3] == 43);
    if (got < 4 || !(little || big)) return kImgNotThisFormat;
    TiffHandle tif = OpenTiff(file, "r");
    if (!tif) return kImgCorruptFile;
    int pageCount = 0;
    if (int rc = SelectPage(tif.get(), page, &pageCount)) return rc;
    TiffLayout layout;
    if (int rc = ReadLayout(tif.get(), fileBytes, layout)) return rc;
    info.width = static_cast<int>(layout.width);
    info.height = static_cast<int>(layout.height);
    info.bitsPerPixel = layout.imageBits;
    info.dpiX = layout.dpiX;
    info.dpiY = layout.dpiY;
    info.fileBitsPerSample = layout.bitsPerSample;
    info.fileSamplesPerPixel = layout.samplesPerPixel;
    info.compression = layout.compression;
    info.pageCount = pageCount;
    return kImgOk;
}

int LoadTiffPage(const char* file, int page, ImageBuffer& image) {
    if (!image.header) return kImgEmpty;
    TiffHandle tif = OpenTiff(file, "r");
    if (!tif) return file && codec::FileSize(file) >= 0 ? kImgCorruptFile : kImgCannotOpen;
    if (int rc = SelectPage(tif.get(), page, nullptr)) return rc;
    TiffLayout layout;
    if (int rc = ReadLayout(tif.get(), codec::FileSize(file), layout)) return rc;
    if (int rc = codec::CheckLoadTarget(image, static_cast<int>(layout.width),
                                        static_cast<int>(layout.height), layout.imageBits))
        return rc;
    if (layout.imageBits <= 8)
        if (int rc = SetColourTable(tif.get(), layout, image)) return rc;
    if (layout.imageBits == 24) image.imageFlags &= ~kImageFlagGrey;
    SetImageDpi(image, layout.dpiX, layout.dpiY);
    return layout.route == Route::Direct ? LoadDirect(tif.get(), layout, image)
                                         : LoadRgba(tif.get(), layout, image);
}

int InspectTiff(const char* file, ImageFileInfo& info) {
    return InspectTiffPage(file, 0, info);
}

int LoadTiff(const char* file, ImageBuffer& image) {
    return LoadTiffPage(file, 0, image);
}

namespace {
// The two colours of a 1-bit image are black and white, in either order.
bool BlackAndWhitePair(const ImageBuffer& image) {
    if (!image.palette || image.paletteSize < 2) return true;
    auto level = [](const RgbQuad& c) -> int {
        if (c.rgbRed != c.rgbGreen || c.rgbGreen != c.rgbBlue) return -1;
        return c.rgbRed == 0 ? 0 : c.rgbRed == 255 ? 255 : -1;
    };
    const int a = level(image.palette[0]), b = level(image.palette[1]);
    return a >= 0 && b >= 0 && a != b;
}
}  // namespace

int SaveTiff(const char* file, const ImageBuffer& image, int compression) {
    if (int rc = codec::CheckSaveSource(image)) return rc;
    uint16_t method = COMPRESSION_NONE;
    switch (compression) {
        case 0:
            method = COMPRESSION_NONE;
            break;
        case 1:
            method = COMPRESSION_LZW;
            break;
        case 2:
            method = COMPRESSION_PACKBITS;
            break;
        case 3:
            method = COMPRESSION_CCITTRLE;
            break;
        case 4:
            method = COMPRESSION_CCITTFAX4;
            break;
        case 5:
            method = COMPRESSION_CCITTFAX3;
            break;
        case 6:
        case 7:
            method = COMPRESSION_JPEG;
            break;
        default:
            return kImgUnsupportedOption;
    }
    const int bits = BitsPerPixel(image);
    const bool ccitt = compression >= 3 && compression <= 5;
    const bool jpeg = method == COMPRESSION_JPEG;
    if (ccitt && bits != 1) return kImgUnsupportedOption;
    if (jpeg && bits == 1) return kImgUnsupportedOption;

    // What goes into the file: bilevel (0 = white, as fax readers expect), grey, palette or RGB.
    // A 1-bit image is bilevel only when its two colours are black and white; any other pair
    // (a two-colour drawing in white and red, say) keeps its colours as a 1-bit palette image,
    // unless a fax compression, which knows only black and white, was asked for.
    enum class Kind { Bilevel, Grey, Palette, Rgb } kind;
    if (bits == 1)
        kind = BlackAndWhitePair(image) || ccitt ? Kind::Bilevel : Kind::Palette;
    else if (bits == 8 && HasGreyRamp(image))
        kind = Kind::Grey;
    else if (bits == 8 && !jpeg)
        kind = Kind::Palette;
    else
        kind = Kind::Rgb;
    // A bilevel image is stored with 1 = black: invert when entry 0 is the darker one.
    bool invertBits = false;
    if (kind == Kind::Bilevel) {
        const RgbQuad& c0 = image.palette[0];
        const RgbQuad& c1 = image.palette[1];
        invertBits = c0.rgbRed + c0.rgbGreen + c0.rgbBlue <= c1.rgbRed + c1.rgbGreen + c1.rgbBlue;
    }

    codec::OutputFile out;
    if (int rc = out.open(file)) return rc;
    out.closeStream();
    TiffHandle tif = OpenTiff(out.tempPath().c_str(), "w");
    if (!tif) return kImgCannotOpen;
    TIFF* t = tif.get();
    const uint32_t width = AreaWidth(image), height = AreaHeight(image);
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, method);
    switch (kind) {
        case Kind::Bilevel:
            TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
            TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
            break;
        case Kind::Grey:
        case Kind::Palette:
            TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, bits == 1 ? 1 : 8);
            TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC,
                         kind == Kind::Grey ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_PALETTE);
            break;
        case Kind::Rgb:
            TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
            TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, jpeg ? PHOTOMETRIC_YCBCR : PHOTOMETRIC_RGB);
            break;
    }
    if (kind == Kind::Palette) {
        std::vector<uint16_t> red(256), green(256), blue(256);
        for (int i = 0; i < 256 && i < image.paletteSize; ++i) {
            red[i] = static_cast<uint16_t>(image.palette[i].rgbRed * 257);
            green[i] = static_cast<uint16_t>(image.palette[i].rgbGreen * 257);
            blue[i] = static_cast<uint16_t>(image.palette[i].rgbBlue * 257);
        }
        TIFFSetField(t, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
    }
    if (jpeg) {
        TIFFSetField(t, TIFFTAG_JPEGQUALITY, 75);
        if (kind == Kind::Rgb) TIFFSetField(t, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    }
    if (method == COMPRESSION_CCITTFAX3) TIFFSetField(t, TIFFTAG_GROUP3OPTIONS, 0);
    if (image.header->biXPelsPerMeter > 0 && image.header->biYPelsPerMeter > 0) {
        TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(t, TIFFTAG_XRESOLUTION,
                     static_cast<float>(codec::DpiForFile(image.header->biXPelsPerMeter)));
        TIFFSetField(t, TIFFTAG_YRESOLUTION,
                     static_cast<float>(codec::DpiForFile(image.header->biYPelsPerMeter)));
    }
    const size_t lineBytes = bits == 1           ? (width + 7) / 8
                             : kind == Kind::Rgb ? static_cast<size_t>(width) * 3
                                                 : width;
    // LZW strips of about 64 KB: a page goes out in a hundred writes rather than a thousand.
    uint32_t rowsPerStrip = method == COMPRESSION_LZW
                                ? static_cast<uint32_t>(std::max<size_t>(1, 65536 / lineBytes))
                                : TIFFDefaultStripSize(t, 0);
    if (jpeg) rowsPerStrip = (rowsPerStrip + 15) / 16 * 16;
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);

    std::vector<uint8_t> line(lineBytes);
    // The file's row y, in `line` or straight from the image when it needs no conversion.
    auto fileRow = [&](uint32_t y) -> const uint8_t* {
        switch (kind) {
            case Kind::Bilevel:
                codec::AreaRowBits(image, y, line.data());
                if (invertBits) {
                    for (auto& b : line) b = static_cast<uint8_t>(~b);
                    if (width % 8) line.back() &= static_cast<uint8_t>(0xFF << (8 - width % 8));
                }
                return line.data();
            case Kind::Grey:
            case Kind::Palette:
                if (bits == 1) {
                    codec::AreaRowBits(image, y, line.data());
                    return line.data();
                }
                return RowPointer(image, image.areaTop + y) + image.areaLeft;
            case Kind::Rgb:
                codec::AreaRowToRgb(image, y, line.data());
                return line.data();
        }
        return line.data();
    };
    if (method == COMPRESSION_LZW) {
        // Our own encoder, strip by strip: several times faster than libtiff's on page scans.
        LzwEncoder encoder;
        std::vector<uint8_t> strip;
        strip.reserve(lineBytes * rowsPerStrip / 2);
        for (uint32_t first = 0, index = 0; first < height; first += rowsPerStrip, ++index) {
            strip.clear();
            encoder.begin(strip);
            const uint32_t end = std::min(height, first + rowsPerStrip);
            for (uint32_t y = first; y < end; ++y) encoder.add(fileRow(y), lineBytes);
            encoder.finish();
            if (TIFFWriteRawStrip(t, index, strip.data(), static_cast<tmsize_t>(strip.size())) < 0)
                return kImgShortWrite;
        }
    } else {
        for (uint32_t y = 0; y < height; ++y) {
            // libtiff may encode in place: a row straight from the image goes through `line`.
            const uint8_t* row = fileRow(y);
            if (row != line.data()) std::memcpy(line.data(), row, lineBytes);
            if (TIFFWriteScanline(t, line.data(), y, 0) < 0) return kImgShortWrite;
        }
    }
    if (!TIFFFlush(t)) return kImgShortWrite;
    tif.reset();
    return out.commit();
}

}  // namespace vellumo::imaging

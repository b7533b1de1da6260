// TIFF through libtiff. Loads any page of a file (the first by default) as the page rule of
// tiff_page.h (shared with the PDF writer) decides. libtiff's messages are swallowed: a bad file
// is reported by the result code alone.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <memory>
#include <vector>

#include "imaging/codec_common.h"
#include "imaging/codecs.h"
#include "imaging/lzw_encoder.h"
#include "imaging/tiff_page.h"

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
    // Not memory-mapped ("m"): the file's pages would count as the program's memory, and
    // libtiff reads what it decodes in small pieces anyway.
    TiffHandle tif = OpenTiff(file, "rm");
    if (!tif) return kImgCorruptFile;
    int pageCount = 0;
    if (int rc = SelectPage(tif.get(), page, &pageCount)) return rc;
    vellumo::imaging::TiffPage layout;
    std::string problem;
    if (int rc = vellumo::imaging::DescribeTiffPage(tif.get(), fileBytes, layout, &problem)) {
        codec::NoteImageProblem(problem);
        return rc;
    }
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
    TiffHandle tif = OpenTiff(file, "rm");
    if (!tif) return file && codec::FileSize(file) >= 0 ? kImgCorruptFile : kImgCannotOpen;
    if (int rc = SelectPage(tif.get(), page, nullptr)) return rc;
    vellumo::imaging::TiffPage layout;
    if (int rc =
            vellumo::imaging::DescribeTiffPage(tif.get(), codec::FileSize(file), layout, nullptr))
        return rc;
    return vellumo::imaging::DecodeTiffPage(tif.get(), layout, image, nullptr);
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

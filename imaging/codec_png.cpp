// PNG through libpng. Every colour type and bit depth loads: 1-bit grey and two-colour
// palettes stay 1-bit, other grey and palette images become 8-bit, colour becomes 24-bit, and
// transparency is flattened onto white (for palettes, in the colour table itself). The pHYs
// resolution is read and written. libpng errors unwind through longjmp.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "imaging/codec_common.h"
#include "imaging/codecs.h"

namespace vellumo::imaging {

namespace {

// Deflate makes at most 1032 bytes of one byte of input.
constexpr uint64_t kDeflateExpansion = 1032;

void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

struct PngLayout {
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = 0;
    bool transparency = false;  // a tRNS chunk
    int imageBits = 0;
    double dpiX = 0, dpiY = 0;
    png_uint_32 pelsX = 0, pelsY = 0;
};

int ImageBitsFor(const PngLayout& l) {
    switch (l.colourType) {
        case PNG_COLOR_TYPE_GRAY:
            return l.bitDepth == 1 && !l.transparency ? 1 : 8;
        case PNG_COLOR_TYPE_PALETTE:
            return l.bitDepth == 1 ? 1 : 8;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 8;
        default:
            return 24;
    }
}

// Reads the header chunks; on success the caller may read rows.
int ReadLayout(png_structp png, png_infop info, FILE* stream, long long fileBytes, PngLayout& l) {
    png_init_io(png, stream);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);
    png_get_IHDR(png, info, &l.width, &l.height, &l.bitDepth, &l.colourType, &l.interlace, nullptr,
                 nullptr);
    l.transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    l.imageBits = ImageBitsFor(l);
    png_uint_32 px = 0, py = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &px, &py, &unit) && unit == PNG_RESOLUTION_METER &&
        px < 0x7FFFFFFF && py < 0x7FFFFFFF) {
        l.pelsX = px;
        l.pelsY = py;
        l.dpiX = codec::DpiFromPelsPerMetre(static_cast<int32_t>(px));
        l.dpiY = codec::DpiFromPelsPerMetre(static_cast<int32_t>(py));
    }
    if (!codec::AcceptableDimensions(l.width, l.height, l.imageBits)) return kImgNoMemory;
    const uint64_t rawBytes =
        (uint64_t{l.width} * png_get_channels(png, info) * l.bitDepth + 7) / 8 + 1;
    if (fileBytes >= 0 &&
        !codec::PlausibleSize(rawBytes * l.height, static_cast<uint64_t>(fileBytes),
                              kDeflateExpansion))
        return kImgCorruptFile;
    return kImgOk;
}

bool StartsLikePng(FILE* stream) {
    uint8_t magic[8] = {};
    const bool ok = std::fread(magic, 1, 8, stream) == 8 && png_sig_cmp(magic, 0, 8) == 0;
    std::rewind(stream);
    return ok;
}

struct ReadSession {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadSession() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
    bool start() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        if (png) info = png_create_info_struct(png);
        return png && info;
    }
};

int Inspect(FILE* stream, long long fileBytes, ImageFileInfo& result) {
    ReadSession session;
    if (!session.start()) return kImgNoMemory;
    PngLayout layout;
    if (setjmp(png_jmpbuf(session.png))) return kImgCorruptFile;
    if (int rc = ReadLayout(session.png, session.info, stream, fileBytes, layout)) return rc;
    result.width = static_cast<int>(layout.width);
    result.height = static_cast<int>(layout.height);
    result.bitsPerPixel = layout.imageBits;
    result.dpiX = layout.dpiX;
    result.dpiY = layout.dpiY;
    result.fileBitsPerSample = layout.bitDepth;
    result.fileSamplesPerPixel = png_get_channels(session.png, session.info);
    result.compression = layout.interlace;
    return kImgOk;
}

// Buffers that a libpng error may unwind past: they belong to the caller of the function
// that sets the jump, so they are released normally afterwards.
struct RowBuffers {
    std::vector<uint8_t> work;
    std::vector<png_bytep> rows;
};

int Decode(png_structp png, png_infop info, FILE* stream, long long fileBytes, ImageBuffer& image,
           RowBuffers& buffers) {
    std::vector<uint8_t>& work = buffers.work;
    std::vector<png_bytep>& rows = buffers.rows;
    PngLayout layout;
    if (setjmp(png_jmpbuf(png))) return kImgCorruptFile;
    if (int rc = ReadLayout(png, info, stream, fileBytes, layout)) return rc;
    if (int rc = codec::CheckLoadTarget(image, static_cast<int>(layout.width),
                                        static_cast<int>(layout.height), layout.imageBits))
        return rc;
    image.header->biXPelsPerMeter = static_cast<int32_t>(layout.pelsX);
    image.header->biYPelsPerMeter = static_cast<int32_t>(layout.pelsY);

    // Output per pixel after the transformations: `channels` bytes (or packed bits for 1-bit).
    int channels = 1;
    bool alpha = false;
    if (layout.bitDepth == 16) png_set_scale_16(png);
    switch (layout.colourType) {
        case PNG_COLOR_TYPE_GRAY:
            if (layout.imageBits == 8) {
                png_set_expand_gray_1_2_4_to_8(png);
                if (layout.transparency) {
                    png_set_tRNS_to_alpha(png);
                    channels = 2;
                    alpha = true;
                }
            }
            SetGreyRamp(image);
            break;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            channels = 2;
            alpha = true;
            SetGreyRamp(image);
            break;
        case PNG_COLOR_TYPE_PALETTE: {
            if (layout.bitDepth < 8 && layout.imageBits == 8) png_set_packing(png);
            png_colorp palette = nullptr;
            int count = 0;
            png_get_PLTE(png, info, &palette, &count);
            png_bytep trans = nullptr;
            int transCount = 0;
            if (layout.transparency) png_get_tRNS(png, info, &trans, &transCount, nullptr);
            std::memset(image.palette, 0, sizeof(RgbQuad) * static_cast<size_t>(image.paletteSize));
            for (int i = 0; i < count && i < image.paletteSize; ++i) {
                const unsigned a = trans && i < transCount ? trans[i] : 255u;
                image.palette[i] =
                    RgbQuad{codec::OnWhite(palette[i].blue, a), codec::OnWhite(palette[i].green, a),
                            codec::OnWhite(palette[i].red, a), 0};
            }
            if (HasGreyRamp(image))
                image.imageFlags |= kImageFlagGrey;
            else
                image.imageFlags &= ~kImageFlagGrey;
            break;
        }
        case PNG_COLOR_TYPE_RGB:
            channels = 3;
            png_set_bgr(png);
            if (layout.transparency) {
                png_set_tRNS_to_alpha(png);
                channels = 4;
                alpha = true;
            }
            image.imageFlags &= ~kImageFlagGrey;
            break;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            channels = 4;
            alpha = true;
            png_set_bgr(png);
            image.imageFlags &= ~kImageFlagGrey;
            break;
        default:
            return kImgUnsupportedFile;
    }
    // An interlaced picture with alpha is composed onto white by libpng itself, row by row:
    // kept apart, its passes would need a second copy of the whole picture.
    if (alpha && layout.interlace != PNG_INTERLACE_NONE) {
        png_color_16 white{};
        const auto top = static_cast<png_uint_16>((1u << layout.bitDepth) - 1);
        white.red = white.green = white.blue = white.gray = top;
        // The samples are composed as they are stored, whatever gamma the file records.
        png_set_gamma_fixed(png, PNG_FP_1, PNG_FP_1);
        png_set_background_fixed(png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 1, PNG_FP_1);
        channels = channels == 2 ? 1 : 3;
        alpha = false;
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    const uint32_t width = layout.width, height = layout.height;
    const size_t expected =
        layout.imageBits == 1 ? (width + 7) / 8 : static_cast<size_t>(width) * channels;
    if (rowBytes != expected) return kImgUnsupportedFile;

    auto flatten = [&](const uint8_t* src, uint8_t* dst) {
        if (channels == 2) {
            for (uint32_t x = 0; x < width; ++x)
                dst[x] = codec::OnWhite(src[2 * x], src[2 * x + 1]);
        } else {
            for (uint32_t x = 0; x < width; ++x) {
                const unsigned a = src[4 * x + 3];
                dst[3 * x] = codec::OnWhite(src[4 * x], a);
                dst[3 * x + 1] = codec::OnWhite(src[4 * x + 1], a);
                dst[3 * x + 2] = codec::OnWhite(src[4 * x + 2], a);
            }
        }
    };
    if (!alpha) {
        // Straight into the image's rows, which libpng fills in every pass.
        rows.resize(height);
        for (uint32_t y = 0; y < height; ++y) rows[y] = RowPointer(image, y);
        png_read_image(png, rows.data());
    } else {
        // Not interlaced: one row at a time.
        work.resize(rowBytes);
        for (uint32_t y = 0; y < height; ++y) {
            png_read_row(png, work.data(), nullptr);
            flatten(work.data(), RowPointer(image, y));
        }
    }
    png_read_end(png, nullptr);
    if (layout.imageBits == 1 && width % 8) {
        for (uint32_t y = 0; y < height; ++y)
            RowPointer(image, y)[(width - 1) / 8] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
    }
    return kImgOk;
}

int Load(FILE* stream, long long fileBytes, ImageBuffer& image) {
    ReadSession session;
    if (!session.start()) return kImgNoMemory;
    RowBuffers buffers;
    return Decode(session.png, session.info, stream, fileBytes, image, buffers);
}

struct WriteSession {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~WriteSession() { png_destroy_write_struct(&png, info ? &info : nullptr); }
    bool start() {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        if (png) info = png_create_info_struct(png);
        return png && info;
    }
};

int Encode(png_structp png, png_infop info, FILE* stream, const ImageBuffer& image,
           std::vector<uint8_t>& row, std::vector<png_color>& palette) {
    if (setjmp(png_jmpbuf(png))) return kImgEncodeFailed;
    const int bits = BitsPerPixel(image);
    const uint32_t width = AreaWidth(image), height = AreaHeight(image);
    const bool grey = codec::IsPlainGrey(image);
    png_init_io(png, stream);
    int colourType = PNG_COLOR_TYPE_RGB, depth = 8;
    if (bits <= 8) {
        depth = bits;
        colourType = grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_PALETTE;
    }
    png_set_IHDR(png, info, width, height, depth, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        for (size_t i = 0; i < palette.size(); ++i) {
            const RgbQuad c =
                static_cast<int>(i) < image.paletteSize ? image.palette[i] : RgbQuad{};
            palette[i] = png_color{c.rgbRed, c.rgbGreen, c.rgbBlue};
        }
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    }
    if (image.header->biXPelsPerMeter > 0 && image.header->biYPelsPerMeter > 0)
        png_set_pHYs(png, info, static_cast<png_uint_32>(image.header->biXPelsPerMeter),
                     static_cast<png_uint_32>(image.header->biYPelsPerMeter), PNG_RESOLUTION_METER);
    png_write_info(png, info);
    if (bits > 8) png_set_bgr(png);
    for (uint32_t y = 0; y < height; ++y) {
        png_bytep out;
        if (bits == 1) {
            codec::AreaRowBits(image, y, row.data());
            out = row.data();
        } else if (bits == 8) {
            out = RowPointer(image, image.areaTop + y) + image.areaLeft;
        } else if (bits == 24) {
            out = RowPointer(image, image.areaTop + y) + 3 * static_cast<size_t>(image.areaLeft);
        } else {
            codec::AreaRowToBgr(image, y, row.data());
            out = row.data();
        }
        png_write_row(png, out);
    }
    png_write_end(png, info);
    return kImgOk;
}

int Save(FILE* stream, const ImageBuffer& image) {
    WriteSession session;
    if (!session.start()) return kImgNoMemory;
    const int bits = BitsPerPixel(image);
    std::vector<uint8_t> row(static_cast<size_t>(AreaWidth(image)) * 3 + 8);
    std::vector<png_color> palette(bits <= 8 ? static_cast<size_t>(1) << bits : 0);
    return Encode(session.png, session.info, stream, image, row, palette);
}

}  // namespace

int InspectPng(const char* file, ImageFileInfo& info) {
    info = ImageFileInfo{};
    FILE* stream = file ? std::fopen(file, "rb") : nullptr;
    if (!stream) return kImgCannotOpen;
    int rc = kImgNotThisFormat;
    if (StartsLikePng(stream)) rc = Inspect(stream, codec::FileSize(stream), info);
    std::fclose(stream);
    return rc;
}

int LoadPng(const char* file, ImageBuffer& image) {
    if (!image.header) return kImgEmpty;
    FILE* stream = file ? std::fopen(file, "rb") : nullptr;
    if (!stream) return kImgCannotOpen;
    int rc = kImgNotThisFormat;
    if (StartsLikePng(stream)) rc = Load(stream, codec::FileSize(stream), image);
    std::fclose(stream);
    return rc;
}

int SavePng(const char* file, const ImageBuffer& image, int option) {
    if (option != 0) return kImgUnsupportedOption;
    if (int rc = codec::CheckSaveSource(image)) return rc;
    codec::OutputFile out;
    if (int rc = out.open(file)) return rc;
    if (int rc = Save(out.stream(), image))
        return std::ferror(out.stream()) ? kImgShortWrite : rc;  // libpng stops on a failed write
    if (std::ferror(out.stream())) out.fail();
    return out.commit();
}

}  // namespace vellumo::imaging

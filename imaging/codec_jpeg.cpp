// JPEG through libjpeg-turbo. Loads grey, colour and CMYK/YCCK files (Adobe's inverted CMYK
// included), baseline or progressive, into 8-bit grey or 24-bit images; saves grey images as
// one-component and everything else as colour files, with the JFIF density set by
// SetJpegDensity. Library errors unwind through longjmp to the function that started the
// work; a file that ends early counts as an error instead of being padded with grey.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "imaging/codec_common.h"
#include "imaging/codecs.h"

namespace vellumo::imaging {

namespace {

struct Density {
    int x = 1;
    int y = 1;
    int unit = 0;
};
Density jpegDensity;

// One byte of entropy-coded data describes at most this many bytes of pixels (a progressive
// scan can code a whole 8 x 8 block of three components in a few bits).
constexpr uint64_t kJpegExpansion = 2048;

struct ErrorManager {
    jpeg_error_mgr base;
    jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(manager->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
    // Warnings are dropped, except the one for data that stops before the image is complete.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) OnError(cinfo);
}

void Quiet(j_common_ptr) {}

void InstallErrorManager(ErrorManager& manager) {
    jpeg_std_error(&manager.base);
    manager.base.error_exit = OnError;
    manager.base.emit_message = OnMessage;
    manager.base.output_message = Quiet;
}

double DensityToDpi(int unit, int value) {
    if (value <= 0) return 0;
    if (unit == 1) return value;
    if (unit == 2) return value * 2.54;
    return 0;
}

int ImageBitsFor(J_COLOR_SPACE space) {
    return space == JCS_GRAYSCALE ? 8 : 24;
}

// Reads the header; the decompressor is set up for the output the image needs.
int ReadHeader(jpeg_decompress_struct& cinfo, FILE* stream, long long fileBytes) {
    jpeg_stdio_src(&cinfo, stream);
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return kImgCorruptFile;
    switch (cinfo.jpeg_color_space) {
        case JCS_GRAYSCALE:
            cinfo.out_color_space = JCS_GRAYSCALE;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            cinfo.out_color_space = JCS_CMYK;
            break;
        default:
            cinfo.out_color_space = JCS_EXT_BGR;
            break;
    }
    const int bits = ImageBitsFor(cinfo.jpeg_color_space);
    if (!codec::AcceptableDimensions(cinfo.image_width, cinfo.image_height, bits))
        return kImgNoMemory;
    const uint64_t decoded = uint64_t{cinfo.image_width} * cinfo.image_height * (bits / 8);
    if (fileBytes >= 0 &&
        !codec::PlausibleSize(decoded, static_cast<uint64_t>(fileBytes), kJpegExpansion))
        return kImgCorruptFile;
    return kImgOk;
}

int Inspect(FILE* stream, long long fileBytes, ImageFileInfo& info) {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    InstallErrorManager(errors);
    cinfo.err = &errors.base;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return kImgCorruptFile;
    }
    jpeg_create_decompress(&cinfo);
    const int rc = ReadHeader(cinfo, stream, fileBytes);
    if (rc == kImgOk) {
        info.width = static_cast<int>(cinfo.image_width);
        info.height = static_cast<int>(cinfo.image_height);
        info.bitsPerPixel = ImageBitsFor(cinfo.jpeg_color_space);
        if (cinfo.saw_JFIF_marker) {
            info.dpiX = DensityToDpi(cinfo.density_unit, cinfo.X_density);
            info.dpiY = DensityToDpi(cinfo.density_unit, cinfo.Y_density);
        }
        info.fileBitsPerSample = cinfo.data_precision;
        info.fileSamplesPerPixel = cinfo.num_components;
        info.compression = cinfo.progressive_mode ? 2 : 1;
    }
    jpeg_destroy_decompress(&cinfo);
    return rc;
}

int Load(FILE* stream, long long fileBytes, ImageBuffer& image) {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    InstallErrorManager(errors);
    cinfo.err = &errors.base;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return kImgCorruptFile;
    }
    jpeg_create_decompress(&cinfo);
    int rc = ReadHeader(cinfo, stream, fileBytes);
    if (rc == kImgOk)
        rc = codec::CheckLoadTarget(image, static_cast<int>(cinfo.image_width),
                                    static_cast<int>(cinfo.image_height),
                                    ImageBitsFor(cinfo.jpeg_color_space));
    if (rc != kImgOk) {
        jpeg_destroy_decompress(&cinfo);
        return rc;
    }
    if (cinfo.saw_JFIF_marker)
        SetImageDpi(image, DensityToDpi(cinfo.density_unit, cinfo.X_density),
                    DensityToDpi(cinfo.density_unit, cinfo.Y_density));
    if (BitsPerPixel(image) == 8)
        SetGreyRamp(image);
    else
        image.imageFlags &= ~kImageFlagGrey;
    const bool cmyk = cinfo.out_color_space == JCS_CMYK;
    // Adobe's writers store CMYK inverted (0 = full ink); others store it plainly.
    const bool adobeInverted = cmyk && cinfo.saw_Adobe_marker;
    jpeg_start_decompress(&cinfo);
    // The CMYK row lives in the decompressor's own pool, so an error unwinding past it leaks
    // nothing.
    JSAMPARRAY cmykRows = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                            JPOOL_IMAGE, cinfo.output_width * 4, 1)
                               : nullptr;
    while (cinfo.output_scanline < cinfo.output_height) {
        uint8_t* row = RowPointer(image, cinfo.output_scanline);
        JSAMPROW target = cmyk ? cmykRows[0] : row;
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) {
            jpeg_destroy_decompress(&cinfo);
            return kImgCorruptFile;
        }
        if (cmyk) {
            for (JDIMENSION x = 0; x < cinfo.output_width; ++x) {
                const JSAMPROW p = cmykRows[0] + 4 * static_cast<size_t>(x);
                unsigned c = p[0], m = p[1], y = p[2], k = p[3];
                if (!adobeInverted) {
                    c = 255 - c;
                    m = 255 - m;
                    y = 255 - y;
                    k = 255 - k;
                }
                // Now 255 means no ink.
                row[3 * x] = static_cast<uint8_t>(y * k / 255);
                row[3 * x + 1] = static_cast<uint8_t>(m * k / 255);
                row[3 * x + 2] = static_cast<uint8_t>(c * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return kImgOk;
}

int Save(FILE* stream, const ImageBuffer& image, int quality) {
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    InstallErrorManager(errors);
    cinfo.err = &errors.base;
    const int bits = BitsPerPixel(image);
    const bool grey = bits <= 8 && codec::PaletteIsGrey(image);
    const uint32_t width = AreaWidth(image), height = AreaHeight(image);
    // 24-bit rows go in as they are stored; the others through one converted row.
    const bool direct = bits == 24 || (bits == 8 && HasGreyRamp(image));
    std::vector<uint8_t> converted;
    if (!direct) converted.resize(static_cast<size_t>(width) * (grey ? 1 : 3));
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        return kImgEncodeFailed;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, stream);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.write_JFIF_header = TRUE;
    cinfo.JFIF_major_version = 1;
    cinfo.JFIF_minor_version = 2;
    cinfo.density_unit = static_cast<UINT8>(jpegDensity.unit);
    cinfo.X_density = static_cast<UINT16>(jpegDensity.x);
    cinfo.Y_density = static_cast<UINT16>(jpegDensity.y);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t offset = static_cast<size_t>(image.areaLeft) * (bits / 8);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uint32_t y = cinfo.next_scanline;
        JSAMPROW row;
        if (direct) {
            row = RowPointer(image, image.areaTop + y) + offset;
        } else {
            if (grey)
                codec::AreaRowToGrey(image, y, converted.data());
            else
                codec::AreaRowToBgr(image, y, converted.data());
            row = converted.data();
        }
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return kImgOk;
}

bool StartsLikeJpeg(FILE* stream) {
    uint8_t magic[3] = {};
    const bool ok = std::fread(magic, 1, 3, stream) == 3 && magic[0] == 0xFF && magic[1] == 0xD8 &&
                    magic[2] == 0xFF;
    std::rewind(stream);
    return ok;
}

}  // namespace

int InspectJpeg(const char* file, ImageFileInfo& info) {
    info = ImageFileInfo{};
    FILE* stream = file ? std::fopen(file, "rb") : nullptr;
    if (!stream) return kImgCannotOpen;
    int rc = kImgNotThisFormat;
    if (StartsLikeJpeg(stream)) rc = Inspect(stream, codec::FileSize(stream), info);
    std::fclose(stream);
    return rc;
}

int LoadJpeg(const char* file, ImageBuffer& image) {
    if (!image.header) return kImgEmpty;
    FILE* stream = file ? std::fopen(file, "rb") : nullptr;
    if (!stream) return kImgCannotOpen;
    int rc = kImgNotThisFormat;
    if (StartsLikeJpeg(stream)) rc = Load(stream, codec::FileSize(stream), image);
    std::fclose(stream);
    return rc;
}

int SaveJpeg(const char* file, const ImageBuffer& image, int quality) {
    if (quality < 1 || quality > 100) return kImgBadArgument;
    if (int rc = codec::CheckSaveSource(image)) return rc;
    codec::OutputFile out;
    if (int rc = out.open(file)) return rc;
    if (int rc = Save(out.stream(), image, quality))
        return std::ferror(out.stream()) ? kImgShortWrite : rc;  // libjpeg stops on a failed write
    if (std::ferror(out.stream())) out.fail();
    return out.commit();
}

int SetJpegDensity(int xDensity, int yDensity, int unit) {
    if (xDensity < 0 || xDensity > 65535 || yDensity < 0 || yDensity > 65535 || unit < 0 ||
        unit > 2)
        return kImgBadArgument;
    jpegDensity = Density{xDensity, yDensity, unit};
    return kImgOk;
}

}  // namespace vellumo::imaging

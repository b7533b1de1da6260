// JPEG decoding at reduced size through libjpeg-turbo's DCT scaling. Library errors unwind
// through longjmp to the function that started the work; nothing with a destructor lives
// between setjmp and the library calls.
#include "imaging/jpeg_reduced.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "imaging/codec_common.h"

namespace vellumo::imaging {

namespace {

// One byte of entropy-coded data describes at most this many bytes of pixels.
constexpr uint64_t kJpegExpansion = 2048;

struct ErrorManager {
    jpeg_error_mgr base;
    jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
    // Data that stops before the image is complete is an error, not grey padding.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) OnError(cinfo);
}

void Quiet(j_common_ptr) {}

double DensityToDpi(int unit, int value) {
    if (value <= 0) return 0;
    if (unit == 1) return value;
    if (unit == 2) return value * 2.54;
    return 0;
}

// Where the compressed data comes from: an open file or a block of memory.
struct Source {
    FILE* stream = nullptr;
    const uint8_t* data = nullptr;
    size_t size = 0;
    long long bytes = -1;  // the compressed size, for the plausibility check
};

void Attach(jpeg_decompress_struct& cinfo, const Source& source) {
    if (source.stream)
        jpeg_stdio_src(&cinfo, source.stream);
    else
        jpeg_mem_src(&cinfo, source.data, static_cast<unsigned long>(source.size));
}

// Reads the header and sets the output colour space; 0 or a negative code.
int ReadHeader(jpeg_decompress_struct& cinfo, const Source& source) {
    Attach(cinfo, source);
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
    const int bits = cinfo.jpeg_color_space == JCS_GRAYSCALE ? 8 : 24;
    if (!codec::AcceptableDimensions(cinfo.image_width, cinfo.image_height, bits))
        return kImgNoMemory;
    const uint64_t decoded = uint64_t{cinfo.image_width} * cinfo.image_height * (bits / 8);
    if (source.bytes >= 0 &&
        !codec::PlausibleSize(decoded, static_cast<uint64_t>(source.bytes), kJpegExpansion))
        return kImgCorruptFile;
    return kImgOk;
}

// The scale (n/8) that gives the smallest output still at least minWidth x minHeight.
unsigned ScaleFor(unsigned width, unsigned height, int minWidth, int minHeight) {
    if (minWidth <= 0 && minHeight <= 0) return 8;
    for (unsigned n : {1u, 2u, 4u}) {
        const uint64_t w = (uint64_t{width} * n + 7) / 8, h = (uint64_t{height} * n + 7) / 8;
        if (w >= static_cast<uint64_t>(minWidth) && h >= static_cast<uint64_t>(minHeight)) return n;
    }
    return 8;
}

int Decode(const Source& source, const JpegDecodeOptions& options, ImageBuffer& image) {
    std::memset(&image, 0, sizeof image);
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.emit_message = OnMessage;
    errors.base.output_message = Quiet;
    cinfo.err = &errors.base;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        FreeImage(image);
        return kImgCorruptFile;
    }
    jpeg_create_decompress(&cinfo);
    int rc = ReadHeader(cinfo, source);
    if (rc != kImgOk) {
        jpeg_destroy_decompress(&cinfo);
        return rc;
    }
    cinfo.scale_num =
        ScaleFor(cinfo.image_width, cinfo.image_height, options.minWidth, options.minHeight);
    cinfo.scale_denom = 8;
    if (options.fast) {
        cinfo.dct_method = JDCT_IFAST;
        cinfo.do_fancy_upsampling = FALSE;
    }
    jpeg_calc_output_dimensions(&cinfo);
    const bool grey = cinfo.out_color_space == JCS_GRAYSCALE;
    rc = AllocateImage(image, static_cast<int>(cinfo.output_width),
                       static_cast<int>(cinfo.output_height), grey ? 8 : 24);
    if (rc != kImgOk) {
        jpeg_destroy_decompress(&cinfo);
        return rc;
    }
    if (grey)
        SetGreyRamp(image);
    else
        image.imageFlags &= ~kImageFlagGrey;
    if (cinfo.saw_JFIF_marker) {
        const double scale = static_cast<double>(cinfo.scale_num) / cinfo.scale_denom;
        SetImageDpi(image, DensityToDpi(cinfo.density_unit, cinfo.X_density) * scale,
                    DensityToDpi(cinfo.density_unit, cinfo.Y_density) * scale);
    }
    const bool cmyk = cinfo.out_color_space == JCS_CMYK;
    // Adobe's writers store CMYK inverted (0 = full ink); others store it plainly.
    const bool adobeInverted = cmyk && cinfo.saw_Adobe_marker;
    jpeg_start_decompress(&cinfo);
    JSAMPARRAY cmykRow = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                           JPOOL_IMAGE, cinfo.output_width * 4, 1)
                              : nullptr;
    while (cinfo.output_scanline < cinfo.output_height) {
        uint8_t* row = RowPointer(image, cinfo.output_scanline);
        JSAMPROW target = cmyk ? cmykRow[0] : row;
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) {
            jpeg_destroy_decompress(&cinfo);
            FreeImage(image);
            return kImgCorruptFile;
        }
        if (!cmyk) continue;
        const uint8_t flip = adobeInverted ? 0 : 255;
        for (JDIMENSION x = 0; x < cinfo.output_width; ++x) {
            const JSAMPROW p = cmykRow[0] + 4 * static_cast<size_t>(x);
            // After the flip 255 means no ink.
            const unsigned c = p[0] ^ flip, m = p[1] ^ flip, y = p[2] ^ flip, k = p[3] ^ flip;
            row[3 * x] = static_cast<uint8_t>(y * k / 255);
            row[3 * x + 1] = static_cast<uint8_t>(m * k / 255);
            row[3 * x + 2] = static_cast<uint8_t>(c * k / 255);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return kImgOk;
}

int Inspect(const Source& source, ImageFileInfo& info) {
    info = ImageFileInfo{};
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.emit_message = OnMessage;
    errors.base.output_message = Quiet;
    cinfo.err = &errors.base;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return kImgCorruptFile;
    }
    jpeg_create_decompress(&cinfo);
    const int rc = ReadHeader(cinfo, source);
    if (rc == kImgOk) {
        info.width = static_cast<int>(cinfo.image_width);
        info.height = static_cast<int>(cinfo.image_height);
        info.bitsPerPixel = cinfo.jpeg_color_space == JCS_GRAYSCALE ? 8 : 24;
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

bool StartsLikeJpeg(const uint8_t* data, size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

}  // namespace

int DecodeJpegFile(const char* file, const JpegDecodeOptions& options, ImageBuffer& image) {
    std::memset(&image, 0, sizeof image);
    FILE* stream = file ? std::fopen(file, "rb") : nullptr;
    if (!stream) return kImgCannotOpen;
    uint8_t magic[3] = {};
    const bool jpeg = std::fread(magic, 1, 3, stream) == 3 && StartsLikeJpeg(magic, 3);
    std::rewind(stream);
    Source source;
    source.stream = stream;
    source.bytes = codec::FileSize(stream);
    const int rc = jpeg ? Decode(source, options, image) : kImgNotThisFormat;
    std::fclose(stream);
    return rc;
}

int DecodeJpegData(const uint8_t* data, size_t size, const JpegDecodeOptions& options,
                   ImageBuffer& image) {
    std::memset(&image, 0, sizeof image);
    if (!data || !StartsLikeJpeg(data, size)) return kImgNotThisFormat;
    Source source;
    source.data = data;
    source.size = size;
    source.bytes = static_cast<long long>(size);
    return Decode(source, options, image);
}

int InspectJpegData(const uint8_t* data, size_t size, ImageFileInfo& info) {
    info = ImageFileInfo{};
    if (!data || !StartsLikeJpeg(data, size)) return kImgNotThisFormat;
    Source source;
    source.data = data;
    source.size = size;
    source.bytes = static_cast<long long>(size);
    return Inspect(source, info);
}

}  // namespace vellumo::imaging

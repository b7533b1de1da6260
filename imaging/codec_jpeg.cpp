// JPEG through libjpeg-turbo. Loads grey, colour and CMYK/YCCK files (Adobe's inverted CMYK
// included), baseline or progressive, into 8-bit grey or 24-bit images, turned upright as their
// Exif orientation says, with the resolution of the JFIF segment or else of the Exif block;
// saves grey images as one-component and everything else as colour files, with the JFIF
// density set by SetJpegDensity. Library errors unwind through longjmp to the function that
// started the work; damaged coded data (a file that ends early, a corrupt segment) counts as
// an error instead of being padded with grey.
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
#include "imaging/jpeg_support.h"

namespace vellumo::imaging {

namespace {

using vellumo::imaging::Orientation;

struct Density {
    int x = 1;
    int y = 1;
    int unit = 0;
};
Density jpegDensity;

using ErrorManager = vellumo::imaging::JpegErrors;

void InstallErrorManager(ErrorManager& manager) {
    vellumo::imaging::InstallJpegErrors(manager, true);
}

// What the header says about the picture as a viewer shows it.
struct UprightFrame {
    Orientation orientation = Orientation::TopLeft;
    double dpiX = 0, dpiY = 0;  // of the upright picture
};

UprightFrame ReadUprightFrame(const jpeg_decompress_struct& cinfo) {
    UprightFrame frame;
    const vellumo::imaging::ExifInfo exif = vellumo::imaging::SavedExif(cinfo);
    frame.orientation = exif.orientation;
    const int unit = cinfo.saw_JFIF_marker ? cinfo.density_unit : -1;
    double x = 0, y = 0;
    if (vellumo::imaging::JpegResolution(unit, cinfo.X_density, cinfo.Y_density, exif, x, y)) {
        const bool swap = vellumo::imaging::SwapsSides(frame.orientation);
        frame.dpiX = swap ? y : x;
        frame.dpiY = swap ? x : y;
    }
    return frame;
}

int ImageBitsFor(J_COLOR_SPACE space) {
    return space == JCS_GRAYSCALE ? 8 : 24;
}

// Reads the header; the decompressor is set up for the output the image needs.
int ReadHeader(jpeg_decompress_struct& cinfo, FILE* stream, long long fileBytes) {
    jpeg_stdio_src(&cinfo, stream);
    vellumo::imaging::SaveExifMarkers(cinfo);
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
    if (!vellumo::imaging::PlausibleJpegFrame(cinfo.image_width, cinfo.image_height,
                                              bits == 8 ? 1 : 3, fileBytes))
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
        const UprightFrame frame = ReadUprightFrame(cinfo);
        uint32_t width, height;
        vellumo::imaging::UprightSize(frame.orientation, cinfo.image_width, cinfo.image_height,
                                      width, height);
        info.width = static_cast<int>(width);
        info.height = static_cast<int>(height);
        info.bitsPerPixel = ImageBitsFor(cinfo.jpeg_color_space);
        info.dpiX = frame.dpiX;
        info.dpiY = frame.dpiY;
        info.fileBitsPerSample = cinfo.data_precision;
        info.fileSamplesPerPixel = cinfo.num_components;
        info.compression = cinfo.progressive_mode ? 2 : 1;
    }
    jpeg_destroy_decompress(&cinfo);
    return rc;
}

// writer belongs to the caller: nothing with a destructor may live between setjmp and a jump.
int Load(FILE* stream, long long fileBytes, ImageBuffer& image,
         vellumo::imaging::OrientedRowWriter& writer) {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    InstallErrorManager(errors);
    cinfo.err = &errors.base;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        if (errors.message[0])
            codec::NoteImageProblem(errors.damaged ? std::string("the data is damaged (") +
                                                         errors.message + ")"
                                                   : std::string(errors.message));
        return kImgCorruptFile;
    }
    jpeg_create_decompress(&cinfo);
    int rc = ReadHeader(cinfo, stream, fileBytes);
    const UprightFrame frame = rc == kImgOk ? ReadUprightFrame(cinfo) : UprightFrame{};
    if (rc == kImgOk) {
        // The image has the upright size; the writer checks it against the stored one.
        const int bits = ImageBitsFor(cinfo.jpeg_color_space);
        rc = BitsPerPixel(image) == bits
                 ? writer.begin(image, cinfo.image_width, cinfo.image_height, frame.orientation)
                 : kImgBadDepth;
    }
    if (rc != kImgOk) {
        jpeg_destroy_decompress(&cinfo);
        return rc;
    }
    SetImageDpi(image, frame.dpiX, frame.dpiY);
    if (BitsPerPixel(image) == 8)
        SetGreyRamp(image);
    else
        image.imageFlags &= ~kImageFlagGrey;
    const bool cmyk = cinfo.out_color_space == JCS_CMYK;
    // Adobe's writers store CMYK inverted (0 = full ink); others store it plainly.
    const bool adobeInverted = cmyk && cinfo.saw_Adobe_marker;
    jpeg_start_decompress(&cinfo);
    // Rows that are not decoded in place live in the decompressor's own pool, so an error
    // unwinding past them leaks nothing.
    JSAMPARRAY cmykRows = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                            JPOOL_IMAGE, cinfo.output_width * 4, 1)
                               : nullptr;
    JSAMPARRAY turnedRows =
        writer.direct() ? nullptr
                        : (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                     JPOOL_IMAGE, cinfo.output_width * 3, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION y = cinfo.output_scanline;
        uint8_t* row = writer.direct() ? writer.rowTarget(y) : turnedRows[0];
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
        if (!writer.direct()) writer.putRow(y, row);
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
    vellumo::imaging::OrientedRowWriter writer;
    if (StartsLikeJpeg(stream)) rc = Load(stream, codec::FileSize(stream), image, writer);
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

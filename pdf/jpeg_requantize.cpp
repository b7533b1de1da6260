#include "pdf/jpeg_requantize.h"

#include <unistd.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>

#include "imaging/codec_common.h"
#include "imaging/jpeg_support.h"
#include "imaging/jpeg_upright.h"

#include "platform/regular_file.h"

namespace vellumo::pdf {

using namespace vellumo::imaging;

namespace {

// Requantises every block of every component in place from the source's tables to dst's. When
// the blocks are transposed on their way to dst, coefficient (u, v) goes with dst's step (v, u).
void Requantize(j_decompress_ptr src, j_compress_ptr dst, jvirt_barray_ptr* coefficients,
                bool transposed) {
    for (int c = 0; c < src->num_components; ++c) {
        const jpeg_component_info& in = src->comp_info[c];
        const JQUANT_TBL* oldTable = in.quant_table;
        const JQUANT_TBL* newTable = dst->quant_tbl_ptrs[dst->comp_info[c].quant_tbl_no];
        float ratio[DCTSIZE2];
        for (int k = 0; k < DCTSIZE2; ++k) {
            const int to = transposed ? (k % DCTSIZE) * DCTSIZE + k / DCTSIZE : k;
            ratio[k] = static_cast<float>(oldTable->quantval[k]) / newTable->quantval[to];
        }
        for (JDIMENSION row = 0; row < in.height_in_blocks; ++row) {
            JBLOCKARRAY blocks = src->mem->access_virt_barray(reinterpret_cast<j_common_ptr>(src),
                                                              coefficients[c], row, 1, TRUE);
            for (JDIMENSION b = 0; b < in.width_in_blocks; ++b) {
                JCOEF* coef = blocks[0][b];
                // Rounded to the nearest step, halves away from zero; branch-free so that
                // the compiler can do a block in a few vector instructions.
                for (int k = 0; k < DCTSIZE2; ++k) {
                    const float v = coef[k] * ratio[k];
                    coef[k] = static_cast<JCOEF>(v + std::copysign(0.5f, v));
                }
            }
        }
    }
}

// The luminance table the IJG quality scale is based on (natural order).
constexpr unsigned kBaseLuminance[DCTSIZE2] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};

// The sum of the luminance table an IJG encoder writes at quality, its steps limited to largest
// (255 in baseline files, 32767 in extended ones).
long ScaledTableSum(int quality, long largest) {
    const long scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    long sum = 0;
    for (unsigned base : kBaseLuminance) {
        const long q = (base * scale + 50) / 100;
        sum += q < 1 ? 1 : q > largest ? largest : q;
    }
    return sum;
}

}  // namespace

int EstimateJpegQuality(const std::string& path) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return 0;
    jpeg_decompress_struct src{};
    vellumo::imaging::JpegErrors error;
    vellumo::imaging::InstallJpegErrors(error, true);
    src.err = &error.base;
    jpeg_create_decompress(&src);
    volatile long sum = -1;
    volatile long largest = 255;
    if (setjmp(error.jump) == 0) {
        jpeg_stdio_src(&src, in);
        jpeg_read_header(&src, TRUE);
        // The table of the first component: luminance in YCbCr and grey files.
        const int slot = src.num_components > 0 ? src.comp_info[0].quant_tbl_no : 0;
        const JQUANT_TBL* table =
            slot >= 0 && slot < NUM_QUANT_TBLS ? src.quant_tbl_ptrs[slot] : nullptr;
        if (table) {
            long total = 0;
            for (int k = 0; k < DCTSIZE2; ++k) {
                total += table->quantval[k];
                if (table->quantval[k] > 255) largest = 32767;
            }
            sum = total;
        }
    }
    jpeg_destroy_decompress(&src);
    std::fclose(in);
    if (sum < 0) return 0;
    // The scaled sums fall as the quality rises: the highest quality still as coarse as the
    // file's table. A finer table than quality 100's is quality 100.
    int best = 1;
    for (int q = 1; q <= 100; ++q)
        if (ScaledTableSum(q, largest) >= sum) best = q;
    return best;
}

bool RequantizeJpeg(const std::string& inPath, const std::string& outPath, int quality, int dpiX,
                    int dpiY) {
    std::FILE* in = vellumo::platform::OpenRegularFile(inPath);
    if (!in) return false;
    // A photo that is shown turned is turned while it is written, so that the copy (which keeps
    // no Exif block) is upright. A turn that cannot be lossless is left to the decoder (checked
    // on the frame below).
    vellumo::imaging::JpegMarkers markers;
    const bool known = vellumo::imaging::ReadJpegMarkers(in, markers);
    const auto orientation =
        markers.exif ? markers.exifInfo.orientation : vellumo::imaging::Orientation::TopLeft;
    if (!known || std::fseek(in, 0, SEEK_SET) != 0) {
        std::fclose(in);
        return false;
    }
    // Set before the jump point and changed after it: volatile, so a failure sees them.
    std::FILE* volatile out = nullptr;
    volatile bool ok = false;
    jpeg_decompress_struct src{};
    jpeg_compress_struct dst{};
    // One error manager for both objects, so that one jump point serves both. Damaged data
    // ends the work: it goes to the decoder, which refuses it with the reason.
    vellumo::imaging::JpegErrors error;
    vellumo::imaging::InstallJpegErrors(error, true);
    src.err = &error.base;
    dst.err = src.err;
    jpeg_create_decompress(&src);
    jpeg_create_compress(&dst);
    if (setjmp(error.jump) == 0) {
        jpeg_stdio_src(&src, in);
        jpeg_read_header(&src, TRUE);
        const bool plain =
            vellumo::imaging::PlausibleJpegFrame(src.image_width, src.image_height,
                                                 src.num_components, codec::FileSize(in)) &&
            src.data_precision == 8 && !src.saw_Adobe_marker &&
            (src.jpeg_color_space == JCS_GRAYSCALE || src.jpeg_color_space == JCS_YCbCr) &&
            vellumo::imaging::UprightCoefficients::Lossless(src, orientation);
        if (plain) {
            jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&src);
            vellumo::imaging::UprightCoefficients upright(src, coefficients, orientation);
            out = vellumo::platform::OpenPrivateFileForWriting(outPath, true);
            if (out) {
                jpeg_copy_critical_parameters(&src, &dst);
                upright.setUprightParameters(dst);
                jpeg_set_quality(&dst, quality, TRUE);
                dst.write_JFIF_header = TRUE;
                dst.JFIF_major_version = 1;
                dst.JFIF_minor_version = 2;
                dst.density_unit = 1;
                dst.X_density = static_cast<UINT16>(dpiX);
                dst.Y_density = static_cast<UINT16>(dpiY);
                Requantize(&src, &dst, coefficients, upright.transposes());
                jpeg_stdio_dest(&dst, out);
                jpeg_write_coefficients(&dst, upright.attach(dst));
                jpeg_finish_compress(&dst);
                jpeg_finish_decompress(&src);
                ok = std::fflush(out) == 0 && !std::ferror(out);
            } else {
                jpeg_abort_decompress(&src);
            }
        }
    }
    jpeg_destroy_compress(&dst);
    jpeg_destroy_decompress(&src);
    std::fclose(in);
    if (out && std::fclose(out) != 0) ok = false;
    if (out && !ok) unlink(outPath.c_str());
    return ok;
}

}  // namespace vellumo::pdf

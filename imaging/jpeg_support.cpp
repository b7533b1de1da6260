#include "imaging/jpeg_support.h"

#include <algorithm>
#include <cstring>
#include <memory>

// clang-format off
#include <jerror.h>
// clang-format on

#include "imaging/codec_common.h"

namespace vellumo::imaging {

namespace {

// One byte of entropy-coded data describes at most this many bytes of pixels (a progressive
// scan can code a whole 8 x 8 block of three components in a few bits).
constexpr uint64_t kJpegExpansion = 2048;

unsigned Get16(const uint8_t* p, bool bigEndian) {
    return bigEndian ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0];
}
uint32_t Get32(const uint8_t* p, bool bigEndian) {
    return bigEndian
               ? (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3]
               : (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    if (!errors->message[0]) cinfo->err->format_message(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

// Stray bytes before a marker are harmless between the header's segments, but once a scan has
// begun they are coded data that the decoder could not use.
bool StrayBytesAreDamage(j_common_ptr cinfo) {
    const int marker = cinfo->err->msg_parm.i[1];
    if (marker == 0xD9 || (marker >= 0xD0 && marker <= 0xD7)) return true;
    return cinfo->is_decompressor &&
           reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > 0;
}

void OnMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace messages
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    const int code = cinfo->err->msg_code;
    bool damage = false;
    switch (code) {
        case JWRN_JPEG_EOF:
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_MUST_RESYNC:
            damage = true;
            break;
        case JWRN_EXTRANEOUS_DATA:
            damage = StrayBytesAreDamage(cinfo);
            break;
        default:
            break;
    }
    if (!errors->message[0]) cinfo->err->format_message(cinfo, errors->message);
    cinfo->err->num_warnings++;
    if (!damage) {
        errors->irregular = true;
        return;
    }
    if (!errors->damaged) {
        // The damage is what the user needs to hear about, even after an earlier irregularity.
        cinfo->err->format_message(cinfo, errors->message);
        errors->damaged = true;
    }
    if (errors->stopOnDamage) std::longjmp(errors->jump, 1);
}

void Quiet(j_common_ptr) {}

}  // namespace

bool ParseExif(const uint8_t* data, size_t size, ExifInfo& info) {
    info = ExifInfo{};
    if (!data || size < 14 || std::memcmp(data, "Exif\0\0", 6) != 0) return false;
    const uint8_t* t = data + 6;
    const size_t n = size - 6;
    if (!(t[0] == t[1] && (t[0] == 'M' || t[0] == 'I'))) return false;
    const bool be = t[0] == 'M';
    if (Get16(t + 2, be) != 42) return false;
    const uint32_t ifd = Get32(t + 4, be);
    if (ifd < 8 || uint64_t{ifd} + 2 > n) return false;
    const unsigned count = Get16(t + ifd, be);
    double x = 0, y = 0;
    unsigned unit = 2;  // inches unless the block says otherwise
    for (unsigned i = 0; i < count; ++i) {
        const uint64_t e = uint64_t{ifd} + 2 + uint64_t{i} * 12;
        if (e + 12 > n) break;
        const unsigned tag = Get16(t + e, be), type = Get16(t + e + 2, be);
        const uint32_t values = Get32(t + e + 4, be);
        if (tag == 0x0112 && type == 3 && values >= 1) {
            info.orientation = OrientationFromTag(static_cast<int>(Get16(t + e + 8, be)));
        } else if ((tag == 0x011A || tag == 0x011B) && type == 5 && values >= 1) {
            const uint32_t at = Get32(t + e + 8, be);
            if (uint64_t{at} + 8 > n) continue;
            const uint32_t num = Get32(t + at, be), den = Get32(t + at + 4, be);
            (tag == 0x011A ? x : y) = den ? static_cast<double>(num) / den : 0;
        } else if (tag == 0x0128 && type == 3 && values >= 1) {
            unit = Get16(t + e + 8, be);
        }
    }
    if (unit == 3) x *= 2.54, y *= 2.54;
    if ((unit == 2 || unit == 3) && x > 0 && y > 0 && x < 1e6 && y < 1e6) {
        info.dpiX = x;
        info.dpiY = y;
    }
    return true;
}

bool ReadJpegMarkers(std::FILE* f, JpegMarkers& h) {
    h = JpegMarkers{};
    unsigned char b[4];
    if (std::fread(b, 1, 2, f) != 2 || b[0] != 0xFF || b[1] != 0xD8) return false;
    std::vector<uint8_t> d;
    for (;;) {
        int c = std::fgetc(f);
        if (c != 0xFF) return false;
        do c = std::fgetc(f);
        while (c == 0xFF);
        if (c == EOF) return false;
        if (c == 0xD8 || c == 0x01 || (c >= 0xD0 && c <= 0xD7)) continue;
        if (c == 0xD9) return false;
        if (std::fread(b, 1, 2, f) != 2) return false;
        const unsigned length = (b[0] << 8) | b[1];
        if (length < 2) return false;
        const bool frame = c >= 0xC0 && c <= 0xCF && c != 0xC4 && c != 0xC8 && c != 0xCC;
        const bool wanted = c == 0xE0 || (c == 0xE1 && !h.exif) || c == 0xEE || frame;
        if (!wanted) {
            if (c == 0xDA) return h.frameType >= 0;
            if (std::fseek(f, length - 2, SEEK_CUR) != 0) return false;
            continue;
        }
        d.resize(length - 2);
        if (!d.empty() && std::fread(d.data(), 1, d.size(), f) != d.size()) return false;
        if (c == 0xE0 && d.size() >= 12 && std::memcmp(d.data(), "JFIF\0", 5) == 0) {
            h.jfifUnit = d[7];
            h.jfifX = (d[8] << 8) | d[9];
            h.jfifY = (d[10] << 8) | d[11];
        } else if (c == 0xE1) {
            h.exif = ParseExif(d.data(), d.size(), h.exifInfo);
        } else if (c == 0xEE && d.size() >= 5 && std::memcmp(d.data(), "Adobe", 5) == 0) {
            h.adobe = true;
        } else if (frame && h.frameType < 0) {
            if (d.size() < 6) return false;
            h.frameType = c - 0xC0;
            h.precision = d[0];
            h.height = (d[1] << 8) | d[2];
            h.width = (d[3] << 8) | d[4];
            h.components = d[5];
            if (d.size() < 6 + 3 * static_cast<size_t>(h.components)) return false;
            int hMax = 1, vMax = 1;
            for (int i = 0; i < h.components; ++i) {
                const int factors = d[6 + 3 * i + 1];
                hMax = std::max(hMax, factors >> 4);
                vMax = std::max(vMax, factors & 15);
            }
            if (h.components > 1) {
                h.mcuWidth = 8 * hMax;
                h.mcuHeight = 8 * vMax;
            }
        }
    }
}

bool ReadJpegMarkers(const std::string& path, JpegMarkers& markers) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    return file && ReadJpegMarkers(file.get(), markers);
}

bool JpegResolution(int jfifUnit, int jfifX, int jfifY, const ExifInfo& exif, double& dpiX,
                    double& dpiY) {
    if ((jfifUnit == 1 || jfifUnit == 2) && jfifX > 0 && jfifY > 0) {
        const double scale = jfifUnit == 2 ? 2.54 : 1.0;
        dpiX = jfifX * scale;
        dpiY = jfifY * scale;
        return true;
    }
    if (exif.dpiX > 0 && exif.dpiY > 0) {
        dpiX = exif.dpiX;
        dpiY = exif.dpiY;
        return true;
    }
    return false;
}

void InstallJpegErrors(JpegErrors& errors, bool stopOnDamage) {
    jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.emit_message = OnMessage;
    errors.base.output_message = Quiet;
    errors.stopOnDamage = stopOnDamage;
    errors.damaged = false;
    errors.irregular = false;
    errors.message[0] = '\0';
}

void SaveExifMarkers(jpeg_decompress_struct& cinfo) {
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
}

ExifInfo SavedExif(const jpeg_decompress_struct& cinfo) {
    ExifInfo info;
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && ParseExif(m->data, m->data_length, info)) return info;
    return ExifInfo{};
}

bool PlausibleJpegFrame(uint64_t width, uint64_t height, int components, long long fileBytes) {
    const int bytesPerPixel = components == 1 ? 1 : 3;
    if (!codec::AcceptableDimensions(width, height, 8 * bytesPerPixel)) return false;
    return fileBytes < 0 || codec::PlausibleSize(width * height * bytesPerPixel,
                                                 static_cast<uint64_t>(fileBytes), kJpegExpansion);
}

JpegDataState CheckJpegData(const std::string& path, std::string* problem) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        if (problem) *problem = "the file cannot be opened";
        return JpegDataState::Damaged;
    }
    const long long fileBytes = codec::FileSize(file.get());
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    InstallJpegErrors(errors, true);
    cinfo.err = &errors.base;
    // Set after the jump point and read after a jump: volatile.
    volatile bool implausible = false;
    if (setjmp(errors.jump) == 0) {
        jpeg_create_decompress(&cinfo);
        jpeg_stdio_src(&cinfo, file.get());
        jpeg_read_header(&cinfo, TRUE);
        if (!PlausibleJpegFrame(cinfo.image_width, cinfo.image_height, cinfo.num_components,
                                fileBytes)) {
            implausible = true;
        } else {
            // One eighth of the size: the coded data is decoded to its end, the pixels barely.
            cinfo.scale_num = 1;
            cinfo.scale_denom = 8;
            jpeg_start_decompress(&cinfo);
            // The row lives in the decompressor's pool, so a jump out of the loop leaks nothing.
            JSAMPARRAY rows =
                (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                           cinfo.output_width * cinfo.output_components, 1);
            while (cinfo.output_scanline < cinfo.output_height)
                jpeg_read_scanlines(&cinfo, rows, 1);
            jpeg_finish_decompress(&cinfo);
        }
    } else {
        errors.damaged = true;
    }
    jpeg_destroy_decompress(&cinfo);
    if (implausible) {
        if (problem) *problem = "the file is too small for the size of picture it claims";
        return JpegDataState::Damaged;
    }
    if (errors.damaged || errors.irregular) {
        if (problem) *problem = errors.message;
        return errors.damaged ? JpegDataState::Damaged : JpegDataState::Irregular;
    }
    return JpegDataState::Clean;
}

}  // namespace vellumo::imaging

// JPEG files go into the PDF exactly as they are (DCTDecode): the markers before the scan give
// the size, the colour space, Adobe's inverted CMYK and the resolution (JFIF or Exif).
#include <cstring>
#include <memory>
#include <vector>

#include "pdf/image_embed.h"

namespace vellumo::pdf {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

struct JpegHeader {
    int width = 0;
    int height = 0;
    int components = 0;
    int precision = 0;
    int frameType = -1;  // n of the SOFn marker
    bool adobe = false;
    int jfifUnit = -1;  // -1: no JFIF density
    int jfifX = 0, jfifY = 0;
    double exifX = 0, exifY = 0;
};

unsigned Get16(const unsigned char* p, bool bigEndian) {
    return bigEndian ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0];
}
uint32_t Get32(const unsigned char* p, bool bigEndian) {
    return bigEndian ? (uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3]
                     : (uint32_t{p[3]} << 24) | (p[2] << 16) | (p[1] << 8) | p[0];
}

// Resolution from the first IFD of an Exif block ("Exif\0\0" then a TIFF header).
void ReadExifResolution(const std::vector<unsigned char>& d, JpegHeader& h) {
    if (d.size() < 14 || std::memcmp(d.data(), "Exif\0\0", 6) != 0) return;
    const unsigned char* t = d.data() + 6;
    const size_t size = d.size() - 6;
    const bool be = t[0] == 'M';
    if (!(t[0] == t[1] && (t[0] == 'M' || t[0] == 'I'))) return;
    const uint32_t ifd = Get32(t + 4, be);
    if (ifd + 2 > size) return;
    const unsigned count = Get16(t + ifd, be);
    double x = 0, y = 0;
    int unit = 2;
    for (unsigned i = 0; i < count; ++i) {
        const size_t e = ifd + 2 + i * 12;
        if (e + 12 > size) break;
        const unsigned tag = Get16(t + e, be), type = Get16(t + e + 2, be);
        if ((tag == 0x011A || tag == 0x011B) && type == 5) {
            const uint32_t at = Get32(t + e + 8, be);
            if (at + 8 > size) continue;
            const uint32_t num = Get32(t + at, be), den = Get32(t + at + 4, be);
            const double v = den ? static_cast<double>(num) / den : 0;
            (tag == 0x011A ? x : y) = v;
        } else if (tag == 0x0128 && type == 3) {
            unit = static_cast<int>(Get16(t + e + 8, be));
        }
    }
    if (unit == 3) x *= 2.54, y *= 2.54;
    if (unit == 2 || unit == 3) h.exifX = x, h.exifY = y;
}

// Reads the markers up to the first scan. False when the file is not a JPEG we can describe.
bool ReadJpegHeader(std::FILE* f, JpegHeader& h) {
    unsigned char b[4];
    if (std::fread(b, 1, 2, f) != 2 || b[0] != 0xFF || b[1] != 0xD8) return false;
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
        const bool wanted = c == 0xE0 || c == 0xE1 || c == 0xEE ||
                            (c >= 0xC0 && c <= 0xCF && c != 0xC4 && c != 0xC8 && c != 0xCC);
        if (!wanted) {
            if (c == 0xDA) return h.frameType >= 0;
            if (std::fseek(f, length - 2, SEEK_CUR) != 0) return false;
            continue;
        }
        std::vector<unsigned char> d(length - 2);
        if (!d.empty() && std::fread(d.data(), 1, d.size(), f) != d.size()) return false;
        if (c == 0xE0 && d.size() >= 12 && std::memcmp(d.data(), "JFIF\0", 5) == 0) {
            h.jfifUnit = d[7];
            h.jfifX = (d[8] << 8) | d[9];
            h.jfifY = (d[10] << 8) | d[11];
        } else if (c == 0xE1) {
            ReadExifResolution(d, h);
        } else if (c == 0xEE && d.size() >= 5 && std::memcmp(d.data(), "Adobe", 5) == 0) {
            h.adobe = true;
        } else if (c >= 0xC0 && c <= 0xCF && h.frameType < 0) {
            if (d.size() < 6) return false;
            h.frameType = c - 0xC0;
            h.precision = d[0];
            h.height = (d[1] << 8) | d[2];
            h.width = (d[3] << 8) | d[4];
            h.components = d[5];
        }
    }
}

// The density a header records, in dots per inch, JFIF first.
bool HeaderDpi(const JpegHeader& h, double& dpiX, double& dpiY) {
    if ((h.jfifUnit == 1 || h.jfifUnit == 2) && h.jfifX > 0 && h.jfifY > 0) {
        const double scale = h.jfifUnit == 2 ? 2.54 : 1.0;
        dpiX = h.jfifX * scale;
        dpiY = h.jfifY * scale;
        return true;
    }
    if (h.exifX > 0 && h.exifY > 0) {
        dpiX = h.exifX;
        dpiY = h.exifY;
        return true;
    }
    return false;
}

}  // namespace

bool ReadJpegResolution(const std::string& path, double& dpiX, double& dpiY) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    JpegHeader h;
    return file && ReadJpegHeader(file.get(), h) && HeaderDpi(h, dpiX, dpiY);
}

EmbedResult EmbedJpegFile(PdfWriter& writer, int object, const std::string& path,
                          const EmbedOptions&, EmbeddedImage& image, std::string& error) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return EmbedResult::Declined;
    JpegHeader h;
    if (!ReadJpegHeader(file.get(), h)) return EmbedResult::Declined;
    // Baseline, extended and progressive Huffman frames of 8-bit samples are what every PDF
    // reader decodes; lossless, arithmetic-coded or 12-bit files go through the decoder.
    const bool plain = (h.frameType == 0 || h.frameType == 1 || h.frameType == 2) &&
                       h.precision == 8 && h.width > 0 && h.height > 0 &&
                       (h.components == 1 || h.components == 3 || h.components == 4);
    if (!plain) return EmbedResult::Declined;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return EmbedResult::Declined;
    const long long size = ftello(file.get());

    image.width = h.width;
    image.height = h.height;
    HeaderDpi(h, image.dpiX, image.dpiY);
    image.kind = h.components == 1 ? PageKind::Grey : PageKind::Colour;
    image.coding = "JPEG";

    std::string dict = "/Type /XObject /Subtype /Image /Width " + std::to_string(h.width) +
                       " /Height " + std::to_string(h.height) + " /BitsPerComponent 8 /ColorSpace ";
    dict += h.components == 1 ? "/DeviceGray" : h.components == 3 ? "/DeviceRGB" : "/DeviceCMYK";
    // Adobe's applications write CMYK JPEGs with inverted values and mark them with the Adobe
    // segment; readers then need the inverting decode array.
    if (h.components == 4 && h.adobe) dict += " /Decode [1 0 1 0 1 0 1 0]";
    dict += " /Filter /DCTDecode";
    writer.beginStream(object, dict);
    if (!CopyFileRange(file.get(), 0, size, writer)) {
        error = "Cannot read the JPEG file " + path;
        return EmbedResult::Failed;
    }
    writer.endStream();
    return EmbedResult::Done;
}

}  // namespace vellumo::pdf

// PNG image data goes into the PDF as it is where the PDF's Flate filter with the PNG
// predictors reads it unchanged: no interlace, no alpha channel, at most 8 bits per sample.
// Grey and RGB become DeviceGray and DeviceRGB, palette images Indexed, with the transparency
// of a palette's entries composed onto white in the colour table, as the loader does; grey and
// RGB images with a transparent colour go through the loader. The IDAT chunks are copied one
// after another and their checksums verified on the way, so a damaged file fails instead of
// giving a broken page. Chunk lengths are checked against the file's size before anything is
// read for them. Images of two colours (1-bit grey, palettes of two) are decoded and go the
// bilevel way, with their own data kept when that is smaller still.
#include <zlib.h>

#include <cstring>
#include <memory>
#include <vector>

#include "imaging/codec_common.h"
#include "imaging/codecs.h"
#include "pdf/image_embed.h"

namespace vellumo::pdf {

using namespace vellumo::imaging;

namespace {

struct Chunk {
    long long offset;  // of the data
    uint32_t length;
    uint32_t crc;
};

struct PngHeader {
    uint32_t width = 0, height = 0;
    int depth = 0, colourType = -1, interlace = 0;
    std::vector<unsigned char> palette;
    std::vector<unsigned char> transparency;  // the tRNS chunk
    bool hasTransparency = false;
    double dpiX = 0, dpiY = 0;
    std::vector<Chunk> data;
};

uint32_t Be32(const unsigned char* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The largest length each chunk we read may have.
uint32_t LongestChunk(const unsigned char* type) {
    if (std::memcmp(type, "IHDR", 4) == 0) return 13;
    if (std::memcmp(type, "PLTE", 4) == 0) return 768;
    if (std::memcmp(type, "pHYs", 4) == 0) return 9;
    if (std::memcmp(type, "tRNS", 4) == 0) return 256;
    return 0;
}

bool ReadPngHeader(std::FILE* f, long long fileBytes, PngHeader& h) {
    unsigned char sig[8];
    if (std::fread(sig, 1, 8, f) != 8 || std::memcmp(sig, "\x89PNG\r\n\x1a\n", 8) != 0)
        return false;
    long long at = 8;
    for (;;) {
        unsigned char head[8];
        if (std::fread(head, 1, 8, f) != 8) return false;
        const uint32_t length = Be32(head);
        at += 8;
        // Every chunk, its checksum included, lies inside the file.
        if (length > 0x7FFFFFFF || at + length + 4 > fileBytes) return false;
        const uint32_t longest = LongestChunk(head + 4);
        const bool small = longest > 0;
        if (small && length > longest) return false;
        std::vector<unsigned char> d;
        if (small) {
            d.resize(length);
            if (length && std::fread(d.data(), 1, length, f) != length) return false;
        } else if (fseeko(f, length, SEEK_CUR) != 0) {
            return false;
        }
        unsigned char crc[4];
        if (std::fread(crc, 1, 4, f) != 4) return false;
        if (std::memcmp(head + 4, "IHDR", 4) == 0) {
            if (length != 13) return false;
            h.width = Be32(d.data());
            h.height = Be32(d.data() + 4);
            h.depth = d[8];
            h.colourType = d[9];
            h.interlace = d[12];
            if (d[10] != 0 || d[11] != 0) return false;
        } else if (std::memcmp(head + 4, "PLTE", 4) == 0) {
            h.palette = d;
        } else if (std::memcmp(head + 4, "tRNS", 4) == 0) {
            h.transparency = d;
            h.hasTransparency = true;
        } else if (std::memcmp(head + 4, "pHYs", 4) == 0 && length == 9 && d[8] == 1) {
            // pixels per metre
            h.dpiX = Be32(d.data()) * 0.0254;
            h.dpiY = Be32(d.data() + 4) * 0.0254;
        } else if (std::memcmp(head + 4, "IDAT", 4) == 0) {
            h.data.push_back({at, length, Be32(crc)});
        } else if (std::memcmp(head + 4, "IEND", 4) == 0) {
            return h.colourType >= 0 && !h.data.empty();
        }
        at += length + 4;
    }
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Copies the image data of the file as the stream of object.
EmbedResult CopyPngData(std::FILE* file, const PngHeader& h, PdfWriter& writer, int object,
                        const std::string& path, std::string& error) {
    const bool rgb = h.colourType == 2;
    const int colours = rgb ? 3 : 1;
    std::string dict = "/Type /XObject /Subtype /Image /Width " + std::to_string(h.width) +
                       " /Height " + std::to_string(h.height) + " /ColorSpace ";
    dict += h.colourType == 0 ? "/DeviceGray"
            : rgb             ? "/DeviceRGB"
                  : IndexedColourSpace(h.palette.data(), static_cast<int>(h.palette.size() / 3));
    dict += " /BitsPerComponent " + std::to_string(h.depth) +
            " /Filter /FlateDecode /DecodeParms << /Predictor 15 /Colors " +
            std::to_string(colours) + " /BitsPerComponent " + std::to_string(h.depth) +
            " /Columns " + std::to_string(h.width) + " >>";
    writer.beginStream(object, dict);
    std::vector<unsigned char> buf(1 << 16);
    for (const Chunk& c : h.data) {
        if (fseeko(file, c.offset - 4, SEEK_SET) != 0) return EmbedResult::Failed;
        unsigned char type[4];
        if (std::fread(type, 1, 4, file) != 4) return EmbedResult::Failed;
        uLong crc = crc32(crc32(0, nullptr, 0), type, 4);
        uint32_t left = c.length;
        while (left > 0) {
            const size_t want = left < buf.size() ? left : buf.size();
            if (std::fread(buf.data(), 1, want, file) != want) {
                error = "The PNG file " + path + " is truncated";
                return EmbedResult::Failed;
            }
            crc = crc32(crc, buf.data(), static_cast<uInt>(want));
            writer.write(buf.data(), want);
            left -= static_cast<uint32_t>(want);
        }
        if (crc != c.crc) {
            error = "The PNG file " + path + " is damaged (checksum error)";
            return EmbedResult::Failed;
        }
    }
    writer.endStream();
    return EmbedResult::Done;
}

}  // namespace

EmbedResult EmbedPngFile(PdfWriter& writer, int object, const std::string& path,
                         const EmbedOptions& options, EmbeddedImage& image, std::string& error) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return EmbedResult::Declined;
    PngHeader h;
    if (!ReadPngHeader(file.get(), codec::FileSize(file.get()), h)) return EmbedResult::Declined;
    const bool grey = h.colourType == 0 && h.depth <= 8;
    const bool rgb = h.colourType == 2 && h.depth == 8;
    const bool indexed = h.colourType == 3 && h.depth <= 8 && !h.palette.empty() &&
                         h.palette.size() % 3 == 0 && h.palette.size() <= 768;
    if (!(grey || rgb || indexed) || h.interlace != 0 || h.width == 0 || h.height == 0 ||
        h.width > kMaxImageSide || h.height > kMaxImageSide)
        return EmbedResult::Declined;
    // A transparent grey level or colour is white on the page: the loader composes it.
    if (h.hasTransparency && !indexed) return EmbedResult::Declined;
    if (indexed && h.hasTransparency) {
        for (size_t i = 0; i < h.palette.size() / 3; ++i) {
            const unsigned alpha = i < h.transparency.size() ? h.transparency[i] : 255u;
            for (size_t c = 0; c < 3; ++c)
                h.palette[3 * i + c] = codec::OnWhite(h.palette[3 * i + c], alpha);
        }
    }

    image.width = static_cast<int>(h.width);
    image.height = static_cast<int>(h.height);
    image.dpiX = h.dpiX;
    image.dpiY = h.dpiY;
    const bool twoColours =
        (h.colourType == 0 && h.depth == 1) || (indexed && h.palette.size() <= 6);
    if (!twoColours) {
        image.kind = grey && h.depth > 1 ? PageKind::Grey : PageKind::Colour;
        image.coding = "Flate";
        return CopyPngData(file.get(), h, writer, object, path, error);
    }
    // Decoded for the bilevel coders; the file's own data stays a candidate.
    ImageBuffer buffer{};
    const int rc = ReadImageFile(path.c_str(), buffer);
    if (rc != 0) {
        error = "Cannot read the image file " + path + " (error " + std::to_string(rc) + ")";
        return EmbedResult::Failed;
    }
    uint64_t bytes = 0;
    for (const Chunk& c : h.data) bytes += c.length;
    OriginalCoding original;
    original.bytes = bytes;
    original.name = "Flate";
    EmbedResult copied = EmbedResult::Done;
    original.write = [&](PdfWriter& w, int o) {
        copied = CopyPngData(file.get(), h, w, o, path, error);
        return copied == EmbedResult::Done;
    };
    const bool ok = EmbedImageBuffer(writer, object, buffer, options, image, error, &original);
    FreeImage(buffer);
    if (copied != EmbedResult::Done) return copied;
    return ok ? EmbedResult::Done : EmbedResult::Failed;
}

}  // namespace vellumo::pdf

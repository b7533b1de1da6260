// TIFF files through libtiff, by the same page rule as the loader (imaging/tiff_page.h), so
// that every file that loads also builds. Pages whose stored rows are the page's rows (bilevel,
// and grey, palette and RGB of 8 bits in strips, upright) are read strip by strip and written
// as JBIG2 or G4 (bilevel, with a file's single G4 strip kept as it is when that is smallest) or
// Flate, so memory holds one strip, never the whole document. Every other layout (tiles,
// planes, other depths, YCbCr, alpha, turned orientation) goes through the loader. Every size
// the file claims is bounded by the file's real size before anything is allocated for it.
#include <tiffio.h>

#include <cstring>
#include <memory>
#include <vector>

#include "imaging/codec_common.h"
#include "imaging/tiff_page.h"
#include "pdf/bilevel_image.h"
#include "pdf/image_embed.h"

namespace vellumo::pdf {

using namespace vellumo::imaging;

namespace {

int QuietHandler(TIFF*, void* userData, const char* module, const char* format, va_list args) {
    if (userData) {
        char buf[256];
        std::vsnprintf(buf, sizeof buf, format, args);
        auto* message = static_cast<std::string*>(userData);
        if (message->empty()) *message = std::string(module ? module : "libtiff") + ": " + buf;
    }
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
struct OptionsFree {
    void operator()(TIFFOpenOptions* o) const { TIFFOpenOptionsFree(o); }
};

struct TiffLayout {
    uint32_t width = 0, height = 0;
    uint16_t bits = 1, samples = 1, photometric = 0, planar = PLANARCONFIG_CONTIG;
    uint16_t compression = COMPRESSION_NONE, fillOrder = FILLORDER_MSB2LSB;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    uint32_t rowsPerStrip = 0, t6Options = 0;
    bool tiled = false;
    double dpiX = 0, dpiY = 0;
};

void ReadLayout(TIFF* t, TiffLayout& l) {
    TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &l.width);
    TIFFGetField(t, TIFFTAG_IMAGELENGTH, &l.height);
    TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &l.bits);
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &l.samples);
    if (!TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &l.photometric)) l.photometric = 0xFFFF;
    TIFFGetFieldDefaulted(t, TIFFTAG_PLANARCONFIG, &l.planar);
    TIFFGetFieldDefaulted(t, TIFFTAG_COMPRESSION, &l.compression);
    TIFFGetFieldDefaulted(t, TIFFTAG_FILLORDER, &l.fillOrder);
    TIFFGetFieldDefaulted(t, TIFFTAG_ORIENTATION, &l.orientation);
    TIFFGetFieldDefaulted(t, TIFFTAG_ROWSPERSTRIP, &l.rowsPerStrip);
    if (l.compression == COMPRESSION_CCITTFAX4)
        TIFFGetField(t, TIFFTAG_GROUP4OPTIONS, &l.t6Options);
    l.tiled = TIFFIsTiled(t) != 0;
    float x = 0, y = 0;
    uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(t, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (TIFFGetField(t, TIFFTAG_XRESOLUTION, &x) && TIFFGetField(t, TIFFTAG_YRESOLUTION, &y) &&
        unit != RESUNIT_NONE) {
        const double scale = unit == RESUNIT_CENTIMETER ? 2.54 : 1.0;
        l.dpiX = x * scale;
        l.dpiY = y * scale;
    }
}

constexpr const char* kStripPastTheEnd = "the image data runs past the end of the file";

// The first strip's byte count is only a claim: true when its data lies inside the file.
bool FirstStripInsideFile(TIFF* t, long long fileBytes) {
    const tmsize_t size = TIFFRawStripSize(t, 0);
    const uint64_t offset = TIFFGetStrileOffset(t, 0);
    return size > 0 && fileBytes >= 0 && offset <= static_cast<uint64_t>(fileBytes) &&
           static_cast<uint64_t>(size) <= static_cast<uint64_t>(fileBytes) - offset;
}

// One G4 strip holding the whole image: copy the coded data (bit-reversed when the file keeps
// the low bit first).
EmbedResult CopyG4Strip(TIFF* t, const TiffLayout& l, long long fileBytes, PdfWriter& writer,
                        int object, std::string& error) {
    const tmsize_t size = TIFFRawStripSize(t, 0);
    if (size <= 0) return EmbedResult::Declined;
    if (!FirstStripInsideFile(t, fileBytes)) {
        if (error.empty()) error = kStripPastTheEnd;
        return EmbedResult::Failed;
    }
    std::vector<unsigned char> data(static_cast<size_t>(size));
    if (TIFFReadRawStrip(t, 0, data.data(), size) != size) {
        if (error.empty()) error = "Cannot read the image data";
        return EmbedResult::Failed;
    }
    if (l.fillOrder == FILLORDER_LSB2MSB) TIFFReverseBits(data.data(), size);
    writer.beginStream(object, G4Dictionary(static_cast<int>(l.width), static_cast<int>(l.height),
                                            l.photometric == PHOTOMETRIC_MINISBLACK));
    writer.write(data.data(), data.size());
    writer.endStream();
    return EmbedResult::Done;
}

EmbedResult StreamStrips(TIFF* t, const TiffLayout& l, const vellumo::imaging::TiffPage& page,
                         PdfWriter& writer, int object, const EmbedOptions& options,
                         const OriginalCoding* original, EmbeddedImage& image, std::string& error) {
    using vellumo::imaging::TiffPageKind;
    if (!page.rowsAsStored()) return EmbedResult::Declined;
    const bool bilevel = page.kind == TiffPageKind::Bilevel;
    const bool grey = page.kind == TiffPageKind::Grey;
    const bool palette = page.kind == TiffPageKind::Palette;
    const bool rgb = page.kind == TiffPageKind::Colour;

    const std::string size =
        "/Width " + std::to_string(l.width) + " /Height " + std::to_string(l.height);
    std::string dict;
    if (bilevel) {
        image.kind = PageKind::Bilevel;
    } else {
        image.kind = grey ? PageKind::Grey : PageKind::Colour;
        image.coding = "Flate";
        dict = "/Type /XObject /Subtype /Image " + size + " /BitsPerComponent 8 /ColorSpace ";
        if (palette) {
            // The loader's colour table, entry for entry.
            RgbQuad table[256];
            vellumo::imaging::TiffPageColours(t, page, table, 256);
            unsigned char rgbTable[768];
            for (int i = 0; i < 256; ++i) {
                rgbTable[3 * i] = table[i].rgbRed;
                rgbTable[3 * i + 1] = table[i].rgbGreen;
                rgbTable[3 * i + 2] = table[i].rgbBlue;
            }
            dict += IndexedColourSpace(rgbTable, 256);
        } else {
            dict += rgb ? "/DeviceRGB" : "/DeviceGray";
            if (l.photometric == PHOTOMETRIC_MINISWHITE) dict += " /Decode [1 0]";
        }
        dict += " /Filter /FlateDecode";
    }

    const tmsize_t stripSize = TIFFStripSize(t);
    const tmsize_t rowBytes = TIFFScanlineSize(t);
    uint32_t rowsPerStrip = l.rowsPerStrip;
    if (rowsPerStrip == 0 || rowsPerStrip > l.height) rowsPerStrip = l.height;
    // The page rule has bounded the decoded size by the file's size; the strip lies within it.
    if (stripSize <= 0 || rowBytes <= 0 ||
        static_cast<uint64_t>(stripSize) > static_cast<uint64_t>(rowBytes) * l.height ||
        static_cast<uint64_t>(rowBytes) * rowsPerStrip > static_cast<uint64_t>(stripSize))
        return EmbedResult::Declined;
    std::vector<unsigned char> strip(static_cast<size_t>(stripSize));

    std::unique_ptr<vellumo::pdf::BilevelImageWriter> coder;
    std::unique_ptr<FlateSink> flate;
    std::vector<unsigned char> inverted;
    if (bilevel) {
        coder = std::make_unique<vellumo::pdf::BilevelImageWriter>(
            static_cast<int>(l.width), static_cast<int>(l.height), options.bilevel);
        if (original)
            coder->offerOriginal(original->bytes, original->isG4, original->write, original->name);
        inverted.resize(static_cast<size_t>(rowBytes) + 8);
    } else {
        writer.beginStream(object, dict);
        flate = std::make_unique<FlateSink>(writer, Z_DEFAULT_COMPRESSION);
    }
    const uint32_t strips = TIFFNumberOfStrips(t);
    uint32_t row = 0;
    for (uint32_t s = 0; s < strips && row < l.height; ++s) {
        const uint32_t rows = std::min(rowsPerStrip, l.height - row);
        if (TIFFReadEncodedStrip(t, s, strip.data(), rowBytes * rows) < rowBytes * rows) {
            if (error.empty()) error = "Cannot decode the image data";
            return EmbedResult::Failed;
        }
        for (uint32_t r = 0; r < rows; ++r) {
            const unsigned char* p = strip.data() + static_cast<size_t>(r) * rowBytes;
            if (coder) {
                if (l.photometric == PHOTOMETRIC_MINISBLACK) {
                    for (tmsize_t i = 0; i < rowBytes; ++i) inverted[i] = ~p[i];
                    p = inverted.data();
                }
                coder->addRow(p);
            }
        }
        if (flate) flate->write(strip.data(), static_cast<size_t>(rowBytes) * rows);
        row += rows;
    }
    if (row < l.height) {
        error = "The image data is incomplete";
        return EmbedResult::Failed;
    }
    if (coder)
        return coder->write(writer, object, "", image.coding) ? EmbedResult::Done
                                                              : EmbedResult::Failed;
    if (flate) {
        flate->finish();
        if (flate->failed()) {
            error = "Compression failed";
            return EmbedResult::Failed;
        }
    }
    writer.endStream();
    return EmbedResult::Done;
}

}  // namespace

EmbedResult EmbedTiffFile(PdfWriter& writer, int object, const std::string& path,
                          const EmbedOptions& options, EmbeddedImage& image, std::string& error) {
    std::string message;
    std::unique_ptr<TIFFOpenOptions, OptionsFree> openOptions(TIFFOpenOptionsAlloc());
    TIFFOpenOptionsSetErrorHandlerExtR(openOptions.get(), QuietHandler, &message);
    TIFFOpenOptionsSetWarningHandlerExtR(openOptions.get(), QuietHandler, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(openOptions.get(), tmsize_t{256} << 20);
    std::unique_ptr<TIFF, TiffCloser> tiff(TIFFOpenExt(path.c_str(), "rm", openOptions.get()));
    if (!tiff) return EmbedResult::Declined;
    const long long fileBytes = codec::FileSize(path.c_str());
    vellumo::imaging::TiffPage page;
    std::string problem;
    if (vellumo::imaging::DescribeTiffPage(tiff.get(), fileBytes, page, &problem) != 0) {
        error = "Cannot read the TIFF file " + path + ": " + problem;
        return EmbedResult::Failed;
    }
    // Only pages whose strips hold the page's rows as they are go in from here; the loader
    // decodes (and turns) every other one.
    if (!page.rowsAsStored()) return EmbedResult::Declined;
    TiffLayout l;
    ReadLayout(tiff.get(), l);
    image.width = static_cast<int>(page.width);
    image.height = static_cast<int>(page.height);
    image.dpiX = page.dpiX;
    image.dpiY = page.dpiY;
    EmbedResult result = EmbedResult::Declined;
    const bool bilevel = page.kind == vellumo::imaging::TiffPageKind::Bilevel;
    // Uncompressed mode inside G4 data is not part of what PDF readers decode.
    const bool g4Strip = bilevel && l.compression == COMPRESSION_CCITTFAX4 &&
                         TIFFNumberOfStrips(tiff.get()) == 1 &&
                         (l.t6Options & GROUP4OPT_UNCOMPRESSED) == 0;
    const tmsize_t g4Bytes = g4Strip ? TIFFRawStripSize(tiff.get(), 0) : 0;
    // A strip that claims more than the file holds is damage, whichever coding would win.
    if (g4Bytes > 0 && !FirstStripInsideFile(tiff.get(), fileBytes)) {
        error = "Cannot read the TIFF file " + path + ": " + kStripPastTheEnd;
        return EmbedResult::Failed;
    }
    if (g4Strip && g4Bytes > 0 && options.bilevel == vellumo::pdf::BilevelCoding::G4) {
        // Nothing to choose: the strip goes in without being decoded.
        result = CopyG4Strip(tiff.get(), l, fileBytes, writer, object, message);
        image.kind = PageKind::Bilevel;
        image.coding = "G4";
    }
    if (result == EmbedResult::Declined) {
        OriginalCoding strip;
        EmbedResult copied = EmbedResult::Done;
        if (g4Strip && g4Bytes > 0) {
            strip.bytes = static_cast<uint64_t>(g4Bytes);
            strip.isG4 = true;
            strip.name = "G4";
            strip.write = [&](PdfWriter& w, int o) {
                copied = CopyG4Strip(tiff.get(), l, fileBytes, w, o, message);
                return copied == EmbedResult::Done;
            };
        }
        result = StreamStrips(tiff.get(), l, page, writer, object, options,
                              strip.write ? &strip : nullptr, image, message);
        if (copied != EmbedResult::Done) result = copied;
    }
    if (result == EmbedResult::Failed) error = "Cannot read the TIFF file " + path + ": " + message;
    return result;
}

}  // namespace vellumo::pdf

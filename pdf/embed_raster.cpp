// Images decoded by the imaging codecs (BMP, PCX, GIF, TGA, and the TIFF, PNG and JPEG files
// whose data cannot be copied): black-and-white as CCITT G4, grey as DeviceGray, other colour
// tables as Indexed, 24-bit as DeviceRGB, all but G4 Flate-compressed.
#include <vector>

#include "imaging/codecs.h"
#include "pdf/g4_encoder.h"
#include "pdf/image_embed.h"

namespace vellumo::pdf {

using namespace vellumo::imaging;

namespace {

int Luminance(const RgbQuad& q) {
    return (30 * q.rgbRed + 59 * q.rgbGreen + 11 * q.rgbBlue) / 100;
}
bool IsBlack(const RgbQuad& q) {
    return q.rgbRed == 0 && q.rgbGreen == 0 && q.rgbBlue == 0;
}
bool IsWhite(const RgbQuad& q) {
    return q.rgbRed == 255 && q.rgbGreen == 255 && q.rgbBlue == 255;
}

std::string IndexedFromPalette(const ImageBuffer& b) {
    std::vector<unsigned char> rgb;
    for (int i = 0; i < b.paletteSize; ++i) {
        rgb.push_back(b.palette[i].rgbRed);
        rgb.push_back(b.palette[i].rgbGreen);
        rgb.push_back(b.palette[i].rgbBlue);
    }
    return IndexedColourSpace(rgb.data(), b.paletteSize);
}

}  // namespace

bool EmbedImageBuffer(PdfWriter& writer, int object, const ImageBuffer& b, std::string& error) {
    const int width = ImageWidth(b), height = ImageHeight(b), bits = BitsPerPixel(b);
    if (width <= 0 || height <= 0 || !b.pixels) {
        error = "The image is empty";
        return false;
    }
    const std::string size =
        "/Width " + std::to_string(width) + " /Height " + std::to_string(height);
    const size_t rowBytes = (static_cast<size_t>(width) * bits + 7) / 8;

    if (bits == 1 && b.palette && b.paletteSize >= 2 &&
        ((IsBlack(b.palette[0]) && IsWhite(b.palette[1])) ||
         (IsWhite(b.palette[0]) && IsBlack(b.palette[1])))) {
        // The coder wants 1 = black; flip the rows whose colour table says 0 is black.
        const bool flip = Luminance(b.palette[0]) < Luminance(b.palette[1]);
        writer.beginStream(object, G4Dictionary(width, height, false));
        G4Encoder g4(width, [&writer](const uint8_t* d, size_t n) { writer.write(d, n); });
        std::vector<uint8_t> row(rowBytes + 8);
        for (int y = 0; y < height; ++y) {
            const uint8_t* p = RowPointer(b, static_cast<uint32_t>(y));
            if (flip) {
                for (size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(~p[i]);
                p = row.data();
            }
            g4.encodeRow(p);
        }
        g4.finish();
        writer.endStream();
        return !writer.failed();
    }

    std::string dict = "/Type /XObject /Subtype /Image " + size + " /ColorSpace ";
    if (bits == 24) {
        dict += "/DeviceRGB /BitsPerComponent 8";
    } else if (bits == 8 && (HasGreyRamp(b) || !b.palette)) {
        dict += "/DeviceGray /BitsPerComponent 8";
    } else if ((bits == 1 || bits == 8) && b.palette && b.paletteSize > 0) {
        dict += IndexedFromPalette(b) + " /BitsPerComponent " + std::to_string(bits);
    } else {
        error = "Images of " + std::to_string(bits) + " bits per pixel cannot be written";
        return false;
    }
    dict += " /Filter /FlateDecode";
    writer.beginStream(object, dict);
    FlateSink flate(writer, Z_DEFAULT_COMPRESSION);
    std::vector<uint8_t> row(rowBytes);
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = RowPointer(b, static_cast<uint32_t>(y));
        if (bits == 24) {
            for (int x = 0; x < width; ++x) {
                row[3 * x] = p[3 * x + 2];
                row[3 * x + 1] = p[3 * x + 1];
                row[3 * x + 2] = p[3 * x];
            }
            flate.write(row.data(), rowBytes);
        } else {
            flate.write(p, rowBytes);
        }
    }
    flate.finish();
    if (flate.failed()) {
        error = "Compression failed";
        return false;
    }
    writer.endStream();
    return !writer.failed();
}

EmbedResult EmbedDecodedFile(PdfWriter& writer, int object, const std::string& path,
                             EmbeddedImage& image, std::string& error) {
    ImageBuffer buffer{};
    const int rc = ReadImageFile(path.c_str(), buffer);
    if (rc != 0) {
        error = "Cannot read the image file " + path + " (error " + std::to_string(rc) + ")";
        return EmbedResult::Failed;
    }
    image.width = ImageWidth(buffer);
    image.height = ImageHeight(buffer);
    image.dpiX = buffer.header->biXPelsPerMeter > 0 ? buffer.header->biXPelsPerMeter * 0.0254 : 0;
    image.dpiY = buffer.header->biYPelsPerMeter > 0 ? buffer.header->biYPelsPerMeter * 0.0254 : 0;
    const bool ok = EmbedImageBuffer(writer, object, buffer, error);
    FreeImage(buffer);
    return ok ? EmbedResult::Done : EmbedResult::Failed;
}

}  // namespace vellumo::pdf

// Images decoded by the imaging codecs (BMP, PCX, GIF, TGA, and the TIFF, PNG and JPEG files
// whose data cannot be copied): images of two colours (black and white, or any other two) as
// JBIG2 or CCITT G4, grey as DeviceGray, other colour tables as Indexed, 24-bit as DeviceRGB,
// all but the two-colour ones Flate-compressed.
#include <vector>

#include "imaging/codecs.h"
#include "imaging/read_failure.h"
#include "pdf/bilevel_image.h"
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

RgbQuad ColourOf(const ImageBuffer& b, int value) {
    if (BitsPerPixel(b) == 24)
        return RgbQuad{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                       static_cast<uint8_t>(value >> 16), 0};
    if (b.palette && value < b.paletteSize) return b.palette[value];
    const uint8_t v = static_cast<uint8_t>(value);
    return RgbQuad{v, v, v, 0};
}

}  // namespace

bool FindTwoColours(const ImageBuffer& b, TwoColours& colours) {
    const int width = ImageWidth(b), height = ImageHeight(b), bits = BitsPerPixel(b);
    if (width <= 0 || height <= 0 || !b.pixels) return false;
    int values[2] = {-1, -1};
    if (bits == 1) {
        if (!b.palette || b.paletteSize < 2) return false;
        values[0] = 0;
        values[1] = 1;
    } else if (bits == 8 || bits == 24) {
        // Stops at the third value, so a photograph costs a few pixels. 24-bit pixels are
        // compared as 0xBBGGRR numbers.
        const int bytes = bits / 8;
        for (int y = 0; y < height; ++y) {
            const uint8_t* p = RowPointer(b, static_cast<uint32_t>(y));
            for (int x = 0; x < width; ++x, p += bytes) {
                const int v = bytes == 1 ? p[0] : p[0] | (p[1] << 8) | (p[2] << 16);
                if (v == values[0] || v == values[1]) continue;
                if (values[0] < 0)
                    values[0] = v;
                else if (values[1] < 0)
                    values[1] = v;
                else
                    return false;
            }
        }
        if (values[1] < 0) values[1] = values[0];
    } else {
        return false;
    }
    // The darker colour is coded as 1, like black.
    RgbQuad first = ColourOf(b, values[0]), second = ColourOf(b, values[1]);
    if (Luminance(first) > Luminance(second)) {
        std::swap(values[0], values[1]);
        std::swap(first, second);
    }
    colours.foreground = values[0];
    colours.background = values[1];
    colours.blackAndWhite = IsBlack(first) && IsWhite(second);
    const unsigned char rgb[6] = {first.rgbRed,  first.rgbGreen,  first.rgbBlue,
                                  second.rgbRed, second.rgbGreen, second.rgbBlue};
    colours.colourSpace = colours.blackAndWhite ? "" : IndexedColourSpace(rgb, 2);
    return true;
}

bool EmbedImageBuffer(PdfWriter& writer, int object, const ImageBuffer& b,
                      const EmbedOptions& options, EmbeddedImage& image, std::string& error,
                      const OriginalCoding* original) {
    const int width = ImageWidth(b), height = ImageHeight(b), bits = BitsPerPixel(b);
    if (width <= 0 || height <= 0 || !b.pixels) {
        error = "The image is empty";
        return false;
    }
    const std::string size =
        "/Width " + std::to_string(width) + " /Height " + std::to_string(height);
    const size_t rowBytes = (static_cast<size_t>(width) * bits + 7) / 8;

    TwoColours colours;
    if (FindTwoColours(b, colours)) {
        vellumo::pdf::BilevelImageWriter bilevel(width, height, options.bilevel);
        if (original)
            bilevel.offerOriginal(original->bytes, original->isG4, original->write, original->name);
        std::vector<uint8_t> row((static_cast<size_t>(width) + 7) / 8 + 8);
        for (int y = 0; y < height; ++y) {
            const uint8_t* p = RowPointer(b, static_cast<uint32_t>(y));
            if (bits == 1) {
                // The coder wants 1 = foreground; flip the rows whose foreground is 0.
                if (colours.foreground == 0) {
                    for (size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(~p[i]);
                    p = row.data();
                }
            } else {
                std::fill(row.begin(), row.end(), 0);
                const int fg = colours.foreground;
                if (fg != colours.background) {
                    if (bits == 8) {
                        for (int x = 0; x < width; ++x)
                            if (p[x] == fg) row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
                    } else {
                        for (int x = 0; x < width; ++x, p += 3)
                            if ((p[0] | (p[1] << 8) | (p[2] << 16)) == fg)
                                row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
                    }
                }
                p = row.data();
            }
            bilevel.addRow(p);
        }
        image.kind = PageKind::Bilevel;
        return bilevel.write(writer, object, colours.colourSpace, image.coding);
    }
    if (original) {
        image.coding = original->name;
        return original->write(writer, object);
    }

    std::string dict = "/Type /XObject /Subtype /Image " + size + " /ColorSpace ";
    if (bits == 24) {
        dict += "/DeviceRGB /BitsPerComponent 8";
        image.kind = PageKind::Colour;
    } else if (bits == 8 && (HasGreyRamp(b) || !b.palette)) {
        dict += "/DeviceGray /BitsPerComponent 8";
        image.kind = PageKind::Grey;
    } else if ((bits == 1 || bits == 8) && b.palette && b.paletteSize > 0) {
        dict += IndexedFromPalette(b) + " /BitsPerComponent " + std::to_string(bits);
        image.kind = PageKind::Colour;
    } else {
        error = "Images of " + std::to_string(bits) + " bits per pixel cannot be written";
        return false;
    }
    image.coding = "Flate";
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
                             const EmbedOptions& options, EmbeddedImage& image,
                             std::string& error) {
    ImageBuffer buffer{};
    const int rc = ReadImageFile(path.c_str(), buffer);
    if (rc != 0) {
        // The decoder's own account when it gave one, else what the file itself shows.
        const std::string problem = ImageFileProblem();
        error = "Cannot read the image file " + path + ": " +
                (problem.empty() ? vellumo::imaging::ReadFailureReason(path, rc) : problem);
        return EmbedResult::Failed;
    }
    image.width = ImageWidth(buffer);
    image.height = ImageHeight(buffer);
    image.dpiX = buffer.header->biXPelsPerMeter > 0 ? buffer.header->biXPelsPerMeter * 0.0254 : 0;
    image.dpiY = buffer.header->biYPelsPerMeter > 0 ? buffer.header->biYPelsPerMeter * 0.0254 : 0;
    const bool ok = EmbedImageBuffer(writer, object, buffer, options, image, error);
    FreeImage(buffer);
    return ok ? EmbedResult::Done : EmbedResult::Failed;
}

}  // namespace vellumo::pdf

#include "widgets/image_convert.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/imaging.h"

namespace vellumo::widgets {

using namespace vellumo::imaging;

namespace {

constexpr double kInchesPerMetre = 39.3700787;

QList<QRgb> ColourTable(const ImageBuffer& image) {
    QList<QRgb> table;
    if (!image.palette) return table;
    table.reserve(image.paletteSize);
    for (int i = 0; i < image.paletteSize; ++i) {
        const RgbQuad& q = image.palette[i];
        table.push_back(qRgb(q.rgbRed, q.rgbGreen, q.rgbBlue));
    }
    return table;
}

QImage ConvertArea(const ImageBuffer& image, uint32_t left, uint32_t top, uint32_t right,
                   uint32_t bottom) {
    if (!image.header || !image.pixels) return {};
    const int width = ImageWidth(image), height = ImageHeight(image);
    if (width <= 0 || height <= 0 || left > right || top > bottom ||
        right >= static_cast<uint32_t>(width) || bottom >= static_cast<uint32_t>(height))
        return {};
    const int w = static_cast<int>(right - left + 1), h = static_cast<int>(bottom - top + 1);
    const int bits = BitsPerPixel(image);

    QImage out;
    switch (bits) {
        case 1:
            out = QImage(w, h, QImage::Format_Mono);
            out.setColorTable(ColourTable(image));
            break;
        case 8:
            if (HasGreyRamp(image)) {
                out = QImage(w, h, QImage::Format_Grayscale8);
            } else {
                out = QImage(w, h, QImage::Format_Indexed8);
                out.setColorTable(ColourTable(image));
            }
            break;
        case 16:
            out = QImage(w, h, QImage::Format_RGB555);
            break;
        case 24:
            out = QImage(w, h, QImage::Format_BGR888);
            break;
        case 32:
            out = QImage(w, h, QImage::Format_RGB32);
            break;
        default:
            return {};
    }
    if (out.isNull()) return {};

    for (int y = 0; y < h; ++y) {
        const uint8_t* src = RowPointer(image, top + static_cast<uint32_t>(y));
        uint8_t* dst = out.scanLine(y);
        if (bits == 1) {
            if (left % 8 == 0) {
                std::memcpy(dst, src + left / 8, (static_cast<size_t>(w) + 7) / 8);
            } else {
                std::memset(dst, 0, static_cast<size_t>(out.bytesPerLine()));
                CopyBits(dst, 0, src, left, static_cast<size_t>(w));
            }
        } else {
            const size_t bytes = static_cast<size_t>(bits / 8);
            std::memcpy(dst, src + left * bytes, static_cast<size_t>(w) * bytes);
        }
    }
    const int dpiX = ImageDpiX(image), dpiY = ImageDpiY(image);
    if (dpiX > 0) out.setDotsPerMeterX(static_cast<int>(std::lround(dpiX * kInchesPerMetre)));
    if (dpiY > 0) out.setDotsPerMeterY(static_cast<int>(std::lround(dpiY * kInchesPerMetre)));
    return out;
}

}  // namespace

QImage ImageToQImage(const ImageBuffer& image) {
    return ConvertArea(image, image.areaLeft, image.areaTop, image.areaRight, image.areaBottom);
}

QImage WholeImageToQImage(const ImageBuffer& image) {
    const int width = ImageWidth(image), height = ImageHeight(image);
    if (width <= 0 || height <= 0) return {};
    return ConvertArea(image, 0, 0, static_cast<uint32_t>(width - 1),
                       static_cast<uint32_t>(height - 1));
}

int QImageToImage(const QImage& picture, ImageBuffer& image, uint32_t background) {
    if (picture.isNull()) return -68;

    // The formats the import reads as they are; anything else goes through one Qt conversion.
    QImage source = picture;
    PlatformBitmap bitmap;
    bitmap.background = background & 0xFFFFFF;
    switch (picture.format()) {
        case QImage::Format_Mono:
            bitmap.format = BitmapFormat::Mono;
            break;
        case QImage::Format_MonoLSB:
            source = picture.convertToFormat(QImage::Format_Mono);
            bitmap.format = BitmapFormat::Mono;
            break;
        case QImage::Format_Indexed8:
            bitmap.format = BitmapFormat::Indexed8;
            break;
        case QImage::Format_Grayscale8:
            bitmap.format = BitmapFormat::Grey8;
            break;
        case QImage::Format_RGB888:
            bitmap.format = BitmapFormat::Rgb24;
            break;
        case QImage::Format_RGB32:
            bitmap.format = BitmapFormat::Rgb32;
            break;
        case QImage::Format_ARGB32:
            bitmap.format = BitmapFormat::Argb32;
            break;
        case QImage::Format_ARGB32_Premultiplied:
            bitmap.format = BitmapFormat::Argb32Premultiplied;
            break;
        default:
            if (picture.hasAlphaChannel()) {
                source = picture.convertToFormat(QImage::Format_ARGB32);
                bitmap.format = BitmapFormat::Argb32;
            } else {
                source = picture.convertToFormat(QImage::Format_RGB888);
                bitmap.format = BitmapFormat::Rgb24;
            }
            break;
    }
    if (source.isNull()) return -68;
    bitmap.bits = source.constBits();
    bitmap.width = source.width();
    bitmap.height = source.height();
    bitmap.bytesPerLine = static_cast<int>(source.bytesPerLine());

    std::vector<uint32_t> colours;
    PlatformPalette palette;
    const PlatformPalette* usePalette = nullptr;
    if (bitmap.format == BitmapFormat::Mono || bitmap.format == BitmapFormat::Indexed8) {
        const QList<QRgb> table = source.colorTable();
        if (!table.isEmpty()) {
            colours.assign(table.begin(), table.end());
            palette.colours = colours.data();
            palette.count = static_cast<int>(colours.size());
            usePalette = &palette;
        }
    }
    const int rc = BitmapToImage(&bitmap, usePalette, image);
    if (rc != 0) return rc;
    const double dpiX = source.dotsPerMeterX() / kInchesPerMetre;
    const double dpiY = source.dotsPerMeterY() / kInchesPerMetre;
    if (dpiX > 0 && dpiY > 0) SetImageDpi(image, dpiX, dpiY);
    return 0;
}

}  // namespace vellumo::widgets

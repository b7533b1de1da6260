#include "imaging/imaging.h"

#include <algorithm>
#include <cstring>

#include "imaging/kernels.h"

namespace vellumo::imaging {

namespace {

bool libraryInitialised = false;
bool dibSections = false;
bool cpuFeaturesEnabled = true;
bool avx512Enabled = true;

void* ShowNothing() {
    return nullptr;
}
void RestoreNothing(void*) {}

ShowBusyFunction showBusy = ShowNothing;
RestoreBusyFunction restoreBusy = RestoreNothing;

uint8_t Compose(uint32_t colour, uint32_t alpha, uint32_t background) {
    return static_cast<uint8_t>((colour * alpha + background * (255 - alpha) + 127) / 255);
}

uint8_t ComposePremultiplied(uint32_t colour, uint32_t alpha, uint32_t background) {
    const uint32_t value = colour + (background * (255 - alpha) + 127) / 255;
    return static_cast<uint8_t>(std::min<uint32_t>(value, 255));
}

int MinimumBytesPerLine(BitmapFormat format, int width) {
    const int64_t w = width;
    switch (format) {
        case BitmapFormat::Mono:
            return static_cast<int>((w + 7) / 8);
        case BitmapFormat::Indexed8:
        case BitmapFormat::Grey8:
            return width;
        case BitmapFormat::Rgb24:
            return w * 3 > INT32_MAX ? -1 : static_cast<int>(w * 3);
        case BitmapFormat::Rgb32:
        case BitmapFormat::Argb32:
        case BitmapFormat::Argb32Premultiplied:
            return w * 4 > INT32_MAX ? -1 : static_cast<int>(w * 4);
    }
    return -1;
}

int DepthFor(BitmapFormat format) {
    switch (format) {
        case BitmapFormat::Mono:
            return 1;
        case BitmapFormat::Indexed8:
        case BitmapFormat::Grey8:
            return 8;
        default:
            return 24;
    }
}

}  // namespace

int InitImagingLibrary() {
    // There are no DIB sections on this platform; every image keeps its pixels in its block.
    libraryInitialised = true;
    dibSections = false;
    return kImgOk;
}

bool PixelsInDibSections() {
    return libraryInitialised && dibSections;
}

bool UseCpuFeature(CpuFeature feature) {
    if (!cpuFeaturesEnabled) return false;
    if (feature == CpuFeature::Avx512 && !avx512Enabled) return false;
    return ProcessorHas(feature);
}

void SetCpuFeaturesEnabled(bool enabled) {
    cpuFeaturesEnabled = enabled;
    avx512Enabled = enabled;
}

void SetCpuFeatureEnabled(CpuFeature feature, bool enabled) {
    // AVX-512 can be switched alone; the other variants build on one another, so switching
    // any of them switches all but AVX-512.
    if (feature == CpuFeature::Avx512)
        avx512Enabled = enabled;
    else
        cpuFeaturesEnabled = enabled;
}

void SetBusyIndicator(ShowBusyFunction show, RestoreBusyFunction restore) {
    showBusy = show ? show : ShowNothing;
    restoreBusy = restore ? restore : RestoreNothing;
}

BusyIndicator::BusyIndicator() : previous_(showBusy()) {}

BusyIndicator::~BusyIndicator() {
    restoreBusy(previous_);
}

int BitmapToImage(const PlatformBitmap* bitmap, const PlatformPalette* palette,
                  ImageBuffer& image) {
    if (!bitmap || !bitmap->bits || bitmap->width <= 0 || bitmap->height <= 0) return kImgNotBitmap;
    const int minimum = MinimumBytesPerLine(bitmap->format, bitmap->width);
    if (minimum < 0 || bitmap->bytesPerLine < minimum) return kImgNotBitmap;
    if (palette && palette->count > 0 && !palette->colours) return kImgNotBitmap;

    ImageBuffer result{};
    const int status =
        AllocateImage(result, bitmap->width, bitmap->height, DepthFor(bitmap->format));
    if (status != kImgOk) return status;

    const auto width = static_cast<uint32_t>(bitmap->width);
    const uint32_t bgRed = (bitmap->background >> 16) & 0xFF;
    const uint32_t bgGreen = (bitmap->background >> 8) & 0xFF;
    const uint32_t bgBlue = bitmap->background & 0xFF;
    for (int y = 0; y < bitmap->height; ++y) {
        const uint8_t* from = bitmap->bits + static_cast<size_t>(y) * bitmap->bytesPerLine;
        uint8_t* to = RowPointer(result, static_cast<uint32_t>(y));
        switch (bitmap->format) {
            case BitmapFormat::Mono:
                std::memcpy(to, from, (width + 7) / 8);
                break;
            case BitmapFormat::Indexed8:
            case BitmapFormat::Grey8:
                std::memcpy(to, from, width);
                break;
            case BitmapFormat::Rgb24:
                for (uint32_t x = 0; x < width; ++x) {
                    to[3 * x] = from[3 * x + 2];
                    to[3 * x + 1] = from[3 * x + 1];
                    to[3 * x + 2] = from[3 * x];
                }
                break;
            case BitmapFormat::Rgb32:
            case BitmapFormat::Argb32:
            case BitmapFormat::Argb32Premultiplied:
                for (uint32_t x = 0; x < width; ++x) {
                    uint32_t argb;
                    std::memcpy(&argb, from + 4 * x, 4);
                    const uint32_t a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF,
                                   b = argb & 0xFF;
                    if (bitmap->format == BitmapFormat::Rgb32 || a == 255) {
                        to[3 * x] = static_cast<uint8_t>(b);
                        to[3 * x + 1] = static_cast<uint8_t>(g);
                        to[3 * x + 2] = static_cast<uint8_t>(r);
                    } else if (bitmap->format == BitmapFormat::Argb32) {
                        to[3 * x] = Compose(b, a, bgBlue);
                        to[3 * x + 1] = Compose(g, a, bgGreen);
                        to[3 * x + 2] = Compose(r, a, bgRed);
                    } else {
                        to[3 * x] = ComposePremultiplied(b, a, bgBlue);
                        to[3 * x + 1] = ComposePremultiplied(g, a, bgGreen);
                        to[3 * x + 2] = ComposePremultiplied(r, a, bgRed);
                    }
                }
                break;
        }
    }
    // Mono rows may carry set padding bits past the width; they are not part of the image.
    if (bitmap->format == BitmapFormat::Mono && width % 8) {
        const auto keep = static_cast<uint8_t>(0xFF << (8 - width % 8));
        for (uint32_t y = 0; y < result.areaBottom + 1; ++y)
            RowPointer(result, y)[width / 8] &= keep;
    }

    const bool indexed =
        bitmap->format == BitmapFormat::Mono || bitmap->format == BitmapFormat::Indexed8;
    if (indexed && palette && palette->count > 0) {
        const int count = std::min(palette->count, result.paletteSize);
        for (int i = 0; i < count; ++i) {
            const uint32_t c = palette->colours[i];
            result.palette[i] =
                RgbQuad{static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>((c >> 8) & 0xFF),
                        static_cast<uint8_t>((c >> 16) & 0xFF), 0};
        }
        for (int i = count; i < result.paletteSize; ++i) result.palette[i] = RgbQuad{0, 0, 0, 0};
        if (HasGreyRamp(result))
            result.imageFlags |= kImageFlagGrey;
        else
            result.imageFlags &= ~kImageFlagGrey;
    }
    image = result;
    return kImgOk;
}

bool HasValidArea(const ImageBuffer& image) {
    if (!image.header || !image.pixels) return false;
    const int width = ImageWidth(image), height = ImageHeight(image);
    if (width <= 0 || height <= 0) return false;
    return image.areaLeft <= image.areaRight && image.areaTop <= image.areaBottom &&
           image.areaRight < static_cast<uint32_t>(width) &&
           image.areaBottom < static_cast<uint32_t>(height);
}

bool SharesPixels(const ImageBuffer& a, const ImageBuffer& b) {
    if (&a == &b) return true;
    if (!a.pixels || !b.pixels) return false;
    const auto* aEnd = a.pixels + static_cast<size_t>(a.rowBytes) * ImageHeight(a);
    const auto* bEnd = b.pixels + static_cast<size_t>(b.rowBytes) * ImageHeight(b);
    return a.pixels < bEnd && b.pixels < aEnd;
}

bool SameArea(const ImageBuffer& a, const ImageBuffer& b) {
    return a.pixels == b.pixels && a.rowBytes == b.rowBytes && ImageHeight(a) == ImageHeight(b) &&
           BitsPerPixel(a) == BitsPerPixel(b) && a.areaLeft == b.areaLeft &&
           a.areaTop == b.areaTop && a.areaRight == b.areaRight && a.areaBottom == b.areaBottom;
}

int DetachSource(const ImageBuffer& src, const ImageBuffer& dst, bool inPlaceSafe,
                 ScopedImage& scratch, const ImageBuffer*& source) {
    source = &src;
    if (!SharesPixels(src, dst) || (inPlaceSafe && SameArea(src, dst))) return kImgOk;
    int status = AllocateImage(scratch.image, static_cast<int>(AreaWidth(src)),
                               static_cast<int>(AreaHeight(src)), BitsPerPixel(src));
    if (status != kImgOk) return status;
    status = CopyImageArea(src, scratch.image);
    if (status != kImgOk) return status;
    if (BitsPerPixel(src) <= 8) scratch.image.imageFlags = src.imageFlags;
    source = &scratch.image;
    return kImgOk;
}

void CopyBits(uint8_t* dst, size_t dstBit, const uint8_t* src, size_t srcBit, size_t count) {
    if (count == 0) return;
    if ((dstBit & 7) == (srcBit & 7)) {
        // Same phase: whole bytes in the middle, masked bytes at the ends.
        size_t d = dstBit >> 3, s = srcBit >> 3;
        const unsigned offset = dstBit & 7;
        if (offset) {
            const size_t n = std::min<size_t>(8 - offset, count);
            const auto mask = static_cast<uint8_t>((0xFFu >> offset) & (0xFFu << (8 - offset - n)));
            dst[d] = static_cast<uint8_t>((dst[d] & ~mask) | (src[s] & mask));
            count -= n;
            ++d;
            ++s;
        }
        const size_t whole = count >> 3;
        std::memcpy(dst + d, src + s, whole);
        count &= 7;
        if (count) {
            const auto mask = static_cast<uint8_t>(0xFFu << (8 - count));
            dst[d + whole] =
                static_cast<uint8_t>((dst[d + whole] & ~mask) | (src[s + whole] & mask));
        }
        return;
    }
    const size_t srcLastByte = (srcBit + count - 1) >> 3;
    size_t done = 0;
    while (done < count) {
        const size_t d = dstBit + done;
        const size_t byte = d >> 3;
        const unsigned offset = d & 7;
        const size_t n = std::min<size_t>(8 - offset, count - done);
        const size_t s = srcBit + done;
        const size_t sByte = s >> 3;
        unsigned word = static_cast<unsigned>(src[sByte]) << 8;
        if (sByte < srcLastByte) word |= src[sByte + 1];
        const auto bits = static_cast<uint8_t>((word << (s & 7)) >> 8);
        const auto mask = static_cast<uint8_t>((0xFFu >> offset) & (0xFFu << (8 - offset - n)));
        dst[byte] = static_cast<uint8_t>((dst[byte] & ~mask) | ((bits >> offset) & mask));
        done += n;
    }
}

}  // namespace vellumo::imaging

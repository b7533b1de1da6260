// Set-up of the imaging library, the busy indicator that long imaging work shows, the
// conversion of the platform's bitmaps into ImageBuffers, and the small area and bit-row
// helpers that the imaging operations share.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/image_buffer.h"

namespace vellumo::imaging {

// Decides once where pixels live. This platform has no DIB sections: the pixels always lie in
// the image's own memory block and `bitmapHandle` stays null. Safe to call more than once.
int InitImagingLibrary();
// True once InitImagingLibrary has run and pixels go into DIB sections; always false here.
bool PixelsInDibSections();

// The busy indicator: the GUI installs a function that shows the wait cursor and returns a
// token for whatever was shown before, and one that puts that back. Until then (and in the
// command-line tools) both do nothing. Null pointers restore the do-nothing default.
using ShowBusyFunction = void* (*)();
using RestoreBusyFunction = void (*)(void* previous);
void SetBusyIndicator(ShowBusyFunction show, RestoreBusyFunction restore);

// Shows the busy indicator for its lifetime, so every way out of an operation restores it.
class BusyIndicator {
public:
    BusyIndicator();
    ~BusyIndicator();
    BusyIndicator(const BusyIndicator&) = delete;
    BusyIndicator& operator=(const BusyIndicator&) = delete;

private:
    void* previous_;
};

// The platform's bitmap: rows top-down, `bytesPerLine` bytes apart.
enum class BitmapFormat : int {
    Mono = 1,             // 1 bit per pixel, most significant bit leftmost, indexes the palette
    Indexed8,             // one byte per pixel, indexes the palette
    Grey8,                // one byte per pixel, the grey level
    Rgb24,                // three bytes per pixel: red, green, blue
    Rgb32,                // 32-bit words 0xffRRGGBB in native byte order; the top byte is ignored
    Argb32,               // 32-bit words 0xAARRGGBB in native byte order, not premultiplied
    Argb32Premultiplied,  // as Argb32, colour already multiplied by alpha
};

struct PlatformBitmap {
    const uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;
    BitmapFormat format = BitmapFormat::Rgb24;
    // 0xRRGGBB: what shows through transparent pixels of the Argb32 formats.
    uint32_t background = 0xFFFFFF;
};

// A colour table of 0xAARRGGBB entries (the alpha byte is ignored).
struct PlatformPalette {
    const uint32_t* colours = nullptr;
    int count = 0;
};

// Allocates `image` and copies the bitmap into it: Mono gives a 1-bit image, Indexed8 and
// Grey8 8-bit images, the others 24-bit (alpha composed on the background). The palette is
// used for Mono and Indexed8; without one those get the default table (black and white, or
// the grey ramp). A null or malformed bitmap gives -68 and leaves `image` untouched.
int BitmapToImage(const PlatformBitmap* bitmap, const PlatformPalette* palette, ImageBuffer& image);

// ---- Helpers shared by the imaging operations ----

// Processor features the hot loops have variants for.
enum class CpuFeature { Ssse3, Avx2, Avx512, Bmi2 };
// True when the processor has the feature and the variants are switched on (the default).
bool UseCpuFeature(CpuFeature feature);
// Switches the feature-specific variants off (false) or back on, all of them or one, so that
// tests and benchmarks can run every variant, down to the baseline code, on the same machine.
void SetCpuFeaturesEnabled(bool enabled);
void SetCpuFeatureEnabled(CpuFeature feature, bool enabled);

// The image has pixels and a non-empty working area that lies inside it.
bool HasValidArea(const ImageBuffer& image);
// The two images' pixel blocks overlap (the same record, two records of one block, ...).
bool SharesPixels(const ImageBuffer& a, const ImageBuffer& b);
// The two records name the same pixels and the same working area.
bool SameArea(const ImageBuffer& a, const ImageBuffer& b);

// Owns one ImageBuffer and frees it when it goes out of scope.
struct ScopedImage {
    ImageBuffer image{};
    ScopedImage() = default;
    ~ScopedImage() { FreeImage(image); }
    ScopedImage(const ScopedImage&) = delete;
    ScopedImage& operator=(const ScopedImage&) = delete;
};

// The source an operation should read. When `src` and `dst` share pixels and the operation
// cannot work on them as they are (it can only when `inPlaceSafe` and both name the same
// area), the source's area is copied into `scratch` (whose area is then the whole image) and
// `source` points at that copy. Returns 0 or the allocation's code.
int DetachSource(const ImageBuffer& src, const ImageBuffer& dst, bool inPlaceSafe,
                 ScopedImage& scratch, const ImageBuffer*& source);

// Copies `count` bits, most significant bit first, from bit `srcBit` of `src` to bit
// `dstBit` of `dst`. Bits of `dst` outside the run are kept. The runs must not overlap.
void CopyBits(uint8_t* dst, size_t dstBit, const uint8_t* src, size_t srcBit, size_t count);

// Bytes per pixel for depths of 8 bits and more.
inline uint32_t BytesPerPixel(const ImageBuffer& image) {
    return static_cast<uint32_t>(BitsPerPixel(image)) / 8;
}
// First byte of row y of the working area (for 1-bit images the row's first byte: the area
// starts at bit areaLeft of it).
inline uint8_t* AreaRow(const ImageBuffer& image, uint32_t y) {
    uint8_t* row = RowPointer(image, image.areaTop + y);
    const int bits = BitsPerPixel(image);
    return bits >= 8 ? row + static_cast<size_t>(image.areaLeft) * (bits / 8) : row;
}

}  // namespace vellumo::imaging

// The one rule by which a TIFF directory becomes a page, shared by the loader and the PDF
// writer so that what loads always builds: which depth the page gets (1, 8 or 24 bits), its
// colour table, its upright size and resolution, and the decoding of every layout libtiff
// reads (strips or tiles, one plane or several, 1 to 64 bits per sample, integer or floating
// point, grey, palette, RGB, CMYK, YCbCr, CIE L*a*b*, LogLuv), with transparency composed onto
// white and the Orientation tag applied.
#pragma once

#include <tiffio.h>

#include <cstdint>
#include <string>

#include "imaging/image_buffer.h"
#include "imaging/orientation.h"

namespace vellumo::imaging {

enum class TiffPageKind {
    Bilevel,  // 1 bit, black and white
    Grey,     // 8-bit grey levels
    Palette,  // 1 or 8 bits through the file's colour table
    Colour,   // 24-bit
};

// How the samples of a directory are read: by us, sample by sample, or through libtiff's RGBA
// interface (YCbCr without JPEG compression, CIE L*a*b*, LogLuv and the like).
enum class TiffRoute { Samples, Rgba };

struct TiffPage {
    uint32_t storedWidth = 0, storedHeight = 0;
    uint32_t width = 0, height = 0;  // upright
    Orientation orientation = Orientation::TopLeft;
    TiffPageKind kind = TiffPageKind::Colour;
    int imageBits = 24;
    double dpiX = 0, dpiY = 0;  // of the upright page, 0 when none is recorded

    // The file's layout.
    uint16_t bitsPerSample = 1, samplesPerPixel = 1, photometric = PHOTOMETRIC_MINISWHITE;
    uint16_t compression = COMPRESSION_NONE, planar = PLANARCONFIG_CONTIG;
    uint16_t sampleFormat = SAMPLEFORMAT_UINT;
    uint16_t colourSamples = 1;  // grey and palette 1, RGB 3, CMYK 4
    int alphaSample = -1;        // index of the alpha sample, -1 when there is none
    bool alphaAssociated = false;
    bool tiled = false;
    double sampleMin = 0, sampleMax = 1;  // the range of floating-point samples
    TiffRoute route = TiffRoute::Samples;

    // The stored rows of the strips are the page's rows as they are (1-bit bilevel, 8-bit grey,
    // palette or RGB, in one plane, upright): a writer may take them strip by strip.
    bool rowsAsStored() const;
};

// Reads the current directory and decides what page it makes. fileBytes bounds the sizes the
// directory may claim. 0, or a negative code with the reason in problem (when given).
int DescribeTiffPage(TIFF* tif, long long fileBytes, TiffPage& page, std::string* problem);

// The page's colour table for Palette pages (entries 0 .. 2^bits - 1), else the grey ramp.
void TiffPageColours(TIFF* tif, const TiffPage& page, RgbQuad* table, int entries);

// Decodes the page into image, which is allocated with the page's upright width, height and
// imageBits; sets the colour table, the grey flag and the resolution. 0, or a negative code
// with the reason in problem.
int DecodeTiffPage(TIFF* tif, const TiffPage& page, ImageBuffer& image, std::string* problem);

}  // namespace vellumo::imaging

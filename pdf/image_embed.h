// Turning one image file into one image XObject of a PDF. Each format has its own small file:
// JPEG data is copied as it is (DCTDecode), PNG image data and single-strip group 4 TIFF data
// are copied where the PDF can hold them unchanged, TIFF rasters are streamed strip by strip,
// and everything else is decoded by the imaging codecs and written as G4, Indexed or Flate.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "imaging/image_buffer.h"
#include "pdf/bilevel_image.h"
#include "pdf/pdf_writer.h"

namespace vellumo::pdf {

// How images are written.
struct EmbedOptions {
    BilevelCoding bilevel = BilevelCoding::Auto;
};

// The kinds of page the byte report counts.
enum class PageKind { Bilevel, Grey, Colour };

// What the page needs to know about its image, and how it was written.
struct EmbeddedImage {
    int width = 0;
    int height = 0;
    double dpiX = 0;  // 0: the file records no resolution
    double dpiY = 0;
    PageKind kind = PageKind::Colour;  // two-colour images count as bilevel
    std::string coding;                // "JBIG2", "G4", "JPEG", "Flate"
    int rotate = 0;  // the page's turn for viewers (/Rotate), clockwise; kept from PDF pages
};

// The coded data a file already holds for its image, which can go into the PDF as it is.
struct OriginalCoding {
    uint64_t bytes = 0;
    bool isG4 = false;
    std::string name;  // for the report: "G4", "Flate"
    std::function<bool(PdfWriter& writer, int object)> write;
};

// An image of at most two colours, as the bilevel coders take it: the pixel value (1-bit: the
// bit, 8-bit: the byte, 24-bit: the pixel as 0xBBGGRR) coded as 1, the other one, and the PDF
// colour space (empty for black and white, else an /Indexed space with the foreground first).
struct TwoColours {
    int foreground = 1;
    int background = 0;
    bool blackAndWhite = true;
    std::string colourSpace;
};
// True for 1-bit images with a colour table, and 8- and 24-bit images of at most two colours.
bool FindTwoColours(const imaging::ImageBuffer& buffer, TwoColours& colours);

// Whether a format-specific path wrote the image, left it to a more general one, or failed
// (with a message in error).
enum class EmbedResult { Done, Declined, Failed };

// Checks that the file can be opened and is an image of a format the program reads; 0 or a
// PGMT-style nonzero result with a message in error.
int CheckImageFile(const std::string& path, std::string& error);

// Writes the file's image as stream object number object and describes it in image.
bool EmbedImageFile(PdfWriter& writer, int object, const std::string& path,
                    const EmbedOptions& options, EmbeddedImage& image, std::string& error);

// Checks that the file has page `page` (from 0), a PDF opening with the password; 0 or a
// PGMT-style nonzero result with a message in error.
int CheckImagePage(const std::string& path, int page, const std::string& password,
                   std::string& error);
// Writes page `page` (from 0) of a file: an image file's page as EmbedImageFile does (later
// TIFF pages decoded), a PDF page by EmbedPdfPage.
bool EmbedImagePage(PdfWriter& writer, int object, const std::string& path, int page,
                    const std::string& password, const EmbedOptions& options, EmbeddedImage& image,
                    std::string& error);
// A PDF page that is one image goes in as it is: its image stream byte for byte, with its
// dictionary and every object that refers to (colour profiles, palettes, JBIG2 globals), and
// the page's size and turn. Other pages are drawn at 300 dpi and written as a raster.
EmbedResult EmbedPdfPage(PdfWriter& writer, int object, const std::string& path, int page,
                         const std::string& password, const EmbedOptions& options,
                         EmbeddedImage& image, std::string& error);

// The format paths, tried in this order by EmbedImageFile for a file with the matching magic.
EmbedResult EmbedJpegFile(PdfWriter& writer, int object, const std::string& path,
                          const EmbedOptions& options, EmbeddedImage& image, std::string& error);
EmbedResult EmbedPngFile(PdfWriter& writer, int object, const std::string& path,
                         const EmbedOptions& options, EmbeddedImage& image, std::string& error);
EmbedResult EmbedTiffFile(PdfWriter& writer, int object, const std::string& path,
                          const EmbedOptions& options, EmbeddedImage& image, std::string& error);
// Decodes with the imaging codecs; handles every readable format.
EmbedResult EmbedDecodedFile(PdfWriter& writer, int object, const std::string& path,
                             const EmbedOptions& options, EmbeddedImage& image, std::string& error);
// Writes an image held in memory: two colours as JBIG2 or G4 (as options allow, the smaller),
// grey as DeviceGray, other colour tables as Indexed, 24-bit as DeviceRGB (Flate). original,
// when given, is the file's own coding of the image, written instead when it is smaller (or,
// for an image of more than two colours, always). Sets the kind and coding of image.
bool EmbedImageBuffer(PdfWriter& writer, int object, const imaging::ImageBuffer& buffer,
                      const EmbedOptions& options, EmbeddedImage& image, std::string& error,
                      const OriginalCoding* original = nullptr);

// The /DecodeParms and /Filter entries of a G4 image of the given size.
std::string G4Dictionary(int width, int height, bool blackIs1);

// The resolution a JPEG file records (JFIF density, else Exif); false when it records none.
bool ReadJpegResolution(const std::string& path, double& dpiX, double& dpiY);

// Copies byte range [offset, offset + length) of an open file into the writer.
bool CopyFileRange(std::FILE* file, long long offset, long long length, PdfWriter& writer);
// A colour table as the hexadecimal string of an /Indexed /DeviceRGB colour space.
std::string IndexedColourSpace(const unsigned char* rgb, int entries);

}  // namespace vellumo::pdf

// Turning one image file into one image XObject of a PDF. Each format has its own small file:
// JPEG data is copied as it is (DCTDecode), PNG image data and single-strip group 4 TIFF data
// are copied where the PDF can hold them unchanged, TIFF rasters are streamed strip by strip,
// and everything else is decoded by the imaging codecs and written as G4, Indexed or Flate.
#pragma once

#include <string>

#include "imaging/image_buffer.h"
#include "pdf/pdf_writer.h"

namespace vellumo::pdf {

// What the page needs to know about its image.
struct EmbeddedImage {
    int width = 0;
    int height = 0;
    double dpiX = 0;  // 0: the file records no resolution
    double dpiY = 0;
};

// Whether a format-specific path wrote the image, left it to a more general one, or failed
// (with a message in error).
enum class EmbedResult { Done, Declined, Failed };

// Checks that the file can be opened and is an image of a format the program reads; 0 or a
// PGMT-style nonzero result with a message in error.
int CheckImageFile(const std::string& path, std::string& error);

// Writes the file's image as stream object number object and describes it in image.
bool EmbedImageFile(PdfWriter& writer, int object, const std::string& path, EmbeddedImage& image,
                    std::string& error);

// The format paths, tried in this order by EmbedImageFile for a file with the matching magic.
EmbedResult EmbedJpegFile(PdfWriter& writer, int object, const std::string& path,
                          EmbeddedImage& image, std::string& error);
EmbedResult EmbedPngFile(PdfWriter& writer, int object, const std::string& path,
                         EmbeddedImage& image, std::string& error);
EmbedResult EmbedTiffFile(PdfWriter& writer, int object, const std::string& path,
                          EmbeddedImage& image, std::string& error);
// Decodes with the imaging codecs; handles every readable format.
EmbedResult EmbedDecodedFile(PdfWriter& writer, int object, const std::string& path,
                             EmbeddedImage& image, std::string& error);
// Writes an image held in memory: 1-bit black and white as CCITT G4, grey as DeviceGray, other
// colour tables as Indexed, 24-bit as DeviceRGB (Flate).
bool EmbedImageBuffer(PdfWriter& writer, int object, const imaging::ImageBuffer& buffer, std::string& error);

// The /DecodeParms and /Filter entries of a G4 image of the given size.
std::string G4Dictionary(int width, int height, bool blackIs1);

// The resolution a JPEG file records (JFIF density, else Exif); false when it records none.
bool ReadJpegResolution(const std::string& path, double& dpiX, double& dpiY);

// Copies byte range [offset, offset + length) of an open file into the writer.
bool CopyFileRange(std::FILE* file, long long offset, long long length, PdfWriter& writer);
// A colour table as the hexadecimal string of an /Indexed /DeviceRGB colour space.
std::string IndexedColourSpace(const unsigned char* rgb, int entries);

}  // namespace vellumo::pdf

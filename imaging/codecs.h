// The image file formats: inspect, load and save for TIFF, BMP, JPEG, PCX, GIF, PNG and TGA,
// and the save-only EPS writer. File names are narrow strings. Every function returns 0 or a
// negative ImagingStatus code.
#pragma once

#include <string>

#include "imaging/image_buffer.h"

namespace vellumo::imaging {

// What an inspect operation reports. width, height and bitsPerPixel are what the image will
// have in memory (1, 8 or 24: deeper or shallower files are converted on load), so the caller
// allocates with them and then calls the matching load operation.
struct ImageFileInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    double dpiX = 0;  // resolution recorded in the file, 0 when it has none
    double dpiY = 0;
    int fileBitsPerSample = 0;  // as stored, before conversion
    int fileSamplesPerPixel = 0;
    int compression = 0;  // format-specific code as stored
    int pageCount = 1;
};

int InspectTiff(const char* file, ImageFileInfo& info);
int LoadTiff(const char* file, ImageBuffer& image);
// Page `page` (from 0) of a multi-page file; info.pageCount counts the pages (reduced-resolution
// previews are not pages). A page beyond the last gives kImgBadArgument.
int InspectTiffPage(const char* file, int page, ImageFileInfo& info);
int LoadTiffPage(const char* file, int page, ImageBuffer& image);
// compression: 0 none, 1 LZW, 2 PackBits, 3 CCITT modified Huffman, 4 CCITT group 4,
// 5 CCITT group 3, 6 and 7 JPEG (both written as new-style JPEG at quality 75; palette images
// are expanded to colour). CCITT needs 1 bit and JPEG more than 1 bit (else -9); other codes
// -9. Bilevel images are written min-is-white (1 = black), as fax readers expect.
// Loading reads the first page.
int SaveTiff(const char* file, const ImageBuffer& image, int compression);

int InspectBmp(const char* file, ImageFileInfo& info);
int LoadBmp(const char* file, ImageBuffer& image);
// option 0 (uncompressed) only, else -9.
int SaveBmp(const char* file, const ImageBuffer& image, int option);

int InspectJpeg(const char* file, ImageFileInfo& info);
int LoadJpeg(const char* file, ImageBuffer& image);
int SaveJpeg(const char* file, const ImageBuffer& image, int quality);
// Density for every later SaveJpeg (JFIF 1.02 APP0); unit 0 none, 1 dpi, 2 dots per cm.
// Values of 65536 or more, or a unit above 2, leave the previous setting. Default 1 x 1, 0.
int SetJpegDensity(int xDensity, int yDensity, int unit);

int InspectPcx(const char* file, ImageFileInfo& info);
int LoadPcx(const char* file, ImageBuffer& image);
int SavePcx(const char* file, const ImageBuffer& image);

int InspectGif(const char* file, ImageFileInfo& info);
int LoadGif(const char* file, ImageBuffer& image);
// Colour images are reduced to 256 colours (median cut, no dithering).
int SaveGif(const char* file, const ImageBuffer& image);

int InspectPng(const char* file, ImageFileInfo& info);
int LoadPng(const char* file, ImageBuffer& image);
// option 0 only, else -9.
int SavePng(const char* file, const ImageBuffer& image, int option);

int InspectTga(const char* file, ImageFileInfo& info);
int LoadTga(const char* file, ImageBuffer& image);
// 24-bit images only (else -26), sides up to 65535 (else -73); option 0 raw, 1 run-length
// encoded, else -9.
int SaveTga(const char* file, const ImageBuffer& image, int option);

// Grey (8-bit with the grey ramp, or 1-bit black and white) as one byte per pixel with
// "image"; everything else as RGB with "colorimage".
int SaveEps(const char* file, const ImageBuffer& image);

// Every save writes the working area only, into a new file beside the target that replaces
// the target when complete: a failed save leaves no partial file and keeps an existing one.

// The readable formats in the fixed order in which a file is tried by inspection.
enum class ImageFormat { None, Tiff, Bmp, Jpeg, Pcx, Gif, Png, Tga };

// Tries the inspect operations in the fixed order (TIFF, BMP, JPEG, PCX, GIF, PNG, TGA, never
// by the file's extension) and returns the first format that accepts the file.
ImageFormat DetectImageFormat(const char* file, ImageFileInfo* info = nullptr);

// Inspects, allocates and loads a file of any readable format into image (which is replaced;
// the caller frees what it held before). 0, or a negative code with image all zero.
int ReadImageFile(const char* file, ImageBuffer& image);

// Why the last DetectImageFormat or ReadImageFile on this thread found no picture, in words a
// user understands ("the JPEG file is damaged (Premature end of JPEG file)"); empty after a
// success.
std::string ImageFileProblem();

}  // namespace vellumo::imaging

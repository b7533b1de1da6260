// What every reader of JPEG data in the program shares: the markers before the first scan
// (frame, JFIF density, Adobe segment, Exif orientation and resolution), libjpeg error handling
// that tells damaged data from harmless irregularities, and a cheap check of a whole file's
// coded data.
#pragma once

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "imaging/orientation.h"

namespace vellumo::imaging {

// The tags of an Exif block that decide how a photo is shown and printed.
struct ExifInfo {
    Orientation orientation = Orientation::TopLeft;
    double dpiX = 0;  // 0: none recorded
    double dpiY = 0;
};
// Parses an APP1 payload ("Exif\0\0" and a TIFF structure). False when it is no Exif block.
bool ParseExif(const uint8_t* data, size_t size, ExifInfo& info);

struct JpegMarkers {
    int frameType = -1;  // n of the first SOFn marker
    int precision = 0;
    int width = 0, height = 0;  // as stored
    int components = 0;
    int mcuWidth = 8, mcuHeight = 8;  // pixels of one MCU of an interleaved scan
    bool adobe = false;
    int jfifUnit = -1;  // -1: no JFIF segment
    int jfifX = 0, jfifY = 0;
    bool exif = false;
    ExifInfo exifInfo;
};
// Reads the markers of a JPEG file up to its first scan. False when the file is not a JPEG
// whose frame can be described.
bool ReadJpegMarkers(std::FILE* file, JpegMarkers& markers);
bool ReadJpegMarkers(const std::string& path, JpegMarkers& markers);

// The resolution of the stored raster in dots per inch: the JFIF density when it has a unit,
// else Exif's. False when the file records none.
bool JpegResolution(int jfifUnit, int jfifX, int jfifY, const ExifInfo& exif, double& dpiX,
                    double& dpiY);

// libjpeg error handling for decoders: errors unwind to `jump`; warnings that mean the coded
// data is damaged (a premature end, a bad code, lost restart markers, stray bytes inside the
// coded data) set `damaged` and, when stopOnDamage, unwind too; other warnings only set
// `irregular`. The first warning's text is kept.
struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    bool stopOnDamage = true;
    bool damaged = false;
    bool irregular = false;
    char message[JMSG_LENGTH_MAX] = {};
};
void InstallJpegErrors(JpegErrors& errors, bool stopOnDamage);
// Saves the APP1 segments while the header is read, so that Exif can be parsed afterwards.
void SaveExifMarkers(jpeg_decompress_struct& cinfo);
// The Exif block among the saved markers (default values when there is none).
ExifInfo SavedExif(const jpeg_decompress_struct& cinfo);
// True when a file of fileBytes can hold the coded data of a frame of this size: one byte of
// entropy-coded data describes at most a few thousand bytes of pixels, so a small file that
// claims a huge frame is refused before anything the size of the frame is allocated.
bool PlausibleJpegFrame(uint64_t width, uint64_t height, int components, long long fileBytes);

enum class JpegDataState {
    Clean,      // decodes to the end without any warning
    Irregular,  // the pixels are all there, but the data has harmless irregularities
    Damaged,    // truncated or corrupt coded data: part of the picture is lost
};
// Decodes the whole coded data of a file at one eighth of its size (cheap: the entropy decoding
// runs, the full inverse transform does not). problem receives the reason when not Clean.
JpegDataState CheckJpegData(const std::string& path, std::string* problem);

}  // namespace vellumo::imaging

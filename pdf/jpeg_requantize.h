// Recompressing a JPEG file at another quality without decoding it to pixels: the DCT
// coefficients are read, requantised to the quantisation tables of the new quality and written
// again. Much faster than decoding and encoding, and it adds no second rounding in the pixel
// domain.
#pragma once

#include <string>

namespace vellumo::pdf {

// Writes out as a baseline JPEG of the given quality (1..100) with a JFIF density of dpiX x
// dpiY dots per inch. Only grey and YCbCr files qualify (CMYK and Adobe RGB keep their own
// encoding path). False, with nothing left at out, when the file does not qualify or fails.
bool RequantizeJpeg(const std::string& in, const std::string& out, int quality, int dpiX, int dpiY);

// The quality (1..100) a JPEG file was made with, estimated from its quantisation table: the
// highest IJG quality whose luminance table is at least as coarse overall (sum of the steps) as
// the file's first table. Exact for files of IJG-based encoders; files of cameras and scanners
// get the quality of equal coarseness. 0 when the file cannot be read.
int EstimateJpegQuality(const std::string& path);

}  // namespace vellumo::pdf

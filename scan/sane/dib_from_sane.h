// Turns the frames SANE delivers for one image into a packed DIB: the 40-byte header, the
// colour table and the rows bottom-up. Line art becomes 1 bit with black at index 0 (SANE's
// line art has 1 for black), grey 8 bits with the grey ramp, colour 24-bit BGR; 16-bit samples
// are reduced to 8. The resolution goes into the header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sanedib {

enum class FrameFormat { Gray, Rgb, Red, Green, Blue };

struct RawFrame {
    FrameFormat format = FrameFormat::Gray;
    int depth = 8;
    int pixelsPerLine = 0;
    int bytesPerLine = 0;
    std::vector<uint8_t> data;  // whole lines, top first; a trailing partial line is ignored
};

// Builds the DIB; on failure returns an empty block and a reason in `error`. One Gray or Rgb
// frame, or one each of Red, Green and Blue of equal size.
std::vector<uint8_t> BuildDib(const std::vector<RawFrame>& frames, double dpiX, double dpiY,
                              std::string* error);

}  // namespace sanedib

// Turns the lines SANE delivers for one image into a packed DIB: the 40-byte header, the colour
// table and the rows bottom-up. Line art becomes 1 bit with black at index 0 (SANE's line art
// has 1 for black), grey 8 bits with the grey ramp, colour 24-bit BGR; 16-bit samples are
// reduced to 8. The resolution goes into the header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellumo::scan {

namespace sanedib {

enum class FrameFormat { Gray, Rgb, Red, Green, Blue };

// Converts an image line by line, as it arrives, straight into its place in the DIB.
class DibWriter {
public:
    // format Gray or Rgb. Fails (with a reason) for layouts the program cannot use.
    bool Begin(FrameFormat format, int depth, int pixelsPerLine, int bytesPerLine, int lines,
               double dpiX, double dpiY, std::string* error);
    // Line y (from the top) of bytesPerLine bytes; lines beyond the announced count are ignored.
    void Line(const uint8_t* line, int y);
    // The finished DIB with the lines written (0..linesDone-1); empty when none was.
    std::vector<uint8_t> Finish(int linesDone);
    int bytesPerLine() const { return bytesPerLine_; }
    int lines() const { return lines_; }

private:
    std::vector<uint8_t> dib_;
    FrameFormat format_ = FrameFormat::Gray;
    int depth_ = 8, width_ = 0, bytesPerLine_ = 0, lines_ = 0, outBits_ = 8;
    uint32_t rowBytes_ = 0;
    size_t headerBytes_ = 0;
};

struct RawFrame {
    FrameFormat format = FrameFormat::Gray;
    int depth = 8;
    int pixelsPerLine = 0;
    int bytesPerLine = 0;
    std::vector<uint8_t> data;  // whole lines, top first; a trailing partial line is ignored
};

// Builds the DIB from whole frames; on failure returns an empty block and a reason in `error`.
// One Gray or Rgb frame, or one each of Red, Green and Blue of equal size.
std::vector<uint8_t> BuildDib(const std::vector<RawFrame>& frames, double dpiX, double dpiY,
                              std::string* error);

}  // namespace sanedib

}  // namespace vellumo::scan

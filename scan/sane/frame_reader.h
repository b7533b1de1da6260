// Reads one image from a started SANE device into a packed DIB: every frame of it, line by line.
// A single-frame image of known height goes straight into its place in the DIB; three-pass and
// hand-scanner images are gathered first. Runs on the reader thread, which alone uses the device
// while it reads.
#pragma once

#include <sane/sane.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "scan/sane/option_access.h"

namespace vellumo::scan::sane {

class FrameReader {
public:
    // `cancel` is honoured between reads; `trace` receives a line per frame.
    FrameReader(SANE_Handle handle, const std::atomic<bool>& cancel, Trace trace);

    enum class Result { Ok, Failed, BadImage };
    // The first frame has been started. Failed: `status` holds SANE's status (CANCELLED for a
    // cancel); BadImage: `why` says what the device delivered that cannot be used.
    Result ReadImage(std::vector<uint8_t>& dib, SANE_Status& status, std::string& why, double dpiX,
                     double dpiY);

private:
    template <typename Sink>
    bool ReadLines(int bytesPerLine, SANE_Status& status, int& lines, Sink&& sink);
    void TraceFrame(int lines, const SANE_Parameters& p);

    SANE_Handle handle_;
    const std::atomic<bool>& cancel_;
    Trace trace_;
};

}  // namespace vellumo::scan::sane

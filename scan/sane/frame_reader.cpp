#include "scan/sane/frame_reader.h"

#include <algorithm>
#include <cstring>

#include "imaging/image_buffer.h"
#include "scan/sane/dib_from_sane.h"
#include "scan/sane/sane_errors.h"

namespace vellumo::scan::sane {

using namespace vellumo::imaging;

namespace {

sanedib::FrameFormat FormatOf(SANE_Frame f) {
    switch (f) {
        case SANE_FRAME_RGB:
            return sanedib::FrameFormat::Rgb;
        case SANE_FRAME_RED:
            return sanedib::FrameFormat::Red;
        case SANE_FRAME_GREEN:
            return sanedib::FrameFormat::Green;
        case SANE_FRAME_BLUE:
            return sanedib::FrameFormat::Blue;
        default:
            return sanedib::FrameFormat::Gray;
    }
}

}  // namespace

FrameReader::FrameReader(SANE_Handle handle, const std::atomic<bool>& cancel, Trace trace)
    : handle_(handle), cancel_(cancel), trace_(std::move(trace)) {}

// Reads the rest of a frame into `sink` (called with whole lines, top first) and counts the
// lines. False when SANE failed or the reading was cancelled (`status` says which).
template <typename Sink>
bool FrameReader::ReadLines(int bytesPerLine, SANE_Status& status, int& lines, Sink&& sink) {
    const size_t bpl = static_cast<size_t>(bytesPerLine);
    std::vector<uint8_t> chunk(std::max(bpl, size_t{1} << 18));
    size_t partial = 0;
    lines = 0;
    // A cancel is honoured once the frame's data has begun to arrive: some back ends (the SANE
    // test scanner among them) can hang in sane_cancel while their reader is still starting up.
    bool flowing = false;
    for (;;) {
        if (cancel_ && flowing) {
            status = SANE_STATUS_CANCELLED;
            return false;
        }
        SANE_Int got = 0;
        status = KnownStatus(sane_read(handle_, chunk.data() + partial,
                                       static_cast<SANE_Int>(chunk.size() - partial), &got));
        if (status == SANE_STATUS_EOF) break;
        if (status != SANE_STATUS_GOOD) return false;
        if (got > 0) flowing = true;
        const size_t total = partial + static_cast<size_t>(std::max<SANE_Int>(got, 0));
        const size_t full = total / bpl;
        for (size_t i = 0; i < full; ++i) sink(chunk.data() + i * bpl, lines++);
        partial = total - full * bpl;
        if (partial) std::memmove(chunk.data(), chunk.data() + full * bpl, partial);
    }
    return true;
}

void FrameReader::TraceFrame(int lines, const SANE_Parameters& p) {
    trace_("sane_read: " + std::to_string(lines) + " lines of " +
           std::to_string(p.pixels_per_line) + " pixels, depth " + std::to_string(p.depth));
}

FrameReader::Result FrameReader::ReadImage(std::vector<uint8_t>& dib, SANE_Status& status,
                                           std::string& why, double dpiX, double dpiY) {
    std::vector<sanedib::RawFrame> frames;
    for (;;) {
        SANE_Parameters p{};
        status = KnownStatus(sane_get_parameters(handle_, &p));
        if (status != SANE_STATUS_GOOD) return Result::Failed;
        if (p.bytes_per_line <= 0 || p.pixels_per_line <= 0) {
            why = "bad line size";
            return Result::BadImage;
        }
        const sanedib::FrameFormat format = FormatOf(p.format);
        const bool single =
            frames.empty() && p.last_frame && p.lines > 0 &&
            (format == sanedib::FrameFormat::Gray || format == sanedib::FrameFormat::Rgb);
        int lines = 0;
        if (single) {
            sanedib::DibWriter writer;
            if (!writer.Begin(format, p.depth, p.pixels_per_line, p.bytes_per_line, p.lines, dpiX,
                              dpiY, &why))
                return Result::BadImage;
            if (!ReadLines(p.bytes_per_line, status, lines,
                           [&](const uint8_t* line, int y) { writer.Line(line, y); }))
                return Result::Failed;
            TraceFrame(lines, p);
            dib = writer.Finish(std::min(lines, p.lines));
            if (dib.empty()) {
                why = "no complete line";
                return Result::BadImage;
            }
            return Result::Ok;
        }
        sanedib::RawFrame f;
        f.format = format;
        f.depth = p.depth;
        f.pixelsPerLine = p.pixels_per_line;
        f.bytesPerLine = p.bytes_per_line;
        const size_t bpl = static_cast<size_t>(p.bytes_per_line);
        if (p.lines > 0)
            f.data.reserve(std::min(bpl * static_cast<size_t>(p.lines), kMaxPixelBytes));
        // A device that never stops sending cannot take all memory: what lies beyond the largest
        // image is read and dropped.
        if (!ReadLines(p.bytes_per_line, status, lines, [&](const uint8_t* line, int y) {
                if (static_cast<uint32_t>(y) < kMaxImageSide &&
                    f.data.size() + bpl <= kMaxPixelBytes)
                    f.data.insert(f.data.end(), line, line + bpl);
            }))
            return Result::Failed;
        TraceFrame(lines, p);
        frames.push_back(std::move(f));
        if (p.last_frame) break;
        status = KnownStatus(sane_start(handle_));
        trace_("sane_start (next frame)" + TraceResult(status));
        if (status != SANE_STATUS_GOOD) return Result::Failed;
    }
    dib = sanedib::BuildDib(frames, dpiX, dpiY, &why);
    return dib.empty() ? Result::BadImage : Result::Ok;
}

}  // namespace vellumo::scan::sane

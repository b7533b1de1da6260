#include "scan/sane/frame_reader.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

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

// After a read that gave no data (allowed by SANE, and what the net back end reports for ever once
// its saned has gone: its socket reads end of file), waits for the device instead of asking again
// at once, and tells when it has stopped sending: its descriptor says data is there again and
// again while no read gives any, or nothing at all came for a long time.
class EmptyReadWait {
public:
    explicit EmptyReadWait(SANE_Handle handle) : handle_(handle) {}

    void dataArrived() {
        readableButEmpty_ = 0;
        sleepMs_ = 1;
        silent_ = false;
    }

    // False: the device has stopped sending.
    bool wait() {
        const auto now = std::chrono::steady_clock::now();
        if (!silent_) {
            silent_ = true;
            silentSince_ = now;
        }
        if (now - silentSince_ > kLongestSilence) return false;
        if (selectFd_ == kNotAsked) {
            SANE_Int fd = -1;
            selectFd_ = sane_get_select_fd(handle_, &fd) == SANE_STATUS_GOOD ? fd : -1;
        }
        if (selectFd_ >= 0) {
            pollfd p{selectFd_, POLLIN, 0};
            if (poll(&p, 1, kPollMs) > 0 && ++readableButEmpty_ > kMostReadableButEmpty)
                return false;
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(sleepMs_));
        sleepMs_ = std::min(sleepMs_ * 2, kPollMs);
        return true;
    }

private:
    // A partly received record may give a few empty reads while its data is there; an end of
    // file gives them without end.
    static constexpr int kMostReadableButEmpty = 64;
    static constexpr int kPollMs = 100;
    // Scanners warm up and feed sheets inside sane_start, not between the reads of a frame.
    static constexpr std::chrono::seconds kLongestSilence{120};

    static constexpr int kNotAsked = -2;

    SANE_Handle handle_;
    int selectFd_ = kNotAsked;  // -1: the back end has none
    int readableButEmpty_ = 0;
    int sleepMs_ = 1;
    bool silent_ = false;
    std::chrono::steady_clock::time_point silentSince_;
};

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
    EmptyReadWait emptyReads(handle_);
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
        if (got <= 0) {
            if (emptyReads.wait()) continue;
            trace_("sane_read: no data and no end after " + std::to_string(lines) +
                   " lines: the device has stopped sending");
            status = SANE_STATUS_IO_ERROR;
            return false;
        }
        emptyReads.dataArrived();
        flowing = true;
        const size_t total = partial + static_cast<size_t>(got);
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
        if (p.bytes_per_line == 0 && p.pixels_per_line == 0 && p.lines == 0 && p.depth == 0) {
            // Not a description of any image but an empty answer: the net back end gives it when
            // its saned has gone.
            trace_("sane_get_parameters: an empty answer: the device has stopped answering");
            status = SANE_STATUS_IO_ERROR;
            return Result::Failed;
        }
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

// The frame reader against a scripted device: reads that give no data are waited out, not
// repeated at once, and a device whose data has ended without an end of frame (the net back end
// once its saned has gone) is told as a scanner that stopped answering. This program stands in
// for the SANE calls the reader makes.
#include "scan/sane/frame_reader.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <vector>

using namespace vellumo::scan::sane;

namespace {

// One answer of sane_read: bytes, or none with SANE_STATUS_GOOD.
struct Answer {
    std::vector<uint8_t> bytes;
};

struct ScriptedDevice {
    SANE_Parameters parameters{};
    std::deque<Answer> answers;
    bool emptyWhenDone = false;  // after the script: nothing, for ever (else the frame's end)
    int selectFd = -1;           // -1: the back end has none
    int reads = 0;
} device;

void Prepare(int width, int lines) {
    device = ScriptedDevice{};
    device.parameters.format = SANE_FRAME_GRAY;
    device.parameters.last_frame = SANE_TRUE;
    device.parameters.bytes_per_line = width;
    device.parameters.pixels_per_line = width;
    device.parameters.lines = lines;
    device.parameters.depth = 8;
}

Answer Lines(int count, int width) {
    return Answer{std::vector<uint8_t>(static_cast<size_t>(count * width), 0x80)};
}

}  // namespace

// The SANE calls of the reader, answered from the script.
extern "C" {
SANE_Status sane_get_parameters(SANE_Handle, SANE_Parameters* p) {
    *p = device.parameters;
    return SANE_STATUS_GOOD;
}

SANE_Status sane_read(SANE_Handle, SANE_Byte* data, SANE_Int maxLength, SANE_Int* length) {
    ++device.reads;
    *length = 0;
    if (device.answers.empty()) return device.emptyWhenDone ? SANE_STATUS_GOOD : SANE_STATUS_EOF;
    Answer& a = device.answers.front();
    const size_t n = std::min(a.bytes.size(), static_cast<size_t>(maxLength));
    if (n > 0) std::memcpy(data, a.bytes.data(), n);
    a.bytes.erase(a.bytes.begin(), a.bytes.begin() + static_cast<long>(n));
    *length = static_cast<SANE_Int>(n);
    if (a.bytes.empty()) device.answers.pop_front();
    return SANE_STATUS_GOOD;
}

SANE_Status sane_get_select_fd(SANE_Handle, SANE_Int* fd) {
    if (device.selectFd < 0) return SANE_STATUS_UNSUPPORTED;
    *fd = device.selectFd;
    return SANE_STATUS_GOOD;
}
}

namespace {

struct Read {
    FrameReader::Result result;
    SANE_Status status = SANE_STATUS_GOOD;
    std::vector<uint8_t> dib;
    std::vector<std::string> trace;
    std::chrono::milliseconds took{};
};

Read ReadOneImage() {
    Read r;
    std::atomic<bool> cancel{false};
    FrameReader reader(nullptr, cancel, [&r](const std::string& line) { r.trace.push_back(line); });
    std::string why;
    const auto start = std::chrono::steady_clock::now();
    r.result = reader.ReadImage(r.dib, r.status, why, 100, 100);
    r.took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    return r;
}

}  // namespace

TEST(FrameReader, ReadsThatGiveNothingAreWaitedOutAndTheImageIsWhole) {
    Prepare(10, 4);
    device.answers = {Lines(1, 10), Answer{}, Answer{}, Answer{}, Lines(3, 10)};
    const Read r = ReadOneImage();
    ASSERT_EQ(r.result, FrameReader::Result::Ok);
    EXPECT_FALSE(r.dib.empty());
    EXPECT_EQ(device.reads, 6);  // five answers, then the end of the frame
    ASSERT_FALSE(r.trace.empty());
    EXPECT_EQ(r.trace.back(), "sane_read: 4 lines of 10 pixels, depth 8");
}

TEST(FrameReader, DataThatEndsWithoutAnEndOfFrameIsAScannerThatStoppedAnswering) {
    // The net back end's socket after saned died: always readable, every read gives nothing.
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    close(pair[1]);
    Prepare(10, 100);
    device.answers = {Lines(2, 10)};
    device.emptyWhenDone = true;
    device.selectFd = pair[0];
    const Read r = ReadOneImage();
    close(pair[0]);
    EXPECT_EQ(r.result, FrameReader::Result::Failed);
    EXPECT_EQ(r.status, SANE_STATUS_IO_ERROR);
    EXPECT_LT(r.took, std::chrono::seconds(5));
    // Asked a bounded number of times, not in a tight loop until the process is stopped.
    EXPECT_LT(device.reads, 200);
    ASSERT_FALSE(r.trace.empty());
    EXPECT_EQ(r.trace.back(),
              "sane_read: no data and no end after 2 lines: the device has stopped sending");
}

TEST(FrameReader, ADeviceThatIsSlowToSendIsWaitedFor) {
    // Nothing to read on its descriptor for a while: the reader waits on it instead of asking.
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    Prepare(10, 2);
    device.answers = {Answer{}, Answer{}, Answer{}, Lines(2, 10)};
    device.selectFd = pair[0];
    const Read r = ReadOneImage();
    close(pair[0]);
    close(pair[1]);
    EXPECT_EQ(r.result, FrameReader::Result::Ok);
    EXPECT_EQ(device.reads, 5);
    // Three waits of the descriptor's full time: it never became readable.
    EXPECT_GE(r.took, std::chrono::milliseconds(250));
}

TEST(FrameReader, AnEmptyDescriptionOfTheFrameIsAScannerThatStoppedAnswering) {
    // What the net back end reports for the next page when saned has gone between pages.
    device = ScriptedDevice{};
    const Read r = ReadOneImage();
    EXPECT_EQ(r.result, FrameReader::Result::Failed);
    EXPECT_EQ(r.status, SANE_STATUS_IO_ERROR);
    EXPECT_EQ(device.reads, 0);
    // A device that describes an image with no lines' size is still told as that.
    Prepare(10, 4);
    device.parameters.bytes_per_line = 0;
    EXPECT_EQ(ReadOneImage().result, FrameReader::Result::BadImage);
}

#include "scan/sane/dib_from_sane.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "imaging/image_buffer.h"

namespace vellumo::scan {

using namespace vellumo::imaging;

namespace sanedib {

namespace {

int32_t PelsPerMeter(double dpi) {
    if (!(dpi > 0) || dpi > 1e6) return 0;
    return static_cast<int32_t>(std::lround(dpi / 0.0254));
}

// One sample of a line as an 8-bit value.
inline uint8_t Sample8(const uint8_t* line, int depth, size_t index) {
    if (depth == 8) return line[index];
    uint16_t v;
    std::memcpy(&v, line + index * 2, 2);  // SANE's 16-bit samples are in host order
    return static_cast<uint8_t>(v >> 8);
}

bool Fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

}  // namespace

bool DibWriter::Begin(FrameFormat format, int depth, int pixelsPerLine, int bytesPerLine, int lines,
                      double dpiX, double dpiY, std::string* error) {
    if (error) error->clear();
    dib_.clear();
    if (format != FrameFormat::Gray && format != FrameFormat::Rgb)
        return Fail(error, "unexpected frame layout");
    if (pixelsPerLine <= 0 || bytesPerLine <= 0 ||
        static_cast<uint32_t>(pixelsPerLine) > kMaxImageSide)
        return Fail(error, "bad line size");
    if (lines <= 0 || static_cast<uint32_t>(lines) > kMaxImageSide)
        return Fail(error, "bad number of lines");
    if (depth != 1 && depth != 8 && depth != 16) return Fail(error, "unsupported depth");
    const bool colour = format == FrameFormat::Rgb;
    if (colour && depth == 1) return Fail(error, "colour line art is not supported");
    const size_t needBytes =
        (static_cast<size_t>(pixelsPerLine) * (colour ? 3 : 1) * static_cast<size_t>(depth) + 7) /
        8;
    if (static_cast<size_t>(bytesPerLine) < needBytes)
        return Fail(error, "line shorter than its pixels");

    format_ = format;
    depth_ = depth;
    width_ = pixelsPerLine;
    bytesPerLine_ = bytesPerLine;
    lines_ = lines;
    outBits_ = colour ? 24 : (depth == 1 ? 1 : 8);
    const int paletteSize = outBits_ == 24 ? 0 : (1 << outBits_);
    rowBytes_ = RowBytesFor(static_cast<uint32_t>(width_), static_cast<uint32_t>(outBits_));
    headerBytes_ = sizeof(BitmapInfoHeader) + static_cast<size_t>(paletteSize) * sizeof(RgbQuad);
    const size_t pixelBytes = static_cast<size_t>(rowBytes_) * static_cast<size_t>(lines);
    if (pixelBytes > kMaxPixelBytes) return Fail(error, "image too large");
    dib_.resize(headerBytes_ + pixelBytes);

    BitmapInfoHeader header{};
    header.biSize = sizeof(BitmapInfoHeader);
    header.biWidth = width_;
    header.biHeight = lines;
    header.biPlanes = 1;
    header.biBitCount = static_cast<uint16_t>(outBits_);
    header.biSizeImage = static_cast<uint32_t>(pixelBytes);
    header.biXPelsPerMeter = PelsPerMeter(dpiX);
    header.biYPelsPerMeter = PelsPerMeter(dpiY);
    header.biClrUsed = static_cast<uint32_t>(paletteSize);
    std::memcpy(dib_.data(), &header, sizeof header);
    for (int i = 0; i < paletteSize; ++i) {
        const uint8_t g = static_cast<uint8_t>(paletteSize == 2 ? i * 255 : i);
        const RgbQuad entry{g, g, g, 0};
        std::memcpy(dib_.data() + sizeof header + static_cast<size_t>(i) * sizeof entry, &entry,
                    sizeof entry);
    }
    return true;
}

void DibWriter::Line(const uint8_t* in, int y) {
    if (y < 0 || y >= lines_ || dib_.empty()) return;
    uint8_t* out = dib_.data() + headerBytes_ + static_cast<size_t>(lines_ - 1 - y) * rowBytes_;
    if (format_ == FrameFormat::Gray && depth_ == 1) {
        // SANE: 1 is black; ours: index 0 is black. The padding bits stay clear.
        const size_t full = static_cast<size_t>(width_) / 8;
        for (size_t i = 0; i < full; ++i) out[i] = static_cast<uint8_t>(~in[i]);
        if (width_ % 8) {
            const uint8_t mask = static_cast<uint8_t>(0xFF << (8 - width_ % 8));
            out[full] = static_cast<uint8_t>(~in[full] & mask);
        }
    } else if (format_ == FrameFormat::Gray && depth_ == 8) {
        std::memcpy(out, in, static_cast<size_t>(width_));
    } else if (format_ == FrameFormat::Gray) {
        for (int x = 0; x < width_; ++x) out[x] = Sample8(in, 16, static_cast<size_t>(x));
    } else if (depth_ == 8) {
        for (int x = 0; x < width_; ++x) {
            out[x * 3 + 0] = in[x * 3 + 2];
            out[x * 3 + 1] = in[x * 3 + 1];
            out[x * 3 + 2] = in[x * 3];
        }
    } else {
        for (int x = 0; x < width_; ++x) {
            const size_t s = static_cast<size_t>(x) * 3;
            out[x * 3 + 0] = Sample8(in, 16, s + 2);
            out[x * 3 + 1] = Sample8(in, 16, s + 1);
            out[x * 3 + 2] = Sample8(in, 16, s);
        }
    }
}

std::vector<uint8_t> DibWriter::Finish(int linesDone) {
    if (dib_.empty() || linesDone <= 0) return {};
    if (linesDone < lines_) {
        // The rows written lie at the end of the block (bottom-up order): move them down and
        // record the real height.
        const size_t keep = static_cast<size_t>(rowBytes_) * static_cast<size_t>(linesDone);
        uint8_t* pixels = dib_.data() + headerBytes_;
        std::memmove(
            pixels,
            pixels + static_cast<size_t>(rowBytes_) * static_cast<size_t>(lines_ - linesDone),
            keep);
        dib_.resize(headerBytes_ + keep);
        BitmapInfoHeader header;
        std::memcpy(&header, dib_.data(), sizeof header);
        header.biHeight = linesDone;
        header.biSizeImage = static_cast<uint32_t>(keep);
        std::memcpy(dib_.data(), &header, sizeof header);
    }
    lines_ = 0;
    return std::move(dib_);
}

std::vector<uint8_t> BuildDib(const std::vector<RawFrame>& frames, double dpiX, double dpiY,
                              std::string* error) {
    if (error) error->clear();
    if (frames.empty()) return Fail(error, "no image data"), std::vector<uint8_t>{};
    const RawFrame& first = frames.front();
    const int bpl = first.bytesPerLine;
    if (bpl <= 0) return Fail(error, "bad line size"), std::vector<uint8_t>{};

    size_t lines = SIZE_MAX;
    for (const RawFrame& f : frames)
        lines = std::min(lines, f.data.size() / static_cast<size_t>(bpl));
    if (lines == 0 || lines > kMaxImageSide)
        return Fail(error, "no complete line"), std::vector<uint8_t>{};

    DibWriter writer;
    if (frames.size() == 1) {
        if (!writer.Begin(first.format, first.depth, first.pixelsPerLine, bpl,
                          static_cast<int>(lines), dpiX, dpiY, error))
            return {};
        for (size_t y = 0; y < lines; ++y)
            writer.Line(first.data.data() + y * static_cast<size_t>(bpl), static_cast<int>(y));
        return writer.Finish(static_cast<int>(lines));
    }

    // Three frames, one per colour: interleave each line, then write it as RGB.
    const RawFrame* planes[3] = {nullptr, nullptr, nullptr};
    if (frames.size() != 3) return Fail(error, "unexpected frame layout"), std::vector<uint8_t>{};
    for (const RawFrame& f : frames) {
        const int slot = f.format == FrameFormat::Red     ? 0
                         : f.format == FrameFormat::Green ? 1
                         : f.format == FrameFormat::Blue  ? 2
                                                          : -1;
        if (slot < 0 || planes[slot] || f.depth != first.depth ||
            f.pixelsPerLine != first.pixelsPerLine || f.bytesPerLine != bpl)
            return Fail(error, "inconsistent colour frames"), std::vector<uint8_t>{};
        planes[slot] = &f;
    }
    const int sampleBytes = first.depth == 16 ? 2 : 1;
    if (first.depth != 8 && first.depth != 16)
        return Fail(error, "unsupported depth"), std::vector<uint8_t>{};
    const size_t need = static_cast<size_t>(first.pixelsPerLine) * sampleBytes;
    if (static_cast<size_t>(bpl) < need)
        return Fail(error, "line shorter than its pixels"), std::vector<uint8_t>{};
    const int rgbLine = first.pixelsPerLine * 3 * sampleBytes;
    if (!writer.Begin(FrameFormat::Rgb, first.depth, first.pixelsPerLine, rgbLine,
                      static_cast<int>(lines), dpiX, dpiY, error))
        return {};
    std::vector<uint8_t> line(static_cast<size_t>(rgbLine));
    for (size_t y = 0; y < lines; ++y) {
        for (int c = 0; c < 3; ++c) {
            const uint8_t* in = planes[c]->data.data() + y * static_cast<size_t>(bpl);
            for (int x = 0; x < first.pixelsPerLine; ++x)
                std::memcpy(&line[(static_cast<size_t>(x) * 3 + c) * sampleBytes],
                            in + static_cast<size_t>(x) * sampleBytes,
                            static_cast<size_t>(sampleBytes));
        }
        writer.Line(line.data(), static_cast<int>(y));
    }
    return writer.Finish(static_cast<int>(lines));
}

}  // namespace sanedib

}  // namespace vellumo::scan

#include "scan/sane/dib_from_sane.h"

#include <cmath>
#include <cstring>

#include "imaging/image_buffer.h"

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

std::vector<uint8_t> BuildDib(const std::vector<RawFrame>& frames, double dpiX, double dpiY,
                              std::string* error) {
    if (error) error->clear();
    std::vector<uint8_t> empty;
    if (frames.empty()) return Fail(error, "no image data"), empty;
    const RawFrame& first = frames.front();
    const int depth = first.depth;
    const int width = first.pixelsPerLine;
    const int bpl = first.bytesPerLine;
    if (width <= 0 || bpl <= 0 || static_cast<uint32_t>(width) > kMaxImageSide)
        return Fail(error, "bad line size"), empty;
    if (depth != 1 && depth != 8 && depth != 16) return Fail(error, "unsupported depth"), empty;

    bool colour;
    const RawFrame* planes[3] = {nullptr, nullptr, nullptr};
    if (frames.size() == 1 &&
        (first.format == FrameFormat::Gray || first.format == FrameFormat::Rgb)) {
        colour = first.format == FrameFormat::Rgb;
    } else if (frames.size() == 3) {
        colour = true;
        for (const RawFrame& f : frames) {
            int slot = f.format == FrameFormat::Red     ? 0
                       : f.format == FrameFormat::Green ? 1
                       : f.format == FrameFormat::Blue  ? 2
                                                        : -1;
            if (slot < 0 || planes[slot] || f.depth != depth || f.pixelsPerLine != width ||
                f.bytesPerLine != bpl)
                return Fail(error, "inconsistent colour frames"), empty;
            planes[slot] = &f;
        }
    } else {
        return Fail(error, "unexpected frame layout"), empty;
    }
    if (colour && depth == 1) return Fail(error, "colour line art is not supported"), empty;

    const int samplesPerPixel = (colour && !planes[0]) ? 3 : 1;
    const size_t needBytes =
        (static_cast<size_t>(width) * samplesPerPixel * static_cast<size_t>(depth) + 7) / 8;
    if (static_cast<size_t>(bpl) < needBytes)
        return Fail(error, "line shorter than its pixels"), empty;

    size_t lines = first.data.size() / static_cast<size_t>(bpl);
    for (const RawFrame& f : frames)
        lines = std::min(lines, f.data.size() / static_cast<size_t>(bpl));
    if (lines == 0 || lines > kMaxImageSide) return Fail(error, "no complete line"), empty;
    const int height = static_cast<int>(lines);

    const int outBits = colour ? 24 : (depth == 1 ? 1 : 8);
    const int paletteSize = outBits == 24 ? 0 : (1 << outBits);
    const uint32_t rowBytes =
        RowBytesFor(static_cast<uint32_t>(width), static_cast<uint32_t>(outBits));
    const size_t headerBytes =
        sizeof(BitmapInfoHeader) + static_cast<size_t>(paletteSize) * sizeof(RgbQuad);
    const size_t pixelBytes = static_cast<size_t>(rowBytes) * lines;
    if (pixelBytes > kMaxPixelBytes) return Fail(error, "image too large"), empty;

    std::vector<uint8_t> dib(headerBytes + pixelBytes, 0);
    BitmapInfoHeader header{};
    header.biSize = sizeof(BitmapInfoHeader);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<uint16_t>(outBits);
    header.biCompression = 0;
    header.biSizeImage = static_cast<uint32_t>(pixelBytes);
    header.biXPelsPerMeter = PelsPerMeter(dpiX);
    header.biYPelsPerMeter = PelsPerMeter(dpiY);
    header.biClrUsed = static_cast<uint32_t>(paletteSize);
    header.biClrImportant = 0;
    std::memcpy(dib.data(), &header, sizeof header);
    RgbQuad* palette = reinterpret_cast<RgbQuad*>(dib.data() + sizeof(BitmapInfoHeader));
    for (int i = 0; i < paletteSize; ++i) {
        const uint8_t g = static_cast<uint8_t>(paletteSize == 2 ? i * 255 : i);
        palette[i] = RgbQuad{g, g, g, 0};
    }
    uint8_t* pixels = dib.data() + headerBytes;

    for (size_t y = 0; y < lines; ++y) {
        uint8_t* out = pixels + (lines - 1 - y) * rowBytes;
        const size_t at = y * static_cast<size_t>(bpl);
        if (!colour && depth == 1) {
            // SANE: 1 is black; ours: index 0 is black.
            const uint8_t* in = first.data.data() + at;
            const size_t full = static_cast<size_t>(width) / 8;
            for (size_t i = 0; i < full; ++i) out[i] = static_cast<uint8_t>(~in[i]);
            if (width % 8) {
                const uint8_t mask = static_cast<uint8_t>(0xFF << (8 - width % 8));
                out[full] = static_cast<uint8_t>(~in[full] & mask);
            }
        } else if (!colour) {
            const uint8_t* in = first.data.data() + at;
            if (depth == 8) {
                std::memcpy(out, in, static_cast<size_t>(width));
            } else {
                for (int x = 0; x < width; ++x) out[x] = Sample8(in, 16, static_cast<size_t>(x));
            }
        } else if (!planes[0]) {
            const uint8_t* in = first.data.data() + at;
            for (int x = 0; x < width; ++x) {
                const size_t s = static_cast<size_t>(x) * 3;
                out[x * 3 + 0] = Sample8(in, depth, s + 2);
                out[x * 3 + 1] = Sample8(in, depth, s + 1);
                out[x * 3 + 2] = Sample8(in, depth, s);
            }
        } else {
            const uint8_t* r = planes[0]->data.data() + at;
            const uint8_t* g = planes[1]->data.data() + at;
            const uint8_t* b = planes[2]->data.data() + at;
            for (int x = 0; x < width; ++x) {
                const size_t s = static_cast<size_t>(x);
                out[x * 3 + 0] = Sample8(b, depth, s);
                out[x * 3 + 1] = Sample8(g, depth, s);
                out[x * 3 + 2] = Sample8(r, depth, s);
            }
        }
    }
    return dib;
}

}  // namespace sanedib

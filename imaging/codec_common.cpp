#include "imaging/codec_common.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include "platform/regular_file.h"

namespace vellumo::imaging {

using namespace vellumo::platform;

namespace codec {

namespace {

constexpr double kMetresPerInch = 0.0254;

inline uint8_t PaletteGrey(const RgbQuad& entry) {
    return static_cast<uint8_t>((entry.rgbRed * 30 + entry.rgbGreen * 59 + entry.rgbBlue * 11) /
                                100);
}

inline bool BitAt(const uint8_t* row, uint32_t x) {
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

inline uint8_t Expand5(unsigned v) {
    return static_cast<uint8_t>((v << 3) | (v >> 2));
}

}  // namespace

namespace {
thread_local std::string imageProblem;
}  // namespace

void NoteImageProblem(const std::string& reason) {
    if (imageProblem.empty()) imageProblem = reason;
}

void ClearImageProblem() {
    imageProblem.clear();
}

const std::string& NotedImageProblem() {
    return imageProblem;
}

int ReadFileHead(const char* file, uint8_t* head, size_t capacity, size_t& got, long long& total) {
    got = 0;
    total = -1;
    FILE* stream = file ? vellumo::platform::OpenRegularFile(file) : nullptr;
    if (!stream) return kImgCannotOpen;
    got = std::fread(head, 1, capacity, stream);
    total = FileSize(stream);
    std::fclose(stream);
    return kImgOk;
}

int ReadWholeFile(const char* file, std::vector<uint8_t>& data, size_t maxBytes) {
    data.clear();
    if (!file) return kImgCannotOpen;
    FILE* stream = vellumo::platform::OpenRegularFile(file);
    if (!stream) return kImgCannotOpen;
    const long long size = FileSize(stream);
    if (size < 0) {
        std::fclose(stream);
        return kImgCannotOpen;
    }
    if (static_cast<unsigned long long>(size) > maxBytes) {
        std::fclose(stream);
        return kImgNoMemory;
    }
    try {
        data.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        std::fclose(stream);
        return kImgNoMemory;
    }
    const size_t got = data.empty() ? 0 : std::fread(data.data(), 1, data.size(), stream);
    std::fclose(stream);
    data.resize(got);
    return kImgOk;
}

long long FileSize(FILE* stream) {
    struct stat st {};
    if (fstat(fileno(stream), &st) != 0) return -1;
    if (!S_ISREG(st.st_mode)) return -1;
    return static_cast<long long>(st.st_size);
}

long long FileSize(const char* file) {
    struct stat st {};
    if (!file || stat(file, &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<long long>(st.st_size);
}

FileReader::~FileReader() {
    if (stream_) std::fclose(stream_);
}

int FileReader::open(const char* file) {
    stream_ = file ? std::fopen(file, "rb") : nullptr;
    if (!stream_) return kImgCannotOpen;
    const long long size = FileSize(stream_);
    if (size < 0) return kImgCannotOpen;
    size_ = static_cast<uint64_t>(size);
    buffer_.resize(size_t{1} << 16);
    pos_ = end_ = 0;
    return kImgOk;
}

bool FileReader::seek(uint64_t offset) {
    if (!stream_ || offset > size_) return false;
    pos_ = end_ = 0;
    return fseeko(stream_, static_cast<off_t>(offset), SEEK_SET) == 0;
}

const uint8_t* FileReader::refill(size_t n) {
    if (!stream_) return nullptr;
    // Keep what is left at the front and fill up behind it.
    const size_t left = end_ - pos_;
    std::memmove(buffer_.data(), buffer_.data() + pos_, left);
    if (buffer_.size() < n) buffer_.resize(n);
    pos_ = 0;
    end_ = left + std::fread(buffer_.data() + left, 1, buffer_.size() - left, stream_);
    if (end_ < n) return nullptr;
    pos_ = n;
    return buffer_.data();
}

OutputFile::~OutputFile() = default;

int OutputFile::open(const char* target) {
    if (!target || !*target) return kImgCannotOpen;
    if (!file_.open(target)) return kImgCannotOpen;
    stream_ = file_.stream();
    return kImgOk;
}

bool OutputFile::write(const void* data, size_t size) {
    if (!ok_ || !stream_) return false;
    if (size && std::fwrite(data, 1, size, stream_) != size) ok_ = false;
    return ok_;
}

void OutputFile::closeStream() {
    if (stream_ && std::ferror(stream_)) ok_ = false;
    file_.closeStream();
    stream_ = nullptr;
}

int OutputFile::commit() {
    if (file_.partialPath().empty()) return kImgCannotOpen;
    if (stream_ && std::ferror(stream_)) ok_ = false;
    stream_ = nullptr;
    if (!ok_) return kImgShortWrite;
    if (!file_.commit(false)) {
        const int e = file_.error();
        return e == ENOSPC || e == EFBIG || e == EIO || e == EDQUOT ? kImgShortWrite
                                                                    : kImgCannotOpen;
    }
    return kImgOk;
}

bool AcceptableDimensions(uint64_t width, uint64_t height, int bitsPerPixel) {
    if (width == 0 || height == 0) return false;
    if (width > kMaxImageSide || height > kMaxImageSide) return false;
    const uint64_t rowBytes = ((width * static_cast<uint64_t>(bitsPerPixel) + 31) / 32) * 4;
    return rowBytes * height <= kMaxPixelBytes;
}

int CheckLoadTarget(const ImageBuffer& image, int width, int height, int bitsPerPixel) {
    if (!image.header || !image.pixels) return kImgEmpty;
    if (ImageWidth(image) != width || ImageHeight(image) != height) return kImgEmpty;
    if (BitsPerPixel(image) != bitsPerPixel) return kImgBadDepth;
    return kImgOk;
}

int CheckSaveSource(const ImageBuffer& image) {
    if (!image.header || !image.pixels) return kImgEmpty;
    const int width = ImageWidth(image), height = ImageHeight(image);
    if (width <= 0 || height <= 0) return kImgEmpty;
    if (image.areaLeft > image.areaRight || image.areaTop > image.areaBottom) return kImgEmpty;
    if (image.areaRight >= static_cast<uint32_t>(width) ||
        image.areaBottom >= static_cast<uint32_t>(height))
        return kImgEmpty;
    const int bits = BitsPerPixel(image);
    if (bits != 1 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return kImgBadDepth;
    if (bits <= 8 && !image.palette) return kImgBadDepth;
    return kImgOk;
}

void AreaRowToGrey(const ImageBuffer& image, uint32_t y, uint8_t* out) {
    const uint8_t* row = RowPointer(image, image.areaTop + y);
    const uint32_t width = AreaWidth(image);
    const int bits = BitsPerPixel(image);
    if (bits == 1) {
        const uint8_t levels[2] = {PaletteGrey(image.palette[0]), PaletteGrey(image.palette[1])};
        for (uint32_t x = 0; x < width; ++x) out[x] = levels[BitAt(row, image.areaLeft + x)];
    } else if (bits == 8) {
        if (HasGreyRamp(image)) {
            std::memcpy(out, row + image.areaLeft, width);
            return;
        }
        uint8_t levels[256];
        for (int i = 0; i < 256; ++i)
            levels[i] = i < image.paletteSize ? PaletteGrey(image.palette[i]) : 0;
        for (uint32_t x = 0; x < width; ++x) out[x] = levels[row[image.areaLeft + x]];
    } else {
        std::vector<uint8_t> rgb(static_cast<size_t>(width) * 3);
        AreaRowToRgb(image, y, rgb.data());
        for (uint32_t x = 0; x < width; ++x)
            out[x] = static_cast<uint8_t>(
                (rgb[3 * x] * 30 + rgb[3 * x + 1] * 59 + rgb[3 * x + 2] * 11) / 100);
    }
}

void AreaRowToBgr(const ImageBuffer& image, uint32_t y, uint8_t* out) {
    const uint8_t* row = RowPointer(image, image.areaTop + y);
    const uint32_t width = AreaWidth(image);
    switch (BitsPerPixel(image)) {
        case 1:
            for (uint32_t x = 0; x < width; ++x) {
                const RgbQuad& c = image.palette[BitAt(row, image.areaLeft + x)];
                out[3 * x] = c.rgbBlue;
                out[3 * x + 1] = c.rgbGreen;
                out[3 * x + 2] = c.rgbRed;
            }
            break;
        case 8:
            for (uint32_t x = 0; x < width; ++x) {
                const uint8_t index = row[image.areaLeft + x];
                const RgbQuad c = index < image.paletteSize ? image.palette[index] : RgbQuad{};
                out[3 * x] = c.rgbBlue;
                out[3 * x + 1] = c.rgbGreen;
                out[3 * x + 2] = c.rgbRed;
            }
            break;
        case 16:
            // 5-5-5, blue in the low bits, as in a DIB.
            for (uint32_t x = 0; x < width; ++x) {
                const uint8_t* p = row + 2 * (image.areaLeft + x);
                const unsigned v = p[0] | (p[1] << 8);
                out[3 * x] = Expand5(v & 31);
                out[3 * x + 1] = Expand5((v >> 5) & 31);
                out[3 * x + 2] = Expand5((v >> 10) & 31);
            }
            break;
        case 24:
            std::memcpy(out, row + 3 * static_cast<size_t>(image.areaLeft),
                        static_cast<size_t>(width) * 3);
            break;
        case 32:
            for (uint32_t x = 0; x < width; ++x) {
                const uint8_t* p = row + 4 * static_cast<size_t>(image.areaLeft + x);
                out[3 * x] = p[0];
                out[3 * x + 1] = p[1];
                out[3 * x + 2] = p[2];
            }
            break;
        default:
            std::memset(out, 0, static_cast<size_t>(width) * 3);
    }
}

void AreaRowToRgb(const ImageBuffer& image, uint32_t y, uint8_t* out) {
    AreaRowToBgr(image, y, out);
    const uint32_t width = AreaWidth(image);
    for (uint32_t x = 0; x < width; ++x) std::swap(out[3 * x], out[3 * x + 2]);
}

void AreaRowBits(const ImageBuffer& image, uint32_t y, uint8_t* out) {
    const uint8_t* row = RowPointer(image, image.areaTop + y);
    const uint32_t width = AreaWidth(image);
    const size_t bytes = (width + 7) / 8;
    if (image.areaLeft % 8 == 0) {
        std::memcpy(out, row + image.areaLeft / 8, bytes);
    } else {
        std::memset(out, 0, bytes);
        for (uint32_t x = 0; x < width; ++x)
            if (BitAt(row, image.areaLeft + x))
                out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
    // Bits past the area's right edge are cleared so they never leak into a file.
    if (width % 8) out[bytes - 1] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
}

bool PaletteIsGrey(const ImageBuffer& image) {
    if (!image.palette) return false;
    for (int i = 0; i < image.paletteSize; ++i) {
        const RgbQuad& c = image.palette[i];
        if (c.rgbRed != c.rgbGreen || c.rgbGreen != c.rgbBlue) return false;
    }
    return true;
}

bool IsPlainGrey(const ImageBuffer& image) {
    const int bits = BitsPerPixel(image);
    if (bits != 1 && bits != 8) return false;
    return HasGreyRamp(image);
}

int32_t PelsPerMetre(double dpi) {
    if (!(dpi > 0) || dpi > 1e6) return 0;
    return static_cast<int32_t>(std::lround(dpi / kMetresPerInch));
}

double DpiFromPelsPerMetre(int32_t pelsPerMetre) {
    return pelsPerMetre > 0 ? pelsPerMetre * kMetresPerInch : 0.0;
}

double DpiForFile(int32_t pelsPerMetre) {
    const double exact = DpiFromPelsPerMetre(pelsPerMetre);
    const double whole = std::round(exact);
    return PelsPerMetre(whole) == pelsPerMetre ? whole : exact;
}

}  // namespace codec

}  // namespace vellumo::imaging

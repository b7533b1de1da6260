// Pieces the file codecs share: whole-file reads, saves that replace the target only when
// complete, plausibility checks on the sizes files claim, and row conversions between the
// image depths and plain grey or RGB rows.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "imaging/image_buffer.h"
#include "platform/replace_file.h"

namespace vellumo::imaging {

namespace codec {

// Reads the whole file (at most maxBytes) into data: 0, kImgCannotOpen or kImgNoMemory.
int ReadWholeFile(const char* file, std::vector<uint8_t>& data, size_t maxBytes = size_t{1} << 31);
// Reads the first bytes of a file for an inspect operation: up to `capacity` bytes into head,
// how many arrived in got and the file's size (or -1) in total. 0, or kImgCannotOpen.
int ReadFileHead(const char* file, uint8_t* head, size_t capacity, size_t& got, long long& total);
// Size of an open file, or -1.
long long FileSize(FILE* stream);
// Size of the named file, or -1.
long long FileSize(const char* file);

// Reads a file from front to back through a buffer of its own, so that a decoder streams its
// pixel data however large the file is, and never reads past the file's end.
class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // 0, or kImgCannotOpen (also for what is not a regular file).
    int open(const char* file);
    uint64_t size() const { return size_; }
    // Goes to offset (at most the size): false when the file cannot.
    bool seek(uint64_t offset);
    // The next n bytes, valid until the next call; null when the file ends first.
    const uint8_t* take(size_t n) {
        if (end_ - pos_ < n) return refill(n);
        const uint8_t* at = buffer_.data() + pos_;
        pos_ += n;
        return at;
    }

private:
    const uint8_t* refill(size_t n);
    FILE* stream_ = nullptr;
    uint64_t size_ = 0;
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0, end_ = 0;
};

// A file being saved. The data goes to a private file beside the target, which replaces the
// target only on commit(); on every other way out the partial file is removed, so a failed
// save never leaves a half-written file, and an existing file stays as it was. Only a regular
// file or a new name is replaced; a link is written through to its file.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // 0, or kImgCannotOpen when the file cannot be created there.
    int open(const char* target);
    FILE* stream() { return stream_; }
    // Writes bytes; remembers a failure, reported by commit().
    bool write(const void* data, size_t size);
    bool ok() const { return ok_ && stream_ != nullptr; }
    void fail() { ok_ = false; }
    // Closes the stream but keeps the file, for libraries that open the path themselves.
    void closeStream();
    const std::string& tempPath() const { return file_.partialPath(); }
    // Flushes, closes and moves the file into place: 0, kImgShortWrite, or kImgCannotOpen.
    int commit();

private:
    vellumo::platform::ReplacingFile file_;
    FILE* stream_ = nullptr;
    bool ok_ = true;
};

// True when a decoder may allocate for decodedBytes of output from a file of fileBytes
// compressed with a method whose output can be at most ratio times its input.
inline bool PlausibleSize(uint64_t decodedBytes, uint64_t fileBytes, uint64_t ratio) {
    return decodedBytes <= fileBytes * ratio + (uint64_t{1} << 16);
}
// True when width x height at the given depth is an image the program accepts.
bool AcceptableDimensions(uint64_t width, uint64_t height, int bitsPerPixel);

// The image is allocated with exactly these width, height and depth (load targets).
int CheckLoadTarget(const ImageBuffer& image, int width, int height, int bitsPerPixel);

// Unsaved image checks shared by the save operations: header present, area inside the image.
int CheckSaveSource(const ImageBuffer& image);

// The working area's row y (0 = top of the area) as grey bytes (one per pixel) through the
// colour table, for 1- and 8-bit images.
void AreaRowToGrey(const ImageBuffer& image, uint32_t y, uint8_t* out);
// The working area's row y as RGB (order: red, green, blue) or as BGR, for every depth.
void AreaRowToRgb(const ImageBuffer& image, uint32_t y, uint8_t* out);
void AreaRowToBgr(const ImageBuffer& image, uint32_t y, uint8_t* out);
// The working area's row y of a 1-bit image as packed bits starting at bit 7 of out[0].
void AreaRowBits(const ImageBuffer& image, uint32_t y, uint8_t* out);
// True when every colour-table entry of a 1- or 8-bit image is grey (red = green = blue).
bool PaletteIsGrey(const ImageBuffer& image);
// True when a 1- or 8-bit image can be written as plain grey levels: 8-bit with the grey ramp,
// or 1-bit with entry 0 black and entry 1 white.
bool IsPlainGrey(const ImageBuffer& image);

// Blends a colour value v with coverage alpha (0-255) onto white.
inline uint8_t OnWhite(unsigned v, unsigned alpha) {
    return static_cast<uint8_t>((v * alpha + 255u * (255u - alpha) + 127u) / 255u);
}

// Records why a decoder refuses the file it was given, for ImageFileProblem(); the first
// reason noted since the last read wins. Thread-local.
void NoteImageProblem(const std::string& reason);
void ClearImageProblem();
const std::string& NotedImageProblem();

// Resolution in pixels per metre from dots per inch, and the header's value back in dpi.
int32_t PelsPerMetre(double dpi);
double DpiFromPelsPerMetre(int32_t pelsPerMetre);
// The dpi to record in a file for the header's value: the whole number when that is what the
// value was made from (300 dpi stays 300, not 299.9994), else the exact conversion.
double DpiForFile(int32_t pelsPerMetre);

}  // namespace codec

}  // namespace vellumo::imaging

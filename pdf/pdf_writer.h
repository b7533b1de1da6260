// The low-level PDF file writer: numbered objects, streams whose length is written after them
// (so a page's data goes to the file as it is produced), the cross-reference table and the
// trailer. Writes through a stdio stream; every failure is remembered and reported by failed().
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vellumo::pdf {

class PdfWriter {
public:
    explicit PdfWriter(std::FILE* file);

    // Reserves the next object number.
    int reserveObject();
    // Starts object number (reserved before) at the current position.
    void beginObject(int number);
    void endObject();

    // Starts a stream object: "<< dictionary /Length n 0 R >> stream". The length object is
    // written by endStream, right after the stream.
    void beginStream(int number, const std::string& dictionary);
    void endStream();

    // A whole stream whose data is at hand: its length goes into the dictionary directly, which
    // saves the separate length object of beginStream.
    void writeStream(int number, const std::string& dictionary, const std::string& data);

    void write(const void* data, size_t size);
    void write(const std::string& text) { write(text.data(), text.size()); }
    void printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // From now on, objects that are not streams go into one compressed object stream, and the
    // cross-reference becomes a compressed stream too (PDF 1.5): small dictionaries then cost a
    // fraction of their text. The caller writes a 1.5 header.
    void packObjects() { packing_ = true; }

    // Cross-reference table and trailer; root and info are object numbers.
    void finish(int root, int info);

    bool failed() const { return failed_; }
    uint64_t offset() const { return offset_; }

private:
    void startObject(int number);
    void finishPacked(int root, int info);

    std::FILE* file_;
    uint64_t offset_ = 0;
    bool failed_ = false;
    std::vector<uint64_t> objectOffsets_;  // index = object number - 1; 0 = not yet written
    int streamNumber_ = 0;
    int lengthNumber_ = 0;
    uint64_t streamStart_ = 0;
    // Packed objects: their numbers in order, their text, and where each starts in it.
    bool packing_ = false;
    bool inPackedObject_ = false;
    std::string packed_;
    std::vector<std::pair<int, size_t>> packedObjects_;
};

// Compresses what it is given into the writer's current stream (zlib format, as /FlateDecode
// reads it).
class FlateSink {
public:
    FlateSink(PdfWriter& writer, int level);
    ~FlateSink();
    FlateSink(const FlateSink&) = delete;
    FlateSink& operator=(const FlateSink&) = delete;
    // A whole stream whose data is at hand: its length goes into the dictionary directly, which
    // saves the separate length object of beginStream.
    void writeStream(int number, const std::string& dictionary, const std::string& data);

    void write(const void* data, size_t size);
    void finish();
    bool failed() const { return failed_; }

private:
    void drain(int flush);
    PdfWriter& writer_;
    z_stream zs_{};
    std::vector<unsigned char> out_;
    bool failed_ = false;
    bool finished_ = false;
};

// The data compressed in the zlib format that /FlateDecode reads, at zlib's level (1 fastest,
// 9 smallest). Empty when zlib fails.
std::string Deflate(const std::string& data, int level = 9);

// Formats a number for a PDF file: at most two decimals, no trailing zeros.
std::string PdfNumber(double value);
// A PDF text string for the document information: a literal string with escapes when the text
// is plain ASCII, else UTF-16BE with a byte-order mark written as a hexadecimal string (the
// text is taken as UTF-8).
std::string PdfTextString(const std::string& text);

}  // namespace vellumo::pdf

#include "pdf/pdf_writer.h"

#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdarg>

namespace vellumo::pdf {

PdfWriter::PdfWriter(std::FILE* file) : file_(file) {}

int PdfWriter::reserveObject() {
    objectOffsets_.push_back(0);
    return static_cast<int>(objectOffsets_.size());
}

void PdfWriter::startObject(int number) {
    if (number < 1 || number > static_cast<int>(objectOffsets_.size())) {
        failed_ = true;
        return;
    }
    objectOffsets_[number - 1] = offset_;
    printf("%d 0 obj\n", number);
}

void PdfWriter::beginObject(int number) {
    if (!packing_) {
        startObject(number);
        return;
    }
    if (number < 1 || number > static_cast<int>(objectOffsets_.size())) {
        failed_ = true;
        return;
    }
    packedObjects_.emplace_back(number, packed_.size());
    inPackedObject_ = true;
}

void PdfWriter::endObject() {
    if (inPackedObject_) {
        packed_ += '\n';
        inPackedObject_ = false;
        return;
    }
    write("endobj\n");
}

void PdfWriter::beginStream(int number, const std::string& dictionary) {
    lengthNumber_ = reserveObject();
    streamNumber_ = number;
    startObject(number);
    write("<< " + dictionary);
    printf(" /Length %d 0 R >>\nstream\n", lengthNumber_);
    streamStart_ = offset_;
}

void PdfWriter::writeStream(int number, const std::string& dictionary, const std::string& data) {
    startObject(number);
    write("<<" + dictionary);
    printf("/Length %zu>>\nstream\n", data.size());
    write(data);
    write("\nendstream\nendobj\n");
}

void PdfWriter::endStream() {
    const uint64_t length = offset_ - streamStart_;
    write("\nendstream\nendobj\n");
    beginObject(lengthNumber_);
    printf("%" PRIu64 "\n", length);
    endObject();
    streamNumber_ = lengthNumber_ = 0;
}

void PdfWriter::write(const void* data, size_t size) {
    if (failed_ || size == 0) return;
    if (inPackedObject_) {
        packed_.append(static_cast<const char*>(data), size);
        return;
    }
    if (std::fwrite(data, 1, size, file_) != size) {
        failed_ = true;
        return;
    }
    offset_ += size;
}

void PdfWriter::printf(const char* format, ...) {
    char small[512];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0) {
        failed_ = true;
    } else if (static_cast<size_t>(n) < sizeof small) {
        write(small, static_cast<size_t>(n));
    } else {
        std::vector<char> large(static_cast<size_t>(n) + 1);
        std::vsnprintf(large.data(), large.size(), format, args);
        write(large.data(), static_cast<size_t>(n));
    }
    va_end(args);
}

void PdfWriter::finish(int root, int info) {
    if (!packedObjects_.empty()) {
        finishPacked(root, info);
        return;
    }
    const uint64_t xref = offset_;
    printf("xref\n0 %zu\n", objectOffsets_.size() + 1);
    write("0000000000 65535 f\r\n");
    for (uint64_t at : objectOffsets_) {
        if (at == 0 || at > 9999999999ULL) failed_ = true;  // every reserved object must be written
        printf("%010" PRIu64 " 00000 n\r\n", at);
    }
    printf("trailer\n<< /Size %zu /Root %d 0 R /Info %d 0 R >>\nstartxref\n%" PRIu64 "\n%%%%EOF\n",
           objectOffsets_.size() + 1, root, info, xref);
}

// The object stream with the packed objects, then the cross-reference stream that finds every
// object: in the file (type 1) or in the object stream (type 2).
void PdfWriter::finishPacked(int root, int info) {
    const int objectStream = reserveObject();
    std::string header;
    for (const auto& [number, at] : packedObjects_)
        header += std::to_string(number) + " " + std::to_string(at) + " ";
    const std::string packed = Deflate(header + packed_);
    if (packed.empty()) failed_ = true;
    writeStream(objectStream,
                "/Type/ObjStm/N " + std::to_string(packedObjects_.size()) + "/First " +
                    std::to_string(header.size()) + "/Filter/FlateDecode",
                packed);

    const int xrefStream = reserveObject();
    const uint64_t xref = offset_;
    objectOffsets_[xrefStream - 1] = xref;
    std::vector<std::pair<int, int>> inStream(objectOffsets_.size(), {0, 0});
    for (size_t i = 0; i < packedObjects_.size(); ++i)
        inStream[packedObjects_[i].first - 1] = {objectStream, static_cast<int>(i)};
    const int offsetBytes = xref > 0xFFFFFFFFULL ? 8 : 4;
    const int indexBytes = packedObjects_.size() > 0xFFFF ? 4 : 2;
    std::string entries;
    auto field = [&entries](uint64_t value, int bytes) {
        for (int b = bytes - 1; b >= 0; --b)
            entries += static_cast<char>((value >> (8 * b)) & 0xFF);
    };
    field(0, 1);
    field(0, offsetBytes);
    field(0xFFFF, indexBytes);
    for (size_t i = 0; i < objectOffsets_.size(); ++i) {
        if (inStream[i].first != 0) {
            field(2, 1);
            field(static_cast<uint64_t>(inStream[i].first), offsetBytes);
            field(static_cast<uint64_t>(inStream[i].second), indexBytes);
        } else {
            if (objectOffsets_[i] == 0) failed_ = true;  // every reserved object must be written
            field(1, 1);
            field(objectOffsets_[i], offsetBytes);
            field(0, indexBytes);
        }
    }
    const std::string packedEntries = Deflate(entries);
    if (packedEntries.empty()) failed_ = true;
    char dictionary[160];
    std::snprintf(dictionary, sizeof dictionary,
                  "/Type/XRef/Size %zu/W[1 %d %d]/Root %d 0 R/Info %d 0 R/Filter/FlateDecode",
                  objectOffsets_.size() + 1, offsetBytes, indexBytes, root, info);
    // Written in place: writeStream would record the offset again, which is the same.
    printf("%d 0 obj\n<<%s/Length %zu>>\nstream\n", xrefStream, dictionary, packedEntries.size());
    write(packedEntries);
    printf("\nendstream\nendobj\nstartxref\n%" PRIu64 "\n%%%%EOF\n", xref);
}

FlateSink::FlateSink(PdfWriter& writer, int level) : writer_(writer), out_(1 << 16) {
    if (deflateInit(&zs_, level) != Z_OK) failed_ = true;
}

FlateSink::~FlateSink() {
    if (!failed_ || finished_) deflateEnd(&zs_);
}

void FlateSink::drain(int flush) {
    int rc;
    do {
        zs_.next_out = out_.data();
        zs_.avail_out = static_cast<uInt>(out_.size());
        rc = deflate(&zs_, flush);
        if (rc == Z_STREAM_ERROR) {
            failed_ = true;
            return;
        }
        writer_.write(out_.data(), out_.size() - zs_.avail_out);
    } while (zs_.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
}

void FlateSink::write(const void* data, size_t size) {
    if (failed_ || finished_) return;
    auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const size_t part = size > (1u << 30) ? (1u << 30) : size;
        zs_.next_in = const_cast<unsigned char*>(p);
        zs_.avail_in = static_cast<uInt>(part);
        drain(Z_NO_FLUSH);
        if (failed_) return;
        p += part;
        size -= part;
    }
}

void FlateSink::finish() {
    if (failed_ || finished_) return;
    zs_.next_in = nullptr;
    zs_.avail_in = 0;
    drain(Z_FINISH);
    finished_ = true;
}

std::string Deflate(const std::string& data, int level) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                  level) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

std::string PdfNumber(double value) {
    // to_chars, unlike printf, ignores the locale: a decimal comma would break the file.
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, std::round(value * 100) / 100,
                                   std::chars_format::fixed, 2)
                         .ptr;
    std::string s(buf, end);
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

namespace {

// Decodes UTF-8 into code points; an invalid byte stands for itself (Latin-1).
std::vector<uint32_t> CodePoints(const std::string& text) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        int extra = c >= 0xF0 && c < 0xF8 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (c >= 0xF8 || (c >= 0x80 && c < 0xC0)) extra = -1;
        uint32_t cp = extra == 3 ? c & 7 : extra == 2 ? c & 15 : extra == 1 ? c & 31 : c;
        bool valid = extra >= 0 && i + extra < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (!valid || cp > 0x10FFFF) {
            out.push_back(c);
            ++i;
        } else {
            out.push_back(cp);
            i += extra + 1;
        }
    }
    return out;
}

}  // namespace

std::string PdfTextString(const std::string& text) {
    bool ascii = true;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    if (ascii) {
        std::string out = "(";
        for (char c : text) {
            if (c == '(' || c == ')' || c == '\\') out += '\\';
            if (c == '\n') {
                out += "\\n";
                continue;
            }
            if (c == '\r') {
                out += "\\r";
                continue;
            }
            out += c;
        }
        return out + ")";
    }
    std::string out = "<FEFF";
    char buf[8];
    for (uint32_t cp : CodePoints(text)) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            std::snprintf(buf, sizeof buf, "%04X", 0xD800 + (cp >> 10));
            out += buf;
            cp = 0xDC00 + (cp & 0x3FF);
        }
        std::snprintf(buf, sizeof buf, "%04X", cp);
        out += buf;
    }
    return out + ">";
}

}  // namespace vellumo::pdf

// The general stream filters of PDF: Flate and LZW (with the TIFF and PNG predictors), ASCIIHex,
// ASCII85 and RunLength. Every output is bounded; damaged data ends the decoding with a reason.
#include <zlib.h>

#include <cstring>

#include "pdf/pdf_reader.h"

namespace vellumo::pdf {

namespace {

long long ParamInt(const PdfObject& params, const char* key, long long fallback) {
    const PdfObject& v = params.get(key);
    if (v.type == PdfObject::Type::Int) return v.integer;
    if (v.type == PdfObject::Type::Real) return static_cast<long long>(v.real);
    return fallback;
}

bool Inflate(std::string_view in, std::string& out, size_t maxBytes, std::string& reason) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) {
        reason = "out of memory";
        return false;
    }
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    zs.avail_in = static_cast<uInt>(in.size());
    char buffer[1 << 16];
    int rc = Z_OK;
    while (rc == Z_OK) {
        zs.next_out = reinterpret_cast<Bytef*>(buffer);
        zs.avail_out = sizeof buffer;
        rc = inflate(&zs, Z_NO_FLUSH);
        const size_t produced = sizeof buffer - zs.avail_out;
        if (out.size() + produced > maxBytes) {
            inflateEnd(&zs);
            reason = "the data decodes to more than the reader accepts";
            return false;
        }
        out.append(buffer, produced);
        if (rc == Z_BUF_ERROR && zs.avail_in == 0) break;  // data ends without an end marker
        if (rc == Z_BUF_ERROR && produced > 0) rc = Z_OK;
    }
    inflateEnd(&zs);
    // Many writers end a stream early or add junk after it; what was decoded counts. Data
    // that breaks before giving anything is damaged.
    if (rc != Z_STREAM_END && rc != Z_BUF_ERROR && out.empty()) {
        reason = "the compressed data is damaged";
        return false;
    }
    return true;
}

bool LzwDecode(std::string_view in, bool earlyChange, std::string& out, size_t maxBytes,
               std::string& reason) {
    std::vector<std::string> table;
    auto reset = [&table] {
        table.clear();
        for (int i = 0; i < 256; ++i) table.emplace_back(1, static_cast<char>(i));
        table.emplace_back();  // 256 clear
        table.emplace_back();  // 257 end
    };
    reset();
    int codeBits = 9;
    unsigned long long bitBuffer = 0;
    int bitCount = 0;
    std::string previous;
    bool havePrevious = false;
    for (unsigned char c : in) {
        bitBuffer = (bitBuffer << 8) | c;
        bitCount += 8;
        while (bitCount >= codeBits) {
            const unsigned code = static_cast<unsigned>((bitBuffer >> (bitCount - codeBits)) &
                                                        ((1u << codeBits) - 1));
            bitCount -= codeBits;
            if (code == 256) {
                reset();
                codeBits = 9;
                havePrevious = false;
                continue;
            }
            if (code == 257) return true;
            std::string entry;
            if (code < table.size() && (code >= 258 || code < 256)) {
                entry = table[code];
            } else if (code == table.size() && havePrevious) {
                entry = previous + previous[0];
            } else {
                reason = "the LZW data is damaged";
                return false;
            }
            if (out.size() + entry.size() > maxBytes) {
                reason = "the data decodes to more than the reader accepts";
                return false;
            }
            out += entry;
            if (havePrevious && table.size() < 4096) table.push_back(previous + entry[0]);
            previous = std::move(entry);
            havePrevious = true;
            const size_t next = table.size() + (earlyChange ? 1 : 0);
            if (next >= 4096)
                codeBits = 12;
            else if (next >= 2048)
                codeBits = 12;
            else if (next >= 1024)
                codeBits = 11;
            else if (next >= 512)
                codeBits = 10;
        }
    }
    return true;
}

bool AsciiHex(std::string_view in, std::string& out) {
    int high = -1;
    for (unsigned char c : in) {
        if (c == '>') break;
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        if (high < 0) {
            high = v;
        } else {
            out += static_cast<char>(high * 16 + v);
            high = -1;
        }
    }
    if (high >= 0) out += static_cast<char>(high * 16);
    return true;
}

bool Ascii85(std::string_view in, std::string& out, std::string& reason) {
    unsigned long long tuple = 0;
    int count = 0;
    for (size_t i = 0; i < in.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(in[i]);
        if (c == '~') break;
        if (IsPdfWhite(c)) continue;
        if (c == 'z' && count == 0) {
            out.append(4, '\0');
            continue;
        }
        if (c < '!' || c > 'u') {
            reason = "the ASCII85 data is damaged";
            return false;
        }
        tuple = tuple * 85 + (c - '!');
        if (++count == 5) {
            if (tuple > 0xFFFFFFFFull) {
                reason = "the ASCII85 data is damaged";
                return false;
            }
            for (int k = 3; k >= 0; --k) out += static_cast<char>((tuple >> (8 * k)) & 0xFF);
            tuple = 0;
            count = 0;
        }
    }
    if (count > 1) {
        for (int k = count; k < 5; ++k) tuple = tuple * 85 + 84;
        for (int k = 0; k < count - 1; ++k)
            out += static_cast<char>((tuple >> (24 - 8 * k)) & 0xFF);
    }
    return true;
}

bool RunLength(std::string_view in, std::string& out, size_t maxBytes, std::string& reason) {
    for (size_t i = 0; i < in.size();) {
        const unsigned char n = static_cast<unsigned char>(in[i++]);
        if (n == 128) break;
        if (n < 128) {
            const size_t count = std::min<size_t>(n + 1u, in.size() - i);
            out.append(in.substr(i, count));
            i += count;
        } else if (i < in.size()) {
            out.append(257u - n, in[i++]);
        }
        if (out.size() > maxBytes) {
            reason = "the data decodes to more than the reader accepts";
            return false;
        }
    }
    return true;
}

// Undoes the TIFF (2) or PNG (10 to 15) predictor.
bool Unpredict(const PdfObject& params, std::string& data, std::string& reason) {
    const long long predictor = ParamInt(params, "Predictor", 1);
    if (predictor <= 1) return true;
    const long long colors = ParamInt(params, "Colors", 1);
    const long long bpc = ParamInt(params, "BitsPerComponent", 8);
    const long long columns = ParamInt(params, "Columns", 1);
    if (colors < 1 || colors > 32 || (bpc != 1 && bpc != 2 && bpc != 4 && bpc != 8 && bpc != 16) ||
        columns < 1 || columns > (1 << 24)) {
        reason = "the predictor's parameters are invalid";
        return false;
    }
    const size_t pixelBytes = static_cast<size_t>((colors * bpc + 7) / 8);
    const size_t rowBytes = static_cast<size_t>((colors * bpc * columns + 7) / 8);
    if (predictor == 2) {
        if (bpc != 8) {
            reason = "the TIFF predictor is supported for 8-bit samples only";
            return false;
        }
        for (size_t row = 0; row + rowBytes <= data.size(); row += rowBytes)
            for (size_t i = pixelBytes; i < rowBytes; ++i)
                data[row + i] = static_cast<char>(data[row + i] + data[row + i - pixelBytes]);
        return true;
    }
    if (predictor < 10) {
        reason = "unknown predictor " + std::to_string(predictor);
        return false;
    }
    std::string out;
    out.reserve(data.size() / (rowBytes + 1) * rowBytes);
    std::string previous(rowBytes, '\0');
    for (size_t at = 0; at + 1 <= data.size(); at += rowBytes + 1) {
        const unsigned type = static_cast<unsigned char>(data[at]);
        const size_t available = std::min(rowBytes, data.size() - at - 1);
        std::string row(rowBytes, '\0');
        std::memcpy(row.data(), data.data() + at + 1, available);
        auto u = [](char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)); };
        for (size_t i = 0; i < rowBytes; ++i) {
            const unsigned left = i >= pixelBytes ? u(row[i - pixelBytes]) : 0;
            const unsigned up = u(previous[i]);
            const unsigned upLeft = i >= pixelBytes ? u(previous[i - pixelBytes]) : 0;
            unsigned add = 0;
            switch (type) {
                case 0:
                    add = 0;
                    break;
                case 1:
                    add = left;
                    break;
                case 2:
                    add = up;
                    break;
                case 3:
                    add = (left + up) / 2;
                    break;
                case 4: {
                    const int p = static_cast<int>(left + up) - static_cast<int>(upLeft);
                    const int pa = std::abs(p - static_cast<int>(left));
                    const int pb = std::abs(p - static_cast<int>(up));
                    const int pc = std::abs(p - static_cast<int>(upLeft));
                    add = pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
                    break;
                }
                default:
                    reason = "the PNG predictor data is damaged";
                    return false;
            }
            row[i] = static_cast<char>(u(row[i]) + add);
        }
        out += row;
        previous.swap(row);
    }
    data.swap(out);
    return true;
}

}  // namespace

bool ApplyFilter(const std::string& name, const PdfObject& params, std::string_view in,
                 std::string& out, size_t maxBytes, std::string& reason) {
    out.clear();
    bool ok;
    if (name == "FlateDecode") {
        ok = Inflate(in, out, maxBytes, reason) && Unpredict(params, out, reason);
    } else if (name == "LZWDecode") {
        ok = LzwDecode(in, ParamInt(params, "EarlyChange", 1) != 0, out, maxBytes, reason) &&
             Unpredict(params, out, reason);
    } else if (name == "ASCIIHexDecode") {
        ok = AsciiHex(in, out);
    } else if (name == "ASCII85Decode") {
        ok = Ascii85(in, out, reason);
    } else if (name == "RunLengthDecode") {
        ok = RunLength(in, out, maxBytes, reason);
    } else {
        reason = "the filter " + name + " is not supported";
        return false;
    }
    if (ok && out.size() > maxBytes) {
        reason = "the data decodes to more than the reader accepts";
        return false;
    }
    return ok;
}

}  // namespace vellumo::pdf

#include "platform/password.h"

namespace vellumo::platform {

namespace {

unsigned char KeyByte(size_t position) {
    // Any byte sequence that differs from position to position serves; this one never repeats
    // within the 127 bytes a password may have.
    return static_cast<unsigned char>((0xA7 + 61 * position) ^ (position >> 1));
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool ValidUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t extra;
        unsigned min;
        unsigned cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= s.size()) return false;
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace

std::string ObscurePassword(const std::string& password) {
    size_t length = password.size();
    if (length > kMaxPasswordLength) {
        length = kMaxPasswordLength;
        // Step back over continuation bytes so no character is cut in half.
        while (length > 0 && (static_cast<unsigned char>(password[length]) & 0xC0) == 0x80)
            --length;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(length * 2);
    for (size_t i = 0; i < length; ++i) {
        const unsigned char b = static_cast<unsigned char>(password[i]) ^ KeyByte(i);
        out += kHex[b >> 4];
        out += kHex[b & 0x0F];
    }
    return out;
}

std::string RevealPassword(const std::string& stored) {
    if (stored.size() % 2 != 0 || stored.size() > 2 * kMaxPasswordLength) return {};
    std::string out;
    out.reserve(stored.size() / 2);
    for (size_t i = 0; i < stored.size(); i += 2) {
        const int hi = HexValue(stored[i]);
        const int lo = HexValue(stored[i + 1]);
        if (hi < 0 || lo < 0) return {};
        const unsigned char b = static_cast<unsigned char>((hi << 4) | lo) ^ KeyByte(i / 2);
        if (b == 0) return {};
        out += static_cast<char>(b);
    }
    if (!ValidUtf8(out)) return {};
    return out;
}

}  // namespace vellumo::platform

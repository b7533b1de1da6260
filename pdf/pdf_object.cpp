#include "pdf/pdf_object.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace vellumo::pdf {

namespace {

// Nesting deeper than this is no document a scanner or a PDF writer makes: a hostile file.
constexpr int kMaxDepth = 64;

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

const PdfObject& NullObject() {
    static const PdfObject null;
    return null;
}

const PdfObject& PdfObject::get(std::string_view key) const {
    if (!dict) return NullObject();
    for (const auto& [name, value] : *dict)
        if (name == key) return value;
    return NullObject();
}

const PdfObject& PdfObject::at(size_t i) const {
    return array && i < array->size() ? (*array)[i] : NullObject();
}

PdfObject PdfObject::Name(std::string name) {
    PdfObject o;
    o.type = Type::Name;
    o.text = std::move(name);
    return o;
}

PdfObject PdfObject::Int(long long value) {
    PdfObject o;
    o.type = Type::Int;
    o.integer = value;
    return o;
}

void PdfLexer::skipWhite() {
    while (pos_ < text_.size()) {
        const unsigned char c = static_cast<unsigned char>(text_[pos_]);
        if (IsPdfWhite(c)) {
            ++pos_;
        } else if (c == '%') {
            while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r') ++pos_;
        } else {
            break;
        }
    }
}

std::string_view PdfLexer::readRegular() {
    const size_t start = pos_;
    while (pos_ < text_.size()) {
        const unsigned char c = static_cast<unsigned char>(text_[pos_]);
        if (IsPdfWhite(c) || IsPdfDelimiter(c)) break;
        ++pos_;
    }
    return text_.substr(start, pos_ - start);
}

bool PdfLexer::acceptKeyword(std::string_view keyword) {
    skipWhite();
    if (text_.substr(pos_, keyword.size()) != keyword) return false;
    const size_t end = pos_ + keyword.size();
    if (end < text_.size()) {
        const unsigned char c = static_cast<unsigned char>(text_[end]);
        if (!IsPdfWhite(c) && !IsPdfDelimiter(c)) return false;
    }
    pos_ = end;
    return true;
}

PdfObject PdfLexer::readNumber() {
    const std::string_view token = readRegular();
    PdfObject o;
    bool real = false;
    for (char c : token)
        if (c == '.') real = true;
    if (!real) {
        long long value = 0;
        const char* begin = token.data() + (token.size() && token[0] == '+' ? 1 : 0);
        const auto [end, ec] = std::from_chars(begin, token.data() + token.size(), value);
        if (ec == std::errc() && end == token.data() + token.size()) {
            o.type = PdfObject::Type::Int;
            o.integer = value;
            return o;
        }
    }
    // Reals, and integers too large for 64 bits; writers also produce "-.5" and "5.".
    std::string copy(token);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end == copy.c_str()) ok_ = false;
    o.type = PdfObject::Type::Real;
    o.real = value;
    return o;
}

std::string PdfLexer::readName() {
    ++pos_;  // the slash
    const std::string_view raw = readRegular();
    std::string name;
    name.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '#' && i + 2 < raw.size()) {
            const int hi = HexValue(static_cast<unsigned char>(raw[i + 1]));
            const int lo = HexValue(static_cast<unsigned char>(raw[i + 2]));
            if (hi >= 0 && lo >= 0) {
                name += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        name += raw[i];
    }
    return name;
}

std::string PdfLexer::readLiteralString() {
    ++pos_;  // the opening parenthesis
    std::string out;
    int depth = 1;
    while (pos_ < text_.size()) {
        char c = text_[pos_++];
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth == 0) return out;
        } else if (c == '\\' && pos_ < text_.size()) {
            c = text_[pos_++];
            switch (c) {
                case 'n':
                    out += '\n';
                    continue;
                case 'r':
                    out += '\r';
                    continue;
                case 't':
                    out += '\t';
                    continue;
                case 'b':
                    out += '\b';
                    continue;
                case 'f':
                    out += '\f';
                    continue;
                case '\r':
                    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
                    continue;
                case '\n':
                    continue;
                default:
                    if (c >= '0' && c <= '7') {
                        int value = c - '0';
                        for (int k = 0; k < 2 && pos_ < text_.size() && text_[pos_] >= '0' &&
                                        text_[pos_] <= '7';
                             ++k)
                            value = value * 8 + (text_[pos_++] - '0');
                        out += static_cast<char>(value & 0xFF);
                        continue;
                    }
                    break;  // an escaped character stands for itself
            }
        }
        out += c;
    }
    ok_ = false;  // unterminated
    return out;
}

std::string PdfLexer::readHexString() {
    ++pos_;  // '<'
    std::string out;
    int high = -1;
    while (pos_ < text_.size()) {
        const unsigned char c = static_cast<unsigned char>(text_[pos_++]);
        if (c == '>') {
            if (high >= 0) out += static_cast<char>(high * 16);
            return out;
        }
        const int v = HexValue(c);
        if (v < 0) continue;  // white space (and junk) is skipped
        if (high < 0) {
            high = v;
        } else {
            out += static_cast<char>(high * 16 + v);
            high = -1;
        }
    }
    ok_ = false;
    return out;
}

PdfObject PdfLexer::readObject() {
    return readObjectAt(0);
}

PdfObject PdfLexer::readObjectAt(int depth) {
    skipWhite();
    PdfObject o;
    if (pos_ >= text_.size() || depth > kMaxDepth) {
        ok_ = false;
        return o;
    }
    const unsigned char c = static_cast<unsigned char>(text_[pos_]);
    if (c == '/') {
        o.type = PdfObject::Type::Name;
        o.text = readName();
        return o;
    }
    if (c == '(') {
        o.type = PdfObject::Type::String;
        o.text = readLiteralString();
        return o;
    }
    if (c == '<') {
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '<') {
            pos_ += 2;
            auto dict = std::make_shared<PdfDict>();
            while (true) {
                skipWhite();
                if (pos_ >= text_.size()) {
                    ok_ = false;
                    break;
                }
                if (text_[pos_] == '>') {
                    pos_ += pos_ + 1 < text_.size() && text_[pos_ + 1] == '>' ? 2 : 1;
                    break;
                }
                if (text_[pos_] != '/') {
                    // A damaged entry: skip one token and go on. Past the depth limit nothing is
                    // read, so at least one byte is skipped.
                    ok_ = false;
                    const size_t before = pos_;
                    readObjectAt(depth + 1);
                    if (pos_ == before) ++pos_;
                    if (pos_ >= text_.size()) break;
                    continue;
                }
                std::string key = readName();
                PdfObject value = readObjectAt(depth + 1);
                dict->emplace_back(std::move(key), std::move(value));
            }
            o.type = PdfObject::Type::Dict;
            o.dict = std::move(dict);
            return o;
        }
        o.type = PdfObject::Type::String;
        o.text = readHexString();
        return o;
    }
    if (c == '[') {
        ++pos_;
        auto array = std::make_shared<PdfArray>();
        while (true) {
            skipWhite();
            if (pos_ >= text_.size()) {
                ok_ = false;
                break;
            }
            if (text_[pos_] == ']') {
                ++pos_;
                break;
            }
            const size_t before = pos_;
            array->push_back(readObjectAt(depth + 1));
            if (pos_ == before) ++pos_;  // never stall on a stray delimiter
        }
        o.type = PdfObject::Type::Array;
        o.array = std::move(array);
        return o;
    }
    if (std::isdigit(c) || c == '+' || c == '-' || c == '.') {
        PdfObject number = readNumber();
        if (number.type == PdfObject::Type::Int && number.integer >= 0) {
            // "num gen R"?
            const size_t save = pos_;
            skipWhite();
            if (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
                PdfObject gen = readNumber();
                if (gen.type == PdfObject::Type::Int && acceptKeyword("R")) {
                    o.type = PdfObject::Type::Ref;
                    o.ref = PdfRef{static_cast<int>(number.integer), static_cast<int>(gen.integer)};
                    return o;
                }
            }
            pos_ = save;
        }
        return number;
    }
    const std::string_view word = readRegular();
    if (word == "true" || word == "false") {
        o.type = PdfObject::Type::Bool;
        o.boolean = word == "true";
    } else if (word != "null") {
        ok_ = false;
        if (word.empty()) ++pos_;  // a stray delimiter such as ')' or '}'
    }
    return o;
}

PdfObject PdfLexer::readToken(bool& isOperator) {
    isOperator = false;
    skipWhite();
    if (pos_ >= text_.size()) return PdfObject{};
    const unsigned char c = static_cast<unsigned char>(text_[pos_]);
    if (c == '/' || c == '(' || c == '<' || c == '[' || std::isdigit(c) || c == '+' || c == '-' ||
        c == '.') {
        // Operands; a number is never taken as a reference here (content has no references).
        if (std::isdigit(c) || c == '+' || c == '-' || c == '.') return readNumber();
        return readObjectAt(0);
    }
    if (c == ']' || c == '>' || c == ')' || c == '{' || c == '}') {
        ++pos_;
        ok_ = false;
        return readToken(isOperator);
    }
    const std::string_view word = readRegular();
    PdfObject o;
    if (word == "true" || word == "false") {
        o.type = PdfObject::Type::Bool;
        o.boolean = word == "true";
        return o;
    }
    if (word == "null") return o;
    isOperator = true;
    o.type = PdfObject::Type::Name;
    o.text = std::string(word);
    return o;
}

namespace {

void AppendName(std::string& out, const std::string& name) {
    out += '/';
    for (unsigned char c : name) {
        if (c < 0x21 || c > 0x7E || c == '#' || IsPdfDelimiter(c)) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "#%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
}

void Serialize(const PdfObject& o, const RefText& refText, std::string& out) {
    switch (o.type) {
        case PdfObject::Type::Null:
            out += "null";
            return;
        case PdfObject::Type::Bool:
            out += o.boolean ? "true" : "false";
            return;
        case PdfObject::Type::Int:
            out += std::to_string(o.integer);
            return;
        case PdfObject::Type::Real: {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.6f", o.real);
            std::string s = buf;
            while (!s.empty() && s.back() == '0') s.pop_back();
            if (!s.empty() && s.back() == '.') s.pop_back();
            if (s.empty() || s == "-") s = "0";
            out += s;
            return;
        }
        case PdfObject::Type::String: {
            static const char kHex[] = "0123456789ABCDEF";
            out += '<';
            for (unsigned char c : o.text) {
                out += kHex[c >> 4];
                out += kHex[c & 15];
            }
            out += '>';
            return;
        }
        case PdfObject::Type::Name:
            AppendName(out, o.text);
            return;
        case PdfObject::Type::Array:
            out += '[';
            if (o.array)
                for (size_t i = 0; i < o.array->size(); ++i) {
                    if (i) out += ' ';
                    Serialize((*o.array)[i], refText, out);
                }
            out += ']';
            return;
        case PdfObject::Type::Dict:
        case PdfObject::Type::Stream:
            out += "<<";
            if (o.dict)
                for (const auto& [key, value] : *o.dict) {
                    AppendName(out, key);
                    out += ' ';
                    Serialize(value, refText, out);
                }
            out += ">>";
            return;
        case PdfObject::Type::Ref:
            out += refText ? refText(o.ref)
                           : std::to_string(o.ref.num) + " " + std::to_string(o.ref.gen) + " R";
            return;
    }
}

}  // namespace

std::string SerializeObject(const PdfObject& object, const RefText& refText) {
    std::string out;
    Serialize(object, refText, out);
    return out;
}

}  // namespace vellumo::pdf

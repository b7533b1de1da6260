// The objects of a PDF file as our reader sees them: null, booleans, numbers, strings, names,
// arrays, dictionaries, references to indirect objects, and streams (a dictionary and where its
// data lies in the file). Values are small and copied freely; arrays and dictionaries share
// their contents.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vellumo::pdf {

struct PdfObject;
using PdfArray = std::vector<PdfObject>;
using PdfDict = std::vector<std::pair<std::string, PdfObject>>;

struct PdfRef {
    int num = 0;
    int gen = 0;
    bool operator==(const PdfRef&) const = default;
};

struct PdfObject {
    enum class Type { Null, Bool, Int, Real, String, Name, Array, Dict, Ref, Stream };
    Type type = Type::Null;
    bool boolean = false;
    long long integer = 0;
    double real = 0;
    std::string text;  // string bytes, or a name without its slash
    std::shared_ptr<const PdfArray> array;
    std::shared_ptr<const PdfDict> dict;  // dictionaries and the dictionary of a stream
    PdfRef ref;
    size_t streamOffset = 0;  // first byte of a stream's data in the file
    size_t streamLength = 0;  // its length as found in the file

    bool isNull() const { return type == Type::Null; }
    bool isNumber() const { return type == Type::Int || type == Type::Real; }
    bool isName(std::string_view name) const { return type == Type::Name && text == name; }
    bool isDict() const { return type == Type::Dict || type == Type::Stream; }
    double number() const { return type == Type::Int ? static_cast<double>(integer) : real; }
    // The value of a key of a dictionary or stream; null when absent (not resolved).
    const PdfObject& get(std::string_view key) const;
    size_t size() const { return array ? array->size() : 0; }
    const PdfObject& at(size_t i) const;

    static PdfObject Name(std::string name);
    static PdfObject Int(long long value);
};

const PdfObject& NullObject();

// Characters of the PDF syntax.
inline bool IsPdfWhite(unsigned char c) {
    return c == 0 || c == 9 || c == 10 || c == 12 || c == 13 || c == 32;
}
inline bool IsPdfDelimiter(unsigned char c) {
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
           c == '}' || c == '/' || c == '%';
}

// Reads objects and content-stream tokens from text (a file or a decoded stream). Errors do not
// throw: a malformed object reads as far as it can, and ok() turns false.
class PdfLexer {
public:
    explicit PdfLexer(std::string_view text, size_t pos = 0)
        : text_(text), pos_(pos < text.size() ? pos : text.size()) {}

    size_t pos() const { return pos_; }
    void seek(size_t pos) { pos_ = pos < text_.size() ? pos : text_.size(); }
    bool atEnd() {
        skipWhite();
        return pos_ >= text_.size();
    }
    bool ok() const { return ok_; }

    void skipWhite();
    // The next token is this keyword (followed by a delimiter or white space); consumed if so.
    bool acceptKeyword(std::string_view keyword);
    // One object; "num gen R" becomes a reference. Streams are not recognised here.
    PdfObject readObject();

    // Content streams: the next operand or operator. An operator comes back as a Name object
    // with isOperator set; the end of the text as Null with atEnd() true.
    PdfObject readToken(bool& isOperator);

private:
    PdfObject readObjectAt(int depth);
    PdfObject readNumber();
    std::string readName();
    std::string readLiteralString();
    std::string readHexString();
    std::string_view readRegular();

    std::string_view text_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// Writes an object back in PDF syntax. References become what refText makes of them (by default
// "n g R"), so that a copy can renumber the objects it refers to. Streams write their dictionary.
using RefText = std::function<std::string(const PdfRef&)>;
std::string SerializeObject(const PdfObject& object, const RefText& refText = nullptr);

}  // namespace vellumo::pdf

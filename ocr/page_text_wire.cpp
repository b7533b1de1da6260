#include "ocr/page_text_wire.h"

#include <cstdint>
#include <cstring>

namespace vellumo::ocr {

namespace {

constexpr char kMagic[4] = {'V', 'P', 'T', '1'};

template <typename T>
void Put(std::string& out, T value) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.append(bytes, sizeof(T));
}

void PutText(std::string& out, const std::string& text) {
    Put<uint32_t>(out, static_cast<uint32_t>(text.size()));
    out += text;
}

void PutBox(std::string& out, const Box& box) {
    for (int v : {box.left, box.top, box.right, box.bottom}) Put<int32_t>(out, v);
}

class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    template <typename T>
    bool get(T& value) {
        if (bytes_.size() - at_ < sizeof(T)) return false;
        std::memcpy(&value, bytes_.data() + at_, sizeof(T));
        at_ += sizeof(T);
        return true;
    }
    bool get(int& value) {
        int32_t v = 0;
        if (!get<int32_t>(v)) return false;
        value = v;
        return true;
    }
    bool text(std::string& out) {
        uint32_t size = 0;
        if (!get(size) || bytes_.size() - at_ < size) return false;
        out.assign(bytes_, at_, size);
        at_ += size;
        return true;
    }
    bool box(Box& b) { return get(b.left) && get(b.top) && get(b.right) && get(b.bottom); }
    // A count of items each at least `least` bytes long: no more than the bytes left can hold.
    bool count(uint32_t& n, size_t least) { return get(n) && n <= (bytes_.size() - at_) / least; }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    const std::string& bytes_;
    size_t at_ = 0;
};

}  // namespace

std::string EncodePageText(const PageText& text) {
    std::string out(kMagic, sizeof(kMagic));
    Put<int32_t>(out, text.imageWidth);
    Put<int32_t>(out, text.imageHeight);
    Put<double>(out, text.dpiX);
    Put<double>(out, text.dpiY);
    PutText(out, text.languages);
    Put<uint32_t>(out, static_cast<uint32_t>(text.lines.size()));
    for (const Line& line : text.lines) {
        Put<int32_t>(out, line.turn);
        PutBox(out, line.box);
        for (double v :
             {line.baselineStart.x, line.baselineStart.y, line.baselineEnd.x, line.baselineEnd.y})
            Put<double>(out, v);
        Put<int32_t>(out, line.block);
        Put<uint32_t>(out, static_cast<uint32_t>(line.words.size()));
        for (const Word& word : line.words) {
            PutText(out, word.text);
            PutBox(out, word.box);
            Put<float>(out, word.confidence);
        }
    }
    return out;
}

bool DecodePageText(const std::string& bytes, PageText& text) {
    if (bytes.size() < sizeof(kMagic) || std::memcmp(bytes.data(), kMagic, sizeof(kMagic)) != 0)
        return false;
    const std::string body = bytes.substr(sizeof(kMagic));
    Reader in(body);
    PageText t;
    uint32_t lines = 0;
    if (!in.get(t.imageWidth) || !in.get(t.imageHeight) || !in.get(t.dpiX) || !in.get(t.dpiY) ||
        !in.text(t.languages) || !in.count(lines, 60))
        return false;
    t.lines.resize(lines);
    for (Line& line : t.lines) {
        uint32_t words = 0;
        if (!in.get(line.turn) || !in.box(line.box) || !in.get(line.baselineStart.x) ||
            !in.get(line.baselineStart.y) || !in.get(line.baselineEnd.x) ||
            !in.get(line.baselineEnd.y) || !in.get(line.block) || !in.count(words, 24))
            return false;
        line.words.resize(words);
        for (Word& word : line.words)
            if (!in.text(word.text) || !in.box(word.box) || !in.get(word.confidence)) return false;
    }
    if (!in.atEnd()) return false;
    text = std::move(t);
    return true;
}

}  // namespace vellumo::ocr

#include "pdf/pdf_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <set>

namespace vellumo::pdf {

namespace {

// Limits that no honest file reaches and that keep a hostile one from taking the machine.
constexpr size_t kMaxObjects = size_t{8} << 20;
constexpr int kMaxResolveDepth = 32;
constexpr int kMaxXrefSections = 1024;
constexpr size_t kMaxPages = 100000;

long long IntValue(const PdfObject& o, long long fallback = 0) {
    if (o.type == PdfObject::Type::Int) return o.integer;
    if (o.type == PdfObject::Type::Real) return static_cast<long long>(o.real);
    return fallback;
}

// Finds the last occurrence of needle in the text.
size_t FindLast(std::string_view text, std::string_view needle) {
    return text.rfind(needle);
}

bool IsRegularBefore(std::string_view text, size_t pos) {
    return pos > 0 && !IsPdfWhite(static_cast<unsigned char>(text[pos - 1])) &&
           !IsPdfDelimiter(static_cast<unsigned char>(text[pos - 1]));
}

}  // namespace

PdfDocument::~PdfDocument() {
    if (map_) munmap(map_, mapSize_);
}

PdfStatus PdfDocument::open(const std::string& path, std::shared_ptr<PdfDocument>& doc,
                            std::string& reason) {
    doc.reset();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = std::string("cannot open the file: ") + std::strerror(errno);
        return PdfStatus::CannotOpen;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        reason = "not a regular file";
        return PdfStatus::CannotOpen;
    }
    std::shared_ptr<PdfDocument> d(new PdfDocument);
    d->path_ = path;
    if (st.st_size > 0) {
        d->mapSize_ = static_cast<size_t>(st.st_size);
        void* map = mmap(nullptr, d->mapSize_, PROT_READ, MAP_PRIVATE, fd, 0);
        if (map == MAP_FAILED) {
            ::close(fd);
            reason = std::string("cannot read the file: ") + std::strerror(errno);
            return PdfStatus::CannotOpen;
        }
        d->map_ = map;
        d->bytes_ = std::string_view(static_cast<const char*>(map), d->mapSize_);
    }
    ::close(fd);
    // The header may follow some junk (a mail header, a BOM) within the first kilobyte.
    const size_t header = d->bytes_.substr(0, 1024).find("%PDF-");
    if (header == std::string_view::npos) {
        reason = "the file is not a PDF document";
        return PdfStatus::NotPdf;
    }
    if (!d->readXref(reason)) return PdfStatus::Damaged;
    if (!d->trailer_.get("Encrypt").isNull()) d->encrypted_ = true;
    if (!d->readPageTree(reason)) return PdfStatus::Damaged;
    doc = std::move(d);
    return PdfStatus::Ok;
}

void PdfDocument::setEntry(size_t num, const XrefEntry& entry, bool overwrite) {
    if (num >= kMaxObjects) return;
    if (num >= xref_.size()) xref_.resize(num + 1);
    if (overwrite || xref_[num].type == 0) xref_[num] = entry;
}

bool PdfDocument::readXref(std::string& reason) {
    // The newest section comes first; older ones (/Prev) only fill what is still unknown.
    const size_t tail = bytes_.size() > 2048 ? bytes_.size() - 2048 : 0;
    const size_t at = FindLast(bytes_.substr(tail), "startxref");
    bool good = false;
    if (at != std::string_view::npos) {
        PdfLexer lex(bytes_, tail + at + 9);
        const PdfObject start = lex.readObject();
        if (start.type == PdfObject::Type::Int && start.integer > 0 &&
            static_cast<size_t>(start.integer) < bytes_.size()) {
            std::set<size_t> seen;
            size_t offset = static_cast<size_t>(start.integer);
            good = true;
            for (int n = 0; n < kMaxXrefSections && good; ++n) {
                if (!seen.insert(offset).second) break;  // a loop of /Prev
                bool isStream = false;
                if (!readXrefSection(offset, isStream)) {
                    good = false;
                    break;
                }
                const PdfObject& prev = sectionTrailer_.get("Prev");
                if (prev.type != PdfObject::Type::Int || prev.integer <= 0 ||
                    static_cast<size_t>(prev.integer) >= bytes_.size())
                    break;
                offset = static_cast<size_t>(prev.integer);
            }
        }
    }
    // Cross-reference data that points at the wrong places is as broken as missing data.
    if (good && trailer_.get("Root").type == PdfObject::Type::Ref) {
        const PdfObject root = object(trailer_.get("Root").ref);
        if (!root.isDict()) good = false;
    } else {
        good = false;
    }
    if (!good) {
        xref_.clear();
        seenNumbers_.clear();
        trailer_ = PdfObject{};
        {
            std::lock_guard<std::mutex> lock(cacheMutex_);
            objectCache_.clear();
            objectStreams_.clear();
        }
        rebuildXref();
    }
    if (trailer_.get("Root").type != PdfObject::Type::Ref) {
        reason = "the document catalog is missing";
        return false;
    }
    return true;
}

bool PdfDocument::readXrefSection(size_t offset, bool& isStream) {
    PdfLexer lex(bytes_, offset);
    if (lex.acceptKeyword("xref")) {
        isStream = false;
        return readXrefTable(lex.pos());
    }
    isStream = true;
    return readXrefStream(offset);
}

bool PdfDocument::readXrefTable(size_t offset) {
    PdfLexer lex(bytes_, offset);
    while (true) {
        if (lex.acceptKeyword("trailer")) break;
        const PdfObject first = lex.readObject();
        const PdfObject count = lex.readObject();
        if (first.type != PdfObject::Type::Int || count.type != PdfObject::Type::Int ||
            first.integer < 0 || count.integer < 0 ||
            static_cast<size_t>(first.integer + count.integer) > kMaxObjects)
            return false;
        for (long long i = 0; i < count.integer; ++i) {
            lex.skipWhite();
            // "oooooooooo ggggg n": read as three tokens, which also takes sloppy spacing.
            const PdfObject off = lex.readObject();
            const PdfObject gen = lex.readObject();
            lex.skipWhite();
            const size_t p = lex.pos();
            if (off.type != PdfObject::Type::Int || gen.type != PdfObject::Type::Int ||
                p >= bytes_.size())
                return false;
            const char kind = bytes_[p];
            lex.seek(p + 1);
            const size_t num = static_cast<size_t>(first.integer + i);
            XrefEntry e;
            if (kind == 'n' && off.integer > 0 &&
                static_cast<size_t>(off.integer) < bytes_.size()) {
                e.type = 1;
                e.offset = static_cast<size_t>(off.integer);
            } else if (kind != 'n' && kind != 'f') {
                return false;
            }
            // An entry of a newer section wins; a free entry still blocks older ones.
            if (seenNumbers_.count(num)) continue;
            seenNumbers_.insert(num);
            setEntry(num, e, true);
        }
    }
    const PdfObject trailer = lex.readObject();
    if (!trailer.isDict()) return false;
    sectionTrailer_ = trailer;
    if (trailer_.isNull()) trailer_ = trailer;
    // A hybrid file keeps its compressed objects in a stream named by /XRefStm.
    const PdfObject& stm = trailer.get("XRefStm");
    if (stm.type == PdfObject::Type::Int && stm.integer > 0 &&
        static_cast<size_t>(stm.integer) < bytes_.size()) {
        const PdfObject keep = sectionTrailer_;
        readXrefStream(static_cast<size_t>(stm.integer));
        sectionTrailer_ = keep;
    }
    return true;
}

bool PdfDocument::readXrefStream(size_t offset) {
    const PdfObject stream = parseObjectAt(offset, -1, 0);
    if (stream.type != PdfObject::Type::Stream || !stream.get("Type").isName("XRef")) return false;
    std::string data, reason;
    if (!decodeStream(stream, data, reason, nullptr, size_t{64} << 20)) return false;
    const PdfObject& w = stream.get("W");
    if (w.size() < 3) return false;
    int widths[3];
    for (int k = 0; k < 3; ++k) {
        widths[k] = static_cast<int>(IntValue(w.at(static_cast<size_t>(k)), -1));
        if (widths[k] < 0 || widths[k] > 8) return false;
    }
    const size_t rowBytes = static_cast<size_t>(widths[0] + widths[1] + widths[2]);
    if (rowBytes == 0) return false;
    std::vector<std::pair<long long, long long>> ranges;
    const PdfObject& index = stream.get("Index");
    if (index.size() >= 2) {
        for (size_t i = 0; i + 1 < index.size(); i += 2)
            ranges.emplace_back(IntValue(index.at(i), -1), IntValue(index.at(i + 1), -1));
    } else {
        ranges.emplace_back(0, IntValue(stream.get("Size"), 0));
    }
    size_t at = 0;
    auto field = [&](int k, long long fallback) -> unsigned long long {
        if (widths[k] == 0) return static_cast<unsigned long long>(fallback);
        unsigned long long v = 0;
        for (int b = 0; b < widths[k]; ++b) v = (v << 8) | static_cast<unsigned char>(data[at++]);
        return v;
    };
    for (const auto& [first, count] : ranges) {
        if (first < 0 || count < 0 || static_cast<size_t>(first + count) > kMaxObjects)
            return false;
        for (long long i = 0; i < count; ++i) {
            if (at + rowBytes > data.size()) break;
            const unsigned long long type = field(0, 1);
            const unsigned long long f2 = field(1, 0);
            const unsigned long long f3 = field(2, 0);
            const size_t num = static_cast<size_t>(first + i);
            if (seenNumbers_.count(num)) continue;
            seenNumbers_.insert(num);
            XrefEntry e;
            if (type == 1 && f2 > 0 && f2 < bytes_.size()) {
                e.type = 1;
                e.offset = static_cast<size_t>(f2);
            } else if (type == 2 && f2 < kMaxObjects) {
                e.type = 2;
                e.offset = static_cast<size_t>(f2);
                e.index = static_cast<unsigned>(f3);
            }
            setEntry(num, e, true);
        }
    }
    sectionTrailer_ = stream;
    if (trailer_.isNull()) trailer_ = stream;
    return true;
}

void PdfDocument::rebuildXref() {
    // Every "num gen obj" in the file, the last one of a number winning, as a reader that
    // appends updates would have it.
    std::vector<int> objectStreams;
    size_t pos = 0;
    while ((pos = bytes_.find("obj", pos)) != std::string_view::npos) {
        const size_t end = pos + 3;
        const bool endsWord = end >= bytes_.size() ||
                              IsPdfWhite(static_cast<unsigned char>(bytes_[end])) ||
                              IsPdfDelimiter(static_cast<unsigned char>(bytes_[end]));
        if (!endsWord || IsRegularBefore(bytes_, pos) ||
            (pos >= 3 && bytes_.substr(pos - 3, 3) == "end")) {
            pos = end;
            continue;
        }
        // Walk back over "num gen ".
        size_t p = pos;
        auto skipBackWhite = [&] {
            while (p > 0 && IsPdfWhite(static_cast<unsigned char>(bytes_[p - 1]))) --p;
        };
        auto skipBackDigits = [&] {
            const size_t before = p;
            while (p > 0 && std::isdigit(static_cast<unsigned char>(bytes_[p - 1]))) --p;
            return p < before;
        };
        skipBackWhite();
        bool ok = skipBackDigits();
        if (ok) {
            skipBackWhite();
            ok = skipBackDigits();
        }
        if (ok) {
            PdfLexer lex(bytes_, p);
            const PdfObject num = lex.readObject();  // "num gen" is read as numbers, not a ref
            if (num.type == PdfObject::Type::Int && num.integer > 0 &&
                static_cast<size_t>(num.integer) < kMaxObjects) {
                XrefEntry e;
                e.type = 1;
                e.offset = p;
                setEntry(static_cast<size_t>(num.integer), e, true);
            }
        }
        pos = end;
    }
    // Objects kept in object streams, and the trailer: the last "trailer" dictionary, else the
    // newest cross-reference stream, else whatever catalog there is.
    for (size_t num = 1; num < xref_.size(); ++num) {
        if (xref_[num].type != 1) continue;
        const PdfObject o = parseObjectAt(xref_[num].offset, static_cast<int>(num), 0);
        if (o.type != PdfObject::Type::Stream) continue;
        if (o.get("Type").isName("ObjStm")) objectStreams.push_back(static_cast<int>(num));
        if (o.get("Type").isName("XRef") && o.get("Root").type == PdfObject::Type::Ref)
            trailer_ = o;
    }
    for (int stm : objectStreams) {
        const PdfObject s = object(PdfRef{stm, 0});
        std::string data, reason;
        if (!decodeStream(s, data, reason, nullptr, size_t{64} << 20)) continue;
        PdfLexer lex(data);
        const long long n = IntValue(s.get("N"), 0);
        for (long long i = 0; i < n && i < 100000; ++i) {
            const PdfObject num = lex.readObject();
            const PdfObject off = lex.readObject();
            if (num.type != PdfObject::Type::Int || off.type != PdfObject::Type::Int) break;
            if (num.integer <= 0 || static_cast<size_t>(num.integer) >= kMaxObjects) continue;
            XrefEntry e;
            e.type = 2;
            e.offset = static_cast<size_t>(stm);
            e.index = static_cast<unsigned>(i);
            setEntry(static_cast<size_t>(num.integer), e, false);
        }
    }
    const size_t t = FindLast(bytes_, "trailer");
    if (t != std::string_view::npos) {
        PdfLexer lex(bytes_, t + 7);
        const PdfObject dict = lex.readObject();
        if (dict.get("Root").type == PdfObject::Type::Ref) trailer_ = dict;
    }
    if (trailer_.get("Root").type != PdfObject::Type::Ref) {
        for (size_t num = 1; num < xref_.size(); ++num) {
            if (xref_[num].type == 0) continue;
            const PdfObject o = object(PdfRef{static_cast<int>(num), 0});
            if (o.isDict() && o.get("Type").isName("Catalog")) {
                PdfObject ref;
                ref.type = PdfObject::Type::Ref;
                ref.ref = PdfRef{static_cast<int>(num), 0};
                auto dict = std::make_shared<PdfDict>();
                dict->emplace_back("Root", ref);
                trailer_.type = PdfObject::Type::Dict;
                trailer_.dict = dict;
                break;
            }
        }
    }
}

PdfObject PdfDocument::parseObjectAt(size_t offset, int expectedNum, int depth) const {
    PdfLexer lex(bytes_, offset);
    const PdfObject num = lex.readObject();
    // "12 0 obj" reads as the number 12 followed by 0 and the keyword.
    if (num.type != PdfObject::Type::Int) return PdfObject{};
    lex.skipWhite();
    const PdfObject gen = lex.readObject();
    if (gen.type != PdfObject::Type::Int || !lex.acceptKeyword("obj")) return PdfObject{};
    if (expectedNum >= 0 && num.integer != expectedNum) return PdfObject{};
    PdfObject o = lex.readObject();
    if (o.type != PdfObject::Type::Dict || !lex.acceptKeyword("stream")) return o;
    size_t start = lex.pos();
    if (start < bytes_.size() && bytes_[start] == '\r') ++start;
    if (start < bytes_.size() && bytes_[start] == '\n') ++start;
    o.type = PdfObject::Type::Stream;
    o.streamOffset = start;
    // The declared length, if it is sane and ends at "endstream"; else where "endstream" is.
    long long length = -1;
    const PdfObject& declared = o.get("Length");
    if (declared.type == PdfObject::Type::Int) {
        length = declared.integer;
    } else if (declared.type == PdfObject::Type::Ref && depth < kMaxResolveDepth) {
        const PdfObject value = objectAtDepth(declared.ref, depth + 1);
        if (value.type == PdfObject::Type::Int) length = value.integer;
    }
    bool fits = false;
    if (length >= 0 && start + static_cast<size_t>(length) <= bytes_.size()) {
        PdfLexer after(bytes_, start + static_cast<size_t>(length));
        fits = after.acceptKeyword("endstream");
    }
    if (!fits) {
        const size_t end = bytes_.find("endstream", start);
        size_t stop = end == std::string_view::npos ? bytes_.size() : end;
        if (stop > start && bytes_[stop - 1] == '\n') --stop;
        if (stop > start && bytes_[stop - 1] == '\r') --stop;
        length = static_cast<long long>(stop - start);
    }
    o.streamLength = static_cast<size_t>(length);
    return o;
}

PdfObject PdfDocument::objectInStream(int streamNum, unsigned index, int num, int depth) const {
    std::shared_ptr<const std::string> data;
    {
        std::lock_guard<std::mutex> lock(cacheMutex_);
        auto it = objectStreams_.find(streamNum);
        if (it != objectStreams_.end()) data = it->second;
    }
    const PdfObject stream = objectAtDepth(PdfRef{streamNum, 0}, depth + 1);
    if (stream.type != PdfObject::Type::Stream) return PdfObject{};
    if (!data) {
        auto decoded = std::make_shared<std::string>();
        std::string reason;
        if (!decodeStream(stream, *decoded, reason, nullptr, size_t{64} << 20)) return PdfObject{};
        data = decoded;
        std::lock_guard<std::mutex> lock(cacheMutex_);
        objectStreams_[streamNum] = data;
    }
    const long long first = IntValue(stream.get("First"), -1);
    const long long n = IntValue(stream.get("N"), 0);
    if (first < 0 || static_cast<size_t>(first) > data->size() ||
        static_cast<long long>(index) >= n)
        return PdfObject{};
    PdfLexer header(*data);
    for (unsigned i = 0; i <= index; ++i) {
        const PdfObject objNum = header.readObject();
        const PdfObject offset = header.readObject();
        if (objNum.type != PdfObject::Type::Int || offset.type != PdfObject::Type::Int)
            return PdfObject{};
        if (i == index) {
            if (objNum.integer != num || offset.integer < 0) return PdfObject{};
            PdfLexer lex(*data, static_cast<size_t>(first + offset.integer));
            PdfObject o = lex.readObject();
            // The lexer's strings and arrays own their data; nothing points into *data.
            return o;
        }
    }
    return PdfObject{};
}

PdfObject PdfDocument::object(PdfRef ref) const {
    return objectAtDepth(ref, 0);
}

PdfObject PdfDocument::objectAtDepth(PdfRef ref, int depth) const {
    if (ref.num <= 0 || static_cast<size_t>(ref.num) >= xref_.size() || depth > kMaxResolveDepth)
        return PdfObject{};
    {
        std::lock_guard<std::mutex> lock(cacheMutex_);
        auto it = objectCache_.find(ref.num);
        if (it != objectCache_.end()) return it->second;
    }
    const XrefEntry e = xref_[static_cast<size_t>(ref.num)];
    PdfObject o;
    if (e.type == 1)
        o = parseObjectAt(e.offset, ref.num, depth);
    else if (e.type == 2 && static_cast<int>(e.offset) != ref.num)
        o = objectInStream(static_cast<int>(e.offset), e.index, ref.num, depth);
    std::lock_guard<std::mutex> lock(cacheMutex_);
    if (objectCache_.size() < 100000) objectCache_[ref.num] = o;
    return o;
}

PdfObject PdfDocument::resolve(const PdfObject& o) const {
    PdfObject current = o;
    for (int i = 0; i < kMaxResolveDepth && current.type == PdfObject::Type::Ref; ++i)
        current = object(current.ref);
    return current.type == PdfObject::Type::Ref ? PdfObject{} : current;
}

bool PdfDocument::readPageTree(std::string& reason) {
    const PdfObject root = object(trailer_.get("Root").ref);
    if (!root.isDict()) {
        reason = "the document catalog cannot be read";
        return false;
    }
    const PdfObject tree = resolvedKey(root, "Pages");
    if (!tree.isDict()) {
        reason = "the page tree is missing";
        return false;
    }
    struct Inherited {
        PdfObject resources, mediaBox, cropBox, rotate;
    };
    std::set<int> visited;
    bool damaged = false;
    // Depth-first, in order; the attributes a node lacks come from its ancestors.
    std::function<void(const PdfObject&, const Inherited&, int)> walk = [&](const PdfObject& node,
                                                                            const Inherited& from,
                                                                            int depth) {
        if (depth > 64 || pages_.size() >= kMaxPages) {
            damaged = true;
            return;
        }
        Inherited here = from;
        if (!node.get("Resources").isNull()) here.resources = node.get("Resources");
        if (!node.get("MediaBox").isNull()) here.mediaBox = node.get("MediaBox");
        if (!node.get("CropBox").isNull()) here.cropBox = node.get("CropBox");
        if (!node.get("Rotate").isNull()) here.rotate = node.get("Rotate");
        const PdfObject kids = resolvedKey(node, "Kids");
        const bool isPage = node.get("Type").isName("Page") ||
                            (kids.type != PdfObject::Type::Array && !node.get("Contents").isNull());
        if (!isPage) {
            for (size_t i = 0; i < kids.size(); ++i) {
                const PdfObject& kid = kids.at(i);
                if (kid.type == PdfObject::Type::Ref && !visited.insert(kid.ref.num).second) {
                    damaged = true;  // a page tree that loops
                    continue;
                }
                const PdfObject child = resolve(kid);
                if (child.isDict())
                    walk(child, here, depth + 1);
                else
                    damaged = true;
            }
            return;
        }
        PdfPage page;
        page.dict = node;
        page.resources = resolve(here.resources);
        auto readBox = [this](const PdfObject& value, double box[4]) {
            const PdfObject b = resolve(value);
            if (b.size() != 4) return false;
            double v[4];
            for (size_t k = 0; k < 4; ++k) {
                const PdfObject n = resolve(b.at(k));
                if (!n.isNumber()) return false;
                v[k] = n.number();
            }
            box[0] = std::min(v[0], v[2]);
            box[1] = std::min(v[1], v[3]);
            box[2] = std::max(v[0], v[2]);
            box[3] = std::max(v[1], v[3]);
            return box[2] - box[0] > 0 && box[3] - box[1] > 0;
        };
        double media[4];
        if (readBox(here.mediaBox, media)) std::copy(media, media + 4, page.box);
        double crop[4];
        if (readBox(here.cropBox, crop)) {
            // The visible part is the crop box clipped to the media box.
            double clipped[4] = {std::max(crop[0], page.box[0]), std::max(crop[1], page.box[1]),
                                 std::min(crop[2], page.box[2]), std::min(crop[3], page.box[3])};
            if (clipped[2] > clipped[0] && clipped[3] > clipped[1])
                std::copy(clipped, clipped + 4, page.box);
        }
        const long long rotate = IntValue(resolve(here.rotate), 0);
        page.rotate = static_cast<int>(((rotate % 360) + 360) % 360 / 90 * 90);
        pages_.push_back(std::move(page));
    };
    walk(tree, Inherited{}, 0);
    if (pages_.empty()) {
        reason = damaged ? "the page tree is damaged" : "the document has no pages";
        return false;
    }
    return true;
}

std::string_view PdfDocument::rawStream(const PdfObject& stream) const {
    if (stream.type != PdfObject::Type::Stream || stream.streamOffset > bytes_.size()) return {};
    const size_t length = std::min(stream.streamLength, bytes_.size() - stream.streamOffset);
    return bytes_.substr(stream.streamOffset, length);
}

std::vector<std::string> FilterNames(const PdfObject& filter) {
    static const std::pair<const char*, const char*> kShort[] = {
        {"AHx", "ASCIIHexDecode"}, {"A85", "ASCII85Decode"},  {"LZW", "LZWDecode"},
        {"Fl", "FlateDecode"},     {"RL", "RunLengthDecode"}, {"CCF", "CCITTFaxDecode"},
        {"DCT", "DCTDecode"}};
    std::vector<std::string> names;
    auto add = [&names](const std::string& n) {
        for (const auto& [abbr, full] : kShort)
            if (n == abbr) {
                names.push_back(full);
                return;
            }
        names.push_back(n);
    };
    if (filter.type == PdfObject::Type::Name) add(filter.text);
    if (filter.type == PdfObject::Type::Array)
        for (size_t i = 0; i < filter.size(); ++i)
            if (filter.at(i).type == PdfObject::Type::Name) add(filter.at(i).text);
    return names;
}

bool PdfDocument::decodeStream(const PdfObject& stream, std::string& out, std::string& reason,
                               ImageFilter* imageFilter, size_t maxBytes) const {
    out.clear();
    if (imageFilter) *imageFilter = ImageFilter{};
    if (stream.type != PdfObject::Type::Stream) {
        reason = "not a stream";
        return false;
    }
    // A cross-reference stream is never encrypted; every other one is in an encrypted file.
    if (encrypted_ && !stream.get("Type").isName("XRef")) {
        reason = "the document is encrypted";
        return false;
    }
    const PdfObject filter = resolve(stream.get("Filter"));
    const std::vector<std::string> names = FilterNames(filter);
    PdfObject params = resolve(stream.get("DecodeParms"));
    if (params.isNull()) params = resolve(stream.get("DP"));
    std::string current(rawStream(stream));
    for (size_t i = 0; i < names.size(); ++i) {
        PdfObject p = params.type == PdfObject::Type::Array ? resolve(params.at(i)) : params;
        if (names.size() > 1 && params.type != PdfObject::Type::Array)
            p = i == 0 ? params : PdfObject{};
        const std::string& name = names[i];
        if (name == "DCTDecode" || name == "CCITTFaxDecode" || name == "JBIG2Decode" ||
            name == "JPXDecode") {
            if (!imageFilter || i + 1 != names.size()) {
                reason = "the data is compressed as an image (" + name + ")";
                return false;
            }
            imageFilter->name = name;
            imageFilter->params = p;
            break;
        }
        std::string next;
        if (!ApplyFilter(name, p, current, next, maxBytes, reason)) return false;
        current.swap(next);
    }
    out.swap(current);
    return true;
}

}  // namespace vellumo::pdf

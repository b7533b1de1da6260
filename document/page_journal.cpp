#include "document/page_journal.h"

#include <zlib.h>

#include <charconv>
#include <cstdio>
#include <optional>
#include <set>
#include <unordered_set>

#include "document/page_document.h"

namespace vellumo::document {

namespace {

// ---- The facts of a page ------------------------------------------------------------------------

// One fact of a page in the journal. A new fact of `Page` is one row here: its name, its value
// for the journal (nothing when the page has the default, which keeps lines short) and how it is
// read back (false: the value is not valid, and the journal counts as damaged).
struct PageField {
    const char* name;
    std::optional<std::string> (*write)(const Page& page);
    bool (*read)(Page& page, const std::string& value);
};

bool ReadFlag(const std::string& value, int& flag) {
    if (value != "0" && value != "1") return false;
    flag = value[0] - '0';
    return true;
}

// A page's place in its file: a non-negative decimal number, nothing else.
bool ReadPageIndex(const std::string& value, int& index) {
    const char* end = value.data() + value.size();
    const auto [ptr, ec] = std::from_chars(value.data(), end, index);
    return ec == std::errc() && ptr == end && !value.empty() && index >= 0;
}

const PageField kPageFields[] = {
    {"scanned",
     [](const Page& p) { return p.isScanned ? std::optional<std::string>("1") : std::nullopt; },
     [](Page& p, const std::string& v) { return ReadFlag(v, p.isScanned); }},
    {"source", [](const Page& p) { return std::optional<std::string>(p.sourcePath); },
     [](Page& p, const std::string& v) {
         p.sourcePath = v;
         return !v.empty();
     }},
    {"working",
     [](const Page& p) {
         return p.workingPath.empty() ? std::nullopt : std::optional<std::string>(p.workingPath);
     },
     [](Page& p, const std::string& v) {
         p.workingPath = v;
         return true;
     }},
    {"page",
     [](const Page& p) {
         return p.pageIndex == 0 ? std::nullopt
                                 : std::optional<std::string>(std::to_string(p.pageIndex));
     },
     [](Page& p, const std::string& v) { return ReadPageIndex(v, p.pageIndex); }},
};

// ---- Writing ------------------------------------------------------------------------------------

bool NeedsEscape(unsigned char c) {
    return c <= 0x20 || c == 0x7f || c == '%' || c == '=' || c == ',';
}

void AppendEscaped(std::string& out, std::string_view value) {
    static const char kHex[] = "0123456789ABCDEF";
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if (NeedsEscape(c)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
}

void AppendNumber(std::string& out, uint64_t value) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end);
}

// Ids as runs, "1-200,205,207-210": lists of loaded or scanned pages are mostly runs.
void AppendIds(std::string& out, const PageTable& table) {
    bool first = true;
    for (size_t i = 0; i < table.size();) {
        const uint64_t start = table[i]->id;
        size_t j = i + 1;
        while (j < table.size() && table[j]->id == table[j - 1]->id + 1) ++j;
        if (!first) out += ',';
        first = false;
        AppendNumber(out, start);
        if (j - i > 1) {
            out += '-';
            AppendNumber(out, table[j - 1]->id);
        }
        i = j;
    }
}

void AppendStep(std::string& out, const char* kind, const UndoStep& step) {
    out += kind;
    out += " action=";
    out += ActionKey(step.action);
    out += " serial=";
    AppendNumber(out, step.serial);
    out += " before=";
    if (step.before) AppendIds(out, *step.before);
    out += " after=";
    if (step.after) AppendIds(out, *step.after);
    out += '\n';
}

uint32_t Crc32(std::string_view text) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes at most 4 GB per call; a journal is far below that.
    return static_cast<uint32_t>(
        crc32(crc, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
}

// ---- Reading ------------------------------------------------------------------------------------

struct Line {
    std::string_view kind;
    std::vector<std::pair<std::string_view, std::string_view>> fields;
};

Line SplitLine(std::string_view text) {
    Line line;
    size_t at = text.find(' ');
    line.kind = text.substr(0, at);
    while (at != std::string_view::npos) {
        const size_t start = at + 1;
        at = text.find(' ', start);
        const std::string_view field =
            text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start);
        if (field.empty()) continue;
        const size_t eq = field.find('=');
        if (eq == std::string_view::npos)
            line.fields.emplace_back(field, std::string_view());
        else
            line.fields.emplace_back(field.substr(0, eq), field.substr(eq + 1));
    }
    return line;
}

const std::string_view* FieldOf(const Line& line, std::string_view name) {
    for (const auto& [key, value] : line.fields)
        if (key == name) return &value;
    return nullptr;
}

bool ParseNumber(std::string_view text, uint64_t& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// "1-3,7" into 1, 2, 3, 7; every id must be a known page.
bool ParseIds(std::string_view text, const std::unordered_set<uint64_t>& known,
              std::vector<uint64_t>& ids) {
    ids.clear();
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view run = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const size_t dash = run.find('-');
        uint64_t first = 0, last = 0;
        if (!ParseNumber(run.substr(0, dash), first)) return false;
        if (dash == std::string_view::npos)
            last = first;
        else if (!ParseNumber(run.substr(dash + 1), last) || last < first ||
                 last - first > known.size())
            return false;
        for (uint64_t id = first; id <= last; ++id) {
            if (!known.count(id)) return false;
            ids.push_back(id);
        }
    }
    return true;
}

bool ParseStep(const Line& line, const std::unordered_set<uint64_t>& known,
               JournalContents::Step& step) {
    const std::string_view* action = FieldOf(line, "action");
    const std::string_view* serial = FieldOf(line, "serial");
    const std::string_view* before = FieldOf(line, "before");
    const std::string_view* after = FieldOf(line, "after");
    return action && serial && before && after &&
           ParseActionKey(std::string(*action), step.action) && ParseNumber(*serial, step.serial) &&
           ParseIds(*before, known, step.before) && ParseIds(*after, known, step.after);
}

bool Fail(std::string& error, const std::string& why, size_t lineNumber = 0) {
    error = lineNumber ? "line " + std::to_string(lineNumber) + ": " + why : why;
    return false;
}

}  // namespace

std::string EscapeField(std::string_view value) {
    std::string out;
    AppendEscaped(out, value);
    return out;
}

bool UnescapeField(std::string_view text, std::string& value) {
    value.clear();
    value.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            value += text[i];
            continue;
        }
        unsigned code = 0;
        if (i + 2 >= text.size()) return false;
        const auto [end, ec] = std::from_chars(text.data() + i + 1, text.data() + i + 3, code, 16);
        if (ec != std::errc() || end != text.data() + i + 3) return false;
        value += static_cast<char>(code);
        i += 2;
    }
    return true;
}

std::string FormatJournal(uint64_t sequence, const std::map<uint64_t, const Page*>& versions,
                          const PageTable& list, const UndoHistory& history) {
    std::string out;
    out.reserve(128 + versions.size() * 96);
    out += "vellumo-pages version=";
    AppendNumber(out, kJournalVersion);
    out += " sequence=";
    AppendNumber(out, sequence);
    out += '\n';
    for (const auto& [id, page] : versions) {
        out += "page id=";
        AppendNumber(out, id);
        for (const PageField& field : kPageFields) {
            const std::optional<std::string> value = field.write(*page);
            if (!value) continue;
            out += ' ';
            out += field.name;
            out += '=';
            AppendEscaped(out, *value);
        }
        out += '\n';
    }
    out += "list pages=";
    AppendIds(out, list);
    out += '\n';
    for (const UndoStep& step : history.undoSteps()) AppendStep(out, "undo", step);
    for (const UndoStep& step : history.redoSteps()) AppendStep(out, "redo", step);
    char end[32];
    std::snprintf(end, sizeof end, "end crc32=%08x\n", Crc32(out));
    out += end;
    return out;
}

uint64_t JournalSequence(std::string_view text) {
    const Line first = SplitLine(text.substr(0, text.find('\n')));
    uint64_t sequence = 0;
    const std::string_view* value = FieldOf(first, "sequence");
    if (first.kind != "vellumo-pages" || !value || !ParseNumber(*value, sequence)) return 0;
    return sequence;
}

bool ParseJournal(std::string_view text, JournalContents& contents, std::string& error) {
    contents = JournalContents{};
    // The last line closes the journal and holds the checksum of everything before it.
    if (text.empty() || text.back() != '\n') return Fail(error, "the journal is cut short");
    const size_t endLine = text.rfind('\n', text.size() - 2);
    const std::string_view body =
        text.substr(0, endLine == std::string_view::npos ? 0 : endLine + 1);
    const Line end = SplitLine(text.substr(body.size(), text.size() - body.size() - 1));
    const std::string_view* crc = FieldOf(end, "crc32");
    if (end.kind != "end" || !crc) return Fail(error, "the journal is cut short");
    char expected[16];
    std::snprintf(expected, sizeof expected, "%08x", Crc32(body));
    if (*crc != expected) return Fail(error, "the checksum does not match");

    std::unordered_set<uint64_t> known;
    bool haveList = false;
    size_t lineNumber = 0;
    for (size_t at = 0; at < body.size();) {
        const size_t next = body.find('\n', at);
        const Line line = SplitLine(body.substr(at, next - at));
        at = next + 1;
        ++lineNumber;
        if (lineNumber == 1) {
            const std::string_view* version = FieldOf(line, "version");
            uint64_t number = 0;
            if (line.kind != "vellumo-pages" || !version || !ParseNumber(*version, number) ||
                number == 0)
                return Fail(error, "not a journal of pages", lineNumber);
            const std::string_view* sequence = FieldOf(line, "sequence");
            if (!sequence || !ParseNumber(*sequence, contents.sequence))
                return Fail(error, "no sequence number", lineNumber);
            continue;
        }
        if (line.kind == "page") {
            Page page;
            const std::string_view* id = FieldOf(line, "id");
            if (!id || !ParseNumber(*id, page.id) || page.id == 0 || !known.insert(page.id).second)
                return Fail(error, "a page without a valid, unique id", lineNumber);
            for (const PageField& field : kPageFields) {
                const std::string_view* raw = FieldOf(line, field.name);
                if (!raw) continue;
                std::string value;
                if (!UnescapeField(*raw, value) || !field.read(page, value))
                    return Fail(error, std::string("a bad value of ") + field.name, lineNumber);
            }
            if (page.sourcePath.empty()) return Fail(error, "a page without its file", lineNumber);
            contents.pages.push_back(std::move(page));
        } else if (line.kind == "list") {
            const std::string_view* ids = FieldOf(line, "pages");
            if (!ids || !ParseIds(*ids, known, contents.list))
                return Fail(error, "a list naming unknown pages", lineNumber);
            haveList = true;
        } else if (line.kind == "undo" || line.kind == "redo") {
            JournalContents::Step step;
            if (!ParseStep(line, known, step))
                return Fail(error, "a step naming unknown pages", lineNumber);
            (line.kind == "undo" ? contents.undo : contents.redo).push_back(std::move(step));
        }
        // Lines of kinds this program does not know are left to the programs that wrote them.
    }
    if (lineNumber == 0) return Fail(error, "not a journal of pages");
    if (!haveList) return Fail(error, "the journal has no list");
    return true;
}

}  // namespace vellumo::document

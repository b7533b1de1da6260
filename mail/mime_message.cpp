#include "mail/mime_message.h"

#include <sys/stat.h>

#include "platform/regular_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <map>
#include <random>

namespace vellumo::mail {

namespace {

constexpr size_t kMaxLine = 78;
// Bytes of UTF-8 text per encoded word: 39 bytes are 52 base64 characters, so the word
// "=?UTF-8?B?...?=" is 64 characters and fits a folded line after a field name.
constexpr size_t kEncodedWordBytes = 39;

bool IsAscii(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return (unsigned char)c < 0x80; });
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower((unsigned char)x) == std::tolower((unsigned char)y);
           });
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

std::string SanitiseValue(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        unsigned char u = (unsigned char)c;
        out += (u < 0x20 || u == 0x7f) ? ' ' : c;
    }
    // Leading and trailing blanks carry no meaning in a field body.
    const auto first = out.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

bool ValidFieldName(const std::string& name) {
    if (name.empty() || name.size() > 76) return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return c >= 33 && c <= 126 && c != ':'; });
}

bool IsAddressField(const std::string& name) {
    static const char* const kFields[] = {"From", "To", "Cc", "Bcc", "Reply-To", "Sender"};
    return std::any_of(std::begin(kFields), std::end(kFields),
                       [&](const char* f) { return EqualsNoCase(name, f); });
}

// Encoded words for a run of UTF-8 text, never splitting a character between two words.
std::vector<std::string> EncodedWords(const std::string& text) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = std::min(text.size(), start + kEncodedWordBytes);
        while (end < text.size() && end > start + 1 && ((unsigned char)text[end] & 0xC0) == 0x80)
            --end;
        words.push_back("=?UTF-8?B?" + mime::Base64(text.substr(start, end - start)) + "?=");
        start = end;
    }
    return words;
}

// Splits an address list at commas (and, when asked, semicolons) that are not inside quotes or
// angle brackets.
std::vector<std::string> SplitAddressList(const std::string& value, bool semicolons = false) {
    std::vector<std::string> parts;
    std::string current;
    bool quoted = false;
    int angle = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\\' && quoted && i + 1 < value.size()) {
            current += c;
            current += value[++i];
            continue;
        }
        if (c == '"') quoted = !quoted;
        if (!quoted && c == '<') ++angle;
        if (!quoted && c == '>' && angle > 0) --angle;
        if ((c == ',' || (semicolons && c == ';')) && !quoted && angle == 0) {
            parts.push_back(current);
            current.clear();
            continue;
        }
        current += c;
    }
    parts.push_back(current);
    return parts;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Tokens of one field body, separated where a fold may go. Display names with non-ASCII text
// become encoded words; the addresses themselves are never touched.
std::vector<std::string> FieldTokens(const std::string& name, const std::string& value) {
    std::vector<std::string> tokens;
    auto addWords = [&](const std::string& text) {
        size_t pos = 0;
        while (pos < text.size()) {
            size_t space = text.find(' ', pos);
            if (space == std::string::npos) space = text.size();
            // Empty tokens keep runs of blanks as the user typed them.
            tokens.push_back(text.substr(pos, space - pos));
            pos = space + 1;
        }
    };
    const bool address = IsAddressField(name);
    if (IsAscii(value)) {
        addWords(value);
        if (address) return tokens;
        // A word too long for any line of its own (a 1200-character subject without a blank)
        // becomes encoded words, which may be folded between them.
        const size_t longest = kMaxLine - name.size() - 2;
        std::vector<std::string> folded;
        for (auto& token : tokens) {
            if (token.size() <= longest) {
                folded.push_back(std::move(token));
            } else {
                for (auto& word : EncodedWords(token)) folded.push_back(std::move(word));
            }
        }
        return folded;
    }
    if (!address) {
        for (auto& word : EncodedWords(value)) tokens.push_back(std::move(word));
        return tokens;
    }
    const auto mailboxes = SplitAddressList(value);
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        std::string mailbox = Trim(mailboxes[i]);
        const std::string separator = i + 1 < mailboxes.size() ? "," : "";
        const auto open = mailbox.rfind('<');
        std::string display = open == std::string::npos ? "" : Trim(mailbox.substr(0, open));
        if (open != std::string::npos && !IsAscii(display)) {
            if (display.size() >= 2 && display.front() == '"' && display.back() == '"')
                display = display.substr(1, display.size() - 2);
            for (auto& word : EncodedWords(display)) tokens.push_back(std::move(word));
            tokens.push_back(Trim(mailbox.substr(open)) + separator);
        } else {
            addWords(mailbox + separator);
        }
    }
    // An address itself with letters beyond ASCII stays as it is: encoded words are not allowed
    // in addresses, and such a message goes out only with SMTPUTF8 (RFC 6532), which carries
    // UTF-8 headers. Other words beyond ASCII (a display name without quotes) are encoded.
    std::vector<std::string> safe;
    for (auto& token : tokens) {
        if (IsAscii(token) || token.find('@') != std::string::npos) {
            safe.push_back(std::move(token));
        } else {
            for (auto& word : EncodedWords(token)) safe.push_back(std::move(word));
        }
    }
    return safe;
}

std::string Hex(const unsigned char* bytes, size_t n) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 15];
    }
    return out;
}

std::string RandomHex(size_t bytes) {
    std::random_device device;
    std::vector<unsigned char> data(bytes);
    for (auto& b : data) b = (unsigned char)(device() & 0xFF);
    return Hex(data.data(), data.size());
}

// The domain of the first address in a field, for the Message-ID; a fixed name without one.
std::string DomainOf(const std::string& address) {
    const auto at = address.rfind('@');
    std::string domain;
    if (at != std::string::npos) {
        for (size_t i = at + 1; i < address.size(); ++i) {
            char c = address[i];
            if (std::isalnum((unsigned char)c) || c == '.' || c == '-')
                domain += c;
            else
                break;
        }
    }
    return domain.empty() ? "vellumo.localdomain" : domain;
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class FileWriter {
public:
    // The message file is the program's own, made beforehand: written without following a
    // link that someone may have put in its place.
    explicit FileWriter(const std::string& path)
        : file_(vellumo::platform::OpenPrivateFileForWriting(path, false)) {}
    ~FileWriter() {
        if (file_) std::fclose(file_);
    }
    bool open() const { return file_ != nullptr; }
    void put(const std::string& s) {
        if (ok_ && std::fwrite(s.data(), 1, s.size(), file_) != s.size()) ok_ = false;
    }
    bool close() {
        bool ok = ok_ && std::fflush(file_) == 0;
        ok = (std::fclose(file_) == 0) && ok;
        file_ = nullptr;
        return ok;
    }

private:
    std::FILE* file_;
    bool ok_ = true;
};

// Streams a file as base64 in lines of 76 characters; false when it cannot be read fully.
bool WriteBase64File(FileWriter& out, const std::string& path) {
    std::FILE* in = vellumo::platform::OpenRegularFile(path);
    if (!in) return false;
    constexpr size_t kLineBytes = 57;  // 76 base64 characters
    std::vector<char> buffer(kLineBytes * 1024);
    bool ok = true;
    for (;;) {
        // Always fill whole lines, so only the very last line may be short.
        size_t filled = 0;
        while (filled < buffer.size()) {
            size_t n = std::fread(buffer.data() + filled, 1, buffer.size() - filled, in);
            if (n == 0) break;
            filled += n;
        }
        if (std::ferror(in)) ok = false;
        if (filled == 0 || !ok) break;
        std::string chunk;
        chunk.reserve(filled / 57 * 78 + 80);
        for (size_t pos = 0; pos < filled; pos += kLineBytes) {
            chunk +=
                mime::Base64(std::string(buffer.data() + pos, std::min(kLineBytes, filled - pos)));
            chunk += "\r\n";
        }
        out.put(chunk);
        if (filled < buffer.size()) break;
    }
    std::fclose(in);
    return ok;
}

struct BodyEncoding {
    std::string name;
    std::string text;
};

BodyEncoding EncodeBody(const std::string& body, const std::string& boundary) {
    std::string crlf = mime::ToCrlf(body);
    bool plain = true;
    size_t lineLength = 0, unsafe = 0;
    for (char c : crlf) {
        unsigned char u = (unsigned char)c;
        if (c == '\r') continue;
        if (c == '\n') {
            lineLength = 0;
            continue;
        }
        if (++lineLength > 998) plain = false;
        if (u >= 0x80 || (u < 0x20 && c != '\t') || u == 0x7f) {
            plain = false;
            ++unsafe;
        }
    }
    if (!boundary.empty() && crlf.find(boundary) != std::string::npos) plain = false;
    if (plain) return {"7bit", crlf};
    if (unsafe * 3 > crlf.size()) {
        // Mostly non-Latin text: base64 is the shorter form.
        std::string out;
        for (size_t pos = 0; pos < crlf.size(); pos += 57)
            out += mime::Base64(crlf.substr(pos, 57)) + "\r\n";
        return {"base64", out};
    }
    return {"quoted-printable", mime::QuotedPrintable(crlf)};
}

}  // namespace

namespace mime {

std::string Base64(const std::string& bytes) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        unsigned v = ((unsigned char)bytes[i] << 16) | ((unsigned char)bytes[i + 1] << 8) |
                     (unsigned char)bytes[i + 2];
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    if (i < bytes.size()) {
        unsigned v = (unsigned char)bytes[i] << 16;
        if (i + 1 < bytes.size()) v |= (unsigned char)bytes[i + 1] << 8;
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string ToCrlf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string QuotedPrintable(const std::string& crlfText) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    size_t start = 0;
    while (start <= crlfText.size()) {
        size_t end = crlfText.find("\r\n", start);
        const bool last = end == std::string::npos;
        if (last) end = crlfText.size();
        const std::string line = crlfText.substr(start, end - start);
        std::string encoded;
        size_t column = 0;
        for (size_t i = 0; i < line.size(); ++i) {
            unsigned char c = (unsigned char)line[i];
            const bool lineStart = column == 0;
            const bool atEnd = i + 1 == line.size();
            bool literal = (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !atEnd);
            if (lineStart && c == '.') literal = false;
            if (lineStart && c == 'F' && line.compare(i, 5, "From ") == 0) literal = false;
            std::string piece = literal ? std::string(1, (char)c)
                                        : std::string{'=', kDigits[c >> 4], kDigits[c & 15]};
            // A soft break keeps every line within 76 characters, the "=" included.
            const size_t room = atEnd ? 76 : 75;
            if (column + piece.size() > room) {
                encoded += "=\r\n";
                column = 0;
                if (literal && (c == '.' || (c == 'F' && line.compare(i, 5, "From ") == 0)))
                    piece = std::string{'=', kDigits[c >> 4], kDigits[c & 15]};
            }
            encoded += piece;
            column += piece.size();
        }
        out += encoded;
        if (last) break;
        out += "\r\n";
        start = end + 2;
    }
    return out;
}

std::string NormaliseAddressList(const std::string& list) {
    std::string out;
    for (const std::string& part : SplitAddressList(list, true)) {
        const std::string mailbox = Trim(part);
        if (mailbox.empty()) continue;
        if (!out.empty()) out += ", ";
        out += mailbox;
    }
    return out;
}

bool IsValidUtf8(const std::string& text) {
    return RepairUtf8(text) == text;
}

std::string RepairUtf8(const std::string& text) {
    static const char kReplacement[] = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = (unsigned char)text[i];
        size_t length = c < 0x80         ? 1
                        : (c >> 5) == 6  ? 2
                        : (c >> 4) == 14 ? 3
                        : (c >> 3) == 30 ? 4
                                         : 0;
        bool valid = length > 0 && i + length <= text.size();
        unsigned code = length == 1   ? c
                        : length == 2 ? (c & 0x1F)
                        : length == 3 ? (c & 0x0F)
                                      : (c & 0x07);
        for (size_t k = 1; valid && k < length; ++k) {
            const unsigned char d = (unsigned char)text[i + k];
            valid = (d & 0xC0) == 0x80;
            code = (code << 6) | (d & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are no characters either.
        if (valid && ((length == 2 && code < 0x80) || (length == 3 && code < 0x800) ||
                      (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
                      (code >= 0xD800 && code <= 0xDFFF)))
            valid = false;
        if (valid) {
            out.append(text, i, length);
            i += length;
        } else {
            out += kReplacement;
            ++i;
        }
    }
    return out;
}

std::string FormatHeader(const std::string& name, const std::string& value) {
    const auto tokens = FieldTokens(name, value);
    std::string out = name + ":";
    size_t column = out.size();
    for (const auto& token : tokens) {
        if (!token.empty() && column + 1 + token.size() > kMaxLine && column > name.size() + 1) {
            out += "\r\n";
            column = 0;
        }
        out += " " + token;
        column += 1 + token.size();
    }
    return out + "\r\n";
}

std::string FileNameParameter(const std::string& parameter, const std::string& fileName) {
    std::string clean;
    for (char c : fileName)
        if ((unsigned char)c >= 0x20 && c != 0x7f) clean += c;
    if (IsAscii(clean)) {
        std::string quoted;
        for (char c : clean) {
            if (c == '"' || c == '\\') quoted += '\\';
            quoted += c;
        }
        if (quoted.size() <= 60) return ";\r\n " + parameter + "=\"" + quoted + "\"";
    } else if (parameter == "name") {
        // Widely read form for the type's name parameter: encoded words in the quoted value.
        std::string out = ";\r\n " + parameter + "=\"";
        const auto words = EncodedWords(clean);
        for (size_t i = 0; i < words.size(); ++i) out += (i ? "\r\n " : "") + words[i];
        return out + "\"";
    }
    // RFC 2231 (non-ASCII or long names): percent-encoded UTF-8, split into numbered sections
    // that keep lines short.
    std::string encoded;
    static const char kDigits[] = "0123456789ABCDEF";
    for (char ch : clean) {
        unsigned char c = (unsigned char)ch;
        if (std::isalnum(c) || c == '.' || c == '-' || c == '_')
            encoded += (char)c;
        else
            encoded += std::string{'%', kDigits[c >> 4], kDigits[c & 15]};
    }
    std::string out;
    size_t section = 0, pos = 0;
    constexpr size_t kSection = 48;
    while (pos < encoded.size()) {
        size_t end = std::min(encoded.size(), pos + kSection);
        // Never cut a %XX escape in two.
        if (end < encoded.size()) {
            if (encoded[end - 1] == '%')
                end -= 1;
            else if (end >= 2 && encoded[end - 2] == '%')
                end -= 2;
        }
        out += ";\r\n " + parameter + "*" + std::to_string(section) +
               "*=" + (section == 0 ? "UTF-8''" : "") + encoded.substr(pos, end - pos);
        pos = end;
        ++section;
    }
    return out;
}

std::string FormatDate(std::int64_t unixTime) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::time_t t = (std::time_t)unixTime;
    std::tm local{};
    localtime_r(&t, &local);
    long offset = local.tm_gmtoff / 60;
    const char sign = offset < 0 ? '-' : '+';
    if (offset < 0) offset = -offset;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  kDays[local.tm_wday], local.tm_mday, kMonths[local.tm_mon], local.tm_year + 1900,
                  local.tm_hour, local.tm_min, local.tm_sec, sign, offset / 60, offset % 60);
    return buffer;
}

std::string ContentTypeForFile(const std::string& fileName) {
    static const std::map<std::string, std::string> kTypes = {
        {"pdf", "application/pdf"}, {"tif", "image/tiff"},  {"tiff", "image/tiff"},
        {"jpg", "image/jpeg"},      {"jpeg", "image/jpeg"}, {"png", "image/png"},
        {"gif", "image/gif"},       {"bmp", "image/bmp"},   {"txt", "text/plain"},
    };
    const auto dot = fileName.find_last_of('.');
    if (dot != std::string::npos) {
        std::string ext = fileName.substr(dot + 1);
        for (auto& c : ext) c = (char)std::tolower((unsigned char)c);
        auto it = kTypes.find(ext);
        if (it != kTypes.end()) return it->second;
    }
    return "application/octet-stream";
}

}  // namespace mime

bool MimeMessage::setHeader(const std::string& name, const std::string& value) {
    if (!ValidFieldName(name) || EqualsNoCase(name, "MIME-Version") ||
        StartsWithNoCase(name, "Content-"))
        return false;
    // Everything is declared UTF-8, so bytes that are not are shown as replacement characters.
    const std::string clean = SanitiseValue(mime::RepairUtf8(value));
    for (auto& header : headers_) {
        if (EqualsNoCase(header.name, name)) {
            header.value = clean;
            return true;
        }
    }
    headers_.push_back({name, clean});
    return true;
}

void MimeMessage::setOption(int option, int value) {
    if (option == kMimeOptionDateAndMessageId) dateAndMessageId_ = value != 0;
}

void MimeMessage::setBody(const std::string& text) {
    body_ = mime::RepairUtf8(text);
}

bool MimeMessage::attachFile(const std::string& path) {
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    std::FILE* probe = std::fopen(path.c_str(), "rb");
    if (!probe) return false;
    std::fclose(probe);
    attachments_.push_back({path, BaseName(path)});
    return true;
}

const MimeMessage::Header* MimeMessage::findHeader(const std::string& name) const {
    for (const auto& header : headers_)
        if (EqualsNoCase(header.name, name)) return &header;
    return nullptr;
}

bool MimeMessage::writeToFile(const std::string& path) const {
    FileWriter out(path);
    if (!out.open()) return false;

    if (dateAndMessageId_ && !findHeader("Date"))
        out.put(mime::FormatHeader("Date", mime::FormatDate(std::time(nullptr))));
    for (const auto& header : headers_) out.put(mime::FormatHeader(header.name, header.value));
    if (dateAndMessageId_ && !findHeader("Message-ID")) {
        const Header* from = findHeader("From");
        out.put("Message-ID: <" + RandomHex(12) + "." + std::to_string(std::time(nullptr)) + "@" +
                DomainOf(from ? from->value : "") + ">\r\n");
    }
    out.put("MIME-Version: 1.0\r\n");

    const std::string boundary = attachments_.empty() ? "" : "=_vellumo_" + RandomHex(12);
    const BodyEncoding body = EncodeBody(body_, boundary);
    const std::string textHeaders =
        "Content-Type: text/plain; charset=utf-8\r\n"
        "Content-Transfer-Encoding: " +
        body.name + "\r\n";
    auto putBody = [&] {
        out.put(body.text);
        const std::string& t = body.text;
        if (!t.empty() && (t.size() < 2 || t.compare(t.size() - 2, 2, "\r\n") != 0))
            out.put("\r\n");
    };
    if (attachments_.empty()) {
        out.put(textHeaders + "\r\n");
        putBody();
        return out.close();
    }

    out.put("Content-Type: multipart/mixed;\r\n boundary=\"" + boundary + "\"\r\n\r\n");
    out.put("This is a multi-part message in MIME format.\r\n\r\n");
    out.put("--" + boundary + "\r\n" + textHeaders + "\r\n");
    putBody();
    bool ok = true;
    for (const auto& attachment : attachments_) {
        out.put("\r\n--" + boundary + "\r\n");
        out.put("Content-Type: " + mime::ContentTypeForFile(attachment.fileName) +
                mime::FileNameParameter("name", attachment.fileName) + "\r\n");
        out.put("Content-Transfer-Encoding: base64\r\n");
        out.put("Content-Disposition: attachment" +
                mime::FileNameParameter("filename", attachment.fileName) + "\r\n\r\n");
        if (!WriteBase64File(out, attachment.path)) ok = false;
    }
    out.put("\r\n--" + boundary + "--\r\n");
    return out.close() && ok;
}

// ---- library interface -------------------------------------------------------------------

namespace {
struct MimeLibrary {
    bool started = false;
    int nextHandle = 1;
    std::map<int, std::unique_ptr<MimeMessage>> messages;
};
MimeLibrary& Library() {
    static MimeLibrary library;
    return library;
}
MimeMessage* Find(int handle) {
    auto& lib = Library();
    auto it = lib.messages.find(handle);
    return it == lib.messages.end() ? nullptr : it->second.get();
}
}  // namespace

bool MimeInitialize() {
    Library().started = true;
    return true;
}

int MimeCreateMessage() {
    auto& lib = Library();
    if (!lib.started) return -1;
    const int handle = lib.nextHandle++;
    lib.messages[handle] = std::make_unique<MimeMessage>();
    return handle;
}

bool MimeSetHeader(int message, const std::string& name, const std::string& value) {
    MimeMessage* m = Find(message);
    return m && m->setHeader(name, value);
}

void MimeSetOption(int message, int option, int value) {
    if (MimeMessage* m = Find(message)) m->setOption(option, value);
}

void MimeSetBody(int message, const std::string& text) {
    if (MimeMessage* m = Find(message)) m->setBody(text);
}

int MimeAttachFile(int message, const std::string& path, int /*flags*/) {
    MimeMessage* m = Find(message);
    return m && m->attachFile(path) ? 1 : 0;
}

bool MimeWriteToFile(int message, const std::string& path) {
    MimeMessage* m = Find(message);
    return m && m->writeToFile(path);
}

void MimeShutdown() {
    auto& lib = Library();
    lib.messages.clear();
    lib.started = false;
}

}  // namespace vellumo::mail

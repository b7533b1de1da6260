// Whatever the user types into the mail fields, the composed message must stay a well-formed
// 7-bit message: CRLF line ends only, header lines folded with a leading blank, no field
// injected by a line break, no line longer than the format allows.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mail/mime_message.h"

using namespace vellumo::mail;

namespace {

std::string Take(const uint8_t*& data, size_t& size) {
    if (size == 0) return {};
    size_t n = std::min<size_t>(data[0], size - 1);
    std::string out(reinterpret_cast<const char*>(data + 1), n);
    data += n + 1;
    size -= n + 1;
    return out;
}

std::string ReadAll(const std::string& path) {
    std::string out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = [] {
        char pattern[] = "/tmp/vellumo-fuzz-mail-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    const std::string from = Take(data, size);
    const std::string subject = Take(data, size);
    std::string fileName = Take(data, size);
    for (auto& c : fileName)
        if (c == '/' || c == '\0') c = '_';
    if (fileName.empty() || fileName == "." || fileName == "..") fileName = "a";
    const std::string body(reinterpret_cast<const char*>(data), size);

    const std::string attachment = dir + "/" + fileName;
    if (std::FILE* f = std::fopen(attachment.c_str(), "wb")) {
        std::fwrite(body.data(), 1, body.size(), f);
        std::fclose(f);
    }
    MimeMessage message;
    message.setHeader("From", from);
    message.setHeader("To", from);
    message.setHeader("Subject", subject);
    message.setBody(body);
    message.attachFile(attachment);
    const std::string out = dir + "/out.eml";
    if (!message.writeToFile(out)) abort();
    const std::string raw = ReadAll(out);
    ::unlink(attachment.c_str());

    bool inHeader = true;
    size_t start = 0;
    while (start < raw.size()) {
        const size_t lf = raw.find('\n', start);
        if (lf == std::string::npos || lf == 0 || raw[lf - 1] != '\r') abort();
        const std::string line = raw.substr(start, lf - 1 - start);
        for (unsigned char c : line)
            if (c == '\r' || c >= 0x80 || (c < 0x20 && c != '\t')) abort();
        if (line.size() > 998) abort();
        if (inHeader && line.empty()) inHeader = false;
        if (inHeader && start > 0 && line[0] != ' ' && line.find(':') == std::string::npos) abort();
        start = lf + 1;
    }
    return 0;
}

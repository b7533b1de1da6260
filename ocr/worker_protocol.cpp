#include "ocr/worker_protocol.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "ocr/page_text_wire.h"

namespace vellumo::ocr {

namespace {

constexpr char kRequestMagic[4] = {'V', 'R', 'Q', '1'};

void PutU32(std::string& out, uint32_t value) {
    char bytes[4];
    std::memcpy(bytes, &value, 4);
    out.append(bytes, 4);
}

bool GetU32(const std::string& in, size_t& at, uint32_t& value) {
    if (in.size() - at < 4) return false;
    std::memcpy(&value, in.data() + at, 4);
    at += 4;
    return true;
}

bool GetText(const std::string& in, size_t& at, std::string& text) {
    uint32_t size = 0;
    if (!GetU32(in, at, size) || in.size() - at < size) return false;
    text.assign(in, at, size);
    at += size;
    return true;
}

RecognitionResult Failed(std::string reason) {
    RecognitionResult r;
    r.status = RecognitionStatus::EngineFailed;
    r.reason = std::move(reason);
    return r;
}

// Writes all of bytes; MSG_NOSIGNAL keeps a process that has gone from ending this one too.
bool SendAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool ReceiveAll(int fd, char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::read(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string EncodeRequest(const WorkerRequest& request) {
    std::string out(kRequestMagic, sizeof(kRequestMagic));
    PutU32(out, static_cast<uint32_t>(request.page.index));
    PutU32(out, static_cast<uint32_t>(request.page.path.size()));
    out += request.page.path;
    PutU32(out, static_cast<uint32_t>(request.languages.size()));
    out += request.languages;
    return out;
}

bool DecodeRequest(const std::string& bytes, WorkerRequest& request) {
    if (bytes.size() < sizeof(kRequestMagic) ||
        std::memcmp(bytes.data(), kRequestMagic, sizeof(kRequestMagic)) != 0)
        return false;
    size_t at = sizeof(kRequestMagic);
    uint32_t index = 0;
    WorkerRequest r;
    if (!GetU32(bytes, at, index) || index > INT32_MAX || !GetText(bytes, at, r.page.path) ||
        !GetText(bytes, at, r.languages) || at != bytes.size())
        return false;
    r.page.index = static_cast<int>(index);
    request = std::move(r);
    return true;
}

std::string EncodeResult(const RecognitionResult& result) {
    std::string out(1, static_cast<char>(result.status));
    out += result.status == RecognitionStatus::Ok && result.text ? EncodePageText(*result.text)
                                                                 : result.reason;
    return out;
}

bool DecodeResult(const std::string& bytes, RecognitionResult& result) {
    if (bytes.empty() || static_cast<unsigned char>(bytes[0]) >
                             static_cast<unsigned char>(RecognitionStatus::EngineFailed)) {
        result = Failed("the recognition process gave no answer for the page");
        return false;
    }
    RecognitionResult r;
    r.status = static_cast<RecognitionStatus>(bytes[0]);
    if (r.status != RecognitionStatus::Ok) {
        r.reason = bytes.substr(1);
        result = std::move(r);
        return true;
    }
    auto text = std::make_shared<PageText>();
    if (!DecodePageText(bytes.substr(1), *text)) {
        result = Failed("the recognition process's answer was damaged");
        return false;
    }
    r.text = std::move(text);
    result = std::move(r);
    return true;
}

bool WriteMessage(int fd, const std::string& bytes) {
    if (bytes.size() > kMaxWorkerMessage) return false;
    std::string header;
    PutU32(header, static_cast<uint32_t>(bytes.size()));
    return SendAll(fd, header.data(), header.size()) && SendAll(fd, bytes.data(), bytes.size());
}

bool ReadMessage(int fd, std::string& bytes) {
    char header[4];
    if (!ReceiveAll(fd, header, sizeof(header))) return false;
    uint32_t size = 0;
    std::memcpy(&size, header, 4);
    if (size > kMaxWorkerMessage) return false;
    bytes.resize(size);
    return ReceiveAll(fd, bytes.data(), size);
}

MessageReader::State MessageReader::readFrom(int fd) {
    char buffer[65536];
    for (;;) {
        const size_t want = haveLength_ ? length_ - body_.size() : 4 - header_.size();
        if (want == 0) return State::Complete;
        const ssize_t n = ::recv(fd, buffer, std::min(want, sizeof(buffer)), MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return State::Partial;
        if (n <= 0) return State::Broken;
        if (haveLength_) {
            body_.append(buffer, static_cast<size_t>(n));
            continue;
        }
        header_.append(buffer, static_cast<size_t>(n));
        if (header_.size() < 4) continue;
        uint32_t size = 0;
        std::memcpy(&size, header_.data(), 4);
        if (size > kMaxWorkerMessage) return State::Broken;
        length_ = size;
        haveLength_ = true;
        body_.reserve(length_);
    }
}

}  // namespace vellumo::ocr

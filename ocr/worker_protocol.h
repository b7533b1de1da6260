// What the program and its recognition process (vellumo-ocr-worker) say to each other over their
// socket: framed messages, a page to read and its languages one way, the result the other way.
// Every message is checked as it is decoded, so a process that died or misbehaved gives a clear
// failure, never a half-filled result.
#pragma once

#include <string>

#include "imaging/image_pages.h"
#include "ocr/engine.h"

namespace vellumo::ocr {

// The descriptor the recognition process talks on.
constexpr int kWorkerChannelFd = 3;
// The longest message either side accepts: far above any page's text.
constexpr size_t kMaxWorkerMessage = 64u << 20;

struct WorkerRequest {
    imaging::PageRef page;
    std::string languages;
};

std::string EncodeRequest(const WorkerRequest& request);
bool DecodeRequest(const std::string& bytes, WorkerRequest& request);

std::string EncodeResult(const RecognitionResult& result);
// False when the bytes are not a whole result; result is then EngineFailed with the reason.
bool DecodeResult(const std::string& bytes, RecognitionResult& result);

// One message: its length, then its bytes. Writing never raises SIGPIPE; false when the other
// side has gone.
bool WriteMessage(int fd, const std::string& bytes);
// Blocks until a whole message has arrived; false at the end of the stream or on an error.
bool ReadMessage(int fd, std::string& bytes);

// Reads a message in steps, for a caller that must keep looking at the clock.
class MessageReader {
public:
    enum class State { Partial, Complete, Broken };
    // Takes what the descriptor has now (call when poll says it is readable). Broken: the
    // stream ended or the length is out of bounds.
    State readFrom(int fd);
    const std::string& message() const { return body_; }

private:
    std::string header_;
    std::string body_;
    size_t length_ = 0;
    bool haveLength_ = false;
};

}  // namespace vellumo::ocr

// The fuzzers hand their input to the file-based decoders through an anonymous in-memory
// file, named by its /proc path, so the real inspect and load code runs unchanged.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "imaging/codecs.h"

namespace fuzzinput {
using namespace vellumo::imaging;

// Images larger than this are inspected but not decoded: the fuzzer looks for memory errors,
// not for the time it takes to fill a huge (but legitimate) page.
constexpr uint64_t kMaxFuzzPixelBytes = uint64_t{48} << 20;

class MemoryFile {
public:
    MemoryFile(const uint8_t* data, size_t size) {
        fd_ = memfd_create("fuzz", 0);
        if (fd_ < 0) return;
        size_t done = 0;
        while (done < size) {
            const ssize_t n = ::write(fd_, data + done, size - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~MemoryFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    const char* path() const { return path_.c_str(); }
    bool ok() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    std::string path_;
};

// Inspect, allocate, load and free, as the program reads a page.
inline void InspectAndLoad(const uint8_t* data, size_t size,
                           int (*inspect)(const char*, vellumo::imaging::ImageFileInfo&),
                           int (*load)(const char*, vellumo::imaging::ImageBuffer&)) {
    MemoryFile file(data, size);
    if (!file.ok()) return;
    vellumo::imaging::ImageFileInfo info;
    if (inspect(file.path(), info) != 0) return;
    const uint64_t bytes = uint64_t(info.width) * uint64_t(info.height) * 4;
    if (bytes > kMaxFuzzPixelBytes) return;
    vellumo::imaging::ImageBuffer image{};
    if (AllocateImage(image, info.width, info.height, info.bitsPerPixel) != 0) return;
    load(file.path(), image);
    FreeImage(image);
}

}  // namespace fuzzinput

#include "imaging/read_failure.h"

#include <cstdio>
#include <cstring>

#include "imaging/status.h"
#include "platform/regular_file.h"

namespace vellumo::imaging {

namespace {

// True when the file starts like one of the formats that carry a signature, so that a failure
// to read it means damage rather than a foreign format.
bool HasKnownSignature(const std::string& file) {
    std::FILE* stream = vellumo::platform::OpenRegularFile(file);
    if (!stream) return false;
    unsigned char b[8] = {};
    const size_t n = std::fread(b, 1, sizeof b, stream);
    std::fclose(stream);
    if (n >= 4 && ((b[0] == 'I' && b[1] == 'I' && b[2] == 42 && b[3] == 0) ||
                   (b[0] == 'M' && b[1] == 'M' && b[2] == 0 && b[3] == 42)))
        return true;
    if (n >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return true;
    if (n >= 8 && std::memcmp(b, "\x89PNG\r\n\x1a\n", 8) == 0) return true;
    if (n >= 4 && std::memcmp(b, "GIF8", 4) == 0) return true;
    return n >= 2 && b[0] == 'B' && b[1] == 'M';
}

}  // namespace

std::string ReadFailureReason(const std::string& file, int status) {
    std::string reason = vellumo::platform::UnreadableFileReason(file);
    if (reason.empty()) {
        switch (status) {
            case kImgNoMemory:
            case kImgTooLarge:
                reason = "the image is too large";
                break;
            case kImgCorruptFile:
                reason = "the file is damaged or truncated";
                break;
            case kImgUnsupportedFile:
            case kImgBadDepth:
                reason = "the image uses a kind of its format that Vellumo does not read";
                break;
            case kImgCannotOpen:
                reason = "the file cannot be opened";
                break;
            default:
                reason = HasKnownSignature(file)
                             ? "the file is damaged or truncated"
                             : "it is not an image of a format Vellumo reads (TIFF, BMP, JPEG, "
                               "PCX, GIF, PNG, TGA)";
                break;
        }
    }
    return reason;
}

std::string DescribeReadFailure(const std::string& file, int status) {
    return file + ": " + ReadFailureReason(file, status);
}

}  // namespace vellumo::imaging

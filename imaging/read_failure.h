// What the user is told when an image file cannot be read: the file's name and the real reason,
// from the file itself (missing, a folder, a FIFO, permission denied, empty) or from the
// decoders (damaged or truncated, too large, not an image of a format the program reads).
#pragma once

#include <string>

namespace vellumo::imaging {

// Why ReadImageFile refused the file with status (or DetectImageFormat, with kImgNotThisFormat).
std::string ReadFailureReason(const std::string& file, int status);
// "FILE: reason".
std::string DescribeReadFailure(const std::string& file, int status);

}  // namespace vellumo::imaging

// Opening the files the program reads (pages, attachments, message files) without ever
// blocking: a FIFO, a device or a folder where a file is expected is refused at once, and the
// reason can be told to the user, instead of the program waiting for ever on it. And opening
// the program's own private files for writing without following a link planted in their place.
#pragma once

#include <cstdio>
#include <string>

namespace vellumo::platform {

// A stream for reading path when it is a regular file; null otherwise, with errno set (EINVAL
// for something that is not a regular file). Opening never blocks.
std::FILE* OpenRegularFile(const std::string& path);

// A stream for writing a private file (0600), never through a link: exclusive creates a new
// file and fails when anything is at path; otherwise an existing regular file is emptied (a
// file the program made for itself, like the reserved name of a temporary file).
std::FILE* OpenPrivateFileForWriting(const std::string& path, bool exclusive);

// True when path is a regular file (following links), without opening it.
bool IsRegularFile(const std::string& path);

// Why path cannot be read as a file, in a few words ("the file does not exist", "permission
// denied", "it is a folder", "it is a FIFO, not a regular file", "the file is empty"); empty
// when it is a readable regular file with some content.
std::string UnreadableFileReason(const std::string& path);

}  // namespace vellumo::platform

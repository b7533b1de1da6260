// Writing a file that replaces its target only when it is complete. The data goes to a hidden
// partial file with a short name beside the target, private (0600) while it is written and
// removed on every other way out (a Ctrl+C, SIGTERM or SIGHUP included); commit() gives it its
// final mode and renames it over the target. Only a regular file or a new name is a target: a
// folder, a device, a FIFO or a socket is refused, and a symbolic link is written through to
// the file it names, so the link stays.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>

#include "platform/signal_cleanup.h"

namespace vellumo::platform {

// Why a path cannot be written as a file.
enum class TargetProblem {
    None,
    Invalid,            // empty, or ending in "/"
    FolderMissing,      // the folder does not exist (or a part of the path is no folder)
    FolderNotWritable,  // no permission to create files in the folder
    IsFolder,           // the path is a folder
    NotRegularFile,     // a device, FIFO or socket
    NotWritable,        // an existing file that may not be replaced (read-only)
};

struct OutputTarget {
    TargetProblem problem = TargetProblem::None;
    int error = 0;     // the system's error number behind the problem
    std::string path;  // the file that is written: the target, or the end of its links
    bool exists = false;
    mode_t mode = 0;  // of the existing file
    uid_t owner = 0;
    gid_t group = 0;
};

// Looks at what is at path now; problem None when a file can be written there.
OutputTarget ResolveOutputTarget(const std::string& path);

// A short sentence on a target's problem ("the folder /a/b does not exist"), empty for None.
std::string DescribeTargetProblem(const OutputTarget& target);

// The mode a new file gets: 0666 less the process's umask; 0600 directly in the temporary
// folder, where files are the user's working copies.
mode_t NewFileMode(const std::string& path);

// True for a name of the partial-file pattern (".vw<pid>.<six characters>").
bool IsPartialFileName(const std::string& name);
// Removes the partial files that runs no longer alive left in folder (after a power cut or a
// kill -9): only the user's own regular files of the pattern whose process has gone.
void RemoveStalePartialFiles(const std::string& folder);

class ReplacingFile {
public:
    ReplacingFile() = default;
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Resolves target and creates the partial file. False with target().problem or error()
    // telling why.
    bool open(const std::string& target);
    // The stream onto the partial file (buffered; null before open or after closeStream).
    std::FILE* stream() { return stream_; }
    // Closes the stream but keeps the file, for libraries that open the path themselves.
    void closeStream();
    const std::string& partialPath() const { return partialPath_; }
    const OutputTarget& target() const { return target_; }
    // The system's error number of the last failure.
    int error() const { return error_; }

    // Flushes (to the disk too, when sync is set), gives the file its final mode (that of
    // the file it replaces, else NewFileMode) and moves it over the target. False with
    // error() set; the partial file is gone either way.
    bool commit(bool sync);

private:
    void discard();

    OutputTarget target_;
    std::string partialPath_;
    std::FILE* stream_ = nullptr;
    int fd_ = -1;
    int error_ = 0;
    bool streamFailed_ = false;
    RemoveOnSignal cleanup_;
};

}  // namespace vellumo::platform

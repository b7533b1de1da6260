// Unique private temporary files in the user's temporary folder. Each name is created
// atomically as an empty file readable only by the user (0600), never a predictable name;
// callers append their own extensions (".TIF", ".jpg") to the returned name.
#pragma once

#include <string>

namespace vellumo::platform {

// The user's temporary folder with a trailing separator ($TMPDIR, else /tmp/).
std::string TempDirectory();

// Creates "<temp folder>/<prefix><unique part><suffix>" and returns its path, or "" on failure.
std::string CreateTempFile(const std::string& prefix, const std::string& suffix = ".tmp");

// True when path names a file directly in the temporary folder. Files there are the program's
// own working copies of the user's pages, so writers create them readable only by the user.
// (The program's private folders there are closed to others as a whole.)
bool InTempDirectory(const std::string& path);

// Empty when the temporary folder exists and new files can be made in it; otherwise the
// message that says so ("The temporary folder /x cannot be written: No such file or
// directory").
std::string TempFolderProblem();
}  // namespace vellumo::platform

// The user's documents folder, where the log file lives.
#pragma once

#include <string>

namespace vellumo::platform {

// The documents folder as the desktop names it (XDG user dirs, else ~/Documents); "" when the
// system knows none.
std::string DocumentsFolder();
// Fixes logPath in the documents folder (call once, when the main dialog is built).
void InitLogPath();

}  // namespace vellumo::platform

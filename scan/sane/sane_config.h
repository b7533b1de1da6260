// Which SANE configuration the program reads. An installed program brings its own folder
// (share/vellumo/sane: the SANE test scanner plus the system's back ends); SANE is pointed at it
// with a trailing ':' so the system folder /etc/sane.d stays on the search path behind it.
// SANE_CONFIG_DIR set by the user always wins.
#pragma once

#include <optional>
#include <string>

namespace vellumo::scan {

// The value SANE_CONFIG_DIR should be given for an executable in exeDir while it currently
// holds `current` (nullptr: not set); nothing when it is to be left alone.
std::optional<std::string> SaneConfigDirFor(const char* current, const std::string& exeDir);

// Sets SANE_CONFIG_DIR for this process as SaneConfigDirFor says. Called before sane_init.
void UseInstalledSaneConfig();

}  // namespace vellumo::scan

// The operating-system line of the log. On Windows it is chosen from the system's version
// record by a fixed table; on every other system it names the system itself (os-release and
// uname).
#pragma once

#include <string>

namespace vellumo::platform {

// The fields of a Windows version record that choose the line.
struct OsVersionRecord {
    enum Platform { Win32s = 0, Windows9x = 1, WindowsNT = 2 };
    int platformId = 0;
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;       // the whole build-number field
    std::string servicePack;  // e.g. "Service Pack 1", possibly empty
};

// The line for a Windows version record, or "" when the table has none (other platforms, NT
// below 3).
std::string WindowsVersionLine(const OsVersionRecord& version);

// The line for this system: "Running on <PRETTY_NAME of os-release>, <sysname> <release>
// <machine>\n", e.g. "Running on Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64 x86_64\n".
// osReleasePath is read in os-release syntax; a missing file or name leaves the name out.
std::string SystemVersionLine(const std::string& osReleasePath = "/etc/os-release");

// Writes the operating-system line to the log.
void LogOsVersion();

}  // namespace vellumo::platform

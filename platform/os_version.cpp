#include "platform/os_version.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/utsname.h>
#endif

#include <cstdio>
#include <fstream>

#include "platform/log.h"

namespace vellumo::platform {

namespace {

std::string Format(const char* format, const std::string& servicePack, unsigned build) {
    char line[512];
    std::snprintf(line, sizeof line, format, servicePack.c_str(), static_cast<int>(build));
    return line;
}

// The lines of the table without the service-pack text.
std::string FormatBuildOnly(const char* format, unsigned build) {
    char line[128];
    std::snprintf(line, sizeof line, format, static_cast<int>(build));
    return line;
}

// The value of NAME=value in os-release syntax: optional quotes, backslash escapes.
std::string OsReleaseValue(const std::string& path, const std::string& name) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(name + "=", 0) != 0) continue;
        std::string value = line.substr(name.size() + 1);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            const char quote = value.front();
            value = value.substr(1, value.size() - 2);
            if (quote == '"') {
                std::string unescaped;
                for (size_t i = 0; i < value.size(); ++i) {
                    if (value[i] == '\\' && i + 1 < value.size()) ++i;
                    unescaped += value[i];
                }
                value = unescaped;
            }
        }
        return value;
    }
    return {};
}

}  // namespace

std::string WindowsVersionLine(const OsVersionRecord& v) {
    const std::string& sp = v.servicePack;
    if (v.platformId == OsVersionRecord::Windows9x) {
        if ((v.build & 0xFFFF) < 1998)
            return Format("Running on Windows 95 %s, build %d\n", sp, v.build);
        return Format("Running on Windows 98 %s, build %d\n", sp, v.build);
    }
    if (v.platformId != OsVersionRecord::WindowsNT) return {};
    switch (v.major) {
        case 0:
        case 1:
        case 2:
            return {};
        case 3:
            return Format("Running on Windows NT 3.51 %s, build %d\n", sp, v.build);
        case 4:
            return Format("Running on Windows NT 4.0 %s, build %d\n", sp, v.build);
        case 5:
            if (v.minor == 0) return Format("Running on Windows 2000 %s, build %d\n", sp, v.build);
            return Format("Running on Windows XP %s, build %d\n", sp, v.build);
        default:
            if (v.minor == 0) {
                if (sp.empty())
                    return FormatBuildOnly("Running on Windows Vista, build %d\n", v.build);
                return Format("Running on Windows Vista %s, build %d\n", sp, v.build);
            }
            if (sp.empty()) return FormatBuildOnly("Running on Windows 7, build %d\n", v.build);
            return Format("Running on Windows 7 %s, build %d\n", sp, v.build);
    }
}

#ifndef _WIN32
std::string SystemVersionLine(const std::string& osReleasePath) {
    std::string name = OsReleaseValue(osReleasePath, "PRETTY_NAME");
    if (name.empty()) name = OsReleaseValue(osReleasePath, "NAME");
    std::string kernel;
    struct utsname u {};
    if (uname(&u) == 0) kernel = std::string(u.sysname) + " " + u.release + " " + u.machine;
    std::string line = "Running on ";
    if (!name.empty()) line += name;
    if (!name.empty() && !kernel.empty()) line += ", ";
    line += kernel;
    return line + "\n";
}
#endif

void LogOsVersion() {
#ifdef _WIN32
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return;
    const std::string line =
        WindowsVersionLine({static_cast<int>(info.dwPlatformId), info.dwMajorVersion,
                            info.dwMinorVersion, info.dwBuildNumber, info.szCSDVersion});
#else
    const std::string line = SystemVersionLine();
#endif
    if (!line.empty()) WriteLog(line);
}

}  // namespace vellumo::platform

#include "platform/log.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace vellumo::platform {

int loggingOn = 0;
std::string logPath;

namespace {
constexpr const char kLogFileName[] = "Vellumo_log.mdm";
}

std::string MakeLogPath(const std::string& documentsFolder) {
    if (!documentsFolder.empty() && documentsFolder.back() == '/')
        return documentsFolder + kLogFileName;
    return documentsFolder + "/" + kLogFileName;
}

std::string FormatLogLine(const std::tm& t, const std::string& message) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d/%02d/%02d %02d:%02d:%02d - ", t.tm_mon + 1, t.tm_mday,
                  t.tm_year % 100, t.tm_hour, t.tm_min, t.tm_sec);
    return stamp + message;
}

void WriteLog(const std::string& message) {
    if (!loggingOn || logPath.empty()) return;
    std::FILE* file = std::fopen(logPath.c_str(), "a+");
    if (!file) return;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string line = FormatLogLine(local, message);
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
}

void WriteLogF(const char* format, ...) {
    if (!loggingOn) return;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length < 0) {
        va_end(args);
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    WriteLog(std::string(buffer.data(), static_cast<size_t>(length)));
}

}  // namespace vellumo::platform

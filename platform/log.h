// The program's log file: one time-stamped line per step of its work, appended to
// "Vellumo_log.mdm" in the user's documents folder while logging is on. No Qt, so the imaging
// and PDF libraries write through it too. Every failure of the log is silent.
#pragma once

#include <ctime>
#include <string>

namespace vellumo::platform {

// Mirror of the setting "LogFile": lines are written only while it is not 0.
extern int loggingOn;
// The log file, fixed once when the main dialog is built.
extern std::string logPath;

// The log file's path inside a documents folder: the folder, one separator, "Vellumo_log.mdm",
// whether or not the folder already ends with a separator. An empty folder gives the name in
// the root folder.
std::string MakeLogPath(const std::string& documentsFolder);

// Appends "MM/DD/YY HH:MM:SS - " + message to the log file when logging is on. The file is
// opened and closed for every line, so nothing is lost if the program dies.
void WriteLog(const std::string& message);
// printf-style convenience over WriteLog.
void WriteLogF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The line exactly as WriteLog stores it for a given local time.
std::string FormatLogLine(const std::tm& localTime, const std::string& message);

}  // namespace vellumo::platform

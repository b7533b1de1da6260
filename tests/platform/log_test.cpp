#include "platform/log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_support.h"

namespace {

struct LogGuard {
    LogGuard() : savedOn(loggingOn), savedPath(logPath) {}
    ~LogGuard() {
        loggingOn = savedOn;
        logPath = savedPath;
    }
    int savedOn;
    std::string savedPath;
};

TEST(LogPath, OneSeparatorWhateverTheFolderEndsWith) {
    EXPECT_EQ(MakeLogPath("/home/ann/Documents"), "/home/ann/Documents/Vellumo_log.mdm");
    EXPECT_EQ(MakeLogPath("/home/ann/Documents/"), "/home/ann/Documents/Vellumo_log.mdm");
    EXPECT_EQ(MakeLogPath(""), "/Vellumo_log.mdm");
}

TEST(LogLine, DateTimeSeparatorThenMessageUnchanged) {
    std::tm t{};
    t.tm_year = 112;  // 2012
    t.tm_mon = 2;
    t.tm_mday = 14;
    t.tm_hour = 9;
    t.tm_min = 26;
    t.tm_sec = 53;
    EXPECT_EQ(FormatLogLine(t, "Start rotate right\n"), "03/14/12 09:26:53 - Start rotate right\n");
    EXPECT_EQ(FormatLogLine(t, "Image(s) loaded\r\n"), "03/14/12 09:26:53 - Image(s) loaded\r\n");
}

TEST(WriteLog, AppendsLinesAcrossCallsWhenOn) {
    LogGuard guard;
    testsupport::TempDir dir;
    logPath = MakeLogPath(dir.path());
    loggingOn = 1;
    WriteLog("first\n");
    WriteLogF("Saved image %d to %s, result = %d\n", 2, "/tmp/x.TIF", 0);
    const std::string text = testsupport::readFile(logPath);
    ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
    EXPECT_NE(text.find(" - first\n"), std::string::npos);
    EXPECT_NE(text.find(" - Saved image 2 to /tmp/x.TIF, result = 0\n"), std::string::npos);
}

TEST(WriteLog, LoggingOffCreatesNoFile) {
    LogGuard guard;
    testsupport::TempDir dir;
    logPath = MakeLogPath(dir.path());
    loggingOn = 0;
    WriteLog("nothing\n");
    EXPECT_FALSE(testsupport::fileExists(logPath));
}

TEST(WriteLog, ReadOnlyFileDropsLinesSilently) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes read-only files";
    LogGuard guard;
    testsupport::TempDir dir;
    logPath = MakeLogPath(dir.path());
    loggingOn = 1;
    WriteLog("kept\n");
    chmod(logPath.c_str(), 0444);
    WriteLog("dropped\n");
    EXPECT_EQ(testsupport::readFile(logPath).find("dropped"), std::string::npos);
}

TEST(WriteLog, UnwritableFolderIsSilent) {
    LogGuard guard;
    logPath = "/nonexistent-folder/really/Vellumo_log.mdm";
    loggingOn = 1;
    WriteLog("line\n");  // must neither crash nor create anything
    EXPECT_FALSE(testsupport::fileExists(logPath));
}

}  // namespace

#include "platform/log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_support.h"

using namespace vellumo::platform;

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

#include "platform/os_version.h"


namespace {

struct OsRow {
    const char* name;
    OsVersionRecord version;
    const char* line;
};

class OsVersionTable : public testing::TestWithParam<OsRow> {};

TEST_P(OsVersionTable, ChoosesTheLineOfItsRow) {
    EXPECT_EQ(WindowsVersionLine(GetParam().version), GetParam().line);
}

constexpr int k9x = OsVersionRecord::Windows9x;
constexpr int kNT = OsVersionRecord::WindowsNT;

INSTANTIATE_TEST_SUITE_P(
    Rows, OsVersionTable,
    testing::Values(
        OsRow{"Win95", {k9x, 4, 0, 950, " A"}, "Running on Windows 95  A, build 950\n"},
        // Only the low 16 bits of a 9x build number count; the field is printed whole.
        OsRow{"Win95HighWordIgnored",
              {k9x, 4, 0, 0x04000000u + 1997, ""},
              "Running on Windows 95 , build 67110861\n"},
        OsRow{"Win98AtBuild1998", {k9x, 4, 10, 1998, ""}, "Running on Windows 98 , build 1998\n"},
        OsRow{"WinMe", {k9x, 4, 90, 3000, ""}, "Running on Windows 98 , build 3000\n"},
        OsRow{"NT351",
              {kNT, 3, 51, 1057, "Service Pack 5"},
              "Running on Windows NT 3.51 Service Pack 5, build 1057\n"},
        OsRow{"NT4",
              {kNT, 4, 0, 1381, "Service Pack 6"},
              "Running on Windows NT 4.0 Service Pack 6, build 1381\n"},
        OsRow{"W2000",
              {kNT, 5, 0, 2195, "Service Pack 4"},
              "Running on Windows 2000 Service Pack 4, build 2195\n"},
        OsRow{"XPWithoutServicePackKeepsTheSpace",
              {kNT, 5, 1, 2600, ""},
              "Running on Windows XP , build 2600\n"},
        OsRow{"Server2003IsXP",
              {kNT, 5, 2, 3790, "Service Pack 2"},
              "Running on Windows XP Service Pack 2, build 3790\n"},
        OsRow{"VistaWithServicePack",
              {kNT, 6, 0, 6002, "Service Pack 2"},
              "Running on Windows Vista Service Pack 2, build 6002\n"},
        OsRow{"VistaWithoutServicePack",
              {kNT, 6, 0, 6000, ""},
              "Running on Windows Vista, build 6000\n"},
        OsRow{"Seven",
              {kNT, 6, 1, 7601, "Service Pack 1"},
              "Running on Windows 7 Service Pack 1, build 7601\n"},
        OsRow{
            "SevenWithoutServicePack", {kNT, 6, 1, 7600, ""}, "Running on Windows 7, build 7600\n"},
        OsRow{"LaterMajorMinorZeroIsVista",
              {kNT, 10, 0, 19045, ""},
              "Running on Windows Vista, build 19045\n"},
        OsRow{"LaterMinorNonZeroIsSeven",
              {kNT, 6, 3, 9600, ""},
              "Running on Windows 7, build 9600\n"},
        OsRow{"NTBelow3", {kNT, 2, 0, 1, ""}, ""},
        OsRow{"Win32s", {OsVersionRecord::Win32s, 3, 1, 0, ""}, ""},
        OsRow{"UnknownPlatform", {7, 6, 1, 7601, ""}, ""}),
    [](const testing::TestParamInfo<OsRow>& info) { return std::string(info.param.name); });

TEST(OsVersionLine, NamesThisSystemFromOsReleaseAndUname) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("os-release"),
                           "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 "
                           "(bookworm)\"\nVERSION_ID=\"12\"\n");
    const std::string line = SystemVersionLine(dir.file("os-release"));
    const std::string kernel = testsupport::capture("uname -s -r -m");
    ASSERT_FALSE(kernel.empty());
    EXPECT_EQ(line, "Running on Debian GNU/Linux 12 (bookworm), " +
                        kernel.substr(0, kernel.find('\n')) + "\n");
}

TEST(OsVersionLine, WithoutOsReleaseStillNamesTheKernel) {
    const std::string line = SystemVersionLine("/nonexistent/os-release");
    EXPECT_EQ(line.rfind("Running on ", 0), 0u);
    EXPECT_EQ(line.find(", "), std::string::npos);
    EXPECT_EQ(line.back(), '\n');
    EXPECT_NE(line.find("Linux"), std::string::npos);
}

TEST(OsVersionLine, LogOsVersionWritesOneLine) {
    LogGuard guard;
    testsupport::TempDir dir;
    logPath = MakeLogPath(dir.path());
    loggingOn = 1;
    LogOsVersion();
    const std::string text = testsupport::readFile(logPath);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
    EXPECT_NE(text.find(" - Running on "), std::string::npos);
}

}  // namespace

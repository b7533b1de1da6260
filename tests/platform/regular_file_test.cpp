// Reading files that may be anything: a FIFO or a device where a page is expected must be
// refused at once with its reason, never waited on.
#include "platform/regular_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "support/test_support.h"

using namespace vellumo::platform;
using namespace testsupport;

TEST(RegularFile, AFifoIsRefusedWithoutWaiting) {
    TempDir dir;
    const std::string fifo = dir.file("page.tif");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    auto opened = std::async(std::launch::async, [&] { return OpenRegularFile(fifo); });
    const bool returned = opened.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!returned) {
        // Let a blocked open go, so the test can end.
        const int writer = open(fifo.c_str(), O_WRONLY);
        close(writer);
    }
    EXPECT_TRUE(returned) << "opening a FIFO waited for a writer";
    std::FILE* stream = opened.get();
    EXPECT_EQ(stream, nullptr);
    if (stream) std::fclose(stream);
}

TEST(RegularFile, ReasonsForFilesThatCannotBeRead) {
    TempDir dir;
    mkfifo(dir.file("fifo").c_str(), 0644);
    mkdir(dir.file("folder").c_str(), 0755);
    writeFile(dir.file("empty.png"), "");
    writeFile(dir.file("secret.png"), "x");
    chmod(dir.file("secret.png").c_str(), 0);
    writeFile(dir.file("fine.png"), "x");
    std::vector<std::pair<std::string, std::string>> cases = {
        {dir.file("missing.png"), "the file does not exist"},
        {dir.file("folder"), "it is a folder"},
        {dir.file("fifo"), "it is a FIFO, not a regular file"},
        {"/dev/null", "it is a device, not a regular file"},
        {dir.file("empty.png"), "the file is empty"},
        {dir.file("fine.png"), ""},
    };
    if (geteuid() != 0) cases.push_back({dir.file("secret.png"), "permission denied"});
    for (const auto& [path, reason] : cases) EXPECT_EQ(UnreadableFileReason(path), reason) << path;
}

TEST(RegularFile, PrivateFilesAreNeverWrittenThroughALink) {
    TempDir dir;
    writeFile(dir.file("victim"), "precious");
    symlink(dir.file("victim").c_str(), dir.file("VW1.tmp.jpg").c_str());
    EXPECT_EQ(OpenPrivateFileForWriting(dir.file("VW1.tmp.jpg"), true), nullptr);
    EXPECT_EQ(OpenPrivateFileForWriting(dir.file("VW1.tmp.jpg"), false), nullptr);
    EXPECT_EQ(readFile(dir.file("victim")), "precious");

    std::FILE* file = OpenPrivateFileForWriting(dir.file("new.jpg"), true);
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    struct stat st {};
    stat(dir.file("new.jpg").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// Files that replace their targets: what may be a target, where links lead, the modes files end
// up with, and the partial files that interrupted runs leave behind.
#include "platform/replace_file.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>

#include "support/test_support.h"

using namespace vellumo::platform;
using namespace testsupport;

namespace {

bool Write(const std::string& target, const std::string& contents, ReplacingFile& file) {
    if (!file.open(target)) return false;
    std::fputs(contents.c_str(), file.stream());
    return file.commit(false);
}

bool Write(const std::string& target, const std::string& contents) {
    ReplacingFile file;
    return Write(target, contents, file);
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return st.st_mode;
}

std::vector<std::string> PartialFiles(const std::string& folder) {
    std::vector<std::string> out;
    for (const auto& name : listDir(folder))
        if (IsPartialFileName(name)) out.push_back(name);
    return out;
}

// Sets a file's modification time back by the given number of seconds.
void Age(const std::string& path, int seconds) {
    timeval times[2];
    gettimeofday(&times[0], nullptr);
    times[0].tv_sec -= seconds;
    times[1] = times[0];
    utimes(path.c_str(), times);
}

}  // namespace

TEST(ReplacingFile, RefusesEverythingButARegularFileOrANewName) {
    TempDir dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    mkdir(dir.file("folder").c_str(), 0755);
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string socketPath = dir.file("socket");
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    // Like /dev/stdout or /proc/self/fd/1: a link to something that is not a file.
    symlink(fifo.c_str(), dir.file("stdout").c_str());
    // Like /dev/null, made here: only root can.
    const bool device = mknod(dir.file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;

    struct Case {
        std::string path;
        TargetProblem problem;
        std::string reason;
    };
    std::vector<Case> cases = {
        {fifo, TargetProblem::NotRegularFile, fifo + " is a FIFO, not a regular file"},
        {dir.file("stdout"), TargetProblem::NotRegularFile,
         dir.file("stdout") + " is a FIFO, not a regular file"},
        {socketPath, TargetProblem::NotRegularFile,
         socketPath + " is a socket, not a regular file"},
        {dir.file("folder"), TargetProblem::IsFolder, dir.file("folder") + " is a folder"},
        {dir.file("no/such/out.pdf"), TargetProblem::FolderMissing,
         "the folder " + dir.file("no/such") + " does not exist"},
        {dir.file("fifo/out.pdf"), TargetProblem::FolderMissing,
         "the folder " + fifo + " does not exist"},
        {dir.file("out/"), TargetProblem::Invalid,
         "\"" + dir.file("out/") + "\" is not a valid file name"},
    };
    if (device)
        cases.push_back({dir.file("null"), TargetProblem::NotRegularFile,
                         dir.file("null") + " is a character device, not a regular file"});
    for (const Case& c : cases) {
        ReplacingFile file;
        EXPECT_FALSE(file.open(c.path)) << c.path;
        EXPECT_EQ(file.target().problem, c.problem) << c.path;
        EXPECT_EQ(DescribeTargetProblem(file.target()), c.reason);
    }
    EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));
    EXPECT_TRUE(S_ISSOCK(ModeOf(socketPath)));
    EXPECT_TRUE(S_ISLNK(ModeOf(dir.file("stdout"))));
    if (device) {
        EXPECT_TRUE(S_ISCHR(ModeOf(dir.file("null"))));
    }
    EXPECT_TRUE(PartialFiles(dir.path()).empty());
    close(sock);
}

TEST(ReplacingFile, ReadOnlyFilesAndFoldersStay) {
    TempDir dir;
    writeFile(dir.file("kept.pdf"), "old");
    chmod(dir.file("kept.pdf").c_str(), 0444);
    EXPECT_FALSE(Write(dir.file("kept.pdf"), "new"));
    EXPECT_EQ(readFile(dir.file("kept.pdf")), "old");
    if (geteuid() != 0) {
        mkdir(dir.file("closed").c_str(), 0555);
        ReplacingFile file;
        EXPECT_FALSE(file.open(dir.file("closed/out.pdf")));
        EXPECT_EQ(file.target().problem, TargetProblem::FolderNotWritable);
        EXPECT_EQ(DescribeTargetProblem(file.target()),
                  "the folder " + dir.file("closed") + " cannot be written: Permission denied");
    }
}

TEST(ReplacingFile, WritesThroughALinkAndKeepsIt) {
    TempDir dir;
    mkdir(dir.file("real").c_str(), 0755);
    writeFile(dir.file("real/doc.pdf"), "old");
    symlink("real/doc.pdf", dir.file("doc.pdf").c_str());
    ASSERT_TRUE(Write(dir.file("doc.pdf"), "new"));
    EXPECT_TRUE(S_ISLNK(ModeOf(dir.file("doc.pdf"))));
    EXPECT_EQ(readFile(dir.file("real/doc.pdf")), "new");

    // A link to a file not there yet: the file is made where the link points.
    symlink("real/later.pdf", dir.file("later.pdf").c_str());
    ASSERT_TRUE(Write(dir.file("later.pdf"), "first"));
    EXPECT_TRUE(S_ISLNK(ModeOf(dir.file("later.pdf"))));
    EXPECT_EQ(readFile(dir.file("real/later.pdf")), "first");
    EXPECT_TRUE(PartialFiles(dir.path()).empty());
    EXPECT_TRUE(PartialFiles(dir.file("real")).empty());
}

TEST(ReplacingFile, ModesOfNewAndReplacedFiles) {
    IsolatedHome home;
    TempDir dir;
    const mode_t oldMask = umask(027);
    ReplacingFile file;
    ASSERT_TRUE(file.open(dir.file("new.pdf")));
    // Private while it is written, whatever it becomes.
    EXPECT_EQ(ModeOf(file.partialPath()) & 0777, 0600u);
    ASSERT_TRUE(file.commit(true));
    EXPECT_EQ(ModeOf(dir.file("new.pdf")) & 0777, 0640u);

    writeFile(dir.file("shared.pdf"), "old");
    chmod(dir.file("shared.pdf").c_str(), 0664);
    ASSERT_TRUE(Write(dir.file("shared.pdf"), "new"));
    EXPECT_EQ(ModeOf(dir.file("shared.pdf")) & 0777, 0664u);

    ASSERT_TRUE(Write(home.tempDir() + "/copy.TIF", "page"));
    EXPECT_EQ(ModeOf(home.tempDir() + "/copy.TIF") & 0777, 0600u);
    umask(oldMask);
}

TEST(ReplacingFile, TheLongestLegalNameCanBeWritten) {
    TempDir dir;
    const std::string name = std::string(251, 'n') + ".pdf";
    ASSERT_EQ(name.size(), 255u);
    ASSERT_TRUE(Write(dir.file(name), "x"));
    EXPECT_EQ(readFile(dir.file(name)), "x");
}

TEST(ReplacingFile, FailureLeavesNoPartialFileAndTheOldOneStays) {
    TempDir dir;
    writeFile(dir.file("out.pdf"), "old");
    {
        ReplacingFile file;
        ASSERT_TRUE(file.open(dir.file("out.pdf")));
        std::fputs("half", file.stream());
        EXPECT_EQ(PartialFiles(dir.path()).size(), 1u);
    }
    EXPECT_TRUE(PartialFiles(dir.path()).empty());
    EXPECT_EQ(readFile(dir.file("out.pdf")), "old");

    // The target turned into a folder meanwhile: nothing is replaced.
    ReplacingFile file;
    ASSERT_TRUE(file.open(dir.file("late")));
    mkdir(dir.file("late").c_str(), 0755);
    EXPECT_FALSE(file.commit(false));
    EXPECT_EQ(file.error(), EISDIR);
    EXPECT_TRUE(PartialFiles(dir.path()).empty());
}

TEST(ReplacingFile, StalePartialFilesOfGoneRunsAreRemovedOnTheNextSave) {
    TempDir dir;
    // A process number no process has: beyond the kernel's limit.
    const std::string gone = dir.file(".vw2147483647.aB3dE9");
    const std::string alive = dir.file(".vw" + std::to_string(getppid()) + ".Xy12Zz");
    const std::string young = dir.file(".vw2147483647.young1");
    const std::string foreign = dir.file(".vw2147483647.toolong");
    for (const auto& f : {gone, alive, young, foreign}) writeFile(f, "partial");
    for (const auto& f : {gone, alive, foreign}) Age(f, 3600);
    ASSERT_TRUE(Write(dir.file("out.pdf"), "new"));
    EXPECT_FALSE(fileExists(gone));
    EXPECT_TRUE(fileExists(alive)) << "its writer is still running";
    EXPECT_TRUE(fileExists(young)) << "may be written from another machine";
    EXPECT_TRUE(fileExists(foreign)) << "not of the pattern";
}

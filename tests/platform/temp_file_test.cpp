#include "platform/temp_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "support/test_support.h"

using namespace vellumo::platform;

namespace {

TEST(TempFile, CreatesEmptyPrivateFileWithPrefixInTempFolder) {
    testsupport::IsolatedHome home;
    const std::string path = CreateTempFile("VW");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.rfind(home.tempDir() + "/VW", 0), 0u) << path;
    EXPECT_EQ(path.substr(path.size() - 4), ".tmp");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
    EXPECT_EQ(st.st_mode & 0777, 0600);
}

TEST(TempFile, NamesAreUniqueAndUnpredictable) {
    testsupport::IsolatedHome home;
    std::set<std::string> names;
    for (int i = 0; i < 200; ++i) names.insert(CreateTempFile("VW"));
    EXPECT_EQ(names.size(), 200u);
    EXPECT_EQ(names.count(""), 0u);
}

TEST(TempFile, MissingTempFolderGivesEmptyName) {
    testsupport::IsolatedHome home;
    setenv("TMPDIR", (home.path() + "/does-not-exist").c_str(), 1);
    EXPECT_EQ(CreateTempFile("VW"), "");
}

}  // namespace

TEST(TempFolderProblem, SaysWhyTheTemporaryFolderCannotBeUsed) {
    testsupport::IsolatedHome home;
    EXPECT_EQ(TempFolderProblem(), "");
    const std::string missing = home.path() + "/does-not-exist";
    setenv("TMPDIR", missing.c_str(), 1);
    EXPECT_EQ(TempFolderProblem(),
              "The temporary folder " + missing + " cannot be written: No such file or directory");
    const std::string file = home.path() + "/a-file";
    testsupport::writeFile(file, "x");
    setenv("TMPDIR", file.c_str(), 1);
    EXPECT_EQ(TempFolderProblem(),
              "The temporary folder " + file + " cannot be written: Not a directory");
}

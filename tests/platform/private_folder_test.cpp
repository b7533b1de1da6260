// Private folders of the temporary folder, and the hand-off folders of "MAIL AS PDF" that are
// kept for a day.
#include "platform/private_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include "support/test_support.h"

using namespace vellumo::platform;
using namespace testsupport;

namespace {

void Age(const std::string& path, int seconds) {
    timeval times[2];
    gettimeofday(&times[0], nullptr);
    times[0].tv_sec -= seconds;
    times[1] = times[0];
    utimes(path.c_str(), times);
}

}  // namespace

TEST(PrivateFolder, OnlyTheUserCanEnterItAndItGoesWithItsFiles) {
    IsolatedHome home;
    std::string path;
    {
        PrivateFolder folder("VW");
        ASSERT_TRUE(folder.ok());
        path = folder.path();
        EXPECT_EQ(path.rfind(home.tempDir() + "/VW", 0), 0u);
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        writeFile(folder.file("VW1.tmp.jpg"), "copy");
        writeFile(folder.file(".vw1.abcdef"), "partial");
    }
    EXPECT_FALSE(fileExists(path));

    PrivateFolder kept("VWmail-");
    writeFile(kept.file("Images.pdf"), "pdf");
    path = kept.path();
    kept.keep();
    EXPECT_TRUE(fileExists(path + "/Images.pdf"));
}

TEST(PrivateFolder, NoFolderWithoutATemporaryFolder) {
    IsolatedHome home;
    setenv("TMPDIR", (home.path() + "/missing").c_str(), 1);
    PrivateFolder folder("VW");
    EXPECT_FALSE(folder.ok());
    EXPECT_EQ(folder.error(), ENOENT);
}

TEST(MailHandoffs, OnlyThoseOlderThanADayAreRemoved) {
    IsolatedHome home;
    auto make = [&](const std::string& name, int ageSeconds) {
        const std::string path = home.tempDir() + "/" + name;
        mkdir(path.c_str(), 0700);
        writeFile(path + "/Images.pdf", "pdf");
        Age(path, ageSeconds);
        return path;
    };
    const std::string old = make("VWmail-old123", 25 * 3600);
    const std::string recent = make("VWmail-new123", 23 * 3600);
    const std::string other = make("VWother", 48 * 3600);
    RemoveOldMailHandoffs();
    EXPECT_FALSE(fileExists(old));
    EXPECT_TRUE(fileExists(recent + "/Images.pdf"));
    EXPECT_TRUE(fileExists(other + "/Images.pdf"));
}

#include "platform/install_dirs.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "scan/sane/sane_config.h"
#include "support/test_support.h"

using namespace vellumo::platform;
using namespace vellumo::scan;

namespace {

namespace fs = std::filesystem;
using testsupport::shellQuote;

// An installed tree under a temporary folder: <prefix>/bin and <prefix>/share/vellumo.
class InstalledTree : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(bin());
        fs::create_directories(data());
    }
    std::string bin() const { return dir_.path() + "/usr/bin"; }
    std::string data() const { return dir_.path() + "/usr/share/vellumo"; }
    void makeSaneFolder(const std::string& dllConf) const {
        fs::create_directories(data() + "/sane");
        testsupport::writeFile(data() + "/sane/dll.conf", dllConf);
        fs::copy_file(testsupport::sourceDir() + "/res/sane/test.conf", data() + "/sane/test.conf");
    }

    testsupport::TempDir dir_;
};

TEST_F(InstalledTree, DataFolderIsShareVellumoBesideBin) {
    EXPECT_EQ(InstalledDataDir(bin()), data());
    EXPECT_EQ(InstalledDataDir(bin() + "/"), data());
    EXPECT_EQ(InstalledDataDir("/usr/bin"), "/usr/share/vellumo");
    EXPECT_EQ(InstalledDataDir("/opt/vellumo/bin"), "/opt/vellumo/share/vellumo");
    EXPECT_EQ(InstalledDataDir(""), "");
}

TEST_F(InstalledTree, ProgramFileBesideTheProgramComesFirst) {
    testsupport::writeFile(data() + "/Vellumo.html", "installed");
    // Only the installed copy: that one.
    EXPECT_EQ(FindProgramFile(bin(), "Vellumo.html"), data() + "/Vellumo.html");
    // A copy beside the program (the build tree) wins over the installed one.
    testsupport::writeFile(bin() + "/Vellumo.html", "beside");
    EXPECT_EQ(FindProgramFile(bin(), "Vellumo.html"), bin() + "/Vellumo.html");
}

TEST_F(InstalledTree, MissingProgramFileIsLookedForBesideTheProgram) {
    EXPECT_EQ(FindProgramFile(bin(), "Vellumo.html"), bin() + "/Vellumo.html");
    // A folder of that name is no file.
    fs::create_directories(data() + "/Vellumo.html");
    EXPECT_EQ(FindProgramFile(bin(), "Vellumo.html"), bin() + "/Vellumo.html");
}

TEST_F(InstalledTree, HelperProgramsBesideTheProgramElseInLibexec) {
    const std::string libexec = dir_.path() + "/usr/libexec/vellumo";
    EXPECT_EQ(InstalledHelperDir(bin()), libexec);
    EXPECT_EQ(FindHelperProgram(bin(), "viewer"), "");  // none anywhere
    fs::create_directories(libexec);
    testsupport::writeFile(libexec + "/viewer", "#!/bin/sh\n");
    EXPECT_EQ(FindHelperProgram(bin(), "viewer"), "");  // not executable: no program
    fs::permissions(libexec + "/viewer", fs::perms::owner_all);
    EXPECT_EQ(FindHelperProgram(bin(), "viewer"), libexec + "/viewer");
    // One beside the program (the build tree) wins.
    testsupport::writeFile(bin() + "/viewer", "#!/bin/sh\n");
    fs::permissions(bin() + "/viewer", fs::perms::owner_all);
    EXPECT_EQ(FindHelperProgram(bin(), "viewer"), bin() + "/viewer");
}

TEST_F(InstalledTree, SaneSearchesTheInstalledFolderThenTheSystemOne) {
    // No installed SANE folder: SANE keeps its own search path.
    EXPECT_EQ(SaneConfigDirFor(nullptr, bin()), std::nullopt);
    makeSaneFolder("test\n");
    // The trailing ':' keeps /etc/sane.d on the path behind ours.
    EXPECT_EQ(SaneConfigDirFor(nullptr, bin()), data() + "/sane:");
    // A program that is not in an installed tree leaves SANE alone.
    EXPECT_EQ(SaneConfigDirFor(nullptr, dir_.path()), std::nullopt);
    EXPECT_EQ(SaneConfigDirFor(nullptr, ""), std::nullopt);
}

TEST_F(InstalledTree, ExplicitSaneConfigDirWins) {
    makeSaneFolder("test\n");
    EXPECT_EQ(SaneConfigDirFor("/home/me/sane", bin()), std::nullopt);
    EXPECT_EQ(SaneConfigDirFor("", bin()), std::nullopt);
}

TEST_F(InstalledTree, SaneFolderMustBeAFolder) {
    testsupport::writeFile(data() + "/sane", "not a folder");
    EXPECT_EQ(SaneConfigDirFor(nullptr, bin()), std::nullopt);
}

TEST(ExecutableDir, IsTheFolderOfThisTestProgram) {
    const std::string dir = ExecutableDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(fs::exists(dir + "/platform_install_dirs_test"));
}

// vellumo-cli copied into an installed tree finds the SANE test scanner through the installed
// configuration alone, with SANE_CONFIG_DIR unset. The scanner is asked for by its product name,
// which only discovery knows: a device name would make SANE load the back end on demand.
class InstalledCli : public InstalledTree {
protected:
    void SetUp() override {
        InstalledTree::SetUp();
        fs::copy_file(VELLUMO_CLI, cli());
    }
    std::string cli() const { return bin() + "/vellumo-cli"; }
    // Runs "vellumo-cli scan" on the test scanner with `env` in front; returns the exit status.
    int scan(const std::string& env, const std::string& out, std::string* output = nullptr) const {
        // The sanitizer build: the SANE test back end's own leak is not the program's.
        const std::string line = env + " ASAN_OPTIONS=detect_leaks=0 timeout 120 " +
                                 shellQuote(cli()) +
                                 " scan --device 'Noname frontend-tester' --resolution 50 -o " +
                                 shellQuote(out) + " 2>&1";
        int status = -1;
        const std::string text = testsupport::capture(line, &status);
        if (output) *output = text;
        return status;
    }

    testsupport::IsolatedHome home_;
};

TEST_F(InstalledCli, ScansThroughTheInstalledSaneConfiguration) {
    if (!testsupport::haveTool("qpdf")) GTEST_SKIP() << "qpdf is not installed";
    makeSaneFolder("test\n");
    const std::string out = home_.path() + "/out.pdf";
    std::string output;
    EXPECT_EQ(scan("env -u SANE_CONFIG_DIR", out, &output), 0) << output;
    EXPECT_EQ(testsupport::run("qpdf --check " + shellQuote(out) + " >/dev/null"), 0);
}

TEST_F(InstalledCli, ExplicitSaneConfigDirWinsOverTheInstalledOne) {
    makeSaneFolder("test\n");
    const std::string none = home_.path() + "/sane-none";
    fs::create_directories(none);
    testsupport::writeFile(none + "/dll.conf", "");
    const std::string out = home_.path() + "/out.pdf";
    EXPECT_EQ(scan("env SANE_CONFIG_DIR=" + shellQuote(none), out), 1);
    EXPECT_FALSE(testsupport::fileExists(out));
}

TEST_F(InstalledCli, WithoutAnInstalledFolderSaneKeepsTheSystemConfiguration) {
    // Debian's own dll.conf leaves the test back end out; where a system enables it, this case
    // cannot tell the two apart.
    const std::string system = testsupport::readFile("/etc/sane.d/dll.conf");
    if (system.find("\ntest\n") != std::string::npos || system.rfind("test\n", 0) == 0)
        GTEST_SKIP() << "the system's SANE configuration has the test back end";
    const std::string out = home_.path() + "/out.pdf";
    EXPECT_EQ(scan("env -u SANE_CONFIG_DIR", out), 1);
    EXPECT_FALSE(testsupport::fileExists(out));
}

}  // namespace

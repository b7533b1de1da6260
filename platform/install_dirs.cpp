#include "platform/install_dirs.h"

#include <filesystem>
#include <system_error>

namespace vellumo::platform {

namespace fs = std::filesystem;

// Set by the build from the install layout; the standard one when built some other way.
#ifndef VELLUMO_DATA_FROM_BIN
#define VELLUMO_DATA_FROM_BIN "../share/vellumo"
#endif
#ifndef VELLUMO_LIBEXEC_FROM_BIN
#define VELLUMO_LIBEXEC_FROM_BIN "../libexec/vellumo"
#endif

namespace {

fs::path Beside(const std::string& exeDir, const char* relative) {
    fs::path dir = (fs::path(exeDir) / relative).lexically_normal();
    // "a/b/" names the same folder as "a/b"; callers append "/name".
    if (!dir.has_filename()) dir = dir.parent_path();
    return dir;
}

bool IsProgram(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) &&
           (fs::status(path, error).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

}  // namespace

std::string ExecutableDir() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error || exe.empty()) return {};
    return exe.parent_path().string();
}

std::string InstalledDataDir(const std::string& exeDir) {
    if (exeDir.empty()) return {};
    return Beside(exeDir, VELLUMO_DATA_FROM_BIN).string();
}

std::string InstalledHelperDir(const std::string& exeDir) {
    if (exeDir.empty()) return {};
    return Beside(exeDir, VELLUMO_LIBEXEC_FROM_BIN).string();
}

std::string FindHelperProgram(const std::string& exeDir, const std::string& name) {
    const std::string beside = exeDir + "/" + name;
    if (IsProgram(beside)) return beside;
    const std::string helpers = InstalledHelperDir(exeDir);
    if (!helpers.empty() && IsProgram(helpers + "/" + name)) return helpers + "/" + name;
    return {};
}

std::string FindProgramFile(const std::string& exeDir, const std::string& name) {
    const std::string beside = exeDir + "/" + name;
    std::error_code error;
    if (fs::is_regular_file(beside, error)) return beside;
    const std::string data = InstalledDataDir(exeDir);
    if (!data.empty()) {
        const std::string installed = data + "/" + name;
        if (fs::is_regular_file(installed, error)) return installed;
    }
    return beside;
}

}  // namespace vellumo::platform

#include "platform/install_dirs.h"

#include <filesystem>
#include <system_error>

namespace vellumo::platform {

namespace fs = std::filesystem;

// Set by the build from the install layout; the standard one when built some other way.
#ifndef VELLUMO_DATA_FROM_BIN
#define VELLUMO_DATA_FROM_BIN "../share/vellumo"
#endif

std::string ExecutableDir() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error || exe.empty()) return {};
    return exe.parent_path().string();
}

std::string InstalledDataDir(const std::string& exeDir) {
    if (exeDir.empty()) return {};
    fs::path dir = (fs::path(exeDir) / VELLUMO_DATA_FROM_BIN).lexically_normal();
    // "a/b/" names the same folder as "a/b"; callers append "/name".
    if (!dir.has_filename()) dir = dir.parent_path();
    return dir.string();
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

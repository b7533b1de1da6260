#include "scan/sane/sane_config.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/install_dirs.h"

namespace vellumo::scan {

using namespace vellumo::platform;

std::optional<std::string> SaneConfigDirFor(const char* current, const std::string& exeDir) {
    if (current) return std::nullopt;
    const std::string data = InstalledDataDir(exeDir);
    if (data.empty()) return std::nullopt;
    const std::string sane = data + "/sane";
    std::error_code error;
    if (!std::filesystem::is_directory(sane, error)) return std::nullopt;
    return sane + ":";
}

void UseInstalledSaneConfig() {
    if (const auto dir = SaneConfigDirFor(std::getenv("SANE_CONFIG_DIR"), ExecutableDir()))
        setenv("SANE_CONFIG_DIR", dir->c_str(), 0);
}

}  // namespace vellumo::scan

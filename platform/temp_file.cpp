#include "platform/temp_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace vellumo::platform {

std::string TempDirectory() {
    const char* dir = std::getenv("TMPDIR");
    std::string path = (dir && *dir) ? dir : "/tmp";
    if (path.back() != '/') path += '/';
    return path;
}

std::string CreateTempFile(const std::string& prefix) {
    static constexpr char kSuffix[] = ".tmp";
    std::string pattern = TempDirectory() + prefix + "XXXXXX" + kSuffix;
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkstemps opens with O_CREAT | O_EXCL and mode 0600.
    const int fd = mkstemps(name.data(), sizeof kSuffix - 1);
    if (fd < 0) return {};
    close(fd);
    return name.data();
}

bool InTempDirectory(const std::string& path) {
    const std::string folder = TempDirectory();
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path.find('/', folder.size()) == std::string::npos;
}

}  // namespace vellumo::platform

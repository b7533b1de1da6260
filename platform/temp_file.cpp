#include "platform/temp_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vellumo::platform {

std::string TempDirectory() {
    const char* dir = std::getenv("TMPDIR");
    std::string path = (dir && *dir) ? dir : "/tmp";
    if (path.back() != '/') path += '/';
    return path;
}

std::string CreateTempFile(const std::string& prefix, const std::string& suffix) {
    std::string pattern = TempDirectory() + prefix + "XXXXXX" + suffix;
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkstemps opens with O_CREAT | O_EXCL and mode 0600.
    const int fd = mkstemps(name.data(), static_cast<int>(suffix.size()));
    if (fd < 0) return {};
    close(fd);
    return name.data();
}

bool InTempDirectory(const std::string& path) {
    const std::string folder = TempDirectory();
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path.find('/', folder.size()) == std::string::npos;
}

std::string TempFolderProblem() {
    std::string folder = TempDirectory();
    if (folder.size() > 1) folder.pop_back();
    struct stat st {};
    int error = 0;
    if (stat(folder.c_str(), &st) != 0)
        error = errno;
    else if (!S_ISDIR(st.st_mode))
        error = ENOTDIR;
    else if (access(folder.c_str(), W_OK | X_OK) != 0)
        error = errno;
    if (error == 0) return {};
    return "The temporary folder " + folder + " cannot be written: " + std::strerror(error);
}
}  // namespace vellumo::platform

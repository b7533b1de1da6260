#include "platform/private_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

#include "platform/temp_file.h"

namespace vellumo::platform {

PrivateFolder::PrivateFolder(const std::string& prefix) {
    std::string pattern = TempDirectory() + prefix + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkdtemp makes the folder with mode 0700 under a name no one could have taken before.
    if (!::mkdtemp(name.data())) {
        error_ = errno;
        return;
    }
    path_ = name.data();
    cleanup_ = RemoveOnSignal(path_, true);
}

PrivateFolder::~PrivateFolder() {
    if (!path_.empty()) RemoveFolderWithFiles(path_);
}

PrivateFolder::PrivateFolder(PrivateFolder&& other) noexcept
    : path_(std::move(other.path_)), error_(other.error_), cleanup_(std::move(other.cleanup_)) {
    other.path_.clear();
}

PrivateFolder& PrivateFolder::operator=(PrivateFolder&& other) noexcept {
    if (this != &other) {
        if (!path_.empty()) RemoveFolderWithFiles(path_);
        path_ = std::move(other.path_);
        other.path_.clear();
        error_ = other.error_;
        cleanup_ = std::move(other.cleanup_);
    }
    return *this;
}

void PrivateFolder::keep() {
    cleanup_.release();
    path_.clear();
}

void RemoveFolderWithFiles(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        if (DIR* dir = ::fdopendir(fd)) {
            std::vector<std::string> names;
            while (const dirent* entry = ::readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") names.push_back(name);
            }
            for (const std::string& name : names) ::unlinkat(::dirfd(dir), name.c_str(), 0);
            ::closedir(dir);  // closes fd too
        } else {
            ::close(fd);
        }
    }
    ::rmdir(path.c_str());
}

void RemoveOldMailHandoffs(std::chrono::seconds maxAge) {
    std::string folder = TempDirectory();
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const std::string prefix = kMailHandoffPrefix;
    const time_t now = std::time(nullptr);
    std::vector<std::string> old;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) continue;
        if (now - st.st_mtime > static_cast<time_t>(maxAge.count())) old.push_back(folder + name);
    }
    ::closedir(dir);
    for (const std::string& path : old) RemoveFolderWithFiles(path);
}

}  // namespace vellumo::platform

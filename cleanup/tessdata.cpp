#include "cleanup/tessdata.h"

#include <sys/stat.h>

#include <cstdlib>
#include <vector>

namespace vellumo::cleanup {

namespace {

bool IsFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

std::string TessdataFolder(const std::string& language) {
    if (language.empty() || language.find('/') != std::string::npos) return {};
    std::vector<std::string> folders;
    if (const char* prefix = std::getenv("TESSDATA_PREFIX"); prefix && *prefix) {
        folders.push_back(WithSlash(prefix));
        folders.push_back(WithSlash(prefix) + "tessdata/");
    } else {
        folders = {"/usr/share/tesseract-ocr/5/tessdata/",
                   "/usr/share/tesseract-ocr/4.00/tessdata/", "/usr/share/tessdata/",
                   "/usr/local/share/tessdata/"};
    }
    for (const std::string& folder : folders)
        if (IsFile(folder + language + ".traineddata")) return folder;
    return {};
}

bool OrientationDataInstalled() {
    return !TessdataFolder("osd").empty();
}

}  // namespace vellumo::cleanup

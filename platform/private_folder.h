// Folders in the temporary folder that only the user can open (0700). A PDF build keeps its JPEG
// copies in one for the time of the build; every PDF handed to the desktop's mail program lives
// in one of its own as "Images.pdf", kept for a day, since the mail program may read it long
// after the hand-off.
#pragma once

#include <chrono>
#include <string>

#include "platform/signal_cleanup.h"

namespace vellumo::platform {

class PrivateFolder {
public:
    PrivateFolder() = default;
    // Creates "<temporary folder>/<prefix>XXXXXX"; ok() is false when that fails (error()).
    explicit PrivateFolder(const std::string& prefix);
    // Removes the folder with its files, unless it is kept.
    ~PrivateFolder();
    PrivateFolder(PrivateFolder&& other) noexcept;
    PrivateFolder& operator=(PrivateFolder&& other) noexcept;
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // The system's error number when the folder could not be made.
    int error() const { return error_; }
    // The folder stays after the object, and after a signal.
    void keep();

private:
    std::string path_;
    int error_ = 0;
    RemoveOnSignal cleanup_;
};

// Removes a folder of the program's own with the files in it (never following a link).
void RemoveFolderWithFiles(const std::string& path);

// The prefix of the hand-off folders of "MAIL AS PDF".
inline constexpr char kMailHandoffPrefix[] = "VWmail-";
// How long a PDF handed to the mail program is kept.
inline constexpr std::chrono::hours kMailHandoffLifetime{24};

// Removes the user's hand-off folders last changed more than maxAge ago.
void RemoveOldMailHandoffs(std::chrono::seconds maxAge = kMailHandoffLifetime);

}  // namespace vellumo::platform

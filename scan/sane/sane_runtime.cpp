#include "scan/sane/sane_runtime.h"

#include <sane/sane.h>

#include <mutex>

#include "scan/sane/backend_guards.h"
#include "scan/sane/sane_config.h"

namespace vellumo::scan::sane {

namespace {

std::mutex saneMutex;
int saneUsers = 0;

}  // namespace

bool AcquireSane() {
    std::lock_guard<std::mutex> lock(saneMutex);
    if (saneUsers == 0) {
        PrepareBackEndGuards();
        UseInstalledSaneConfig();
        SANE_Int version = 0;
        if (sane_init(&version, nullptr) != SANE_STATUS_GOOD) return false;
    }
    ++saneUsers;
    return true;
}

void ReleaseSane() {
    std::lock_guard<std::mutex> lock(saneMutex);
    if (saneUsers > 0 && --saneUsers == 0) sane_exit();
}

}  // namespace vellumo::scan::sane

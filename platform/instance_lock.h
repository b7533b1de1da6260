// The marker of a running instance: an exclusive lock on the file "VELLUMOUNIQUENAME" in the
// user's runtime folder, held by the first instance until its process ends (the system drops it
// then, also after a crash). It is only ever tested, never waited for.
#pragma once

#include <string>

namespace vellumo::platform {

inline constexpr char kInstanceLockName[] = "VELLUMOUNIQUENAME";

// "$XDG_RUNTIME_DIR/VELLUMOUNIQUENAME", or the temporary folder when there is no runtime folder.
std::string InstanceLockPath();

enum class InstanceLock { Acquired, HeldElsewhere };

// Takes the lock for the rest of the process's life. HeldElsewhere when another process holds
// it or the lock file may not be opened (another user's file). A lock that cannot be set up at
// all counts as Acquired: the program then runs as a first instance.
InstanceLock AcquireInstanceLock();

}  // namespace vellumo::platform

// SANE is one per process: started by the first scanner component that needs it and ended by
// the last. Back ends that read on threads of their own are kept from having those threads
// killed in the middle of a library call (see sane_runtime.cpp).
#pragma once

namespace vellumo::scan::sane {

// Starts SANE for one more user (sane_init for the first); false when SANE cannot be started.
bool AcquireSane();
// Ends SANE when its last user lets go (sane_exit).
void ReleaseSane();

}  // namespace vellumo::scan::sane

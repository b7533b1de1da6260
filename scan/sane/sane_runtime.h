// SANE is one per process: started by the first scanner component that needs it and ended by
// the last, with the guards against back-end faults in place before the first back end loads.
#pragma once

namespace vellumo::scan::sane {

// Starts SANE for one more user (sane_init for the first); false when SANE cannot be started.
bool AcquireSane();
// Ends SANE when its last user lets go (sane_exit).
void ReleaseSane();

}  // namespace vellumo::scan::sane

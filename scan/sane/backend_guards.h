// Guards against faults of SANE back ends that run inside the program: the program defines a few
// C library functions itself, so that a back end calling them gets a safe variant (see
// backend_guards.cpp). scan/CMakeLists.txt exports these definitions to the back ends.
#pragma once

namespace vellumo::scan::sane {

// Looks up the C library's own functions; called before the first back end is loaded (by
// AcquireSane), which also keeps this module linked wherever SANE is.
void PrepareBackEndGuards();

}  // namespace vellumo::scan::sane

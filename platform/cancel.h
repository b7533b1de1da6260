// The program-wide cancel flag of long operations. The activity dialog's Cancel (or Ctrl+C on
// the command line) raises it; an operation clears it when it starts and tests it at safe
// points. It lives here, below every layer, because the GUI-free scan session and the command
// line test it as well as the windows; atomic because workers read it off the GUI thread.
#pragma once

#include <atomic>

namespace vellumo::platform {

// 1 once the user asked to cancel; operations clear it when they start.
extern std::atomic<int> cancelRequested;

}  // namespace vellumo::platform

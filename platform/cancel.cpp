#include "platform/cancel.h"

namespace vellumo::platform {

std::atomic<int> cancelRequested{0};

}  // namespace vellumo::platform

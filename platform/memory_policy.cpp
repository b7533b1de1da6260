#include "platform/memory_policy.h"

#include <malloc.h>

namespace vellumo::platform {

void ReturnLargeBlocksToTheSystem() {
    // A fixed threshold also stops glibc from raising it after each large free, which is what
    // let freed pages stay resident.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

}  // namespace vellumo::platform

// Feeds arbitrary bytes to DibToImage as a packed DIB of exactly that size, the way the
// scanner's pages arrive.
#include <cstring>
#include <vector>

#include "imaging/dib.h"

using namespace vellumo::imaging;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A private copy, so any read past `size` is caught by the sanitizer.
    std::vector<uint8_t> copy(data, data + size);
    // Pages over 48 MB would only slow the search down.
    if (size >= 12) {
        int32_t width = 0, height = 0;
        std::memcpy(&width, copy.data() + 4, 4);
        std::memcpy(&height, copy.data() + 8, 4);
        const uint64_t w = width > 0 ? static_cast<uint64_t>(width) : 0;
        const uint64_t h =
            height < 0 ? static_cast<uint64_t>(-int64_t{height}) : static_cast<uint64_t>(height);
        if (w > (1u << 20) || h > (1u << 20) || w * h * 4 > (uint64_t{48} << 20)) return 0;
    }
    ImageBuffer image{};
    if (DibToImage(copy.data(), copy.size(), image) == 0) FreeImage(image);
    return 0;
}

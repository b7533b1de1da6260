#include "scan_like_page.h"

#include <algorithm>

#include "imaging/image_buffer.h"

namespace vellumo::bench {

using namespace vellumo::imaging;

// A page like a scan: paper, lines of text-like strokes, a photo, sensor noise; each page its
// own (the seed), so no page is served from a cache of another.
void MakeScanLikePage(ImageBuffer& page, uint32_t seed) {
    constexpr int kWidth = kScanLikeWidth, kHeight = kScanLikeHeight;
    AllocateImage(page, kWidth, kHeight, 24);
    page.imageFlags &= ~kImageFlagGrey;
    SetImageDpi(page, 300, 300);
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = RowPointer(page, static_cast<uint32_t>(y));
        const bool textLine = (y / 40) % 2 == 0 && y % 40 > 8 && y % 40 < 30;
        for (int x = 0; x < kWidth; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int n = static_cast<int>((seed >> 16) % 9) - 4;
            int r = 244, g = 242, b = 236;
            if (x > 400 && x < 2080 && y > 1300 && y < 2400) {
                r = (x * 7 + y * 3) % 256;
                g = (x * 2 + y * 5) % 256;
                b = (x + y) % 256;
            } else if (textLine && x > 200 && x < 2280 && ((x / 9 + y / 40) % 5 != 0) &&
                       ((seed >> 8) & 3) != 0) {
                r = g = b = 30;
            }
            row[3 * x] = static_cast<uint8_t>(std::clamp(b + n, 0, 255));
            row[3 * x + 1] = static_cast<uint8_t>(std::clamp(g + n, 0, 255));
            row[3 * x + 2] = static_cast<uint8_t>(std::clamp(r + n, 0, 255));
        }
    }
}

}  // namespace vellumo::bench

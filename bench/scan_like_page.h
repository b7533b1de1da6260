// The page the benchmarks load: an A4 page scanned at 300 dpi in colour, with paper, lines of
// text-like strokes, a photo and sensor noise; each seed gives a page of its own, so no page is
// served from a cache of another.
#pragma once

#include <cstdint>

#include "imaging/image_buffer.h"

namespace vellumo::bench {

constexpr int kScanLikeWidth = 2480, kScanLikeHeight = 3508;

// Allocates and fills page (24-bit, 300 dpi).
void MakeScanLikePage(imaging::ImageBuffer& page, uint32_t seed);

}  // namespace vellumo::bench

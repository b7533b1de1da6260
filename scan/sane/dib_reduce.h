// Reduces a packed DIB the scanner delivered to the pixel type the session asked for, for
// devices that cannot deliver it themselves: colour to 8-bit grey, grey to black and white
// (black at colour index 0, as the program's line art has it).
#pragma once

#include <cstdint>
#include <vector>

namespace vellumo::scan::sane {

// The pixel type (kPixelBw, kPixelGray, kPixelRgb) a DIB has; -1 when it is none of them.
int DibPixelType(const std::vector<uint8_t>& dib);
// `dib` reduced to `pixelType`; unchanged when it already is that type or has fewer colours.
std::vector<uint8_t> ReduceDib(const std::vector<uint8_t>& dib, int pixelType);

}  // namespace vellumo::scan::sane

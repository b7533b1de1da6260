// The skin's colours that the program draws with itself, beside the artwork painted from them
// (res/artwork): plain values, no Qt, so the generator reads the same ones.
#pragma once

namespace vellumo::widgets {

// The accent of the skin: the primary buttons, the current tab, the keyboard focus ring.
inline constexpr unsigned kSkinAccent = 0x2b78c2;

}  // namespace vellumo::widgets

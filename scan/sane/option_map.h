// How SANE devices' options map onto the scanner component's capabilities. Devices differ in
// option names and in the strings they use for modes and sources; every such difference is one
// named entry of one table, and each entry can be switched off on its own. A capability whose
// option cannot be found is not supported.
#pragma once

#include <string>
#include <vector>

namespace vellumo::scan {

namespace saneopt {

enum class Role {
    Mode,
    Depth,
    Resolution,
    XResolution,
    YResolution,
    Brightness,
    Source,
    TlX,
    TlY,
    BrX,
    BrY
};

enum class SourceKind { Flatbed, Feeder, Duplex };

// One entry of the mapping table.
struct Quirk {
    const char* name;
    const char* description;
    bool enabled;
};

// Every entry, in the order they are tried.
const std::vector<Quirk>& Quirks();
// Switches an entry on or off; returns false when there is no entry of that name.
bool SetQuirkEnabled(const std::string& name, bool enabled);
bool QuirkEnabled(const std::string& name);

// The index in `names` (a device's option names, in order) of the option that plays `role`, or
// -1. `quirk` receives the name of the entry that matched.
int FindOption(const std::vector<std::string>& names, Role role, std::string* quirk = nullptr);

// What to set for a pixel type: the mode string and the bit depth (0: leave the depth alone).
struct ModeChoice {
    std::string mode;  // empty: the device has no mode for this pixel type
    int depth = 0;
    std::string quirk;  // "bw-from-grey": the images come grey and are reduced
};
// `modes`: the device's mode strings; `depths`: the values its depth option allows (empty when
// it has none).
ModeChoice ChooseMode(const std::vector<std::string>& modes, const std::vector<int>& depths,
                      int pixelType);
// The pixel type a mode delivers at a depth, or -1 for modes the program does not use.
int PixelTypeOfMode(const std::vector<std::string>& modes, const std::string& mode, int depth);
// The pixel types the device can deliver, in the order 0, 1, 2.
std::vector<int> PixelTypes(const std::vector<std::string>& modes, const std::vector<int>& depths);

// The entries of a source option by what they are.
struct Sources {
    std::string flatbed;  // empty when the device has none
    std::string feeder;   // simplex feeder
    std::string duplex;   // duplex feeder
};
Sources ClassifySources(const std::vector<std::string>& entries);
SourceKind KindOfSource(const std::string& entry);
// The entry to select for the feeder and duplex switches; empty when the device cannot.
std::string ChooseSource(const Sources& sources, bool feederEnabled, bool duplexEnabled);

// Whether an image the device delivered with pixel type `delivered` may be reduced to the pixel
// type `wanted` the session asked for (a device without that mode, or one that decodes every
// page to colour).
bool MayReduce(int delivered, int wanted);

// Whether geometry options in pixels are converted with the resolution (else only mm is used).
bool GeometryInPixels();

}  // namespace saneopt

}  // namespace vellumo::scan

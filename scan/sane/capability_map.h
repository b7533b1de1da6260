// The scanner component's capabilities on a SANE device: what a capability reads (container,
// value, default, limits) and which options setting it changes, by the option-mapping table.
// Keeps the capabilities a session has without a device option of their own (transfer count,
// automatic feeding, the wish for duplex) and the values the device had when the session opened.
#pragma once

#include <map>
#include <string>

#include "scan/sane/option_access.h"
#include "scan/sane/option_map.h"
#include "scan/scanner_component.h"

namespace vellumo::scan::sane {

// What one capability reads.
struct CapInfo {
    bool supported = false;
    int container = kContainerOneValue;
    double value = 0, def = 0, min = 0, max = 0, step = 0;
    int numItems = 0;
};

class CapabilityMap {
public:
    explicit CapabilityMap(SaneOptions& options) : options_(options) {}

    // Takes the device's current values as the capabilities' defaults (at the session's start).
    void RememberDefaults();
    CapInfo Describe(int cap);
    // Sets a capability to one value; throws ScannerError when it is unsupported or refused.
    void Apply(int cap, double value);

    int transferCount() const { return transferCount_; }
    // The pixel type the session's images will have (-1: unknown); it may be fewer colours than
    // the device delivers (see saneopt::MayReduce).
    int PixelType();
    // The entries of the device's source option by kind, and the option's index (-1: none).
    saneopt::Sources SourceEntries(int* index = nullptr);
    // What the selected source is; a device without a source option scans from its glass.
    saneopt::SourceKind CurrentSourceKind();

private:
    CapInfo NumericCap(int cap, int index);
    int DevicePixelType();
    std::vector<int> PixelTypesOffered();
    void SelectSourceEntry(bool feeder, bool duplex);
    double DefaultOf(int cap, double current) const;

    SaneOptions& options_;
    int transferCount_ = -1;
    bool autoFeed_ = true;
    bool duplexWanted_ = false;
    bool bwFromGrey_ = false;  // black and white was asked of a device that scans it grey
    std::map<int, double> defaults_;
};

}  // namespace vellumo::scan::sane

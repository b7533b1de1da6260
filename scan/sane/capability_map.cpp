#include "scan/sane/capability_map.h"

#include <algorithm>

#include "scan/sane/sane_errors.h"

namespace vellumo::scan::sane {

void CapabilityMap::RememberDefaults() {
    transferCount_ = -1;
    autoFeed_ = true;
    duplexWanted_ = false;
    bwFromGrey_ = false;
    defaults_.clear();
    for (int cap : {kCapBrightness, kCapPixelType, kCapXResolution, kCapYResolution}) {
        const CapInfo c = Describe(cap);
        if (c.supported) defaults_[cap] = c.value;
    }
}

double CapabilityMap::DefaultOf(int cap, double current) const {
    const auto it = defaults_.find(cap);
    return it != defaults_.end() ? it->second : current;
}

CapInfo CapabilityMap::NumericCap(int cap, int index) {
    CapInfo c;
    const SANE_Option_Descriptor* d = options_.Descriptor(index);
    if (!SaneOptions::Usable(d) || !SaneOptions::Numeric(d)) return c;
    c.supported = true;
    c.value = options_.GetNumber(index);
    if (d->constraint_type == SANE_CONSTRAINT_RANGE) {
        c.container = kContainerRange;
        c.min = SaneOptions::ToDouble(d, d->constraint.range->min);
        c.max = SaneOptions::ToDouble(d, d->constraint.range->max);
        c.step = SaneOptions::ToDouble(d, d->constraint.range->quant);
    } else if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
        c.container = kContainerEnumeration;
        c.numItems = d->constraint.word_list[0];
        if (c.numItems > 0) {
            c.min = c.max = SaneOptions::ToDouble(d, d->constraint.word_list[1]);
            for (int i = 1; i <= c.numItems; ++i) {
                c.min = std::min(c.min, SaneOptions::ToDouble(d, d->constraint.word_list[i]));
                c.max = std::max(c.max, SaneOptions::ToDouble(d, d->constraint.word_list[i]));
            }
        }
    } else {
        c.min = c.max = c.value;
    }
    c.def = DefaultOf(cap, c.value);
    return c;
}

int CapabilityMap::PixelType() {
    const int device = DevicePixelType();
    return bwFromGrey_ && device == kPixelGray ? kPixelBw : device;
}

// The pixel type the device will deliver with its current settings.
int CapabilityMap::DevicePixelType() {
    const int modeIndex = options_.Find(saneopt::Role::Mode);
    if (options_.Usable(modeIndex)) {
        const int depthIndex = options_.Find(saneopt::Role::Depth);
        const int depth =
            options_.Usable(depthIndex) ? static_cast<int>(options_.GetNumber(depthIndex)) : 0;
        return saneopt::PixelTypeOfMode(options_.StringList(modeIndex),
                                        options_.GetString(modeIndex), depth);
    }
    SANE_Parameters p{};
    if (sane_get_parameters(options_.handle(), &p) != SANE_STATUS_GOOD) return -1;
    if (p.format == SANE_FRAME_GRAY) return p.depth == 1 ? kPixelBw : kPixelGray;
    return kPixelRgb;
}

std::vector<int> CapabilityMap::PixelTypesOffered() {
    const int modeIndex = options_.Find(saneopt::Role::Mode);
    if (options_.Usable(modeIndex))
        return saneopt::PixelTypes(options_.StringList(modeIndex), options_.DepthList());
    const int t = DevicePixelType();
    return t < 0 ? std::vector<int>{} : std::vector<int>{t};
}

saneopt::Sources CapabilityMap::SourceEntries(int* index) {
    const int sourceIndex = options_.Find(saneopt::Role::Source);
    if (index) *index = sourceIndex;
    if (!options_.Usable(sourceIndex)) return {};
    return saneopt::ClassifySources(options_.StringList(sourceIndex));
}

saneopt::SourceKind CapabilityMap::CurrentSourceKind() {
    int sourceIndex = -1;
    SourceEntries(&sourceIndex);
    if (!options_.Usable(sourceIndex)) return saneopt::SourceKind::Flatbed;
    return saneopt::KindOfSource(options_.GetString(sourceIndex));
}

CapInfo CapabilityMap::Describe(int cap) {
    CapInfo c;
    auto oneValue = [&](double v, double def) {
        c.supported = true;
        c.container = kContainerOneValue;
        c.value = v;
        c.def = def;
        c.min = c.max = v;
    };
    switch (cap) {
        case kCapBrightness:
            return NumericCap(cap, options_.Find(saneopt::Role::Brightness));
        case kCapXResolution:
        case kCapYResolution:
            return NumericCap(cap, options_.ResolutionOption(cap == kCapYResolution));
        case kCapPixelType: {
            const std::vector<int> types = PixelTypesOffered();
            if (types.empty()) return c;
            c.supported = true;
            c.container = kContainerEnumeration;
            c.numItems = static_cast<int>(types.size());
            c.value = PixelType();
            c.min = types.front();
            c.max = types.back();
            c.def = DefaultOf(cap, c.value);
            return c;
        }
        case kCapUnits:
            oneValue(0, 0);
            return c;
        case kCapUiControllable:
            oneValue(1, 1);
            return c;
        case kCapTransferCount:
            oneValue(transferCount_, -1);
            return c;
        case kCapAutoFeed:
        case kCapFeederEnabled: {
            const saneopt::Sources s = SourceEntries();
            if (s.feeder.empty() && s.duplex.empty()) return c;
            if (cap == kCapAutoFeed)
                oneValue(autoFeed_ ? 1 : 0, 1);
            else
                oneValue(CurrentSourceKind() != saneopt::SourceKind::Flatbed ? 1 : 0, 0);
            return c;
        }
        case kCapDuplex:
        case kCapDuplexEnabled: {
            const saneopt::Sources s = SourceEntries();
            if (s.duplex.empty()) return c;
            if (cap == kCapDuplex)
                oneValue(1, 1);  // one-pass duplex
            else
                oneValue(
                    duplexWanted_ || CurrentSourceKind() == saneopt::SourceKind::Duplex ? 1 : 0, 0);
            return c;
        }
        default:
            return c;
    }
}

void CapabilityMap::SelectSourceEntry(bool feeder, bool duplex) {
    int sourceIndex = -1;
    const saneopt::Sources s = SourceEntries(&sourceIndex);
    const std::string entry = saneopt::ChooseSource(s, feeder, duplex);
    if (entry.empty()) ThrowOwn(kErrBadValue, "The scanner has no such paper source");
    if (options_.GetString(sourceIndex) != entry) options_.SetString(sourceIndex, entry);
}

void CapabilityMap::Apply(int cap, double v) {
    const CapInfo c = Describe(cap);
    if (!c.supported) ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
    auto requireBool = [&] {
        if (v != 0 && v != 1)
            ThrowOwn(kErrBadValue, "The value is not allowed for this capability");
    };
    switch (cap) {
        case kCapBrightness:
        case kCapXResolution:
        case kCapYResolution: {
            if (c.container == kContainerRange && (v < c.min || v > c.max))
                ThrowOwn(kErrBadValue, "The value is outside the range the scanner allows");
            options_.SetNumber(cap == kCapBrightness
                                   ? options_.Find(saneopt::Role::Brightness)
                                   : options_.ResolutionOption(cap == kCapYResolution),
                               v);
            return;
        }
        case kCapPixelType: {
            const int t = static_cast<int>(v);
            if (t != v || t < 0 || t > 2)
                ThrowOwn(kErrBadValue, "The value is not allowed for this capability");
            const int modeIndex = options_.Find(saneopt::Role::Mode);
            if (!options_.Usable(modeIndex)) {
                if (t != c.value)
                    ThrowOwn(kErrBadValue, "The scanner cannot deliver this pixel type");
                return;
            }
            const saneopt::ModeChoice m =
                saneopt::ChooseMode(options_.StringList(modeIndex), options_.DepthList(), t);
            if (m.mode.empty())
                ThrowOwn(kErrBadValue, "The scanner cannot deliver this pixel type");
            if (options_.GetString(modeIndex) != m.mode) options_.SetString(modeIndex, m.mode);
            bwFromGrey_ = m.quirk == "bw-from-grey";
            const int depthIndex = options_.Find(saneopt::Role::Depth);
            if (m.depth && options_.Usable(depthIndex) && options_.GetNumber(depthIndex) != m.depth)
                options_.SetNumber(depthIndex, m.depth);
            return;
        }
        case kCapUnits:
            if (v != 0) ThrowOwn(kErrBadValue, "Only inches are supported as units");
            return;
        case kCapTransferCount: {
            const int n = static_cast<int>(v);
            if (n != v || (n != -1 && n < 1))
                ThrowOwn(kErrBadValue, "The transfer count must be -1 or at least 1");
            transferCount_ = n;
            return;
        }
        case kCapAutoFeed:
            requireBool();
            autoFeed_ = v == 1;
            return;
        case kCapFeederEnabled:
            requireBool();
            SelectSourceEntry(v == 1, duplexWanted_);
            return;
        case kCapDuplexEnabled:
            requireBool();
            duplexWanted_ = v == 1;
            if (CurrentSourceKind() != saneopt::SourceKind::Flatbed)
                SelectSourceEntry(true, duplexWanted_);
            return;
        default:
            ThrowOwn(kErrBadValue, "This capability cannot be set");
    }
}

}  // namespace vellumo::scan::sane

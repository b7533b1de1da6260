#include "scan/sane/page_geometry.h"

#include "scan/sane/option_map.h"
#include "scan/sane/sane_errors.h"

namespace vellumo::scan::sane {

namespace {

constexpr double kMmPerInch = 25.4;

struct Corners {
    int index[4];  // tl-x, tl-y, br-x, br-y
    bool pixels;
};

Corners FindCorners(SaneOptions& options) {
    const std::vector<std::string> names = options.Names();
    Corners g{{saneopt::FindOption(names, saneopt::Role::TlX),
               saneopt::FindOption(names, saneopt::Role::TlY),
               saneopt::FindOption(names, saneopt::Role::BrX),
               saneopt::FindOption(names, saneopt::Role::BrY)},
              false};
    for (int i = 0; i < 4; ++i) {
        const SANE_Option_Descriptor* d = options.Descriptor(g.index[i]);
        if (!d || !SaneOptions::Numeric(d))
            ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
        if (d->unit == SANE_UNIT_PIXEL && saneopt::GeometryInPixels())
            g.pixels = true;
        else if (d->unit != SANE_UNIT_MM)
            ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
    }
    return g;
}

// Units of an axis' corner options per inch.
double PerInch(SaneOptions& options, const Corners& g, bool vertical) {
    if (!g.pixels) return kMmPerInch;
    const int res = options.ResolutionOption(vertical);
    const double dpi = options.Usable(res) ? options.GetNumber(res) : 0;
    if (!(dpi > 0)) ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
    return dpi;
}

}  // namespace

void GetPageFrame(SaneOptions& options, double& left, double& top, double& right, double& bottom) {
    const Corners g = FindCorners(options);
    const double x = PerInch(options, g, false), y = PerInch(options, g, true);
    left = options.GetNumber(g.index[0]) / x;
    top = options.GetNumber(g.index[1]) / y;
    right = options.GetNumber(g.index[2]) / x;
    bottom = options.GetNumber(g.index[3]) / y;
}

void SetPageFrame(SaneOptions& options, double left, double top, double right, double bottom) {
    if (!(left >= 0 && top >= 0 && right > left && bottom > top))
        ThrowOwn(kErrBadValue, "The page frame is empty or outside the scan area");
    const Corners g = FindCorners(options);
    const double x = PerInch(options, g, false), y = PerInch(options, g, true);
    const double want[4] = {left * x, top * y, right * x, bottom * y};
    for (int axis = 0; axis < 2; ++axis) {
        const int tl = g.index[axis], br = g.index[axis + 2];
        // Keep top-left before bottom-right at every step: devices refuse a crossed frame.
        if (want[axis] < options.GetNumber(br)) {
            options.SetNumber(tl, want[axis]);
            options.SetNumber(br, want[axis + 2]);
        } else {
            options.SetNumber(br, want[axis + 2]);
            options.SetNumber(tl, want[axis]);
        }
    }
}

}  // namespace vellumo::scan::sane

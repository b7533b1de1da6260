#include "scan/log_capability.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "platform/log.h"
#include "scan/scanner_component.h"

namespace vellumo::scan {

using namespace vellumo::platform;

namespace {

int Truncate(double v) {
    return TruncateCapValue(v);
}

}  // namespace

// Values beyond int (or not a number) are held at its limits so that a strange value from a
// driver cannot make the conversion undefined.
int TruncateCapValue(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

namespace {

std::string Format(const char* format, const std::string& label, int a = 0, int b = 0, int c = 0,
                   int d = 0, int e = 0) {
    char line[512];
    std::snprintf(line, sizeof line, format, label.c_str(), a, b, c, d, e);
    return line;
}

}  // namespace

std::string CapabilityLogLine(ScannerComponent& component, const std::string& label) {
    switch (component.CapContainer()) {
        case kContainerOneValue:
            return Format("%s: %d\n", label, Truncate(component.CapValue()));
        case kContainerEnumeration:
            return Format("%s: numItems %d, default %d, value %d\n", label, component.CapNumItems(),
                          Truncate(component.CapDefault()), Truncate(component.CapValue()));
        case kContainerRange:
            return Format("%s: value %d, default %d, min %d, max %d, step %d\n", label,
                          Truncate(component.CapValue()), Truncate(component.CapDefault()),
                          Truncate(component.CapMin()), Truncate(component.CapMax()),
                          Truncate(component.CapStep()));
        case kContainerArray:
            return Format("%s: numItems %d\n", label, component.CapNumItems());
        default:
            return {};
    }
}

void LogCapability(ScannerComponent& component, const std::string& label) {
    const std::string line = CapabilityLogLine(component, label);
    if (!line.empty()) WriteLog(line);
}

}  // namespace vellumo::scan

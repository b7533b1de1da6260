// Access to the options of one open SANE device: found by index, by name or by the role the
// option-mapping table gives them, read and written as numbers or as text. Failing writes throw
// ScannerError; every write goes to the trace.
#pragma once

#include <sane/sane.h>

#include <functional>
#include <string>
#include <vector>

#include "scan/sane/option_map.h"

namespace vellumo::scan::sane {

// Receives one line for the trace of SANE calls.
using Trace = std::function<void(const std::string& line)>;

class SaneOptions {
public:
    SaneOptions(SANE_Handle handle, Trace trace);
    SANE_Handle handle() const { return handle_; }

    // Every option's name, by index (option 0, the count, has none).
    std::vector<std::string> Names();
    // The index of the option that plays `role`, or of the option called `name`; -1: none.
    int Find(saneopt::Role role);
    int FindByName(const std::string& name);
    // The option that sets an axis' resolution: its own option where the device has an active
    // one, else the common resolution option.
    int ResolutionOption(bool vertical);
    // The option's descriptor; null for -1 and for option 0.
    const SANE_Option_Descriptor* Descriptor(int index);
    // Active and settable.
    bool Usable(int index);
    static bool Usable(const SANE_Option_Descriptor* d);
    // An integer, fixed-point or yes/no option.
    static bool Numeric(const SANE_Option_Descriptor* d);
    static double ToDouble(const SANE_Option_Descriptor* d, SANE_Word word);

    double GetNumber(int index);
    void SetNumber(int index, double value);
    // Empty for an option that is not text or cannot be read.
    std::string GetString(int index);
    void SetString(int index, const std::string& value);
    // Sets a text option without tracing or throwing, for the reader thread.
    SANE_Status WriteString(int index, const std::string& value);
    // The allowed values of a text option; of the bit-depth option.
    std::vector<std::string> StringList(int index);
    std::vector<int> DepthList();

    // An option by its name, from and to text as the command line gives it.
    void SetFromText(const std::string& name, const std::string& value);
    std::string ValueText(const std::string& name);

private:
    SANE_Handle handle_;
    Trace trace_;
};

// A number as the trace and the command line show it.
std::string FormatNumber(double value);

}  // namespace vellumo::scan::sane

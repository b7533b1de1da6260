#include "scan/sane/option_map.h"

#include <sane/saneopts.h>
#include <algorithm>
#include <cctype>

namespace vellumo::scan {

namespace saneopt {

namespace {

std::string Lower(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}
bool Equal(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}
bool Contains(const std::string& text, const std::string& part) {
    return Lower(text).find(Lower(part)) != std::string::npos;
}

enum class Match { OptionName, ModeString, SourceContains, Special };

struct Entry {
    Quirk quirk;
    Match match;
    Role role;        // OptionName
    int pixelType;    // ModeString
    SourceKind kind;  // SourceContains
    const char* text;
};

// The mapping table. SANE's well-known names come first; later entries cover devices that
// spell things differently.
std::vector<Entry>& Table() {
    static std::vector<Entry> table = {
        {{"option-mode", "scan mode option \"" SANE_NAME_SCAN_MODE "\"", true},
         Match::OptionName,
         Role::Mode,
         0,
         SourceKind::Flatbed,
         SANE_NAME_SCAN_MODE},
        {{"option-depth", "bit depth option \"" SANE_NAME_BIT_DEPTH "\"", true},
         Match::OptionName,
         Role::Depth,
         0,
         SourceKind::Flatbed,
         SANE_NAME_BIT_DEPTH},
        {{"option-resolution", "resolution option \"" SANE_NAME_SCAN_RESOLUTION "\"", true},
         Match::OptionName,
         Role::Resolution,
         0,
         SourceKind::Flatbed,
         SANE_NAME_SCAN_RESOLUTION},
        {{"option-x-resolution",
          "separate horizontal resolution \"" SANE_NAME_SCAN_X_RESOLUTION "\"", true},
         Match::OptionName,
         Role::XResolution,
         0,
         SourceKind::Flatbed,
         SANE_NAME_SCAN_X_RESOLUTION},
        {{"option-y-resolution", "separate vertical resolution \"" SANE_NAME_SCAN_Y_RESOLUTION "\"",
          true},
         Match::OptionName,
         Role::YResolution,
         0,
         SourceKind::Flatbed,
         SANE_NAME_SCAN_Y_RESOLUTION},
        {{"option-brightness", "brightness option \"" SANE_NAME_BRIGHTNESS "\"", true},
         Match::OptionName,
         Role::Brightness,
         0,
         SourceKind::Flatbed,
         SANE_NAME_BRIGHTNESS},
        {{"option-source", "source option \"" SANE_NAME_SCAN_SOURCE "\"", true},
         Match::OptionName,
         Role::Source,
         0,
         SourceKind::Flatbed,
         SANE_NAME_SCAN_SOURCE},
        {{"option-tl-x", "geometry \"" SANE_NAME_SCAN_TL_X "\"", true},
         Match::OptionName,
         Role::TlX,
         0,
         SourceKind::Flatbed,
         SANE_NAME_SCAN_TL_X},
        {{"option-tl-y", "geometry \"" SANE_NAME_SCAN_TL_Y "\"", true},
         Match::OptionName,
         Role::TlY,
         0,
         SourceKind::Flatbed,
         SANE_NAME_SCAN_TL_Y},
        {{"option-br-x", "geometry \"" SANE_NAME_SCAN_BR_X "\"", true},
         Match::OptionName,
         Role::BrX,
         0,
         SourceKind::Flatbed,
         SANE_NAME_SCAN_BR_X},
        {{"option-br-y", "geometry \"" SANE_NAME_SCAN_BR_Y "\"", true},
         Match::OptionName,
         Role::BrY,
         0,
         SourceKind::Flatbed,
         SANE_NAME_SCAN_BR_Y},
        {{"mode-lineart", "black and white as \"Lineart\"", true},
         Match::ModeString,
         Role::Mode,
         0,
         SourceKind::Flatbed,
         SANE_VALUE_SCAN_MODE_LINEART},
        {{"mode-binary", "black and white as \"Binary\"", true},
         Match::ModeString,
         Role::Mode,
         0,
         SourceKind::Flatbed,
         "Binary"},
        {{"mode-gray", "grey as \"Gray\"", true},
         Match::ModeString,
         Role::Mode,
         1,
         SourceKind::Flatbed,
         SANE_VALUE_SCAN_MODE_GRAY},
        {{"mode-grayscale", "grey as \"Grayscale\"", true},
         Match::ModeString,
         Role::Mode,
         1,
         SourceKind::Flatbed,
         "Grayscale"},
        {{"mode-color", "colour as \"Color\"", true},
         Match::ModeString,
         Role::Mode,
         2,
         SourceKind::Flatbed,
         SANE_VALUE_SCAN_MODE_COLOR},
        {{"mode-rgb", "colour as \"RGB\"", true},
         Match::ModeString,
         Role::Mode,
         2,
         SourceKind::Flatbed,
         "RGB"},
        {{"lineart-as-gray-depth-1", "no line-art mode: black and white is grey at depth 1", true},
         Match::Special,
         Role::Mode,
         0,
         SourceKind::Flatbed,
         ""},
        {{"bw-from-grey",
          "no black-and-white mode (sane-airscan, escl): scan grey, reduce to black and white",
          true},
         Match::Special,
         Role::Mode,
         0,
         SourceKind::Flatbed,
         ""},
        {{"grey-from-colour-frames",
          "grey asked, colour delivered (escl decodes every page to RGB): reduce to grey", true},
         Match::Special,
         Role::Mode,
         1,
         SourceKind::Flatbed,
         ""},
        {{"source-duplex", "a source naming \"Duplex\" is the duplex feeder", true},
         Match::SourceContains,
         Role::Source,
         0,
         SourceKind::Duplex,
         "Duplex"},
        {{"source-adf", "a source naming \"ADF\" is the feeder", true},
         Match::SourceContains,
         Role::Source,
         0,
         SourceKind::Feeder,
         "ADF"},
        {{"source-document-feeder", "a source naming \"Document Feeder\" is the feeder", true},
         Match::SourceContains,
         Role::Source,
         0,
         SourceKind::Feeder,
         "Document Feeder"},
        {{"empty-feeder-uses-flatbed",
          "a feeder run that finds the feeder empty scans one page from the glass", true},
         Match::Special,
         Role::Source,
         0,
         SourceKind::Flatbed,
         ""},
        {{"geometry-in-pixels", "geometry given in pixels is converted with the resolution", true},
         Match::Special,
         Role::TlX,
         0,
         SourceKind::Flatbed,
         ""},
    };
    return table;
}

Entry* FindEntry(const std::string& name) {
    for (Entry& e : Table())
        if (name == e.quirk.name) return &e;
    return nullptr;
}

}  // namespace

const std::vector<Quirk>& Quirks() {
    static std::vector<Quirk> view;
    view.clear();
    for (const Entry& e : Table()) view.push_back(e.quirk);
    return view;
}

bool SetQuirkEnabled(const std::string& name, bool enabled) {
    Entry* e = FindEntry(name);
    if (!e) return false;
    e->quirk.enabled = enabled;
    return true;
}

bool QuirkEnabled(const std::string& name) {
    const Entry* e = FindEntry(name);
    return e && e->quirk.enabled;
}

int FindOption(const std::vector<std::string>& names, Role role, std::string* quirk) {
    for (const Entry& e : Table()) {
        if (e.match != Match::OptionName || e.role != role || !e.quirk.enabled) continue;
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i] == e.text) {
                if (quirk) *quirk = e.quirk.name;
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}

namespace {

// The device's own mode string for a pixel type, by the table's spellings.
ModeChoice ModeStringFor(const std::vector<std::string>& modes, int pixelType) {
    for (const Entry& e : Table()) {
        if (e.match != Match::ModeString || e.pixelType != pixelType || !e.quirk.enabled) continue;
        for (const std::string& m : modes)
            if (Equal(m, e.text)) return {m, 0, e.quirk.name};
    }
    return {};
}

}  // namespace

ModeChoice ChooseMode(const std::vector<std::string>& modes, const std::vector<int>& depths,
                      int pixelType) {
    auto allows = [&](int d) { return std::find(depths.begin(), depths.end(), d) != depths.end(); };
    ModeChoice own = ModeStringFor(modes, pixelType);
    if (!own.mode.empty()) {
        // Grey and colour are wanted at 8 bits where the device offers a choice.
        if (pixelType != 0 && allows(8)) own.depth = 8;
        return own;
    }
    if (pixelType == 0 && QuirkEnabled("lineart-as-gray-depth-1") && allows(1)) {
        ModeChoice grey = ChooseMode(modes, {}, 1);
        if (!grey.mode.empty()) return {grey.mode, 1, "lineart-as-gray-depth-1"};
    }
    if (pixelType == 0 && QuirkEnabled("bw-from-grey")) {
        ModeChoice grey = ChooseMode(modes, depths, 1);
        if (!grey.mode.empty()) return {grey.mode, grey.depth, "bw-from-grey"};
    }
    return {};
}

int PixelTypeOfMode(const std::vector<std::string>& modes, const std::string& mode, int depth) {
    for (const Entry& e : Table()) {
        if (e.match != Match::ModeString || !e.quirk.enabled || !Equal(mode, e.text)) continue;
        if (e.pixelType == 1 && depth == 1) {
            // Grey at depth 1 is black and white only on devices without a line-art mode.
            if (QuirkEnabled("lineart-as-gray-depth-1") && ModeStringFor(modes, 0).mode.empty())
                return 0;
            return -1;
        }
        return e.pixelType;
    }
    return -1;
}

std::vector<int> PixelTypes(const std::vector<std::string>& modes, const std::vector<int>& depths) {
    std::vector<int> types;
    for (int t = 0; t <= 2; ++t)
        if (!ChooseMode(modes, depths, t).mode.empty()) types.push_back(t);
    return types;
}

SourceKind KindOfSource(const std::string& entry) {
    for (const Entry& e : Table()) {
        if (e.match != Match::SourceContains || !e.quirk.enabled) continue;
        if (Contains(entry, e.text)) return e.kind;
    }
    return SourceKind::Flatbed;
}

Sources ClassifySources(const std::vector<std::string>& entries) {
    Sources s;
    for (const std::string& entry : entries) {
        std::string* slot = nullptr;
        switch (KindOfSource(entry)) {
            case SourceKind::Flatbed:
                slot = &s.flatbed;
                break;
            case SourceKind::Feeder:
                slot = &s.feeder;
                break;
            case SourceKind::Duplex:
                slot = &s.duplex;
                break;
        }
        if (slot->empty()) *slot = entry;
    }
    return s;
}

std::string ChooseSource(const Sources& sources, bool feederEnabled, bool duplexEnabled) {
    if (!feederEnabled) return sources.flatbed;
    if (duplexEnabled && !sources.duplex.empty()) return sources.duplex;
    // A device whose only feeder entry is the duplex one feeds simplex through nothing else.
    return sources.feeder.empty() ? sources.duplex : sources.feeder;
}

bool MayReduce(int delivered, int wanted) {
    if (delivered <= wanted || wanted < 0) return false;
    const bool colourToGrey = delivered < 2 || QuirkEnabled("grey-from-colour-frames");
    return colourToGrey && (wanted == 1 || QuirkEnabled("bw-from-grey"));
}

bool GeometryInPixels() {
    return QuirkEnabled("geometry-in-pixels");
}

}  // namespace saneopt

}  // namespace vellumo::scan

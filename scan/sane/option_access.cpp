#include "scan/sane/option_access.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "scan/sane/sane_errors.h"
#include "scan/scanner_component.h"

namespace vellumo::scan::sane {

namespace {

bool ParseBool(const std::string& text, bool* value) {
    if (text == "yes" || text == "true" || text == "1" || text == "on") return *value = true, true;
    if (text == "no" || text == "false" || text == "0" || text == "off")
        return *value = false, true;
    return false;
}

SANE_Word ToWord(const SANE_Option_Descriptor* d, double v) {
    if (d->type == SANE_TYPE_FIXED) return SANE_FIX(v);
    return static_cast<SANE_Word>(std::lround(v));
}

// A text value in a buffer of the option's size (longer values are the device's to refuse).
std::vector<char> TextBuffer(const SANE_Option_Descriptor* d, const std::string& value) {
    std::vector<char> text(std::max<size_t>(static_cast<size_t>(d->size), value.size() + 1), '\0');
    std::memcpy(text.data(), value.data(), value.size());
    return text;
}

}  // namespace

std::string FormatNumber(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

SaneOptions::SaneOptions(SANE_Handle handle, Trace trace)
    : handle_(handle), trace_(std::move(trace)) {}

std::vector<std::string> SaneOptions::Names() {
    std::vector<std::string> names;
    SANE_Int count = 0;
    if (sane_control_option(handle_, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
        return names;
    for (int i = 0; i < count; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle_, i);
        names.push_back(d && d->name ? d->name : "");
    }
    return names;
}

int SaneOptions::Find(saneopt::Role role) {
    return saneopt::FindOption(Names(), role);
}

int SaneOptions::FindByName(const std::string& name) {
    const std::vector<std::string> names = Names();
    int index = -1;
    for (size_t i = 1; i < names.size(); ++i)
        if (names[i] == name) index = static_cast<int>(i);
    return index;
}

int SaneOptions::ResolutionOption(bool vertical) {
    const int own = Find(vertical ? saneopt::Role::YResolution : saneopt::Role::XResolution);
    if (Usable(own)) return own;
    return Find(saneopt::Role::Resolution);
}

const SANE_Option_Descriptor* SaneOptions::Descriptor(int index) {
    return index > 0 ? sane_get_option_descriptor(handle_, index) : nullptr;
}

bool SaneOptions::Usable(int index) {
    return Usable(Descriptor(index));
}

bool SaneOptions::Usable(const SANE_Option_Descriptor* d) {
    return d && SANE_OPTION_IS_ACTIVE(d->cap) && SANE_OPTION_IS_SETTABLE(d->cap);
}

bool SaneOptions::Numeric(const SANE_Option_Descriptor* d) {
    return d &&
           (d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED || d->type == SANE_TYPE_BOOL);
}

double SaneOptions::ToDouble(const SANE_Option_Descriptor* d, SANE_Word word) {
    return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(word) : static_cast<double>(word);
}

double SaneOptions::GetNumber(int index) {
    const SANE_Option_Descriptor* d = Descriptor(index);
    if (!Numeric(d)) ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
    std::vector<SANE_Word> words(static_cast<size_t>(d->size) / sizeof(SANE_Word) + 1);
    const SANE_Status s =
        sane_control_option(handle_, index, SANE_ACTION_GET_VALUE, words.data(), nullptr);
    if (s != SANE_STATUS_GOOD) ThrowSane(s);
    return ToDouble(d, words[0]);
}

void SaneOptions::SetNumber(int index, double value) {
    const SANE_Option_Descriptor* d = Descriptor(index);
    if (!Numeric(d)) ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
    SANE_Word w = ToWord(d, value);
    SANE_Int info = 0;
    const SANE_Status s = sane_control_option(handle_, index, SANE_ACTION_SET_VALUE, &w, &info);
    trace_(std::string("sane_control_option(") + d->name + " = " + FormatNumber(value) + ")" +
           TraceResult(s));
    if (s != SANE_STATUS_GOOD) ThrowSane(s);
}

std::string SaneOptions::GetString(int index) {
    const SANE_Option_Descriptor* d = Descriptor(index);
    if (!d || d->type != SANE_TYPE_STRING) return {};
    // Room beyond the option's declared size: the escl back end copies a longer source name
    // than its option declares.
    constexpr size_t kSlack = 256;
    std::vector<char> text(static_cast<size_t>(d->size) + kSlack, '\0');
    if (sane_control_option(handle_, index, SANE_ACTION_GET_VALUE, text.data(), nullptr) !=
        SANE_STATUS_GOOD)
        return {};
    text.back() = '\0';
    return text.data();
}

void SaneOptions::SetString(int index, const std::string& value) {
    const SANE_Option_Descriptor* d = Descriptor(index);
    if (!d || d->type != SANE_TYPE_STRING)
        ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
    std::vector<char> text = TextBuffer(d, value);
    SANE_Int info = 0;
    const SANE_Status s =
        sane_control_option(handle_, index, SANE_ACTION_SET_VALUE, text.data(), &info);
    trace_(std::string("sane_control_option(") + d->name + " = " + value + ")" + TraceResult(s));
    if (s != SANE_STATUS_GOOD) ThrowSane(s);
}

SANE_Status SaneOptions::WriteString(int index, const std::string& value) {
    const SANE_Option_Descriptor* d = Descriptor(index);
    if (!d || d->type != SANE_TYPE_STRING) return SANE_STATUS_UNSUPPORTED;
    std::vector<char> text = TextBuffer(d, value);
    return sane_control_option(handle_, index, SANE_ACTION_SET_VALUE, text.data(), nullptr);
}

std::vector<std::string> SaneOptions::StringList(int index) {
    std::vector<std::string> list;
    const SANE_Option_Descriptor* d = Descriptor(index);
    if (d && d->constraint_type == SANE_CONSTRAINT_STRING_LIST)
        for (const SANE_String_Const* s = d->constraint.string_list; s && *s; ++s)
            list.push_back(*s);
    return list;
}

std::vector<int> SaneOptions::DepthList() {
    std::vector<int> depths;
    const SANE_Option_Descriptor* d = Descriptor(Find(saneopt::Role::Depth));
    if (d && d->type == SANE_TYPE_INT && d->constraint_type == SANE_CONSTRAINT_WORD_LIST)
        for (int i = 1; i <= d->constraint.word_list[0]; ++i)
            depths.push_back(d->constraint.word_list[i]);
    return depths;
}

void SaneOptions::SetFromText(const std::string& name, const std::string& value) {
    const int index = FindByName(name);
    const SANE_Option_Descriptor* d = Descriptor(index);
    if (!d) ThrowOwn(kErrNoSuchOption, "The scanner has no option \"" + name + "\"");
    switch (d->type) {
        case SANE_TYPE_STRING:
            SetString(index, value);
            return;
        case SANE_TYPE_BOOL: {
            bool b = false;
            if (!ParseBool(value, &b)) ThrowOwn(kErrBadValue, "\"" + value + "\" is not yes or no");
            SetNumber(index, b ? 1 : 0);
            return;
        }
        case SANE_TYPE_INT:
        case SANE_TYPE_FIXED: {
            char* end = nullptr;
            const double v = std::strtod(value.c_str(), &end);
            if (value.empty() || *end) ThrowOwn(kErrBadValue, "\"" + value + "\" is not a number");
            SetNumber(index, v);
            return;
        }
        case SANE_TYPE_BUTTON: {
            const SANE_Status s =
                sane_control_option(handle_, index, SANE_ACTION_SET_VALUE, nullptr, nullptr);
            if (s != SANE_STATUS_GOOD) ThrowSane(s);
            return;
        }
        default:
            ThrowOwn(kErrBadValue, "The option \"" + name + "\" cannot be set");
    }
}

std::string SaneOptions::ValueText(const std::string& name) {
    const std::vector<std::string> names = Names();
    for (size_t i = 1; i < names.size(); ++i) {
        if (names[i] != name) continue;
        const int index = static_cast<int>(i);
        const SANE_Option_Descriptor* d = Descriptor(index);
        if (d->type == SANE_TYPE_STRING) return GetString(index);
        if (Numeric(d) && SANE_OPTION_IS_ACTIVE(d->cap)) return FormatNumber(GetNumber(index));
        return {};
    }
    ThrowOwn(kErrNoSuchOption, "The scanner has no option \"" + name + "\"");
}

}  // namespace vellumo::scan::sane

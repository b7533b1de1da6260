// The scanner component on libsane. SANE is started once per process (shared by every
// component) and the devices are discovered once per component, because discovery over the
// network takes seconds. Reading runs on a worker thread; its results travel to the GUI thread
// through the dispatcher, so every property the GUI reads is only touched there.
#include <sane/sane.h>
#include <sane/saneopts.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include "imaging/image_buffer.h"
#include "platform/log.h"
#include "scan/sane/dib_from_sane.h"
#include "scan/sane/option_map.h"
#include "scan/sane/sane_config.h"
#include "scan/scanner_component.h"

namespace vellumo::scan {

using namespace vellumo::platform;
using namespace vellumo::imaging;

ScannerError::ScannerError(int status, int errorCode, std::string errorText)
    : status_(status), errorCode_(errorCode), errorText_(std::move(errorText)) {}

namespace {

constexpr double kMmPerInch = 25.4;

[[noreturn]] void ThrowOwn(int code, const std::string& text) {
    throw ScannerError(kComponentStatus, code, text);
}

ScannerError SaneError(SANE_Status status) {
    return ScannerError(static_cast<int>(status), static_cast<int>(status), sane_strstatus(status));
}

[[noreturn]] void ThrowSane(SANE_Status status) {
    throw SaneError(status);
}

// SANE itself is one per process: started by the first user, ended by the last.
std::mutex saneMutex;
int saneUsers = 0;

bool AcquireSane() {
    std::lock_guard<std::mutex> lock(saneMutex);
    if (saneUsers == 0) {
        UseInstalledSaneConfig();
        SANE_Int version = 0;
        if (sane_init(&version, nullptr) != SANE_STATUS_GOOD) return false;
    }
    ++saneUsers;
    return true;
}

void ReleaseSane() {
    std::lock_guard<std::mutex> lock(saneMutex);
    if (saneUsers > 0 && --saneUsers == 0) sane_exit();
}

std::string FormatNumber(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

bool ParseBool(const std::string& text, bool* value) {
    if (text == "yes" || text == "true" || text == "1" || text == "on") return *value = true, true;
    if (text == "no" || text == "false" || text == "0" || text == "off")
        return *value = false, true;
    return false;
}

}  // namespace

struct ScannerComponent::Impl {
    struct Source {
        std::string device;
        std::string product;
    };
    struct CapInfo {
        bool supported = false;
        int container = kContainerOneValue;
        double value = 0, def = 0, min = 0, max = 0, step = 0;
        int numItems = 0;
    };

    bool saneStarted = false;
    bool discovered = false;
    std::vector<Source> sources;
    int current = -1;
    SANE_Handle handle = nullptr;
    int openIndex = -1;

    void* parentWindow = nullptr;
    std::atomic<int> traceLog{0};
    bool showUI = false;
    SourceChooser chooser;

    int capability = 0;
    int putContainer = kContainerOneValue;
    double putValue = 0;
    int transferCount = -1;
    bool autoFeed = true;
    bool duplexWanted = false;
    std::map<int, double> defaults;

    std::shared_ptr<const std::vector<uint8_t>> image;
    int pending = 0;
    std::thread worker;
    std::atomic<bool> cancel{false};
    std::atomic<bool> running{false};
    unsigned acquisition = 0;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);

    BlockingEventLoop loop;
    Dispatcher dispatcher;
    Dispatcher runDispatcher;  // the worker's copy, fixed for the length of a run
    ScanEventCallback imageCallback;
    void* owner = nullptr;
    int sinkId = 1;
    AcquireEndCallback endCallback;

    // ---- tracing -----------------------------------------------------------------------------
    void Trace(const std::string& line) {
        if (traceLog == 1) WriteLog("SANE: " + line + "\n");
    }
    // From the worker: the line is written on the GUI thread, in order with the images.
    void TraceFromWorker(const std::string& line) {
        if (traceLog != 1) return;
        runDispatcher([line] { WriteLog("SANE: " + line + "\n"); });
    }
    static std::string Result(SANE_Status s) { return std::string(" = ") + sane_strstatus(s); }

    // ---- set-up ------------------------------------------------------------------------------
    void StartSane() {
        if (saneStarted) return;
        if (!AcquireSane()) ThrowOwn(kErrNoSourceManager, "SANE could not be started");
        saneStarted = true;
        Trace("sane_init");
    }

    void Discover() {
        StartSane();
        if (discovered) return;
        const SANE_Device** list = nullptr;
        SANE_Status s = sane_get_devices(&list, SANE_FALSE);
        Trace("sane_get_devices" + Result(s));
        if (s != SANE_STATUS_GOOD) ThrowSane(s);
        discovered = true;
        for (int i = 0; list && list[i]; ++i) {
            const SANE_Device* d = list[i];
            std::string product;
            if (d->vendor && *d->vendor) product = d->vendor;
            if (d->model && *d->model)
                product += (product.empty() ? "" : " ") + std::string(d->model);
            if (product.empty()) product = d->name;
            bool known = false;
            for (Source& src : sources) {
                if (src.device == d->name) {
                    src.product = product;
                    known = true;
                }
            }
            if (!known) sources.push_back({d->name, product});
        }
        if (current < 0 && !sources.empty()) current = 0;
    }

    void RequireSources() {
        if (!discovered) Discover();
        if (sources.empty()) ThrowOwn(kErrNoSource, "No scanner was found");
    }

    void JoinFinishedWorker() {
        if (worker.joinable() && !running) worker.join();
    }

    void RequireIdleSession() {
        if (!handle) ThrowOwn(kErrNoSession, "No scanner session is open");
        JoinFinishedWorker();
        if (running) ThrowOwn(kErrBusy, "The scanner is busy scanning");
    }

    // ---- options -----------------------------------------------------------------------------
    int OptionCount() {
        SANE_Int count = 0;
        if (sane_control_option(handle, 0, SANE_ACTION_GET_VALUE, &count, nullptr) !=
            SANE_STATUS_GOOD)
            return 0;
        return count;
    }
    std::vector<std::string> OptionNames() {
        std::vector<std::string> names;
        const int n = OptionCount();
        for (int i = 0; i < n; ++i) {
            const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle, i);
            names.push_back(d && d->name ? d->name : "");
        }
        return names;
    }
    int Find(saneopt::Role role) { return saneopt::FindOption(OptionNames(), role); }
    const SANE_Option_Descriptor* Desc(int index) {
        return index > 0 ? sane_get_option_descriptor(handle, index) : nullptr;
    }
    static bool Usable(const SANE_Option_Descriptor* d) {
        return d && SANE_OPTION_IS_ACTIVE(d->cap) && SANE_OPTION_IS_SETTABLE(d->cap);
    }
    static bool Numeric(const SANE_Option_Descriptor* d) {
        return d && (d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED ||
                     d->type == SANE_TYPE_BOOL);
    }
    double ToDouble(const SANE_Option_Descriptor* d, SANE_Word w) {
        return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(w) : static_cast<double>(w);
    }
    SANE_Word ToWord(const SANE_Option_Descriptor* d, double v) {
        if (d->type == SANE_TYPE_FIXED) return SANE_FIX(v);
        return static_cast<SANE_Word>(std::lround(v));
    }

    double GetNumber(int index) {
        const SANE_Option_Descriptor* d = Desc(index);
        if (!Numeric(d)) ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
        std::vector<SANE_Word> words(static_cast<size_t>(d->size) / sizeof(SANE_Word) + 1);
        SANE_Status s =
            sane_control_option(handle, index, SANE_ACTION_GET_VALUE, words.data(), nullptr);
        if (s != SANE_STATUS_GOOD) ThrowSane(s);
        return ToDouble(d, words[0]);
    }
    void SetNumber(int index, double v) {
        const SANE_Option_Descriptor* d = Desc(index);
        if (!Numeric(d)) ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
        SANE_Word w = ToWord(d, v);
        SANE_Int info = 0;
        SANE_Status s = sane_control_option(handle, index, SANE_ACTION_SET_VALUE, &w, &info);
        Trace(std::string("sane_control_option(") + d->name + " = " + FormatNumber(v) + ")" +
              Result(s));
        if (s != SANE_STATUS_GOOD) ThrowSane(s);
    }
    std::string GetString(int index) {
        const SANE_Option_Descriptor* d = Desc(index);
        if (!d || d->type != SANE_TYPE_STRING) return {};
        std::vector<char> text(static_cast<size_t>(d->size) + 1, '\0');
        if (sane_control_option(handle, index, SANE_ACTION_GET_VALUE, text.data(), nullptr) !=
            SANE_STATUS_GOOD)
            return {};
        return text.data();
    }
    void SetString(int index, const std::string& value) {
        const SANE_Option_Descriptor* d = Desc(index);
        if (!d || d->type != SANE_TYPE_STRING)
            ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
        std::vector<char> text(std::max<size_t>(static_cast<size_t>(d->size), value.size() + 1),
                               '\0');
        std::memcpy(text.data(), value.data(), value.size());
        SANE_Int info = 0;
        SANE_Status s =
            sane_control_option(handle, index, SANE_ACTION_SET_VALUE, text.data(), &info);
        Trace(std::string("sane_control_option(") + d->name + " = " + value + ")" + Result(s));
        if (s != SANE_STATUS_GOOD) ThrowSane(s);
    }
    static std::vector<std::string> StringList(const SANE_Option_Descriptor* d) {
        std::vector<std::string> list;
        if (d && d->constraint_type == SANE_CONSTRAINT_STRING_LIST)
            for (const SANE_String_Const* s = d->constraint.string_list; s && *s; ++s)
                list.push_back(*s);
        return list;
    }
    std::vector<int> DepthList() {
        std::vector<int> depths;
        const SANE_Option_Descriptor* d = Desc(Find(saneopt::Role::Depth));
        if (d && d->type == SANE_TYPE_INT && d->constraint_type == SANE_CONSTRAINT_WORD_LIST)
            for (int i = 1; i <= d->constraint.word_list[0]; ++i)
                depths.push_back(d->constraint.word_list[i]);
        return depths;
    }

    // ---- capabilities ------------------------------------------------------------------------
    CapInfo NumericCap(int cap, int index) {
        CapInfo c;
        const SANE_Option_Descriptor* d = Desc(index);
        if (!Usable(d) || !Numeric(d)) return c;
        c.supported = true;
        c.value = GetNumber(index);
        if (d->constraint_type == SANE_CONSTRAINT_RANGE) {
            c.container = kContainerRange;
            c.min = ToDouble(d, d->constraint.range->min);
            c.max = ToDouble(d, d->constraint.range->max);
            c.step = ToDouble(d, d->constraint.range->quant);
        } else if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
            c.container = kContainerEnumeration;
            c.numItems = d->constraint.word_list[0];
            if (c.numItems > 0) {
                c.min = c.max = ToDouble(d, d->constraint.word_list[1]);
                for (int i = 1; i <= c.numItems; ++i) {
                    c.min = std::min(c.min, ToDouble(d, d->constraint.word_list[i]));
                    c.max = std::max(c.max, ToDouble(d, d->constraint.word_list[i]));
                }
            }
        } else {
            c.min = c.max = c.value;
        }
        auto it = defaults.find(cap);
        c.def = it != defaults.end() ? it->second : c.value;
        return c;
    }

    int ResolutionOption(int cap) {
        const int own =
            Find(cap == kCapXResolution ? saneopt::Role::XResolution : saneopt::Role::YResolution);
        if (Usable(Desc(own))) return own;
        return Find(saneopt::Role::Resolution);
    }

    // The pixel type the device will deliver with its current settings.
    int CurrentPixelType() {
        const int modeIndex = Find(saneopt::Role::Mode);
        if (Usable(Desc(modeIndex))) {
            const int depthIndex = Find(saneopt::Role::Depth);
            const int depth =
                Usable(Desc(depthIndex)) ? static_cast<int>(GetNumber(depthIndex)) : 0;
            return saneopt::PixelTypeOfMode(StringList(Desc(modeIndex)), GetString(modeIndex),
                                            depth);
        }
        SANE_Parameters p{};
        if (sane_get_parameters(handle, &p) != SANE_STATUS_GOOD) return -1;
        if (p.format == SANE_FRAME_GRAY) return p.depth == 1 ? kPixelBw : kPixelGray;
        return kPixelRgb;
    }

    std::vector<int> PixelTypesOffered() {
        const int modeIndex = Find(saneopt::Role::Mode);
        if (Usable(Desc(modeIndex)))
            return saneopt::PixelTypes(StringList(Desc(modeIndex)), DepthList());
        const int t = CurrentPixelType();
        return t < 0 ? std::vector<int>{} : std::vector<int>{t};
    }

    saneopt::Sources SourceEntries(int* index = nullptr) {
        const int sourceIndex = Find(saneopt::Role::Source);
        if (index) *index = sourceIndex;
        const SANE_Option_Descriptor* d = Desc(sourceIndex);
        if (!Usable(d)) return {};
        return saneopt::ClassifySources(StringList(d));
    }
    saneopt::SourceKind CurrentSourceKind() {
        int sourceIndex = -1;
        SourceEntries(&sourceIndex);
        if (!Usable(Desc(sourceIndex))) return saneopt::SourceKind::Flatbed;
        return saneopt::KindOfSource(GetString(sourceIndex));
    }

    CapInfo Describe(int cap) {
        // The device is not asked while the worker reads from it.
        RequireIdleSession();
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
                return NumericCap(cap, Find(saneopt::Role::Brightness));
            case kCapXResolution:
            case kCapYResolution:
                return NumericCap(cap, ResolutionOption(cap));
            case kCapPixelType: {
                const std::vector<int> types = PixelTypesOffered();
                if (types.empty()) return c;
                c.supported = true;
                c.container = kContainerEnumeration;
                c.numItems = static_cast<int>(types.size());
                c.value = CurrentPixelType();
                c.min = types.front();
                c.max = types.back();
                auto it = defaults.find(cap);
                c.def = it != defaults.end() ? it->second : c.value;
                return c;
            }
            case kCapUnits:
                oneValue(0, 0);
                return c;
            case kCapUiControllable:
                oneValue(1, 1);
                return c;
            case kCapTransferCount:
                oneValue(transferCount, -1);
                return c;
            case kCapAutoFeed:
            case kCapFeederEnabled: {
                const saneopt::Sources s = SourceEntries();
                if (s.feeder.empty() && s.duplex.empty()) return c;
                if (cap == kCapAutoFeed)
                    oneValue(autoFeed ? 1 : 0, 1);
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
                        duplexWanted || CurrentSourceKind() == saneopt::SourceKind::Duplex ? 1 : 0,
                        0);
                return c;
            }
            default:
                return c;
        }
    }

    void SelectSourceEntry(bool feeder, bool duplex) {
        int sourceIndex = -1;
        const saneopt::Sources s = SourceEntries(&sourceIndex);
        const std::string entry = saneopt::ChooseSource(s, feeder, duplex);
        if (entry.empty()) ThrowOwn(kErrBadValue, "The scanner has no such paper source");
        if (GetString(sourceIndex) != entry) SetString(sourceIndex, entry);
    }

    void Apply(int cap, double v) {
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
                SetNumber(
                    cap == kCapBrightness ? Find(saneopt::Role::Brightness) : ResolutionOption(cap),
                    v);
                return;
            }
            case kCapPixelType: {
                const int t = static_cast<int>(v);
                if (t != v || t < 0 || t > 2)
                    ThrowOwn(kErrBadValue, "The value is not allowed for this capability");
                const int modeIndex = Find(saneopt::Role::Mode);
                if (!Usable(Desc(modeIndex))) {
                    if (t != c.value)
                        ThrowOwn(kErrBadValue, "The scanner cannot deliver this pixel type");
                    return;
                }
                const saneopt::ModeChoice m =
                    saneopt::ChooseMode(StringList(Desc(modeIndex)), DepthList(), t);
                if (m.mode.empty())
                    ThrowOwn(kErrBadValue, "The scanner cannot deliver this pixel type");
                if (GetString(modeIndex) != m.mode) SetString(modeIndex, m.mode);
                const int depthIndex = Find(saneopt::Role::Depth);
                if (m.depth && Usable(Desc(depthIndex)) && GetNumber(depthIndex) != m.depth)
                    SetNumber(depthIndex, m.depth);
                return;
            }
            case kCapUnits:
                if (v != 0) ThrowOwn(kErrBadValue, "Only inches are supported as units");
                return;
            case kCapTransferCount: {
                const int n = static_cast<int>(v);
                if (n != v || (n != -1 && n < 1))
                    ThrowOwn(kErrBadValue, "The transfer count must be -1 or at least 1");
                transferCount = n;
                return;
            }
            case kCapAutoFeed:
                requireBool();
                autoFeed = v == 1;
                return;
            case kCapFeederEnabled:
                requireBool();
                SelectSourceEntry(v == 1, duplexWanted);
                return;
            case kCapDuplexEnabled:
                requireBool();
                duplexWanted = v == 1;
                if (CurrentSourceKind() != saneopt::SourceKind::Flatbed)
                    SelectSourceEntry(true, duplexWanted);
                return;
            default:
                ThrowOwn(kErrBadValue, "This capability cannot be set");
        }
    }

    // ---- geometry ----------------------------------------------------------------------------
    struct Geometry {
        int index[4];  // tl-x, tl-y, br-x, br-y
        bool pixels;
    };
    Geometry GeometryOptions() {
        const std::vector<std::string> names = OptionNames();
        Geometry g{{saneopt::FindOption(names, saneopt::Role::TlX),
                    saneopt::FindOption(names, saneopt::Role::TlY),
                    saneopt::FindOption(names, saneopt::Role::BrX),
                    saneopt::FindOption(names, saneopt::Role::BrY)},
                   false};
        for (int i = 0; i < 4; ++i) {
            const SANE_Option_Descriptor* d = Desc(g.index[i]);
            if (!d || !Numeric(d)) ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
            if (d->unit == SANE_UNIT_PIXEL && saneopt::GeometryInPixels())
                g.pixels = true;
            else if (d->unit != SANE_UNIT_MM)
                ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
        }
        return g;
    }
    // Units of an option per inch.
    double PerInch(const Geometry& g, int axis) {
        if (!g.pixels) return kMmPerInch;
        const int res = ResolutionOption(axis == 0 ? kCapXResolution : kCapYResolution);
        const double dpi = Usable(Desc(res)) ? GetNumber(res) : 0;
        if (!(dpi > 0)) ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
        return dpi;
    }

    // ---- acquisition (worker thread) ---------------------------------------------------------
    void PostImage(unsigned gen, std::shared_ptr<const std::vector<uint8_t>> dib,
                   int pendingAfter) {
        std::shared_ptr<bool> token = alive;
        runDispatcher([this, token, gen, dib, pendingAfter] {
            if (!*token || gen != acquisition) return;
            image = dib;
            pending = pendingAfter;
            if (imageCallback) imageCallback(owner, sinkId, 0);
        });
    }
    void PostEnd(unsigned gen, AcquireEnd end) {
        std::shared_ptr<bool> token = alive;
        runDispatcher([this, token, gen, end] {
            if (!*token || gen != acquisition) return;
            pending = 0;
            if (endCallback) endCallback(end);
        });
    }

    static sanedib::FrameFormat FormatOf(SANE_Frame f) {
        switch (f) {
            case SANE_FRAME_RGB:
                return sanedib::FrameFormat::Rgb;
            case SANE_FRAME_RED:
                return sanedib::FrameFormat::Red;
            case SANE_FRAME_GREEN:
                return sanedib::FrameFormat::Green;
            case SANE_FRAME_BLUE:
                return sanedib::FrameFormat::Blue;
            default:
                return sanedib::FrameFormat::Gray;
        }
    }

    enum class ReadResult { Ok, Failed, BadImage };

    // Reads the rest of a frame into `sink` (called with whole lines, top first) and returns the
    // number of lines. The frame has been started.
    template <typename Sink>
    bool ReadLines(int bytesPerLine, SANE_Status& status, int& lines, Sink&& sink) {
        const size_t bpl = static_cast<size_t>(bytesPerLine);
        std::vector<uint8_t> chunk(std::max(bpl, size_t{1} << 18));
        size_t partial = 0;
        lines = 0;
        // A cancel is honoured once the frame's data has begun to arrive: some back ends (the
        // SANE test scanner among them) can hang in sane_cancel while their reader is still
        // starting up.
        bool flowing = false;
        for (;;) {
            if (cancel && flowing) {
                status = SANE_STATUS_CANCELLED;
                return false;
            }
            SANE_Int got = 0;
            status = sane_read(handle, chunk.data() + partial,
                               static_cast<SANE_Int>(chunk.size() - partial), &got);
            if (status == SANE_STATUS_EOF) break;
            if (status != SANE_STATUS_GOOD) return false;
            if (got > 0) flowing = true;
            const size_t total = partial + static_cast<size_t>(std::max<SANE_Int>(got, 0));
            const size_t full = total / bpl;
            for (size_t i = 0; i < full; ++i) sink(chunk.data() + i * bpl, lines++);
            partial = total - full * bpl;
            if (partial) std::memmove(chunk.data(), chunk.data() + full * bpl, partial);
        }
        return true;
    }

    // Reads every frame of one image into a DIB; the first frame has been started. Single-frame
    // images of known height go straight into the DIB; others are gathered first.
    ReadResult ReadImage(std::vector<uint8_t>& dib, SANE_Status& status, std::string& why,
                         double dpiX, double dpiY) {
        std::vector<sanedib::RawFrame> frames;
        for (;;) {
            SANE_Parameters p{};
            status = sane_get_parameters(handle, &p);
            if (status != SANE_STATUS_GOOD) return ReadResult::Failed;
            if (p.bytes_per_line <= 0 || p.pixels_per_line <= 0) {
                why = "bad line size";
                return ReadResult::BadImage;
            }
            const sanedib::FrameFormat format = FormatOf(p.format);
            const bool single =
                frames.empty() && p.last_frame && p.lines > 0 &&
                (format == sanedib::FrameFormat::Gray || format == sanedib::FrameFormat::Rgb);
            int lines = 0;
            if (single) {
                sanedib::DibWriter writer;
                if (!writer.Begin(format, p.depth, p.pixels_per_line, p.bytes_per_line, p.lines,
                                  dpiX, dpiY, &why))
                    return ReadResult::BadImage;
                if (!ReadLines(p.bytes_per_line, status, lines,
                               [&](const uint8_t* line, int y) { writer.Line(line, y); }))
                    return ReadResult::Failed;
                TraceFromWorker("sane_read: " + std::to_string(lines) + " lines of " +
                                std::to_string(p.pixels_per_line) + " pixels, depth " +
                                std::to_string(p.depth));
                dib = writer.Finish(std::min(lines, p.lines));
                if (dib.empty()) {
                    why = "no complete line";
                    return ReadResult::BadImage;
                }
                return ReadResult::Ok;
            }
            sanedib::RawFrame f;
            f.format = format;
            f.depth = p.depth;
            f.pixelsPerLine = p.pixels_per_line;
            f.bytesPerLine = p.bytes_per_line;
            const size_t bpl = static_cast<size_t>(p.bytes_per_line);
            if (p.lines > 0)
                f.data.reserve(std::min(bpl * static_cast<size_t>(p.lines), kMaxPixelBytes));
            // A device that never stops sending cannot take all memory: what lies beyond the
            // largest image is read and dropped.
            if (!ReadLines(p.bytes_per_line, status, lines, [&](const uint8_t* line, int y) {
                    if (static_cast<uint32_t>(y) < kMaxImageSide &&
                        f.data.size() + bpl <= kMaxPixelBytes)
                        f.data.insert(f.data.end(), line, line + bpl);
                }))
                return ReadResult::Failed;
            TraceFromWorker("sane_read: " + std::to_string(lines) + " lines of " +
                            std::to_string(p.pixels_per_line) + " pixels, depth " +
                            std::to_string(p.depth));
            frames.push_back(std::move(f));
            if (p.last_frame) break;
            status = sane_start(handle);
            TraceFromWorker("sane_start (next frame)" + Result(status));
            if (status != SANE_STATUS_GOOD) return ReadResult::Failed;
        }
        dib = sanedib::BuildDib(frames, dpiX, dpiY, &why);
        return dib.empty() ? ReadResult::BadImage : ReadResult::Ok;
    }

    // Sets the source option from the worker (which owns the handle during a run).
    SANE_Status SetSourceFromWorker(int index, const std::string& entry) {
        const SANE_Option_Descriptor* d = Desc(index);
        if (!d || d->type != SANE_TYPE_STRING) return SANE_STATUS_UNSUPPORTED;
        std::vector<char> text(std::max<size_t>(static_cast<size_t>(d->size), entry.size() + 1),
                               '\0');
        std::memcpy(text.data(), entry.data(), entry.size());
        const SANE_Status s =
            sane_control_option(handle, index, SANE_ACTION_SET_VALUE, text.data(), nullptr);
        TraceFromWorker("sane_control_option(" + std::string(d->name) + " = " + entry + ")" +
                        Result(s));
        return s;
    }

    void Run(unsigned gen, int pagesWanted, double dpiX, double dpiY, int sourceIndex,
             std::string feederEntry, std::string flatbedEntry) {
        if (cancel) {
            // Cancelled before the device was started: nothing to stop.
            running = false;
            PostEnd(gen, AcquireEnd{true, std::nullopt});
            return;
        }
        SANE_Status s = sane_start(handle);
        TraceFromWorker("sane_start" + Result(s));
        bool onFlatbedInstead = false;
        if (s == SANE_STATUS_NO_DOCS && !feederEntry.empty() && !flatbedEntry.empty() &&
            saneopt::QuirkEnabled("empty-feeder-uses-flatbed") &&
            SetSourceFromWorker(sourceIndex, flatbedEntry) == SANE_STATUS_GOOD) {
            // Nothing in the feeder: the page lies on the glass, as with most scanners' own
            // drivers.
            onFlatbedInstead = true;
            pagesWanted = 1;
            s = sane_start(handle);
            TraceFromWorker("sane_start" + Result(s));
        }
        int page = 0;
        AcquireEnd end;
        bool ended = false;
        std::shared_ptr<const std::vector<uint8_t>> last;
        int lastPending = 0;
        if (s != SANE_STATUS_GOOD) {
            if (s == SANE_STATUS_CANCELLED || cancel)
                end.cancelled = true;
            else
                end.error = SaneError(s);
            ended = true;
        }
        while (!ended) {
            std::vector<uint8_t> dib;
            std::string why;
            const ReadResult r = ReadImage(dib, s, why, dpiX, dpiY);
            if (r == ReadResult::Failed) {
                if (s == SANE_STATUS_CANCELLED || cancel)
                    end.cancelled = true;
                else
                    end.error = SaneError(s);
                break;
            }
            if (r == ReadResult::BadImage) {
                end.error =
                    ScannerError(kComponentStatus, kErrImageFormat,
                                 "The scanner delivered an image that cannot be used: " + why);
                break;
            }
            ++page;
            bool more = pagesWanted < 0 || page < pagesWanted;
            if (more && cancel) {
                end.cancelled = true;
                ended = true;
            } else if (more) {
                s = sane_start(handle);
                TraceFromWorker("sane_start" + Result(s));
                if (s == SANE_STATUS_NO_DOCS) {
                    more = false;
                } else if (s != SANE_STATUS_GOOD) {
                    if (s == SANE_STATUS_CANCELLED || cancel)
                        end.cancelled = true;
                    else
                        end.error = SaneError(s);
                    ended = true;
                }
            }
            const int pendingAfter = ended             ? -1
                                     : !more           ? 0
                                     : pagesWanted < 0 ? -1
                                                       : pagesWanted - page;
            auto block = std::make_shared<const std::vector<uint8_t>>(std::move(dib));
            if (!more || ended) {
                last = block;
                lastPending = pendingAfter;
                break;
            }
            PostImage(gen, block, pendingAfter);
        }
        sane_cancel(handle);
        TraceFromWorker("sane_cancel");
        if (onFlatbedInstead) SetSourceFromWorker(sourceIndex, feederEntry);
        // The device is free before the run's last event goes out, so that whoever handles it
        // may set up and start the next run at once.
        running = false;
        if (last) PostImage(gen, last, lastPending);
        if (end.cancelled || end.error) PostEnd(gen, end);
    }

    void StopWorker() {
        if (!worker.joinable()) return;
        cancel = true;
        worker.join();
    }
};

// ---- the interface ---------------------------------------------------------------------------

ScannerComponent::ScannerComponent() : impl_(std::make_unique<Impl>()) {
    impl_->dispatcher = impl_->loop.dispatcher();
}

ScannerComponent::~ScannerComponent() {
    CloseSession();
    *impl_->alive = false;
    if (impl_->saneStarted) ReleaseSane();
}

void ScannerComponent::OpenSourceManager() {
    impl_->Discover();
}

void ScannerComponent::SelectSource() {
    impl_->RequireSources();
    if (!impl_->chooser) ThrowOwn(kErrSelectionCancelled, "No source dialog is available");
    std::vector<std::string> names;
    for (const Impl::Source& s : impl_->sources) names.push_back(s.product);
    const int chosen = impl_->chooser(names, impl_->current);
    if (chosen < 0 || chosen >= static_cast<int>(names.size()))
        ThrowOwn(kErrSelectionCancelled, "The source selection was cancelled");
    CurrentSource(chosen);
}

void ScannerComponent::OpenSession() {
    Impl& m = *impl_;
    if (m.sources.empty()) m.RequireSources();
    if (m.current < 0) ThrowOwn(kErrNoSource, "No scanner was found");
    if (m.handle && m.openIndex == m.current) return;
    CloseSession();
    m.StartSane();
    const std::string& device = m.sources[static_cast<size_t>(m.current)].device;
    SANE_Handle h = nullptr;
    SANE_Status s = sane_open(device.c_str(), &h);
    m.Trace("sane_open(" + device + ")" + Impl::Result(s));
    if (s != SANE_STATUS_GOOD) ThrowSane(s);
    m.handle = h;
    m.openIndex = m.current;
    m.transferCount = -1;
    m.autoFeed = true;
    m.duplexWanted = false;
    m.defaults.clear();
    m.image.reset();
    m.pending = 0;
    for (int cap : {kCapBrightness, kCapPixelType, kCapXResolution, kCapYResolution}) {
        const Impl::CapInfo c = m.Describe(cap);
        if (c.supported) m.defaults[cap] = c.value;
    }
}

void ScannerComponent::StartAcquire() {
    Impl& m = *impl_;
    m.RequireIdleSession();
    int pagesWanted = m.transferCount;
    const saneopt::SourceKind kind = m.CurrentSourceKind();
    if (pagesWanted < 0 && kind == saneopt::SourceKind::Flatbed) pagesWanted = 1;
    int sourceIndex = -1;
    const saneopt::Sources entries = m.SourceEntries(&sourceIndex);
    const std::string feederEntry =
        kind != saneopt::SourceKind::Flatbed ? m.GetString(sourceIndex) : std::string();
    const int resX = m.ResolutionOption(kCapXResolution);
    const int resY = m.ResolutionOption(kCapYResolution);
    const double dpiX = Impl::Numeric(m.Desc(resX)) ? m.GetNumber(resX) : 0;
    const double dpiY = Impl::Numeric(m.Desc(resY)) ? m.GetNumber(resY) : dpiX;
    m.cancel = false;
    m.running = true;
    m.pending = pagesWanted;
    m.image.reset();
    const unsigned gen = ++m.acquisition;
    m.runDispatcher = m.dispatcher;
    m.worker = std::thread(
        [&m, gen, pagesWanted, dpiX, dpiY, sourceIndex, feederEntry, flatbed = entries.flatbed] {
            m.Run(gen, pagesWanted, dpiX, dpiY, sourceIndex, feederEntry, flatbed);
        });
}

void ScannerComponent::CancelAcquire() {
    impl_->cancel = true;
}

void ScannerComponent::CloseSession() {
    Impl& m = *impl_;
    m.StopWorker();
    ++m.acquisition;  // whatever the stopped run still had on its way is dropped
    m.pending = 0;
    if (m.handle) {
        sane_close(m.handle);
        m.Trace("sane_close");
        m.handle = nullptr;
        m.openIndex = -1;
    }
}

int ScannerComponent::SourceCount() {
    impl_->Discover();
    return static_cast<int>(impl_->sources.size());
}

std::string ScannerComponent::SourceName(int index) {
    // Sources added by device name are known without the slow discovery.
    if (index < 0 || index >= static_cast<int>(impl_->sources.size())) impl_->Discover();
    if (index < 0 || index >= static_cast<int>(impl_->sources.size()))
        ThrowOwn(kErrBadValue, "There is no source with this number");
    return impl_->sources[static_cast<size_t>(index)].product;
}

std::string ScannerComponent::SourceDeviceName(int index) {
    // Sources added by device name are known without the slow discovery.
    if (index < 0 || index >= static_cast<int>(impl_->sources.size())) impl_->Discover();
    if (index < 0 || index >= static_cast<int>(impl_->sources.size()))
        ThrowOwn(kErrBadValue, "There is no source with this number");
    return impl_->sources[static_cast<size_t>(index)].device;
}

int ScannerComponent::CurrentSource() {
    if (impl_->sources.empty()) impl_->RequireSources();
    if (impl_->current < 0) ThrowOwn(kErrNoSource, "No scanner was found");
    return impl_->current;
}

void ScannerComponent::CurrentSource(int index) {
    Impl& m = *impl_;
    if (m.sources.empty()) m.RequireSources();
    if (index < 0 || index >= static_cast<int>(m.sources.size()))
        ThrowOwn(kErrBadValue, "There is no source with this number");
    if (m.handle && index != m.openIndex)
        ThrowOwn(kErrBusy, "Close the session before choosing another source");
    m.current = index;
}

int ScannerComponent::AddSource(const std::string& deviceName) {
    Impl& m = *impl_;
    m.StartSane();
    for (size_t i = 0; i < m.sources.size(); ++i)
        if (m.sources[i].device == deviceName) return static_cast<int>(i);
    m.sources.push_back({deviceName, deviceName});
    if (m.current < 0) m.current = static_cast<int>(m.sources.size()) - 1;
    return static_cast<int>(m.sources.size()) - 1;
}

void* ScannerComponent::ParentWindow() const {
    return impl_->parentWindow;
}
void ScannerComponent::ParentWindow(void* window) {
    impl_->parentWindow = window;
}
int ScannerComponent::TraceLog() const {
    return impl_->traceLog;
}
void ScannerComponent::TraceLog(int on) {
    impl_->traceLog = on;
}
bool ScannerComponent::ShowUI() const {
    return impl_->showUI;
}
void ScannerComponent::ShowUI(bool show) {
    // SANE drivers have no dialogs of their own: the program's settings are the interface.
    if (show)
        ThrowOwn(kErrCapabilityNotSupported, "The scanner driver has no user interface of its own");
    impl_->showUI = false;
}

int ScannerComponent::Capability() const {
    return impl_->capability;
}
void ScannerComponent::Capability(int code) {
    impl_->capability = code;
}
bool ScannerComponent::CapSupported() {
    return impl_->Describe(impl_->capability).supported;
}

namespace {
const ScannerComponent::Impl::CapInfo& Supported(const ScannerComponent::Impl::CapInfo& c) {
    if (!c.supported) ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
    return c;
}
}  // namespace

int ScannerComponent::CapContainer() {
    return Supported(impl_->Describe(impl_->capability)).container;
}
void ScannerComponent::CapContainer(int kind) {
    impl_->putContainer = kind;
}
double ScannerComponent::CapValue() {
    return Supported(impl_->Describe(impl_->capability)).value;
}
void ScannerComponent::CapValue(double value) {
    impl_->putValue = value;
}
double ScannerComponent::CapDefault() {
    return Supported(impl_->Describe(impl_->capability)).def;
}
double ScannerComponent::CapMin() {
    return Supported(impl_->Describe(impl_->capability)).min;
}
double ScannerComponent::CapMax() {
    return Supported(impl_->Describe(impl_->capability)).max;
}
double ScannerComponent::CapStep() {
    return Supported(impl_->Describe(impl_->capability)).step;
}
int ScannerComponent::CapNumItems() {
    const Impl::CapInfo c = Supported(impl_->Describe(impl_->capability));
    return c.container == kContainerEnumeration || c.container == kContainerArray ? c.numItems : 1;
}

void ScannerComponent::SetCapability() {
    Impl& m = *impl_;
    m.RequireIdleSession();
    if (m.putContainer != kContainerOneValue)
        ThrowOwn(kErrBadValue, "Only single values can be set");
    m.Apply(m.capability, m.putValue);
}

void ScannerComponent::GetImageLayout(double& left, double& top, double& right, double& bottom) {
    Impl& m = *impl_;
    m.RequireIdleSession();
    const Impl::Geometry g = m.GeometryOptions();
    const double x = m.PerInch(g, 0), y = m.PerInch(g, 1);
    left = m.GetNumber(g.index[0]) / x;
    top = m.GetNumber(g.index[1]) / y;
    right = m.GetNumber(g.index[2]) / x;
    bottom = m.GetNumber(g.index[3]) / y;
}

void ScannerComponent::SetImageLayout(double left, double top, double right, double bottom) {
    Impl& m = *impl_;
    m.RequireIdleSession();
    if (!(left >= 0 && top >= 0 && right > left && bottom > top))
        ThrowOwn(kErrBadValue, "The page frame is empty or outside the scan area");
    const Impl::Geometry g = m.GeometryOptions();
    const double x = m.PerInch(g, 0), y = m.PerInch(g, 1);
    const double want[4] = {left * x, top * y, right * x, bottom * y};
    for (int axis = 0; axis < 2; ++axis) {
        const int tl = g.index[axis], br = g.index[axis + 2];
        // Keep top-left before bottom-right at every step: devices refuse a crossed frame.
        if (want[axis] < m.GetNumber(br)) {
            m.SetNumber(tl, want[axis]);
            m.SetNumber(br, want[axis + 2]);
        } else {
            m.SetNumber(br, want[axis + 2]);
            m.SetNumber(tl, want[axis]);
        }
    }
}

std::shared_ptr<const std::vector<uint8_t>> ScannerComponent::ImageHandle() const {
    return impl_->image;
}
int ScannerComponent::PendingTransfers() const {
    return impl_->pending;
}
bool ScannerComponent::Acquiring() const {
    return impl_->running;
}

void ScannerComponent::SetOption(const std::string& name, const std::string& value) {
    Impl& m = *impl_;
    m.RequireIdleSession();
    const std::vector<std::string> names = m.OptionNames();
    int index = -1;
    for (size_t i = 1; i < names.size(); ++i)
        if (names[i] == name) index = static_cast<int>(i);
    const SANE_Option_Descriptor* d = m.Desc(index);
    if (!d) ThrowOwn(kErrNoSuchOption, "The scanner has no option \"" + name + "\"");
    switch (d->type) {
        case SANE_TYPE_STRING:
            m.SetString(index, value);
            return;
        case SANE_TYPE_BOOL: {
            bool b = false;
            if (!ParseBool(value, &b)) ThrowOwn(kErrBadValue, "\"" + value + "\" is not yes or no");
            m.SetNumber(index, b ? 1 : 0);
            return;
        }
        case SANE_TYPE_INT:
        case SANE_TYPE_FIXED: {
            char* end = nullptr;
            const double v = std::strtod(value.c_str(), &end);
            if (value.empty() || *end) ThrowOwn(kErrBadValue, "\"" + value + "\" is not a number");
            m.SetNumber(index, v);
            return;
        }
        case SANE_TYPE_BUTTON: {
            SANE_Status s =
                sane_control_option(m.handle, index, SANE_ACTION_SET_VALUE, nullptr, nullptr);
            if (s != SANE_STATUS_GOOD) ThrowSane(s);
            return;
        }
        default:
            ThrowOwn(kErrBadValue, "The option \"" + name + "\" cannot be set");
    }
}

std::string ScannerComponent::OptionValue(const std::string& name) {
    Impl& m = *impl_;
    m.RequireIdleSession();
    const std::vector<std::string> names = m.OptionNames();
    for (size_t i = 1; i < names.size(); ++i) {
        if (names[i] != name) continue;
        const int index = static_cast<int>(i);
        const SANE_Option_Descriptor* d = m.Desc(index);
        if (d->type == SANE_TYPE_STRING) return m.GetString(index);
        if (Impl::Numeric(d) && SANE_OPTION_IS_ACTIVE(d->cap))
            return FormatNumber(m.GetNumber(index));
        return {};
    }
    ThrowOwn(kErrNoSuchOption, "The scanner has no option \"" + name + "\"");
}

void ScannerComponent::SetSourceChooser(SourceChooser chooser) {
    impl_->chooser = std::move(chooser);
}

void ScannerComponent::SetEventCallback(int eventId, ScanEventCallback callback, void* owner,
                                        int id) {
    if (eventId != kEventImageTransferred) return;
    impl_->imageCallback = std::move(callback);
    impl_->owner = owner;
    impl_->sinkId = id;
}

void ScannerComponent::SetAcquireEndCallback(AcquireEndCallback callback) {
    impl_->endCallback = std::move(callback);
}

void ScannerComponent::SetDispatcher(Dispatcher dispatcher) {
    impl_->dispatcher = dispatcher ? std::move(dispatcher) : impl_->loop.dispatcher();
}

BlockingEventLoop& ScannerComponent::EventLoop() {
    return impl_->loop;
}
int ScannerComponent::WaitForEvents(int timeoutMs) {
    return impl_->loop.WaitForEvents(timeoutMs);
}
int ScannerComponent::ProcessEvents() {
    return impl_->loop.ProcessEvents();
}

}  // namespace vellumo::scan

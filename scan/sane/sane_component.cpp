// The scanner component on libsane: the list of devices, one session with one device, and the
// wiring of the parts that do the work (option access, capability mapping, page frame, the
// reader thread). SANE is started once per process and the devices are discovered once per
// component, because discovery over the network takes seconds. The reader thread's results
// travel to the GUI thread through the dispatcher, so every property the GUI reads is only
// touched there.
#include <sane/sane.h>

#include <atomic>
#include <memory>

#include "platform/log.h"
#include "scan/sane/acquisition.h"
#include "scan/sane/capability_map.h"
#include "scan/sane/option_access.h"
#include "scan/sane/page_geometry.h"
#include "scan/sane/sane_errors.h"
#include "scan/sane/sane_runtime.h"
#include "scan/scanner_component.h"

namespace vellumo::scan {

using namespace vellumo::platform;
using namespace vellumo::scan::sane;

struct ScannerComponent::Impl {
    struct Source {
        std::string device;
        std::string product;
    };

    bool saneStarted = false;
    bool discovered = false;
    std::vector<Source> sources;
    int current = -1;
    SANE_Handle handle = nullptr;
    int openIndex = -1;
    std::unique_ptr<SaneOptions> options;
    std::unique_ptr<CapabilityMap> caps;

    void* parentWindow = nullptr;
    std::atomic<int> traceLog{0};
    bool showUI = false;
    SourceChooser chooser;

    // The selected capability and the value to put.
    int capability = 0;
    int putContainer = kContainerOneValue;
    double putValue = 0;

    // Delivery of the reader's results on the dispatcher's thread.
    std::shared_ptr<const std::vector<uint8_t>> image;
    int pending = 0;
    unsigned generation = 0;  // a stopped run's late events carry an old one and are dropped
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    BlockingEventLoop loop;
    Dispatcher dispatcher;
    ScanEventCallback imageCallback;
    void* owner = nullptr;
    int sinkId = 1;
    AcquireEndCallback endCallback;
    // Declared last: its thread uses `options` and is stopped before anything else goes.
    Acquisition acquisition;

    void Trace(const std::string& line) {
        if (traceLog == 1) WriteLog("SANE: " + line + "\n");
    }

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
        const SANE_Status s = sane_get_devices(&list, SANE_FALSE);
        Trace("sane_get_devices" + TraceResult(s));
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

    const Source& SourceAt(int index) {
        // Sources added by device name are known without the slow discovery.
        if (index < 0 || index >= static_cast<int>(sources.size())) Discover();
        if (index < 0 || index >= static_cast<int>(sources.size()))
            ThrowOwn(kErrBadValue, "There is no source with this number");
        return sources[static_cast<size_t>(index)];
    }

    // The device is not asked while the reader thread uses it.
    void RequireIdleSession() {
        if (!handle) ThrowOwn(kErrNoSession, "No scanner session is open");
        acquisition.JoinIfFinished();
        if (acquisition.running()) ThrowOwn(kErrBusy, "The scanner is busy scanning");
    }

    CapInfo Describe(int cap) {
        RequireIdleSession();
        return caps->Describe(cap);
    }

    const CapInfo Supported(int cap) {
        const CapInfo c = Describe(cap);
        if (!c.supported) ThrowOwn(kErrCapabilityNotSupported, "Capability not supported");
        return c;
    }

    // The reader's events, posted to the dispatcher of the moment the run starts.
    AcquisitionEvents EventsFor(unsigned gen) {
        const Dispatcher dispatch = dispatcher;
        const std::shared_ptr<bool> token = alive;
        AcquisitionEvents events;
        events.image = [this, dispatch, token, gen](std::shared_ptr<const std::vector<uint8_t>> dib,
                                                    int pendingAfter) {
            dispatch([this, token, gen, dib, pendingAfter] {
                if (!*token || gen != generation) return;
                image = dib;
                pending = pendingAfter;
                if (imageCallback) imageCallback(owner, sinkId, 0);
            });
        };
        events.ended = [this, dispatch, token, gen](const AcquireEnd& end) {
            dispatch([this, token, gen, end] {
                if (!*token || gen != generation) return;
                pending = 0;
                if (endCallback) endCallback(end);
            });
        };
        // The trace is written on the GUI thread, in order with the images.
        events.trace = [this, dispatch](const std::string& line) {
            if (traceLog != 1) return;
            dispatch([line] { WriteLog("SANE: " + line + "\n"); });
        };
        return events;
    }
};

// ---- sources and session ---------------------------------------------------------------------

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
    // The SANE device name beside the product name: two scanners of one model, or one scanner
    // reached through two back ends, can be told apart.
    std::vector<std::string> names;
    for (const Impl::Source& s : impl_->sources)
        names.push_back(s.product == s.device ? s.device : s.product + " (" + s.device + ")");
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
    const SANE_Status s = sane_open(device.c_str(), &h);
    m.Trace("sane_open(" + device + ")" + TraceResult(s));
    if (s != SANE_STATUS_GOOD) ThrowSane(s);
    m.handle = h;
    m.openIndex = m.current;
    m.options = std::make_unique<SaneOptions>(h, [&m](const std::string& line) { m.Trace(line); });
    m.caps = std::make_unique<CapabilityMap>(*m.options);
    m.image.reset();
    m.pending = 0;
    m.caps->RememberDefaults();
}

void ScannerComponent::StartAcquire() {
    Impl& m = *impl_;
    m.RequireIdleSession();
    SaneOptions& o = *m.options;
    AcquisitionPlan plan;
    plan.pagesWanted = m.caps->transferCount();
    const saneopt::SourceKind kind = m.caps->CurrentSourceKind();
    if (plan.pagesWanted < 0 && kind == saneopt::SourceKind::Flatbed) plan.pagesWanted = 1;
    plan.flatbedEntry = m.caps->SourceEntries(&plan.sourceIndex).flatbed;
    plan.pixelType = m.caps->PixelType();
    if (kind != saneopt::SourceKind::Flatbed) plan.feederEntry = o.GetString(plan.sourceIndex);
    const int resX = o.ResolutionOption(false);
    const int resY = o.ResolutionOption(true);
    plan.dpiX = SaneOptions::Numeric(o.Descriptor(resX)) ? o.GetNumber(resX) : 0;
    plan.dpiY = SaneOptions::Numeric(o.Descriptor(resY)) ? o.GetNumber(resY) : plan.dpiX;
    m.pending = plan.pagesWanted;
    m.image.reset();
    m.acquisition.Start(o, std::move(plan), m.EventsFor(++m.generation));
}

void ScannerComponent::CancelAcquire() {
    impl_->acquisition.Cancel();
}

void ScannerComponent::CloseSession() {
    Impl& m = *impl_;
    m.acquisition.Stop();
    ++m.generation;  // whatever the stopped run still had on its way is dropped
    m.pending = 0;
    if (m.handle) {
        sane_close(m.handle);
        m.Trace("sane_close");
        m.handle = nullptr;
        m.openIndex = -1;
        m.caps.reset();
        m.options.reset();
    }
}

int ScannerComponent::SourceCount() {
    impl_->Discover();
    return static_cast<int>(impl_->sources.size());
}

std::string ScannerComponent::SourceName(int index) {
    return impl_->SourceAt(index).product;
}

std::string ScannerComponent::SourceDeviceName(int index) {
    return impl_->SourceAt(index).device;
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

// ---- capabilities ----------------------------------------------------------------------------

int ScannerComponent::Capability() const {
    return impl_->capability;
}
void ScannerComponent::Capability(int code) {
    impl_->capability = code;
}
bool ScannerComponent::CapSupported() {
    return impl_->Describe(impl_->capability).supported;
}
int ScannerComponent::CapContainer() {
    return impl_->Supported(impl_->capability).container;
}
void ScannerComponent::CapContainer(int kind) {
    impl_->putContainer = kind;
}
double ScannerComponent::CapValue() {
    return impl_->Supported(impl_->capability).value;
}
void ScannerComponent::CapValue(double value) {
    impl_->putValue = value;
}
double ScannerComponent::CapDefault() {
    return impl_->Supported(impl_->capability).def;
}
double ScannerComponent::CapMin() {
    return impl_->Supported(impl_->capability).min;
}
double ScannerComponent::CapMax() {
    return impl_->Supported(impl_->capability).max;
}
double ScannerComponent::CapStep() {
    return impl_->Supported(impl_->capability).step;
}
int ScannerComponent::CapNumItems() {
    const CapInfo c = impl_->Supported(impl_->capability);
    return c.container == kContainerEnumeration || c.container == kContainerArray ? c.numItems : 1;
}

void ScannerComponent::SetCapability() {
    Impl& m = *impl_;
    m.RequireIdleSession();
    if (m.putContainer != kContainerOneValue)
        ThrowOwn(kErrBadValue, "Only single values can be set");
    m.caps->Apply(m.capability, m.putValue);
}

void ScannerComponent::GetImageLayout(double& left, double& top, double& right, double& bottom) {
    impl_->RequireIdleSession();
    GetPageFrame(*impl_->options, left, top, right, bottom);
}

void ScannerComponent::SetImageLayout(double left, double top, double right, double bottom) {
    impl_->RequireIdleSession();
    SetPageFrame(*impl_->options, left, top, right, bottom);
}

// ---- transfer and wiring ---------------------------------------------------------------------

std::shared_ptr<const std::vector<uint8_t>> ScannerComponent::ImageHandle() const {
    return impl_->image;
}
int ScannerComponent::PendingTransfers() const {
    return impl_->pending;
}
bool ScannerComponent::Acquiring() const {
    return impl_->acquisition.running();
}

void ScannerComponent::SetOption(const std::string& name, const std::string& value) {
    impl_->RequireIdleSession();
    impl_->options->SetFromText(name, value);
}

std::string ScannerComponent::OptionValue(const std::string& name) {
    impl_->RequireIdleSession();
    return impl_->options->ValueText(name);
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

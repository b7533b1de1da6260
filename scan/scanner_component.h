// The scanner component: sources, one session with one source, capabilities, page frame and
// image transfer, on SANE. The scan session, the source selection and the GUI talk to scanners
// only through this class. Failing calls throw ScannerError; images arrive as packed DIBs, one
// event per image, delivered through the dispatcher on the thread that runs the event loop.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scan/event_loop.h"

namespace vellumo::scan {

// Capability codes.
constexpr int kCapBrightness = 1;
constexpr int kCapPixelType = 6;
constexpr int kCapUnits = 8;
constexpr int kCapXResolution = 11;
constexpr int kCapYResolution = 12;
constexpr int kCapUiControllable = 18;
constexpr int kCapTransferCount = 19;
constexpr int kCapAutoFeed = 20;
constexpr int kCapDuplex = 23;
constexpr int kCapDuplexEnabled = 24;
constexpr int kCapFeederEnabled = 25;

// Container kinds of a capability.
constexpr int kContainerOneValue = 0;
constexpr int kContainerEnumeration = 1;
constexpr int kContainerRange = 2;
constexpr int kContainerArray = 3;

// Pixel types.
constexpr int kPixelBw = 0;
constexpr int kPixelGray = 1;
constexpr int kPixelRgb = 2;

// Status of the component's own failures (as opposed to failures the scanner reported).
constexpr int kComponentStatus = 1000;

// Error codes of the component's own failures (status kComponentStatus).
enum ComponentErrorCode {
    kErrNoSourceManager = 1,
    kErrNoSource = 2,
    kErrNoSession = 3,
    kErrCapabilityNotSupported = 4,
    kErrBadValue = 5,
    kErrBusy = 6,
    kErrSelectionCancelled = 7,
    kErrImageFormat = 8,
    kErrNoSuchOption = 9,
};

// A failed component call. Scanner failures carry the SANE status as status and error code and
// SANE's description as text; the component's own carry kComponentStatus, a ComponentErrorCode
// and a text of their own.
class ScannerError : public std::exception {
public:
    ScannerError(int status, int errorCode, std::string errorText);
    int status() const { return status_; }
    int ErrorCode() const { return errorCode_; }
    const std::string& ErrorText() const { return errorText_; }
    const char* what() const noexcept override { return errorText_.c_str(); }

private:
    int status_;
    int errorCode_;
    std::string errorText_;
};

// How an acquisition ended when it did not end with its last image: cancelled, or failed.
struct AcquireEnd {
    bool cancelled = false;
    std::optional<ScannerError> error;
};

// Lets the user pick one of the sources, listed as "product (SANE device name)"; returns the
// chosen index, or -1 when the user cancels.
using SourceChooser = std::function<int(const std::vector<std::string>& names, int current)>;
// Event callback: (owner, id, event argument), as the event sink hands them on.
using ScanEventCallback = std::function<void(void* owner, int id, int argument)>;
using AcquireEndCallback = std::function<void(const AcquireEnd&)>;

// Event identifiers.
constexpr int kEventImageTransferred = 2;

class ScannerComponent {
public:
    ScannerComponent();
    ~ScannerComponent();
    ScannerComponent(const ScannerComponent&) = delete;
    ScannerComponent& operator=(const ScannerComponent&) = delete;

    // Sources and session.
    void OpenSourceManager();  // starts SANE and finds the devices (once per component)
    void SelectSource();       // asks the chooser; throws when it cancels
    void OpenSession();        // opens the current source
    void StartAcquire();       // starts reading on a worker thread and returns
    void CloseSession();       // stops any acquisition and closes the source
    void CancelAcquire();      // asks a running acquisition to stop (the device is cancelled)
    int SourceCount();
    std::string SourceName(int index);  // the product name: vendor and model
    std::string SourceDeviceName(int index);
    int CurrentSource();
    void CurrentSource(int index);
    // Makes a SANE device name (for example "test:0") a source even when discovery did not list
    // it, and returns its index. Does not need discovery, so it is quick.
    int AddSource(const std::string& deviceName);
    void* ParentWindow() const;
    void ParentWindow(void* window);
    int TraceLog() const;
    void TraceLog(int on);  // 1: every SANE call is written to the program's log
    bool ShowUI() const;
    void ShowUI(bool show);

    // Capabilities.
    int Capability() const;
    void Capability(int code);
    bool CapSupported();
    int CapContainer();
    void CapContainer(int kind);
    double CapValue();
    void CapValue(double value);
    double CapDefault();
    double CapMin();
    double CapMax();
    double CapStep();
    int CapNumItems();
    void SetCapability();
    // Page frame in inches, from the top-left corner of the scan area.
    void GetImageLayout(double& left, double& top, double& right, double& bottom);
    void SetImageLayout(double left, double top, double right, double bottom);

    // Transfer: valid inside the image event (and for the last image afterwards).
    std::shared_ptr<const std::vector<uint8_t>> ImageHandle() const;
    int PendingTransfers() const;
    bool Acquiring() const;

    // Device options by their SANE names, for the command line and for tests.
    void SetOption(const std::string& name, const std::string& value);
    std::string OptionValue(const std::string& name);

    // Wiring.
    void SetSourceChooser(SourceChooser chooser);
    void SetEventCallback(int eventId, ScanEventCallback callback, void* owner = nullptr,
                          int id = 1);
    void SetAcquireEndCallback(AcquireEndCallback callback);
    // Where the worker's events are delivered; by default the component's own BlockingEventLoop.
    void SetDispatcher(Dispatcher dispatcher);
    BlockingEventLoop& EventLoop();
    // Conveniences over EventLoop() for the command line and the tests.
    int WaitForEvents(int timeoutMs);
    int ProcessEvents();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace vellumo::scan

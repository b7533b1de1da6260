// CTwainPRO: the main window's scanner. It owns the scanner component, receives its events and
// hands them to the callbacks installed for them, and delivers them on the GUI thread through
// Qt's event loop, one after the other in the order they were posted: an image event runs to
// its end (a preview included) before the next one starts. Finding the scanners can take
// seconds (network scanners), so it runs on a thread of its own once at start-up; everything
// that needs the scanners waits for it.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "document/command_context.h"
#include "scan/scanner_component.h"

class QWidget;

namespace vellumo::scan {
class ScanUi;
}

namespace vellumo::scanning {

// The event sink: event 1 and event 2 (an image was transferred) of the component.
class CTwainPROEventHandler {
public:
    virtual ~CTwainPROEventHandler() = default;
    // Dispatch id 1 calls OnEvent1, id 2 OnImageTransferred, with the argument's low 16 bits;
    // other ids are ignored.
    void Invoke(int dispatchId, int argument);
    virtual void OnEvent1(int argument) = 0;
    virtual void OnImageTransferred(int argument) = 0;
};

class CTwainPRO : public QObject, public CTwainPROEventHandler {
    Q_OBJECT
public:
    // Scans for the window and document of `context`.
    explicit CTwainPRO(const document::CommandContext& context);
    ~CTwainPRO() override;

    scan::ScanEventCallback event1Callback;  // none by default
    scan::ScanEventCallback event2Callback;  // none by default
    const int id = 1;
    const document::CommandContext owner;
    // The undo step of the scan under way: its pages arrive one by one and are one step.
    uint64_t scanStep = 0;

    scan::ScannerComponent& component() { return component_; }

    void OnEvent1(int argument) override;
    void OnImageTransferred(int argument) override;

    // Finds the scanners on a thread of its own, then runs `whenFound` on the GUI thread.
    void StartDiscovery(std::function<void()> whenFound);
    // True once the start-up selection has run (successfully or not).
    bool ready() const { return ready_; }
    bool startupSucceeded() const { return startupOk_; }
    // Lets GUI events through until the start-up selection has run.
    void WaitUntilReady();
    // The start-up selection has run: tells those waiting through becameReady.
    void MarkReady(bool succeeded);

    // While a scan runs: a Cancel in the activity dialog stops the acquisition.
    void WatchCancel(bool on);
    // Stops the acquisition when Cancel was pressed (the watch's check, run at once).
    void StopIfCancelled();

signals:
    // The start-up selection has run; what needs the scanners can go on now.
    void becameReady();

private:
    void Post(std::function<void()> work);
    void Drain();

    scan::ScannerComponent component_;
    std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
    bool draining_ = false;
    std::thread discovery_;
    bool ready_ = false;
    bool startupOk_ = false;
    QTimer cancelWatch_;
};

// The main window's scanner; null before the main dialog connected it and after it has gone.
extern CTwainPRO* twainPro;

// The scan session's windows: the activity dialog, the dialog seam and the main dialog.
std::unique_ptr<scan::ScanUi> MakeMainScanUi(QWidget* mainWindow);

// Creates the scanner for the main dialog and starts the start-up source selection.
void ConnectScanner(const document::CommandContext& context);
// Disconnects and deletes the scanner (the main dialog's end).
void DisconnectScanner();

// "SCAN PAGE": sets the scanner up and starts the acquisition (scan::OnScanPage).
void OnScanPage(const document::CommandContext& context);
// The image event of the scanner `sink`: one transferred image becomes a page.
void OnTransferComplete(void* sink, int id, int argument);
// The "scan finished" message of the main dialog.
void OnScanFinished(const document::CommandContext& context);

}  // namespace vellumo::scanning

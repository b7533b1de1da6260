// One acquisition on a reader thread of its own: starts the device, reads image after image
// until the transfer count, the feeder or a cancel ends it, and hands every image and the way the
// run ended to its events. While it runs the thread alone uses the device; it is joined before
// anyone touches the device again.
#pragma once

#include <sane/sane.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "scan/sane/option_access.h"
#include "scan/scanner_component.h"

namespace vellumo::scan::sane {

// What a run is to do, fixed before it starts.
struct AcquisitionPlan {
    int pagesWanted = 1;  // -1: until the feeder is empty
    double dpiX = 0, dpiY = 0;
    int sourceIndex = -1;      // the device's source option
    std::string feederEntry;   // the feeder entry selected for this run; empty: the glass
    std::string flatbedEntry;  // the device's glass entry; empty when it has none
    int pixelType = -1;        // what the images are to be; -1: as delivered
};

// Called on the reader thread.
struct AcquisitionEvents {
    // An image, with the transfers still pending after it (-1: unknown). The run's last image
    // comes after the device has been freed again.
    std::function<void(std::shared_ptr<const std::vector<uint8_t>> dib, int pendingAfter)> image;
    // The run stopped without its last image: cancelled or failed.
    std::function<void(const AcquireEnd& end)> ended;
    Trace trace;
};

class Acquisition {
public:
    ~Acquisition();
    void Start(SaneOptions& options, AcquisitionPlan plan, AcquisitionEvents events);
    // Asks the run to stop; the device is cancelled once its data flows.
    void Cancel() { cancel_ = true; }
    // Cancels and waits for the thread.
    void Stop();
    // Joins a thread whose run is over.
    void JoinIfFinished();
    bool running() const { return running_; }

private:
    void Run(SaneOptions& options, AcquisitionPlan plan, const AcquisitionEvents& events);
    AcquireEnd EndOf(SANE_Status status) const;

    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> running_{false};
};

}  // namespace vellumo::scan::sane

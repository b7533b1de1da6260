#include "scan/sane/acquisition.h"

#include "scan/sane/dib_reduce.h"
#include "scan/sane/frame_reader.h"
#include "scan/sane/option_map.h"
#include "scan/sane/sane_errors.h"

namespace vellumo::scan::sane {

namespace {

// Sets the source option from the reader thread, which owns the device during a run.
SANE_Status SetSource(SaneOptions& options, int index, const std::string& entry,
                      const Trace& trace) {
    const SANE_Option_Descriptor* d = options.Descriptor(index);
    if (!d || d->type != SANE_TYPE_STRING) return SANE_STATUS_UNSUPPORTED;
    const SANE_Status s = options.WriteString(index, entry);
    trace("sane_control_option(" + std::string(d->name) + " = " + entry + ")" + TraceResult(s));
    return s;
}

}  // namespace

Acquisition::~Acquisition() {
    Stop();
}

void Acquisition::Start(SaneOptions& options, AcquisitionPlan plan, AcquisitionEvents events) {
    cancel_ = false;
    running_ = true;
    worker_ = std::thread([this, &options, plan = std::move(plan), events = std::move(events)] {
        Run(options, plan, events);
    });
}

void Acquisition::Stop() {
    if (!worker_.joinable()) return;
    cancel_ = true;
    worker_.join();
}

void Acquisition::JoinIfFinished() {
    if (worker_.joinable() && !running_) worker_.join();
}

AcquireEnd Acquisition::EndOf(SANE_Status status) const {
    AcquireEnd end;
    if (status == SANE_STATUS_CANCELLED || cancel_)
        end.cancelled = true;
    else
        end.error = ScanStopped(status);
    return end;
}

void Acquisition::Run(SaneOptions& options, AcquisitionPlan plan, const AcquisitionEvents& events) {
    if (cancel_) {
        // Cancelled before the device was started: nothing to stop.
        running_ = false;
        events.ended(AcquireEnd{true, std::nullopt});
        return;
    }
    const SANE_Handle handle = options.handle();
    SANE_Status s = KnownStatus(sane_start(handle));
    events.trace("sane_start" + TraceResult(s));
    bool onFlatbedInstead = false;
    if (s == SANE_STATUS_NO_DOCS && !plan.feederEntry.empty() && !plan.flatbedEntry.empty() &&
        saneopt::QuirkEnabled("empty-feeder-uses-flatbed")) {
        if (SetSource(options, plan.sourceIndex, plan.flatbedEntry, events.trace) ==
            SANE_STATUS_GOOD) {
            // Nothing in the feeder: the page lies on the glass, as with most scanners' own
            // drivers.
            onFlatbedInstead = true;
            plan.pagesWanted = 1;
            s = KnownStatus(sane_start(handle));
            events.trace("sane_start" + TraceResult(s));
        }
    }
    int page = 0;
    AcquireEnd end;
    bool ended = false;
    std::shared_ptr<const std::vector<uint8_t>> last;
    int lastPending = 0;
    if (s != SANE_STATUS_GOOD) {
        end = EndOf(s);
        ended = true;
    }
    FrameReader reader(handle, cancel_, events.trace);
    while (!ended) {
        std::vector<uint8_t> dib;
        std::string why;
        const FrameReader::Result r = reader.ReadImage(dib, s, why, plan.dpiX, plan.dpiY);
        if (r == FrameReader::Result::Failed) {
            end = EndOf(s);
            break;
        }
        if (r == FrameReader::Result::BadImage) {
            end.error = ScannerError(kComponentStatus, kErrImageFormat,
                                     "The scanner delivered an image that cannot be used: " + why);
            break;
        }
        const int delivered = DibPixelType(dib);
        if (saneopt::MayReduce(delivered, plan.pixelType)) dib = ReduceDib(dib, plan.pixelType);
        ++page;
        bool more = plan.pagesWanted < 0 || page < plan.pagesWanted;
        if (more && cancel_) {
            end.cancelled = true;
            ended = true;
        } else if (more) {
            s = KnownStatus(sane_start(handle));
            events.trace("sane_start" + TraceResult(s));
            if (s == SANE_STATUS_NO_DOCS) {
                more = false;
            } else if (s != SANE_STATUS_GOOD) {
                end = EndOf(s);
                ended = true;
            }
        }
        const int pendingAfter = ended                  ? -1
                                 : !more                ? 0
                                 : plan.pagesWanted < 0 ? -1
                                                        : plan.pagesWanted - page;
        auto block = std::make_shared<const std::vector<uint8_t>>(std::move(dib));
        if (!more || ended) {
            last = block;
            lastPending = pendingAfter;
            break;
        }
        events.image(block, pendingAfter);
    }
    sane_cancel(handle);
    events.trace("sane_cancel");
    if (onFlatbedInstead) SetSource(options, plan.sourceIndex, plan.feederEntry, events.trace);
    // The device is free before the run's last event goes out, so that whoever handles it may
    // set up and start the next run at once.
    running_ = false;
    if (last) events.image(last, lastPending);
    if (end.cancelled || end.error) events.ended(end);
}

}  // namespace vellumo::scan::sane

#include "scan/sane/sane_errors.h"

namespace vellumo::scan {

ScannerError::ScannerError(int status, int errorCode, std::string errorText)
    : status_(status), errorCode_(errorCode), errorText_(std::move(errorText)) {}

namespace sane {

void ThrowOwn(int code, const std::string& text) {
    throw ScannerError(kComponentStatus, code, text);
}

ScannerError SaneError(SANE_Status status) {
    return ScannerError(static_cast<int>(status), static_cast<int>(status), sane_strstatus(status));
}

void ThrowSane(SANE_Status status) {
    throw SaneError(status);
}

ScannerError ScanStopped(SANE_Status status) {
    // The net back end returns whatever its unread reply held when saned went away: a status
    // SANE does not know means the scanner was lost.
    if (status < SANE_STATUS_GOOD || status > SANE_STATUS_ACCESS_DENIED)
        status = SANE_STATUS_IO_ERROR;
    const char* text = nullptr;
    switch (status) {
        case SANE_STATUS_JAMMED:
            text =
                "The paper is jammed in the document feeder. Clear the jam, then scan the "
                "remaining pages";
            break;
        case SANE_STATUS_NO_DOCS:
            text =
                "The document feeder is empty. Put the pages in the feeder, or switch the "
                "feeder off to scan from the glass";
            break;
        case SANE_STATUS_COVER_OPEN:
            text = "The scanner's cover is open. Close it and scan again";
            break;
        case SANE_STATUS_DEVICE_BUSY:
            text = "The scanner is busy with another job. Try again when it has finished";
            break;
        case SANE_STATUS_IO_ERROR:
            text =
                "The scanner stopped answering in the middle of the scan. Check that it is "
                "switched on and connected, then scan again";
            break;
        case SANE_STATUS_NO_MEM:
            text =
                "The scanner ran out of memory. Scan fewer pages at a time or at a lower "
                "resolution";
            break;
        case SANE_STATUS_ACCESS_DENIED:
            text = "The scanner refused access. Check the permissions for it";
            break;
        default:
            return SaneError(status);
    }
    return ScannerError(static_cast<int>(status), static_cast<int>(status), text);
}

std::string TraceResult(SANE_Status status) {
    return std::string(" = ") + sane_strstatus(status);
}

SANE_Status KnownStatus(int status) {
    return status >= SANE_STATUS_GOOD && status <= SANE_STATUS_ACCESS_DENIED
               ? static_cast<SANE_Status>(status)
               : SANE_STATUS_IO_ERROR;
}

}  // namespace sane

}  // namespace vellumo::scan

#include "cleanup/page_cleanup.h"

#include <cmath>

#include "cleanup/blank_page.h"
#include "cleanup/skew.h"
#include "cleanup/straighten.h"
#include "platform/log.h"

namespace vellumo::cleanup {

namespace {

const char* Reason(AnalysisStatus status) {
    switch (status) {
        case AnalysisStatus::Ok:
            return "";
        case AnalysisStatus::TooSmall:
            return "too small to measure";
        case AnalysisStatus::AllBlack:
            return "all black";
        case AnalysisStatus::Unsupported:
            return "not a 1-, 8- or 24-bit picture";
        case AnalysisStatus::NoMemory:
            return "not enough memory";
    }
    return "";
}

void CheckBlank(const imaging::ImageBuffer& page, int pageNumber, CleanupReport& report) {
    const BlankPageCheck check = CheckBlankPage(page);
    if (check.status != AnalysisStatus::Ok)
        platform::WriteLogF("Page %d not checked for blankness: %s\n", pageNumber,
                            Reason(check.status));
    else if (check.blank)
        platform::WriteLogF("Page %d is blank\n", pageNumber);
    else
        platform::WriteLogF("Page %d is not blank\n", pageNumber);
    report.blank = check.status == AnalysisStatus::Ok && check.blank;
}

void Straighten(imaging::ImageBuffer& page, int pageNumber, CleanupReport& report) {
    const SkewEstimate skew = FindSkew(page);
    if (skew.status != AnalysisStatus::Ok) {
        platform::WriteLogF("Page %d not straightened: %s\n", pageNumber, Reason(skew.status));
        return;
    }
    if (skew.basis == SkewBasis::None) {
        platform::WriteLogF("Page %d not straightened: no text lines or page edges found\n",
                            pageNumber);
        return;
    }
    if (std::fabs(skew.degrees) < kMinStraightenDegrees) {
        platform::WriteLogF("Page %d is straight\n", pageNumber);
        return;
    }
    const double turn = -skew.degrees;
    const int status = StraightenImage(page, turn);
    if (status != imaging::kImgOk) {
        platform::WriteLogF("Page %d not straightened: error %d\n", pageNumber, status);
        report.status = status;
        return;
    }
    report.straightenedBy = turn;
    platform::WriteLogF("Straightened page %d by %.2f degrees\n", pageNumber, turn);
}

void TurnUpright(imaging::ImageBuffer& page, int pageNumber, OrientationDetector* detector,
                 CleanupReport& report) {
    const OrientationEstimate orientation =
        detector ? detector->detect(page) : OrientationEstimate{};
    if (orientation.status != AnalysisStatus::Ok) {
        platform::WriteLogF("Page %d not turned upright: %s\n", pageNumber,
                            Reason(orientation.status));
        return;
    }
    if (!detector || !detector->ready()) {
        platform::WriteLogF("Page %d not turned upright: the orientation data is not installed\n",
                            pageNumber);
        return;
    }
    if (!orientation.found) {
        platform::WriteLogF("Page %d not turned upright: no text found\n", pageNumber);
        return;
    }
    if (orientation.turnDegrees == 0) {
        platform::WriteLogF("Page %d is upright\n", pageNumber);
        return;
    }
    const int status = TurnPage(page, orientation.turnDegrees);
    if (status != imaging::kImgOk) {
        platform::WriteLogF("Page %d not turned upright: error %d\n", pageNumber, status);
        report.status = status;
        return;
    }
    report.turnedBy = orientation.turnDegrees;
    platform::WriteLogF("Turned page %d upright by %d degrees\n", pageNumber,
                        orientation.turnDegrees);
}

}  // namespace

BlankPages BlankPagesFromSetting(int stored) {
    if (stored == 0) return BlankPages::Off;
    if (stored == 2) return BlankPages::Drop;
    return BlankPages::Mark;
}

CleanupReport CleanPage(imaging::ImageBuffer& page, int pageNumber, const CleanupOptions& options,
                        OrientationDetector* detector) {
    CleanupReport report;
    if (options.blankPages != BlankPages::Off) {
        CheckBlank(page, pageNumber, report);
        if (report.blank) return report;
    }
    if (options.straighten) Straighten(page, pageNumber, report);
    if (options.upright) TurnUpright(page, pageNumber, detector, report);
    return report;
}

}  // namespace vellumo::cleanup

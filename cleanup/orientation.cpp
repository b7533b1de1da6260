#include "cleanup/orientation.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>

#include <cmath>

#include "cleanup/tessdata.h"

namespace vellumo::cleanup {

namespace {

// Tesseract reads text best at about 300 dots per inch.
constexpr int kAnalysisDpi = 300;
// Below this orientation confidence the text does not say clearly which way is up.
constexpr double kMinConfidence = 2.0;

}  // namespace

OrientationDetector::OrientationDetector() = default;

OrientationDetector::~OrientationDetector() {
    if (engine_) engine_->End();
}

bool OrientationDetector::ready() {
    if (loadTried_) return loaded_;
    loadTried_ = true;
    const std::string folder = TessdataFolder("osd");
    if (folder.empty()) return false;
    engine_ = std::make_unique<tesseract::TessBaseAPI>();
    // Tesseract's own messages would end up on the terminal of the command line.
    engine_->SetVariable("debug_file", "/dev/null");
    if (engine_->Init(folder.c_str(), "osd", tesseract::OEM_TESSERACT_ONLY) != 0) {
        engine_.reset();
        return false;
    }
    engine_->SetVariable("debug_file", "/dev/null");
    engine_->SetPageSegMode(tesseract::PSM_OSD_ONLY);
    loaded_ = true;
    return true;
}

OrientationEstimate OrientationDetector::detect(const imaging::ImageBuffer& page) {
    OrientationEstimate estimate;
    AnalysisImage analysis;
    estimate.status = MakeAnalysisImage(page, kAnalysisDpi, analysis);
    if (estimate.status != AnalysisStatus::Ok || !ready()) return estimate;
    engine_->SetImage(analysis.grey.get());
    engine_->SetSourceResolution(static_cast<int>(std::lround(analysis.dpi)));
    int degrees = 0;
    float confidence = 0, scriptConfidence = 0;
    const char* script = nullptr;
    const bool detected =
        engine_->DetectOrientationScript(&degrees, &confidence, &script, &scriptConfidence);
    engine_->Clear();
    if (!detected || !std::isfinite(confidence)) return estimate;
    estimate.confidence = confidence;
    if (confidence < kMinConfidence) return estimate;
    // Tesseract names the clockwise turn the page has been given; turning it back is the
    // same angle counter-clockwise.
    estimate.turnDegrees = ((degrees % 360) + 360) % 360;
    estimate.found = true;
    return estimate;
}

int TurnPage(imaging::ImageBuffer& page, int degrees) {
    degrees = ((degrees % 360) + 360) % 360;
    if (degrees % 90 != 0) return imaging::kImgBadArgument;
    if (degrees == 0) return imaging::kImgOk;
    const int bits = imaging::BitsPerPixel(page);
    if (!page.pixels || page.areaRight < page.areaLeft || page.areaBottom < page.areaTop ||
        page.areaRight >= static_cast<uint32_t>(imaging::ImageWidth(page)) ||
        page.areaBottom >= static_cast<uint32_t>(imaging::ImageHeight(page)))
        return imaging::kImgEmpty;
    const bool quarter = degrees != 180;
    const int width = static_cast<int>(imaging::AreaWidth(page));
    const int height = static_cast<int>(imaging::AreaHeight(page));
    imaging::ImageBuffer turned{};
    int status =
        imaging::AllocateImage(turned, quarter ? height : width, quarter ? width : height, bits);
    if (status != imaging::kImgOk) return status;
    status = imaging::RotateImage(degrees, page, turned);
    if (status != imaging::kImgOk) {
        imaging::FreeImage(turned);
        return status;
    }
    turned.imageFlags = page.imageFlags;
    turned.header->biXPelsPerMeter =
        quarter ? page.header->biYPelsPerMeter : page.header->biXPelsPerMeter;
    turned.header->biYPelsPerMeter =
        quarter ? page.header->biXPelsPerMeter : page.header->biYPelsPerMeter;
    imaging::FreeImage(page);
    imaging::CopyImageDescriptor(turned, page);
    return imaging::kImgOk;
}

}  // namespace vellumo::cleanup

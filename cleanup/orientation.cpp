#include "cleanup/orientation.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>

#include <algorithm>
#include <cmath>

#include "cleanup/tessdata.h"
#include "imaging/transform.h"

namespace vellumo::cleanup {

namespace {

// Tesseract reads text best at about 300 dots per inch.
constexpr int kAnalysisDpi = 300;
constexpr double kSmallestDpi = 250;
// Below this orientation confidence the text does not say clearly which way is up.
constexpr double kMinConfidence = 3.0;
// A page needs this many marks of a letter's size before its text can say which way is up:
// a page number, a rule or specks alone cannot.
constexpr int kMinLetters = 15;
constexpr double kSmallestLetterMm = 1.2;  // height
constexpr double kLargestLetterMm = 10.0;  // height and width
constexpr double kMmPerInch = 25.4;

struct BoxaDeleter {
    void operator()(Boxa* b) const { boxaDestroy(&b); }
};

// The marks of a letter's size on the page, away from its border.
int CountLetters(const AnalysisImage& analysis) {
    PixPtr ink = InkMask(analysis);
    PixPtr inner(ink ? pixRemoveBorderConnComps(ink.get(), 8) : nullptr);
    if (!inner) return 0;
    std::unique_ptr<Boxa, BoxaDeleter> boxes(pixConnCompBB(inner.get(), 8));
    if (!boxes) return 0;
    const double perMm = analysis.dpi / kMmPerInch;
    int letters = 0;
    const int n = boxaGetCount(boxes.get());
    for (int i = 0; i < n && letters < kMinLetters; ++i) {
        l_int32 x, y, w, h;
        boxaGetBoxGeometry(boxes.get(), i, &x, &y, &w, &h);
        // Either way round: the page may lie on its side.
        const double tall = std::max(w, h) / perMm, narrow = std::min(w, h) / perMm;
        if (tall >= kSmallestLetterMm && tall <= kLargestLetterMm && narrow <= kLargestLetterMm)
            ++letters;
    }
    return letters;
}

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
    if (CountLetters(analysis) < kMinLetters) return estimate;
    // Small type on pages scanned at low resolution is too small for the detector: such pages
    // are enlarged to about 300 dpi.
    PixPtr enlarged;
    Pix* picture = analysis.grey.get();
    double dpi = analysis.dpi;
    if (dpi < kSmallestDpi) {
        const float factor = static_cast<float>(kAnalysisDpi / dpi);
        enlarged.reset(pixScaleGrayLI(picture, factor, factor));
        if (enlarged) {
            picture = enlarged.get();
            dpi *= factor;
        }
    }
    engine_->SetImage(picture);
    engine_->SetSourceResolution(static_cast<int>(std::lround(dpi)));
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

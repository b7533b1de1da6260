#include "cleanup/blank_page.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <memory>

namespace vellumo::cleanup {

namespace {

constexpr int kAnalysisDpi = 150;
constexpr double kMmPerInch = 25.4;
// Dust and scanner noise: marks whose longer side stays under this.
constexpr double kLargestSpeckMm = 1.2;
// Punch holes: round, filled dark (the backing shows through), this big, this near an edge.
constexpr double kSmallestHoleMm = 4.0;
constexpr double kLargestHoleMm = 9.5;
constexpr double kHoleFromEdgeMm = 25.0;
constexpr double kHoleMinFill = 0.55;  // a disc fills 0.785 of its box
constexpr double kHoleMaxFill = 0.92;
// A feeder's shadow that does not quite reach the edge: a band along an edge, thicker than
// any drawn line and running along a good part of the edge.
constexpr double kShadowBandMm = 10.0;
constexpr double kShadowMinThicknessMm = 1.5;
constexpr double kShadowMinLengthShare = 0.5;
// So many marks that the page is certainly not blank; counting further is pointless.
constexpr int kEnoughMarks = 3;

struct BoxaDeleter {
    void operator()(Boxa* b) const { boxaDestroy(&b); }
};
struct PixaDeleter {
    void operator()(Pixa* p) const { pixaDestroy(&p); }
};

struct Mark {
    int x, y, w, h;  // analysis pixels
    int pixels;
};

class MarkJudge {
public:
    MarkJudge(double dpi, int width, int height)
        : perMm_(dpi / kMmPerInch), width_(width), height_(height) {}

    bool IsSpeck(const Mark& m) const { return std::max(m.w, m.h) < kLargestSpeckMm * perMm_; }

    bool IsPunchHole(const Mark& m) const {
        const double big = std::max(m.w, m.h), small = std::min(m.w, m.h);
        if (small < kSmallestHoleMm * perMm_ || big > kLargestHoleMm * perMm_) return false;
        if (small < 0.8 * big) return false;
        const double fill = static_cast<double>(m.pixels) / (double(m.w) * m.h);
        if (fill < kHoleMinFill || fill > kHoleMaxFill) return false;
        const double cx = m.x + m.w / 2.0, cy = m.y + m.h / 2.0;
        const double nearest = std::min({cx, cy, width_ - cx, height_ - cy});
        return nearest <= kHoleFromEdgeMm * perMm_;
    }

    bool IsEdgeShadow(const Mark& m) const {
        const double band = kShadowBandMm * perMm_, thick = kShadowMinThicknessMm * perMm_;
        const bool alongTop = m.y + m.h <= band, alongBottom = m.y >= height_ - band;
        const bool alongLeft = m.x + m.w <= band, alongRight = m.x >= width_ - band;
        if ((alongTop || alongBottom) && m.h >= thick && m.w >= kShadowMinLengthShare * width_)
            return true;
        return (alongLeft || alongRight) && m.w >= thick && m.h >= kShadowMinLengthShare * height_;
    }

private:
    double perMm_;
    double width_, height_;
};

}  // namespace

BlankPageCheck CheckBlankPage(const imaging::ImageBuffer& page) {
    BlankPageCheck check;
    AnalysisImage analysis;
    check.status = MakeAnalysisImage(page, kAnalysisDpi, analysis);
    if (check.status != AnalysisStatus::Ok) return check;
    PixPtr ink = InkMask(analysis);
    // Whatever dark touches the picture's border is background, a shadow or a hole cut by the
    // edge, never content.
    PixPtr inner(ink ? pixRemoveBorderConnComps(ink.get(), 8) : nullptr);
    if (!inner) {
        check.status = AnalysisStatus::NoMemory;
        return check;
    }
    Pixa* rawPixa = nullptr;
    std::unique_ptr<Boxa, BoxaDeleter> boxes(pixConnComp(inner.get(), &rawPixa, 8));
    std::unique_ptr<Pixa, PixaDeleter> pieces(rawPixa);
    if (!boxes || !pieces) {
        check.status = AnalysisStatus::NoMemory;
        return check;
    }
    const MarkJudge judge(analysis.dpi, pixGetWidth(inner.get()), pixGetHeight(inner.get()));
    const int count = boxaGetCount(boxes.get());
    for (int i = 0; i < count && check.marks < kEnoughMarks; ++i) {
        Mark m{};
        boxaGetBoxGeometry(boxes.get(), i, &m.x, &m.y, &m.w, &m.h);
        if (judge.IsSpeck(m)) continue;
        PixPtr piece(pixaGetPix(pieces.get(), i, L_CLONE));
        l_int32 pixels = 0;
        if (piece) pixCountPixels(piece.get(), &pixels, nullptr);
        m.pixels = pixels;
        if (judge.IsPunchHole(m) || judge.IsEdgeShadow(m)) continue;
        ++check.marks;
    }
    check.blank = check.marks == 0;
    return check;
}

}  // namespace vellumo::cleanup

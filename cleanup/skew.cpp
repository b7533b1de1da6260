#include "cleanup/skew.h"

#include "cleanup/page_edges.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vellumo::cleanup {

namespace {

constexpr int kAnalysisDpi = 150;
// Below this ratio of best to worst score the alignment is not trusted (Leptonica's own
// threshold for deskewing).
constexpr double kMinConfidence = 3.0;
constexpr float kSweepDelta = 1.0f;
constexpr float kSearchDelta = 0.01f;
// An estimate this close to the end of the sweep lies probably beyond it.
constexpr double kEndMargin = 0.25;
// The fine search around Leptonica's answer: this far each way, in steps this fine.
constexpr double kRefineRange = 0.06;
constexpr double kRefineStep = 0.005;
// Columns per band of the fine search (a line drifts by a tenth of a row within one at the
// largest angle it tries), and bands per separately scored group (about 43 mm at 150 dpi,
// narrower than a column of text).
constexpr int kBandWidth = 64;
constexpr int kGroupBands = 4;
// Dust is smaller than this each way; blobs at least this big each way and this full are
// holes or dark pictures.
constexpr double kSmallestMarkMm = 0.5;
constexpr double kSmallestBlobMm = 4.0;
constexpr double kBlobFill = 0.5;
// The Gaussian that moves profiles by fractions of a row: its width in rows, and its taps.
constexpr double kBlur = 0.8;
constexpr int kTaps = 6;

double Radians(double degrees) {
    return degrees * M_PI / 180.0;
}

struct Alignment {
    bool found = false;
    double degrees = 0;
    double confidence = 0;
};

// The angle at which the rows of the 1-bit `pix` line up best, found by Leptonica's sweep and
// search. Leptonica reports the clockwise turn that straightens the picture, which is the
// page's counter-clockwise skew. Its answer is only as fine as a one-pixel shear across the
// picture (about 0.05 degrees on a page at 150 dpi); Refine makes it finer.
Alignment Align(Pix* pix, int sweepReduction) {
    Alignment a;
    if (!pix) return a;
    l_int32 count = 0;
    pixCountPixels(pix, &count, nullptr);
    if (count == 0) return a;
    l_float32 angle = 0, conf = 0, endscore = 0;
    if (pixFindSkewSweepAndSearchScorePivot(pix, &angle, &conf, &endscore, sweepReduction, 1, 0.0f,
                                            static_cast<l_float32>(kMaxSkewDegrees), kSweepDelta,
                                            kSearchDelta, L_SHEAR_ABOUT_CORNER) != 0)
        return a;
    if (!std::isfinite(angle) || std::fabs(angle) > kMaxSkewDegrees - kEndMargin) return a;
    a.degrees = angle;
    a.confidence = conf;
    a.found = conf >= kMinConfidence;
    return a;
}

// The grey picture's darkness summed along each row of vertical bands, after shearing every
// column by Leptonica's estimate. What is left to find is a small angle near zero: shifting
// each band's profile by its distance from the middle times tan(angle), by fractions of a row,
// lines the picture up at any such angle without moving a pixel; so the alignment score is a
// smooth function of the angle and its peak can be found to a small fraction of a pixel's
// shear. The score adds up groups of neighbouring bands separately: the lines of different
// columns of text lie at unrelated heights, and scoring them together would pull the angle
// towards one that happens to line the columns up with each other.
class BandProfiles {
public:
    // grey: the analysis picture; skip (may be null): 1-bit mask of pixels that do not count;
    // paper: the paper's grey; estimate: the skew found so far, in degrees.
    BandProfiles(Pix* grey, Pix* skip, int paper, double estimate)
        : width_(pixGetWidth(grey)), height_(pixGetHeight(grey)) {
        bands_ = (width_ + kBandWidth - 1) / kBandWidth;
        profiles_.assign(static_cast<size_t>(bands_) * height_, 0.0f);
        // Each column moves by the estimate's shear exactly, its darkness shared between the
        // two rows it falls between, so the fine search sees no staircase.
        const double slope = std::tan(Radians(estimate));
        const double middle = width_ / 2.0;
        std::vector<int> whole(static_cast<size_t>(width_));
        std::vector<float> fraction(static_cast<size_t>(width_));
        for (int x = 0; x < width_; ++x) {
            const double shift = (x - middle) * slope;
            whole[static_cast<size_t>(x)] = static_cast<int>(std::floor(shift));
            fraction[static_cast<size_t>(x)] = static_cast<float>(shift - std::floor(shift));
        }
        const l_uint32* greyData = pixGetData(grey);
        const int greyWpl = pixGetWpl(grey);
        const l_uint32* skipData = skip ? pixGetData(skip) : nullptr;
        const int skipWpl = skip ? pixGetWpl(skip) : 0;
        for (int y = 0; y < height_; ++y) {
            const l_uint32* greyLine = greyData + static_cast<size_t>(y) * greyWpl;
            const l_uint32* skipLine =
                skipData ? skipData + static_cast<size_t>(y) * skipWpl : nullptr;
            for (int x = 0; x < width_; ++x) {
                const int darkness = paper - static_cast<int>(GET_DATA_BYTE(greyLine, x));
                if (darkness <= 0 || (skipLine && GET_DATA_BIT(skipLine, x))) continue;
                // A line rising by the estimate lands on one row of the profile.
                const int row = y + whole[static_cast<size_t>(x)];
                if (row < 0 || row + 1 >= height_) continue;
                const float f = fraction[static_cast<size_t>(x)];
                float* band = &profiles_[static_cast<size_t>(x / kBandWidth) * height_];
                band[row] += static_cast<float>(darkness) * (1 - f);
                band[row + 1] += static_cast<float>(darkness) * f;
            }
        }
    }

    // The sum of squared differences between neighbouring rows, lined up at `degrees`. Each
    // band's profile is moved by a fraction of a row through a small Gaussian rather than a
    // linear interpolation: that blurs every shift alike, where a linear one would blur
    // fractional shifts more than whole ones and so favour the angles that shift by whole rows.
    double Score(double residual) const {
        std::vector<double> rows(static_cast<size_t>(height_), 0.0);
        double sum = 0;
        auto flush = [&] {
            for (int y = 1; y < height_; ++y) {
                const double d = rows[static_cast<size_t>(y)] - rows[static_cast<size_t>(y - 1)];
                sum += d * d;
            }
            std::fill(rows.begin(), rows.end(), 0.0);
        };
        const double slope = std::tan(Radians(residual));
        const double middle = width_ / 2.0;
        for (int k = 0; k < bands_; ++k) {
            const double centre =
                k * kBandWidth + std::min(kBandWidth, width_ - k * kBandWidth) / 2.0;
            // A line through row y at the middle passes this band at row y + shift.
            const double shift = -(centre - middle) * slope;
            const int whole = static_cast<int>(std::floor(shift));
            double weights[kTaps];
            double total = 0;
            for (int t = 0; t < kTaps; ++t) {
                const double d = (whole + t - kTaps / 2 + 1) - shift;
                weights[t] = std::exp(-d * d / (2 * kBlur * kBlur));
                total += weights[t];
            }
            for (double& w : weights) w /= total;
            const float* band = &profiles_[static_cast<size_t>(k) * height_];
            const int first = whole - kTaps / 2 + 1;  // offset of tap 0
            const int from = std::clamp(-first, 0, height_),
                      to = std::clamp(height_ - first - kTaps + 1, from, height_);
            // Beyond the picture's top and bottom a band goes on as its first and last rows
            // do, so that moving it makes no step there (a dark background reaches the edge).
            auto clamped = [&](int y) {
                double v = 0;
                for (int t = 0; t < kTaps; ++t)
                    v += weights[t] * band[std::clamp(y + first + t, 0, height_ - 1)];
                rows[static_cast<size_t>(y)] += v;
            };
            for (int y = 0; y < from; ++y) clamped(y);
            for (int y = from; y < to; ++y) {
                const float* in = band + y + first;
                double v = 0;
                for (int t = 0; t < kTaps; ++t) v += weights[t] * in[t];
                rows[static_cast<size_t>(y)] += v;
            }
            for (int y = to; y < height_; ++y) clamped(y);
            if ((k + 1) % kGroupBands == 0) flush();
        }
        flush();
        return sum;
    }

private:
    int width_, height_, bands_ = 0;
    std::vector<float> profiles_;  // band by band, one value per row
};

// The peak of the smooth score near Leptonica's answer: the best of the fine steps, then the
// vertex of the parabola through it and its neighbours.
double Refine(Pix* grey, Pix* skip, int paper, double estimate) {
    const BandProfiles profiles(grey, skip, paper, estimate);
    const int steps = static_cast<int>(std::lround(kRefineRange / kRefineStep));
    std::vector<double> scores;
    for (int k = -steps; k <= steps; ++k) scores.push_back(profiles.Score(k * kRefineStep));
    const int best =
        static_cast<int>(std::max_element(scores.begin(), scores.end()) - scores.begin());
    double offset = best - steps;
    if (best > 0 && best + 1 < static_cast<int>(scores.size())) {
        const double left = scores[static_cast<size_t>(best - 1)];
        const double centre = scores[static_cast<size_t>(best)];
        const double right = scores[static_cast<size_t>(best + 1)];
        const double curvature = left - 2 * centre + right;
        if (curvature < 0) offset += 0.5 * (left - right) / curvature;
    }
    return estimate + offset * kRefineStep;
}

// The marks that can make lines: the ink less the background, less dust (marks smaller than
// kSmallestMarkMm each way) and less large filled blobs (punch holes, dark pictures), which
// line up with nothing.
Pix* TextLike(Pix* ink, Pix* background, double dpi) {
    const int perMm = std::max(1, static_cast<int>(std::lround(dpi / 25.4)));
    PixPtr inner(pixSubtract(nullptr, ink, background));
    if (!inner) return nullptr;
    const int speck = std::max(2, static_cast<int>(std::lround(kSmallestMarkMm * perMm)));
    l_int32 changed = 0;
    PixPtr marks(pixSelectBySize(inner.get(), speck, speck, 8, L_SELECT_IF_EITHER, L_SELECT_IF_GTE,
                                 &changed));
    if (!marks) return nullptr;
    const int blob = static_cast<int>(std::lround(kSmallestBlobMm * perMm));
    PixPtr big(
        pixSelectBySize(marks.get(), blob, blob, 8, L_SELECT_IF_BOTH, L_SELECT_IF_GTE, &changed));
    if (!big) return nullptr;
    l_int32 none = 0;
    pixZero(big.get(), &none);
    if (none) return marks.release();
    PixPtr filled(pixSelectByAreaFraction(big.get(), kBlobFill, 8, L_SELECT_IF_GTE, &changed));
    if (!filled) return nullptr;
    return pixSubtract(nullptr, marks.get(), filled.get());
}

}  // namespace

SkewEstimate FindSkew(const imaging::ImageBuffer& page) {
    SkewEstimate estimate;
    AnalysisImage analysis;
    estimate.status = MakeAnalysisImage(page, kAnalysisDpi, analysis);
    if (estimate.status != AnalysisStatus::Ok) return estimate;
    PixPtr ink = InkMask(analysis);
    // Dark regions that touch the picture's border are scanner background (or a feeder's
    // shadow); their inner edges are the sheet's edges, and they must not count as text.
    PixPtr background(ink ? pixExtractBorderConnComps(ink.get(), 8) : nullptr);
    PixPtr text(background ? TextLike(ink.get(), background.get(), analysis.dpi) : nullptr);
    if (!text) {
        estimate.status = AnalysisStatus::NoMemory;
        return estimate;
    }
    // The sweep runs at half the copy's resolution, the search at the full one; small copies
    // are swept at full resolution.
    const int sweepReduction = analysis.dpi >= 100 ? 2 : 1;
    const int paper = analysis.paperLevel;

    // Text lines across the page, then down it (a page lying on its side); then the sheet's
    // edges.
    const Alignment across = Align(text.get(), sweepReduction);
    if (across.found) {
        estimate.basis = SkewBasis::TextLines;
        estimate.degrees = Refine(analysis.grey.get(), background.get(), paper, across.degrees);
        estimate.confidence = across.confidence;
        return estimate;
    }
    PixPtr turnedText(pixRotate90(text.get(), 1));
    const Alignment down = Align(turnedText.get(), sweepReduction);
    if (down.found) {
        PixPtr turnedGrey(pixRotate90(analysis.grey.get(), 1));
        PixPtr turnedBackground(pixRotate90(background.get(), 1));
        estimate.basis = SkewBasis::TextLines;
        estimate.degrees =
            turnedGrey && turnedBackground
                ? Refine(turnedGrey.get(), turnedBackground.get(), paper, down.degrees)
                : down.degrees;
        estimate.confidence = down.confidence;
        return estimate;
    }
    estimate.confidence = std::max(across.confidence, down.confidence);
    const EdgeSkew edges = FindEdgeSkew(background.get());
    if (edges.found) {
        estimate.basis = SkewBasis::PageEdges;
        estimate.degrees = edges.degrees;
    }
    return estimate;
}

}  // namespace vellumo::cleanup

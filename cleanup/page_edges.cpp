#include "cleanup/page_edges.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vellumo::cleanup {

namespace {

// A side's border is measured no deeper than this share of the picture: deeper dark is not a
// sliver of background beside a skewed sheet.
constexpr double kDeepestShare = 0.2;
// A side counts when its line rests on this share of its length; two sides must agree.
constexpr double kMinShare = 0.05;
constexpr int kMinPoints = 20;
// Points this far from the fitted line are dropped and the line fitted again.
constexpr double kOutlierRows = 2.0;
constexpr double kMaxRms = 1.5;
// Sides agree when their angles are this close.
constexpr double kAgreeDegrees = 0.25;
// Groups closer to 0 than this are straight.
constexpr double kStraightDegrees = 0.2;
// The most a border's depth changes from one column to the next along an edge.
constexpr int kLargestStep = 2;

struct Point {
    double t, depth;  // position along the side, depth of the dark border there
};

struct SideFit {
    bool ok = false;
    double degrees = 0;
    int points = 0;
    int length = 0;
};

// Least squares line depth = a + m t, twice more without the points far from it.
bool FitLine(std::vector<Point> points, double& slope, double& rms, int& used) {
    for (int round = 0; round < 3; ++round) {
        if (static_cast<int>(points.size()) < kMinPoints) return false;
        double st = 0, sd = 0, stt = 0, std_ = 0;
        for (const Point& p : points) {
            st += p.t;
            sd += p.depth;
            stt += p.t * p.t;
            std_ += p.t * p.depth;
        }
        const double n = static_cast<double>(points.size());
        const double det = n * stt - st * st;
        if (det <= 0) return false;
        slope = (n * std_ - st * sd) / det;
        const double a = (sd - slope * st) / n;
        double squares = 0;
        std::vector<Point> kept;
        for (const Point& p : points) {
            const double r = p.depth - (a + slope * p.t);
            squares += r * r;
            if (std::fabs(r) <= kOutlierRows) kept.push_back(p);
        }
        rms = std::sqrt(squares / n);
        used = static_cast<int>(points.size());
        if (kept.size() == points.size()) break;
        points = std::move(kept);
    }
    return rms <= kMaxRms;
}

// Depth of the border along one side. `along` and `across` are the side's length and the
// picture's extent away from it; at(t, d) says whether the pixel d deep at t is background.
template <typename At>
SideFit MeasureSide(int along, int across, int sign, At at) {
    SideFit fit;
    fit.length = along;
    const int deepest = static_cast<int>(across * kDeepestShare);
    // The border along a skewed sheet's edge deepens or thins by about a row per column at
    // most; where the next side's border begins, it jumps. The longest smooth stretch is the
    // edge.
    std::vector<Point> points, run;
    int lastT = -2, lastDepth = 0;
    for (int t = 0; t < along; ++t) {
        int d = 0;
        while (d <= deepest && at(t, d)) ++d;
        if (d == 0 || d > deepest) continue;
        if (t != lastT + 1 || std::abs(d - lastDepth) > kLargestStep) {
            if (run.size() > points.size()) points.swap(run);
            run.clear();
        }
        run.push_back({static_cast<double>(t), static_cast<double>(d)});
        lastT = t;
        lastDepth = d;
    }
    if (run.size() > points.size()) points.swap(run);
    if (static_cast<int>(points.size()) < std::max(kMinPoints, static_cast<int>(kMinShare * along)))
        return fit;
    double slope = 0, rms = 0;
    if (!FitLine(std::move(points), slope, rms, fit.points)) return fit;
    fit.ok = true;
    fit.degrees = std::atan(sign * slope) * 180.0 / M_PI;
    return fit;
}

}  // namespace

EdgeSkew FindEdgeSkew(Pix* background) {
    EdgeSkew result;
    if (!background || pixGetDepth(background) != 1) return result;
    const int w = pixGetWidth(background), h = pixGetHeight(background);
    const l_uint32* data = pixGetData(background);
    const int wpl = pixGetWpl(background);
    auto bit = [&](int x, int y) {
        return GET_DATA_BIT(data + static_cast<size_t>(y) * wpl, x) != 0;
    };
    // A sheet turned counter-clockwise rises to the right: its top border thins and its bottom
    // border thickens from left to right, its left border thickens and its right border thins
    // going down.
    const SideFit sides[] = {
        MeasureSide(w, h, -1, [&](int x, int d) { return bit(x, d); }),
        MeasureSide(w, h, 1, [&](int x, int d) { return bit(x, h - 1 - d); }),
        MeasureSide(h, w, 1, [&](int y, int d) { return bit(d, y); }),
        MeasureSide(h, w, -1, [&](int y, int d) { return bit(w - 1 - d, y); }),
    };
    // The largest group of agreeing sides, by the points it rests on. A feeder's shadows lie
    // along the picture's sides and make a group at 0 degrees; two sides that agree on a turn
    // are the sheet's own edges, so a turned group wins over a straight one.
    double bestWeight = 0;
    bool bestTurned = false;
    for (const SideFit& s : sides) {
        if (!s.ok) continue;
        double weight = 0, sum = 0;
        int members = 0;
        for (const SideFit& o : sides) {
            if (!o.ok || std::fabs(o.degrees - s.degrees) > kAgreeDegrees) continue;
            weight += o.points;
            sum += o.points * o.degrees;
            ++members;
        }
        if (members < 2) continue;
        const bool turned = std::fabs(sum / weight) >= kStraightDegrees;
        if (turned != bestTurned ? turned : weight > bestWeight) {
            bestWeight = weight;
            bestTurned = turned;
            result.found = true;
            result.degrees = sum / weight;
            result.support = static_cast<int>(weight);
        }
    }
    return result;
}

}  // namespace vellumo::cleanup

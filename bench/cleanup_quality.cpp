// The page clean-up's quality figures over whole sets of pages rendered from text with realistic
// scan defects (the clean-up tests' renderer): residual skew after straightening at 150 and
// 300 dpi in 1, 8 and 24 bits for angles across +-10 degrees, straight pages left alone, the
// share of text pages turned upright from each side, pages without text never turned, the
// share of blank scans found and of pages with a single mark taken for blank, and the
// interleaving of a ten-page two-sided scan.
//
//   cleanup_quality [--pages N]     N pages per set (default 25; the skew set uses 27 angles)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "cleanup/blank_page.h"
#include "cleanup/orientation.h"
#include "cleanup/page_order.h"
#include "cleanup/skew.h"
#include "cleanup/straighten.h"
#include "tests/cleanup/test_pages.h"

namespace {

using namespace vellumo::cleanup;
using namespace vellumo::imaging;
using testpages::Content;
using testpages::PagePlan;

std::string g_dir;

struct Rendered {
    ImageBuffer image{};
    explicit Rendered(const PagePlan& plan) {
        std::string error;
        if (!testpages::RenderPage(plan, g_dir, image, &error)) throw std::runtime_error(error);
    }
    ~Rendered() { FreeImage(image); }
};

// Scan defects that vary from page to page.
void Defects(PagePlan& plan, int i) {
    plan.specks = 10 * (i % 5);
    plan.showThrough = i % 2 == 0;
    plan.punchHoles = i % 3 == 0;
    plan.feederShadow = i % 4 == 1;
    plan.darkBackground = i % 5 == 2;
}

int SkewFigures(int pages) {
    std::printf("Straighten: residual skew |measured - true| (degrees), text pages\n");
    std::printf("  %-18s %5s %9s %9s %12s %9s\n", "page", "pages", "max", "mean", "straight max",
                "touched");
    int failures = 0, seed = 0;
    for (int dpi : {150, 300}) {
        for (int bits : {1, 8, 24}) {
            double worst = 0, sum = 0, straightWorst = 0;
            int n = 0, touched = 0;
            for (int i = 0; i < pages + 2; ++i) {
                PagePlan plan;
                plan.dpi = dpi;
                plan.bits = bits;
                plan.seed = 5000 + ++seed;
                Defects(plan, i);
                // Angles spread evenly across the range (a golden-ratio walk), its two ends,
                // some tiny ones, and every third page straight.
                const bool straight = i % 3 == 2;
                const double spread = i * 0.6180339887 - std::floor(i * 0.6180339887);
                plan.skewDegrees = straight     ? 0
                                   : i == 0     ? -10
                                   : i == 1     ? 10
                                   : i % 7 == 3 ? (i % 2 ? 1 : -1) * 0.01 * (i % 13 + 1)
                                                : -10 + 20 * spread;
                Rendered page(plan);
                const SkewEstimate skew = FindSkew(page.image);
                if (straight) {
                    straightWorst = std::max(straightWorst, std::fabs(skew.degrees));
                    if (std::fabs(skew.degrees) >= kMinStraightenDegrees) ++touched;
                    continue;
                }
                const double residual = skew.basis == SkewBasis::None
                                            ? std::fabs(plan.skewDegrees)
                                            : std::fabs(skew.degrees - plan.skewDegrees);
                worst = std::max(worst, residual);
                sum += residual;
                ++n;
            }
            char label[32];
            std::snprintf(label, sizeof label, "%d dpi, %d bits", dpi, bits);
            std::printf("  %-18s %5d %9.3f %9.3f %12.3f %9d\n", label, n, worst, n ? sum / n : 0,
                        straightWorst, touched);
            if (worst > 0.1 || touched) ++failures;
        }
    }
    return failures;
}

int UprightFigures(int pages) {
    OrientationDetector detector;
    if (!detector.ready()) {
        std::printf("Upright: tesseract-ocr-osd is not installed\n");
        return 1;
    }
    std::printf("Upright: text pages turned the right way, by the side they lay on\n");
    int failures = 0;
    for (int side = 0; side < 4; ++side) {
        int right = 0;
        for (int i = 0; i < pages; ++i) {
            PagePlan plan;
            plan.dpi = i % 2 ? 150 : 300;
            plan.bits = i % 3 == 0 ? 1 : i % 3 == 1 ? 8 : 24;
            plan.quarterTurns = side;
            plan.skewDegrees = (i % 5 - 2) * 0.4;
            plan.seed = 6000 + 100 * side + i;
            Defects(plan, i);
            Rendered page(plan);
            const OrientationEstimate o = detector.detect(page.image);
            if (o.found && o.turnDegrees == (360 - 90 * side) % 360) ++right;
        }
        std::printf("  lying at %3d degrees: %3d of %3d (%.1f %%)\n", side * 90, right, pages,
                    100.0 * right / pages);
        if (right < 0.98 * pages) ++failures;
    }
    int turned = 0, total = 0;
    for (Content content : {Content::Blank, Content::Signature, Content::PageNumber, Content::Rule,
                            Content::Picture}) {
        for (int i = 0; i < pages / 5 + 1; ++i, ++total) {
            PagePlan plan;
            plan.content = content;
            plan.dpi = i % 2 ? 150 : 300;
            plan.bits = i % 3 == 0 ? 1 : i % 3 == 1 ? 8 : 24;
            plan.quarterTurns = 1 + i % 3;
            plan.seed = 7000 + 50 * static_cast<int>(content) + i;
            Defects(plan, i);
            Rendered page(plan);
            if (detector.detect(page.image).found) ++turned;
        }
    }
    std::printf("  pages without text turned: %d of %d\n", turned, total);
    return failures + (turned ? 1 : 0);
}

int BlankFigures(int pages) {
    std::printf("Blank pages\n");
    int found = 0;
    for (int i = 0; i < pages; ++i) {
        PagePlan plan;
        plan.content = Content::Blank;
        plan.dpi = i % 2 ? 150 : 300;
        plan.bits = i % 3 == 0 ? 1 : i % 3 == 1 ? 8 : 24;
        plan.skewDegrees = (i % 7 - 3) * 0.9;
        plan.seed = 8000 + i;
        plan.specks = 20 + 5 * (i % 8);
        plan.punchHoles = i % 4 != 1;
        plan.showThrough = i % 4 != 2;
        plan.feederShadow = i % 4 != 3;
        plan.darkBackground = i % 6 == 5;
        Rendered page(plan);
        if (CheckBlankPage(page.image).blank) ++found;
    }
    std::printf("  blank scans (specks, holes, show-through, shadows) marked: %d of %d (%.1f %%)\n",
                found, pages, 100.0 * found / pages);
    int failures = found < 0.95 * pages ? 1 : 0;
    const struct {
        Content content;
        const char* name;
    } marks[] = {{Content::Signature, "a signature"},
                 {Content::PageNumber, "a page number"},
                 {Content::OneLine, "one line of text"},
                 {Content::Rule, "one drawn line"}};
    for (const auto& m : marks) {
        int blank = 0;
        for (int i = 0; i < pages; ++i) {
            PagePlan plan;
            plan.content = m.content;
            plan.dpi = i % 2 ? 150 : 300;
            plan.bits = i % 3 == 0 ? 1 : i % 3 == 1 ? 8 : 24;
            plan.skewDegrees = (i % 7 - 3) * 0.9;
            plan.seed = 9000 + 100 * static_cast<int>(m.content) + i;
            plan.specks = 20 + 5 * (i % 8);
            plan.punchHoles = i % 4 != 1;
            plan.showThrough = i % 4 != 2;
            plan.feederShadow = i % 4 != 3;
            plan.darkBackground = i % 6 == 5;
            Rendered page(plan);
            if (CheckBlankPage(page.image).blank) ++blank;
        }
        std::printf("  pages with only %s marked blank: %d of %d\n", m.name, blank, pages);
        if (blank) ++failures;
    }
    return failures;
}

int InterleaveFigures() {
    const std::vector<int> frontsThenBacks = {1, 3, 5, 7, 9, 2, 4, 6, 8, 10};
    const std::vector<int> backsReversed = {1, 3, 5, 7, 9, 10, 8, 6, 4, 2};
    const std::vector<int> inOrder = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const bool a = Reordered(frontsThenBacks, PageOrder::Interleave) == inOrder;
    const bool b = Reordered(backsReversed, PageOrder::InterleaveBacksReversed) == inOrder;
    std::printf("Interleave: ten-page scan in order: %s; backs reversed: %s\n", a ? "yes" : "NO",
                b ? "yes" : "NO");
    return (a ? 0 : 1) + (b ? 0 : 1);
}

}  // namespace

int main(int argc, char** argv) {
    int pages = 25;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pages") == 0 && i + 1 < argc) {
            pages = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "Usage: cleanup_quality [--pages N]\n");
            return 2;
        }
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/cleanup-quality-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    g_dir = pattern;
    int failures = 0;
    try {
        failures += SkewFigures(pages);
        failures += UprightFigures(pages);
        failures += BlankFigures(pages);
        failures += InterleaveFigures();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cleanup_quality: %s\n", e.what());
        failures = -1;
    }
    std::string rm = "rm -rf '" + g_dir + "'";
    if (std::system(rm.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", g_dir.c_str());
    std::printf("%s\n", failures == 0 ? "Every target met." : "Some targets missed.");
    return failures == 0 ? 0 : 1;
}

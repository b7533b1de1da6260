// The page viewer's opening time on an A4 page at 300 dpi: from the start of the program
// (before the application object exists) to the first picture of the page on the screen, and
// to the full page being ready for zooming. Run under the display to measure
// (QT_QPA_PLATFORM=offscreen or xvfb-run). The yardstick, measured in the same run: decoding the
// same page in full, which is what a viewer without a reduced first picture waits for.
//   viewer_bench [PAGE...]     (default: one JPEG and one LZW TIFF page it writes itself)
#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "imaging/codecs.h"
#include "imaging/imaging.h"
#include "pdf/page_import.h"
#include "viewer/viewer_window.h"

using namespace vellumo;
using namespace vellumo::imaging;

namespace {

// Notes when the canvas has painted a page.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            auto* canvas = static_cast<viewer::PageCanvas*>(watched);
            if (canvas->hasPage()) painted = true;
        }
        return false;
    }
};

// Processor time of the whole process so far (all threads), in milliseconds.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void MakePage(const std::string& jpeg, const std::string& tiff) {
    ScopedImage page;
    AllocateImage(page.image, 2480, 3508, 24);
    page.image.imageFlags &= ~kImageFlagGrey;
    SetImageDpi(page.image, 300, 300);
    uint32_t seed = 99;
    for (int y = 0; y < 3508; ++y) {
        uint8_t* row = RowPointer(page.image, static_cast<uint32_t>(y));
        for (int x = 0; x < 2480 * 3; ++x) {
            seed = seed * 1103515245u + 12345u;
            const bool ink = (y / 40) % 2 == 0 && y % 40 > 8 && ((seed >> 12) & 7) == 0;
            row[x] = static_cast<uint8_t>(ink ? 40 : 236 + ((seed >> 16) & 7));
        }
    }
    SetJpegDensity(300, 300, 1);
    SaveJpeg(jpeg.c_str(), page.image, 75);
    SaveTiff(tiff.c_str(), page.image, 1);
}

}  // namespace

int main(int argc, char** argv) {
    const auto programStart = std::chrono::steady_clock::now();
    std::vector<std::string> pages;
    for (int i = 1; i < argc; ++i) pages.push_back(argv[i]);
    char dir[] = "/tmp/vellumo-viewer-bench-XXXXXX";
    const bool own = pages.empty();
    if (own) {
        if (!mkdtemp(dir)) return 1;
        pages = {std::string(dir) + "/a4.jpg", std::string(dir) + "/a4.tif"};
        MakePage(pages[0], pages[1]);
    }
    const double setup =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - programStart)
            .count();
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    for (const std::string& page : pages) {
        for (int run = 0; run < 5; ++run) {
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = CpuMs();
            auto* app = QApplication::instance() ? nullptr : new QApplication(qtArgc, qtArgv);
            (void)app;
            PaintWatch watch;
            double shown = 0, full = 0, shownCpu = 0;
            {
                viewer::ViewerWindow window({{page, 0}}, 0);
                window.canvas()->installEventFilter(&watch);
                window.show();
                // Waiting blocks (no busy loop), so the loader thread has the processor.
                while (!watch.painted) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
                shown = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                                  start)
                            .count();
                shownCpu = CpuMs() - cpuStart;
                while (!window.fullPageLoaded())
                    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
                full = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                                 start)
                           .count();
            }
            const auto yardStart = std::chrono::steady_clock::now();
            ScopedImage decoded;
            std::string reason;
            pdf::LoadPage({page, 0}, "", decoded.image, reason);
            const double yard = std::chrono::duration<double, std::milli>(
                                    std::chrono::steady_clock::now() - yardStart)
                                    .count();
            std::printf(
                "%-8s run %d: first picture %6.1f ms (cpu %6.1f ms), full page %6.1f ms; full "
                "decode alone %6.1f ms%s\n",
                page.substr(page.rfind('/') + 1).c_str(), run + 1, shown, shownCpu, full, yard,
                run == 0 ? "  (includes creating the application)" : "");
        }
    }
    std::printf("(writing the test pages took %.0f ms before the runs)\n", setup);
    if (own) std::system((std::string("rm -rf '") + dir + "'").c_str());
    return 0;
}

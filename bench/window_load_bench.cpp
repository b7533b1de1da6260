// "LOAD PAGE" of 50 A4 pages scanned at 300 dpi as JPEG, through the window's own path: the page
// list filled from worker threads, thumbnails at the screen's scale. The yardstick, measured in
// the same run on the same files, is the window's earlier way: each file decoded in full on the
// GUI thread, then reduced to its thumbnail. Wall-clock time, processor time of all threads, and
// the growth of the peak resident size (pages, thumbnails and the list included).
//   window_load_bench [--rounds N]      (QT_QPA_PLATFORM=offscreen unless set)
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "document/command_context.h"
#include "document/page_document.h"
#include "editing/load_page.h"
#include "imaging/codecs.h"
#include "imaging/imaging.h"
#include "mainwnd/page_view.h"
#include "platform/scripted_dialogs.h"
#include "scan_like_page.h"

using namespace vellumo;
using namespace vellumo::imaging;

namespace {

constexpr int kPages = 50;

long StatusKb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
    return -1;
}

void ResetPeak() {
    const int fd = open("/proc/self/clear_refs", O_WRONLY);
    if (fd >= 0) {
        if (write(fd, "5", 1) != 1) std::perror("clear_refs");
        close(fd);
    }
}

// Pages come from disk the first time a user loads them.
void DropFileCache(const QStringList& files) {
    for (const QString& f : files) {
        const int fd = open(QFile::encodeName(f).constData(), O_RDONLY);
        if (fd < 0) continue;
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        close(fd);
    }
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

struct Figure {
    double seconds = 0, cpuSeconds = 0, extraMb = 0;
    size_t pages = 0;
};

// One load into a fresh document shown in a page list.
Figure Measure(const QStringList& files,
               const std::function<void(const document::CommandContext&)>& load) {
    document::PageDocument document;
    document::MainSettings settings;
    QWidget window;
    mainwnd::CPageView view(&window);
    window.resize(900, 700);
    view.resize(300, 600);
    window.show();
    mainwnd::ConnectPageView(document, &view, nullptr);
    QCoreApplication::processEvents();
    DropFileCache(files);
    ResetPeak();
    const long before = StatusKb("VmRSS:");
    const double cpu = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    load(document::CommandContext{&window, nullptr, &document, &settings});
    QCoreApplication::processEvents();  // the list painted with every page
    Figure f;
    f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    f.cpuSeconds = CpuSeconds() - cpu;
    f.extraMb = (StatusKb("VmHWM:") - before) / 1024.0;
    f.pages = document.pages.size();
    document.views = {};
    return f;
}

// The window's earlier way: full decode and reduction of each file on the GUI thread.
void LoadOneByOne(const document::CommandContext& context, const QStringList& files) {
    document::PageDocument& document = *context.document;
    for (const QString& file : files) {
        if (editing::LoadImageFile(document.workingImage, file, context.window) != 0) continue;
        document.MakeThumbnail(document.workingImage);
        document.AppendPage(QFile::encodeName(file).toStdString(), 0);
        FreeImage(document.workingImage);
    }
    document.PostPageCount();
    document.RebuildPageView();
}

void Report(const char* what, const Figure& f) {
    std::printf("%-34s %6.3f s  cpu %6.3f s  %+6.1f MB  (%zu pages)\n", what, f.seconds,
                f.cpuSeconds, f.extraMb, f.pages);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rounds = 3;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
    platform::ScriptedDialogs quiet;  // a failure would be a box nobody answers

    char dirTemplate[] = "/tmp/vellumo-window-load-XXXXXX";
    if (!mkdtemp(dirTemplate)) return 1;
    const std::string dir = dirTemplate;
    std::printf("Writing %d A4 pages at 300 dpi as JPEG (quality 75)...\n", kPages);
    QStringList files;
    for (int i = 0; i < kPages; ++i) {
        ScopedImage page;
        bench::MakeScanLikePage(page.image, 1000u + static_cast<uint32_t>(i));
        SetJpegDensity(300, 300, 1);
        const std::string path = dir + "/page" + std::to_string(i) + ".jpg";
        if (SaveJpeg(path.c_str(), page.image, 75) != 0) return 1;
        files << QString::fromStdString(path);
    }
    // Warm up the program's own code paths once (not the files: their cache is dropped).
    Measure(files.mid(0, 2), [&](const auto& c) { editing::LoadPageFiles(c, files.mid(0, 2)); });

    for (int r = 0; r < rounds; ++r) {
        const Figure yard = Measure(files, [&](const auto& c) { LoadOneByOne(c, files); });
        const Figure ours =
            Measure(files, [&](const auto& c) { editing::LoadPageFiles(c, files); });
        Report("yardstick: one by one, full decode", yard);
        Report("LOAD PAGE", ours);
        std::printf("  -> %.1f x faster, cpu %.2f x\n\n", yard.seconds / ours.seconds,
                    ours.cpuSeconds / yard.cpuSeconds);
    }
    std::system(("rm -rf '" + dir + "'").c_str());
    return 0;
}

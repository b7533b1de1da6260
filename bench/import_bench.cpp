// Bringing pages in at the speed of the disk: thumbnails and page facts of 50 A4 pages scanned
// at 300 dpi as JPEG, and of a 100-page PDF, against the yardstick of decoding every page in
// full and reducing it (what a loader without DCT scaling does), measured in the same run.
// Time is wall-clock; memory is the growth of the process's peak resident size while loading.
//   import_bench [--threads N]
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "imaging/codecs.h"
#include "imaging/image_pages.h"
#include "imaging/imaging.h"
#include "pdf/document_cache.h"
#include "pdf/page_import.h"
#include "pdf/pagemint.h"
#include "scan_like_page.h"

using namespace vellumo;
using namespace vellumo::imaging;
using namespace vellumo::pdf;

namespace {

constexpr int kWidth = vellumo::bench::kScanLikeWidth;
constexpr int kThumb = 260;

char workDir[] = "/tmp/vellumo-import-bench-XXXXXX";

long StatusKb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
    return -1;
}

// Resets the peak resident size to the current one (Linux 4.0 and later).
void ResetPeak() {
    const int fd = open("/proc/self/clear_refs", O_WRONLY);
    if (fd >= 0) {
        if (write(fd, "5", 1) != 1) std::perror("clear_refs");
        close(fd);
    }
}

void DropFileCache(const std::vector<std::string>& files) {
    // Pages come from disk the first time a user loads them; take them out of the cache.
    for (const std::string& f : files) {
        const int fd = open(f.c_str(), O_RDONLY);
        if (fd < 0) continue;
        fdatasync(fd);
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        close(fd);
    }
}

struct Figure {
    double seconds;     // wall clock
    double cpuSeconds;  // processor time of all threads: what an idle machine needs
    double extraMb;
};

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

// Runs load(i) for every page on `threads` workers; wall time and peak memory growth.
Figure Measure(int pages, int threads, const std::function<bool(int)>& load) {
    ResetPeak();
    const long before = StatusKb("VmRSS:");
    std::atomic<int> next{0};
    std::atomic<int> failures{0};
    const double cpuStart = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&] {
            for (int i; (i = next++) < pages;)
                if (!load(i)) ++failures;
        });
    for (std::thread& w : workers) w.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = ProcessCpuSeconds() - cpuStart;
    const long peak = StatusKb("VmHWM:");
    if (failures) std::fprintf(stderr, "%d pages failed\n", failures.load());
    return {seconds, cpu, (peak - before) / 1024.0};
}

void Report(const char* what, const Figure& f, const Figure& yardstick) {
    std::printf(
        "%-42s %6.3f s (cpu %6.3f s) %6.1f MB | yardstick %6.3f s (cpu %6.3f s) %6.1f MB"
        " | cpu %.2f x\n",
        what, f.seconds, f.cpuSeconds, f.extraMb, yardstick.seconds, yardstick.cpuSeconds,
        yardstick.extraMb, f.cpuSeconds / yardstick.cpuSeconds);
}

}  // namespace

int main(int argc, char** argv) {
    int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--threads") == 0) threads = std::max(1, std::atoi(argv[i + 1]));
    if (!mkdtemp(workDir)) return 1;
    const std::string dir = workDir;

    std::printf("Writing 50 A4 pages at 300 dpi as JPEG (quality 75)...\n");
    std::vector<std::string> jpegs;
    for (int i = 0; i < 50; ++i) {
        ScopedImage page;
        vellumo::bench::MakeScanLikePage(page.image, 1000u + static_cast<uint32_t>(i));
        SetJpegDensity(300, 300, 1);
        jpegs.push_back(dir + "/page" + std::to_string(i) + ".jpg");
        if (SaveJpeg(jpegs.back().c_str(), page.image, 75) != 0) return 1;
    }
    long long jpegBytes = 0;
    for (const std::string& j : jpegs) {
        std::ifstream in(j, std::ios::binary | std::ios::ate);
        jpegBytes += static_cast<long long>(in.tellg());
    }
    std::printf("JPEG pages of %.2f MB on average.\n", jpegBytes / 50.0 / 1048576.0);
    const std::string pdf = dir + "/hundred.pdf";
    PGMT_Reset();
    for (int i = 0; i < 100; ++i) PGMT_AddImage(jpegs[static_cast<size_t>(i % 50)].c_str());
    char error[256] = {};
    if (PGMT_MakePDF(pdf.c_str(), kPgmtModeReplace, error, sizeof error) != 0) {
        std::fprintf(stderr, "cannot write the PDF: %s\n", error);
        return 1;
    }

    auto thumbnail = [](const imaging::PageRef& page) {
        ScopedImage thumb;
        imaging::PageFacts facts;
        std::string reason;
        return pdf::LoadReducedPage(page, "", kThumb, kThumb, thumb.image, facts, reason) ==
                   pdf::ImportStatus::Ok &&
               facts.width == kWidth;
    };
    auto fullThenReduce = [](const imaging::PageRef& page) {
        ScopedImage full, thumb;
        std::string reason;
        return pdf::LoadPage(page, "", full.image, reason) == pdf::ImportStatus::Ok &&
               imaging::ReduceToFit(full.image, kThumb, kThumb, thumb.image) == 0;
    };

    std::printf("%d worker threads (the window loads on every core).\n\n", threads);
    for (int t : {1, threads}) {
        DropFileCache(jpegs);
        const Figure yard = Measure(50, t, [&](int i) { return fullThenReduce({jpegs[i], 0}); });
        DropFileCache(jpegs);
        const Figure ours = Measure(50, t, [&](int i) { return thumbnail({jpegs[i], 0}); });
        const std::string what = "50 A4 JPEGs, thumbnail + facts, " + std::to_string(t) + " thr";
        Report(what.c_str(), ours, yard);
    }

    for (int t : {1, threads}) {
        DropFileCache({pdf});
        pdf::ForgetCachedDocuments();
        const Figure yard = Measure(1, 1, [&](int) {
            std::vector<imaging::PageRef> pages;
            std::string reason;
            if (pdf::ListPages(pdf, "", pages, reason) != pdf::ImportStatus::Ok) return false;
            std::atomic<int> next{0};
            std::vector<std::thread> workers;
            bool ok = true;
            for (int k = 0; k < t; ++k)
                workers.emplace_back([&] {
                    for (int i; (i = next++) < static_cast<int>(pages.size());)
                        if (!fullThenReduce(pages[static_cast<size_t>(i)])) ok = false;
                });
            for (std::thread& w : workers) w.join();
            return ok && pages.size() == 100;
        });
        DropFileCache({pdf});
        pdf::ForgetCachedDocuments();
        const Figure ours = Measure(1, 1, [&](int) {
            std::vector<imaging::PageRef> pages;
            std::string reason;
            if (pdf::ListPages(pdf, "", pages, reason) != pdf::ImportStatus::Ok) return false;
            std::atomic<int> next{0};
            std::vector<std::thread> workers;
            bool ok = true;
            for (int k = 0; k < t; ++k)
                workers.emplace_back([&] {
                    for (int i; (i = next++) < static_cast<int>(pages.size());)
                        if (!thumbnail(pages[static_cast<size_t>(i)])) ok = false;
                });
            for (std::thread& w : workers) w.join();
            return ok && pages.size() == 100;
        });
        const std::string what = "100-page PDF, list + thumbnails, " + std::to_string(t) + " thr";
        Report(what.c_str(), ours, yard);
    }
    std::system(("rm -rf '" + dir + "'").c_str());
    return 0;
}

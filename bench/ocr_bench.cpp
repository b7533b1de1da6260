// Text recognition and searchable PDFs, with their yardsticks in the same run:
// - one page recognised by our engine against the `tesseract IMAGE out pdf` command on the same
//   image and language (each iteration runs both, so the ratio holds on a busy machine);
// - four pages through the recognition queue on one worker and on two;
// - twenty already recognised pages saved with their text layers and without;
// - the text layer's bytes per page over the pages of the quality tests.
// The pages are set from known text by Ghostscript, as in the tests.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/codecs.h"
#include "imaging/convert.h"
#include "ocr/engine.h"
#include "ocr/recognition_queue.h"
#include "pdf/pdf_builder.h"
#include "pdf/text_layer.h"
#include "support/text_pages.h"

using namespace vellumo;
using Clock = std::chrono::steady_clock;

namespace {

std::string folder;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// CPU time of the calling thread, which the disk's moods do not move.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

// An A4 page of 220 words at 300 dpi in one of the tests' faces.
const std::string& Page(int i) {
    static std::vector<std::string> pages;
    static const char* fonts[] = {"NimbusRoman-Regular", "NimbusSans-Regular", "C059-Roman",
                                  "P052-Roman"};
    while (static_cast<int>(pages.size()) <= i) {
        const int n = static_cast<int>(pages.size());
        testsupport::TextPagePlan plan;
        plan.font = fonts[n % 4];
        plan.firstWord = 50 * n;
        testsupport::TextPage page;
        std::string error;
        const std::string path = folder + "/page" + std::to_string(n) + ".png";
        if (!testsupport::RenderTextPage(plan, path, page, error)) {
            std::fprintf(stderr, "cannot render a page: %s\n", error.c_str());
            std::exit(1);
        }
        pages.push_back(path);
    }
    return pages[static_cast<size_t>(i)];
}

double TesseractCommand(const std::string& image, const char* environment) {
    const auto started = Clock::now();
    const std::string command = std::string(environment) + " tesseract '" + image + "' '" + folder +
                                "/yardstick' -l eng pdf >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return -1;
    return Seconds(started);
}

// Our engine (loaded once, as the program's workers keep theirs) against the command, which
// loads its data, reads the image, recognises and writes a PDF. The command runs alone on its
// core (OMP_THREAD_LIMIT=1, as the program runs its engines) or with Tesseract's own threads.
void RecognitionAgainstTesseract(benchmark::State& state) {
    const bool ownThreads = state.range(0) == 1;
    const std::string& image = Page(0);
    ocr::Engine engine;
    if (engine.load("eng").status != ocr::RecognitionStatus::Ok) {
        state.SkipWithError("no English data");
        return;
    }
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        auto started = Clock::now();
        const ocr::RecognitionResult r = engine.recognise(image);
        const double o = Seconds(started);
        if (r.status != ocr::RecognitionStatus::Ok) {
            state.SkipWithError("recognition failed");
            return;
        }
        const double t = TesseractCommand(image, ownThreads ? "" : "OMP_THREAD_LIMIT=1");
        if (t < 0) {
            state.SkipWithError("the tesseract command failed");
            return;
        }
        state.SetIterationTime(o);
        ours += o;
        theirs += t;
    }
    state.counters["tesseract_s"] = theirs / state.iterations();
    state.counters["x_tesseract"] = ours / theirs;
}
BENCHMARK(RecognitionAgainstTesseract)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("tesseract_threads")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

double RecogniseWithQueue(int workers, int pages) {
    ocr::RecognitionQueue queue([](ocr::PageId, const ocr::RecognitionResult&) {}, workers);
    // Engines load with the first page on each worker: load them before timing, as a running
    // program has.
    std::vector<ocr::PageId> warm;
    for (int w = 0; w < workers; ++w) {
        queue.submit(1000 + w, Page(0), "eng");
        warm.push_back(1000 + w);
    }
    queue.waitFor(warm, nullptr);
    const auto started = Clock::now();
    std::vector<ocr::PageId> ids;
    for (int i = 0; i < pages; ++i) {
        queue.submit(i, Page(i % 4), "eng");
        ids.push_back(i);
    }
    queue.waitFor(ids, nullptr);
    return Seconds(started);
}

// The speed-up the machine gives two processes at once: two tesseract commands side by side
// against one after the other. On a machine shared with other work this is the ceiling.
double MachineSpeedup() {
    const std::string one = "OMP_THREAD_LIMIT=1 tesseract '" + Page(1) + "' '" + folder +
                            "/m1' -l eng txt >/dev/null 2>&1";
    const std::string two = "OMP_THREAD_LIMIT=1 tesseract '" + Page(2) + "' '" + folder +
                            "/m2' -l eng txt >/dev/null 2>&1";
    auto started = Clock::now();
    if (std::system((one + "; " + two).c_str()) != 0) return 0;
    const double serial = Seconds(started);
    started = Clock::now();
    if (std::system(("(" + one + ") & (" + two + "); wait").c_str()) != 0) return 0;
    return serial / Seconds(started);
}

// Throughput of two workers against one, four pages each way in every iteration, and what the
// machine gives two tesseract processes in the same iteration.
void QueueTwoWorkersAgainstOne(benchmark::State& state) {
    double one = 0, two = 0, machine = 0;
    for (auto _ : state) {
        const double a = RecogniseWithQueue(1, 4);
        const double b = RecogniseWithQueue(2, 4);
        machine += MachineSpeedup();
        state.SetIterationTime(b);
        one += a;
        two += b;
    }
    state.counters["one_worker_s"] = one / state.iterations();
    state.counters["speedup"] = one / two;
    state.counters["machine_speedup"] = machine / state.iterations();
}
BENCHMARK(QueueTwoWorkersAgainstOne)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// A page as the scanner's transfer writes it in the default black-and-white mode: a 1-bit LZW
// TIFF page file (the PDF writer encodes it as G4).
std::string ScannedPage(int i) {
    const std::string path = folder + "/scan" + std::to_string(i) + ".tif";
    if (access(path.c_str(), R_OK) == 0) return path;
    imaging::ImageBuffer grey{}, bilevel{};
    imaging::ReadImageFile(Page(i).c_str(), grey);
    imaging::AllocateImage(bilevel, imaging::ImageWidth(grey), imaging::ImageHeight(grey), 1);
    imaging::ThresholdImage(128, grey, bilevel);
    imaging::SetImageDpi(bilevel, 300, 300);
    imaging::SaveTiff(path.c_str(), bilevel, 1);
    imaging::FreeImage(grey);
    imaging::FreeImage(bilevel);
    return path;
}

// Saving twenty pages whose text is ready, against saving them without text: grey PNG pages
// that go into the PDF as they are (the least work a page can cost, so the text counts most),
// and black-and-white page files as scanned.
void SaveTwentyRecognisedPages(benchmark::State& state) {
    const bool scanned = state.range(0) == 1;
    std::vector<std::string> files;
    std::vector<std::shared_ptr<const ocr::PageText>> texts;
    ocr::Engine engine;
    engine.load("eng");
    // The program prepares each page's text layer when the page is recognised, in the
    // background, as vellumo-cli does.
    for (int i = 0; i < 4; ++i) {
        texts.push_back(engine.recognise(scanned ? ScannedPage(i) : Page(i)).text);
        pdf::PrepareTextLayer(texts.back());
    }
    std::vector<std::shared_ptr<const ocr::PageText>> pageTexts;
    for (int i = 0; i < 20; ++i) {
        files.push_back(scanned ? ScannedPage(i % 4) : Page(i % 4));
        pageTexts.push_back(texts[static_cast<size_t>(i % 4)]);
    }
    const std::string out = folder + "/twenty.pdf";
    double with = 0, without = 0, withCpu = 0, withoutCpu = 0;
    int iteration = 0;
    for (auto _ : state) {
        pdf::PdfBuildOptions plain;
        plain.compress = false;
        pdf::PdfBuildOptions searchable = plain;
        searchable.pageTexts = pageTexts;
        double thisOne = 0;
        // Alternating which goes first keeps the page cache and the disk fair to both.
        for (int order = 0; order < 2; ++order) {
            const bool text = (order == 0) == (iteration % 2 == 0);
            const double cpu = ThreadSeconds();
            const auto started = Clock::now();
            if (!pdf::BuildPdf(files, out, text ? searchable : plain, nullptr).written()) {
                state.SkipWithError("the PDF was not written");
                return;
            }
            const double took = Seconds(started);
            (text ? with : without) += took;
            (text ? withCpu : withoutCpu) += ThreadSeconds() - cpu;
            if (text) thisOne = took;
        }
        state.SetIterationTime(thisOne);
        ++iteration;
    }
    state.counters["without_text_s"] = without / state.iterations();
    state.counters["x_without_text"] = with / without;
    state.counters["cpu_x_without_text"] = withCpu / withoutCpu;
}
BENCHMARK(SaveTwentyRecognisedPages)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("scanned")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// The bytes the text layer adds to a page, over the pages of the quality tests: alone in a PDF
// (the font included) and within one document of all of them (the font shared).
void TextLayerBytesPerPage(benchmark::State& state) {
    struct Kind {
        const char* language;
        const char* font;
        double points;
        int dpi;
        int columns;
        double skew;
        bool noisy;
        int bits;
        int firstWord;
    };
    const Kind kinds[] = {
        {"eng", "NimbusRoman-Regular", 11, 300, 1, 0, false, 8, 0},
        {"eng", "NimbusSans-Regular", 10, 300, 2, 0, false, 8, 40},
        {"eng", "NimbusMonoPS-Regular", 12, 200, 1, 0, false, 8, 90},
        {"eng", "P052-Roman", 12, 150, 1, 0, false, 8, 150},
        {"eng", "C059-Roman", 11, 300, 1, 0, true, 8, 200},
        {"eng", "NimbusRoman-Regular", 12, 200, 1, 1.5, false, 8, 250},
        {"eng", "NimbusSans-Regular", 14, 300, 1, 0, false, 1, 300},
        {"eng", "NimbusRoman-Regular", 10, 200, 2, 0, false, 24, 120},
        {"deu", "NimbusSans-Regular", 11, 300, 1, 0, false, 8, 0},
        {"deu", "NimbusRoman-Regular", 11, 200, 2, 0, true, 8, 100},
        {"deu", "URWBookman-Light", 11, 300, 1, -0.7, false, 8, 220},
    };
    std::vector<std::string> files;
    std::vector<std::shared_ptr<const ocr::PageText>> texts;
    for (const Kind& k : kinds) {
        testsupport::TextPagePlan plan;
        plan.language = k.language;
        plan.font = k.font;
        plan.pointSize = k.points;
        plan.dpi = k.dpi;
        plan.columns = k.columns;
        plan.skewDegrees = k.skew;
        plan.noisy = k.noisy;
        plan.bitsPerPixel = k.bits;
        plan.firstWord = k.firstWord;
        testsupport::TextPage page;
        std::string error;
        const std::string path =
            folder + "/kind" + std::to_string(files.size()) + (k.bits == 1 ? ".tif" : ".png");
        if (!testsupport::RenderTextPage(plan, path, page, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        ocr::Engine engine;
        engine.load(k.language);
        files.push_back(path);
        texts.push_back(engine.recognise(path).text);
    }
    auto size = [](const std::string& path) {
        FILE* f = std::fopen(path.c_str(), "rb");
        std::fseek(f, 0, SEEK_END);
        const long n = std::ftell(f);
        std::fclose(f);
        return n;
    };
    std::vector<long> alone;
    long together = 0;
    for (auto _ : state) {
        alone.clear();
        pdf::PdfBuildOptions plain;
        plain.compress = false;
        for (size_t i = 0; i < files.size(); ++i) {
            pdf::BuildPdf({files[i]}, folder + "/a.pdf", plain, nullptr);
            pdf::PdfBuildOptions searchable = plain;
            searchable.pageTexts = {texts[i]};
            pdf::BuildPdf({files[i]}, folder + "/b.pdf", searchable, nullptr);
            alone.push_back(size(folder + "/b.pdf") - size(folder + "/a.pdf"));
        }
        pdf::BuildPdf(files, folder + "/a.pdf", plain, nullptr);
        pdf::PdfBuildOptions searchable = plain;
        searchable.pageTexts = texts;
        pdf::BuildPdf(files, folder + "/b.pdf", searchable, nullptr);
        together = size(folder + "/b.pdf") - size(folder + "/a.pdf");
    }
    std::sort(alone.begin(), alone.end());
    state.counters["median_alone_bytes"] = static_cast<double>(alone[alone.size() / 2]);
    state.counters["largest_alone_bytes"] = static_cast<double>(alone.back());
    state.counters["per_page_in_document_bytes"] =
        static_cast<double>(together) / static_cast<double>(files.size());
}
BENCHMARK(TextLayerBytesPerPage)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    // TMPDIR=/dev/shm takes the disk's flush times, which other work on the machine makes
    // vary, out of the saving figures.
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/vellumo-ocr-bench-XXXXXX";
    if (!mkdtemp(dir.data())) return 1;
    folder = dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::system(("rm -rf '" + folder + "'").c_str());
    return 0;
}

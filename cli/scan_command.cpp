// vellumo-cli scan: one scan through the scanner component, every image through the same
// transfer steps as the windows (no preview), then one PDF of the pages.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "cli/cleanup_options.h"
#include "cli/commands.h"
#include "cli/ocr_pages.h"
#include "cli/option_parser.h"
#include "cli/progress.h"
#include "pdf/pdf_builder.h"
#include "platform/signal_cleanup.h"
#include "platform/temp_file.h"
#include "scan/page_transfer.h"
#include "scan/scan_session.h"
#include "scan/scanner_component.h"
#include "scan/source_selection.h"

#ifdef VELLUMO_CLI_SETTINGS
#include "platform/settings_store.h"
#endif

namespace vellumo::cli {

using namespace vellumo::imaging;

using namespace vellumo::platform;
using namespace vellumo::pdf;
using namespace vellumo::scan;

namespace {

// Set by Ctrl+C while the scan runs: the Cancel button of the command line.
volatile std::sig_atomic_t interrupted = 0;

int Usage(const char* problem) {
    std::fprintf(stderr,
                 "vellumo-cli scan: %s\nUsage: vellumo-cli scan [--device NAME] "
                 "[--mode bw|grey|colour] [--resolution DPI] [--feeder] [--compress QUALITY] "
                 "%s [--ocr[=LANGS]|--no-ocr] -o OUT.pdf\n",
                 problem, vellumo::cli::kCleanupOptionsUsage);
    return 2;
}

enum : int {
    kOutput = 'o',
    kDevice = kFirstLongOnlyOption,
    kMode,
    kResolution,
    kFeeder,
    kCompress,
};

constexpr char kModeProblem[] = "--mode needs bw, grey or colour";
constexpr char kResolutionProblem[] = "--resolution needs dots per inch";
constexpr char kQualityProblem[] = "the quality must be a number from 1 to 100";

const std::vector<CommandOption> kScanOptions = {
    {kOutput, "output", 'o', OptionValue::Required, "-o needs a file name"},
    {kDevice, "device", 0, OptionValue::Required, "--device needs a name"},
    {kMode, "mode", 0, OptionValue::Required, kModeProblem},
    {kResolution, "resolution", 0, OptionValue::Required, kResolutionProblem},
    {kFeeder, "feeder", 0, OptionValue::None},
    {kCompress, "compress", 0, OptionValue::Required, kQualityProblem},
};

bool AllDigits(const char* text) {
    if (!*text) return false;
    for (const char* p = text; *p; ++p)
        if (*p < '0' || *p > '9') return false;
    return true;
}

// The terminal is the scan's window: messages go to standard error, and so do the status
// lines when it is a terminal; Ctrl+C is the Cancel button.
class CliScanUi : public ScanUi {
public:
    explicit CliScanUi(bool progress) : progress_(progress) {}
    bool finished = false;
    void MessageBox(const std::string& text, MessageIcon) override {
        std::fprintf(stderr, "vellumo-cli: %s\n", text.c_str());
    }
    void Beep() override {}
    void ShowWaitCursor() override {}
    void SetActivityText(const std::string& text) override {
        if (progress_ && text != lastText_) std::fprintf(stderr, "%s\n", text.c_str());
        lastText_ = text;
    }
    void ShowActivity() override {}
    void HideActivity() override {}
    void ShowCancelButton(bool) override {}
    void EnableMainWindow(bool) override {}
    void PumpMessages() override {
        if (interrupted) cancelRequested = 1;
    }
    // The command line knows no printer: the frame is Letter, which the log says.
    std::optional<PrinterInfo> DefaultPrinter() override { return std::nullopt; }
    void PostScanFinished() override { finished = true; }

private:
    bool progress_;
    std::string lastText_;
};

std::string StoredText(const char* name) {
#ifdef VELLUMO_CLI_SETTINGS
    return SettingsStore::readText(name, QString()).toStdString();
#else
    (void)name;
    return {};
#endif
}

int StoredInt(const char* name) {
#ifdef VELLUMO_CLI_SETTINGS
    return SettingsStore::readInt(name, 0);
#else
    (void)name;
    return 0;
#endif
}

// Chooses the source: by product or SANE device name, else a SANE device name not listed by
// discovery; without a name the stored "CurrentDevice", else the first source. False (with a
// message) when there is no such scanner.
bool ChooseDevice(ScannerComponent& c, const std::string& wanted) {
    const int n = c.SourceCount();
    const std::string name = wanted.empty() ? StoredText("CurrentDevice") : wanted;
    if (!name.empty()) {
        for (int i = 0; i < n; ++i) {
            if (c.SourceDeviceName(i) == name || SameSource(c.SourceName(i), name)) {
                c.CurrentSource(i);
                return true;
            }
        }
        if (!wanted.empty()) {
            if (wanted.find(':') != std::string::npos) {
                c.CurrentSource(c.AddSource(wanted));
                return true;
            }
            std::fprintf(stderr, "vellumo-cli: no scanner named '%s'\n", wanted.c_str());
            return false;
        }
    }
    if (n == 0) {
        std::fprintf(stderr, "vellumo-cli: no scanner was found\n");
        return false;
    }
    c.CurrentSource(0);
    return true;
}

// The image under work, freed whichever way the command ends.
struct OwnedImage {
    imaging::ImageBuffer image{};
    OwnedImage() = default;
    OwnedImage(const OwnedImage&) = delete;
    OwnedImage& operator=(const OwnedImage&) = delete;
    ~OwnedImage() { FreeImage(image); }
};

void RemoveFiles(const std::vector<std::string>& files) {
    for (const std::string& f : files) std::remove(f.c_str());
}

void PrintScanHelp() {
    std::printf(
        "Usage: vellumo-cli scan [--device NAME] [--mode bw|grey|colour] [--resolution DPI]\n"
        "                        [--feeder] [--compress QUALITY] %s\n"
        "                        [--ocr[=LANGS]|--no-ocr]\n"
        "                        -o OUT.pdf\n\n"
        "Scans pages and writes them as one PDF.\n"
        "  --device NAME       the scanner: its name as listed, or a SANE device name\n"
        "                      (default: the one chosen in Vellumo, else the first found)\n"
        "  --mode MODE         bw, grey (default) or colour\n"
        "  --resolution DPI    dots per inch (default: Vellumo's setting for the mode)\n"
        "  --feeder            take every sheet from the document feeder\n"
        "  --compress QUALITY  recompress grey and colour pages as JPEG, quality 1 to 100\n"
        "%s%s"
        "  -o OUT.pdf          the PDF to write\n\n"
        "Without the clean-up options, every page is cleaned as Vellumo's settings say\n"
        "(straightened, turned upright and blank pages reported, unless switched off there).\n"
        "Pages are recognised while the next ones are scanned. Ctrl+C cancels the scan.\n"
        "Exit status: 0 when the PDF is written with every page, 1 when it is not, the scanner\n"
        "stopped the scan early (the pages scanned before are still written) or --ocr was given\n"
        "and the text could not be recognised, 2 for wrong usage.\n",
        vellumo::cli::kCleanupOptionsUsage, vellumo::cli::CleanupOptionsHelp(22).c_str(), kOcrHelp);
}

}  // namespace

int RunScanCommand(int argc, char** argv) {
    std::string output, device, resolution;
    int mode = 1;
    bool feeder = false;
    PdfBuildOptions options;
    options.compress = false;
    vellumo::cli::CleanupChoice cleanup = vellumo::cli::StoredCleanupChoice();
    OcrRequest ocrRequest;
    const ParsedCommandLine parsed = ParseCommandLine(
        argc, argv, JoinOptions(JoinOptions(kScanOptions, CleanupOptionTable()), OcrOptionTable()),
        [&](int id, const char* value) -> std::string {
            std::string problem;
            switch (id) {
                case kOutput:
                    output = value;
                    break;
                case kDevice:
                    device = value;
                    break;
                case kMode:
                    if (std::strcmp(value, "bw") == 0)
                        mode = 0;
                    else if (std::strcmp(value, "grey") == 0 || std::strcmp(value, "gray") == 0)
                        mode = 1;
                    else if (std::strcmp(value, "colour") == 0 || std::strcmp(value, "color") == 0)
                        mode = 2;
                    else
                        return kModeProblem;
                    break;
                case kResolution:
                    if (!AllDigits(value) || std::strlen(value) > 5) return kResolutionProblem;
                    resolution = value;
                    break;
                case kFeeder:
                    feeder = true;
                    break;
                case kCompress:
                    if (!AllDigits(value)) return kQualityProblem;
                    options.compress = true;
                    options.compressionPercent = value;
                    break;
                default:
                    if (!TakeCleanupOption(id, value, cleanup, problem))
                        TakeOcrOption(id, value, ocrRequest, problem);
            }
            return problem;
        },
        "argument");
    if (parsed.outcome == ParseOutcome::Help) {
        PrintScanHelp();
        return 0;
    }
    if (parsed.outcome == ParseOutcome::Wrong) return Usage(parsed.problem.c_str());
    // A scan reads no files.
    if (!parsed.operands.empty())
        return Usage(("unknown argument " + parsed.operands.front()).c_str());
    if (output.empty()) return Usage("no output file (-o OUT.pdf)");
    // Every sheet of a feeder would be scanned for nothing if the PDF could not be written.
    if (!CheckOutputPath(output)) return 1;
    if (const std::string problem = TempFolderProblem(); !problem.empty()) {
        std::fprintf(stderr, "vellumo-cli: %s\n", problem.c_str());
        return 1;
    }

    const bool progress = ProgressOnTerminal();
    ScannerComponent c;
    CliScanUi ui(progress);
    try {
        c.OpenSourceManager();
        if (!ChooseDevice(c, device)) return 1;
    } catch (const ScannerError& e) {
        std::fprintf(stderr, "vellumo-cli: %s\n", ComponentErrorText(e).c_str());
        return 1;
    }

    ScanSettings settings;
    settings.scanMode = mode;
    settings.noFeeder = feeder ? 0 : 1;
    settings.getText = [&resolution](const std::string& name, const std::string& defaultValue) {
        if (!resolution.empty()) return resolution;
        const std::string stored = StoredText(name.c_str());
        return stored.empty() ? defaultValue : stored;
    };
    const TransferSettings transfer =
        MakeTransferSettings(StoredInt("Invert"), StoredInt("AutoCrop"));

    std::vector<std::string> pages;
    // The page files go when a signal ends the command before the PDF is written.
    std::vector<vellumo::platform::RemoveOnSignal> pageCleanup;
    OwnedImage working;
    imaging::ImageBuffer& workingImage = working.image;
    int failures = 0, droppedPages = 0;
    vellumo::cli::PageCleaner cleaner(cleanup);
    cleaner.warnWhenUprightMissing();
    PageRecogniser recogniser(ocrRequest, progress);
    c.SetEventCallback(kEventImageTransferred, [&](void*, int, int) {
        TransferHooks hooks;
        hooks.showMessage = [](const std::string& text) {
            std::fprintf(stderr, "vellumo-cli: %s\n", text.c_str());
        };
        // The page file goes on a signal from the moment it has a name, before it is written.
        hooks.makePagePath = [&pageCleanup] {
            FileChangeGuard registered;
            std::string path = MakeScanPagePath();
            if (!path.empty()) pageCleanup.emplace_back(path);
            return path;
        };
        // The clean-up runs after the transfer's invert and auto-crop, where the windows show
        // the preview; a blank page the user chose to drop goes no further.
        const int pageNumber = static_cast<int>(pages.size()) + 1;
        bool dropped = false;
        if (cleaner.active()) {
            hooks.keep = [&](imaging::ImageBuffer& image) {
                dropped = !cleaner.clean(image, pageNumber, std::string());
                return !dropped;
            };
        }
        const TransferResult r =
            ProcessScannedImage(c.ImageHandle().get(), workingImage, pageNumber, transfer, hooks);
        if (r.outcome == TransferOutcome::Kept) {
            pages.push_back(r.path);
            recogniser.add(r.path);
            if (progress) std::fprintf(stderr, "Page %zu scanned\n", pages.size());
        } else if (dropped) {
            ++droppedPages;
        } else {
            ++failures;
        }
        if (c.PendingTransfers() == 0) ui.finished = true;
    });
    bool stoppedEarly = false;
    c.SetAcquireEndCallback([&](const AcquireEnd& end) {
        stoppedEarly = end.error.has_value();
        OnAcquireEnded(end, ui);
    });

    std::optional<InterruptAsCancel> cancelOnInterrupt;
    cancelOnInterrupt.emplace(interrupted);
    const bool started = OnScanPage(c, ui, settings);
    bool cancelSent = false;
    while (started && !ui.finished) {
        c.WaitForEvents(200);
        if (interrupted && !cancelSent) {
            cancelSent = true;
            c.CancelAcquire();
        }
    }
    if (started) FinishScan(c, ui);
    cancelOnInterrupt.reset();
    if (!started || interrupted) {
        RemoveFiles(pages);
        if (interrupted) std::fprintf(stderr, "vellumo-cli: the scan was cancelled\n");
        return 1;
    }
    if (pages.empty()) {
        std::fprintf(stderr, droppedPages > 0 && failures == 0
                                 ? "vellumo-cli: every page was blank; no PDF was written\n"
                                 : "vellumo-cli: no page was scanned\n");
        return 1;
    }

    options.pageTexts = recogniser.finish();
    CliPdfListener listener(progress);
    const PdfBuildResult result = BuildPdf(pages, output, options, &listener);
    if (!result.written()) {
        // The sheets are scanned; the pages stay for the user to rescue.
        for (auto& remover : pageCleanup) remover.release();
        std::fprintf(stderr, "vellumo-cli: the PDF could not be written (%d)\n", result.code);
        std::fprintf(stderr, "vellumo-cli: the scanned pages are kept in:\n");
        for (const std::string& page : pages) std::fprintf(stderr, "  %s\n", page.c_str());
        return 1;
    }
    RemoveFiles(pages);
    if (progress || stoppedEarly)
        std::fprintf(stderr, "%s%zu page%s written to %s\n",
                     stoppedEarly ? "vellumo-cli: the scan stopped early; the " : "", pages.size(),
                     pages.size() == 1 ? "" : "s", output.c_str());
    return failures == 0 && !stoppedEarly && !recogniser.failed() ? 0 : 1;
}

}  // namespace vellumo::cli

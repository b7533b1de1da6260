#include "cli/cleanup_options.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cleanup/tessdata.h"
#include "imaging/codecs.h"
#include "pdf/page_import.h"
#include "platform/log.h"
#include "platform/settings_table.h"
#include "scan/page_transfer.h"

#ifdef VELLUMO_CLI_SETTINGS
#include "platform/settings_store.h"
#endif

namespace vellumo::cli {

namespace {

constexpr int kTiffLzw = 1;
constexpr int kTiffGroup4 = 4;

// The codes of the options in a command's table.
enum : int {
    kDeskew = kFirstLongOnlyOption + 100,
    kNoDeskew,
    kUpright,
    kNoUpright,
    kBlank,
};
constexpr char kBlankProblem[] = "--blank needs mark, drop or off";

int Stored(const platform::IntSetting& s) {
#ifdef VELLUMO_CLI_SETTINGS
    return platform::SettingsStore::read(s);
#else
    return s.defaultValue;
#endif
}

bool ParseBlank(const char* value, cleanup::BlankPages& blank) {
    if (std::strcmp(value, "mark") == 0)
        blank = cleanup::BlankPages::Mark;
    else if (std::strcmp(value, "drop") == 0)
        blank = cleanup::BlankPages::Drop;
    else if (std::strcmp(value, "off") == 0)
        blank = cleanup::BlankPages::Off;
    else
        return false;
    return true;
}

}  // namespace

const char kCleanupOptionsUsage[] = "[--deskew] [--upright] [--blank=mark|drop]";

std::string CleanupOptionsHelp(int column) {
    static const char* const kLines[][2] = {
        {"--deskew", "straighten pages scanned askew (--no-deskew: leave them)"},
        {"--upright", "turn pages whose text lies sideways or upside down"},
        {"", "(--no-upright: leave them); needs Tesseract's orientation data"},
        {"--blank=mark|drop", "find blank pages: report them on standard error, or leave"},
        {"", "them out of the PDF (--blank=off: do not look for them)"},
    };
    std::string text;
    for (const auto& [option, what] : kLines) {
        std::string line = "  " + std::string(option);
        line.resize(static_cast<size_t>(std::max(column, static_cast<int>(line.size()) + 1)), ' ');
        text += line + what + "\n";
    }
    return text;
}

const std::vector<CommandOption>& CleanupOptionTable() {
    static const std::vector<CommandOption> kTable = {
        {kDeskew, "deskew", 0, OptionValue::None},
        {kNoDeskew, "no-deskew", 0, OptionValue::None},
        {kUpright, "upright", 0, OptionValue::None},
        {kNoUpright, "no-upright", 0, OptionValue::None},
        {kBlank, "blank", 0, OptionValue::Required, kBlankProblem},
    };
    return kTable;
}

bool TakeCleanupOption(int id, const char* value, CleanupChoice& choice, std::string& problem) {
    switch (id) {
        case kDeskew:
            choice.options.straighten = true;
            return true;
        case kNoDeskew:
            choice.options.straighten = false;
            return true;
        case kUpright:
            choice.options.upright = true;
            choice.uprightAsked = true;
            return true;
        case kNoUpright:
            choice.options.upright = false;
            choice.uprightAsked = false;
            return true;
        case kBlank:
            if (!value || !ParseBlank(value, choice.options.blankPages)) problem = kBlankProblem;
            return true;
        default:
            return false;
    }
}

CleanupChoice StoredCleanupChoice() {
    CleanupChoice choice;
    choice.options.straighten = Stored(platform::setting::Deskew) == 1;
    // Without the orientation data the setting cannot take effect; that is no news to report.
    choice.options.upright =
        Stored(platform::setting::AutoRotate) == 1 && cleanup::OrientationDataInstalled();
    choice.options.blankPages =
        cleanup::BlankPagesFromSetting(Stored(platform::setting::BlankPages));
    return choice;
}

PageCleaner::PageCleaner(const CleanupChoice& choice) : choice_(choice) {}

bool PageCleaner::active() const {
    return choice_.options.straighten || choice_.options.upright ||
           choice_.options.blankPages != cleanup::BlankPages::Off;
}

void PageCleaner::warnWhenUprightMissing() {
    if (warned_ || !choice_.uprightAsked || detector_.ready()) return;
    warned_ = true;
    std::fprintf(stderr,
                 "vellumo-cli: pages are not turned upright: Tesseract's orientation data "
                 "(osd.traineddata) is not installed\n");
}

bool PageCleaner::clean(imaging::ImageBuffer& page, int pageNumber, const std::string& what,
                        cleanup::CleanupReport* report) {
    warnWhenUprightMissing();
    const cleanup::CleanupReport r =
        cleanup::CleanPage(page, pageNumber, choice_.options, &detector_);
    if (report) *report = r;
    if (!r.blank) return true;
    const bool drop = choice_.options.blankPages == cleanup::BlankPages::Drop;
    if (drop) platform::WriteLogF("Dropped blank page %d\n", pageNumber);
    std::fprintf(
        stderr,
        drop ? "vellumo-cli: dropped blank page %d%s%s\n" : "vellumo-cli: page %d is blank%s%s\n",
        pageNumber, what.empty() ? "" : ": ", what.c_str());
    return !drop;
}

CleanedPages::~CleanedPages() {
    for (const std::string& file : temporary) std::remove(file.c_str());
}

bool CleanPages(const std::vector<imaging::PageRef>& inputs, const std::string& password,
                PageCleaner& cleaner, CleanedPages& out) {
    for (size_t i = 0; i < inputs.size(); ++i) {
        const imaging::PageRef& ref = inputs[i];
        // A page of a file of several pages is named with its number in the file.
        const bool ofSeveral =
            ref.index > 0 || (i + 1 < inputs.size() && inputs[i + 1].path == ref.path);
        const std::string name =
            ofSeveral ? ref.path + " page " + std::to_string(ref.index + 1) : ref.path;
        imaging::ImageBuffer page{};
        std::string reason;
        if (pdf::LoadPage(ref, password, page, reason) != pdf::ImportStatus::Ok) {
            // Passed on as it is, for the PDF builder to report.
            out.pages.push_back(ref);
            out.names.push_back(name);
            continue;
        }
        cleanup::CleanupReport report;
        const bool keep = cleaner.clean(page, static_cast<int>(i) + 1, name, &report);
        imaging::PageRef cleaned = ref;
        if (keep && report.changed()) {
            cleaned = {scan::MakeScanPagePath(), 0};
            const int compression = imaging::BitsPerPixel(page) == 1 ? kTiffGroup4 : kTiffLzw;
            const int saved = cleaned.path.empty()
                                  ? -1
                                  : imaging::SaveTiff(cleaned.path.c_str(), page, compression);
            if (saved != imaging::kImgOk) {
                imaging::FreeImage(page);
                if (!cleaned.path.empty()) std::remove(cleaned.path.c_str());
                std::fprintf(stderr,
                             "vellumo-cli: cannot write the cleaned page %zu (%s) to the "
                             "temporary folder, error %d\n",
                             i + 1, name.c_str(), saved);
                return false;
            }
            out.temporary.push_back(cleaned.path);
        }
        imaging::FreeImage(page);
        if (!keep) continue;
        out.pages.push_back(cleaned);
        out.names.push_back(name);
    }
    return true;
}

}  // namespace vellumo::cli

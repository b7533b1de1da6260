// The page clean-up of vellumo-cli pdf and scan: the options --deskew, --upright and
// --blank=mark|drop (with --no-deskew, --no-upright and --blank=off to switch off what the
// stored settings turn on for scanning), and running the clean-up on each page with the
// command line's reports of blank pages on standard error.
#pragma once

#include <string>
#include <vector>

#include "cleanup/orientation.h"
#include "cleanup/page_cleanup.h"
#include "cli/option_parser.h"
#include "imaging/image_pages.h"

namespace vellumo::cli {

struct CleanupChoice {
    cleanup::CleanupOptions options;
    bool uprightAsked = false;  // --upright given: say so when it cannot be done
};

// The help lines of the options, their descriptions starting at `column`.
std::string CleanupOptionsHelp(int column);
// The options in the one-line usage.
extern const char kCleanupOptionsUsage[];

// The options' rows for a command's option table.
const std::vector<CommandOption>& CleanupOptionTable();
// Takes one option of those rows: true when `id` is one of them, with `problem` set when its
// value is wrong.
bool TakeCleanupOption(int id, const char* value, CleanupChoice& choice, std::string& problem);

// The clean-up the stored settings ask for on scanned pages: "Deskew" and "AutoRotate" on when
// exactly 1, "BlankPages" as it is read by the page list.
CleanupChoice StoredCleanupChoice();

// Runs the chosen clean-up page after page with one orientation engine.
class PageCleaner {
public:
    explicit PageCleaner(const CleanupChoice& choice);
    bool active() const;
    // Says once, on standard error, when pages cannot be turned upright although asked for.
    void warnWhenUprightMissing();
    // Cleans the page; a blank page is reported on standard error ("page N is blank" or
    // "dropped blank page N", followed by `what` when not empty). True when the page is to be
    // kept.
    bool clean(imaging::ImageBuffer& page, int pageNumber, const std::string& what,
               cleanup::CleanupReport* report = nullptr);

private:
    CleanupChoice choice_;
    cleanup::OrientationDetector detector_;
    bool warned_ = false;
};

// The pages a PDF is built from after the clean-up. Changed pages live in private temporary
// page files, removed with this object.
struct CleanedPages {
    std::vector<imaging::PageRef> pages;  // what the PDF is built from, in order
    std::vector<std::string> names;       // the page each came from, for messages
    std::vector<std::string> temporary;
    CleanedPages() = default;
    CleanedPages(const CleanedPages&) = delete;
    CleanedPages& operator=(const CleanedPages&) = delete;
    ~CleanedPages();
};

// Cleans every page (one that cannot be read is passed on as it is, for the PDF builder to
// report). An unchanged page stays where it is, so a JPEG or a PDF's image page still goes into
// the PDF untouched; a straightened or turned one is written as a TIFF (group 4 for black and
// white, else LZW). password: for encrypted PDFs among the inputs. False, with a message on
// standard error, when a cleaned page cannot be written.
bool CleanPages(const std::vector<imaging::PageRef>& inputs, const std::string& password,
                PageCleaner& cleaner, CleanedPages& out);

}  // namespace vellumo::cli

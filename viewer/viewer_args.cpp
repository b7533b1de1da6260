#include "viewer/viewer_args.h"

#include <getopt.h>

#include <cerrno>
#include <cstdlib>

namespace vellumo::viewer {

const char* const kViewerUsage =
    "Usage: viewer [--show N] [--page K] FILE [[--page K] FILE]...\n"
    "Shows pages of image and PDF files, one at a time; Page Up and Page Down walk through them.\n"
    "  --page K   only page K (from 1) of the FILE that follows\n"
    "  --show N   open at the N-th page of the list (from 1)\n"
    "Keys: F fit page, W fit width, 1 100 %, + and - zoom (also the wheel and a pinch),\n"
    "arrows pan (also dragging), Page Up and Page Down, Escape closes.\n";

namespace {

bool ParsePositive(const char* text, int& value) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < 1 || v > 1000000) return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace

ViewerArguments ParseViewerArguments(int argc, char** argv) {
    ViewerArguments args;
    static const option kOptions[] = {{"page", required_argument, nullptr, 'p'},
                                      {"show", required_argument, nullptr, 's'},
                                      {"help", no_argument, nullptr, 'h'},
                                      {nullptr, 0, nullptr, 0}};
    // A leading "-" keeps the files in place among the options: each --page belongs to the
    // file after it.
    optind = 0;
    opterr = 0;
    int pendingPage = 0;
    int c;
    while ((c = getopt_long(argc, argv, "-p:s:h", kOptions, nullptr)) != -1) {
        switch (c) {
            case 1:
                args.pages.push_back(PageArgument{optarg, pendingPage});
                pendingPage = 0;
                break;
            case 'p':
                if (!ParsePositive(optarg, pendingPage)) {
                    args.error = "--page needs a page number from 1";
                    return args;
                }
                break;
            case 's':
                if (!ParsePositive(optarg, args.show)) {
                    args.error = "--show needs a position from 1";
                    return args;
                }
                break;
            case 'h':
                args.help = true;
                return args;
            default:
                args.error = optopt ? std::string("unknown option -") + static_cast<char>(optopt)
                                    : std::string("unknown option ") + argv[optind - 1];
                return args;
        }
    }
    for (int i = optind; i < argc; ++i) {  // after "--"
        args.pages.push_back(PageArgument{argv[i], pendingPage});
        pendingPage = 0;
    }
    if (pendingPage) args.error = "--page must come before a file";
    if (args.pages.empty() && args.error.empty()) args.error = "no file to show";
    return args;
}

std::vector<std::string> ViewerCommandLine(const std::vector<imaging::PageRef>& pages,
                                           int current) {
    std::vector<std::string> line{"--show", std::to_string(current + 1)};
    for (const imaging::PageRef& page : pages) {
        line.push_back("--page");
        line.push_back(std::to_string(page.index + 1));
        // A file named like an option must not be taken for one.
        line.push_back(!page.path.empty() && page.path[0] == '-' ? "./" + page.path : page.path);
    }
    return line;
}

}  // namespace vellumo::viewer

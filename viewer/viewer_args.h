// The viewer's command line: the pages to walk through with Page Up and Page Down, in order,
// and the one to show first. The main window hands over the ordered pages of its list:
//   viewer [--show N] [--page K] FILE [[--page K] FILE]...
// --page K names page K (from 1) of the FILE after it; a FILE without --page stands for every
// page it has. --show N opens at the N-th page of the resulting list (from 1).
#pragma once

#include <string>
#include <vector>

#include "imaging/image_pages.h"

namespace vellumo::viewer {

// One entry of the command line: a file, and the page asked for (0: every page).
struct PageArgument {
    std::string path;
    int page = 0;  // from 1; 0 = all pages of the file
};

struct ViewerArguments {
    std::vector<PageArgument> pages;
    int show = 1;  // from 1
    bool help = false;
    std::string error;  // wrong usage: what is wrong
};

ViewerArguments ParseViewerArguments(int argc, char** argv);

// The command line that opens pages[current] among pages (the inverse of the parser; every
// entry names its page, so a page of a multi-page file stays that one page).
std::vector<std::string> ViewerCommandLine(const std::vector<imaging::PageRef>& pages, int current);

extern const char* const kViewerUsage;

}  // namespace vellumo::viewer

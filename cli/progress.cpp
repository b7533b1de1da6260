#include "cli/progress.h"

#include <unistd.h>

#include <cstdio>

namespace vellumo::cli {

using namespace vellumo::pdf;

bool ProgressOnTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

void CliPdfListener::pageStarted(int page, int pageCount, const std::string& file) {
    if (progress_) std::fprintf(stderr, "Page %d of %d: %s\n", page, pageCount, file.c_str());
}

void CliPdfListener::showMessage(const std::string& text, PdfMessageKind) {
    std::fprintf(stderr, "vellumo-cli: %s\n", text.c_str());
}

}  // namespace vellumo::cli

#include "cli/progress.h"

#include <unistd.h>

#include <cstdio>

#include "platform/replace_file.h"

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

void CliPdfListener::showMessageWithDetails(const std::string& text, PdfMessageKind kind,
                                            const std::string& details) {
    showMessage(text, kind);
    if (!details.empty()) std::fprintf(stderr, "vellumo-cli: %s\n", details.c_str());
}

bool CheckOutputPath(const std::string& out) {
    const vellumo::platform::OutputTarget target = vellumo::platform::ResolveOutputTarget(out);
    if (target.problem == vellumo::platform::TargetProblem::None) return true;
    std::fprintf(stderr, "vellumo-cli: cannot write %s: %s\n", out.c_str(),
                 vellumo::platform::DescribeTargetProblem(target).c_str());
    return false;
}
}  // namespace vellumo::cli

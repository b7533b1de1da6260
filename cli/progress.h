// Progress lines of vellumo-cli: they go to standard error, and only when that is a terminal,
// so that scripts reading or logging it see nothing but the messages of real trouble.
#pragma once

#include <string>

#include "pdf/pdf_builder.h"

namespace vellumo::cli {

// True when standard error is a terminal.
bool ProgressOnTerminal();

// Checks before any work that out can be written as a file; false after saying why.
bool CheckOutputPath(const std::string& out);

// The PDF builder's view from the command line: "Page j of n: file" for each page when
// `progress` is set, and every message of the builder (always) as "vellumo-cli: text".
class CliPdfListener : public pdf::PdfBuildListener {
public:
    explicit CliPdfListener(bool progress) : progress_(progress) {}
    void pageStarted(int page, int pageCount, const std::string& file) override;
    void showMessage(const std::string& text, pdf::PdfMessageKind kind) override;
    // The details (the file and the real reason) go on a line of their own.
    void showMessageWithDetails(const std::string& text, pdf::PdfMessageKind kind,
                                const std::string& details) override;

private:
    bool progress_;
};

}  // namespace vellumo::cli

// The page count of a PDF build in the activity dialog: while "SAVE AS PDF" or "MAIL AS PDF"
// builds its PDF, the dialog's progress bar shows the page being written ("Page 2 of 5"); the
// status line above it keeps its own text.
#pragma once

#include <QPointer>
#include <QWidget>

#include "pdf/pdf_builder.h"

namespace vellumo::output {

// Shows page `page` of `pageCount` in the bar (showing the bar) and repaints the dialog. Only
// painting happens here: input waits, so no click reaches the disabled main window halfway
// through the build.
void ShowPdfPageProgress(int page, int pageCount);

// For the length of one build: on leaving the scope the bar is hidden and emptied again, on
// every way out, so the next user of the dialog (an SMTP transfer, a scan) finds it as it was.
class PdfPageProgress {
public:
    PdfPageProgress() = default;
    ~PdfPageProgress() { end(); }
    PdfPageProgress(const PdfPageProgress&) = delete;
    PdfPageProgress& operator=(const PdfPageProgress&) = delete;
    // Hides and empties the bar now (once).
    void end();

private:
    bool ended_ = false;
};

// The builder's pages in the bar and its messages in boxes owned by the main window, like every
// other box (a box is a window of its own and stays usable while its owner is disabled).
// arrowCursor: the box shows the arrow over a wait cursor that the caller has set.
class WindowBuildListener : public pdf::PdfBuildListener {
public:
    explicit WindowBuildListener(QWidget* owner, bool arrowCursor = false)
        : owner_(owner), arrowCursor_(arrowCursor) {}
    void pageStarted(int page, int pageCount, const std::string&) override;
    void showMessage(const std::string& text, pdf::PdfMessageKind kind) override;
    void showMessageWithDetails(const std::string& text, pdf::PdfMessageKind kind,
                                const std::string& details) override;

private:
    QPointer<QWidget> owner_;
    bool arrowCursor_;
};

}  // namespace vellumo::output

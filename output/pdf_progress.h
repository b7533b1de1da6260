// The page count of a PDF build in the activity dialog: while "SAVE AS PDF" or "MAIL AS PDF"
// builds its PDF, the dialog's progress bar shows the page being written ("Page 2 of 5"); the
// status line above it keeps its own text.
#pragma once

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

}  // namespace vellumo::output

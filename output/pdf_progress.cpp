#include "output/pdf_progress.h"

#include "widgets/activity_dialog.h"

namespace vellumo::output {

using namespace vellumo::widgets;

void ShowPdfPageProgress(int page, int pageCount) {
    if (!activityDialog) return;
    activityDialog->setProgressVisible(true);
    activityDialog->setProgressPage(page, pageCount);
    if (activityDialog->isVisible()) activityDialog->repaint();
}

void PdfPageProgress::end() {
    if (ended_) return;
    ended_ = true;
    if (!activityDialog) return;
    activityDialog->setProgressVisible(false);
    activityDialog->resetProgress();
}

}  // namespace vellumo::output

#include "output/pdf_progress.h"

#include <QApplication>

#include "platform/dialogs.h"
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

void WindowBuildListener::pageStarted(int page, int pageCount, const std::string&) {
    ShowPdfPageProgress(page, pageCount);
}

void WindowBuildListener::showMessage(const std::string& text, pdf::PdfMessageKind kind) {
    showMessageWithDetails(text, kind, std::string());
}

void WindowBuildListener::showMessageWithDetails(const std::string& text, pdf::PdfMessageKind kind,
                                                 const std::string& details) {
    if (arrowCursor_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    platform::MessageBox(owner_, QString::fromStdString(text),
                         kind == pdf::PdfMessageKind::Warning ? platform::MessageIcon::Exclamation
                                                              : platform::MessageIcon::None,
                         platform::MessageButtons::Ok, QString::fromStdString(details));
    if (arrowCursor_) QApplication::restoreOverrideCursor();
}

}  // namespace vellumo::output

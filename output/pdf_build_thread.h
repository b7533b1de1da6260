// A PDF build that leaves the window's thread free: the builder runs on a worker thread while
// the window goes on painting and the activity dialog's Cancel and Escape stay live. What the
// build asks of the window (page progress, message boxes) is done on the window's thread.
#pragma once

#include <string>
#include <vector>

#include "imaging/image_pages.h"
#include "pdf/pdf_builder.h"

class QWidget;

namespace vellumo::output {

// Runs pdf::BuildPdf on a worker thread and returns its result once it has ended; meanwhile
// the window's events are delivered. windowListener is called on the window's thread only:
// its pages in order, its message boxes while the worker waits for them to be closed. Cancel in
// the activity dialog (platform::cancelRequested) stops the build before the next page, with
// PdfBuildStatus::Cancelled and no file written. mainWindow stays disabled until the worker has
// ended, even after Cancel enabled it.
pdf::PdfBuildResult BuildPdfOnWorker(const std::vector<imaging::PageRef>& pages,
                                     const std::string& outPath,
                                     const pdf::PdfBuildOptions& options,
                                     pdf::PdfBuildListener& windowListener, QWidget* mainWindow);

}  // namespace vellumo::output

#include "output/save_pdf.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <string>
#include <vector>

#include "document/page_list_ops.h"
#include "output/page_texts.h"
#include "output/pdf_build_thread.h"
#include "output/pdf_progress.h"
#include "pdf/pdf_builder.h"
#include "platform/cancel.h"
#include "platform/dialogs.h"
#include "platform/documents.h"
#include "platform/log.h"
#include "platform/settings_store.h"
#include "widgets/activity_dialog.h"

namespace vellumo::output {

using namespace vellumo::platform;
using namespace vellumo::pdf;
using widgets::activityDialog;
using widgets::PumpActivityMessages;

namespace {

// While the PDF is built: the wait cursor, the activity dialog with its status line and Cancel
// button, the main window disabled. end() undoes all three, once; leaving the scope ends it
// too, so no way out leaves the window dead.
class BusyWindow {
public:
    explicit BusyWindow(QWidget* window) : window_(window) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (activityDialog) {
            activityDialog->setStatusText(QStringLiteral("Creating PDF..."));
            activityDialog->setCancelVisible(true);
            activityDialog->showActivity();
        }
        if (window_) window_->setEnabled(false);
    }
    ~BusyWindow() { end(); }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

    void end() {
        if (ended_) return;
        ended_ = true;
        QApplication::restoreOverrideCursor();
        if (activityDialog) activityDialog->hideActivity();
        if (window_) window_->setEnabled(true);
    }

private:
    QPointer<QWidget> window_;
    bool ended_ = false;
};

// The folder the save dialog opens in: the one saved to last while it still exists, else the
// documents folder (never the folder pages were last loaded from, which LOAD PAGE made the
// current one).
QString PdfSaveFolder(const QString& currentDirSave) {
    if (!currentDirSave.isEmpty() && QFileInfo(currentDirSave).isDir()) return currentDirSave;
    return QString::fromStdString(DocumentsFolder());
}

// The chosen file from the save dialog, or empty when the user cancelled. The name field
// starts empty; a name typed without an extension gets ".pdf" (one typed as "x.PDF" keeps
// its own).
QString AskPdfPath(QWidget* owner, const QString& currentDirSave) {
    const QString folder = PdfSaveFolder(currentDirSave);
    if (!folder.isEmpty()) QDir::setCurrent(folder);
    SaveFileRequest request;
    request.title = QStringLiteral("Select PDF file to save to");
    request.folder = folder;
    request.filter = QStringLiteral("PDF File (*.PDF)");
    request.defaultExtension = QStringLiteral("pdf");
    const SaveFileAnswer answer = Dialogs()->saveFile(owner, request);
    return QDir::fromNativeSeparators(answer.path);
}

}  // namespace

int OnSavePdf(const document::CommandContext& context) {
    QWidget* owner = context.window;
    document::PageDocument& document = *context.document;
    QString& currentDirSave = context.settings->currentDirSave;
    WriteLog("Start saving to PDF\n");
    if (document.pages.empty()) {
        MessageBox(owner, QStringLiteral("Nothing to save yet"), MessageIcon::Exclamation,
                   MessageButtons::Ok);
        return 1;
    }
    // A Cancel still waiting from an earlier operation is taken now and forgotten; one that
    // arrives now means the user wants nothing done.
    cancelRequested = 0;
    PumpActivityMessages();
    if (cancelRequested == 1) {
        WriteLog("Cancelled\r\n");
        if (activityDialog) activityDialog->hideActivity();
        return 1;
    }

    const QString path = AskPdfPath(owner, currentDirSave);
    if (path.isEmpty()) return 1;
    currentDirSave = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
    SettingsStore::writeFolder(setting::CurrentDirSave, currentDirSave);
    const std::string outPath = QFile::encodeName(path).toStdString();
    WriteLogF("Will save to %s\n", outPath.c_str());

    // The page files as they are now; the list does not change while the build runs.
    std::vector<vellumo::imaging::PageRef> files;
    files.reserve(document.pages.size());
    for (const auto& page : document.pages) files.push_back(document::PageRefOf(*page));

    PdfBuildOptions options;
    options.compress = SettingsStore::read(setting::Compress) != 0;
    options.compressionPercent = SettingsStore::read(setting::ComprPerc).toStdString();
    options.passwords = document.pdfPasswords;

    // An existing file at the path stays until the new PDF is complete: the builder replaces
    // it only then, so a failed build never costs the user the PDF they had.
    BusyWindow busy(owner);
    // Pages still waiting for their text are recognised first; a Cancel now writes nothing.
    if (!CollectPageTexts(context, owner, options.pageTexts)) return 1;
    PdfPageProgress progress;
    WindowBuildListener listener(owner);
    const PdfBuildResult result = BuildPdfOnWorker(files, outPath, options, listener, owner);
    progress.end();
    busy.end();
    if (result.status == PdfBuildStatus::Cancelled) {
        WriteLog("Cancelled\r\n");
        return 1;
    }
    if (!result.succeeded()) return -1;

    const PdfResultText text = DescribeMakePdfResult(result.code, outPath, result.errorText);
    MessageBox(owner, QString::fromStdString(text.message), MessageIcon::None, MessageButtons::Ok);
    document::ClearPages(document, owner, QStringLiteral("Clear list of pages to save or send?"));
    return 0;
}

}  // namespace vellumo::output

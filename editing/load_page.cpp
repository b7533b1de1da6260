#include "editing/load_page.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QPointer>
#include <vector>

#include "widgets/activity_dialog.h"

#include "editing/thumbnail_queue.h"
#include "imaging/codecs.h"
#include "imaging/read_failure.h"
#include "pdf/page_import.h"
#include "platform/cancel.h"
#include "platform/dialogs.h"
#include "platform/log.h"
#include "platform/message_text.h"
#include "platform/settings_store.h"

namespace vellumo::editing {

using namespace vellumo::platform;
using namespace vellumo::imaging;
using widgets::activityDialog;
using widgets::PumpActivityMessages;

namespace {

// How many pages may decode ahead of the one the list waits for: enough to keep every worker
// busy, few enough that cells waiting for their turn cost little memory.
constexpr int kAheadPerThread = 4;
// Loads shorter than this show no activity dialog at all.
constexpr int kActivityDelayMs = 500;
constexpr int kPasswordTries = 3;

void ReportUnreadable(QWidget* parent, const std::string& details) {
    WriteLog(details + "\n");
    MessageBox(parent, QStringLiteral("Unsupported graphics format"), MessageIcon::Exclamation,
               MessageButtons::Ok, QFile::decodeName(QByteArray::fromStdString(details)));
}

// Asks for the password of an encrypted PDF; false when the user gives up.
bool AskPassword(QWidget* parent, const std::string& path, bool again, std::string& password) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Vellumo"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(QLineEdit::Password);
    const QString name = QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
    dialog.setLabelText(platform::TranslatedMessage(
        again ? QStringLiteral("Wrong password for %1. Password:").arg(name)
              : QStringLiteral("%1 is protected. Password:").arg(name)));
    if (Dialogs()->execDialog(dialog) != QDialog::Accepted) return false;
    password = dialog.textValue().toStdString();
    return true;
}

// The pages of one file in order, asking for a PDF's password as long as it does not open the
// file. False with the details for the message when the file cannot be read, false with empty
// details when the user gave up on the password.
bool ListFilePages(QWidget* parent, const std::string& path, std::vector<PageRef>& pages,
                   std::string& password, std::string& details) {
    details.clear();
    if (!pdf::IsPdfFile(path)) {
        int count = 0;
        if (const int rc = CountImagePages(path.c_str(), count)) {
            details = DescribeReadFailure(path, rc);
            return false;
        }
        pages.clear();
        for (int i = 0; i < count; ++i) pages.push_back(PageRef{path, i});
        return true;
    }
    std::string reason;
    pdf::ImportStatus status = pdf::ListPages(path, password, pages, reason);
    for (int tries = 0; status == pdf::ImportStatus::NeedsPassword && tries < kPasswordTries;
         ++tries) {
        if (!AskPassword(parent, path, tries > 0, password)) {
            WriteLog("No password given for " + path + "\n");
            return false;
        }
        status = pdf::ListPages(path, password, pages, reason);
    }
    if (status == pdf::ImportStatus::Ok) return true;
    details = pdf::DescribeImportFailure(path, status, reason);
    return false;
}

// The activity dialog of a load that takes more than a blink: shown late, hidden on every way
// out, the main window enabled again.
class LoadActivity {
public:
    explicit LoadActivity(QWidget* window) : window_(window) {
        cancelRequested = 0;
        timer_.start();
    }
    ~LoadActivity() {
        if (!shown_) return;
        if (activityDialog) activityDialog->hideActivity();
        if (window_) window_->setEnabled(true);
    }
    // True when the load has taken long enough to show how far it is.
    bool progress(int done, int total) {
        if (timer_.elapsed() < kActivityDelayMs) return false;
        if (!shown_ && activityDialog) {
            shown_ = true;
            activityDialog->setStatusText(QStringLiteral("Loading pages..."));
            activityDialog->setCancelVisible(true);
            activityDialog->setProgressVisible(true);
            activityDialog->showActivity();
            if (window_) window_->setEnabled(false);
        }
        if (shown_ && activityDialog) activityDialog->setProgressPage(done, total);
        return true;
    }
    bool cancelled() const { return cancelRequested == 1; }

private:
    QPointer<QWidget> window_;
    QElapsedTimer timer_;
    bool shown_ = false;
};

}  // namespace

int LoadImageFile(ImageBuffer& workingImage, const QString& path, QWidget* parent) {
    FreeImage(workingImage);
    const QByteArray file = QFile::encodeName(path);
    if (const int rc = ReadImageFile(file.constData(), workingImage); rc != 0) {
        FreeImage(workingImage);
        // The file and the real reason go into the details; the text stays the known one.
        ReportUnreadable(parent, DescribeReadFailure(file.toStdString(), rc));
        return -1;
    }
    return 0;
}

int LoadPageImage(ImageBuffer& workingImage, const PageRef& page, const std::string& password,
                  QWidget* parent) {
    if (page.index == 0 && !pdf::IsPdfFile(page.path))
        return LoadImageFile(workingImage, QFile::decodeName(QByteArray::fromStdString(page.path)),
                             parent);
    FreeImage(workingImage);
    std::string reason;
    const pdf::ImportStatus status = pdf::LoadPage(page, password, workingImage, reason);
    if (status == pdf::ImportStatus::Ok) return 0;
    FreeImage(workingImage);
    ReportUnreadable(parent, pdf::DescribeImportFailure(page.path, status, reason));
    return -1;
}

void OnLoadPage(const document::CommandContext& context) {
    const QString& currentDir = context.settings->currentDir;
    if (!currentDir.isEmpty()) QDir::setCurrent(currentDir);
    OpenFilesRequest request;
    request.title = QStringLiteral("Select file(s) to load");
    request.folder = currentDir;
    request.multiple = true;  // no filter: every file is listed
    const QStringList files = Dialogs()->openFiles(context.window, request);
    if (files.isEmpty()) return;
    LoadPageFiles(context, files);
}

void LoadPageFiles(const document::CommandContext& context, const QStringList& files) {
    if (files.isEmpty()) return;
    document::PageDocument& document = *context.document;
    QWidget* window = context.window;
    QApplication::setOverrideCursor(Qt::WaitCursor);

    // Every file is opened and its pages counted first (cheap: headers and page trees), so
    // that password questions come at once and the count shown is the whole load's.
    ThumbnailQueue queue(document::CellPixels(document.thumbnailScale));
    std::vector<std::pair<std::vector<PageRef>, std::string>> plan;  // pages, password
    int total = 0;
    for (const QString& chosen : files) {
        const QString path = QDir::fromNativeSeparators(chosen);
        const std::string file = QFile::encodeName(path).toStdString();
        WriteLogF("File to load: %s\n", file.c_str());
        context.settings->currentDir = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
        std::vector<PageRef> pages;
        std::string password, details;
        if (ListFilePages(window, file, pages, password, details)) {
            if (!password.empty()) document.pdfPasswords[file] = password;
            total += static_cast<int>(pages.size());
            plan.emplace_back(std::move(pages), password);
        } else if (!details.empty()) {
            // Told in its turn, after the pages of the files before it.
            plan.emplace_back(std::vector<PageRef>{PageRef{file, -1}}, details);
            ++total;
        }
    }

    // Stored once: each store rewrites the settings file and waits for the disk.
    SettingsStore::writeFolder(setting::CurrentDir, context.settings->currentDir);

    // All the pages of one load are one step: an undo takes them out together.
    document.BeginChange(document::PageAction::Load);
    LoadActivity activity(window);
    int done = 0;
    bool changed = false;
    // Appends the next page once it is ready (waiting at most timeoutMs); false when none was.
    const auto takeNext = [&](int timeoutMs) {
        ThumbnailResult result;
        if (!queue.takeNext(result, timeoutMs)) return false;
        ++done;
        if (!result.ok) {
            ReportUnreadable(window, result.details);
            return true;
        }
        document.TakeThumbnail(result.cell);
        document.AppendPage(result.page.path, 0, result.page.index);
        changed = true;
        return true;
    };
    // Shows what arrived: the new pages and their count, while the load takes long enough
    // for that to matter, and lets the window paint and the Cancel button be pressed.
    const auto showProgress = [&] {
        if (!activity.progress(done, total)) return;
        if (changed) {
            document.PostPageCount();
            document.RebuildPageView();
            changed = false;
        }
        PumpActivityMessages();
    };
    const int ahead = kAheadPerThread * queue.threadCount();
    for (const auto& [pages, passwordOrDetails] : plan) {
        if (activity.cancelled()) break;
        if (pages.size() == 1 && pages.front().index < 0) {
            queue.addFailure(pages.front().path, passwordOrDetails);
            continue;
        }
        for (const PageRef& page : pages) {
            while (queue.pending() >= ahead && !activity.cancelled()) {
                takeNext(20);
                showProgress();
            }
            if (activity.cancelled()) break;
            queue.addPage(page, passwordOrDetails);
        }
        while (takeNext(0)) {
        }
        showProgress();
    }
    while (!activity.cancelled() && queue.pending() > 0) {
        takeNext(20);
        showProgress();
    }
    if (activity.cancelled()) {
        queue.cancel();
        WriteLogF("Loading cancelled after %d of %d pages\n", done, total);
    }
    document.CommitChange();
    document.PostPageCount();
    document.RebuildPageView();
    WriteLog("Image(s) loaded\r\n");
    QApplication::restoreOverrideCursor();
}

}  // namespace vellumo::editing

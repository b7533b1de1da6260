#include "editing/load_page.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include "imaging/codecs.h"
#include "imaging/read_failure.h"
#include "platform/dialogs.h"
#include "platform/log.h"
#include "platform/settings_store.h"

namespace vellumo::editing {

using namespace vellumo::platform;
using namespace vellumo::imaging;

int LoadImageFile(ImageBuffer& workingImage, const QString& path, QWidget* parent) {
    FreeImage(workingImage);
    const QByteArray file = QFile::encodeName(path);
    if (const int rc = ReadImageFile(file.constData(), workingImage); rc != 0) {
        FreeImage(workingImage);
        // The file and the real reason go into the details; the text stays the known one.
        const std::string why = vellumo::imaging::DescribeReadFailure(file.toStdString(), rc);
        WriteLog(why + "\n");
        MessageBox(parent, QStringLiteral("Unsupported graphics format"), MessageIcon::Exclamation,
                   MessageButtons::Ok, QFile::decodeName(QByteArray::fromStdString(why)));
        return -1;
    }
    return 0;
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
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // All the pages of one load are one step: an undo takes them out together.
    document.BeginChange(document::PageAction::Load);
    for (const QString& chosen : files) {
        const QString path = QDir::fromNativeSeparators(chosen);
        WriteLogF("File to load: %s\n", QFile::encodeName(path).constData());
        context.settings->currentDir = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
        SettingsStore::writeFolder(setting::CurrentDir, context.settings->currentDir);
        if (LoadImageFile(document.workingImage, path, context.window) != 0)
            continue;  // the user has been told
        document.MakeThumbnail(document.workingImage);
        document.AppendPage(QFile::encodeName(path).toStdString(), 0);
        FreeImage(document.workingImage);
    }
    document.CommitChange();
    document.PostPageCount();
    document.RebuildPageView();
    WriteLog("Image(s) loaded\r\n");
    QApplication::restoreOverrideCursor();
}

}  // namespace vellumo::editing

#include "mainwnd/load_page.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include "imaging/codecs.h"
#include "imaging/read_failure.h"
#include "imaging/working_image.h"
#include "mainwnd/page_list.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "platform/dialogs.h"
#include "platform/log.h"
#include "platform/settings_store.h"

using namespace vellumo::platform;
using namespace vellumo::imaging;

int LoadImageFile(const QString& path, QWidget* parent) {
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

void OnLoadPage(QWidget* owner) {
    if (!currentDir.isEmpty()) QDir::setCurrent(currentDir);
    OpenFilesRequest request;
    request.title = QStringLiteral("Select file(s) to load");
    request.folder = currentDir;
    request.multiple = true;  // no filter: every file is listed
    const QStringList files = Dialogs()->openFiles(owner, request);
    if (files.isEmpty()) return;
    LoadPageFiles(owner, files);
}

void LoadPageFiles(QWidget* owner, const QStringList& files) {
    if (files.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (const QString& chosen : files) {
        const QString path = QDir::fromNativeSeparators(chosen);
        WriteLogF("File to load: %s\n", QFile::encodeName(path).constData());
        currentDir = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
        SettingsStore::writeFolder(setting::CurrentDir, currentDir);
        if (LoadImageFile(path, owner) != 0) continue;  // the user has been told
        MakeThumbnail(workingImage);
        AppendPage(QFile::encodeName(path).toStdString(), 0);
        FreeImage(workingImage);
    }
    PostPageCount();
    RebuildPageView();
    WriteLog("Image(s) loaded\r\n");
    QApplication::restoreOverrideCursor();
}

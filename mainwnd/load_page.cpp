#include "mainwnd/load_page.h"

#include <QFile>

#include "imaging/codecs.h"
#include "imaging/working_image.h"
#include "platform/dialogs.h"
#include "platform/settings_store.h"

QString loadFolder;

void ReadLoadFolder() {
    loadFolder = SettingsStore::readFolder(setting::CurrentDir);
}

int LoadImageFile(const QString& path, QWidget* parent) {
    FreeImage(workingImage);
    if (ReadImageFile(QFile::encodeName(path).constData(), workingImage) != 0) {
        FreeImage(workingImage);
        MessageBox(parent, QStringLiteral("Unsupported graphics format"), MessageIcon::Exclamation,
                   MessageButtons::Ok);
        return -1;
    }
    return 0;
}

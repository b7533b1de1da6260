#include "editing/save_image_file.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include "imaging/codecs.h"
#include "platform/dialogs.h"
#include "platform/log.h"
#include "platform/settings_store.h"

namespace vellumo::editing {

using namespace vellumo::platform;
using namespace vellumo::imaging;

namespace {

struct SaveFormat {
    const char* entry;      // the type list's entry
    const char* name;       // the initial file name when this type was used last
    const char* extension;  // the extension a saved file always carries
};

constexpr SaveFormat kFormats[] = {
    {"TIFF File (*.tif)", "*.tif", "TIF"}, {"BMP File (*.bmp)", "*.bmp", "BMP"},
    {"JPEG File (*.jpg)", "*.jpg", "JPG"}, {"PCX File (*.pcx)", "*.pcx", "PCX"},
    {"GIF File (*.gif)", "*.gif", "GIF"},  {"PNG File (*.png)", "*.png", "PNG"},
    {"EPS File (*.eps)", "*.eps", "EPS"},  {"TGA File (*.tga)", "*.tga", "TGA"},
};
constexpr int kFormatCount = sizeof kFormats / sizeof kFormats[0];
constexpr int kBmpPosition = 2;

int ValidPosition(int position) {
    return position >= 1 && position <= kFormatCount ? position : kBmpPosition;
}

}  // namespace

QString SaveImageFilter() {
    QStringList entries;
    for (const SaveFormat& f : kFormats) entries << QString::fromLatin1(f.entry);
    return entries.join(QStringLiteral(";;"));
}

QString InitialSaveName(int lastFileType) {
    if (lastFileType < 2 || lastFileType > kFormatCount) return QStringLiteral("*.tif");
    return QString::fromLatin1(kFormats[lastFileType - 1].name);
}

QString EnforceSaveExtension(const QString& path, int position) {
    const QString wanted = QString::fromLatin1(kFormats[ValidPosition(position) - 1].extension);
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : path.mid(dot + 1).toUpper();
    return extension == wanted ? path : path + QLatin1Char('.') + wanted;
}

int SaveImageAs(const QString& path, int position, const ImageBuffer& image) {
    const QByteArray file = QFile::encodeName(path);
    switch (ValidPosition(position)) {
        case 1:
            return SaveTiff(file.constData(), image, 0);
        case 3:
            return SaveJpeg(file.constData(), image, 75);
        case 4:
            return SavePcx(file.constData(), image);
        case 5:
            return SaveGif(file.constData(), image);
        case 6:
            return SavePng(file.constData(), image, 0);
        case 7:
            return SaveEps(file.constData(), image);
        case 8:
            return SaveTga(file.constData(), image, 1);
        default:
            return SaveBmp(file.constData(), image, 0);
    }
}

int SaveImageFile(const ImageBuffer& workingImage, QWidget* parent) {
    WriteLog("Start save image\n");
    const int lastFileType = SettingsStore::read(setting::LastFileType);
    const QString folder = SettingsStore::readFolder(setting::CurrentDir);
    if (!folder.isEmpty()) QDir::setCurrent(folder);

    SaveFileRequest request;
    request.title = QStringLiteral("Save As Graphics File");
    request.folder = folder;
    request.filter = SaveImageFilter();
    request.filterIndex = 0;  // the list always starts at its first entry
    request.defaultName = InitialSaveName(lastFileType);
    // No fixed default suffix: a name typed without an extension gets the chosen type's own
    // extension below, as the list entry the user picked says.
    const SaveFileAnswer answer = Dialogs()->saveFile(parent, request);
    if (answer.path.isEmpty()) return 1;

    const QString chosen = QDir::fromNativeSeparators(answer.path);
    SettingsStore::writeFolder(setting::CurrentDir,
                               chosen.left(chosen.lastIndexOf(QLatin1Char('/')) + 1));
    const int position = answer.filterIndex + 1;
    SettingsStore::write(setting::LastFileType, position);

    const QString path = EnforceSaveExtension(chosen, position);
    const int rc = SaveImageAs(path, position, workingImage);
    if (rc) {
        const QString text = QStringLiteral("Error %1 while saving image").arg(rc);
        MessageBox(parent, text, MessageIcon::None, MessageButtons::Ok);
        WriteLog(text.toStdString() + "\n");
        return rc;
    }
    WriteLogF("Image saved as %s\n", QFile::encodeName(path).constData());
    return 0;
}

}  // namespace vellumo::editing

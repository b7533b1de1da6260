#include "platform/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include "platform/page_size.h"
#include "platform/password.h"

namespace {

constexpr char kOrganisation[] = "Brackwin";
constexpr char kApplication[] = "Vellumo";
constexpr char kSection[] = "Settings";

// One QSettings per access: every read sees the file as it is now, also when another instance
// has written it in between.
class Section {
public:
    Section()
        : settings_(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication) {
        settings_.beginGroup(kSection);
    }
    QSettings& operator*() { return settings_; }
    QSettings* operator->() { return &settings_; }

private:
    QSettings settings_;
};

// The settings file is private to the user from the first write on: the folder is made 0700
// and the file is created 0600 before QSettings writes it (QSettings keeps the permissions of
// the file it replaces).
void PrepareFile(const QString& path) {
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    if (!QFileInfo::exists(QString::fromLocal8Bit(dir))) QDir().mkpath(QString::fromLocal8Bit(dir));
    const QByteArray file = QFile::encodeName(path);
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) ::close(fd);
}

void MakePrivate(const QString& path) {
    const QByteArray file = QFile::encodeName(path);
    struct stat st {};
    if (::stat(file.constData(), &st) == 0 && (st.st_mode & 0777) != 0600)
        ::chmod(file.constData(), 0600);
}

// A damaged file (one QSettings cannot parse) is moved aside as "<file>.damaged" before the
// first write, so the write starts from the defaults instead of being refused forever and the
// user's old file is still there to look at.
void SetAsideDamagedFile(const QString& path) {
    const QString aside = path + ".damaged";
    QFile::remove(aside);
    QFile::rename(path, aside);
}

bool Write(const char* name, const QVariant& value) {
    const QString path = SettingsStore::filePath();
    {
        Section probe;
        if (probe->status() == QSettings::FormatError) SetAsideDamagedFile(path);
    }
    PrepareFile(path);
    Section s;
    if (s->status() != QSettings::NoError) return false;
    s->setValue(QString::fromLatin1(name), value);
    s->sync();
    const bool ok = s->status() == QSettings::NoError;
    MakePrivate(path);
    return ok;
}

// The stored value, or an invalid variant when it is missing or the file cannot be read.
QVariant Read(const char* name) {
    Section s;
    if (s->status() != QSettings::NoError) return {};
    const QString key = QString::fromLatin1(name);
    if (!s->contains(key)) return {};
    QVariant v = s->value(key);
    if (s->status() != QSettings::NoError) return {};
    return v;
}

}  // namespace

QString SettingsStore::filePath() {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication);
    return s.fileName();
}

int SettingsStore::readInt(const char* name, int defaultValue) {
    const QVariant v = Read(name);
    if (!v.isValid() || v.typeId() == QMetaType::QStringList) return defaultValue;
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok);
    if (!ok || n < INT32_MIN || n > static_cast<qlonglong>(UINT32_MAX)) return defaultValue;
    return static_cast<int>(static_cast<uint32_t>(n));
}

bool SettingsStore::writeInt(const char* name, int value) {
    return Write(name, value);
}

QString SettingsStore::readText(const char* name, const QString& defaultValue) {
    const QVariant v = Read(name);
    if (!v.isValid()) return defaultValue;
    // A text edited by hand with commas in it comes back as a list: give it back as it stood.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

bool SettingsStore::writeText(const char* name, const QString& text) {
    return Write(name, text);
}

int SettingsStore::read(const IntSetting& s) {
    return readInt(s.name, s.printerDerived ? printerPageSize : s.defaultValue);
}

QString SettingsStore::read(const TextSetting& s) {
    return readText(s.name, QString::fromUtf8(s.defaultValue));
}

QString SettingsStore::readFolder(const TextSetting& s) {
    const QString folder = read(s);
    return folder.size() > kMaxFolderLength ? QString() : folder;
}

bool SettingsStore::writeFolder(const TextSetting& s, const QString& folder) {
    if (folder.size() > kMaxFolderLength) return false;
    return write(s, folder);
}

QString SettingsStore::readPassword() {
    const QString stored = read(setting::SmtpPassword);
    return QString::fromStdString(RevealPassword(stored.toStdString()));
}

bool SettingsStore::writePassword(const QString& password) {
    return write(setting::SmtpPassword,
                 QString::fromStdString(ObscurePassword(password.toStdString())));
}

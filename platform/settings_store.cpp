#include "platform/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>

#include "platform/page_size.h"
#include "platform/password.h"

namespace vellumo::platform {

namespace {

constexpr char kOrganisation[] = "Brackwin";
constexpr char kApplication[] = "Vellumo";
constexpr char kSection[] = "Settings";

#ifdef Q_OS_WIN
QSettings MakeSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication);
}
#else
// QSettings' native format here is an ini file under the user's configuration folder. The
// folder is looked up for every access (QSettings would fix it once per process), so the store
// follows HOME and XDG_CONFIG_HOME as they are now.
QString ConfigFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/%1/%2.conf")
               .arg(QLatin1String(kOrganisation), QLatin1String(kApplication));
}
QSettings MakeSettings() {
    return QSettings(ConfigFile(), QSettings::IniFormat);
}
#endif

// One QSettings per access: every read sees the file as it is now, also when another instance
// has written it in between.
class Section {
public:
    Section() : settings_(MakeSettings()) { settings_.beginGroup(kSection); }
    QSettings& operator*() { return settings_; }
    QSettings* operator->() { return &settings_; }

private:
    QSettings settings_;
};

// The settings file is private to the user from the first write on: a folder made here is 0700
// and the file is created 0600 before QSettings writes it; MakePrivate puts the mode back after
// every write in case the file was replaced with other permissions.
void PrepareFile(const QString& path) {
    const QString dir = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(dir) && QDir().mkpath(dir))
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
// next write: QSettings would otherwise rewrite it from the little it understood. The write then
// starts from the defaults and the user's old file is still there to look at. QSettings keeps
// parsed files in a per-process cache whose status may be stale, so the test parses a private
// copy under a name never used before.
bool IsDamaged(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0) return false;
    QTemporaryFile copy;
    if (!copy.open() || copy.write(file.readAll()) < 0 || !copy.flush()) return false;
    return QSettings(copy.fileName(), QSettings::IniFormat).status() == QSettings::FormatError;
}

void SetAsideDamagedFile(const QString& path) {
    const QString aside = path + ".damaged";
    QFile::remove(aside);
    QFile::rename(path, aside);
}

QSettings::Status WriteOnce(const char* name, const QVariant& value) {
    Section s;
    s->setValue(QString::fromLatin1(name), value);
    s->sync();
    return s->status();
}

bool Write(const char* name, const QVariant& value) {
    const QString path = SettingsStore::filePath();
    if (IsDamaged(path)) SetAsideDamagedFile(path);
    PrepareFile(path);
    const QSettings::Status status = WriteOnce(name, value);
    MakePrivate(path);
    return status == QSettings::NoError;
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
    return MakeSettings().fileName();
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

}  // namespace vellumo::platform

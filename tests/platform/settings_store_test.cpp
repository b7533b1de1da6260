#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <set>

#include "platform/page_size.h"
#include "platform/password.h"
#include "support/test_support.h"

using namespace vellumo::platform;

namespace {

std::string SettingsFile(const testsupport::IsolatedHome& home) {
    return home.path() + "/.config/Brackwin/Vellumo.conf";
}

int Mode(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 0777) : -1;
}

void ExpectEveryDefault() {
    for (const SettingDef& s : kSettingsTable) {
        SCOPED_TRACE(s.name);
        if (s.kind == SettingKind::Integer) {
            const int expected = s.printerDerived ? printerPageSize : s.intDefault;
            EXPECT_EQ(SettingsStore::read(IntSetting{s.name, s.intDefault, s.printerDerived}),
                      expected);
        } else {
            EXPECT_EQ(SettingsStore::read(TextSetting{s.name, s.textDefault}),
                      QString::fromUtf8(s.textDefault));
        }
    }
}

TEST(SettingsStore, LivesInTheBrackwinVellumoFile) {
    testsupport::IsolatedHome home;
    EXPECT_EQ(SettingsStore::filePath().toStdString(), SettingsFile(home));
}

TEST(SettingsStore, FreshUserGetsEveryDefaultAndNothingIsWritten) {
    testsupport::IsolatedHome home;
    ExpectEveryDefault();
    EXPECT_EQ(SettingsStore::read(setting::nBright), 3);
    EXPECT_EQ(SettingsStore::read(setting::Compress), 1);
    EXPECT_EQ(SettingsStore::read(setting::ViaSMTP), 1);
    EXPECT_EQ(SettingsStore::read(setting::SmtpPort), QStringLiteral("25"));
    EXPECT_EQ(SettingsStore::read(setting::WpRight), 530);
    EXPECT_EQ(SettingsStore::read(setting::WpBottom), 390);
    EXPECT_EQ(SettingsStore::readInt("wp.showCmd", -13), -13);  // the reader's own default
    EXPECT_FALSE(testsupport::fileExists(SettingsFile(home)));
}

TEST(SettingsStore, TableNamesAreUniqueAndExact) {
    std::set<std::string> names;
    for (const SettingDef& s : kSettingsTable) EXPECT_TRUE(names.insert(s.name).second) << s.name;
    EXPECT_EQ(names.size(), 40u);
    for (const char* name : {"SMTP User-id", "SMTP Email address", "wp.ptMinPosition.x",
                             "CurrentDirSave", "ActiveWnd", "LastFileType"})
        EXPECT_EQ(names.count(name), 1u) << name;
}

TEST(SettingsStore, ValuesRoundTripAndLandInTheSettingsSection) {
    testsupport::IsolatedHome home;
    ASSERT_TRUE(SettingsStore::write(setting::nType, 2));
    ASSERT_TRUE(SettingsStore::write(setting::SmtpUserId, QStringLiteral("ann, the user")));
    ASSERT_TRUE(SettingsStore::write(setting::ResBW, QStringLiteral("abc")));  // stored as typed
    ASSERT_TRUE(SettingsStore::write(setting::WpLeft, -120));
    ASSERT_TRUE(SettingsStore::writeText("CurrentDevice", QStringLiteral("test:0 \u00e9")));
    EXPECT_EQ(SettingsStore::read(setting::nType), 2);
    EXPECT_EQ(SettingsStore::read(setting::SmtpUserId), QStringLiteral("ann, the user"));
    EXPECT_EQ(SettingsStore::read(setting::ResBW), QStringLiteral("abc"));
    EXPECT_EQ(SettingsStore::read(setting::WpLeft), -120);
    EXPECT_EQ(SettingsStore::read(setting::CurrentDevice), QStringLiteral("test:0 \u00e9"));
    const std::string text = testsupport::readFile(SettingsFile(home));
    EXPECT_NE(text.find("[Settings]"), std::string::npos);
    EXPECT_NE(text.find("nType=2"), std::string::npos);
}

TEST(SettingsStore, FileIsPrivateFromTheFirstWriteOn) {
    testsupport::IsolatedHome home;
    ::umask(022);
    ASSERT_TRUE(SettingsStore::write(setting::LogFile, 1));
    EXPECT_EQ(Mode(SettingsFile(home)), 0600);
    EXPECT_EQ(Mode(home.path() + "/.config/Brackwin"), 0700);
    ASSERT_TRUE(SettingsStore::write(setting::LogFile, 0));
    EXPECT_EQ(Mode(SettingsFile(home)), 0600);
    // A file someone made readable is made private again by the next write.
    chmod(SettingsFile(home).c_str(), 0644);
    ASSERT_TRUE(SettingsStore::write(setting::Invert, 1));
    EXPECT_EQ(Mode(SettingsFile(home)), 0600);
}

TEST(SettingsStore, HandEditedOddValuesGiveDefaultsOrTheirText) {
    testsupport::IsolatedHome home;
    QDir().mkpath(QString::fromStdString(home.path() + "/.config/Brackwin"));
    testsupport::writeFile(SettingsFile(home),
                           "[Settings]\nnType=two\nnBright=4294967295\nDuplex= 1 \n"
                           "ADF=99999999999\nSMTP%20Server=mail.example.org,backup\n"
                           "Preview=\n");
    EXPECT_EQ(SettingsStore::read(setting::nType), 0);     // not a number
    EXPECT_EQ(SettingsStore::read(setting::nBright), -1);  // a 32-bit value
    EXPECT_EQ(SettingsStore::read(setting::Duplex), 1);
    EXPECT_EQ(SettingsStore::read(setting::ADF), 0);  // out of 32 bits
    EXPECT_EQ(SettingsStore::read(setting::SmtpServer), QStringLiteral("mail.example.org,backup"));
    EXPECT_EQ(SettingsStore::read(setting::Preview), 1);  // empty
}

TEST(SettingsStore, CorruptFileGivesDefaultsAndIsKeptAsideOnTheNextWrite) {
    testsupport::IsolatedHome home;
    QDir().mkpath(QString::fromStdString(home.path() + "/.config/Brackwin"));
    std::string garbage = "[Settings\n\x01\x02\xff\xfe nType=2\n=====\n[[[\n";
    for (int i = 0; i < 2000; ++i) garbage += static_cast<char>((i * 37) & 0xFF);
    testsupport::writeFile(SettingsFile(home), garbage);
    ExpectEveryDefault();
    ASSERT_TRUE(SettingsStore::write(setting::nType, 1));
    EXPECT_EQ(SettingsStore::read(setting::nType), 1);
    EXPECT_EQ(SettingsStore::read(setting::nBright), 3);
    EXPECT_EQ(Mode(SettingsFile(home)), 0600);
    // The damaged file is kept, byte for byte, beside the new one.
    EXPECT_EQ(testsupport::readFile(SettingsFile(home) + ".damaged"), garbage);
}

TEST(SettingsStore, UnwritableFolderFailsSilently) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
    testsupport::IsolatedHome home;
    chmod((home.path() + "/.config").c_str(), 0500);
    EXPECT_FALSE(SettingsStore::write(setting::nType, 2));
    EXPECT_EQ(SettingsStore::read(setting::nType), 0);
    chmod((home.path() + "/.config").c_str(), 0700);
}

TEST(SettingsStore, AnotherProcessesWriteIsSeenAtTheNextRead) {
    testsupport::IsolatedHome home;
    ASSERT_TRUE(SettingsStore::write(setting::ActiveWnd, 1234));
    EXPECT_EQ(SettingsStore::read(setting::ActiveWnd), 1234);
    // Rewrite the file behind the store's back, as a second instance would.
    testsupport::writeFile(SettingsFile(home), "[Settings]\nActiveWnd=0\n");
    EXPECT_EQ(SettingsStore::read(setting::ActiveWnd), 0);
}

TEST(SettingsStore, PageSizeReadsWithThePrinterDerivedDefault) {
    testsupport::IsolatedHome home;
    const int saved = printerPageSize;
    printerPageSize = 0;
    EXPECT_EQ(SettingsStore::read(setting::PageSize), 0);  // Letter until computed
    printerPageSize = kPageA3;
    EXPECT_EQ(SettingsStore::read(setting::PageSize), kPageA3);
    SettingsStore::write(setting::PageSize, kPageLegal);
    EXPECT_EQ(SettingsStore::read(setting::PageSize), kPageLegal);
    printerPageSize = saved;
}

TEST(SettingsStore, PasswordOf127CharactersRoundTripsIn254HexCharacters) {
    testsupport::IsolatedHome home;
    QString password;
    for (int i = 0; i < 127; ++i) password += QChar(33 + (i * 7) % 94);
    ASSERT_TRUE(SettingsStore::writePassword(password));
    const QString stored = SettingsStore::read(setting::SmtpPassword);
    EXPECT_EQ(stored.size(), 254);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]+$")).match(stored).hasMatch());
    EXPECT_EQ(SettingsStore::readPassword(), password);
    EXPECT_EQ(testsupport::readFile(SettingsFile(home)).find(password.toStdString()),
              std::string::npos);
    // A hand-damaged value reveals nothing.
    SettingsStore::write(setting::SmtpPassword, stored + QStringLiteral("Z"));
    EXPECT_EQ(SettingsStore::readPassword(), QString());
    SettingsStore::write(setting::SmtpPassword, stored + stored);  // 508 characters
    EXPECT_EQ(SettingsStore::readPassword(), QString());
}

TEST(SettingsStore, FolderOver259CharactersReadsEmptyAndIsNotStored) {
    testsupport::IsolatedHome home;
    const QString ok = QStringLiteral("/") + QString(258, QLatin1Char('d'));
    const QString tooLong = ok + QStringLiteral("x");
    ASSERT_TRUE(SettingsStore::writeFolder(setting::CurrentDir, ok));
    EXPECT_EQ(SettingsStore::readFolder(setting::CurrentDir), ok);
    EXPECT_FALSE(SettingsStore::writeFolder(setting::CurrentDir, tooLong));
    EXPECT_EQ(SettingsStore::readFolder(setting::CurrentDir), ok);  // the old one stays
    SettingsStore::write(setting::CurrentDirSave, tooLong);         // edited outside the program
    EXPECT_EQ(SettingsStore::readFolder(setting::CurrentDirSave), QString());
}

}  // namespace

// The settings store: named integer and text values in the section "Settings" of the user's
// settings for organisation "Brackwin", application "Vellumo" (on Linux
// ~/.config/Brackwin/Vellumo.conf, readable by the user alone). Every value is read where it is
// used, with its default; nothing is cached here, so another process's writes are seen at the
// next read. Failures are silent: an unreadable value gives its default, a failed write is
// dropped. This is the only code that touches QSettings.
#pragma once

#include <QString>

#include "platform/settings_table.h"

namespace vellumo::platform {

class SettingsStore {
public:
    // The stored integer, or the default when the value is missing, unreadable or not a number.
    // A stored number is taken as a 32-bit value, so 4294967295 reads as -1.
    static int readInt(const char* name, int defaultValue);
    // Stores the integer; false when the file could not be written.
    static bool writeInt(const char* name, int value);
    // The stored text, or the default when the value is missing or unreadable.
    static QString readText(const char* name, const QString& defaultValue);
    static bool writeText(const char* name, const QString& text);

    // The same through the table of settings; "PageSize" reads with the printer-derived page size
    // as its default.
    static int read(const IntSetting& s);
    static QString read(const TextSetting& s);
    static bool write(const IntSetting& s, int value) { return writeInt(s.name, value); }
    static bool write(const TextSetting& s, const QString& text) { return writeText(s.name, text); }

    // A folder value ("CurrentDir", "CurrentDirSave"): a stored folder longer than
    // kMaxFolderLength characters reads as empty, so the dialogs open in their default folder
    // instead of a cut, wrong one; writing one that long stores nothing and returns false.
    static QString readFolder(const TextSetting& s);
    static bool writeFolder(const TextSetting& s, const QString& folder);

    // The SMTP password in plain text: "SMTP Password" revealed; empty when the stored form is
    // damaged.
    static QString readPassword();
    // Stores the password in obscured form (cut to kMaxPasswordLength bytes of UTF-8).
    static bool writePassword(const QString& password);

    // The file behind the store.
    static QString filePath();
};

}  // namespace vellumo::platform

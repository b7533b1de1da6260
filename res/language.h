// The language Vellumo speaks: the user's, as the locale settings name it (LANGUAGE first, then
// LC_ALL, LC_MESSAGES and LANG), when there is a translation for it; English otherwise. The log
// stays English whatever the language: it is read by support.
#pragma once

#include <QString>
#include <functional>

namespace vellumo::res {

// The languages there are translations for, besides English.
inline constexpr const char* kTranslatedLanguages[] = {"de", "fr", "es", "it", "nl", "pt"};

// The language to speak ("de" …, or "en"), from the environment as `variable` reads it.
QString ChooseLanguage(const std::function<QString(const char* name)>& variable);
// The same from this process's environment.
QString ChooseLanguage();

// Installs the translations of `language` into the application: the program's own texts, the
// words of Qt's dialogs (buttons of message boxes, the file dialog) and the artwork with words
// on it. False for English or a language without translation (English stays).
bool InstallLanguage(const QString& language);
// The language installed last ("en" before any).
QString InstalledLanguage();

}  // namespace vellumo::res

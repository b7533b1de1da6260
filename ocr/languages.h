// The recognition languages: where Tesseract's language data lives, which languages are
// installed there, which Debian package brings a missing one, and the defaults of the settings
// "OCR" and "OCRLanguages" for this user.
#pragma once

#include <string>
#include <vector>

namespace vellumo::ocr {

// The folder the engine reads its language data from, found as Tesseract finds it:
// TESSDATA_PREFIX when set, else the folder built into the library. Ends with '/'; empty when
// the library names none.
std::string TessdataDirectory();

// The languages with data in that folder ("deu", "eng", "script/Latin" ...), sorted; the
// orientation data "osd" is not a language and is left out.
std::vector<std::string> InstalledLanguages();

// "eng+deu" as its codes. False when the text is empty or a code is not a plausible file name
// of language data (letters, digits, '_', '-', one '/' for the script folder).
bool ParseLanguages(const std::string& languages, std::vector<std::string>& codes);

// The codes of languages whose data is not installed (all of them when there is no data at all).
std::vector<std::string> MissingLanguages(const std::string& languages);

// The Debian package that installs a language's data: "deu" -> "tesseract-ocr-deu",
// "chi_sim" -> "tesseract-ocr-chi-sim", "script/Latin" -> "tesseract-ocr-script-latn".
std::string PackageForLanguage(const std::string& code);

// What the user is told once when languages are missing: "Text recognition needs the package
// tesseract-ocr-deu" (or "the packages A and B").
std::string MissingLanguagesMessage(const std::vector<std::string>& missing);

// The language code of the user's locale (LC_ALL, LC_MESSAGES, LANG): "de_DE.UTF-8" -> "deu".
// Empty for the C locale and languages Tesseract does not know.
std::string LocaleLanguage();

// The defaults of the settings: "OCR" is 1 when English or the locale's language is installed;
// "OCRLanguages" is the locale's language when installed, else English when installed, else the
// first installed language, else "eng".
int DefaultOcrSetting();
std::string DefaultOcrLanguages();

}  // namespace vellumo::ocr

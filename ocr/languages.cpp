#include "ocr/languages.h"

#include <dirent.h>
#include <sys/stat.h>
#include <tesseract/baseapi.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "ocr/engine_setup.h"

namespace vellumo::ocr {

namespace {

constexpr char kDataSuffix[] = ".traineddata";

// The folder the library was built to read, asked of the library itself: an engine that fails
// to load a language has still worked out where it looked. Only meaningful without
// TESSDATA_PREFIX, which is why the answer is kept only for that case.
std::string BuiltInDirectory() {
    static std::once_flag once;
    static std::string folder;
    std::call_once(once, [] {
        PrepareEngineLibrary();
        tesseract::TessBaseAPI probe;
        // A code that cannot be a file name: the load fails before anything is read.
        probe.Init(nullptr, "vellumo-no-such-language", tesseract::OEM_DEFAULT);
        const char* path = probe.GetDatapath();
        if (path) folder = path;
    });
    return folder;
}

bool EndsWith(const std::string& s, const char* suffix) {
    const size_t n = std::strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Adds the languages in folder (and, as Tesseract does, in its subfolders) with prefix.
void AddLanguages(const std::string& folder, const std::string& prefix, int depth,
                  std::vector<std::string>& out) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.') continue;
        const std::string path = folder + name;
        if (EndsWith(name, kDataSuffix)) {
            out.push_back(prefix + name.substr(0, name.size() - (sizeof kDataSuffix - 1)));
        } else if (depth > 0 && IsFolder(path)) {
            AddLanguages(path + "/", prefix + name + "/", depth - 1, out);
        }
    }
    closedir(dir);
}

bool PlausibleCode(const std::string& code) {
    if (code.empty() || code.size() > 64 || code.front() == '/' || code.back() == '/') return false;
    int slashes = 0;
    for (char c : code) {
        if (c == '/') {
            ++slashes;
        } else if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') {
            return false;
        }
    }
    return slashes <= 1 && code.find("..") == std::string::npos;
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The Debian package suffixes of Tesseract's script models.
struct ScriptPackage {
    const char* model;
    const char* package;
};
constexpr ScriptPackage kScripts[] = {
    {"Arabic", "arab"},
    {"Armenian", "armn"},
    {"Bengali", "beng"},
    {"Canadian_Aboriginal", "cans"},
    {"Cherokee", "cher"},
    {"Cyrillic", "cyrl"},
    {"Devanagari", "deva"},
    {"Ethiopic", "ethi"},
    {"Fraktur", "frak"},
    {"Georgian", "geor"},
    {"Greek", "grek"},
    {"Gujarati", "gujr"},
    {"Gurmukhi", "guru"},
    {"HanS", "hans"},
    {"HanS_vert", "hans-vert"},
    {"HanT", "hant"},
    {"HanT_vert", "hant-vert"},
    {"Hangul", "hang"},
    {"Hangul_vert", "hang-vert"},
    {"Hebrew", "hebr"},
    {"Japanese", "jpan"},
    {"Japanese_vert", "jpan-vert"},
    {"Kannada", "knda"},
    {"Khmer", "khmr"},
    {"Lao", "laoo"},
    {"Latin", "latn"},
    {"Malayalam", "mlym"},
    {"Myanmar", "mymr"},
    {"Oriya", "orya"},
    {"Sinhala", "sinh"},
    {"Syriac", "syrc"},
    {"Tamil", "taml"},
    {"Telugu", "telu"},
    {"Thaana", "thaa"},
    {"Thai", "thai"},
    {"Tibetan", "tibt"},
    {"Vietnamese", "viet"},
};

// Two-letter language codes of locales and the matching Tesseract language.
struct LocaleCode {
    const char* iso639_1;
    const char* tesseract;
};
constexpr LocaleCode kLocaleCodes[] = {
    {"af", "afr"}, {"am", "amh"}, {"ar", "ara"}, {"as", "asm"}, {"az", "aze"}, {"be", "bel"},
    {"bg", "bul"}, {"bn", "ben"}, {"bo", "bod"}, {"br", "bre"}, {"bs", "bos"}, {"ca", "cat"},
    {"co", "cos"}, {"cs", "ces"}, {"cy", "cym"}, {"da", "dan"}, {"de", "deu"}, {"dz", "dzo"},
    {"el", "ell"}, {"en", "eng"}, {"eo", "epo"}, {"es", "spa"}, {"et", "est"}, {"eu", "eus"},
    {"fa", "fas"}, {"fi", "fin"}, {"fo", "fao"}, {"fr", "fra"}, {"fy", "fry"}, {"ga", "gle"},
    {"gd", "gla"}, {"gl", "glg"}, {"gu", "guj"}, {"he", "heb"}, {"hi", "hin"}, {"hr", "hrv"},
    {"ht", "hat"}, {"hu", "hun"}, {"hy", "hye"}, {"id", "ind"}, {"is", "isl"}, {"it", "ita"},
    {"iu", "iku"}, {"ja", "jpn"}, {"jv", "jav"}, {"ka", "kat"}, {"kk", "kaz"}, {"km", "khm"},
    {"kn", "kan"}, {"ko", "kor"}, {"ku", "kmr"}, {"ky", "kir"}, {"la", "lat"}, {"lb", "ltz"},
    {"lo", "lao"}, {"lt", "lit"}, {"lv", "lav"}, {"mi", "mri"}, {"mk", "mkd"}, {"ml", "mal"},
    {"mn", "mon"}, {"mr", "mar"}, {"ms", "msa"}, {"mt", "mlt"}, {"my", "mya"}, {"nb", "nor"},
    {"ne", "nep"}, {"nl", "nld"}, {"nn", "nor"}, {"no", "nor"}, {"oc", "oci"}, {"or", "ori"},
    {"pa", "pan"}, {"pl", "pol"}, {"ps", "pus"}, {"pt", "por"}, {"qu", "que"}, {"ro", "ron"},
    {"ru", "rus"}, {"sa", "san"}, {"sd", "snd"}, {"si", "sin"}, {"sk", "slk"}, {"sl", "slv"},
    {"sq", "sqi"}, {"sr", "srp"}, {"su", "sun"}, {"sv", "swe"}, {"sw", "swa"}, {"ta", "tam"},
    {"te", "tel"}, {"tg", "tgk"}, {"th", "tha"}, {"ti", "tir"}, {"tl", "tgl"}, {"to", "ton"},
    {"tr", "tur"}, {"tt", "tat"}, {"ug", "uig"}, {"uk", "ukr"}, {"ur", "urd"}, {"uz", "uzb"},
    {"vi", "vie"}, {"yi", "yid"}, {"yo", "yor"},
};

bool Installed(const std::vector<std::string>& installed, const std::string& code) {
    return std::find(installed.begin(), installed.end(), code) != installed.end();
}

}  // namespace

std::string TessdataDirectory() {
    std::string folder;
    if (const char* prefix = std::getenv("TESSDATA_PREFIX"))
        folder = prefix;
    else
        folder = BuiltInDirectory();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::vector<std::string> InstalledLanguages() {
    std::vector<std::string> languages;
    const std::string folder = TessdataDirectory();
    if (!folder.empty()) AddLanguages(folder, "", 1, languages);
    languages.erase(std::remove(languages.begin(), languages.end(), "osd"), languages.end());
    std::sort(languages.begin(), languages.end());
    return languages;
}

bool ParseLanguages(const std::string& languages, std::vector<std::string>& codes) {
    codes.clear();
    size_t start = 0;
    while (start <= languages.size()) {
        const size_t plus = languages.find('+', start);
        const std::string code =
            languages.substr(start, plus == std::string::npos ? plus : plus - start);
        if (!PlausibleCode(code)) return false;
        if (std::find(codes.begin(), codes.end(), code) == codes.end()) codes.push_back(code);
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    return !codes.empty();
}

std::vector<std::string> MissingLanguages(const std::string& languages) {
    std::vector<std::string> codes;
    if (!ParseLanguages(languages, codes)) return {languages};
    const std::vector<std::string> installed = InstalledLanguages();
    std::vector<std::string> missing;
    for (const std::string& code : codes)
        if (!Installed(installed, code)) missing.push_back(code);
    return missing;
}

std::string PackageForLanguage(const std::string& code) {
    const size_t slash = code.find('/');
    if (slash != std::string::npos) {
        const std::string model = code.substr(slash + 1);
        for (const ScriptPackage& s : kScripts)
            if (model == s.model) return std::string("tesseract-ocr-script-") + s.package;
        std::string name = Lower(model);
        std::replace(name.begin(), name.end(), '_', '-');
        return "tesseract-ocr-script-" + name;
    }
    std::string name = Lower(code);
    std::replace(name.begin(), name.end(), '_', '-');
    return "tesseract-ocr-" + name;
}

std::string MissingLanguagesMessage(const std::vector<std::string>& missing) {
    if (missing.empty()) return {};
    std::vector<std::string> packages;
    for (const std::string& code : missing) {
        const std::string p = PackageForLanguage(code);
        if (std::find(packages.begin(), packages.end(), p) == packages.end()) packages.push_back(p);
    }
    if (packages.size() == 1) return "Text recognition needs the package " + packages[0];
    std::string list;
    for (size_t i = 0; i < packages.size(); ++i) {
        if (i > 0) list += i + 1 == packages.size() ? " and " : ", ";
        list += packages[i];
    }
    return "Text recognition needs the packages " + list;
}

std::string LocaleLanguage() {
    const char* value = nullptr;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(name);
        if (v && *v) {
            value = v;
            break;
        }
    }
    if (!value) return {};
    const std::string locale = value;  // language[_territory][.codeset][@modifier]
    const size_t end = locale.find_first_of("_.@");
    const std::string language = Lower(locale.substr(0, end));
    const std::string territory =
        locale.size() > end && locale[end] == '_' ? locale.substr(end + 1, 2) : "";
    const std::string modifier =
        locale.find('@') != std::string::npos ? locale.substr(locale.find('@') + 1) : "";
    if (language == "zh")
        return territory == "TW" || territory == "HK" || territory == "MO" ? "chi_tra" : "chi_sim";
    if (language == "sr" && modifier == "latin") return "srp_latn";
    if (language == "uz" && modifier == "cyrillic") return "uzb_cyrl";
    for (const LocaleCode& c : kLocaleCodes)
        if (language == c.iso639_1) return c.tesseract;
    // Locales named by three-letter codes already are Tesseract's names.
    if (language.size() == 3) return language;
    return {};
}

int DefaultOcrSetting() {
    const std::vector<std::string> installed = InstalledLanguages();
    const std::string local = LocaleLanguage();
    return Installed(installed, "eng") || (!local.empty() && Installed(installed, local)) ? 1 : 0;
}

std::string DefaultOcrLanguages() {
    const std::vector<std::string> installed = InstalledLanguages();
    const std::string local = LocaleLanguage();
    if (!local.empty() && Installed(installed, local)) return local;
    if (Installed(installed, "eng") || installed.empty()) return "eng";
    return installed.front();
}

}  // namespace vellumo::ocr

// The languages on offer: found where Tesseract looks (TESSDATA_PREFIX honoured), the package
// that brings a missing one, the locale's language and the settings' defaults that follow.
#include "ocr/languages.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ocr_checks.h"
#include "support/test_support.h"

using namespace vellumo::ocr;
using ocrtest::ScopedEnv;

namespace {

// A language data folder with the given (empty) files.
class DataFolder {
public:
    explicit DataFolder(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            const size_t slash = name.find('/');
            if (slash != std::string::npos) mkdir(dir_.file(name.substr(0, slash)).c_str(), 0700);
            testsupport::writeFile(dir_.file(name), "");
        }
    }
    const std::string& path() const { return dir_.path(); }

private:
    testsupport::TempDir dir_;
};

// The locale of the user, with nothing else set that would take precedence.
struct Locale {
    explicit Locale(const char* lang)
        : all("LC_ALL", std::nullopt), messages("LC_MESSAGES", std::nullopt), lang_("LANG", lang) {}
    ScopedEnv all, messages, lang_;
};

}  // namespace

TEST(Languages, InstalledAreFoundWhereTesseractLooks) {
    DataFolder data({"eng.traineddata", "deu.traineddata", "osd.traineddata", "notes.txt",
                     "script/Latin.traineddata"});
    ScopedEnv prefix("TESSDATA_PREFIX", data.path());
    EXPECT_EQ(TessdataDirectory(), data.path() + "/");
    EXPECT_EQ(InstalledLanguages(), (std::vector<std::string>{"deu", "eng", "script/Latin"}));
    EXPECT_TRUE(MissingLanguages("eng+deu").empty());
    EXPECT_EQ(MissingLanguages("eng+fra+spa"), (std::vector<std::string>{"fra", "spa"}));
}

TEST(Languages, WithoutAPrefixTheLibrarysOwnFolder) {
    ScopedEnv prefix("TESSDATA_PREFIX", std::nullopt);
    const std::string folder = TessdataDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    // The test machine has English installed (tools/packages/ocr.txt).
    EXPECT_TRUE(testsupport::fileExists(folder + "eng.traineddata")) << folder;
    const std::vector<std::string> installed = InstalledLanguages();
    EXPECT_NE(std::find(installed.begin(), installed.end(), "eng"), installed.end());
    EXPECT_EQ(std::find(installed.begin(), installed.end(), "osd"), installed.end());
}

TEST(Languages, NoDataAtAllMakesEveryLanguageMissing) {
    testsupport::TempDir empty;
    ScopedEnv prefix("TESSDATA_PREFIX", empty.path() + "/nothing-here");
    EXPECT_TRUE(InstalledLanguages().empty());
    EXPECT_EQ(MissingLanguages("eng"), std::vector<std::string>{"eng"});
    EXPECT_EQ(MissingLanguagesMessage(MissingLanguages("eng")),
              "Text recognition needs the package tesseract-ocr-eng");
}

TEST(Languages, SpecsAreCodesJoinedByPlus) {
    std::vector<std::string> codes;
    EXPECT_TRUE(ParseLanguages("eng+deu", codes));
    EXPECT_EQ(codes, (std::vector<std::string>{"eng", "deu"}));
    EXPECT_TRUE(ParseLanguages("deu+deu+chi_sim", codes));
    EXPECT_EQ(codes, (std::vector<std::string>{"deu", "chi_sim"}));
    EXPECT_TRUE(ParseLanguages("script/Latin", codes));
    for (const char* bad : {"", "+", "eng+", "eng++deu", "../eng", "/etc/passwd", "eng deu",
                            "a/b/c", "eng;rm", "script/"})
        EXPECT_FALSE(ParseLanguages(bad, codes)) << bad;
}

TEST(Languages, MissingOnesNameTheirPackages) {
    const std::pair<const char*, const char*> packages[] = {
        {"deu", "tesseract-ocr-deu"},
        {"chi_sim", "tesseract-ocr-chi-sim"},
        {"chi_tra_vert", "tesseract-ocr-chi-tra-vert"},
        {"script/Latin", "tesseract-ocr-script-latn"},
        {"script/HanS_vert", "tesseract-ocr-script-hans-vert"},
    };
    for (const auto& [code, package] : packages) EXPECT_EQ(PackageForLanguage(code), package);
    EXPECT_EQ(MissingLanguagesMessage({"deu", "fra"}),
              "Text recognition needs the packages tesseract-ocr-deu and tesseract-ocr-fra");
    EXPECT_EQ(MissingLanguagesMessage({"deu", "fra", "ita"}),
              "Text recognition needs the packages tesseract-ocr-deu, tesseract-ocr-fra and "
              "tesseract-ocr-ita");
    EXPECT_EQ(MissingLanguagesMessage({}), "");
}

TEST(Languages, TheLocalesLanguage) {
    const std::pair<const char*, const char*> locales[] = {{"de_DE.UTF-8", "deu"},
                                                           {"en_GB.UTF-8", "eng"},
                                                           {"fr_CA", "fra"},
                                                           {"pt_BR.UTF-8", "por"},
                                                           {"zh_CN.UTF-8", "chi_sim"},
                                                           {"zh_TW.UTF-8", "chi_tra"},
                                                           {"sr_RS@latin", "srp_latn"},
                                                           {"nb_NO.UTF-8", "nor"},
                                                           {"C", ""},
                                                           {"C.UTF-8", ""},
                                                           {"POSIX", ""},
                                                           {"xx_YY", ""}};
    for (const auto& [locale, language] : locales) {
        Locale l(locale);
        EXPECT_EQ(LocaleLanguage(), language) << locale;
    }
    Locale l("de_DE.UTF-8");
    ScopedEnv all("LC_ALL", "fr_FR.UTF-8");
    EXPECT_EQ(LocaleLanguage(), "fra");
}

TEST(Languages, SettingsDefaultsFollowWhatIsInstalled) {
    {
        DataFolder data({"deu.traineddata", "eng.traineddata"});
        ScopedEnv prefix("TESSDATA_PREFIX", data.path());
        Locale german("de_DE.UTF-8");
        EXPECT_EQ(DefaultOcrSetting(), 1);
        EXPECT_EQ(DefaultOcrLanguages(), "deu");
        Locale french("fr_FR.UTF-8");
        EXPECT_EQ(DefaultOcrSetting(), 1);  // English is there
        EXPECT_EQ(DefaultOcrLanguages(), "eng");
    }
    {
        DataFolder data({"fra.traineddata"});
        ScopedEnv prefix("TESSDATA_PREFIX", data.path());
        Locale german("de_DE.UTF-8");
        EXPECT_EQ(DefaultOcrSetting(), 0);  // neither English nor German
        EXPECT_EQ(DefaultOcrLanguages(), "fra");
        Locale french("fr_FR.UTF-8");
        EXPECT_EQ(DefaultOcrSetting(), 1);
    }
    {
        testsupport::TempDir empty;
        ScopedEnv prefix("TESSDATA_PREFIX", empty.path());
        Locale english("en_US.UTF-8");
        EXPECT_EQ(DefaultOcrSetting(), 0);
        EXPECT_EQ(DefaultOcrLanguages(), "eng");
    }
}

// CTabDocumentsDlg: the "Documents" settings page: whether PDFs get a searchable text layer and
// in which languages their text is recognised, and how scanned pages are cleaned up
// (straightened, turned upright, blank pages marked or dropped). Like the other pages it loads
// everything from the settings each time it is shown and stores everything when it is hidden.
#pragma once

#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "prefs/pref_page.h"

class QButtonGroup;
class QScrollArea;

namespace vellumo::prefs {

class CTabDocumentsDlg : public CPrefPage {
    Q_OBJECT
public:
    static constexpr int kTemplate = 280;
    static constexpr int kSearchable = 3300;
    static constexpr int kStraighten = 3310;
    static constexpr int kUpright = 3320;
    static constexpr int kBlankMark = 3330;
    static constexpr int kBlankDrop = 3331;
    static constexpr int kBlankOff = 3332;
    static constexpr int kFirstLanguage = 3400;  // the language boxes count up from here

    explicit CTabDocumentsDlg(QWidget* parent);

    bool UpdateData(bool saveAndValidate) override;
    void LoadPage() override;
    void SavePage() override;

    // The language boxes shown, in order: code and box.
    const std::vector<std::pair<std::string, CButtonST*>>& languageBoxes() const {
        return languageBoxes_;
    }

    // The page's values, as the settings of the same names.
    int OCR = 1;
    QString OCRLanguages;
    int Deskew = 1;
    int AutoRotate = 1;
    int BlankPages = 1;

private:
    // One box per installed language, and per stored language that is not installed (so that
    // it is not dropped unseen).
    void BuildLanguageBoxes();
    // A click on a language box: the last ticked one stays ticked.
    void OnLanguageClicked(CButtonST* box);

    QScrollArea* languageArea_ = nullptr;
    QButtonGroup* blankGroup_ = nullptr;
    std::vector<std::pair<std::string, CButtonST*>> languageBoxes_;
};

// "deu" -> "German (deu)"; a code without a known name stays as it is.
QString LanguageLabel(const std::string& code);

}  // namespace vellumo::prefs

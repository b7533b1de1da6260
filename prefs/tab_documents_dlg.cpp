#include "prefs/tab_documents_dlg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <algorithm>

#include "cleanup/tessdata.h"
#include "ocr/languages.h"
#include "platform/settings_store.h"
#include "widgets/dialog_units.h"

namespace vellumo::prefs {

using namespace vellumo::platform;

namespace {

struct LanguageName {
    const char* code;
    const char* name;
};
const LanguageName kLanguageNames[] = {
    {"eng", "English"},
    {"deu", "German"},
    {"fra", "French"},
    {"spa", "Spanish"},
    {"ita", "Italian"},
    {"nld", "Dutch"},
    {"por", "Portuguese"},
    {"pol", "Polish"},
    {"ces", "Czech"},
    {"dan", "Danish"},
    {"swe", "Swedish"},
    {"nor", "Norwegian"},
    {"fin", "Finnish"},
    {"rus", "Russian"},
    {"ukr", "Ukrainian"},
    {"tur", "Turkish"},
    {"ell", "Greek"},
    {"hun", "Hungarian"},
    {"ron", "Romanian"},
    {"jpn", "Japanese"},
    {"kor", "Korean"},
    {"ara", "Arabic"},
    {"heb", "Hebrew"},
    {"hin", "Hindi"},
    {"chi_sim", "Chinese (simplified)"},
    {"chi_tra", "Chinese (traditional)"},
};

std::vector<std::string> Codes(const QString& languages) {
    std::vector<std::string> codes;
    if (!ocr::ParseLanguages(languages.toStdString(), codes)) codes.clear();
    return codes;
}

}  // namespace

QString LanguageLabel(const std::string& code) {
    for (const LanguageName& known : kLanguageNames)
        if (code == known.code)
            return QStringLiteral("%1 (%2)").arg(QLatin1String(known.name),
                                                 QString::fromStdString(code));
    return QString::fromStdString(code);
}

CTabDocumentsDlg::CTabDocumentsDlg(QWidget* parent)
    : CPrefPage(kTemplate, QSize(350, 280), parent) {
    // Frames first, so that the controls inside lie above them.
    AddFrame(tr("Searchable PDFs: "), {22, 22, 276, 122});
    AddFrame(tr("Scanned pages: "), {22, 152, 276, 44});

    AddTitle(tr("Document Settings"));
    AddCheckBox(kSearchable, tr("Make PDFs searchable (recognise text)"), {28, 34, 200, 11});
    AddLabel(0, tr("Languages to recognise:"), {28, 49, 150, 9});
    languageArea_ = new QScrollArea(this);
    languageArea_->setObjectName(QStringLiteral("languages"));
    languageArea_->setGeometry(widgets::DialogUnitsToPixels(QRect(28, 60, 264, 78)));
    languageArea_->setWidgetResizable(true);
    languageArea_->setFrameShape(QFrame::NoFrame);
    ApplyControlColours(languageArea_);

    AddCheckBox(kStraighten, tr("Straighten pages"), {28, 163, 125, 11});
    AddCheckBox(kUpright, tr("Turn pages upright"), {28, 177, 125, 11});
    AddLabel(0, tr("Blank pages:"), {163, 164, 60, 9});
    blankGroup_ = new QButtonGroup(this);
    blankGroup_->addButton(AddRadio(kBlankMark, tr("Mark"), {163, 177, 47, 11}), 1);
    blankGroup_->addButton(AddRadio(kBlankDrop, tr("Drop"), {211, 177, 48, 11}), 2);
    blankGroup_->addButton(AddRadio(kBlankOff, tr("Off"), {260, 177, 34, 11}), 0);
}

void CTabDocumentsDlg::BuildLanguageBoxes() {
    std::vector<std::string> codes = ocr::InstalledLanguages();
    std::vector<std::string> missing;
    for (const std::string& stored : Codes(OCRLanguages))
        if (std::find(codes.begin(), codes.end(), stored) == codes.end()) missing.push_back(stored);
    codes.insert(codes.end(), missing.begin(), missing.end());

    auto* list = new QWidget;
    list->setFont(widgets::TemplateFont());
    auto* grid = new QGridLayout(list);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    languageBoxes_.clear();
    constexpr int kColumns = 3;
    for (size_t i = 0; i < codes.size(); ++i) {
        const bool installed = i < codes.size() - missing.size();
        QString label = LanguageLabel(codes[i]);
        if (!installed) label += tr(" - not installed");
        auto* box = new CButtonST(CButtonST::Kind::CheckBox, label, list);
        box->setObjectName(QString::number(kFirstLanguage + static_cast<int>(i)));
        box->setFont(widgets::TemplateFont());
        ApplyControlColours(box);
        connect(box, &QAbstractButton::clicked, this, [this, box] { OnLanguageClicked(box); });
        grid->addWidget(box, static_cast<int>(i) / kColumns, static_cast<int>(i) % kColumns);
        languageBoxes_.emplace_back(codes[i], box);
    }
    grid->setRowStretch(grid->rowCount(), 1);
    ApplyControlColours(list);
    // The old list goes with the area's old widget.
    languageArea_->setWidget(list);
}

void CTabDocumentsDlg::OnLanguageClicked(CButtonST* box) {
    const bool anyTicked = std::any_of(languageBoxes_.begin(), languageBoxes_.end(),
                                       [](const auto& entry) { return entry.second->isChecked(); });
    // Recognition needs a language: the last one cannot be unticked.
    if (!anyTicked) box->setChecked(true);
}

bool CTabDocumentsDlg::UpdateData(bool saveAndValidate) {
    auto* searchable = control<QAbstractButton>(kSearchable);
    auto* straighten = control<QAbstractButton>(kStraighten);
    auto* upright = control<QAbstractButton>(kUpright);
    if (saveAndValidate) {
        OCR = searchable->isChecked() ? 1 : 0;
        Deskew = straighten->isChecked() ? 1 : 0;
        AutoRotate = upright->isChecked() ? 1 : 0;
        BlankPages = std::max(0, blankGroup_->checkedId());
        // The languages in the order they were stored (the first leads), new ones after them.
        std::vector<std::string> chosen;
        for (const std::string& code : Codes(OCRLanguages))
            for (const auto& [boxCode, box] : languageBoxes_)
                if (boxCode == code && box->isChecked()) chosen.push_back(code);
        for (const auto& [code, box] : languageBoxes_)
            if (box->isChecked() && std::find(chosen.begin(), chosen.end(), code) == chosen.end())
                chosen.push_back(code);
        if (!chosen.empty()) {
            std::string joined;
            for (const std::string& code : chosen) joined += (joined.empty() ? "" : "+") + code;
            OCRLanguages = QString::fromStdString(joined);
        }
        return true;
    }
    searchable->setChecked(OCR != 0);
    straighten->setChecked(Deskew == 1);
    upright->setChecked(AutoRotate == 1);
    if (QAbstractButton* blank = blankGroup_->button(BlankPages))
        blank->setChecked(true);
    else
        blankGroup_->button(1)->setChecked(true);  // any other stored value marks
    const std::vector<std::string> stored = Codes(OCRLanguages);
    bool anyTicked = false;
    for (const auto& [code, box] : languageBoxes_) {
        const bool ticked = std::find(stored.begin(), stored.end(), code) != stored.end();
        box->setChecked(ticked);
        anyTicked = anyTicked || ticked;
    }
    if (!anyTicked && !languageBoxes_.empty()) languageBoxes_.front().second->setChecked(true);
    return true;
}

void CTabDocumentsDlg::LoadPage() {
    OCR = SettingsStore::readInt(setting::OCR.name, ocr::DefaultOcrSetting());
    OCRLanguages = SettingsStore::readText(setting::OCRLanguages.name,
                                           QString::fromStdString(ocr::DefaultOcrLanguages()));
    Deskew = SettingsStore::read(setting::Deskew);
    AutoRotate = SettingsStore::readInt(setting::AutoRotate.name,
                                        cleanup::OrientationDataInstalled() ? 1 : 0);
    BlankPages = SettingsStore::read(setting::BlankPages);
    BuildLanguageBoxes();
    UpdateData(false);
    loaded_ = true;
}

void CTabDocumentsDlg::SavePage() {
    if (!loaded_) return;
    loaded_ = false;
    UpdateData(true);
    SettingsStore::write(setting::OCR, OCR);
    SettingsStore::write(setting::OCRLanguages, OCRLanguages);
    SettingsStore::write(setting::Deskew, Deskew);
    SettingsStore::write(setting::AutoRotate, AutoRotate);
    SettingsStore::write(setting::BlankPages, BlankPages);
}

}  // namespace vellumo::prefs

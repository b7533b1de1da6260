#include "prefs/tab_general_dlg.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "platform/log.h"
#include "platform/messages.h"
#include "platform/page_size.h"
#include "platform/settings_store.h"
#include "scanning/scan_ui.h"

namespace vellumo::prefs {

using namespace vellumo::scanning;

using namespace vellumo::platform;

namespace {

struct CheckBoxItem {
    int id;
    const char* text;
    QRect du;
    int CTabGeneralDlg::*value;
};

const CheckBoxItem kOptions[] = {
    {2200,
     QT_TRANSLATE_NOOP("CTabGeneralDlg", "Show scan result before saving it"),
     {28, 161, 125, 11},
     &CTabGeneralDlg::Preview},
    {1055,
     QT_TRANSLATE_NOOP("CTabGeneralDlg", "Auto crop scanned images"),
     {28, 172, 125, 11},
     &CTabGeneralDlg::AutoCrop},
    {2763,
     QT_TRANSLATE_NOOP("CTabGeneralDlg", "Disable autofeeder"),
     {28, 183, 125, 11},
     &CTabGeneralDlg::ADF},
    {1020,
     QT_TRANSLATE_NOOP("CTabGeneralDlg", "Enable duplex scanning"),
     {28, 194, 125, 11},
     &CTabGeneralDlg::Duplex},
    {2300,
     QT_TRANSLATE_NOOP("CTabGeneralDlg", "Invert scanned image"),
     {163, 161, 124, 11},
     &CTabGeneralDlg::Invert},
    {2823,
     QT_TRANSLATE_NOOP("CTabGeneralDlg", "Compress PDF:"),
     {163, 172, 73, 11},
     &CTabGeneralDlg::Compress},
    {1078,
     QT_TRANSLATE_NOOP("CTabGeneralDlg", "Make log file"),
     {163, 183, 119, 11},
     &CTabGeneralDlg::LogFile},
};

constexpr int kResBW = 2110, kResGrey = 2120, kResColor = 2130, kComprPerc = 2824;

// Selects the button of the group whose identifier is `value`; with no such button, none.
void SetGroup(QButtonGroup* group, int value) {
    if (QAbstractButton* button = group->button(value)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) button->setChecked(false);
    group->setExclusive(true);
}

}  // namespace

CTabGeneralDlg::CTabGeneralDlg(QWidget* parent) : CPrefPage(kTemplate, QSize(350, 280), parent) {
    // Frames first, so that the controls inside lie above them.
    AddFrame(tr("Brightness: "), {21, 107, 115, 37});
    AddFrame(tr("Page size: "), {148, 107, 150, 37});
    AddFrame(tr("Options: "), {22, 151, 276, 57});

    AddTitle(tr("General Settings"));
    AddLabel(0, tr("Current TWAIN device:"), {24, 23, 76, 9});
    AddLabel(kDeviceName, QString(), {106, 23, 128, 10})
        ->setAccessibleDescription(tr("Current TWAIN device:"));
    QPushButton* select = AddPushButton(kSelectDevice, tr("&Select device"), {237, 19, 61, 15});
    select->setFont(PageFont());
    connect(select, &QPushButton::clicked, this, [this] {
        deviceChosen_ = true;
        OnSelectDevice(this, control<QLabel>(kDeviceName));
    });
    AddLabel(0, tr("Default scan parameters:"), {24, 38, 98, 8});

    typeGroup_ = new QButtonGroup(this);
    typeGroup_->addButton(AddRadio(2080, tr("Scan in black and white"), {26, 55, 106, 8}), 0);
    typeGroup_->addButton(AddRadio(2081, tr("Scan in grey scales"), {26, 68, 106, 9}), 1);
    typeGroup_->addButton(AddRadio(2082, tr("Scan in color"), {26, 83, 106, 8}), 2);

    // Each label names its field for assistive technology (and Alt+letter would reach it).
    AddLabel(0, tr("Resolution in black and white:"), {150, 55, 101, 8}, Qt::AlignRight)
        ->setBuddy(AddEdit(kResBW, {256, 53, 39, 12}));
    AddLabel(0, tr("Resolution in grey scales:"), {150, 69, 101, 8}, Qt::AlignRight)
        ->setBuddy(AddEdit(kResGrey, {256, 67, 39, 12}));
    AddLabel(0, tr("Resolution in color:"), {150, 83, 101, 8}, Qt::AlignRight)
        ->setBuddy(AddEdit(kResColor, {256, 81, 39, 12}));

    AddLabel(0, tr("Dark"), {23, 128, 27, 9});
    AddLabel(0, tr("Normal"), {66, 128, 27, 9}, Qt::AlignHCenter);
    AddLabel(0, tr("Bright"), {106, 128, 27, 9}, Qt::AlignRight);
    // 1005 is the bright end (level 0) at the right, 1011 the dark end (level 6) at the left.
    brightGroup_ = new QButtonGroup(this);
    const int brightX[] = {123, 107, 91, 75, 59, 43, 27};
    // The row's radios have no words of their own: their names say where on the row they are.
    const char* const brightNames[] = {
        QT_TR_NOOP("Brightness: brightest"), QT_TR_NOOP("Brightness: brighter"),
        QT_TR_NOOP("Brightness: bright"),    QT_TR_NOOP("Brightness: normal"),
        QT_TR_NOOP("Brightness: dark"),      QT_TR_NOOP("Brightness: darker"),
        QT_TR_NOOP("Brightness: darkest")};
    for (int level = 0; level < 7; ++level) {
        CButtonST* radio = AddRadio(1005 + level, QString(), {brightX[level], 119, 11, 8});
        radio->setAccessibleName(tr(brightNames[level]));
        brightGroup_->addButton(radio, level);
    }

    sizeGroup_ = new QButtonGroup(this);
    sizeGroup_->addButton(AddRadio(1200, tr("Letter"), {173, 117, 41, 9}), kPageLetter);
    sizeGroup_->addButton(AddRadio(1201, tr("A4"), {173, 131, 41, 8}), kPageA4);
    sizeGroup_->addButton(AddRadio(1202, tr("Legal"), {239, 117, 41, 8}), kPageLegal);
    sizeGroup_->addButton(AddRadio(1203, tr("A3"), {239, 131, 41, 8}), kPageA3);

    for (const CheckBoxItem& item : kOptions) AddCheckBox(item.id, tr(item.text), item.du);
    AddEdit(kComprPerc, {239, 172, 19, 12})->setAccessibleName(tr("PDF compression in percent"));
    AddLabel(0, QStringLiteral("%"), {262, 173, 16, 11});

    QPushButton* reset =
        AddPushButton(kReset, tr("&Reset to factory defaults"), {113, 216, 91, 15});
    connect(reset, &QPushButton::clicked, this, [this] { OnResetDefaults(); });
}

bool CTabGeneralDlg::UpdateData(bool saveAndValidate) {
    auto* bw = control<QLineEdit>(kResBW);
    auto* grey = control<QLineEdit>(kResGrey);
    auto* colour = control<QLineEdit>(kResColor);
    auto* percent = control<QLineEdit>(kComprPerc);
    if (saveAndValidate) {
        // A group with no button selected keeps the value it was loaded with.
        if (typeGroup_->checkedId() >= 0) nType = typeGroup_->checkedId();
        if (brightGroup_->checkedId() >= 0) nBright = brightGroup_->checkedId();
        if (sizeGroup_->checkedId() >= 0) PageSize = sizeGroup_->checkedId();
        for (const CheckBoxItem& item : kOptions)
            this->*item.value = control<QAbstractButton>(item.id)->isChecked() ? 1 : 0;
        resBW = bw->text();
        resGrey = grey->text();
        resColor = colour->text();
        comprPerc = percent->text();
        return true;
    }
    SetGroup(typeGroup_, nType);
    SetGroup(brightGroup_, nBright);
    SetGroup(sizeGroup_, PageSize);
    for (const CheckBoxItem& item : kOptions)
        control<QAbstractButton>(item.id)->setChecked(this->*item.value != 0);
    bw->setText(resBW);
    grey->setText(resGrey);
    colour->setText(resColor);
    percent->setText(comprPerc);
    return true;
}

void CTabGeneralDlg::LoadPage() {
    nType = SettingsStore::read(setting::nType);
    resBW = SettingsStore::read(setting::ResBW);
    resGrey = SettingsStore::read(setting::ResGrey);
    resColor = SettingsStore::read(setting::ResColor);
    comprPerc = SettingsStore::read(setting::ComprPerc);
    nBright = SettingsStore::read(setting::nBright);
    if (nBright < 0 || nBright > 6) nBright = 3;
    ComputePrinterPageSize();
    PageSize = SettingsStore::read(setting::PageSize);
    Preview = SettingsStore::read(setting::Preview);
    AutoCrop = SettingsStore::read(setting::AutoCrop);
    ADF = SettingsStore::read(setting::ADF);
    Duplex = SettingsStore::read(setting::Duplex);
    Invert = SettingsStore::read(setting::Invert);
    Compress = SettingsStore::read(setting::Compress);
    LogFile = SettingsStore::read(setting::LogFile);
    UpdateData(false);
    deviceChosen_ = false;
    loaded_ = true;
}

void CTabGeneralDlg::LoadPageLater() {
    // Finding the scanners may take seconds (network scanners): the page is usable meanwhile.
    // A scanner failure is reported there; the page keeps its other values all the same.
    QPointer<CTabGeneralDlg> page(this);
    FillCurrentDeviceNameWhenReady(control<QLabel>(kDeviceName), [page] {
        return page && page->loaded_ && !page->deviceChosen_;
    });
}

// The run of values that storing the page and the factory reset both write, in this order;
// they differ only in where "nBright", "nType" and "LogFile" go.
void CTabGeneralDlg::WriteResolutionsToCompress() {
    SettingsStore::write(setting::ResBW, resBW);
    SettingsStore::write(setting::ResGrey, resGrey);
    SettingsStore::write(setting::ResColor, resColor);
    SettingsStore::write(setting::ComprPerc, comprPerc);
    SettingsStore::write(setting::PageSize, PageSize);
    SettingsStore::write(setting::Preview, Preview);
    SettingsStore::write(setting::AutoCrop, AutoCrop);
    SettingsStore::write(setting::ADF, ADF);
    SettingsStore::write(setting::Duplex, Duplex);
    SettingsStore::write(setting::Invert, Invert);
    SettingsStore::write(setting::Compress, Compress);
}

void CTabGeneralDlg::SavePage() {
    if (!loaded_) return;
    loaded_ = false;
    UpdateData(true);
    SettingsStore::write(setting::nBright, nBright);
    SettingsStore::write(setting::nType, nType);
    WriteResolutionsToCompress();
    SettingsStore::write(setting::LogFile, LogFile);
    loggingOn = LogFile;
    // The page lies on the main dialog, which mirrors these settings.
    if (parentWidget()) PostWindowMessage(parentWidget(), msg::UM_RELOADSETTINGS);
}

void CTabGeneralDlg::OnResetDefaults() {
    nType = 0;
    resBW = QStringLiteral("300");
    resGrey = QStringLiteral("150");
    resColor = QStringLiteral("150");
    comprPerc = QStringLiteral("100");
    nBright = 3;
    Preview = 1;
    AutoCrop = 1;
    ADF = 0;
    Duplex = 0;
    Invert = 0;
    Compress = 0;
    LogFile = 0;
    PageSize = printerPageSize;
    UpdateData(false);
    WriteResolutionsToCompress();
    SettingsStore::write(setting::nBright, nBright);
    SettingsStore::write(setting::LogFile, LogFile);
    update();
}

}  // namespace vellumo::prefs

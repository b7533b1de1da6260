// The quick settings of the home view (scanning mode, brightness, page size, three options),
// the four tabs that switch between the home view and the settings view, and the host of the
// settings pages shown inside the main dialog.
#include <QApplication>
#include <QTimer>

#include "mainwnd/controls.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "widgets/bitmap_button.h"
#include "widgets/skin_button.h"

namespace vellumo::mainwnd {

using namespace vellumo::platform;
using namespace vellumo::widgets;

namespace {

constexpr int kRadioOn = 138, kRadioOff = 139;
constexpr int kToggleOn = 130, kToggleOff = 131;
constexpr int kHomeTab = id::HomeTab, kSettingsTab = id::SettingsTab, kGeneralTab = id::GeneralTab,
              kEmailTab = id::EmailTab;
constexpr int kShowPreview = id::ShowPreview, kNoFeeder = id::NoFeeder, kDuplex = id::Duplex;

// Each radio group: the button ids in the order of the values 0, 1, 2 ...
constexpr const auto& kModeIds = id::ModeRadios;
constexpr const auto& kBrightIds = id::BrightnessRadios;
constexpr const auto& kSizeIds = id::PageSizeRadios;

// The main view's list and command buttons, at home and out of sight to the right.
constexpr int kMainControls[] = {id::ScanPage, id::LoadPage, id::MailPdf, id::SavePdf};

QPoint HomeOf(int controlId) {
    const ControlPlace place = PlaceOf(controlId);
    return QPoint(place.x, place.y);
}

}  // namespace

// ---- Radios and toggles ----

void CVellumoDlg::OnRadio(int id) {
    auto value = [id](const auto& ids) {
        for (size_t i = 0; i < std::size(ids); ++i)
            if (ids[i] == id) return static_cast<int>(i);
        return -1;
    };
    if (const int v = value(kModeIds); v >= 0) {
        scanMode = v;
        DrawModeGroup();
    } else if (const int b = value(kBrightIds); b >= 0) {
        brightnessLevel = b;
        DrawBrightnessGroup();
    } else if (const int s = value(kSizeIds); s >= 0) {
        pageSize = s;
        DrawPageSizeGroup();
    }
}

namespace {

template <size_t N>
void DrawGroup(const CVellumoDlg& dialog, const int (&ids)[N], int member, bool setImages) {
    for (size_t i = 0; i < N; ++i) {
        auto* button = static_cast<CBitmapButton*>(dialog.control(ids[i]));
        if (!button) continue;
        if (setImages) button->SetBitmap(static_cast<int>(i) == member ? kRadioOn : kRadioOff);
        button->update();
    }
}

}  // namespace

void CVellumoDlg::DrawModeGroup() {
    DrawGroup(*this, kModeIds, scanMode, scanMode >= 0 && scanMode <= 2);
}

void CVellumoDlg::DrawBrightnessGroup() {
    if (brightnessLevel < 0 || brightnessLevel > 6) brightnessLevel = 3;
    DrawGroup(*this, kBrightIds, brightnessLevel, true);
}

void CVellumoDlg::DrawPageSizeGroup() {
    DrawGroup(*this, kSizeIds, pageSize, pageSize >= 0 && pageSize <= 3);
}

void CVellumoDlg::SetToggleImages() {
    const std::pair<int, int> toggles[] = {
        {kShowPreview, showPreview}, {kNoFeeder, noFeeder}, {kDuplex, duplex}};
    for (const auto& [id, member] : toggles)
        if (auto* toggle = static_cast<CBitmapButton*>(control(id)))
            toggle->SetBitmap(member == 1 ? kToggleOn : kToggleOff);
}

void CVellumoDlg::OnToggle(int id) {
    int& member = id == kShowPreview ? showPreview : id == kNoFeeder ? noFeeder : duplex;
    member = member == 0 ? 1 : 0;
    if (auto* toggle = static_cast<CBitmapButton*>(control(id)))
        toggle->SetBitmap(member == 1 ? kToggleOn : kToggleOff);
    update();
}

void CVellumoDlg::RefreshQuickSettings() {
    DrawModeGroup();
    DrawBrightnessGroup();
    DrawPageSizeGroup();
    SetToggleImages();
    update();
}

// ---- Home view and settings view ----

void CVellumoDlg::HideMainControls() {
    if (pageView_) pageView_->move(HomeOf(id::PageList) + QPoint(kOutOfSight, 0));
    for (const int controlId : kMainControls)
        if (QAbstractButton* b = control(controlId))
            b->move(HomeOf(controlId) + QPoint(kOutOfSight, 0));
}

void CVellumoDlg::RestoreMainControls() {
    if (pageView_) pageView_->move(HomeOf(id::PageList));
    for (const int controlId : kMainControls)
        if (QAbstractButton* b = control(controlId)) b->move(HomeOf(controlId));
}

void CVellumoDlg::SetTabBitmaps(int home, int settings, int general, int email) {
    const std::pair<int, int> tabs[] = {
        {kHomeTab, home}, {kSettingsTab, settings}, {kGeneralTab, general}, {kEmailTab, email}};
    for (const auto& [id, bitmap] : tabs)
        if (bitmap != 0)
            if (auto* tab = static_cast<CBitmapButton*>(control(id))) tab->SetBitmap(bitmap);
}

void CVellumoDlg::StartTimer(int id) {
    // One-shot: each timer ends as it arrives.
    QTimer::singleShot(100, this, [this, id] { OnTimer(id); });
}

void CVellumoDlg::OnTimer(int id) {
    switch (id) {
        case TIMER_RELOADQUICK:
            scanMode = SettingsStore::read(setting::nType);
            brightnessLevel = SettingsStore::read(setting::nBright);
            pageSize = SettingsStore::read(setting::PageSize);
            showPreview = SettingsStore::read(setting::Preview);
            noFeeder = SettingsStore::read(setting::ADF);
            duplex = SettingsStore::read(setting::Duplex);
            RefreshQuickSettings();
            break;
        case TIMER_LOADGENERAL:
            prefHost_.LoadPage(1);
            break;
        case TIMER_LOADEMAIL:
            prefHost_.LoadPage(2);
            break;
        default:
            break;
    }
}

void CVellumoDlg::OnTab(int id) {
    switch (id) {
        case kHomeTab:
            if (ValidateCurrentPrefPage()) {
                SendWindowMessage(this, msg::UM_SHOWPREFPAGE, static_cast<WPARAM>(-1));
                StartTimer(TIMER_RELOADQUICK);
            }
            settingsMode_ = false;
            SetTabBitmaps(290, 360, 450, 480);
            RestoreMainControls();
            break;
        case kSettingsTab:
            settingsMode_ = !settingsMode_;
            if (!settingsMode_) {
                SetTabBitmaps(290, 360, 450, 480);
                if (ValidateCurrentPrefPage())
                    SendWindowMessage(this, msg::UM_SHOWPREFPAGE, static_cast<WPARAM>(-1));
                RestoreMainControls();
            } else {
                SetTabBitmaps(300, 350, 370, 440);
                if (ValidateCurrentPrefPage()) {
                    SendWindowMessage(this, msg::UM_SHOWPREFPAGE, 1);
                    StartTimer(TIMER_LOADGENERAL);
                }
                HideMainControls();
            }
            break;
        case kGeneralTab:
        case kEmailTab: {
            if (!settingsMode_) return;  // nothing in the home view
            const bool general = id == kGeneralTab;
            SetTabBitmaps(0, 350, general ? 370 : 380, general ? 440 : 430);
            if (ValidateCurrentPrefPage()) {
                SendWindowMessage(this, msg::UM_SHOWPREFPAGE, general ? 1 : 2);
                StartTimer(general ? TIMER_LOADGENERAL : TIMER_LOADEMAIL);
            }
            HideMainControls();
            break;
        }
        default:
            return;
    }
    update();
}

// ---- The settings-page host ----

LRESULT CVellumoDlg::OnShowPrefPage(WPARAM index) {
    prefHost_.OnShowPrefPage(static_cast<int>(static_cast<intptr_t>(index)));
    return 0;
}

}  // namespace vellumo::mainwnd

// The quick settings of the home view (scanning mode, brightness, page size, three options),
// the four tabs that switch between the home view and the settings view, and the host of the
// settings pages shown inside the main dialog.
#include <QApplication>
#include <QTimer>
#include <algorithm>

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
              kEmailTab = id::EmailTab, kDocumentsTab = id::DocumentsTab;
constexpr int kShowPreview = id::ShowPreview, kNoFeeder = id::NoFeeder, kDuplex = id::Duplex;

// Each radio group: the button ids in the order of the values 0, 1, 2 ...
constexpr const auto& kModeIds = id::ModeRadios;
constexpr const auto& kBrightIds = id::BrightnessRadios;
constexpr const auto& kSizeIds = id::PageSizeRadios;

// The main view's list and command buttons, at home and out of sight to the right.
constexpr int kMainControls[] = {id::ScanPage, id::LoadPage, id::MailPdf, id::SavePdf};

// The controls only the home view shows: the command buttons and the quick settings.
bool IsHomeViewControl(int controlId) {
    auto in = [controlId](const auto& ids) {
        return std::find(std::begin(ids), std::end(ids), controlId) != std::end(ids);
    };
    return in(kMainControls) || in(kModeIds) || in(kBrightIds) || in(kSizeIds) ||
           controlId == kShowPreview || controlId == kNoFeeder || controlId == kDuplex;
}

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
        if (setImages) {
            const bool selected = static_cast<int>(i) == member;
            button->SetBitmap(selected ? kRadioOn : kRadioOff);
            // An exclusive group unchecks the others itself.
            if (selected) button->setChecked(true);
        }
        button->update();
    }
    // The Tab key stops at the selected radio only (at the first while none is).
    bool anySelected = false;
    for (const int id : ids)
        if (const QAbstractButton* button = dialog.control(id)) anySelected |= button->isChecked();
    for (size_t i = 0; i < N; ++i)
        if (QAbstractButton* button = dialog.control(ids[i]))
            button->setFocusPolicy(button->isChecked() || (!anySelected && i == 0) ? Qt::TabFocus
                                                                                   : Qt::NoFocus);
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
        if (auto* toggle = static_cast<CBitmapButton*>(control(id))) {
            toggle->SetBitmap(member == 1 ? kToggleOn : kToggleOff);
            toggle->setChecked(member == 1);
        }
}

void CVellumoDlg::OnToggle(int id) {
    int& member = id == kShowPreview ? showPreview : id == kNoFeeder ? noFeeder : duplex;
    member = member == 0 ? 1 : 0;
    if (auto* toggle = static_cast<CBitmapButton*>(control(id))) {
        toggle->SetBitmap(member == 1 ? kToggleOn : kToggleOff);
        toggle->setChecked(member == 1);
    }
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
    ShowHomeViewControls(false);
}

void CVellumoDlg::RestoreMainControls() {
    if (pageView_) pageView_->move(HomeOf(id::PageList));
    for (const int controlId : kMainControls)
        if (QAbstractButton* b = control(controlId)) b->move(HomeOf(controlId));
    ShowHomeViewControls(true);
}

void CVellumoDlg::ShowHomeViewControls(bool home) {
    // What is out of sight takes neither the focus nor a key: the list and the command buttons
    // moved away, and the quick settings under the settings page.
    // (A hidden control that had the focus passes it on.)
    if (pageView_) pageView_->setVisible(home);
    for (const auto& [controlId, button] : controls_)
        if (IsHomeViewControl(controlId)) button->setVisible(home);
    // The page tabs act only in the settings view.
    for (const int tabId : {kGeneralTab, kEmailTab, kDocumentsTab})
        if (QAbstractButton* tab = control(tabId)) tab->setEnabled(!home);
}

void CVellumoDlg::SetTabBitmaps(int home, int settings, int general, int email, int documents) {
    const std::pair<int, int> tabs[] = {{kHomeTab, home},
                                        {kSettingsTab, settings},
                                        {kGeneralTab, general},
                                        {kEmailTab, email},
                                        {kDocumentsTab, documents}};
    // The current tab (the open one for SETTINGS) reads as selected.
    auto current = [](int bitmap) {
        return bitmap == 290 || bitmap == 350 || bitmap == 370 || bitmap == 430 || bitmap == 410;
    };
    for (const auto& [id, bitmap] : tabs)
        if (bitmap != 0)
            if (auto* tab = static_cast<CBitmapButton*>(control(id))) {
                tab->SetBitmap(bitmap);
                tab->setChecked(current(bitmap));
            }
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
            prefHost_.LoadPageLater(1);
            break;
        case TIMER_LOADEMAIL:
            prefHost_.LoadPageLater(2);
            break;
        case TIMER_LOADDOCUMENTS:
            prefHost_.LoadPageLater(3);
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
            SetTabBitmaps(290, 360, 450, 480, 470);
            RestoreMainControls();
            break;
        case kSettingsTab:
            settingsMode_ = !settingsMode_;
            if (!settingsMode_) {
                SetTabBitmaps(290, 360, 450, 480, 470);
                if (ValidateCurrentPrefPage())
                    SendWindowMessage(this, msg::UM_SHOWPREFPAGE, static_cast<WPARAM>(-1));
                RestoreMainControls();
            } else {
                SetTabBitmaps(300, 350, 370, 440, 420);
                if (ValidateCurrentPrefPage()) ShowAndLoadPrefPage(1);
                HideMainControls();
            }
            break;
        case kGeneralTab:
        case kEmailTab:
        case kDocumentsTab: {
            if (!settingsMode_) return;  // nothing in the home view
            const bool general = id == kGeneralTab, email = id == kEmailTab;
            SetTabBitmaps(0, 350, general ? 370 : 380, email ? 430 : 440,
                          general || email ? 420 : 410);
            if (ValidateCurrentPrefPage()) ShowAndLoadPrefPage(general ? 1 : email ? 2 : 3);
            HideMainControls();
            break;
        }
        default:
            return;
    }
    update();
}

// ---- The settings-page host ----

void CVellumoDlg::ShowAndLoadPrefPage(int index) {
    SendWindowMessage(this, msg::UM_SHOWPREFPAGE, static_cast<WPARAM>(index));
    // The page never shows empty values, and what the user changes on it is not overwritten
    // later: it is loaded at once; only what takes time follows when the timer fires.
    prefHost_.LoadPage(index);
    StartTimer(index == 1 ? TIMER_LOADGENERAL : index == 2 ? TIMER_LOADEMAIL : TIMER_LOADDOCUMENTS);
}

LRESULT CVellumoDlg::OnShowPrefPage(WPARAM index) {
    prefHost_.OnShowPrefPage(static_cast<int>(static_cast<intptr_t>(index)));
    return 0;
}

}  // namespace vellumo::mainwnd

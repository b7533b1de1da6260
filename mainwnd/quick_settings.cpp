// The quick settings of the home view (scanning mode, brightness, page size, three options),
// the four tabs that switch between the home view and the settings view, and the host of the
// settings pages shown inside the main dialog.
#include <QApplication>
#include <QTimer>

#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "widgets/bitmap_button.h"
#include "widgets/skin_button.h"

using namespace vellumo::platform;
using namespace vellumo::widgets;

namespace {

constexpr int kRadioOn = 138, kRadioOff = 139;
constexpr int kToggleOn = 130, kToggleOff = 131;
constexpr int kHomeTab = 2830, kSettingsTab = 2860, kGeneralTab = 2870, kEmailTab = 2900;
constexpr int kShowPreview = 2200, kNoFeeder = 2763, kDuplex = 1020;

// Each radio group: the button ids in the order of the values 0, 1, 2 ...
constexpr int kModeIds[] = {2080, 2081, 2082};
constexpr int kBrightIds[] = {1005, 1006, 1007, 1008, 1009, 1010, 1011};
constexpr int kSizeIds[] = {1200, 1201, 1202, 1203};

// The main view's list and command buttons, at home and out of sight 1000 pixels to the right.
constexpr int kOutOfSight = 1000;
constexpr std::pair<int, QPoint> kMainControls[] = {
    {2050, {597, 93}}, {2040, {737, 93}}, {1092, {597, 556}}, {2030, {737, 556}}};
constexpr QPoint kListHome(276, 110);

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
    if (pageView_) pageView_->move(kListHome + QPoint(kOutOfSight, 0));
    for (const auto& [id, at] : kMainControls)
        if (QAbstractButton* b = control(id)) b->move(at + QPoint(kOutOfSight, 0));
}

void CVellumoDlg::RestoreMainControls() {
    if (pageView_) pageView_->move(kListHome);
    for (const auto& [id, at] : kMainControls)
        if (QAbstractButton* b = control(id)) b->move(at);
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
            if (prefPages_.size() > 1 && prefPages_[1].window) prefPages_[1].window->LoadPage();
            break;
        case TIMER_LOADEMAIL:
            if (prefPages_.size() > 2 && prefPages_[2].window) prefPages_[2].window->LoadPage();
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

bool CVellumoDlg::AddPrefPage(PrefPageFactory create, int templateId, const QString& caption,
                              int parentIndex) {
    // Pages join before the window is set up, never after.
    if (initialised_ || !create) return false;
    PrefPageEntry entry;
    entry.create = std::move(create);
    entry.templateId = templateId;
    entry.caption = caption;
    entry.parentIndex = parentIndex;
    prefPages_.push_back(std::move(entry));
    return true;
}

bool CVellumoDlg::ShowPrefPage(int index) {
    const int count = static_cast<int>(prefPages_.size());
    if (currentPrefPage_ >= 0 && currentPrefPage_ < count) {
        if (CSAPrefsSubDlg* shown = prefPages_[static_cast<size_t>(currentPrefPage_)].window) {
            SendWindowMessage(shown, msg::UM_SAVEPAGE, 0, 0);
            shown->hide();
        }
    }
    if (index < 0 || index >= count) return false;
    PrefPageEntry& entry = prefPages_[static_cast<size_t>(index)];
    if (!entry.window) entry.window = entry.create(this);
    if (!entry.window) return true;
    entry.window->setGeometry(prefPageFrame);
    entry.window->show();
    entry.window->raise();
    entry.window->setFocus();
    return true;
}

LRESULT CVellumoDlg::OnShowPrefPage(WPARAM index) {
    const int i = static_cast<int>(static_cast<intptr_t>(index));
    if (ShowPrefPage(i)) currentPrefPage_ = i;
    return 0;
}

bool CVellumoDlg::ValidateCurrentPrefPage() {
    if (!validatePages_) return true;
    if (currentPrefPage_ < 0 || currentPrefPage_ >= static_cast<int>(prefPages_.size()))
        return true;
    CSAPrefsSubDlg* page = prefPages_[static_cast<size_t>(currentPrefPage_)].window;
    if (!page) return true;
    if (page->UpdateData(true)) return true;
    // The page has told the user what is wrong; the focus goes back to the faulty field.
    PostWindowMessage(this, msg::UM_RESTOREFOCUS,
                      reinterpret_cast<WPARAM>(QApplication::focusWidget()));
    return false;
}

bool CVellumoDlg::CommitPrefPages() {
    for (size_t i = 0; i < prefPages_.size(); ++i) {
        CSAPrefsSubDlg* page = prefPages_[i].window;
        if (page && !page->UpdateData(true)) {
            OnShowPrefPage(i);
            return false;
        }
    }
    for (const PrefPageEntry& entry : prefPages_)
        if (entry.window) entry.window->OnOK();
    return true;
}

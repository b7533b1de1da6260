#include "prefs/pref_page_host.h"

#include <QApplication>
#include <cstdint>

#include "platform/messages.h"
#include "platform/window_message.h"
#include "prefs/tab_documents_dlg.h"
#include "prefs/tab_email_dlg.h"
#include "prefs/tab_general_dlg.h"

namespace vellumo::prefs {

using namespace vellumo::platform;

std::vector<PrefPageSpec> ProgramPrefPages() {
    return {{QStringLiteral("General"), CTabGeneralDlg::kTemplate,
             [](QWidget* parent) { return new CTabGeneralDlg(parent); }},
            {QStringLiteral("Email"), CTabEmailDlg::kTemplate,
             [](QWidget* parent) { return new CTabEmailDlg(parent); }},
            {QStringLiteral("Documents"), CTabDocumentsDlg::kTemplate,
             [](QWidget* parent) { return new CTabDocumentsDlg(parent); }}};
}

CPrefPageHost::CPrefPageHost(QWidget* owner, const QRect& frame) : owner_(owner), frame_(frame) {}

CPrefPageHost::~CPrefPageHost() {
    CancelAll();
}

bool CPrefPageHost::AddPrefPage(PrefPageFactory create, int templateId, const QString& caption,
                                int parentIndex) {
    // Pages join before the window is set up, never after.
    if (sealed_ || !create) return false;
    PrefPageEntry entry;
    entry.create = std::move(create);
    entry.templateId = templateId;
    entry.caption = caption;
    entry.parentIndex = parentIndex;
    pages_.push_back(std::move(entry));
    return true;
}

bool CPrefPageHost::ShowPrefPage(int index) {
    const int count = static_cast<int>(pages_.size());
    if (current_ >= 0 && current_ < count) {
        if (CSAPrefsSubDlg* shown = pages_[static_cast<size_t>(current_)].window) {
            SendWindowMessage(shown, msg::UM_SAVEPAGE, 0, 0);
            shown->hide();
        }
    }
    if (index < 0 || index >= count) return false;
    PrefPageEntry& entry = pages_[static_cast<size_t>(index)];
    if (!entry.window) entry.window = entry.create(owner_);
    if (!entry.window) return true;
    entry.window->setGeometry(frame_);
    entry.window->show();
    entry.window->raise();
    entry.window->setFocus();
    return true;
}

void CPrefPageHost::OnShowPrefPage(int index) {
    if (ShowPrefPage(index)) current_ = index;
}

bool CPrefPageHost::ValidateCurrentPrefPage() {
    if (!validatePages_) return true;
    if (current_ < 0 || current_ >= static_cast<int>(pages_.size())) return true;
    CSAPrefsSubDlg* page = pages_[static_cast<size_t>(current_)].window;
    if (!page) return true;
    if (page->UpdateData(true)) return true;
    // The page has told the user what is wrong; the focus goes back to the faulty field.
    PostWindowMessage(owner_, msg::UM_RESTOREFOCUS,
                      reinterpret_cast<WPARAM>(QApplication::focusWidget()));
    return false;
}

bool CPrefPageHost::CommitPrefPages() {
    for (size_t i = 0; i < pages_.size(); ++i) {
        CSAPrefsSubDlg* page = pages_[i].window;
        if (page && !page->UpdateData(true)) {
            OnShowPrefPage(static_cast<int>(i));
            return false;
        }
    }
    for (const PrefPageEntry& entry : pages_)
        if (entry.window) entry.window->OnOK();
    return true;
}

void CPrefPageHost::LoadPage(int index) {
    if (index >= 0 && index < static_cast<int>(pages_.size()))
        if (CSAPrefsSubDlg* page = pages_[static_cast<size_t>(index)].window) page->LoadPage();
}

void CPrefPageHost::LoadPageLater(int index) {
    if (index >= 0 && index < static_cast<int>(pages_.size()))
        if (CSAPrefsSubDlg* page = pages_[static_cast<size_t>(index)].window) page->LoadPageLater();
}

void CPrefPageHost::CancelAll() {
    for (PrefPageEntry& entry : pages_)
        if (entry.window) entry.window->OnCancel();
    pages_.clear();
}

}  // namespace vellumo::prefs

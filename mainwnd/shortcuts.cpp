#include "mainwnd/shortcuts.h"

#include <QAbstractButton>
#include <QShortcut>
#include <functional>

#include "mainwnd/page_commands.h"
#include "mainwnd/page_list.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"

namespace {

// Keys wait while a long operation has disabled the window or a question is open, and rest
// in the settings view, which moves the page list and the buttons out of sight.
bool KeysAccepted(const CVellumoDlg& dialog) {
    return dialog.isVisible() && dialog.isEnabled() && !dialog.settingsMode() &&
           !OtherModalWindowOpen(dialog);
}

void OnDeleteKey(CVellumoDlg& dialog) {
    CPageView* view = dialog.pageView();
    if (!KeysAccepted(dialog) || !view || !view->isVisible()) return;
    const int row = view->selectedRow();
    if (row < 0) return;
    // The page's menu entry acts on the page last chosen; the key on the selected one.
    currentItem = row;
    emit view->pageCommand(cmd::Delete);
}

void OnButtonKey(CVellumoDlg& dialog, int id) {
    const QAbstractButton* button = dialog.control(id);
    if (!KeysAccepted(dialog) || !button || !button->isVisible() || !button->isEnabled()) return;
    dialog.OnCommand(id);
}

void AddShortcut(CVellumoDlg& dialog, const QKeySequence& keys, std::function<void()> run) {
    auto* key = new QShortcut(keys, &dialog);
    // The whole window: the skin, the main dialog and every control on it.
    key->setContext(Qt::WindowShortcut);
    key->setAutoRepeat(false);
    QObject::connect(key, &QShortcut::activated, &dialog, std::move(run));
}

}  // namespace

void InstallMainShortcuts(CVellumoDlg& dialog) {
    CVellumoDlg* d = &dialog;
    AddShortcut(dialog, shortcut::DeletePage, [d] { OnDeleteKey(*d); });
    AddShortcut(dialog, shortcut::LoadPage, [d] { OnButtonKey(*d, cmd::LoadPage); });
    AddShortcut(dialog, shortcut::SavePdf, [d] { OnButtonKey(*d, cmd::SavePdf); });
}

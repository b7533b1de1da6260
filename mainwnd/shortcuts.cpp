#include "mainwnd/shortcuts.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QShortcut>

#include "mainwnd/commands.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"

namespace vellumo::mainwnd {

namespace {

// Keys wait while a long operation has disabled the window or a question is open, and rest
// in the settings view, which moves the page list and the buttons out of sight.
bool KeysAccepted(const CVellumoDlg& dialog) {
    return dialog.isVisible() && dialog.isEnabled() && !dialog.settingsMode() &&
           !OtherModalWindowOpen(dialog);
}

void OnKey(CVellumoDlg& dialog, const Command& command) {
    if (!KeysAccepted(dialog)) return;
    if (command.menuGroup != 0 && command.actsOnPage) {
        // The page's menu entry acts on the page last chosen; the key on the selected one.
        CPageView* view = dialog.pageView();
        if (!view || !view->isVisible()) return;
        const int row = view->selectedRow();
        if (row < 0) return;
        dialog.document().currentItem = row;
    } else if (command.menuGroup == 0) {
        const QAbstractButton* button = dialog.control(command.id);
        if (!button || !button->isVisible() || !button->isEnabled()) return;
    }
    dialog.OnCommand(command.id);
}

}  // namespace

void InstallMainShortcuts(CVellumoDlg& dialog) {
    CVellumoDlg* d = &dialog;
    for (const Command& command : Commands()) {
        const Command* run = &command;
        for (const QString& sequence :
             QString::fromLatin1(command.key).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            auto* key = new QShortcut(QKeySequence(sequence), &dialog);
            // The whole window: the skin, the main dialog and every control on it.
            key->setContext(Qt::WindowShortcut);
            key->setAutoRepeat(false);
            QObject::connect(key, &QShortcut::activated, &dialog, [d, run] { OnKey(*d, *run); });
        }
    }
}

}  // namespace vellumo::mainwnd

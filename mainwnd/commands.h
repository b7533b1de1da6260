// Every command of the main window in one table: its identifier, its words, its key, the
// function that runs it and when it can be chosen. The buttons, tabs and quick settings, the
// page list's menu, the keys and the files dropped on the list are all wired from this table;
// nothing else dispatches on an identifier.
#pragma once

#include <QStringList>
#include <span>

namespace vellumo::mainwnd {

class CVellumoDlg;

struct Command {
    int id;            // the control or menu entry (mainwnd/controls.h)
    const char* text;  // the words on the control or the menu entry, in English (context "Command")
    // The keys that run it, as QKeySequence reads them, separated by ";"; "" for none.
    const char* key;
    int menuGroup;  // 0: not in the page menu; else its group there, separated from the next
    void (*run)(CVellumoDlg& dialog);
    // Whether it can be chosen now; null: whenever the window takes commands.
    bool (*enabled)(const CVellumoDlg& dialog);
    // Words that change with the state ("&Undo rotate right"); null: `text`.
    QString (*label)(const CVellumoDlg& dialog) = nullptr;
    // A page-menu command acts on one page (its key on the selected page); false for those that
    // act on the whole list, which also show when no page is under the pointer.
    bool actsOnPage = true;
};

// The words of a command now: its label, else its text.
QString CommandText(const Command& command, const CVellumoDlg& dialog);

// The table, in the order of the page menu for its menu entries.
std::span<const Command> Commands();
// The command of an identifier, or nullptr.
const Command* FindCommand(int id);
// The command that takes files dropped on the page list ("LOAD PAGE").
void LoadDroppedFiles(CVellumoDlg& dialog, const QStringList& files);

}  // namespace vellumo::mainwnd

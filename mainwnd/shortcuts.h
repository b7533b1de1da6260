// Keys of the main view, from the command table: Delete deletes the selected page (after its
// question), Ctrl+O loads pages, Ctrl+S saves the pages as a PDF. Each key runs the command
// that the page's menu entry or the button runs, through the main dialog's own dispatch, and
// only when that entry or button could be chosen now: the home view shown, the main dialog
// enabled, no question open.
#pragma once

namespace vellumo::mainwnd {

class CVellumoDlg;

// Gives the dialog its keys; they act wherever the focus is in its window (the page list, a
// button, the window itself), never while a modal dialog is up.
void InstallMainShortcuts(CVellumoDlg& dialog);

}  // namespace vellumo::mainwnd

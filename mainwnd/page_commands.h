// The main dialog's commands that other modules carry out: the four page transforms of the
// page context menu (applied to the page at `currentItem`), "LOAD PAGE", "SCAN PAGE",
// "SAVE AS PDF" and "MAIL AS PDF". A module makes its command available by registering the
// function that runs it, before the main dialog is built (the program does this at start-up,
// app/). A command that nobody has registered is shown disabled: its menu entry or button is
// there but cannot be chosen, so nothing pretends to work.
#pragma once

#include <functional>

class CVellumoDlg;

namespace cmd {
// Context menu of the page list.
inline constexpr int RotateRight = 3050;  // "Rotate &right"
inline constexpr int RotateLeft = 3060;   // "Rotate &left"
inline constexpr int Invert = 3020;       // "&Invert"
inline constexpr int Mirror = 3040;       // "&Mirror"
inline constexpr int Delete = 2270;       // "&Delete"
inline constexpr int MoveUp = 3080;       // "Move &up"
inline constexpr int MoveDown = 3090;     // "Move do&wn"
// Buttons of the main view.
inline constexpr int ScanPage = 2050;
inline constexpr int LoadPage = 2040;
inline constexpr int SavePdf = 2030;
inline constexpr int MailPdf = 1092;
}  // namespace cmd

// Runs one command on behalf of the main dialog (the owner of its questions and the target of
// its posted messages).
using MainCommand = std::function<void(CVellumoDlg& dialog)>;

// Registers (or, with an empty function, withdraws) the function behind a command id.
void RegisterMainCommand(int id, MainCommand command);
// The function registered for the id; empty when there is none.
MainCommand FindMainCommand(int id);
bool HasMainCommand(int id);

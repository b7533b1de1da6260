#include "mainwnd/commands.h"

#include "document/page_list_ops.h"
#include "editing/load_page.h"
#include "editing/page_transforms.h"
#include "mainwnd/controls.h"
#include "mainwnd/vellumo_dlg.h"
#include "output/mail_pdf.h"
#include "output/save_pdf.h"
#include "scanning/twain_pro.h"

namespace vellumo::mainwnd {

namespace {

using editing::PageTransform;

template <PageTransform transform>
void Transform(CVellumoDlg& dialog) {
    editing::TransformPage(dialog.context(), transform);
}

template <int control>
void Tab(CVellumoDlg& dialog) {
    dialog.OnTab(control);
}

template <int control>
void Radio(CVellumoDlg& dialog) {
    dialog.OnRadio(control);
}

template <int control>
void Toggle(CVellumoDlg& dialog) {
    dialog.OnToggle(control);
}

// The settings view moves the page list and the command buttons out of sight: what cannot be
// seen cannot be chosen.
bool InHomeView(const CVellumoDlg& dialog) {
    return !dialog.settingsMode();
}

bool CanUndo(const CVellumoDlg& dialog) {
    return InHomeView(dialog) && dialog.document().CanUndo();
}

bool CanRedo(const CVellumoDlg& dialog) {
    return InHomeView(dialog) && dialog.document().CanRedo();
}

// "&Undo rotate right": what it would take back.
QString UndoLabel(const CVellumoDlg& dialog) {
    const std::string name = dialog.document().UndoName();
    return name.empty() ? QStringLiteral("&Undo")
                        : QStringLiteral("&Undo %1").arg(QString::fromStdString(name));
}

QString RedoLabel(const CVellumoDlg& dialog) {
    const std::string name = dialog.document().RedoName();
    return name.empty() ? QStringLiteral("&Redo")
                        : QStringLiteral("&Redo %1").arg(QString::fromStdString(name));
}

constexpr Command kCommands[] = {
    // The page list's menu, in its order.
    {id::Undo, "&Undo", "Ctrl+Z", 1, [](CVellumoDlg& d) { document::UndoPageChange(d.document()); },
     CanUndo, UndoLabel, false},
    {id::Redo, "&Redo", "Ctrl+Shift+Z;Ctrl+Y", 1,
     [](CVellumoDlg& d) { document::RedoPageChange(d.document()); }, CanRedo, RedoLabel, false},
    {id::RotateRight, "Rotate &right", "", 2, Transform<PageTransform::RotateRight>, InHomeView},
    {id::RotateLeft, "Rotate &left", "", 2, Transform<PageTransform::RotateLeft>, InHomeView},
    {id::Invert, "&Invert", "", 2, Transform<PageTransform::Invert>, InHomeView},
    {id::Mirror, "&Mirror", "", 2, Transform<PageTransform::Mirror>, InHomeView},
    {id::Delete, "&Delete", "Delete", 3,
     [](CVellumoDlg& d) { document::DeletePage(d.document(), &d); }, InHomeView},
    {id::MoveUp, "Move &up", "", 4, [](CVellumoDlg& d) { document::MovePageUp(d.document(), &d); },
     nullptr},
    {id::MoveDown, "Move do&wn", "", 4,
     [](CVellumoDlg& d) { document::MovePageDown(d.document(), &d); }, InHomeView},
    // The command buttons.
    {id::ScanPage, "SCAN PAGE", "", 0, [](CVellumoDlg& d) { scanning::OnScanPage(d.context()); },
     nullptr},
    {id::LoadPage, "LOAD PAGE", "Ctrl+O", 0,
     [](CVellumoDlg& d) { editing::OnLoadPage(d.context()); }, InHomeView},
    {id::MailPdf, "MAIL AS PDF", "", 0, [](CVellumoDlg& d) { output::OnMailAsPdf(d.context()); },
     nullptr},
    {id::SavePdf, "SAVE AS PDF", "Ctrl+S", 0,
     [](CVellumoDlg& d) { output::OnSavePdf(d.context()); }, InHomeView},
    // The window's own buttons.
    {id::About, "ABOUT", "", 0, [](CVellumoDlg& d) { d.OnAbout(); }, InHomeView},
    {id::Help, "HELP", "", 0, [](CVellumoDlg& d) { d.OnHelp(); }, InHomeView},
    {id::HelpCommand, "Help", "", 0, [](CVellumoDlg& d) { d.OnHelp(); }, InHomeView},
    {id::Minimize, "Minimize", "", 0, [](CVellumoDlg& d) { d.OnMinimize(); }, nullptr},
    {id::Exit, "Exit", "", 0, [](CVellumoDlg& d) { d.OnCancel(); }, nullptr},
    // Tabs.
    {id::HomeTab, "HOME", "", 0, Tab<id::HomeTab>, nullptr},
    {id::SettingsTab, "SETTINGS", "", 0, Tab<id::SettingsTab>, nullptr},
    {id::GeneralTab, "General", "", 0, Tab<id::GeneralTab>, nullptr},
    {id::EmailTab, "Email", "", 0, Tab<id::EmailTab>, nullptr},
    // Quick settings.
    {id::ModeRadios[0], "Scan in black and white", "", 0, Radio<id::ModeRadios[0]>, nullptr},
    {id::ModeRadios[1], "Scan in grey scales", "", 0, Radio<id::ModeRadios[1]>, nullptr},
    {id::ModeRadios[2], "Scan in color", "", 0, Radio<id::ModeRadios[2]>, nullptr},
    {id::BrightnessRadios[0], "Brightness: brightest", "", 0, Radio<id::BrightnessRadios[0]>,
     nullptr},
    {id::BrightnessRadios[1], "Brightness: brighter", "", 0, Radio<id::BrightnessRadios[1]>,
     nullptr},
    {id::BrightnessRadios[2], "Brightness: bright", "", 0, Radio<id::BrightnessRadios[2]>, nullptr},
    {id::BrightnessRadios[3], "Brightness: normal", "", 0, Radio<id::BrightnessRadios[3]>, nullptr},
    {id::BrightnessRadios[4], "Brightness: dark", "", 0, Radio<id::BrightnessRadios[4]>, nullptr},
    {id::BrightnessRadios[5], "Brightness: darker", "", 0, Radio<id::BrightnessRadios[5]>, nullptr},
    {id::BrightnessRadios[6], "Brightness: darkest", "", 0, Radio<id::BrightnessRadios[6]>,
     nullptr},
    {id::PageSizeRadios[0], "Letter", "", 0, Radio<id::PageSizeRadios[0]>, nullptr},
    {id::PageSizeRadios[1], "A4", "", 0, Radio<id::PageSizeRadios[1]>, nullptr},
    {id::PageSizeRadios[2], "Legal", "", 0, Radio<id::PageSizeRadios[2]>, nullptr},
    {id::PageSizeRadios[3], "A3", "", 0, Radio<id::PageSizeRadios[3]>, nullptr},
    {id::ShowPreview, "Show scan result before saving it", "", 0, Toggle<id::ShowPreview>, nullptr},
    {id::NoFeeder, "Disable autofeeder", "", 0, Toggle<id::NoFeeder>, nullptr},
    {id::Duplex, "Enable duplex scanning", "", 0, Toggle<id::Duplex>, nullptr},
};

}  // namespace

std::span<const Command> Commands() {
    return kCommands;
}

QString CommandText(const Command& command, const CVellumoDlg& dialog) {
    return command.label ? command.label(dialog) : QString::fromUtf8(command.text);
}

const Command* FindCommand(int controlId) {
    for (const Command& command : kCommands)
        if (command.id == controlId) return &command;
    return nullptr;
}

void LoadDroppedFiles(CVellumoDlg& dialog, const QStringList& files) {
    editing::LoadPageFiles(dialog.context(), files);
}

}  // namespace vellumo::mainwnd

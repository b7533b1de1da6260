#include "mainwnd/commands.h"

#include <QCoreApplication>

#include "document/page_list_ops.h"
#include "editing/load_page.h"
#include "editing/page_cleanup_commands.h"
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
    return name.empty() ? QCoreApplication::translate("Command", "&Undo")
                        : QCoreApplication::translate("Command", "&Undo %1")
                              .arg(QCoreApplication::translate("PageAction", name.c_str()));
}

QString RedoLabel(const CVellumoDlg& dialog) {
    const std::string name = dialog.document().RedoName();
    return name.empty() ? QCoreApplication::translate("Command", "&Redo")
                        : QCoreApplication::translate("Command", "&Redo %1")
                              .arg(QCoreApplication::translate("PageAction", name.c_str()));
}

template <cleanup::PageOrder order>
void Reorder(CVellumoDlg& dialog) {
    editing::ReorderPages(dialog.context(), order);
}

bool HasBlankPages(const CVellumoDlg& dialog) {
    return InHomeView(dialog) && editing::HasBlankPages(dialog.document());
}

constexpr Command kCommands[] = {
    // The page list's menu, in its order.
    {id::Undo, QT_TRANSLATE_NOOP("Command", "&Undo"), "Ctrl+Z", 1,
     [](CVellumoDlg& d) { document::UndoPageChange(d.document()); }, CanUndo, UndoLabel, false},
    {id::Redo, QT_TRANSLATE_NOOP("Command", "&Redo"), "Ctrl+Shift+Z;Ctrl+Y", 1,
     [](CVellumoDlg& d) { document::RedoPageChange(d.document()); }, CanRedo, RedoLabel, false},
    {id::RotateRight, QT_TRANSLATE_NOOP("Command", "Rotate &right"), "", 2,
     Transform<PageTransform::RotateRight>, InHomeView},
    {id::RotateLeft, QT_TRANSLATE_NOOP("Command", "Rotate &left"), "", 2,
     Transform<PageTransform::RotateLeft>, InHomeView},
    {id::Invert, QT_TRANSLATE_NOOP("Command", "&Invert"), "", 2, Transform<PageTransform::Invert>,
     InHomeView},
    {id::Mirror, QT_TRANSLATE_NOOP("Command", "&Mirror"), "", 2, Transform<PageTransform::Mirror>,
     InHomeView},
    {id::Delete, QT_TRANSLATE_NOOP("Command", "&Delete"), "Delete", 3,
     [](CVellumoDlg& d) { document::DeletePage(d.document(), &d); }, InHomeView},
    {id::MoveUp, QT_TRANSLATE_NOOP("Command", "Move &up"), "", 4,
     [](CVellumoDlg& d) { document::MovePageUp(d.document(), &d); }, InHomeView},
    {id::MoveDown, QT_TRANSLATE_NOOP("Command", "Move do&wn"), "", 4,
     [](CVellumoDlg& d) { document::MovePageDown(d.document(), &d); }, InHomeView},
    {id::Straighten, QT_TRANSLATE_NOOP("Command", "Straighten"), "", 5,
     [](CVellumoDlg& d) { editing::StraightenPage(d.context()); }, InHomeView},
    {id::TurnUpright, QT_TRANSLATE_NOOP("Command", "Turn upright"), "", 5,
     [](CVellumoDlg& d) { editing::TurnPageUpright(d.context()); }, InHomeView},
    // Acting on the whole list.
    {id::DeleteBlankPages, QT_TRANSLATE_NOOP("Command", "Delete blank pages"), "", 6,
     [](CVellumoDlg& d) { editing::DeleteBlankPages(d.context()); }, HasBlankPages},
    {id::Interleave, QT_TRANSLATE_NOOP("Command", "Interleave (fronts, then backs)"), "", 6,
     Reorder<cleanup::PageOrder::Interleave>, InHomeView},
    {id::InterleaveBacksReversed, QT_TRANSLATE_NOOP("Command", "Interleave, backs reversed"), "", 6,
     Reorder<cleanup::PageOrder::InterleaveBacksReversed>, InHomeView},
    {id::ReverseOrder, QT_TRANSLATE_NOOP("Command", "Reverse order"), "", 6,
     Reorder<cleanup::PageOrder::Reverse>, InHomeView},
    // The command buttons.
    {id::ScanPage, QT_TRANSLATE_NOOP("Command", "SCAN PAGE"), "", 0,
     [](CVellumoDlg& d) { scanning::OnScanPage(d.context()); }, InHomeView},
    {id::LoadPage, QT_TRANSLATE_NOOP("Command", "LOAD PAGE"), "Ctrl+O", 0,
     [](CVellumoDlg& d) { editing::OnLoadPage(d.context()); }, InHomeView},
    {id::MailPdf, QT_TRANSLATE_NOOP("Command", "MAIL AS PDF"), "", 0,
     [](CVellumoDlg& d) { output::OnMailAsPdf(d.context()); }, InHomeView},
    {id::SavePdf, QT_TRANSLATE_NOOP("Command", "SAVE AS PDF"), "Ctrl+S", 0,
     [](CVellumoDlg& d) { output::OnSavePdf(d.context()); }, InHomeView},
    // The window's own buttons.
    {id::About, QT_TRANSLATE_NOOP("Command", "ABOUT"), "", 0, [](CVellumoDlg& d) { d.OnAbout(); },
     InHomeView},
    {id::Help, QT_TRANSLATE_NOOP("Command", "HELP"), "", 0, [](CVellumoDlg& d) { d.OnHelp(); },
     InHomeView},
    {id::HelpCommand, QT_TRANSLATE_NOOP("Command", "Help"), "", 0,
     [](CVellumoDlg& d) { d.OnHelp(); }, InHomeView},
    {id::Minimize, QT_TRANSLATE_NOOP("Command", "Minimize"), "", 0,
     [](CVellumoDlg& d) { d.OnMinimize(); }, nullptr},
    {id::Exit, QT_TRANSLATE_NOOP("Command", "Exit"), "", 0, [](CVellumoDlg& d) { d.OnCancel(); },
     nullptr},
    // Tabs.
    {id::HomeTab, QT_TRANSLATE_NOOP("Command", "HOME"), "", 0, Tab<id::HomeTab>, nullptr},
    {id::SettingsTab, QT_TRANSLATE_NOOP("Command", "SETTINGS"), "", 0, Tab<id::SettingsTab>,
     nullptr},
    {id::GeneralTab, QT_TRANSLATE_NOOP("Command", "General"), "", 0, Tab<id::GeneralTab>, nullptr},
    {id::EmailTab, QT_TRANSLATE_NOOP("Command", "Email"), "", 0, Tab<id::EmailTab>, nullptr},
    {id::DocumentsTab, QT_TRANSLATE_NOOP("Command", "Documents"), "", 0, Tab<id::DocumentsTab>,
     nullptr},
    // Quick settings.
    {id::ModeRadios[0], QT_TRANSLATE_NOOP("Command", "Scan in black and white"), "", 0,
     Radio<id::ModeRadios[0]>, nullptr},
    {id::ModeRadios[1], QT_TRANSLATE_NOOP("Command", "Scan in grey scales"), "", 0,
     Radio<id::ModeRadios[1]>, nullptr},
    {id::ModeRadios[2], QT_TRANSLATE_NOOP("Command", "Scan in color"), "", 0,
     Radio<id::ModeRadios[2]>, nullptr},
    {id::BrightnessRadios[0], QT_TRANSLATE_NOOP("Command", "Brightness: brightest"), "", 0,
     Radio<id::BrightnessRadios[0]>, nullptr},
    {id::BrightnessRadios[1], QT_TRANSLATE_NOOP("Command", "Brightness: brighter"), "", 0,
     Radio<id::BrightnessRadios[1]>, nullptr},
    {id::BrightnessRadios[2], QT_TRANSLATE_NOOP("Command", "Brightness: bright"), "", 0,
     Radio<id::BrightnessRadios[2]>, nullptr},
    {id::BrightnessRadios[3], QT_TRANSLATE_NOOP("Command", "Brightness: normal"), "", 0,
     Radio<id::BrightnessRadios[3]>, nullptr},
    {id::BrightnessRadios[4], QT_TRANSLATE_NOOP("Command", "Brightness: dark"), "", 0,
     Radio<id::BrightnessRadios[4]>, nullptr},
    {id::BrightnessRadios[5], QT_TRANSLATE_NOOP("Command", "Brightness: darker"), "", 0,
     Radio<id::BrightnessRadios[5]>, nullptr},
    {id::BrightnessRadios[6], QT_TRANSLATE_NOOP("Command", "Brightness: darkest"), "", 0,
     Radio<id::BrightnessRadios[6]>, nullptr},
    {id::PageSizeRadios[0], QT_TRANSLATE_NOOP("Command", "Letter"), "", 0,
     Radio<id::PageSizeRadios[0]>, nullptr},
    {id::PageSizeRadios[1], QT_TRANSLATE_NOOP("Command", "A4"), "", 0, Radio<id::PageSizeRadios[1]>,
     nullptr},
    {id::PageSizeRadios[2], QT_TRANSLATE_NOOP("Command", "Legal"), "", 0,
     Radio<id::PageSizeRadios[2]>, nullptr},
    {id::PageSizeRadios[3], QT_TRANSLATE_NOOP("Command", "A3"), "", 0, Radio<id::PageSizeRadios[3]>,
     nullptr},
    {id::ShowPreview, QT_TRANSLATE_NOOP("Command", "Show scan result before saving it"), "", 0,
     Toggle<id::ShowPreview>, nullptr},
    {id::NoFeeder, QT_TRANSLATE_NOOP("Command", "Disable autofeeder"), "", 0, Toggle<id::NoFeeder>,
     nullptr},
    {id::Duplex, QT_TRANSLATE_NOOP("Command", "Enable duplex scanning"), "", 0, Toggle<id::Duplex>,
     nullptr},
};

}  // namespace

std::span<const Command> Commands() {
    return kCommands;
}

QString CommandText(const Command& command, const CVellumoDlg& dialog) {
    return command.label ? command.label(dialog)
                         : QCoreApplication::translate("Command", command.text);
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

// The main window's controls: every identifier the window dispatches on, and where each control
// lies. Places are pixels of the skin image, which are the main dialog's client coordinates.
// One table, read by the windows and by the artwork generator (res/artwork), which paints the
// skin and the controls' bitmaps to fit it. Plain data, no Qt, so the generator can read it too.
#pragma once

namespace vellumo::mainwnd {

// Identifiers: the program's own numbers for its controls and commands.
namespace id {
// Command buttons of the home view.
inline constexpr int ScanPage = 2050;
inline constexpr int LoadPage = 2040;
inline constexpr int MailPdf = 1092;
inline constexpr int SavePdf = 2030;
// The page list and its menu.
inline constexpr int PageList = 2920;
inline constexpr int RotateRight = 3050;
inline constexpr int RotateLeft = 3060;
inline constexpr int Invert = 3020;
inline constexpr int Mirror = 3040;
inline constexpr int Delete = 2270;
inline constexpr int MoveUp = 3080;
inline constexpr int MoveDown = 3090;
inline constexpr int Straighten = 3100;
inline constexpr int TurnUpright = 3110;
inline constexpr int DeleteBlankPages = 3120;
inline constexpr int Interleave = 3130;
inline constexpr int InterleaveBacksReversed = 3140;
inline constexpr int ReverseOrder = 3150;
inline constexpr int Undo = 3160;
inline constexpr int Redo = 3170;
// Tabs.
inline constexpr int HomeTab = 2830;
inline constexpr int SettingsTab = 2860;
inline constexpr int GeneralTab = 2870;
inline constexpr int EmailTab = 2900;
inline constexpr int DocumentsTab = 2910;
// The window's own buttons, and F1's help command.
inline constexpr int About = 1072;
inline constexpr int Help = 2930;
inline constexpr int HelpCommand = 57670;
inline constexpr int Minimize = 1105;
inline constexpr int Exit = 1071;
// Quick settings: the radio groups in the order of their values 0, 1, 2 …, and the toggles.
inline constexpr int ModeRadios[] = {2080, 2081, 2082};
inline constexpr int BrightnessRadios[] = {1005, 1006, 1007, 1008, 1009, 1010, 1011};
inline constexpr int PageSizeRadios[] = {1200, 1201, 1202, 1203};
inline constexpr int ShowPreview = 2200;
inline constexpr int NoFeeder = 2763;
inline constexpr int Duplex = 1020;
// Not a control: the page count the skin window shows.
inline constexpr int PageCount = 0;
}  // namespace id

struct ControlPlace {
    int id;
    int x, y, width, height;
};

inline constexpr int kRadioSide = 20;
inline constexpr int kToggleSide = 23;

inline constexpr ControlPlace kControlPlaces[] = {
    // Tabs of the left column.
    {id::HomeTab, 23, 93, 192, 44},
    {id::SettingsTab, 23, 137, 192, 46},
    {id::GeneralTab, 23, 183, 192, 28},
    {id::EmailTab, 23, 211, 192, 32},
    {id::DocumentsTab, 23, 243, 192, 28},
    {id::About, 27, 617, 90, 27},
    {id::Help, 127, 617, 90, 27},
    // Window buttons.
    {id::Minimize, 791, 21, 36, 36},
    {id::Exit, 836, 21, 36, 36},
    // The page list, the page count above it and the command buttons beside it.
    {id::PageCount, 320, 78, 200, 32},
    {id::PageList, 276, 110, 286, 429},
    {id::ScanPage, 597, 93, 124, 32},
    {id::LoadPage, 737, 93, 124, 32},
    {id::MailPdf, 597, 556, 124, 32},
    {id::SavePdf, 737, 556, 124, 32},
    // Quick settings. The brightness row runs from the dark end (level 6) to the bright end.
    {id::ModeRadios[0], 618, 165, kRadioSide, kRadioSide},
    {id::ModeRadios[1], 618, 189, kRadioSide, kRadioSide},
    {id::ModeRadios[2], 618, 213, kRadioSide, kRadioSide},
    {id::BrightnessRadios[6], 618, 275, kRadioSide, kRadioSide},
    {id::BrightnessRadios[5], 652, 275, kRadioSide, kRadioSide},
    {id::BrightnessRadios[4], 684, 275, kRadioSide, kRadioSide},
    {id::BrightnessRadios[3], 718, 275, kRadioSide, kRadioSide},
    {id::BrightnessRadios[2], 752, 275, kRadioSide, kRadioSide},
    {id::BrightnessRadios[1], 786, 275, kRadioSide, kRadioSide},
    {id::BrightnessRadios[0], 820, 275, kRadioSide, kRadioSide},
    {id::PageSizeRadios[0], 642, 355, kRadioSide, kRadioSide},  // Letter
    {id::PageSizeRadios[1], 642, 380, kRadioSide, kRadioSide},  // A4
    {id::PageSizeRadios[2], 762, 355, kRadioSide, kRadioSide},  // Legal
    {id::PageSizeRadios[3], 762, 380, kRadioSide, kRadioSide},  // A3
    {id::ShowPreview, 614, 444, kToggleSide, kToggleSide},
    {id::NoFeeder, 614, 466, kToggleSide, kToggleSide},
    {id::Duplex, 614, 488, kToggleSide, kToggleSide},
};

// Where a settings page is shown: over the page list and the quick settings.
inline constexpr ControlPlace kSettingsPageFrame{-1, 231, 70, 649, 530};
// How far the settings view moves the page list and the command buttons out of sight.
inline constexpr int kOutOfSight = 1000;

// The place of a control; its id is -1 (and the place empty) when the table has none.
constexpr ControlPlace PlaceOf(int controlId) {
    for (const ControlPlace& place : kControlPlaces)
        if (place.id == controlId) return place;
    return ControlPlace{-1, 0, 0, 0, 0};
}

}  // namespace vellumo::mainwnd

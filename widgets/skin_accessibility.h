// How assistive technology (screen readers, AT-SPI) sees the controls that draw themselves from
// bitmaps: the words on the bitmap are the control's text, and its role says what it is. Qt
// would call every one of them an unnamed push button.
#pragma once

class QAbstractButton;

namespace vellumo::widgets {

enum class SkinRole { PushButton, RadioButton, CheckBox, PageTab, StaticText };

// Gives a skinned control its role (a push button unless set).
void SetSkinRole(QAbstractButton* control, SkinRole role);
SkinRole SkinRoleOf(const QAbstractButton* control);

// Registers the accessible interfaces of the skinned controls with Qt (once; later calls do
// nothing). Call before the first window is shown.
void InstallSkinAccessibility();

}  // namespace vellumo::widgets

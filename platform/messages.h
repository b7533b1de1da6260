// The numbers of the window messages with fixed meanings that the program's windows post and
// send one another. The values are part of the program's interface and never change.
#pragma once

namespace vellumo::platform {

namespace msg {

inline constexpr unsigned WM_CLOSE = 0x0010;
inline constexpr unsigned WM_USER = 0x0400;
inline constexpr unsigned WM_APP = 0x8000;

// To the skin window: wParam is the page counter (pages plus one); the skin shows the count.
inline constexpr unsigned UM_PAGECOUNT = WM_USER + 3;
// To a settings page: store the page's values before it is hidden.
inline constexpr unsigned UM_SAVEPAGE = WM_USER + 4;
// To the skin window: minimise the whole window.
inline constexpr unsigned UM_MINIMIZE = WM_USER + 6;
// To the main dialog: re-read every mirrored setting.
inline constexpr unsigned UM_RELOADSETTINGS = WM_USER + 10;
// To the main dialog: the acquisition has ended.
inline constexpr unsigned UM_SCANFINISHED = WM_USER + 62;
// To the main dialog: the user cancelled an SMTP transfer.
inline constexpr unsigned UM_SMTPCANCELLED = WM_USER + 63;
// To the main dialog: show settings page wParam (-1 hides).
inline constexpr unsigned UM_SHOWPREFPAGE = WM_APP + 100;
// To the main dialog: give the focus back to window wParam.
inline constexpr unsigned UM_RESTOREFOCUS = WM_APP + 101;

}  // namespace msg

}  // namespace vellumo::platform

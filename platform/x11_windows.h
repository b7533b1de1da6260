// The top-level windows of the X11 display and how another program's window is asked to close
// (what the single-instance rule needs). Off X11 (offscreen, Wayland) there are no windows to
// find.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace vellumo::platform {

struct TopLevelWindow {
    uint32_t id = 0;
    std::string title;  // UTF-8 (_NET_WM_NAME, else WM_NAME)
};

// The display's top-level client windows: the window manager's _NET_CLIENT_LIST when it keeps
// one, else the root window's children (for a frame without a title, its titled children).
std::vector<TopLevelWindow> ListTopLevelWindows(xcb_connection_t* connection);
// Sends the window a WM_DELETE_WINDOW request, as a window manager's close button does, and
// waits until the server has taken it. False when the request could not be sent.
bool RequestWindowClose(xcb_connection_t* connection, uint32_t window);

// The X11 connection of the running Qt application; nullptr off X11.
xcb_connection_t* ApplicationX11Connection();

// True for a window of another running copy of the program: a non-empty title (its first 259
// characters) that begins with "Vellumo" in any case and contains "Brackwin" exactly.
bool TitleMarksRunningInstance(const std::string& title);

}  // namespace vellumo::platform

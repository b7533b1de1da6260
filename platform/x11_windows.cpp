#include "platform/x11_windows.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vellumo::platform {

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::string TextProperty(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property,
                         xcb_atom_t type) {
    if (property == XCB_ATOM_NONE) return {};
    XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 1024), nullptr));
    if (!reply || reply->format != 8) return {};
    const int length = xcb_get_property_value_length(reply.get());
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<size_t>(length));
}

struct Atoms {
    explicit Atoms(xcb_connection_t* c)
        : netWmName(Atom(c, "_NET_WM_NAME")),
          utf8(Atom(c, "UTF8_STRING")),
          clientList(Atom(c, "_NET_CLIENT_LIST")) {}
    xcb_atom_t netWmName, utf8, clientList;
};

std::string Title(xcb_connection_t* c, const Atoms& atoms, xcb_window_t w) {
    std::string title = TextProperty(c, w, atoms.netWmName, atoms.utf8);
    if (title.empty()) title = TextProperty(c, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY);
    return title;
}

std::vector<xcb_window_t> Children(xcb_connection_t* c, xcb_window_t w) {
    XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr));
    if (!tree) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return std::vector<xcb_window_t>(children,
                                     children + xcb_query_tree_children_length(tree.get()));
}

}  // namespace

std::vector<TopLevelWindow> ListTopLevelWindows(xcb_connection_t* c) {
    std::vector<TopLevelWindow> windows;
    if (!c || xcb_connection_has_error(c)) return windows;
    const xcb_setup_t* setup = xcb_get_setup(c);
    const Atoms atoms(c);
    for (xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup); it.rem; xcb_screen_next(&it)) {
        const xcb_window_t root = it.data->root;
        XcbReply<xcb_get_property_reply_t> list(xcb_get_property_reply(
            c, xcb_get_property(c, 0, root, atoms.clientList, XCB_ATOM_WINDOW, 0, 65536), nullptr));
        if (atoms.clientList != XCB_ATOM_NONE && list && list->format == 32 &&
            xcb_get_property_value_length(list.get()) > 0) {
            const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(list.get()));
            const int count = xcb_get_property_value_length(list.get()) / 4;
            for (int i = 0; i < count; ++i) windows.push_back({ids[i], Title(c, atoms, ids[i])});
            continue;
        }
        for (xcb_window_t w : Children(c, root)) {
            std::string title = Title(c, atoms, w);
            if (!title.empty()) {
                windows.push_back({w, title});
                continue;
            }
            // A window manager's frame: the client window with the title is inside it.
            bool found = false;
            for (xcb_window_t inner : Children(c, w)) {
                std::string innerTitle = Title(c, atoms, inner);
                if (innerTitle.empty()) continue;
                windows.push_back({inner, innerTitle});
                found = true;
            }
            if (!found) windows.push_back({w, {}});
        }
    }
    return windows;
}

bool RequestWindowClose(xcb_connection_t* c, uint32_t window) {
    if (!c || xcb_connection_has_error(c) || window == 0) return false;
    const xcb_atom_t protocols = Atom(c, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = Atom(c, "WM_DELETE_WINDOW");
    if (protocols == XCB_ATOM_NONE || deleteWindow == XCB_ATOM_NONE) return false;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = protocols;
    event.data.data32[0] = deleteWindow;
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_void_cookie_t cookie = xcb_send_event_checked(c, 0, window, XCB_EVENT_MASK_NO_EVENT,
                                                      reinterpret_cast<const char*>(&event));
    // Checked, so a window that no longer exists is reported here instead of as a stray error.
    XcbReply<xcb_generic_error_t> error(xcb_request_check(c, cookie));
    return !error;
}

xcb_connection_t* ApplicationX11Connection() {
    auto* app = qGuiApp;
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

bool TitleMarksRunningInstance(const std::string& fullTitle) {
    static constexpr char kProduct[] = "Vellumo";
    static constexpr size_t kProductLength = sizeof kProduct - 1;
    const std::string title = fullTitle.substr(0, 259);
    if (title.size() < kProductLength) return false;
    for (size_t i = 0; i < kProductLength; ++i) {
        if (std::tolower(static_cast<unsigned char>(title[i])) !=
            std::tolower(static_cast<unsigned char>(kProduct[i])))
            return false;
    }
    return title.find("Brackwin") != std::string::npos;
}

}  // namespace vellumo::platform

#include "platform/x11_windows.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

using namespace vellumo::platform;

namespace {

TEST(InstanceTitle, ProductWordAnyCaseThenMakerWordExactly) {
    EXPECT_TRUE(TitleMarksRunningInstance("VELLUMO scanner Brackwin"));
    EXPECT_TRUE(TitleMarksRunningInstance("vellumo - Brackwin"));
    EXPECT_TRUE(TitleMarksRunningInstance("VellumoBrackwin"));
    EXPECT_FALSE(TitleMarksRunningInstance("Vellumo"));               // the program's own windows
    EXPECT_FALSE(TitleMarksRunningInstance("Vellumo by BRACKWIN"));   // maker word with case
    EXPECT_FALSE(TitleMarksRunningInstance("The Vellumo Brackwin"));  // must begin with it
    EXPECT_FALSE(TitleMarksRunningInstance("Vellum Brackwin"));
    EXPECT_FALSE(TitleMarksRunningInstance(""));
    // Only the first 259 characters of a title are looked at.
    EXPECT_TRUE(TitleMarksRunningInstance("Vellumo" + std::string(244, ' ') + "Brackwin"));
    EXPECT_FALSE(TitleMarksRunningInstance("Vellumo" + std::string(245, ' ') + "Brackwin"));
}

TEST(X11Windows, OffX11ThereIsNothingToFind) {
    // The tests run on the offscreen platform.
    EXPECT_EQ(ApplicationX11Connection(), nullptr);
    EXPECT_TRUE(ListTopLevelWindows(nullptr).empty());
    EXPECT_FALSE(RequestWindowClose(nullptr, 1));
}

struct Disconnect {
    void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};

TEST(X11Windows, ListsTitledWindowsAndAsksThemToClose) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no X display";
    std::unique_ptr<xcb_connection_t, Disconnect> c(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(c.get())) GTEST_SKIP() << "no X server at " << display;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c.get())).data;
    const xcb_window_t w = xcb_generate_id(c.get());
    xcb_create_window(c.get(), XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 50, 50, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    const std::string title = "VELLUMO list test Brackwin \xC3\xA9";
    const auto intern = [&](const char* name) {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> r(
            xcb_intern_atom_reply(c.get(), xcb_intern_atom(c.get(), 0, std::strlen(name), name),
                                  nullptr),
            &std::free);
        return r ? r->atom : 0u;
    };
    xcb_change_property(c.get(), XCB_PROP_MODE_REPLACE, w, intern("_NET_WM_NAME"),
                        intern("UTF8_STRING"), 8, title.size(), title.data());
    xcb_flush(c.get());

    bool listed = false;
    for (const TopLevelWindow& t : ListTopLevelWindows(c.get()))
        if (t.id == w) listed = t.title == title;
    EXPECT_TRUE(listed);

    ASSERT_TRUE(RequestWindowClose(c.get(), w));
    // The request arrives at the window's owner, this connection, as WM_DELETE_WINDOW.
    bool gotDelete = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!gotDelete && std::chrono::steady_clock::now() < deadline) {
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> e(xcb_poll_for_event(c.get()),
                                                                     &std::free);
        if (!e) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        if ((e->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            auto* m = reinterpret_cast<xcb_client_message_event_t*>(e.get());
            gotDelete = m->window == w && m->type == intern("WM_PROTOCOLS") &&
                        m->data.data32[0] == intern("WM_DELETE_WINDOW");
        }
    }
    EXPECT_TRUE(gotDelete);
    xcb_destroy_window(c.get(), w);
    xcb_flush(c.get());
    // A window that is gone cannot be asked.
    EXPECT_FALSE(RequestWindowClose(c.get(), w));
}

}  // namespace

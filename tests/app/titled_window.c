/* Test helper: shows one X11 top-level window with the title given as its argument, prints the
 * window's id on standard output, and exits with 0 when it is asked to close (WM_DELETE_WINDOW).
 * Exits with 2 when nobody asks within the number of seconds given second (default 30). */
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <xcb/xcb.h>

static xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, (uint16_t)strlen(name), name), NULL);
    xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
    free(r);
    return a;
}

int main(int argc, char** argv) {
    if (argc < 2) return 64;
    const int seconds = argc > 2 ? atoi(argv[2]) : 30;
    xcb_connection_t* c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c)) return 3;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_window_t w = xcb_generate_id(c);
    uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 10, 10, 160, 60, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    const char* title = argv[1];
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        (uint32_t)strlen(title), title);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_WM_NAME"),
                        atom(c, "UTF8_STRING"), 8, (uint32_t)strlen(title), title);
    const xcb_atom_t protocols = atom(c, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = atom(c, "WM_DELETE_WINDOW");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, protocols, XCB_ATOM_ATOM, 32, 1,
                        &deleteWindow);
    xcb_map_window(c, w);
    xcb_flush(c);
    /* The window exists on the server once this round trip is back. */
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), NULL));
    printf("%u\n", (unsigned)w);
    fflush(stdout);

    const time_t end = time(NULL) + seconds;
    struct pollfd pfd = {xcb_get_file_descriptor(c), POLLIN, 0};
    while (time(NULL) < end) {
        xcb_generic_event_t* e;
        while ((e = xcb_poll_for_event(c)) != NULL) {
            if ((e->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                xcb_client_message_event_t* m = (xcb_client_message_event_t*)e;
                if (m->type == protocols && m->data.data32[0] == deleteWindow) {
                    free(e);
                    xcb_disconnect(c);
                    return 0;
                }
            }
            free(e);
        }
        if (xcb_connection_has_error(c)) return 4;
        poll(&pfd, 1, 200);
    }
    xcb_disconnect(c);
    return 2;
}

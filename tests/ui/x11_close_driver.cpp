// Finds a window by its caption on the X display in DISPLAY, waits until it
// is on screen, and asks it to close the way a window manager does when the
// user clicks the close box (WM_DELETE_WINDOW).
//
//   x11_close_driver TITLE
//
// Exit status 0 when the window was found on screen and the request went
// out; 1 when no such window showed within 30 seconds.
#include <xcb/xcb.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

std::string Caption(xcb_connection_t* c, xcb_window_t window) {
    ReplyPtr<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                               nullptr),
        &std::free);
    if (!reply) return {};
    return {static_cast<const char*>(xcb_get_property_value(reply.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
}

bool Viewable(xcb_connection_t* c, xcb_window_t window) {
    ReplyPtr<xcb_get_window_attributes_reply_t> reply(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr), &std::free);
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

xcb_window_t FindUnder(xcb_connection_t* c, xcb_window_t parent, const std::string& caption) {
    ReplyPtr<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, parent), nullptr), &std::free);
    if (!tree) return XCB_NONE;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        if (Caption(c, children[i]) == caption && Viewable(c, children[i])) return children[i];
        if (xcb_window_t found = FindUnder(c, children[i], caption); found != XCB_NONE) return found;
    }
    return XCB_NONE;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : XCB_NONE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: x11_close_driver TITLE\n");
        return 2;
    }
    const std::string title = argv[1];
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) != 0) {
        std::fprintf(stderr, "x11: cannot connect to the X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;

    xcb_window_t window = XCB_NONE;
    for (int tenth = 0; tenth < 300 && window == XCB_NONE; ++tenth) {
        window = FindUnder(c, root, title);
        if (window == XCB_NONE) usleep(100000);
    }
    if (window == XCB_NONE) {
        std::fprintf(stderr, "x11: no window captioned \"%s\" showed on the X display\n", title.c_str());
        return 1;
    }
    std::printf("x11: the window \"%s\" is on screen on the X display\n", title.c_str());
    // A moment for the program to settle, as a user would take.
    usleep(500000);

    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom(c, "WM_PROTOCOLS");
    event.data.data32[0] = Atom(c, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    ReplyPtr<xcb_generic_error_t> error(
        xcb_request_check(
            c, xcb_send_event_checked(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event))),
        &std::free);
    if (error) {
        std::fprintf(stderr, "x11: the close request failed with X error %d\n", error->error_code);
        return 1;
    }
    std::printf("x11: sent the close request to 0x%x\n", window);
    xcb_disconnect(c);
    return 0;
}

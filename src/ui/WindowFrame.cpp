#include "WindowFrame.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#if defined(LEXIGROVE_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#define LEXIGROVE_ASK_X11 1
#endif

namespace lexigrove {

#ifdef LEXIGROVE_ASK_X11
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The 32-bit values of a property, or nothing.
Reply<xcb_get_property_reply_t> Property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                                         xcb_atom_t type, std::uint32_t count) {
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, property, type, 0, count), nullptr));
    if (reply && reply->format != 32) reply.reset();
    return reply;
}

}  // namespace
#endif

std::optional<QMargins> AskFrameExtents(QWidget* window, int timeoutMs) {
#ifdef LEXIGROVE_ASK_X11
    if (window == nullptr || window->isVisible() || QGuiApplication::platformName() != QLatin1String("xcb"))
        return std::nullopt;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) return std::nullopt;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;

    // Only a window manager that says it answers is asked.
    const xcb_atom_t request = Atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = Atom(connection, "_NET_FRAME_EXTENTS");
    const auto supported = Property(connection, root, Atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 4096);
    if (request == XCB_ATOM_NONE || extents == XCB_ATOM_NONE || !supported) return std::nullopt;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
    const int atomCount = xcb_get_property_value_length(supported.get()) / 4;
    if (std::find(atoms, atoms + atomCount, request) == atoms + atomCount) return std::nullopt;

    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);

    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const auto reply = Property(connection, id, extents, XCB_ATOM_CARDINAL, 4);
        if (reply && xcb_get_property_value_length(reply.get()) == 16) {
            const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
            // Left, right, top, bottom.
            return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                            static_cast<int>(v[3]));
        }
        if (waited.elapsed() >= timeoutMs) return std::nullopt;
        QThread::msleep(5);
    }
#else
    (void)window;
    (void)timeoutMs;
    return std::nullopt;
#endif
}

}  // namespace lexigrove

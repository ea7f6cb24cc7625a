#include "WindowPlacement.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "AboutDlg.h"

#if defined(LEXIGROVE_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#define LEXIGROVE_ASK_X11 1
#endif

namespace lexigrove {
namespace {

// How long the windows wait for the window manager to tell their frame
// before they are first shown, in ms.
constexpr int kFrameAnswerWait = 250;
// How long a window manager may take to frame a window just shown, in ms.
constexpr int kFrameWait = 3000;

#ifdef LEXIGROVE_ASK_X11

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

#endif

// Asks the window manager for the frame it will put around `window`, which
// must not be shown yet, and waits at most `timeoutMs` for the answer. Only
// an X11 window manager that offers _NET_REQUEST_FRAME_EXTENTS answers;
// elsewhere the result is empty at once. Asking creates the native window,
// after which QWidget::move places the client area, not the frame.
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

// Places a top-level widget so that its outer rectangle, with a frame of
// `frame` around the client area, starts at `outer`. Before the native window
// exists QWidget::move places the frame; afterwards, until the window
// manager has framed the window, it places the client area.
void PlaceOuterAt(QWidget& window, QPoint outer, const QMargins& frame) {
    if (window.testAttribute(Qt::WA_WState_Created)) outer += QPoint(frame.left(), frame.top());
    window.move(outer);
}

void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(CentredOn(screen, window.frameGeometry().size()));
}

// Centres a window just shown again as soon as its frame is known. Qt
// learns the frame from the window manager's reparenting and frame extents,
// and reports it with the move or resize that follows, which comes before
// the window is first painted when the window manager tells the extents
// early. Without a window manager no frame comes; the window stays where it
// is.
class CentreOnceFramed : public QObject {
public:
    explicit CentreOnceFramed(QWidget& window) : QObject(&window), window_(window) {
        window.installEventFilter(this);
        QTimer::singleShot(kFrameWait, this, [this] { deleteLater(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && !done_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
            window_.frameGeometry().size() != window_.size()) {
            done_ = true;
            CentreOnScreen(window_);
            deleteLater();
        }
        return false;
    }

private:
    QWidget& window_;
    bool done_ = false;
};

}  // namespace

QPoint CentredOn(const QScreen* screen, QSize outer) {
    const QRect area = screen->geometry();
    return {area.x() + std::max(0, (area.width() - outer.width()) / 2),
            area.y() + std::max(0, (area.height() - outer.height()) / 2)};
}

void ShowCentred(QWidget& window) {
    // Where the window manager tells the frame beforehand, the window shows
    // in its place at once.
    const QMargins frame = AskFrameExtents(&window, kFrameAnswerWait).value_or(QMargins());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        PlaceOuterAt(window, CentredOn(screen, window.size().grownBy(frame)), frame);
    new CentreOnceFramed(window);
    window.show();
}

QPoint AboutWindowPlace(const QRect& main, const QSize& about) {
    return {main.left() + main.width() / 2 - about.width() / 2, main.top() + main.height() / 2 - about.height() / 2};
}

void PlaceAboutWindow(const QWidget& main, TFrmAbout& about) {
    // The About window's frame as the window manager tells it, else one like
    // the main window's: the client area is sized for it, and sized again
    // once the window's own frame is known.
    const QRect outer = main.frameGeometry();
    const QRect inner = main.geometry();
    const QMargins frame = AskFrameExtents(&about, kFrameAnswerWait)
                               .value_or(QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                                                  outer.right() - inner.right(), outer.bottom() - inner.bottom()));
    PlaceOuterAt(about, AboutWindowPlace(outer, TFrmAbout::kOuterSize), frame);
    about.FitOuterSizeFor(frame);
}

}  // namespace lexigrove

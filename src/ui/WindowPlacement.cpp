#include "WindowPlacement.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

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

#ifdef LEXIGROVE_ASK_X11
xcb_connection_t* X11Connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

// The frame extents the window manager has set on window `id`, in device
// pixels, if it has.
std::optional<QMargins> FrameExtents(xcb_connection_t* connection, xcb_window_t id, xcb_atom_t extents) {
    const auto reply = Property(connection, id, extents, XCB_ATOM_CARDINAL, 4);
    if (!reply || xcb_get_property_value_length(reply.get()) != 16) return std::nullopt;
    const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    // Left, right, top, bottom.
    return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]), static_cast<int>(v[3]));
}
#endif

// Asks the window manager for the frame it will put around `window`, which
// must not be shown yet, and waits at most `timeoutMs` for the answer, in
// device pixels. Only an X11 window manager that offers
// _NET_REQUEST_FRAME_EXTENTS answers; elsewhere the result is empty at once.
// Asking creates the native window, after which QWidget::move places the
// client area, not the frame.
std::optional<QMargins> AskFrameExtents(QWidget* window, int timeoutMs) {
#ifdef LEXIGROVE_ASK_X11
    xcb_connection_t* connection = X11Connection();
    if (window == nullptr || window->isVisible() || connection == nullptr) return std::nullopt;
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
        if (auto frame = FrameExtents(connection, id, extents)) return frame;
        if (waited.elapsed() >= timeoutMs) return std::nullopt;
        QThread::msleep(5);
    }
#else
    (void)window;
    (void)timeoutMs;
    return std::nullopt;
#endif
}

// A frame the window manager measured in device pixels, in `window`'s
// logical pixels: at a scale of 1.5 a border of one device pixel is two
// thirds of a logical one.
QMarginsF Logical(const QMargins& device, const QWidget& window) {
    return QMarginsF(device) / window.devicePixelRatioF();
}

// Half of a length, the remainder below one device pixel dropped: at scale
// 1 the integer halving of the window arithmetic.
qreal Half(qreal length, qreal ratio) { return std::floor(length * ratio / 2) / ratio; }

// Places a top-level widget so that its outer rectangle, with a frame of
// `frame` around the client area, starts at `outer`, to the nearest logical
// pixel. Before the native window exists QWidget::move places the frame
// (and no frame is known); afterwards it places the client area with the
// frame Qt knows, which is none until the window manager has framed the
// window, and rounded to logical pixels after.
void PlaceOuterAt(QWidget& window, QPointF outer, const QMarginsF& frame) {
    if (!window.testAttribute(Qt::WA_WState_Created)) {
        window.move(outer.toPoint());
        return;
    }
    const QPoint client = (outer + QPointF(frame.left(), frame.top())).toPoint();
    window.move(client - (window.geometry().topLeft() - window.pos()));
}

void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QMarginsF frame = FrameOf(window);
        PlaceOuterAt(window, CentredOn(screen, QSizeF(window.size()).grownBy(frame), window.devicePixelRatioF()),
                     frame);
    }
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

QPointF CentredOn(const QScreen* screen, QSizeF outer, qreal ratio) {
    const QRectF area = screen->geometry();
    return {area.x() + std::max(0.0, Half(area.width() - outer.width(), ratio)),
            area.y() + std::max(0.0, Half(area.height() - outer.height(), ratio))};
}

QPoint CentredOn(const QScreen* screen, QSize outer) { return CentredOn(screen, QSizeF(outer), 1).toPoint(); }

QMarginsF FrameOf(const QWidget& window) {
#ifdef LEXIGROVE_ASK_X11
    if (xcb_connection_t* connection = X11Connection(); connection != nullptr && window.internalWinId() != 0) {
        const xcb_atom_t extents = Atom(connection, "_NET_FRAME_EXTENTS");
        if (extents != XCB_ATOM_NONE)
            if (const auto frame = FrameExtents(connection, static_cast<xcb_window_t>(window.internalWinId()), extents))
                return Logical(*frame, window);
    }
#endif
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    return QMarginsF(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                     outer.bottom() - inner.bottom());
}

void ShowCentred(QWidget& window) {
    // Where the window manager tells the frame beforehand, the window shows
    // in its place at once; elsewhere it is centred again once framed.
    const auto device = AskFrameExtents(&window, kFrameAnswerWait);
    const QMarginsF frame = device ? Logical(*device, window) : QMarginsF();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        PlaceOuterAt(window, CentredOn(screen, QSizeF(window.size()).grownBy(frame), window.devicePixelRatioF()),
                     frame);
    if (!device) new CentreOnceFramed(window);
    window.show();
}

QPointF AboutWindowPlace(const QRectF& main, const QSizeF& about, qreal ratio) {
    return {main.left() + Half(main.width(), ratio) - Half(about.width(), ratio),
            main.top() + Half(main.height(), ratio) - Half(about.height(), ratio)};
}

QPoint AboutWindowPlace(const QRect& main, const QSize& about) {
    return AboutWindowPlace(QRectF(main), QSizeF(about), 1).toPoint();
}

void PlaceAboutWindow(const QWidget& main, TFrmAbout& about) {
    // The About window's frame as the window manager tells it, else one like
    // the main window's: the client area is sized for it, and sized again
    // once the window's own frame is known.
    const QMarginsF mainFrame = FrameOf(main);
    const auto device = AskFrameExtents(&about, kFrameAnswerWait);
    const QMarginsF frame = device ? Logical(*device, about) : mainFrame;
    const qreal ratio = about.devicePixelRatioF();
    PlaceOuterAt(about, AboutWindowPlace(QRectF(main.geometry()) + mainFrame, TFrmAbout::kOuterSize, ratio), frame);
    about.FitOuterSizeFor(frame, device.has_value());
}

}  // namespace lexigrove

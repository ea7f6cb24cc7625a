// Drives a running lexigrove on an X display as a user would: finds its
// window by the caption, checks that its window class is the one its
// desktop entry names (StartupWMClass), types a pattern, runs a Wild search with Alt+W,
// copies the edit box and the results pane to the clipboard to check them,
// and closes the program through File, Exit.
//
// Input goes to the window as X key and button events; Qt reads the
// clipboard. Exit status 0 when every step worked.
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::uint16_t kShift = XCB_MOD_MASK_SHIFT;
constexpr std::uint16_t kControl = XCB_MOD_MASK_CONTROL;
constexpr std::uint16_t kAlt = XCB_MOD_MASK_1;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "smoke: %s\n", what);
    std::exit(1);
}

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

class XDisplay {
public:
    XDisplay() : connection_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(connection_) != 0) Fail("cannot connect to the X display");
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        LoadKeyboardMap();
    }
    ~XDisplay() { xcb_disconnect(connection_); }
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    // A window anywhere under the root whose caption is `caption`.
    xcb_window_t FindWindow(const std::string& caption) const { return FindUnder(root_, caption); }

    void Focus(xcb_window_t window) {
        xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        xcb_flush(connection_);
    }

    // Presses and releases the key of `keysym` with `modifiers` held.
    void Key(xcb_window_t window, std::uint32_t keysym, std::uint16_t modifiers = 0) {
        const auto [code, shifted] = KeycodeOf(keysym);
        if (shifted) modifiers |= kShift;
        for (const std::uint8_t type : {std::uint8_t{XCB_KEY_PRESS}, std::uint8_t{XCB_KEY_RELEASE}}) {
            xcb_key_press_event_t event{};
            event.response_type = type;
            event.detail = code;
            event.time = XCB_CURRENT_TIME;
            event.root = root_;
            event.event = window;
            event.child = XCB_NONE;
            event.event_x = event.event_y = 1;
            event.state = modifiers;
            event.same_screen = 1;
            Send(window, &event);
        }
    }

    void Type(xcb_window_t window, const std::string& text) {
        for (char c : text) Key(window, static_cast<unsigned char>(c));
    }

    void Click(xcb_window_t window, int x, int y) {
        for (const std::uint8_t type : {std::uint8_t{XCB_BUTTON_PRESS}, std::uint8_t{XCB_BUTTON_RELEASE}}) {
            xcb_button_press_event_t event{};
            event.response_type = type;
            event.detail = 1;
            event.time = XCB_CURRENT_TIME;
            event.root = root_;
            event.event = window;
            event.child = XCB_NONE;
            event.event_x = static_cast<std::int16_t>(x);
            event.event_y = static_cast<std::int16_t>(y);
            event.state = type == XCB_BUTTON_RELEASE ? XCB_BUTTON_MASK_1 : 0;
            event.same_screen = 1;
            Send(window, &event);
        }
    }

    // The class part of WM_CLASS (instance NUL class NUL).
    std::string WindowClass(xcb_window_t window) const {
        auto cookie = xcb_get_property(connection_, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256);
        ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection_, cookie, nullptr), &std::free);
        if (!reply) return {};
        const std::string both(static_cast<const char*>(xcb_get_property_value(reply.get())),
                               static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
        const std::size_t nul = both.find('\0');
        if (nul == std::string::npos) return {};
        return both.substr(nul + 1, both.find('\0', nul + 1) - nul - 1);
    }

private:
    template <typename Event>
    void Send(xcb_window_t window, const Event* event) {
        static_assert(sizeof(Event) == 32);
        // An empty event mask delivers the event to the window's own client.
        xcb_send_event(connection_, 0, window, 0, reinterpret_cast<const char*>(event));
        xcb_flush(connection_);
    }

    std::string Caption(xcb_window_t window) const {
        auto cookie = xcb_get_property(connection_, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
        ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection_, cookie, nullptr), &std::free);
        if (!reply) return {};
        return {static_cast<const char*>(xcb_get_property_value(reply.get())),
                static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
    }

    xcb_window_t FindUnder(xcb_window_t parent, const std::string& caption) const {
        ReplyPtr<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, parent), nullptr), &std::free);
        if (!tree) return XCB_NONE;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        const int count = xcb_query_tree_children_length(tree.get());
        for (int i = 0; i < count; ++i) {
            if (Caption(children[i]) == caption) return children[i];
            if (xcb_window_t found = FindUnder(children[i], caption); found != XCB_NONE) return found;
        }
        return XCB_NONE;
    }

    void LoadKeyboardMap() {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        minKeycode_ = setup->min_keycode;
        const int count = setup->max_keycode - setup->min_keycode + 1;
        ReplyPtr<xcb_get_keyboard_mapping_reply_t> reply(
            xcb_get_keyboard_mapping_reply(
                connection_, xcb_get_keyboard_mapping(connection_, minKeycode_, static_cast<std::uint8_t>(count)),
                nullptr),
            &std::free);
        if (!reply) Fail("cannot read the keyboard map");
        perCode_ = reply->keysyms_per_keycode;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply.get());
        keysyms_.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(reply.get()));
    }

    // Where the keysym of the `i`th keycode at `level` stands in keysyms_.
    std::size_t Index(std::size_t i, int level) const {
        return i * static_cast<std::size_t>(perCode_) + static_cast<std::size_t>(level);
    }

    std::pair<xcb_keycode_t, bool> KeycodeOf(std::uint32_t keysym) const {
        for (int level = 0; level < 2 && level < perCode_; ++level)
            for (std::size_t i = 0; Index(i, level) < keysyms_.size(); ++i)
                if (keysyms_[Index(i, level)] == keysym)
                    return {static_cast<xcb_keycode_t>(minKeycode_ + i), level == 1};
        Fail("a key the test needs is not on the keyboard");
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = XCB_NONE;
    xcb_keycode_t minKeycode_ = 0;
    int perCode_ = 0;
    std::vector<xcb_keysym_t> keysyms_;
};

// Lets the program under test handle what was sent.
void Settle(int ms = 300) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QGuiApplication::processEvents();
        QThread::msleep(10);
    }
}

// Selects all and copies, until the clipboard holds what `wanted` accepts
// or ten seconds pass (a busy machine may be slow to answer); returns the
// last text read.
template <typename Wanted>
QString CopyUntil(XDisplay& display, xcb_window_t window, Wanted wanted) {
    QString text;
    QElapsedTimer waited;
    waited.start();
    do {
        QGuiApplication::clipboard()->clear();
        Settle(50);
        display.Key(window, 'a', kControl);
        display.Key(window, 'c', kControl);
        Settle();
        text = QGuiApplication::clipboard()->text();
    } while (!wanted(text) && waited.elapsed() < 10000);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    XDisplay display;

    xcb_window_t window = XCB_NONE;
    QElapsedTimer waited;
    waited.start();
    while ((window = display.FindWindow("Lexigrove v2.2")) == XCB_NONE) {
        if (waited.elapsed() > 20000) Fail("no window captioned \"Lexigrove v2.2\" appeared");
        QThread::msleep(100);
    }
    if (const std::string wmClass = display.WindowClass(window); wmClass != LEXIGROVE_TEST_WM_CLASS) {
        std::fprintf(stderr, "smoke: the window class is \"%s\", the desktop entry says \"%s\"\n", wmClass.c_str(),
                     LEXIGROVE_TEST_WM_CLASS);
        return 1;
    }
    Settle(500);
    display.Focus(window);
    Settle();

    // The edit box has the focus at start.
    display.Type(window, "C");
    display.Key(window, '?');
    display.Type(window, "T");
    display.Key(window, 'w', kAlt);
    Settle(1500);

    const QString typed = CopyUntil(display, window, [](const QString& t) { return t == QStringLiteral("c?t"); });
    if (typed != QStringLiteral("c?t")) {
        std::fprintf(stderr, "smoke: the edit box holds \"%s\", expected the lowercased \"c?t\"\n", qPrintable(typed));
        return 1;
    }

    // Into the results pane, somewhere in its middle.
    display.Click(window, 150, 320);
    Settle();
    const auto found = [](const QString& t) {
        return t.startsWith(QStringLiteral("cat\n")) && t.contains(QStringLiteral("\ncut\n"));
    };
    const QString results = CopyUntil(display, window, found);
    if (!found(results)) {
        std::fprintf(stderr, "smoke: the results pane holds \"%s\"\n", qPrintable(results.left(200)));
        return 1;
    }

    // File, Exit.
    display.Key(window, 'f', kAlt);
    Settle();
    display.Key(window, 'x');
    Settle();
    std::printf("smoke: found the window, searched, read \"%s\" and the results, chose File, Exit\n",
                qPrintable(typed));
    return 0;
}

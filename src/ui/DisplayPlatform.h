// Which windowing platform the program asks Qt for. On a Wayland desktop Qt
// picks native Wayland, where a program can neither place its windows nor
// keep one above the others; through XWayland, as an X11 client, it can
// centre its window, put the About window over it and keep it on top. So
// where the user chose no platform the program asks for X11 first and
// Wayland second, and Qt starts the first of them that it can reach.
#pragma once

namespace lexigrove {

// Qt's list of platforms to try in turn.
inline constexpr char kX11ThenWayland[] = "xcb;wayland";

// Sets QT_QPA_PLATFORM to kX11ThenWayland for the application object to
// read, where the user chose no platform: QT_QPA_PLATFORM empty or unset.
// A -platform argument outranks the variable in Qt, so that choice stands
// too. Returns whether the request was made.
bool RequestX11ThenWayland();

// Takes a request back once the application object is made, so that
// programs started from the windows (the web browser) inherit the user's
// own environment.
void WithdrawPlatformRequest();

}  // namespace lexigrove

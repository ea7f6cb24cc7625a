// Which windowing platform the program asks Qt for. On a Wayland desktop Qt
// picks native Wayland, where a program can neither place its windows nor
// keep one above the others; through XWayland, as an X11 client, it can
// centre its window, put the About window over it and keep it on top.
#pragma once

#include <functional>

namespace lexigrove {

// Whether to run on X11 ("xcb"): when the user chose no platform (an empty
// or unset QT_QPA_PLATFORM, no -platform among the arguments, as Qt reads
// them) and the X display named by `display` answers. `xDisplayAnswers` is
// asked only then.
bool PreferX11(const char* qpaPlatform, const char* display, int argc, const char* const* argv,
               const std::function<bool(const char* display)>& xDisplayAnswers);

// Whether an X server accepts a connection to `display` (a DISPLAY value).
// A connection that succeeded stays open until EndXDisplayProbe(): an X
// server started on demand (XWayland) may end with its last client, and
// must still be there when the application connects.
bool XDisplayAnswers(const char* display);
void EndXDisplayProbe();

// The arguments to hand the application object: `argv` itself, or, when
// PreferX11 holds for this process, a copy with "-platform xcb" added and
// `argc` raised to match. Qt keeps argc and argv for as long as the
// application lives and takes the option out again.
char** ArgumentsForPlatform(int& argc, char** argv);

}  // namespace lexigrove

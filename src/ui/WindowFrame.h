// The frame a window manager puts around a top-level window, asked for
// before the window is shown, so that the window can be placed by its outer
// rectangle from the start.
#pragma once

#include <QMargins>

#include <optional>

class QWidget;

namespace lexigrove {

// Asks the window manager for the frame it will put around `window`, which
// must not be shown yet, and waits at most `timeoutMs` for the answer. Only
// an X11 window manager that offers _NET_REQUEST_FRAME_EXTENTS answers;
// elsewhere the result is empty at once. Asking creates the native window,
// after which QWidget::move places the client area, not the frame.
std::optional<QMargins> AskFrameExtents(QWidget* window, int timeoutMs);

}  // namespace lexigrove

// Where the windows stand: the main window in the middle of the screen, the
// About window centred over it. Both are placed by their outer rectangle,
// frame and title bar included; on X11 the window manager is asked for the
// frame before a window is shown, so that it shows in its place at once.
// The arithmetic runs in logical pixels; a window manager measures its
// frame in device pixels, which at a fractional scale are fractions of a
// logical pixel.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QScreen;
class QWidget;
class TFrmAbout;

namespace lexigrove {

// Where a top-level widget of outer size `outer` stands in the middle of
// `screen`, never past its top or left edge. Halving drops the remainder
// below one device pixel, `ratio` device pixels to the logical one.
QPointF CentredOn(const QScreen* screen, QSizeF outer, qreal ratio);
QPoint CentredOn(const QScreen* screen, QSize outer);

// The frame round a top-level window in its logical pixels: as the window
// manager reports it where it does (X11), else as Qt knows it.
QMarginsF FrameOf(const QWidget& window);

// Shows `window` in the middle of the primary screen. A window manager
// frames the window only once it is shown; where it did not tell the frame
// beforehand, the window is centred again as soon as the frame is known.
void ShowCentred(QWidget& window);

// Where the About window of outer size `about` goes over a main window
// whose outer frame is `main`: centred, each size halved on its own with
// the remainder dropped (below one device pixel, `ratio` device pixels to
// the logical one), and not kept on the screen.
QPointF AboutWindowPlace(const QRectF& main, const QSizeF& about, qreal ratio);
QPoint AboutWindowPlace(const QRect& main, const QSize& about);

// Places `about`, not yet shown, centred over `main` and sizes it for its
// frame.
void PlaceAboutWindow(const QWidget& main, TFrmAbout& about);

}  // namespace lexigrove

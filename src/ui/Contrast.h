// Contrast between colours as the Web Content Accessibility Guidelines
// measure it: 1:1 for equal colours up to 21:1 for black on white. Text
// wants 4.5:1 against what is behind it, the parts of a control that show
// its state 3:1.
#pragma once

#include <QColor>

namespace lexigrove {

inline constexpr double kTextContrast = 4.5;
inline constexpr double kControlContrast = 3.0;

double ContrastRatio(const QColor& a, const QColor& b);

// `wanted` when it reaches `minimum` against `background`; otherwise the
// nearest colour on the way from `wanted` to black or white (whichever
// stands out more against the background) that does.
QColor Readable(const QColor& wanted, const QColor& background, double minimum);

}  // namespace lexigrove

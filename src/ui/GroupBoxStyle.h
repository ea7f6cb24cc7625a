// The look of the main window's group boxes.
#pragma once

#include <QProxyStyle>

namespace lexigrove {

// Group boxes with the caption on the frame: the frame's top edge runs
// through the middle of the caption, which stands in a gap of the line, so
// the frame stays clear of the controls inside.
class CaptionOnFrameStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;

private:
    static constexpr int kCaptionLeft = 6;
    static constexpr int kCaptionPadding = 2;
};

}  // namespace lexigrove

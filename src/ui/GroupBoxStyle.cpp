#include "GroupBoxStyle.h"

#include <QPainter>
#include <QRegion>
#include <QStyleOptionGroupBox>
#include <qdrawutil.h>

namespace lexigrove {

QRect CaptionOnFrameStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                                          const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr) return QProxyStyle::subControlRect(control, option, part, widget);
    const int captionHeight = box->fontMetrics.height();
    switch (part) {
        case SC_GroupBoxFrame:
            return box->rect.adjusted(0, captionHeight / 2, 0, 0);
        case SC_GroupBoxLabel: {
            const int textWidth = box->fontMetrics.size(Qt::TextShowMnemonic, box->text).width();
            return {box->rect.left() + kCaptionLeft, box->rect.top(), textWidth + 2 * kCaptionPadding, captionHeight};
        }
        case SC_GroupBoxContents:
            return box->rect.adjusted(2, captionHeight, -2, -2);
        default:
            return QProxyStyle::subControlRect(control, option, part, widget);
    }
}

void CaptionOnFrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                             QPainter* painter, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QRect caption = subControlRect(control, option, SC_GroupBoxLabel, widget);
    if (box->subControls & SC_GroupBoxFrame) {
        painter->save();
        QRegion outside(box->rect);
        if (!box->text.isEmpty()) outside -= caption;
        painter->setClipRegion(outside, Qt::IntersectClip);
        // An etched line: a shadow line with a light one beside it.
        qDrawShadeRect(painter, subControlRect(control, option, SC_GroupBoxFrame, widget), box->palette, true, 1);
        painter->restore();
    }
    if ((box->subControls & SC_GroupBoxLabel) && !box->text.isEmpty()) {
        int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
        if (!styleHint(SH_UnderlineShortcut, option, widget)) flags |= Qt::TextHideMnemonic;
        drawItemText(painter, caption.adjusted(kCaptionPadding, 0, -kCaptionPadding, 0), flags, box->palette,
                     (box->state & State_Enabled) != 0, box->text, QPalette::WindowText);
    }
}

}  // namespace lexigrove

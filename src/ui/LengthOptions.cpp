#include "LengthOptions.h"

#include <QFrame>
#include <QPalette>
#include <QString>

#include "KsCheckLst.h"
#include "LexigroveApp.h"

namespace lexigrove {

void SetUpLengthOptions(TKsCheckListBox& list) {
    for (int length = 2; length <= 14; ++length) list.addItem(QStringLiteral("%1 Letter").arg(length));
    list.addItem(QStringLiteral("15+ Letter"));
    list.SetColumns(3);
    list.SetItemHeight(15);
    list.SetTrasparent(true);
    list.SetFlat(false);
    list.setFrameShape(QFrame::NoFrame);
    QPalette palette = list.palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    list.setPalette(palette);
    list.setFont(LexigroveApp::WindowFont());
    // Reached by mouse only.
    list.setFocusPolicy(Qt::ClickFocus);
}

}  // namespace lexigrove

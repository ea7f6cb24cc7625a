// The main window's length options on a test's own list: the fourteen rows,
// three columns, no frame, the window font.
#pragma once

#include <QFont>
#include <QFrame>
#include <QString>

#include "KsCheckLst.h"

inline void SetUpAsLengthOptions(TKsCheckListBox* list, int rowHeight, int height) {
    for (int i = 2; i <= 14; ++i)
        list->addItem(QStringLiteral("%1 Letter").arg(i));
    list->addItem(QStringLiteral("15+ Letter"));
    list->SetItemHeight(rowHeight);
    list->SetColumns(3);
    list->setFrameShape(QFrame::NoFrame);
    list->SetFlat(false);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    list->setFont(font);
    list->setGeometry(6, 16, 289, height);
}

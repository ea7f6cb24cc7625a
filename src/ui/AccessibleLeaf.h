// What the accessible length options and Options menu items share: they have
// no children, their text is the program's own, and each has actions.
#pragma once

#include <QAccessible>

namespace lexigrove {

class AccessibleLeaf : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
};

}  // namespace lexigrove

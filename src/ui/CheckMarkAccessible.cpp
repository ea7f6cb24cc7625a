#include "CheckMarkAccessible.h"

#include <QAccessible>
#include <QAction>

namespace lexigrove {

void AnnounceCheckMark(QAction* action) {
    QObject::connect(action, &QAction::toggled, action, [action] {
        if (!QAccessible::isActive()) return;
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(action, changed);
        QAccessible::updateAccessibility(&event);
    });
}

}  // namespace lexigrove

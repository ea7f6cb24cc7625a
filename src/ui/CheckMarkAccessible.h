// Check marks of menu items as a screen reader hears them change.
#pragma once

class QAction;

namespace lexigrove {

// Tells a screen reader each time the mark of the checkable menu item
// `action` changes. Qt's own menu item reports that it can be checked and
// whether it is, but announces no change (Qt 6.4).
void AnnounceCheckMark(QAction* action);

}  // namespace lexigrove

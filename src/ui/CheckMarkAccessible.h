// Check marks of menu items as a screen reader reads them.
#pragma once

class QAction;

namespace lexigrove {

// Makes the checkable menu item `action` report to a screen reader that it
// can be checked and whether it is, and announce each change of its mark
// once the handler that changed it has finished.
void ReportCheckMark(QAction* action);

}  // namespace lexigrove

// Screen readers on Linux read a control's states over the accessibility
// bus (AT-SPI). Qt's bridge to that bus sends every state our controls set
// except `checkable`, which it has no mapping for; without it a screen
// reader takes a list item or menu item for one that cannot be ticked and
// does not say whether it is. This puts a thin layer in front of the
// bridge: it answers the bus's GetState for whatever can be checked, and
// hands every other call to the bridge unchanged.
#pragma once

namespace lexigrove {

// Puts the layer in front of Qt's bridge as soon as the bridge is on the
// bus: now, or whenever a screen reader turns accessibility on later. Call
// once, after the application object exists; the layer goes with it.
void ReportCheckableOnBus();

}  // namespace lexigrove

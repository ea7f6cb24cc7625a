// A stop-gap for screen readers on Linux, built unless
// LEXIGROVE_ATSPI_CHECKABLE_STOPGAP is OFF.
//
// Screen readers read a control's states over the accessibility bus
// (AT-SPI). Qt's bridge to that bus has no mapping for the `checkable`
// state (Qt 6.4 in Debian 12, and qtbase up to at least 6.8), and Qt 6.4's
// item views report neither `checkable` nor a partly checked state for a
// checkable item. Without `checkable` a screen reader takes a length option
// or an Options menu item for one that cannot be ticked and never says
// that it is not ticked (Orca says "3 Letter" where it should say
// "3 Letter not checked").
//
// The stop-gap puts a thin layer in front of Qt's bridge: it answers the
// bus's GetState for whatever can be checked, and hands every other call
// to the bridge unchanged. It relies on the name Qt gives its bus
// connection ("a11y"); under a Qt whose bridge renames it, the layer stays
// out of the way. It can go, with the build option and libatspi, once
// Debian's Qt maps `checkable` onto the bus.
#pragma once

#include <QAccessible>

namespace lexigrove {

// `item`'s states as the layer sends them: Qt's own, and for an item of an
// item view whose model marks it user-checkable with a check state,
// `checkable` and, when partly checked, `checkStateMixed`.
QAccessible::State CheckMarkStates(QAccessibleInterface* item);

// Puts the layer in front of Qt's bridge as soon as the bridge is on the
// bus: now, or whenever a screen reader turns accessibility on later. Call
// once, after the application object exists; the layer goes with it.
void InstallAtspiCheckableStopgap();

// Tells the accessibility bus that `item`'s description is now `text`.
// Qt 6.4's bridge sends the object itself in place of the new description
// with such a change (fixed in later Qt), which screen readers cannot
// speak; this sends the change as the bus defines it, on the bridge's own
// connection. Does nothing while the bridge is not on the bus.
void SendDescriptionChange(QAccessibleInterface* item, const QString& text);

}  // namespace lexigrove

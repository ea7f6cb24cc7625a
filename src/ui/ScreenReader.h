// What a screen reader hears beyond what Qt's own accessibility tells it:
// whether one runs, short spoken messages, and how a few labels read.
#pragma once

#include <QString>

#include <functional>

class QAbstractItemView;
class QAccessibleInterface;
class QLabel;
class QObject;
class QWidget;

namespace lexigrove {

// Calls `changed` now and each time a screen reader starts or stops
// listening (Qt's accessibility turns on or off), while `owner` lives.
void WhileScreenReaderRuns(QObject* owner, std::function<void(bool running)> changed);

// Has a listening screen reader say `text`. The control with the keyboard
// focus, or `fallback` when no control has it (the one that had it last),
// tells the screen reader that `text` is its description, and its own
// description again once the focus has moved on: screen readers (Orca among
// them) speak a change of the focused control's description. The control
// itself keeps its description. Does nothing while no screen reader listens.
void Announce(QWidget* fallback, const QString& text);
// The same for an accessible object that has the screen reader's focus
// (a list's row), once; nothing restores it.
void AnnounceFor(QAccessibleInterface* item, const QString& text);

// Replaces what the announcements do on the accessibility bus, so that
// tests can see them, with or without a screen reader; an empty one
// restores the bus. Returns the one it replaces.
using Announcer = std::function<void(QAccessibleInterface* item, const QString& text)>;
Announcer SetAnnouncer(Announcer announcer);

// Qt tells a screen reader that a list has taken the focus, but not which
// of its rows has it, so that the reader hears of a row's changes only
// once the user has moved to another: this tells it the row too.
void TellFocusedRowOnEntry(QAbstractItemView* list);

// How a label reads to a screen reader, set before it is first read: as
// the window's heading; as a line of text; not at all (a decoration that
// repeats another label); or as a link whose action runs `open`, as a
// click on it does.
void ReadAsHeading(QLabel* label);
void ReadAsParagraph(QLabel* label);
void HideFromScreenReaders(QLabel* label);
void ReadAsLink(QLabel* label, std::function<void()> open);

}  // namespace lexigrove

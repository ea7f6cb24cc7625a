"""A screen reader can tell which word lengths are ticked: each option
reports that it can be checked, and, ticked by a click on the box, a
double-click, Check All or Uncheck All, reports
`checked` exactly when it is ticked, and the bus hears every change; the
Options menu items report their marks too."""
import pyatspi

from atspi_common import (application, check, click, centre, find, finish, press, pump, states,
                          wait_for, window)

LENGTHS = ["%d Letter" % n for n in range(2, 15)] + ["15+ Letter"]

heard = []


def on_checked(event):
    heard.append((event.source.name, event.detail1))


app = application()
main = window(app, "Lexigrove v2.2")
check(main is not None, "the main window shows")
pyatspi.Registry.registerEventListener(on_checked, "object:state-changed:checked")

options = find(main, "list", "Word lengths")
rows = [options.getChildAtIndex(i) for i in range(options.childCount)]
check([r.getRoleName() for r in rows] == ["list item"] * 14, "fourteen list items")
check([r.name for r in rows] == LENGTHS, "the options are named by their lengths")


def ticked():
    return [r.name for r in rows if "checked" in states(r)]


def expect(names, what):
    wait_for(lambda: ticked() == names, 5.0)
    check(ticked() == names, "%s: ticked %s, expected %s" % (what, ticked(), names))


def expect_heard(events, what):
    wait_for(lambda: len(heard) >= len(events), 5.0)
    pump(0.3)
    check(heard == events, "%s: heard %s, expected %s" % (what, heard, events))
    heard.clear()


expect([], "at start")
check(all("checkable" in states(r) for r in rows), "every option reports that it can be checked")
for r in rows:
    check("Toggle" in [r.queryAction().getName(i) for i in range(r.queryAction().nActions)],
          "%s can be toggled" % r.name)

# the box sits 8 pixels into the row and is 13 wide
box = {r.name: centre(r, 8 + 6) for r in rows}

click(*box["3 Letter"])
expect(["3 Letter"], "a click ticks")
# every other state as Qt's own bridge reports a list item
ROW = {"enabled", "focusable", "selectable", "sensitive", "showing", "transient", "visible", "checkable"}
check(states(rows[1]) == ROW | {"focused", "selected", "checked"},
      "the ticked option's states: %s" % sorted(states(rows[1])))
check(states(rows[2]) == ROW, "an unticked option's states: %s" % sorted(states(rows[2])))
expect_heard([("3 Letter", 1)], "a click ticks")
click(*box["3 Letter"])
expect([], "a second click unticks")
expect_heard([("3 Letter", 0)], "a second click unticks")

# a double-click is two clicks: the option ends as it was
click(*box["5 Letter"], repeat=2)
expect_heard([("5 Letter", 1), ("5 Letter", 0)], "a double-click toggles twice")
expect([], "after a double-click")
click(*box["5 Letter"])
click(*box["9 Letter"], repeat=2)
expect_heard([("5 Letter", 1), ("9 Letter", 1), ("9 Letter", 0)], "a click, then a double-click")
expect(["5 Letter"], "after a click and a double-click elsewhere")

click(*centre(find(main, "push button", "Check All")))
expect(LENGTHS, "Check All")
expect_heard([(n, 1) for n in LENGTHS if n != "5 Letter"], "Check All")
click(*centre(find(main, "push button", "Uncheck All")))
expect([], "Uncheck All")
expect_heard([(n, 0) for n in LENGTHS], "Uncheck All")

# the Options menu items' marks
for name in ["Clear results before Find", "Always on Top"]:
    item = find(app, "menu item", name)
    check(item is not None and "checked" not in states(item), "%s starts unchecked" % name)
    check(item is not None and "checkable" in states(item), "%s reports that it can be checked" % name)
    press(item)
    item = wait_for(lambda: (lambda i: i if i is not None and "checked" in states(i) else None)(
        find(app, "menu item", name)), 5.0)
    check(item is not None, "%s reports its mark" % name)
    expect_heard([(name, 1)], "%s ticked" % name)
    press(find(app, "menu item", name))
    wait_for(lambda: "checked" not in states(find(app, "menu item", name)), 5.0)
    check("checked" not in states(find(app, "menu item", name)), "%s reports its mark gone" % name)
    expect_heard([(name, 0)], "%s unticked" % name)

finish("atspi_check_marks", app)

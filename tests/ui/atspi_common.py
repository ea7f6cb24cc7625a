"""Reading and driving the running lexigrove through the accessibility bus."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL: " + what, file=sys.stderr)


def finish(name, app=None):
    """Reports the checks; with `app`, first leaves the program by File,
    Exit (the caller checks that it ends by itself with status 0)."""
    if app is not None:
        exit_item = find(app, "menu item", "Exit")
        check(exit_item is not None, "File, Exit is there")
        if exit_item is not None:
            try:
                press(exit_item)
            except Exception:  # the program may be gone before it answers
                pass
    if failures:
        print("%s: %d check(s) failed" % (name, len(failures)), file=sys.stderr)
        sys.exit(1)
    print("%s: every check passed" % name)


def pump(seconds=0.0):
    """Lets events from the bus arrive, for at least `seconds`."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        if time.monotonic() >= end:
            return
        time.sleep(0.02)


def wait_for(condition, seconds=10.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump()
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    return condition()


def application(name="Lexigrove"):
    def find():
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name and app.childCount > 0:
                return app
        return None
    app = wait_for(find, 20.0)
    if app is None:
        print("no application %r on the accessibility bus" % name, file=sys.stderr)
        sys.exit(1)
    return app


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def states(node):
    return {pyatspi.stateToString(s) for s in node.getState().getStates()}


def find(root, role, name):
    for node in walk(root):
        if node.getRoleName() == role and node.name == name:
            return node
    return None


def window(app, name, seconds=10.0):
    def found():
        for i in range(app.childCount):
            child = app.getChildAtIndex(i)
            if child is not None and child.name == name and "showing" in states(child):
                return child
        return None
    return wait_for(found, seconds)


def centre(node, dx=None):
    """A point on the node, in screen coordinates: its centre, or `dx`
    pixels from its left edge at mid-height."""
    extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x = extents.x + (extents.width // 2 if dx is None else dx)
    return x, extents.y + extents.height // 2


def click(x, y, repeat=1):
    """A real click (or double-click) through the X server."""
    # --sync waits for the pointer to move, so it must not start there
    subprocess.run(["xdotool", "mousemove", "--sync", str(x + 40), str(y + 40)], check=True)
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y)], check=True)
    subprocess.run(["xdotool", "click", "--repeat", str(repeat), "--delay", "80", "1"], check=True)


def press(node):
    """The node's first (default) action, as a screen reader runs it."""
    action = node.queryAction()
    action.doAction(0)

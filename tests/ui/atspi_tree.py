"""A screen reader can read both windows: the running program's tree on the
accessibility bus holds every control of the main window and of the About
window, each with its role and a name."""
import sys

from atspi_common import application, check, click, centre, finish, walk, wait_for, window, states

# Roles of nodes a user reads or works; each must carry a name.
CONTROLS = {"push button", "text", "list", "list item", "menu item", "image", "label",
            "progress bar", "check box", "radio button", "combo box", "link", "panel",
            "heading", "paragraph"}

MAIN = [
    ("menu bar", "Menu"),
    ("menu item", "File"), ("menu item", "Clear"), ("menu item", "Exit"),
    ("menu item", "Options"), ("menu item", "Always on Top"),
    ("menu item", "Clear results before Find"), ("menu item", "About"),
    ("panel", "Results"), ("text", "Results"), ("push button", "Clear text"),
    ("progress bar", "Search progress"),
    ("panel", "Enter your text"), ("image", "Donate"), ("text", "Letters or pattern"),
    ("push button", "Unscramble"), ("push button", "Wild"), ("push button", "Exact"),
    ("panel", "Word length matches (Unscramble)"), ("list", "Word lengths"),
    ("push button", "Check All"), ("push button", "Uncheck All"),
] + [("list item", "%d Letter" % n) for n in range(2, 15)] + [("list item", "15+ Letter")]

ABOUT = [
    ("heading", "Lexigrove v2.2"), ("paragraph", "By Lexigrove contributors"),
    ("paragraph", "Special Thanks:"), ("paragraph", "ENABLE word list"),
    ("link", "Donate"), ("push button", "Close"),
]


def read(win, expected, what):
    nodes = [(n.getRoleName(), n.name) for n in walk(win)]
    for role, name in expected:
        check((role, name) in nodes, "%s: no %s named %r" % (what, role, name))
    for role, name in nodes:
        check(role not in CONTROLS or name, "%s: a %s without a name" % (what, role))
    return nodes


app = application()
main = window(app, "Lexigrove v2.2")
check(main is not None and main.getRoleName() == "frame", "the main window is a frame named by its caption")
if main is None:
    finish("atspi_tree")
read(main, MAIN, "main window")

# the About window, opened by a click on its menu-bar item
about_item = [n for n in walk(main) if n.getRoleName() == "menu item" and n.name == "About"][0]
click(*centre(about_item))
about = window(app, "About..")
check(about is not None and about.getRoleName() == "dialog", "the About window is a dialog named by its caption")
if about is None:
    finish("atspi_tree")
nodes = read(about, ABOUT, "About window")
check(any(role == "link" and name.startswith(("https://", "http://")) for role, name in nodes),
      "About window: the home page's address is read out, as a link")
# The title's shadow is there, but not shown to a screen reader: the title
# is read once.
shown = [n for n in walk(about) if "showing" in states(n)]
check(sum(1 for n in shown if n.name == "Lexigrove v2.2") == 1, "About window: the title is read out once")
for link in (n for n in walk(about) if n.getRoleName() == "link"):
    action = link.queryAction()
    check([action.getName(i) for i in range(action.nActions)] == ["Press"],
          "About window: the link %r can be followed" % link.name)

# Close takes it away again
close = [n for n in walk(about) if n.getRoleName() == "push button" and n.name == "Close"][0]
click(*centre(close))
check(wait_for(lambda: window(app, "About..", 0.1) is None, 5.0), "Close closes the About window")

finish("atspi_tree", app)

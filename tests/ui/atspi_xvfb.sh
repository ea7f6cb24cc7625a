#!/bin/sh
# Runs a check of lexigrove through the accessibility bus: it is started on
# the X display that xvfb-run made, inside the D-Bus session that
# dbus-run-session made (the bus launcher comes up on demand), then the
# Python check reads and drives it, and the program is ended.
#   atspi_xvfb.sh <lexigrove> <check.py>
set -u
program=$1
check=$2

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" &
pid=$!

/usr/bin/python3 "$check"
status=$?

kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit "$status"

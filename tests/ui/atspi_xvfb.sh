#!/bin/sh
# Runs a check of lexigrove through the accessibility bus: it is started on
# the X display that xvfb-run made, inside the D-Bus session that
# dbus-run-session made (the bus launcher comes up on demand), then the
# Python check reads and drives it and leaves it by File, Exit; the program
# must then end by itself with status 0.
#   atspi_xvfb.sh <lexigrove> <check.py>
set -u
program=$1
check=$2

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" &
pid=$!

/usr/bin/python3 "$check"
status=$?

for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "atspi: lexigrove still runs after File, Exit" >&2
  kill "$pid"
  wait "$pid"
  exit 1
fi
wait "$pid"
ended=$?
if [ "$ended" -ne 0 ]; then
  echo "atspi: lexigrove ended with status $ended" >&2
  exit 1
fi
exit "$status"

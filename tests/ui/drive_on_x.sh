#!/bin/sh
# Starts the real program on the X display that xvfb-run made, runs a
# driver that uses it and leaves it by File, Exit, and checks that the
# program then ended by itself with status 0 and the driver succeeded.
#   drive_on_x.sh <lexigrove> <driver> [driver arguments...]
# Both inherit the caller's environment (QT_LINUX_ACCESSIBILITY_ALWAYS_ON,
# the D-Bus session); both run on Qt's X11 platform.
set -u
program=$1
shift

QT_QPA_PLATFORM=xcb "$program" &
pid=$!

QT_QPA_PLATFORM=xcb "$@"
driven=$?

# File, Exit ends the program; give it ten seconds.
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "drive_on_x: lexigrove still runs after File, Exit" >&2
  kill "$pid"
  wait "$pid"
  exit 1
fi
wait "$pid"
status=$?
if [ "$status" -ne 0 ]; then
  echo "drive_on_x: lexigrove ended with status $status" >&2
  exit 1
fi
[ "$driven" -eq 0 ] || exit 1
echo "drive_on_x: lexigrove ended with status 0"

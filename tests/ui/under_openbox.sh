#!/bin/sh
# Runs a command on the X display that xvfb-run made, under openbox and on
# Qt's X11 platform, and passes on its status.
#   under_openbox.sh <command> [arguments...]
set -u
. "$(dirname "$0")/openbox_start.sh"
start_openbox || { echo "under_openbox: openbox did not start" >&2; exit 1; }
QT_QPA_PLATFORM=xcb "$@"
status=$?
kill "$wm" 2>/dev/null
exit "$status"

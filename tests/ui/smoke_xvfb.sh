#!/bin/sh
# Starts the real program on the X display that xvfb-run made, lets the
# driver use it, and checks that it ended by itself with status 0.
#   smoke_xvfb.sh <lexigrove> <smoke_driver>
set -u
program=$1
driver=$2

QT_QPA_PLATFORM=xcb "$program" &
pid=$!

QT_QPA_PLATFORM=xcb "$driver"
driven=$?

# File, Exit ends the program; give it ten seconds.
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "smoke: lexigrove still runs after File, Exit" >&2
  kill "$pid"
  wait "$pid"
  exit 1
fi
wait "$pid"
status=$?
if [ "$status" -ne 0 ]; then
  echo "smoke: lexigrove ended with status $status" >&2
  exit 1
fi
[ "$driven" -eq 0 ] || exit 1
echo "smoke: lexigrove ended with status 0"

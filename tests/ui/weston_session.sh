#!/bin/sh
# The real program in a Wayland session: weston on its headless backend,
# with XWayland, as on a Wayland desktop.
#   weston_session.sh <lexigrove> <x11_close_driver> <wayland_close_proxy> <tst_DisplayPlatform>
#
# 1. Both displays set, no platform chosen: the program runs on the X
#    display, where the driver finds its window on screen and asks it to
#    close; the program ends with status 0.
# 2. QT_QPA_PLATFORM=wayland: native Wayland. The window shows (seen in the
#    protocol by the proxy), a close request ends the program with status 0,
#    and Options, "Always on Top" says it cannot work there. The same with
#    the argument -platform wayland instead.
# 3. No platform chosen and DISPLAY naming an X display nobody runs: native
#    Wayland as well, ending with status 0 on a close request.
#
# Exit status 77 (skipped) only when weston cannot start here.
set -u
program=$1
driver=$2
proxy=$3
hint_test=$4
title="Lexigrove v2.2"

if ! command -v weston >/dev/null || ! command -v Xwayland >/dev/null; then
  echo "weston session: weston or Xwayland is not installed; skipped" >&2
  exit 77
fi

runtime=$(mktemp -d)
chmod 700 "$runtime"
weston_group=""
watchdog_pid=""
program_pid=""
proxy_pid=""

# Whether process $1 runs (an ended child not yet waited for does not).
running() {
  state=$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null) && [ "$state" != Z ]
}

cleanup() {
  for pid in $program_pid $proxy_pid $watchdog_pid; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  if [ -n "$weston_group" ]; then
    # weston ends XWayland and the helpers it started as it ends; they all
    # share its process group, which goes last.
    kill -TERM "$weston_group" 2>/dev/null
    for _ in $(seq 50); do
      running "$weston_group" || break
      sleep 0.1
    done
    kill -KILL "-$weston_group" 2>/dev/null
    wait "$weston_group" 2>/dev/null
  fi
  rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

fail() {
  echo "weston session: $*" >&2
  echo "--- weston log:" >&2
  tail -n 30 "$runtime/weston.log" >&2
  exit 1
}

# Waits up to $2 tenths of a second for process $1 to end; its status in
# $status, or fails.
wait_end() {
  for _ in $(seq "$2"); do
    running "$1" || break
    sleep 0.1
  done
  if running "$1"; then
    fail "$3 still runs: $(cut -d' ' -f3 "/proc/$1/stat") in $(cat "/proc/$1/wchan")"
  fi
  wait "$1"
  status=$?
}

# A display number with no X server and no lock behind it.
unused_display() {
  n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || grep -q "/tmp/.X11-unix/X$n\$" /proc/net/unix; do
    n=$((n + 1))
  done
  echo ":$n"
}

# Runs a command in the session's own environment: nothing from the
# caller's display or desktop leaks in. Started in the background, the
# command itself takes the place of the subshell, so $! is its process.
session() {
  exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_CURRENT_DESKTOP -u XDG_SESSION_DESKTOP \
    XDG_RUNTIME_DIR="$runtime" XDG_SESSION_TYPE=wayland "$@"
}

socket=wayland-lexigrove
session setsid weston --backend=headless-backend.so --xwayland --socket="$socket" --no-config \
  --idle-time=0 --width=1024 --height=768 --log="$runtime/weston.log" </dev/null >/dev/null 2>&1 &
weston_pid=$!
# setsid runs weston in the same process, once it has made the group.
for _ in $(seq 50); do
  [ "$(ps -o pgid= -p "$weston_pid" | tr -d ' ')" = "$weston_pid" ] && break
  sleep 0.1
done
[ "$(ps -o pgid= -p "$weston_pid" | tr -d ' ')" = "$weston_pid" ] || fail "weston did not get a process group of its own"
weston_group=$weston_pid
# Should this script be killed (a ctest time-out), weston goes with it.
(
  while running $$; do sleep 1; done
  kill -TERM "-$weston_group" 2>/dev/null
) </dev/null >/dev/null 2>&1 &
watchdog_pid=$!

display=""
for _ in $(seq 200); do
  if ! running "$weston_pid"; then
    echo "weston session: weston cannot start here; skipped" >&2
    cat "$runtime/weston.log" >&2
    exit 77
  fi
  [ -S "$runtime/$socket" ] && display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$runtime/weston.log")
  [ -n "$display" ] && break
  sleep 0.1
done
[ -S "$runtime/$socket" ] || { echo "weston session: weston made no socket in 20 s; skipped" >&2; exit 77; }
[ -n "$display" ] || fail "weston started without an X display"
echo "weston session: Wayland display $socket, X display $display"

# 1. Both displays, no platform chosen: X11.
session WAYLAND_DISPLAY="$socket" DISPLAY="$display" "$program" &
program_pid=$!
(session DISPLAY="$display" timeout 60 "$driver" "$title") || fail "the window did not show on the X display $display"
wait_end "$program_pid" 300 "lexigrove (X11) after the close request"
program_pid=""
[ "$status" -eq 0 ] || fail "lexigrove on X11 ended with status $status"
echo "weston session: with both displays the window was on X, and a close request ended it with status 0"

# Native Wayland through the proxy, which closes the window once it shows;
# $1 is the DISPLAY to give, the rest the extra environment; the program's
# arguments are in $program_args.
program_args=""
native_wayland() {
  x_display=$1
  shift
  session "$proxy" lexigrove-proxy "$socket" "$title" &
  proxy_pid=$!
  for _ in $(seq 50); do
    [ -S "$runtime/lexigrove-proxy" ] && break
    sleep 0.1
  done
  [ -S "$runtime/lexigrove-proxy" ] || fail "the proxy did not start"
  # shellcheck disable=SC2086 # the arguments are words
  session WAYLAND_DISPLAY=lexigrove-proxy DISPLAY="$x_display" "$@" "$program" $program_args &
  program_pid=$!
  wait_end "$program_pid" 600 "lexigrove (Wayland)"
  program_pid=""
  [ "$status" -eq 0 ] || fail "lexigrove on Wayland ended with status $status"
  wait "$proxy_pid"
  proxied=$?
  proxy_pid=""
  [ "$proxied" -eq 0 ] || fail "the window did not show on Wayland, or did not close on request"
}

# 2. The user chose Wayland.
native_wayland "$display" QT_QPA_PLATFORM=wayland
echo "weston session: with QT_QPA_PLATFORM=wayland the window showed natively and a close request ended it with status 0"
(session WAYLAND_DISPLAY="$socket" DISPLAY="$display" QT_QPA_PLATFORM=wayland timeout 60 "$hint_test" \
  alwaysOnTopSaysSoWhereItCannotWork) || fail "Always on Top does not say it cannot work on Wayland"
program_args="-platform wayland"
native_wayland "$display"
program_args=""
echo "weston session: with -platform wayland the window showed natively and a close request ended it with status 0"

# 3. No platform chosen, no X server behind DISPLAY.
native_wayland "$(unused_display)"
echo "weston session: with an X display nobody runs the window showed natively and a close request ended it with status 0"

#!/bin/sh
# Under a real window manager (openbox), the main window and the About
# window stand where they should with their frames counted, at scales 1,
# 1.5 and 2 (QT_SCALE_FACTOR) and at 144 dots per inch (Xft.dpi): the main
# window's outer rectangle centred on the screen from the moment it shows,
# the About window's outer size 282 x 225 scaled, centred over the main
# window. openbox measures its frame in device pixels; at a fractional scale
# a window stands on whole logical pixels, so each edge may be off by less
# than one logical pixel (none at scale 1). Enter closes the About window,
# File, Exit the program.
#   wm_placement.sh <lexigrove>      (on an X display of 1024 x 768)
set -u
program=$1
screen_width=1024
screen_height=768

fail() {
  echo "wm_placement: ${label:-}: $*" >&2
  [ -n "${xev:-}" ] && kill "$xev" 2>/dev/null
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
  [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null
  exit 1
}

# Prints "left top width height" of the outer rectangle of window $1.
outer_geometry() {
  info=$(xwininfo -id "$1") || return 1
  x=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *\(-\{0,1\}[0-9]*\).*/\1/p')
  y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *\(-\{0,1\}[0-9]*\).*/\1/p')
  w=$(echo "$info" | sed -n 's/.*Width: *\([0-9]*\).*/\1/p')
  h=$(echo "$info" | sed -n 's/.*Height: *\([0-9]*\).*/\1/p')
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
  [ -n "$extents" ] || return 1
  IFS=, read -r l r t b <<END
$extents
END
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# near "GOT" "IDEAL": each number of GOT less than one logical pixel
# ($scale device pixels) from the one of IDEAL, which may have fractions.
near() {
  echo "$1 $2" | awk -v s="$scale" '{ for (i = 1; i <= 4; i++) { d = $i - $(i + 4); if (d < 0) d = -d; if (d >= s) exit 1 } }'
}

# Waits up to five seconds for window $1 to stand near the outer rectangle $2.
expect_near() {
  for _ in $(seq 50); do
    got=$(outer_geometry "$1") && near "$got" "$2" && return 0
    sleep 0.1
  done
  fail "$3: outer rectangle '$got', expected '$2'"
}

# Every place a frame of width $1 stood at, from the xev log, counting only
# frames that were mapped (openbox builds an unmapped frame of its own to
# tell the extents before a window shows).
frames() {
  events=$(awk 'BEGIN { RS = "" } { gsub(/\n/, " "); print }' "$log")
  mapped=$(echo "$events" | sed -n 's/^MapNotify event.* window \(0x[0-9a-f]*\),.*/\1/p')
  echo "$events" |
    sed -n 's/^ConfigureNotify.* window \(0x[0-9a-f]*\), (\(-\{0,1\}[0-9]*,-\{0,1\}[0-9]*\)), width \([0-9]*\), height \([0-9]*\),.*/\1 \2 \3 \4/p' |
    while read -r id place w h; do
      echo "$mapped" | grep -qx "$id" && [ "$w" = "$1" ] && echo "$place $w $h"
    done | sort -u
}

. "$(dirname "$0")/openbox_start.sh"
start_openbox || fail "openbox did not start"

# keys_to WINDOW KEYS...: typed on the keyboard once WINDOW has the focus.
keys_to() {
  window=$1
  shift
  for _ in $(seq 50); do
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ] && break
    sleep 0.1
  done
  xdotool key "$@"
}

# check_at LABEL SCALE [ENVIRONMENT...]: the program at SCALE device pixels
# to the logical one, started with ENVIRONMENT.
check_at() {
  label=$1
  scale=$2
  shift 2
  # Every move of a window manager's frame, from before the program starts.
  log=$(mktemp)
  xev -root -event substructure >"$log" 2>&1 &
  xev=$!
  sleep 0.3

  env QT_QPA_PLATFORM=xcb "$@" "$program" &
  pid=$!
  main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Lexigrove v2\.2$' | head -n 1)
  [ -n "$main" ] || fail "the main window did not show"

  # The main window: 316 x 400 of client area (scaled) under its menu bar,
  # centred with its frame from the moment it shows (openbox tells the
  # frame when asked, before the window is mapped), not moved there
  # afterwards.
  first=
  for _ in $(seq 100); do
    first=$(outer_geometry "$main") && break
    sleep 0.02
  done
  [ -n "$first" ] || fail "no frame extents on the main window"
  set -- $first
  width=$3
  height=$4
  client_width=$(xwininfo -id "$main" | sed -n 's/.*Width: *\([0-9]*\).*/\1/p')
  near "$client_width 0 0 0" "$(awk -v s="$scale" 'BEGIN { print 316 * s }') 0 0 0" ||
    fail "main window: $client_width pixels wide inside, not 316 scaled by $scale"
  main_left=$(((screen_width - width) / 2))
  main_top=$(((screen_height - height) / 2))
  [ "$main_top" -lt 0 ] && main_top=0
  near "$first" "$main_left $main_top $width $height" ||
    fail "main window: first shown at '$first', not at '$main_left $main_top $width $height'"
  sleep 0.5
  expect_near "$main" "$first" "main window"
  # Its frame stood nowhere else on the way.
  places=$(frames "$width")
  [ "$places" = "$1,$2 $width $height" ] || fail "main window: its frame stood at $(echo $places) before it was centred"
  main_left=$1
  main_top=$2

  # The About window, by Alt+A, 282 x 225 (scaled) centred over the main
  # window.
  keys_to "$main" alt+a
  about=$(timeout 20 xdotool search --sync --onlyvisible --name '^About\.\.$' | head -n 1)
  [ -n "$about" ] || fail "the About window did not show"
  placed=$(awk -v l="$main_left" -v t="$main_top" -v w="$width" -v h="$height" -v s="$scale" \
    'BEGIN { printf "%d %d %s %s", l + int(w / 2) - int(141 * s), t + int(h / 2) - int(112.5 * s), 282 * s, 225 * s }')
  expect_near "$about" "$placed" "About window"
  # Its frame had that place and size from the start.
  sleep 0.3
  kill "$xev" 2>/dev/null
  xev=
  set -- $(outer_geometry "$about")
  places=$(frames "$3")
  rm -f "$log"
  [ "$places" = "$1,$2 $3 $4" ] || fail "About window: its frame stood at $(echo $places | tr ' ' ',')"
  echo "wm_placement: $label: main window at $first, About window at $*"

  # Enter closes it.
  keys_to "$about" Return
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^About\.\.$' >/dev/null 2>&1 || break
    sleep 0.1
  done
  xdotool search --onlyvisible --name '^About\.\.$' >/dev/null 2>&1 && fail "Enter did not close the About window"

  # File, Exit ends the program with status 0.
  keys_to "$main" alt+f x
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "lexigrove still runs after File, Exit"
  wait "$pid"
  status=$?
  pid=
  [ "$status" -eq 0 ] || fail "lexigrove ended with status $status"
}

check_at "scale 1" 1
check_at "scale 1.5" 1.5 QT_SCALE_FACTOR=1.5
check_at "scale 2" 2 QT_SCALE_FACTOR=2
# 144 dots per inch as a desktop sets it, in the X resources.
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t144\n')"
check_at "Xft.dpi 144" 1.5
xprop -root -remove RESOURCE_MANAGER

kill "$wm" 2>/dev/null
echo "wm_placement: both windows centred with their frames under openbox at every scale"

#!/bin/sh
# Under a real window manager (openbox), the main window and the About
# window stand where they should with their frames counted: the main
# window's outer rectangle centred on the screen from the moment it shows,
# the About window's outer size 282 x 225, centred over the main window.
# Enter closes the About window, File, Exit the program.
#   wm_placement.sh <lexigrove>      (on an X display of 1024 x 768)
set -u
program=$1
screen_width=1024
screen_height=768

fail() {
  echo "wm_placement: $*" >&2
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

# Waits up to five seconds for window $1 to reach the outer rectangle $2.
expect_outer() {
  for _ in $(seq 50); do
    got=$(outer_geometry "$1") && [ "$got" = "$2" ] && return 0
    sleep 0.1
  done
  fail "$3: outer rectangle '$got', expected '$2'"
}

. "$(dirname "$0")/openbox_start.sh"
start_openbox || fail "openbox did not start"

# Every move of a window manager's frame, from before the program starts.
log=$(mktemp)
xev -root -event substructure >"$log" 2>&1 &
xev=$!
sleep 0.3

QT_QPA_PLATFORM=xcb "$program" &
pid=$!
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Lexigrove v2\.2$' | head -n 1)
[ -n "$main" ] || fail "the main window did not show"

# The main window: 316 x 400 of client area under its menu bar, centred
# with its frame from the moment it shows (openbox tells the frame when
# asked, before the window is mapped), not moved there afterwards.
first=
for _ in $(seq 100); do
  first=$(outer_geometry "$main") && break
  sleep 0.02
done
[ -n "$first" ] || fail "no frame extents on the main window"
set -- $first
width=$3
height=$4
centred="$(((screen_width - width) / 2)) $(((screen_height - height) / 2)) $width $height"
[ "$first" = "$centred" ] || fail "main window: first shown at '$first', not at '$centred'"
sleep 0.5
expect_outer "$main" "$centred" "main window"
# Its frame stood nowhere else on the way.
frames() {
  tr -d '\n' <"$log" | sed 's/ConfigureNotify/\nConfigureNotify/g' | grep '^ConfigureNotify' |
    sed -n 's/.*(\(-\{0,1\}[0-9]*,-\{0,1\}[0-9]*\)), width \([0-9]*\), height \([0-9]*\),.*/\1 \2 \3/p' | sort -u
}
places=$(frames | grep " $width $height\$")
[ "$places" = "$(((screen_width - width) / 2)),$(((screen_height - height) / 2)) $width $height" ] ||
  fail "main window: its frame stood at $(echo $places) before it was centred"
main_left=$(((screen_width - width) / 2))
main_top=$(((screen_height - height) / 2))

# The About window, by Alt+A, centred over the main window.
xdotool key --window "$main" alt+a
about=$(timeout 20 xdotool search --sync --onlyvisible --name '^About\.\.$' | head -n 1)
[ -n "$about" ] || fail "the About window did not show"
expect_outer "$about" "$((main_left + width / 2 - 141)) $((main_top + height / 2 - 112)) 282 225" "About window"
# Its frame had that place and size from the start.
sleep 0.3
kill "$xev" 2>/dev/null
places=$(frames | grep ' 282 [0-9]*$')
rm -f "$log"
[ "$places" = "$((main_left + width / 2 - 141)),$((main_top + height / 2 - 112)) 282 225" ] ||
  fail "About window: its frame stood at $(echo $places | tr ' ' ',')"

# Enter closes it.
xdotool key --window "$about" Return
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^About\.\.$' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^About\.\.$' >/dev/null 2>&1 && fail "Enter did not close the About window"

# File, Exit ends the program with status 0.
xdotool key --window "$main" alt+f x
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "lexigrove still runs after File, Exit"
wait "$pid"
status=$?
pid=
kill "$wm" 2>/dev/null
[ "$status" -eq 0 ] || fail "lexigrove ended with status $status"
echo "wm_placement: both windows centred with their frames under openbox"

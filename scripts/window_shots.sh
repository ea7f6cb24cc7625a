#!/bin/sh
# Pictures of both windows as a user sees them, for comparing two builds or
# looking at a style, palette or scale: the program on a virtual X display
# under openbox; three length options ticked by clicks (the focus frame on
# the last), the pointer over a fourth; then the About window.
#   scripts/window_shots.sh LEXIGROVE OUTDIR [PROGRAM ARGUMENTS...]
# e.g. scripts/window_shots.sh build/src/app/lexigrove /tmp/shots -style Fusion
# Writes OUTDIR/main.png and OUTDIR/about.png (the whole 1024x768 screen, so
# the windows' places count too). QT_SCALE_FACTOR, if set, scales the
# clicks with the windows. Needs xvfb-run, openbox, xdotool, xwininfo and
# imagemagick's import.
set -eu
program=$(realpath "$1")
outdir=$(realpath -m "$2")
shift 2

if [ -z "${LEXIGROVE_SHOTS_INNER:-}" ]; then
  mkdir -p "$outdir"
  LEXIGROVE_SHOTS_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$program" "$outdir" "$@"
fi

openbox >/dev/null 2>&1 &
wm=$!
sleep 1
QT_QPA_PLATFORM=xcb "$program" "$@" &
pid=$!
trap 'kill "$pid" "$wm" 2>/dev/null || true' EXIT

# find_window CAPTION: the id of the window with that caption, once it shows.
find_window() {
  for _ in $(seq 100); do
    found=$(xdotool search --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$found" ] && { sleep 1; echo "$found"; return 0; }
    sleep 0.1
  done
  echo "window_shots: no window $1 appeared" >&2
  return 1
}

window=$(find_window '^Lexigrove v2.2$')

scale=${QT_SCALE_FACTOR:-1}
# The client area's top left on the screen, and the menu bar's height: the
# client area is 400 high under it.
info=$(xwininfo -id "$window")
X=$(echo "$info" | sed -n 's/^ *Absolute upper-left X: *//p')
Y=$(echo "$info" | sed -n 's/^ *Absolute upper-left Y: *//p')
HEIGHT=$(echo "$info" | sed -n 's/^ *Height: *//p')
menu=$(awk -v h="$HEIGHT" -v s="$scale" 'BEGIN { printf "%d", h - 400 * s }')
# at X Y: the pointer to (X, Y) of the client area, in the window's pixels.
at() {
  xdotool mousemove "$(awk -v x="$1" -v l="$X" -v s="$scale" 'BEGIN { printf "%d", l + x * s }')" \
    "$(awk -v y="$2" -v t="$Y" -v m="$menu" -v s="$scale" 'BEGIN { printf "%d", t + m + y * s }')"
}
# The length options start at (14, 105): columns 96 wide, rows 15 high;
# a row's text starts 25 pixels in.
row() { at $((14 + ($1 / 5) * 96 + 32)) $((105 + ($1 % 5) * 15 + 7)); }

for r in 0 6 12; do
  row "$r"
  sleep 0.2
  xdotool click 1
  sleep 0.3
done
row 3
sleep 0.5
import -window root "$outdir/main.png"

xdotool key alt+a
find_window '^About' >/dev/null
import -window root "$outdir/about.png"
xdotool key Return
sleep 0.3
echo "window_shots: $outdir/main.png $outdir/about.png"

#!/bin/sh
# Takes the README's picture of the main window: starts lexigrove on a
# virtual X display, ticks every word length, unscrambles "grove" and saves
# the window, reduced to a small palette, as a PNG.
#   scripts/screenshot.sh [LEXIGROVE] [OUTPUT]
# Defaults: build/src/app/lexigrove and docs/screenshot.png. Needs xvfb-run,
# xwininfo (x11-utils), import and convert (imagemagick), python3 and libXtst.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$here/build/src/app/lexigrove}")
output=$(realpath -m "${2:-$here/docs/screenshot.png}")
[ -x "$program" ] || { echo "screenshot: no program at $program" >&2; exit 1; }

if [ -z "${LEXIGROVE_SCREENSHOT_INNER:-}" ]; then
  LEXIGROVE_SCREENSHOT_INNER=1 exec xvfb-run -a -s "-screen 0 800x600x24" sh "$0" "$program" "$output"
fi

# On the virtual display from here on.
work=$(mktemp -d)
QT_QPA_PLATFORM=xcb "$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

window=""
for _ in $(seq 100); do
  window=$(xwininfo -name "Lexigrove v2.2" 2>/dev/null | sed -n 's/^xwininfo: Window id: \(0x[0-9a-f]*\).*/\1/p')
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "screenshot: the window did not appear" >&2; exit 1; }
sleep 1

# Clicks and keys go in through the XTEST extension. The client area is
# 316 x 400 under the menu bar, so the menu bar's height is what is left.
python3 - "$window" <<'PYTHON'
import ctypes, subprocess, sys, time

window = int(sys.argv[1], 16)
info = subprocess.run(["xwininfo", "-id", sys.argv[1]], capture_output=True, text=True, check=True).stdout
field = lambda name: int(next(l for l in info.splitlines() if l.strip().startswith(name)).split(":")[1])
left, top, height = field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Height")
menu = height - 400

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
xtest = ctypes.cdll.LoadLibrary("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XStringToKeysym.restype = ctypes.c_ulong
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
for f in (x11.XFlush, x11.XSetInputFocus, x11.XKeysymToKeycode, xtest.XTestFakeMotionEvent,
          xtest.XTestFakeButtonEvent, xtest.XTestFakeKeyEvent):
    f.argtypes = None
display = ctypes.c_void_p(x11.XOpenDisplay(None))

def click(x, y):
    xtest.XTestFakeMotionEvent(display, 0, left + x, top + menu + y, ctypes.c_ulong(0))
    for press in (1, 0):
        xtest.XTestFakeButtonEvent(display, 1, press, ctypes.c_ulong(0))
    x11.XFlush(display)
    time.sleep(0.3)

def key(name):
    code = x11.XKeysymToKeycode(display, ctypes.c_ulong(x11.XStringToKeysym(name.encode())))
    for press in (1, 0):
        xtest.XTestFakeKeyEvent(display, code, press, ctypes.c_ulong(0))
    x11.XFlush(display)
    time.sleep(0.05)

x11.XSetInputFocus(display, ctypes.c_ulong(window), 2, ctypes.c_ulong(0))
click(8 + 68 + 37, 89 + 97 + 12)   # Check All
click(8 + 9 + 100, 2 + 18 + 10)    # the edit box
for letter in "grove":
    key(letter)
key("Return")
time.sleep(1)
PYTHON

import -window "$window" "$work/window.png"
mkdir -p "$(dirname "$output")"
convert "$work/window.png" -strip -colors 64 "PNG8:$output"
echo "screenshot: $output ($(wc -c < "$output") bytes)"

# Sourced by the tests that need a window manager on the current X display.
# start_openbox starts openbox in the background, sets wm to its process id,
# and returns once openbox manages the display (1 if it did not within five
# seconds).
start_openbox() {
  openbox --sm-disable &
  wm=$!
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    # Started before the display took connections: once more.
    kill -0 "$wm" 2>/dev/null || { openbox --sm-disable & wm=$!; }
    sleep 0.1
  done
  xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'
}

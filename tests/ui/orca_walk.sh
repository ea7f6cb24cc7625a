#!/bin/sh
# What Orca, the screen reader, says about the real program driven by real
# keys and clicks. On a virtual X display of its own (Xvfb, 1024 x 768),
# with openbox, a D-Bus session and accessibility bus of its own, it starts
# Orca with its debug log and no speech server (Orca logs every utterance
# all the same), then the program, runs the steps of the steps files (see
# orca_speech.py), leaves the program by File, Exit, and prints what Orca
# said, one utterance a line under a "> step" line for each step.
#   orca_walk.sh [-o <transcript>] [-l <orca debug log>] <lexigrove> <steps>...
# The steps of several files run one after another. With -o, writes the
# transcript there instead of printing it; with -l, keeps Orca's whole
# debug log. Fails if a step's `expect` or `reject` does not hold, or if
# the program does not end by itself with status 0.
set -u
here=$(cd "$(dirname "$0")" && pwd)
usage() {
  sed -n '2,14p' "$here/orca_walk.sh" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

transcript=
keep_log=
while getopts o:l: option; do
  case $option in
    o) touch "$OPTARG" && transcript=$(realpath "$OPTARG") || exit 2 ;;
    l) touch "$OPTARG" && keep_log=$(realpath "$OPTARG") || exit 2 ;;
    *) usage ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 2 ] || usage
program=$(realpath "$1") || exit 2
shift
for file in "$@"; do
  [ -r "$file" ] || { echo "orca_walk: cannot read $file" >&2; exit 2; }
done

if [ -z "${ORCA_WALK_INSIDE:-}" ]; then
  # Orca runs once per user: it will not start while another one runs.
  if command -v pgrep >/dev/null; then
    for i in $(seq 120); do
      pgrep -u "$(id -u)" -x orca >/dev/null || break
      [ "$i" -eq 1 ] && echo "orca_walk: waiting for another Orca of this user to end" >&2
      sleep 0.5
    done
  fi
  for file in "$@"; do
    set -- "$@" "$(realpath "$file")"
    shift
  done
  # What the session's programs print goes to standard error; standard
  # output is the transcript's alone.
  out=${transcript:-$(mktemp)}
  env ORCA_WALK_INSIDE=1 ORCA_WALK_TRANSCRIPT="$out" ORCA_WALK_LOG="$keep_log" \
    xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- sh "$0" "$program" "$@" >&2
  status=$?
  if [ -z "$transcript" ]; then
    cat "$out"
    rm -f "$out"
  fi
  exit "$status"
fi
transcript=$ORCA_WALK_TRANSCRIPT
keep_log=$ORCA_WALK_LOG

work=$(mktemp -d)
cleanup() {
  if [ -n "${orca:-}" ] && kill "$orca" 2>/dev/null; then
    for _ in $(seq 50); do
      kill -0 "$orca" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$orca" 2>/dev/null
  fi
  [ -n "${logger:-}" ] && kill "$logger" 2>/dev/null
  [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null
  [ -n "$keep_log" ] && cp "$work/orca.log" "$keep_log"
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "orca_walk: $*" >&2
  exit 1
}

# Nothing of the user's own settings, Orca's or the program's, is read or
# written.
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
# Nor is anything written into the source tree.
export PYTHONDONTWRITEBYTECODE=1
# Qt turns on its accessibility bridge because a screen reader runs, as on
# a user's desktop, not because it is told to.
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON QT_ACCESSIBILITY

. "$here/openbox_start.sh"
start_openbox || fail "openbox did not start"

/usr/bin/python3 "$here/orca_speech.py" log "$work/tty" "$work/orca.log" &
logger=$!
for _ in $(seq 50); do
  [ -s "$work/tty" ] && break
  sleep 0.1
done
[ -s "$work/tty" ] || fail "no terminal for Orca's log"

# SPEECHD_CMD: the speech server is never started (no sound card here), so
# Orca finds no speech server and only logs what it would say.
SPEECHD_CMD=/bin/false orca --debug-file "$(cat "$work/tty")" --user-prefs "$work/orca" \
  >"$work/orca.out" 2>&1 &
orca=$!
for _ in $(seq 200); do
  grep -q "SPEECH OUTPUT: 'Screen reader on.'" "$work/orca.log" && break
  kill -0 "$orca" 2>/dev/null || fail "Orca ended at start: $(cat "$work/orca.out")"
  sleep 0.1
done
grep -q "SPEECH OUTPUT: 'Screen reader on.'" "$work/orca.log" ||
  fail "Orca did not start within 20 s: $(cat "$work/orca.out"; tail -n 20 "$work/orca.log")"

sh "$here/drive_on_x.sh" "$program" \
  /usr/bin/python3 "$here/orca_speech.py" drive "$work/orca.log" "$work/timeline" "$@" >&2
driven=$?

# Every line Orca wrote is in the log already. Orca handles the signal to
# end only when its main loop next wakes, which, with nothing happening on
# the bus, may take a long while: it gets two seconds.
kill "$orca"
for _ in $(seq 20); do
  kill -0 "$orca" 2>/dev/null || break
  sleep 0.1
done
kill -9 "$orca" 2>/dev/null
orca=
kill "$logger"
wait "$logger"
logger=

[ -s "$work/timeline" ] || fail "the steps did not run"
/usr/bin/python3 "$here/orca_speech.py" report "$work/orca.log" "$work/timeline" >"$transcript"
reported=$?
[ "$driven" -eq 0 ] && [ "$reported" -eq 0 ] || exit 1
echo "orca_walk: every step ran and every expectation held" >&2

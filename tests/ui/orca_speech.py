"""What Orca, the screen reader, says while the running lexigrove is driven
by real keys and clicks. Three parts, run by orca_walk.sh:

  orca_speech.py log TTYNAME LOG
      Orca writes its debug log line by line only to a terminal (to a file
      it writes in blocks, so a step's speech would show up late): this
      makes a terminal, writes its name to TTYNAME for Orca's --debug-file,
      and copies what Orca writes there into LOG as it comes, until stopped.
  orca_speech.py drive LOG TIMELINE STEPS...
      Runs the steps of the files, one after another, against the program, each once Orca has had its say on
      the one before (LOG has stopped growing), and notes in TIMELINE where
      in LOG each step began; then leaves the program by File, Exit.
  orca_speech.py report LOG TIMELINE
      Prints what Orca said at each step, one utterance a line under a
      "> step" line, and checks the steps' expectations.

A steps file holds one step a line, its words split as a shell splits them;
`#` starts a comment:
  key KEY...            keys pressed one after another, in xdotool's names
                        ("Tab", "Down", "space", "alt+o", "Return")
  type TEXT             text typed into the focused control
  click ROLE NAME [DX]  a real click on the control with that role and name
                        in the program's accessibility tree, at its centre
                        or DX pixels from its left edge
  clickat X Y           a real click at a point of the screen
  wait SECONDS          more time for the step before
  expect REGEX          something Orca said at the step before (or at the
                        start, before any step) matches
  reject REGEX          nothing Orca said at the step before matches
"""
import json
import os
import pty
import re
import select
import shlex
import signal
import subprocess
import sys
import time
import tty

# How long Orca's log must stay still before the next step, and how long a
# step may take at most.
QUIET = 0.5
LONGEST = 10.0

# "HH:MM:SS.ffffff - SPEECH OUTPUT: 'text'" and then, on the same line, the
# voice: " voice=NAME", a space or nothing, then a dict. A text of several
# lines goes on under an indent of 18 spaces.
UTTERANCE = re.compile(r"^\d\d:\d\d:\d\d\.\d+ - SPEECH OUTPUT: '(.*?)'(?: voice=\S+)? ?\{[^\n]*\}$",
                       re.M | re.S)


def utterances(text):
    """What Orca said in a piece of its debug log, in order, each on one
    line (a line break inside an utterance shows as \\n)."""
    return [m.group(1).replace("\n" + " " * 18, "\n").strip().replace("\n", "\\n")
            for m in UTTERANCE.finditer(text)]


def copy_log(ttyname_file, log_path):
    master, slave = pty.openpty()
    tty.setraw(slave)  # lines as written, without carriage returns
    stopping = []
    signal.signal(signal.SIGTERM, lambda *_: stopping.append(True))
    with open(ttyname_file + ".new", "w") as f:
        f.write(os.ttyname(slave))
    os.rename(ttyname_file + ".new", ttyname_file)
    with open(log_path, "wb") as log:
        while True:
            ready, _, _ = select.select([master], [], [], 0.1)
            if ready:
                log.write(os.read(master, 65536))
                log.flush()
            elif stopping:
                return 0


def log_size(path):
    return os.path.getsize(path)


def settle(log_path, at_least=0.3):
    """Waits until Orca's log has stayed the same size for QUIET seconds."""
    start = time.monotonic()
    size, since = log_size(log_path), start
    while True:
        time.sleep(0.05)
        now = time.monotonic()
        grown = log_size(log_path)
        if grown != size:
            size, since = grown, now
        elif now - since >= QUIET and now - start >= at_least:
            return
        if now - start >= LONGEST:
            return


def read_steps(path):
    steps = []
    with open(path) as f:
        for number, line in enumerate(f, 1):
            words = shlex.split(line, comments=True)
            if not words:
                continue
            verb, args = words[0], words[1:]
            arity = {"key": (1, None), "type": (1, 1), "click": (2, 3), "clickat": (2, 2),
                     "wait": (1, 1), "expect": (1, 1), "reject": (1, 1)}.get(verb)
            if arity is None or len(args) < arity[0] or (arity[1] is not None and len(args) > arity[1]):
                sys.exit("%s:%d: not a step: %s" % (path, number, line.strip()))
            steps.append((verb, args, line.strip()))
    return steps


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def drive(log_path, timeline_path, steps_paths):
    # Imported here: only this part talks to the accessibility bus.
    import atspi_common
    from atspi_common import application, centre, click, find, window

    steps = [step for path in steps_paths for step in read_steps(path)]
    timeline = []

    # The timeline is written anew at each change, so that a walk cut short
    # is still reported.
    def save():
        with open(timeline_path, "w") as f:
            json.dump(timeline, f, indent=1)

    def begin(step):
        timeline.append({"step": step, "offset": log_size(log_path), "expect": [], "reject": []})
        save()

    begin("start")
    # Orca may speak of the program before this driver is up: the start
    # counts from Orca's own.
    timeline[0]["offset"] = 0
    app = application()
    if window(app, "Lexigrove v2.2", 20.0) is None:
        sys.exit("orca_speech: the main window did not show")
    settle(log_path, 1.0)
    for verb, args, line in steps:
        if verb in ("expect", "reject"):
            timeline[-1][verb].append(args[0])
            save()
            continue
        if verb == "wait":
            time.sleep(float(args[0]))
            settle(log_path)
            continue
        begin(line)
        if verb == "key":
            xdotool("key", "--delay", 100, *args)
        elif verb == "type":
            xdotool("type", "--delay", 100, args[0])
        elif verb == "click":
            node = find(app, args[0], args[1])
            if node is None:
                sys.exit("orca_speech: no %s named %r to click" % (args[0], args[1]))
            click(*centre(node, int(args[2]) if len(args) > 2 else None))
        elif verb == "clickat":
            click(int(args[0]), int(args[1]))
        settle(log_path)
    begin("leave by File, Exit")
    atspi_common.finish("orca_speech", app)


def report(log_path, timeline_path):
    with open(log_path, "rb") as f:
        log = f.read()
    with open(timeline_path) as f:
        timeline = json.load(f)
    failures = 0
    for i, step in enumerate(timeline):
        end = timeline[i + 1]["offset"] if i + 1 < len(timeline) else len(log)
        said = utterances(log[step["offset"]:end].decode("utf-8", "replace"))
        print("> " + step["step"])
        for line in said:
            print(line)
        for pattern in step["expect"]:
            if not any(re.search(pattern, line) for line in said):
                print("FAIL: at '%s' Orca said nothing that matches '%s'" % (step["step"], pattern),
                      file=sys.stderr)
                failures += 1
        for pattern in step["reject"]:
            if any(re.search(pattern, line) for line in said):
                print("FAIL: at '%s' Orca said something that matches '%s'" % (step["step"], pattern),
                      file=sys.stderr)
                failures += 1
    return 1 if failures else 0


def main(argv):
    if len(argv) == 4 and argv[1] == "log":
        return copy_log(argv[2], argv[3])
    if len(argv) >= 5 and argv[1] == "drive":
        return drive(argv[2], argv[3], argv[4:])
    if len(argv) == 4 and argv[1] == "report":
        return report(argv[2], argv[3])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))

"""Where a program's start-up time goes, read from a Wine trace of it
(WINEDEBUG=+timestamp,+loaddll,+relay, relaying only the calls that end a
phase): how many milliseconds each phase took, from the load of its
program file to its first wait for input.

    phases.py TRACE PROGRAM.exe   prints "phase ms" lines

The phases: the libraries loaded and started before the program's own
code runs; its own start until its first window is made; the rest of that
window and its child windows, until it is shown; showing it; the first
paint and the children's, until its message loop first waits (where the
benchmark's clock stops); and what it does after that first idle moment,
until it waits for good (100 ms without a message). Wine starts
its display driver with the first window or with the first library that
loads a cursor, whichever comes first, so the driver's start falls in a
different phase for different programs. Relaying slows the calls it logs,
so the times run a little longer than the benchmark's; the differences
between programs are what they are for.
"""
import re
import sys

LINE = re.compile(r"(\d+\.\d+):([0-9a-f]{4}):(.*)")


def phases(lines, program):
    start = tid = None
    events = []
    for line in lines:
        m = LINE.match(line)
        if not m:
            continue
        t, thread, rest = float(m.group(1)), m.group(2), m.group(3)
        if tid is None:
            if "Loaded" in rest and rest.lower().split("\\")[-1].startswith(program.lower() + '"'):
                start, tid = t, thread
            continue
        if thread == tid:
            events.append((1000 * (t - start), rest))
    if tid is None:
        raise SystemExit(f"phases: {program} is not in the trace")

    def first(name, pattern, after=0.0):
        for t, rest in events:
            if t >= after and re.search(pattern, rest):
                return t
        raise SystemExit(f"phases: {program} never reached the end of '{name}'")

    main = first("libraries", r"Starting thread proc")
    made = first("first window", r"msg=WM_NCCREATE", main)
    show = first("child windows", r"Call user32\.ShowWindow", made)
    shown = first("shown", r"Ret  user32\.ShowWindow", show)
    def wait(longer_than):
        # A call for a message still unanswered `longer_than` ms on; one that
        # finds a message waiting returns within a millisecond or two.
        for i, (t, rest) in enumerate(events):
            if t > shown and "Call user32.GetMessageW" in rest:
                answer = next((u for u, r in events[i + 1:] if "Ret  user32.GetMessageW" in r), None)
                if answer is None or answer - t > longer_than:
                    return t
        raise SystemExit(f"phases: {program} never waited for input")

    marks = [("libraries", main), ("first window", made), ("child windows", show), ("shown", shown),
             ("painted", wait(5)), ("after idle", wait(100))]
    out, before = [], 0.0
    for name, t in marks:
        out.append((name, t - before))
        before = t
    out.append(("total", before))
    return out


if __name__ == "__main__":
    with open(sys.argv[1], errors="replace") as f:
        for name, ms in phases(f, sys.argv[2]):
            print(f"{name} {ms:.1f}")

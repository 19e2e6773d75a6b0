#!/usr/bin/env bash
# Start-up of Table.exe to its first complete paint under Wine, as a ratio to
# an empty Win32 window started the same way in the same run. Goal: <= 1.2.
#
# run.sh --requests [PROGRAM.exe] shows where start-up goes instead: the
# wineserver requests of each program (the viewer by default) by kind, from
# its first request to its first idle moment with a visible window. Unlike
# the times, these counts do not depend on how busy the machine is: registry
# reads at load (the system libraries), window calls (each real child window
# costs some 70 requests to create, show and paint), window properties, and
# the monitor queries Wine makes for the windows of a DPI-aware program
# (get_process_winstation, set_user_object_info and enum_key, three a query).
#
# run.sh --phases [PROGRAM.exe] shows where the time goes: the median
# milliseconds of each phase of start-up (phases.py names them) over five
# traced starts of each program, taking turns.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/wine-env
[ -f "$ELEMORA_DIST/Table.exe" ] || scripts/build
. scripts/wine-session
wine_session "$PWD/build/bench-prefix-$ELEMORA_WINE_ARCH" 120
bench=$ELEMORA_WIN_BUILD/bench/startup
if [ "${1:-}" = --requests ]; then
  program=${2:-$ELEMORA_DIST/Table.exe}
  log=$(mktemp)
  # The trace comes from a wineserver started for it: the one running now
  # writes to where its first program's error output went.
  "$WINE" "$bench/startbench.exe" "$bench/emptywindow.exe" "$program" 1 >/dev/null 2>&1   # warm the file cache
  wineserver -k 2>/dev/null || true
  WINEDEBUG=+server "$WINE" "$bench/startbench.exe" "$bench/emptywindow.exe" "$program" 1 >"$log" 2>&1 || true
  python3 - "$log" "$(basename "$program")" <<'PY'
import collections, re, sys
lines = open(sys.argv[1], errors="replace").read().splitlines()
names = {"emptywindow.exe": "empty window", sys.argv[2].lower(): sys.argv[2]}
first = []   # each process's first thread, which runs its windows
for l in lines:
    m = re.search(r"init_first_thread\(\) = 0 \{ pid=[0-9a-f]+, tid=([0-9a-f]+)", l)
    if m:
        first.append(m.group(1))
counts = {}
for tid in first:
    c = collections.Counter()
    program = None
    for l in lines:
        if not l.startswith(tid + ": ") or "() = " in l or l[len(tid) + 2] == "*":
            continue
        m = re.search(r"\\\\([^\\\\\"]+\.exe)\"", l)
        if program is None and m and "create_file" in l:   # its own program file comes first
            program = names.get(m.group(1).lower(), "")
        c[l.split(": ", 1)[1].split("(")[0]] += 1
    if program:
        counts[program] = c
groups = {
    "registry": ("open_key", "create_key", "get_key_value", "enum_key_value", "set_key_value"),
    "monitor queries": ("get_process_winstation", "set_user_object_info", "enum_key"),
    "window properties": ("get_window_property", "set_window_property", "remove_window_property"),
    "windows": ("create_window", "set_window_info", "set_window_pos", "get_window_tree", "get_window_info",
                "get_window_children", "get_visible_region", "get_update_region", "redraw_window",
                "get_window_region", "set_window_text", "get_window_parents"),
    "files and images": ("create_file", "get_handle_fd", "create_mapping", "get_mapping_info", "map_view",
                         "close_handle"),
}
print(f"{'':18}" + "".join(f"{p:>16}" for p in counts))
for g, kinds in list(groups.items()) + [("other", None), ("total", ())]:
    row = []
    for c in counts.values():
        if kinds is None:
            known = {k for ks in groups.values() for k in ks}
            row.append(sum(v for k, v in c.items() if k not in known))
        elif kinds == ():
            row.append(sum(c.values()))
        else:
            row.append(sum(c[k] for k in kinds))
    print(f"{g:18}" + "".join(f"{n:16d}" for n in row))
PY
  rm -f "$log"
  exit 0
fi
if [ "${1:-}" = --phases ]; then
  program=${2:-$ELEMORA_DIST/Table.exe}
  debug='HKCU\Software\Wine\Debug'
  # Relay only the calls that end a phase; window procedures are relayed anyway.
  "$WINE" reg add "$debug" /v RelayInclude /d "user32.ShowWindow;user32.GetMessageW" /f >/dev/null 2>&1
  dir=$(mktemp -d)
  for run in 0 1 2 3 4 5; do
    for exe in "$bench/emptywindow.exe" "$program"; do
      log=$dir/$(basename "$exe").$run
      WINEDEBUG=+timestamp,+loaddll,+relay "$WINE" "$exe" >/dev/null 2>"$log" &
      sleep 3
      wineserver -k 2>/dev/null || true
      if [ "$run" = 0 ]; then rm -f "$log"; fi   # the first start of each warms the file cache
    done
  done
  "$WINE" reg delete "$debug" /v RelayInclude /f >/dev/null 2>&1
  python3 - "$dir" "$(basename "$program")" <<'PY'
import os, statistics, sys
sys.path.insert(0, "bench/startup")
from phases import phases
programs = ["emptywindow.exe", sys.argv[2]]
table = {}
for p in programs:
    runs = [dict(phases(open(os.path.join(sys.argv[1], f), errors="replace"), p))
            for f in sorted(os.listdir(sys.argv[1])) if f.rsplit(".", 1)[0] == p]
    table[p] = {k: statistics.median(r[k] for r in runs) for k in runs[0]}
print(f"{'ms':16}{'empty window':>14}{sys.argv[2]:>14}")
for phase in table[programs[0]]:
    print(f"{phase:16}" + "".join(f"{table[p][phase]:14.1f}" for p in programs))
PY
  rm -rf "$dir"
  exit 0
fi
out=$(mktemp)
"$WINE" "$bench/startbench.exe" "$bench/emptywindow.exe" "$ELEMORA_DIST/Table.exe" 15 >"$out" 2>&1
read -r empty table < <(tail -1 "$out" | tr -d '\r')
rm -f "$out"
ratio=$(python3 -c "print(f'{$table / $empty:.2f}')")
echo "$ELEMORA_WINE_ARCH: empty window: ${empty} ms, Table.exe: ${table} ms, ratio ${ratio} (goal <= 1.2)"

#!/usr/bin/env bash
# Start-up of Table.exe to its first complete paint under Wine, as a ratio to
# an empty Win32 window started the same way in the same run. Goal: <= 1.3.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/wine-env
[ -f "$ELEMORA_DIST/Table.exe" ] || scripts/build
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$PWD/build/bench-prefix-$ELEMORA_WINE_ARCH"
n=120
while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
sleep 1
[ -f "$WINEPREFIX/system.reg" ] || "$WINE" wineboot.exe -i >/dev/null 2>&1
bench=$ELEMORA_WIN_BUILD/bench/startup
out=$(mktemp)
"$WINE" "$bench/startbench.exe" "$bench/emptywindow.exe" "$ELEMORA_DIST/Table.exe" 15 >"$out" 2>&1
read -r empty table < <(tail -1 "$out" | tr -d '\r')
rm -f "$out"
ratio=$(python3 -c "print(f'{$table / $empty:.2f}')")
echo "$ELEMORA_WINE_ARCH: empty window: ${empty} ms, Table.exe: ${table} ms, ratio ${ratio} (goal <= 1.3)"

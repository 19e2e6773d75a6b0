#!/usr/bin/env bash
# Recolouring the viewer's table by a property under Wine, against one full
# repaint of its window. Goal: a recolouring, its repaint included, takes no
# longer than one repaint of the whole window.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/wine-env
[ -f "$ELEMORA_WIN_BUILD/bench/trend/trendbench.exe" ] || scripts/build
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$PWD/build/bench-prefix-$ELEMORA_WINE_ARCH"
n=140
while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
sleep 1
[ -f "$WINEPREFIX/system.reg" ] || "$WINE" wineboot.exe -i >/dev/null 2>&1
# The distribution folder as Wine sees it (drive Z: is the root).
folder="Z:$(realpath "$ELEMORA_DIST" | tr / '\\')"
out=$(mktemp)
"$WINE" "$ELEMORA_WIN_BUILD/bench/trend/trendbench.exe" "$folder" 40 >"$out" 2>&1 || true
echo "$ELEMORA_WINE_ARCH: $(tr -d '\r' <"$out" | tail -1)"
rm -f "$out"

#!/usr/bin/env bash
# The worksheet picture of the viewer's table under Wine: drawing it at
# 300 DPI and writing the PNG (goal: under a second), and copying it to the
# clipboard as a bitmap and a metafile (goal: under half a second).
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/wine-env
[ -f "$ELEMORA_WIN_BUILD/bench/sheet/sheetbench.exe" ] || scripts/build
. scripts/wine-session
wine_session "$PWD/build/bench-prefix-$ELEMORA_WINE_ARCH" 140
# The distribution folder as Wine sees it (drive Z: is the root).
folder="Z:$(realpath "$ELEMORA_DIST" | tr / '\\')"
out=$(mktemp)
"$WINE" "$ELEMORA_WIN_BUILD/bench/sheet/sheetbench.exe" "$folder" "${1:-10}" >"$out" 2>&1 || true
tr -d '\r' <"$out" | tail -1 | sed "s/^/$ELEMORA_WINE_ARCH: /"
rm -f "$out"

#!/usr/bin/env bash
# Recolouring the viewer's table by a property, and by the states of matter
# at a new temperature, under Wine, against one full repaint of its window.
# Goal: a recolouring, its repaint included, takes no longer than one repaint
# of the whole window.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/wine-env
[ -f "$ELEMORA_WIN_BUILD/bench/trend/trendbench.exe" ] || scripts/build
. scripts/wine-session
wine_session "$PWD/build/bench-prefix-$ELEMORA_WINE_ARCH" 140
# The distribution folder as Wine sees it (drive Z: is the root).
folder="Z:$(realpath "$ELEMORA_DIST" | tr / '\\')"
out=$(mktemp)
"$WINE" "$ELEMORA_WIN_BUILD/bench/trend/trendbench.exe" "$folder" 40 >"$out" 2>&1 || true
tr -d '\r' <"$out" | tail -2 | sed "s/^/$ELEMORA_WINE_ARCH: /"
rm -f "$out"

# Sourced by the viewer's benchmarks under Wine: run_viewer_bench PROGRAM
# ROUNDS LINES builds if needed, runs build/.../bench/PROGRAM.exe on the
# distribution folder in a prefix of its own and prints its last LINES
# lines, each after the architecture.
run_viewer_bench() {
  local program=$1 rounds=$2 lines=$3
  . scripts/wine-env
  [ -f "$ELEMORA_WIN_BUILD/bench/$program.exe" ] || scripts/build
  . scripts/wine-session
  wine_session "$PWD/build/bench-prefix-$ELEMORA_WINE_ARCH" 140
  # The distribution folder as Wine sees it (drive Z: is the root).
  local folder out
  folder="Z:$(realpath "$ELEMORA_DIST" | tr / '\\')"
  out=$(mktemp)
  "$WINE" "$ELEMORA_WIN_BUILD/bench/$program.exe" "$folder" "$rounds" >"$out" 2>&1 || true
  tr -d '\r' <"$out" | tail -"$lines" | sed "s/^/$ELEMORA_WINE_ARCH: /"
  rm -f "$out"
}

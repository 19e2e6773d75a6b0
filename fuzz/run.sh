#!/bin/sh
# Builds the Jet fuzz target (fuzz preset, clang) and fuzzes for a while.
#   fuzz/run.sh [seconds]   default 60
# New inputs go to build/fuzz/corpus (fuzz/corpus stays the seed set);
# crashes land in build/fuzz/artifacts/. Exits non-zero on a finding.
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build build/fuzz -j2 --target jet_fuzz
mkdir -p build/fuzz/corpus build/fuzz/artifacts
# A small quarantine keeps the allocator from faulting in fresh pages on
# every input; use-after-free is still caught within it.
ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=8:malloc_context_size=5}
export ASAN_OPTIONS
exec build/fuzz/fuzz/jet_fuzz -max_total_time="$seconds" -max_len=300000 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/ build/fuzz/corpus fuzz/corpus

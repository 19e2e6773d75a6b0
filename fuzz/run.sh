#!/bin/sh
# Builds the fuzz targets (fuzz preset, clang) and fuzzes each for a while:
# the Jet reader, then the formula reader of the molar-mass window.
#   fuzz/run.sh [seconds]   default 60 for the Jet reader, a third of it
#                           (at least 10) for the formulas
# New inputs go to build/fuzz/corpus and build/fuzz/formula_corpus (the
# folders under fuzz/ stay the seed sets); crashes land in
# build/fuzz/artifacts/. Exits non-zero on a finding.
set -eu
seconds=${1:-60}
formula_seconds=$((seconds / 3))
[ "$formula_seconds" -ge 10 ] || formula_seconds=10
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build build/fuzz -j2 --target jet_fuzz formula_fuzz
mkdir -p build/fuzz/corpus build/fuzz/formula_corpus build/fuzz/artifacts
# A small quarantine keeps the allocator from faulting in fresh pages on
# every input; use-after-free is still caught within it.
ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=8:malloc_context_size=5}
export ASAN_OPTIONS
build/fuzz/fuzz/jet_fuzz -max_total_time="$seconds" -max_len=300000 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/ build/fuzz/corpus fuzz/corpus
# Formulas are at most 200 characters of two bytes; longer inputs test the
# length check alone.
exec build/fuzz/fuzz/formula_fuzz -max_total_time="$formula_seconds" -max_len=512 -timeout=10 \
  -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/formula- build/fuzz/formula_corpus fuzz/formula_corpus

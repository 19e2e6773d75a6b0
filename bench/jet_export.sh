#!/bin/sh
# Export benchmark: our mdbtool against mdbtools' mdb-export on a generated
# table of 100 000 rows, in the same run, best of three each. Both write the
# same CSV conventions, and the outputs are compared before timing counts.
#   bench/jet_export.sh [ROWS]
set -eu
rows=${1:-100000}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset release >/dev/null
cmake --build build/release -j2 --target mdbtool jet_export_gen >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
db="$work/bench.mdb"
build/release/bench/jet_export_gen "$db" "$rows"
echo "database: $rows rows, $(($(stat -c %s "$db") / 1024)) KiB"

ours() { build/release/tools/mdbtool/mdbtool export "$db" bench; }
theirs() { mdb-export -b hex -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' -0 '<NULL>' "$db" bench; }

ours > "$work/ours.csv"
theirs > "$work/theirs.csv"
if ! cmp -s "$work/ours.csv" "$work/theirs.csv"; then
  echo "outputs differ:" >&2
  diff "$work/ours.csv" "$work/theirs.csv" | head -5 >&2
  exit 1
fi

# Best wall-clock time of three runs, in milliseconds.
best() {
  b=""
  for _ in 1 2 3; do
    s=$(date +%s%N)
    "$@" > /dev/null
    e=$(date +%s%N)
    t=$(((e - s) / 1000000))
    if [ -z "$b" ] || [ "$t" -lt "$b" ]; then b=$t; fi
  done
  echo "$b"
}
t_ours=$(best ours)
t_theirs=$(best theirs)
t_index=$(best build/release/tools/mdbtool/mdbtool export "$db" bench --index ID)
echo "mdbtool export:             ${t_ours} ms"
echo "mdbtool export --index ID:  ${t_index} ms"
echo "mdb-export:                 ${t_theirs} ms"
awk -v a="$t_theirs" -v b="$t_ours" 'BEGIN { if (b < 1) b = 1; printf "mdb-export / mdbtool: %.1fx (goal: at least 3x)\n", a / b }'

#!/usr/bin/env bash
# A 200-character formula read and its result repainted in the molar-mass
# window, under Wine, against one full repaint of the table's window.
# Goal: less than one full repaint of the table's window.
set -euo pipefail
cd "$(dirname "$0")/../.."
. bench/viewer-bench.sh
run_viewer_bench molar/molarbench 40 1

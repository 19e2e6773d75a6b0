#!/usr/bin/env bash
# The worksheet picture of the viewer's table under Wine: drawing it at
# 300 DPI and writing the PNG (goal: under a second), and copying it to the
# clipboard as a bitmap and a metafile (goal: under half a second).
set -euo pipefail
cd "$(dirname "$0")/../.."
. bench/viewer-bench.sh
run_viewer_bench sheet/sheetbench "${1:-10}" 1

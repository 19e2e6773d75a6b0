#!/usr/bin/env bash
# Opening the atom's structure window and stepping through the elements in
# it, under Wine, against one full repaint of the viewer's window.
# Goal: each takes less than that repaint.
set -euo pipefail
cd "$(dirname "$0")/../.."
. bench/viewer-bench.sh
run_viewer_bench atom/atombench 40 1

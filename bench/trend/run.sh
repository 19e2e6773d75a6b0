#!/usr/bin/env bash
# Recolouring the viewer's table by a property, and by the states of matter
# at a new temperature, under Wine, against one full repaint of its window.
# Goal: a recolouring, its repaint included, takes no longer than one repaint
# of the whole window.
set -euo pipefail
cd "$(dirname "$0")/../.."
. bench/viewer-bench.sh
run_viewer_bench trend/trendbench 40 2

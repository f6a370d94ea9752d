#!/usr/bin/env bash
# Builds the suite, starts drawexport on a virtual X server with the demo
# instrument's bridge job (its coordinates and its observations) open and
# saves what the screen shows to docs/drawexport.png (or to the file given).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=$(realpath -m "${1:-$top/docs/drawexport.png}")
BUILD_DIR=$build "$top/scripts/build.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
demo=$top/tools/x4sim/demo/data/JOB/1
cp "$demo/COORDS.GSI" "$work/bridge.gsi"
cp "$demo/OBSERV.GSI" "$work/bridge-observations.gsi"
mkdir -p "$(dirname "$out")"
cd "$work"
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1200x760x24" \
    "$build/bin/drawexport" --screenshot "$out" bridge.gsi bridge-observations.gsi
echo "Saved $out"

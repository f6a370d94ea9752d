#!/usr/bin/env bash
# Builds the suite, starts x4sim with its demo content as COM1 and saves a
# picture of stationlink with COM1 connected, on a virtual X server, to
# docs/stationlink-connected.png (or to the file given).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=$(realpath -m "${1:-$top/docs/stationlink-connected.png}")
BUILD_DIR=$build "$top/scripts/build.sh"
mkdir -p "$(dirname "$out")"
env -u QT_QPA_PLATFORM "$top/scripts/with-x4sim.sh" "$build" \
    xvfb-run -a -s "-screen 0 1280x800x24" "$build/bin/stationlink" --connect COM1 --screenshot "$out"
echo "Saved $out"

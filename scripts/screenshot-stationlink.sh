#!/usr/bin/env bash
# Builds the suite, starts stationlink on a virtual X server and saves what
# the screen shows to docs/stationlink.png (or to the file given).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=$(realpath -m "${1:-$top/docs/stationlink.png}")
BUILD_DIR=$build "$top/scripts/build.sh"
mkdir -p "$(dirname "$out")"
env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/bin/stationlink" --screenshot "$out"
echo "Saved $out"

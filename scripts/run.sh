#!/usr/bin/env bash
# Installs what is missing, builds the suite and starts stationlink with the
# simulated instrument (x4sim and its demo content) on COM1, so the tree has
# an instrument to show at once. Set STATIONLINK_PORTS to use real ports
# instead (then no simulator is started).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
BUILD_DIR=$build "$top/scripts/build.sh"
if [ -n "${STATIONLINK_PORTS:-}" ]; then
    exec "$build/bin/stationlink" "$@"
fi
"$top/scripts/with-x4sim.sh" "$build" "$build/bin/stationlink" "$@"

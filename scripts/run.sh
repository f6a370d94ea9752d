#!/usr/bin/env bash
# Installs what is missing, builds the suite and starts stationlink.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
BUILD_DIR=$build "$top/scripts/build.sh"
if [ ! -x "$build/bin/stationlink" ]; then
    echo "The suite is built; stationlink itself is not part of it yet." >&2
    exit 0
fi
exec "$build/bin/stationlink" "$@"

#!/usr/bin/env bash
# Builds the suite and saves screenshots of the launcher in docs/: as it opens, with the mouse
# over "Data Exchange Manager", and its About box. Runs on a virtual X display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
BUILD_DIR=$build "$top/scripts/build.sh"
xvfb-run -a "$build/bin/suitepad_screenshots" "$top/docs"

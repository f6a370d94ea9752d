#!/usr/bin/env bash
# Builds the suite, starts alignedit on a virtual X server with two road
# alignment files open side by side and saves what the screen shows to
# docs/alignedit.png (or to the file given).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=$(realpath -m "${1:-$top/docs/alignedit.png}")
BUILD_DIR=$build "$top/scripts/build.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'HAL ROAD1\r\nSTRAIGHT   1000.000   2000.000   45.0000\r\nARC        150.000    300.000\r\nSPIRAL      80.000    300.000\r\nSTRAIGHT   250.000\r\nA long remark line that is wider than the window, so that it wraps at the window edge instead of scrolling sideways.' >"$work/road1.hal"
printf 'VAL ROAD1\r\nPOINT      0.000   102.350\r\nPOINT    180.000   104.120   60.000\r\nPOINT    420.000    99.870   80.000\r\nPOINT    700.000   101.000' >"$work/road1.val"
mkdir -p "$(dirname "$out")"
# Settings of the run stay in the temporary folder.
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1024x640x24" \
    "$build/bin/alignedit" --screenshot "$out" "$work/road1.hal" "$work/road1.val"
echo "Saved $out"

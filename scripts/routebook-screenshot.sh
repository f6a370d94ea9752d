#!/usr/bin/env bash
# Builds the suite and saves a picture of routebook to docs/routebook.png (or
# the file given): the demo instrument's main street, downloaded from x4sim
# with stationlink-cli, and a profile for it, on a virtual X display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=$(realpath -m "${1:-$top/docs/routebook.png}")
BUILD_DIR=$build "$top/scripts/build.sh"
work=$(mktemp -d)
sim=""
trap '[ -z "$sim" ] || kill "$sim"; rm -rf "$work"' EXIT
"$build/bin/x4sim" --link "$work/tty" >/dev/null &
sim=$!
sleep 1
STATIONLINK_PORTS="COM1=$work/tty" "$build/bin/stationlink-cli" download COM1 HAL MAINST \
    --to "$work" --quiet
{
    printf 'PVI,0.000,312.500,0.000\r\nPVI,150.000,318.200,80.000\r\n'
    printf 'PVI,310.000,315.900,120.000\r\nPVI,420.000,321.050,60.000\r\n'
    printf 'PVI,535.750,322.400,0.000\r\n'
} >"$work/MAINST.val"
mkdir -p "$(dirname "$out")"
cd "$work"
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/bin/routebook" --screenshot "$out" MAINST.hal MAINST.val

#!/usr/bin/env bash
# Builds the suite and saves a picture of coordbook to docs/coordbook.png (or
# the file given): the demo instrument's bridge job, and its site job as a
# point file with a line that cannot be read, shown sorted by name with a
# selection and a name used twice, on a virtual X display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=$(realpath -m "${1:-$top/docs/coordbook.png}")
BUILD_DIR=$build "$top/scripts/build.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
demo=$top/tools/x4sim/demo/data/JOB
cp "$demo/1/COORDS.GSI" "$work/bridge.gsi"
"$build/bin/coordbook" --convert "$demo/3/COORDS.GSI" "$work/site03.dat" >/dev/null
printf 'B13,1790.5,19x2.25,351.0,KERB\r\n' >>"$work/site03.dat"
mkdir -p "$(dirname "$out")"
cd "$work"
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/bin/coordbook_screenshot" "$out" bridge.gsi site03.dat

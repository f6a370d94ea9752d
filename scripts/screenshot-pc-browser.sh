#!/usr/bin/env bash
# Builds the suite and saves a picture of stationlink's PC tree in use to
# docs/pc-browser.png (or to the file given): a demo home folder whose
# desktop holds a few survey files, shown on a virtual X server.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=$(realpath -m "${1:-$top/docs/pc-browser.png}")
BUILD_DIR=$build "$top/scripts/build.sh"

demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
desktop=$demo/Desktop
mkdir -p "$desktop/jobs" "$desktop/empty" "$desktop/alignments"
touch "$desktop/jobs/"{Site2.GSI,Site10.gsi,site1.gsi,Bridge.GSI,notes.txt,levels.idex}
touch "$desktop/alignments/"{road1.hal,road1.val} "$desktop/readme.txt"

mkdir -p "$(dirname "$out")"
env -u QT_QPA_PLATFORM -u XDG_CONFIG_HOME HOME="$demo" \
    xvfb-run -a -s "-screen 0 1280x800x24" "$build/bin/pc_browser_shot" "$out"
echo "Saved $out"

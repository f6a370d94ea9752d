#!/usr/bin/env bash
# Builds the suite and saves a picture of codebook to docs/codebook.png (or
# the file given): the sample book resources/codebook/topo.book with its
# first code selected, on a virtual X display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=$(realpath -m "${1:-$top/docs/codebook.png}")
BUILD_DIR=$build "$top/scripts/build.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$out")"
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/bin/codebook_screenshot" "$out" "$top/resources/codebook/topo.book"

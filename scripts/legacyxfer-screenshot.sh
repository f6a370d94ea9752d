#!/usr/bin/env bash
# Builds the suite and saves a picture of legacyxfer to docs/legacyxfer.png
# (or the file given): a capture from x4sim's simple mode with a lost block
# and a stray byte marked, on a virtual X display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=$(realpath -m "${1:-$top/docs/legacyxfer.png}")
BUILD_DIR=$build "$top/scripts/build.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$out")"
cd "$work"
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/bin/legacyxfer_screenshot" "$out"

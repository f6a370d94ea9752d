#!/usr/bin/env bash
# Builds the suite and saves pictures of the transfer dialogs (the upload
# dialog, its progress, the question before a download replaces a file) to
# docs/ (or to the folder given), with x4sim paced at 9600 baud as COM1 and
# a demo desktop, on a virtual X server.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=$(realpath -m "${1:-$top/docs}")
BUILD_DIR=$build "$top/scripts/build.sh"

demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
mkdir -p "$demo/Desktop" "$out"
env -u QT_QPA_PLATFORM -u XDG_CONFIG_HOME HOME="$demo" X4SIM_OPTIONS="--baud 9600" \
    "$top/scripts/with-x4sim.sh" "$build" \
    xvfb-run -a -s "-screen 0 1280x800x24" "$build/bin/transfer_dialog_shots" "$out"
echo "Saved upload-dialog.png, upload-progress.png and overwrite-question.png in $out"

#!/usr/bin/env bash
# Installs what is missing, builds the suite and runs every test.
# Extra arguments go to ctest (for example -L engine or -R Script).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
BUILD_DIR=$build "$top/scripts/build.sh"
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"

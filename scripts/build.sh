#!/usr/bin/env bash
# Configures and builds the suite into build/ (or the folder in BUILD_DIR).
# Extra arguments go to CMake's configure step.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
"$top/scripts/deps.sh"
cmake -S "$top" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build"

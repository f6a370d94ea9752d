#!/usr/bin/env bash
# Configures and builds the suite into build/ (or the folder in BUILD_DIR).
# Extra arguments go to CMake's configure step. BUILD_TARGETS (blank-separated)
# builds only those targets, for example tests_e2e: the programs the tests
# labelled e2e run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
"$top/scripts/deps.sh"
cmake -S "$top" -B "$build" -G Ninja "$@" >/dev/null
targets=()
for target in ${BUILD_TARGETS:-}; do
    targets+=(--target "$target")
done
cmake --build "$build" "${targets[@]}"

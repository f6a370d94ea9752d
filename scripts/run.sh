#!/usr/bin/env bash
# Installs what is missing, builds the suite and starts stationlink with the
# simulated instrument (x4sim and its demo content) on COM1, so the tree has
# an instrument to show at once. Set STATIONLINK_PORTS to use real ports
# instead (then no simulator is started).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
BUILD_DIR=$build "$top/scripts/build.sh"
if [ -n "${STATIONLINK_PORTS:-}" ]; then
    exec "$build/bin/stationlink" "$@"
fi
link=$(mktemp -u "${TMPDIR:-/tmp}/x4sim-tty.XXXXXX")
"$build/bin/x4sim" --link "$link" >/dev/null &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    [ -e "$link" ] && break
    sleep 0.1
done
echo "x4sim (demo instrument) on $link, shown as COM1" >&2
STATIONLINK_PORTS="COM1=$link" "$build/bin/stationlink" "$@"

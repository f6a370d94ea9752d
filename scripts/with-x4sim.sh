#!/usr/bin/env bash
# Runs a command with x4sim (the demo instrument) mapped as COM1:
#   scripts/with-x4sim.sh BUILD_DIR COMMAND [ARGS...]
# X4SIM_OPTIONS adds options of the simulator (for example "--baud 9600").
# The simulator is stopped when the command ends.
set -euo pipefail
build=$1
shift
link=$(mktemp -u "${TMPDIR:-/tmp}/x4sim-tty.XXXXXX")
# shellcheck disable=SC2086 # the options are words
"$build/bin/x4sim" ${X4SIM_OPTIONS:-} --link "$link" >/dev/null &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    [ -e "$link" ] && break
    sleep 0.1
done
echo "x4sim (demo instrument) on $link, shown as COM1" >&2
STATIONLINK_PORTS="COM1=$link" "$@"

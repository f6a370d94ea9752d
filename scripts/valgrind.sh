#!/usr/bin/env bash
# Runs the instrument work end to end under valgrind's memcheck: x4sim (the
# demo instrument, itself under memcheck) on a pseudo-terminal, and
# stationlink-cli listing it, downloading a job raw and as a "CASS" point
# file, uploading a file and erasing a job. Then the window tests that drive
# stationlink against x4sim (connect, download and upload flows, offscreen).
# Any memcheck error or any definite, indirect or possible leak fails the
# script; the reports stay in VALGRIND_OUT (default build/valgrind). Skip the
# window tests with VALGRIND_GUI=0.
#
# Uses the suite's build in build/ (or BUILD_DIR); build it first.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=${VALGRIND_OUT:-$build/valgrind}
gui=${VALGRIND_GUI:-1}
# Not a status any of the programs gives by itself.
error_status=99

"$top/scripts/deps.sh"
rm -rf "$out"
mkdir -p "$out/files" "$out/received"

fail() {
    echo "valgrind: $*" >&2
    exit 1
}

options=(--tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect,possible
    --errors-for-leak-kinds=definite,indirect,possible --error-exitcode=$error_status
    --track-origins=yes --num-callers=30 --suppressions="$top/scripts/valgrind-qt.supp")

memcheck() {
    local name=$1
    shift
    valgrind "${options[@]}" --log-file="$out/$name.log" "$@"
}

# The verdict of one report: its error summary and, for a failure, the report.
verdict() {
    local name=$1 status=$2
    echo "$name: $(grep -h "ERROR SUMMARY" "$out/$name.log" | tail -n 1 | sed 's/^==[0-9]*== //')"
    if [ "$status" -eq $error_status ]; then
        cat "$out/$name.log" >&2
        fail "$name: memcheck found errors or leaks (report: $out/$name.log)"
    fi
    [ "$status" -eq 0 ] || fail "$name ended with status $status (report: $out/$name.log)"
}

cli() {
    local name=$1
    shift
    local status=0
    memcheck "$name" "$build/bin/stationlink-cli" "$@" --timeout 120 >"$out/$name.out" || status=$?
    verdict "$name" "$status"
}

link="$out/x4sim-tty"
# Started directly (not through the function), so that $! is valgrind, which
# hands the stop signal on to x4sim.
valgrind "${options[@]}" --log-file="$out/x4sim.log" "$build/bin/x4sim" --link "$link" \
    --received "$out/received" >/dev/null &
sim=$!
trap 'kill "$sim" 2>/dev/null || true' EXIT
# Under memcheck the simulator takes a few seconds to open its line.
timeout 30 sh -c 'until [ -e "$1" ]; do sleep 0.1; done' _ "$link" ||
    fail "x4sim did not start (report: $out/x4sim.log)"
export STATIONLINK_PORTS="COM1=$link"

cli list list COM1
grep -q "^JOB	JobList:1 \[IN:BRIDGE\]" "$out/list.out" || fail "list printed no IN:BRIDGE job"
cli download-raw download COM1 JOB "JobList:1 [IN:BRIDGE]" --part COORDS --type GSI \
    --to "$out/files" --name bridge
cli download-cass download COM1 JOB "JobList:1 [IN:BRIDGE]" --part COORDS --type CASS \
    --to "$out/files" --name bridge
[ -s "$out/files/bridge.gsi" ] && [ -s "$out/files/bridge.dat" ] || fail "a download left no file"
# The raw file holds the instrument's data lines (bytes above 0x7F included) with CR LF.
sed 's/\r$//; s/$/\r/' "$top/tools/x4sim/demo/data/JOB/1/COORDS.GSI" >"$out/files/expected.gsi"
cmp "$out/files/expected.gsi" "$out/files/bridge.gsi" || fail "the raw download differs"
cli upload upload COM1 JOB "JobList:3 [IN:SITE03]" "$out/files/bridge.gsi" --type GSI --replace
cmp "$out/files/bridge.gsi" "$out/received/1-JOB.txt" || fail "the instrument received other bytes"
cli erase erase COM1 JOB "JobList:2 [IN:ROAD7]"

kill -TERM "$sim"
status=0
wait "$sim" || status=$?
trap - EXIT
verdict x4sim "$status"

if [ "$gui" != 0 ]; then
    for test in leftview download upload; do
        status=0
        QT_QPA_PLATFORM=offscreen memcheck "workbench-$test" \
            "$build/bin/workbench_${test}_tests" >"$out/workbench-$test.out" 2>&1 || status=$?
        verdict "workbench-$test" "$status"
    done
fi
echo "valgrind: no memcheck errors and no leaks"

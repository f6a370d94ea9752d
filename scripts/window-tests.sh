#!/usr/bin/env bash
# Runs the window and drag test programs once more on the two display
# systems users have (the ctest runs are offscreen): X11 through Xvfb and
# Qt's xcb plugin, then Wayland through Debian's weston compositor with its
# headless backend and Qt's wayland plugin. weston runs on a socket of its
# own in a scratch runtime folder and is stopped at the end.
#
# The headless backend has no input seat; Qt's Wayland input method context
# then fails on a combo box popup, so the Wayland runs take no input method
# (QT_IM_MODULE=none). The tests deliver their mouse and key events through
# Qt itself, as on the offscreen platform.
#
# Uses the suite's build in build/ (or BUILD_DIR); build it first.
# Arguments choose the systems: x11, wayland (both when none are given).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
systems=("$@")
((${#systems[@]})) || systems=(x11 wayland)

programs=(
    workbench_drag_tests workbench_download_tests workbench_upload_tests
    workbench_userchoices_tests workbench_fieldsafety_tests workbench_leftview_tests
    workbench_endings_tests workbench_conversation_tests
    workbench_frame_tests
    workbench_pctree_tests workbench_splitter_tests workbench_filedrop_tests
    workbench_transferdialog_tests workbench_comsetting_tests
    sharedwidgets_test alignedit_widget_test drawexport_widget_test coordbook_widget_test routebook_widget_test
    codebook_widget_test legacyxfer_widget_test
    launcher_button_test launcher_dialog_test
)

"$top/scripts/deps.sh"
failed=()

# Runs one test program; its status. Qt's Wayland client can hang in its
# own teardown (the display waits for its event thread after the tests
# have ended), now and then, in any program. A program whose results are
# all in ("Totals: ..." printed) is given 20 s to end; one still there is
# stopped and judged by those results, with a note. A program that never
# gets that far still fails after 600 s.
run_one() {
    local program=$1 log status waited=0 after=0
    shift
    log=$(mktemp)
    env -u QT_QPA_PLATFORM "$@" "$build/bin/$program" -silent >"$log" 2>&1 &
    local pid=$!
    while kill -0 "$pid" 2>/dev/null; do
        sleep 1
        waited=$((waited + 1))
        if grep -q "^Totals: " "$log"; then
            after=$((after + 1))
        fi
        if ((after > 20 || waited > 600)); then
            kill -KILL "$pid" 2>/dev/null || true
            break
        fi
    done
    status=0
    wait "$pid" || status=$?
    cat "$log"
    if ((after > 20)); then
        echo "note: $program hung after its tests ended and was stopped"
        grep -q "^Totals: [0-9]* passed, 0 failed" "$log" && status=0
    fi
    rm -f "$log"
    return "$status"
}

# Runs every program with the environment given as arguments.
run_all() {
    local system=$1
    shift
    for program in "${programs[@]}"; do
        echo "-- $program ($system)"
        if ! run_one "$program" "$@"; then
            failed+=("$program ($system)")
        fi
    done
}

run_x11() {
    # Xvfb picks a free display and writes its number once it is ready.
    local ready display xvfb_pid
    ready=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do
        [ -s "$ready" ] && break
        sleep 0.1
    done
    display=$(cat "$ready")
    rm -f "$ready"
    if [ -n "$display" ]; then
        run_all x11 DISPLAY=":$display" QT_QPA_PLATFORM=xcb
    else
        echo "window-tests: Xvfb did not start" >&2
        failed+=("Xvfb")
    fi
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
}

run_wayland() {
    local runtime socket=stationlink-tests weston_pid
    runtime=$(mktemp -d) # mode 0700, as Wayland wants its runtime folder
    XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket=$socket \
        --idle-time=0 >"$runtime/weston.log" 2>&1 &
    weston_pid=$!
    for _ in $(seq 200); do
        [ -S "$runtime/$socket" ] && break
        kill -0 "$weston_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ -S "$runtime/$socket" ]; then
        run_all wayland XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=$socket \
            QT_QPA_PLATFORM=wayland QT_IM_MODULE=none
    else
        echo "window-tests: weston did not start:" >&2
        cat "$runtime/weston.log" >&2
        failed+=("weston")
    fi
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
    rm -rf "$runtime"
}

for system in "${systems[@]}"; do
    case $system in
    x11) run_x11 ;;
    wayland) run_wayland ;;
    *) echo "window-tests: unknown display system \"$system\" (x11 or wayland)" >&2; exit 2 ;;
    esac
done
if ((${#failed[@]})); then
    echo "window-tests: failed: ${failed[*]}" >&2
    exit 1
fi
echo "window-tests: ${#programs[@]} programs passed on ${systems[*]}"

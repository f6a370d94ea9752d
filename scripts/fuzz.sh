#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# into build-fuzz/ (or FUZZ_BUILD_DIR), runs every checked-in seed corpus once
# as a regression test, then fuzzes each target for FUZZ_SECONDS (default 45).
# New inputs go to a scratch folder, never into fuzz/corpus; a finding is saved
# as crash-*/leak-*/timeout-* in FUZZ_ARTIFACTS (default build-fuzz/findings)
# and fails the script. Targets to run may be named as arguments.
#
#   FUZZ_SECONDS=600 ./scripts/fuzz.sh engine_fuzz
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$top/build-fuzz}
seconds=${FUZZ_SECONDS:-45}
artifacts=${FUZZ_ARTIFACTS:-$build/findings}

"$top/scripts/deps.sh" clang-14 libclang-rt-14-dev
CC=clang-14 CXX=clang++-14 cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSL_FUZZ=ON -DSL_SANITIZE='address;undefined' -DSL_BUILD_GUI=OFF >/dev/null
cmake --build "$build" --target fuzz_targets

targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=()
    for dir in "$top"/fuzz/corpus/*/; do
        # A target whose layer is not in this tree yet is not built.
        if [ -x "$build/bin/$(basename "$dir")" ]; then
            targets+=("$(basename "$dir")")
        fi
    done
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== fuzz corpora as regression tests"
(cd "$build" && ctest --output-on-failure -L fuzz -R "^($(IFS='|'; echo "${targets[*]}"))_corpus\$")

mkdir -p "$artifacts"
for target in "${targets[@]}"; do
    echo "== fuzzing $target for ${seconds}s"
    scratch=$(mktemp -d)
    # One input running longer than 10 s counts as a hang, which is a finding.
    if ! "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts/$target-" "$scratch" "$top/fuzz/corpus/$target" \
        >"$artifacts/$target.log" 2>&1; then
        tail -n 60 "$artifacts/$target.log" >&2
        rm -rf "$scratch"
        echo "$target: finding saved under $artifacts" >&2
        exit 1
    fi
    grep -E 'DONE|stat::number_of_executed_units' "$artifacts/$target.log" || true
    rm -rf "$scratch"
done

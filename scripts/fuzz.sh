#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, ASan and UBSan into build-fuzz/ (or
# $RAMAN_FUZZ_BUILD_DIR) and runs each for SECONDS (default 60) from its seed corpus in
# fuzz/corpus/<target>/. Fails on any crash, hang, leak or sanitizer report; the input that caused
# it is left in the build folder's findings/. FUZZ_TARGETS="text_spectrum zip_install" picks some.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${RAMAN_FUZZ_BUILD_DIR:-$here/build-fuzz}

RAMAN_EXTRA_PACKAGES="${RAMAN_EXTRA_PACKAGES:-} clang libclang-rt-dev" bash "$here/scripts/setup.sh"
# -O1 with line tables only: the usual fuzzing trade of speed against readable reports.
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DRAMAN_FUZZ=ON \
    -DRAMAN_BUILD_TESTS=OFF -DRAMAN_BUILD_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" >/dev/null
cmake --build "$build" -j "${RAMAN_JOBS:-2}" --target fuzzers

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/fuzz/lsan.supp:print_suppressions=0}
export QT_QPA_PLATFORM=offscreen
findings="$build/findings"
mkdir -p "$findings"
targets=${FUZZ_TARGETS:-$(cd "$here/fuzz" && ls fuzz_*.cpp | sed 's/^fuzz_//; s/\.cpp$//')}
failed=()
printf 'target\texecutions\tseconds\tresult\n'
for name in $targets; do
    corpus="$here/fuzz/corpus/$name"
    mkdir -p "$corpus"
    # New inputs go to a scratch folder: the committed corpus changes only by hand.
    work=$(mktemp -d)
    log="$findings/$name.log"
    status=0
    "$build/bin/fuzz_$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 \
        -print_final_stats=1 -artifact_prefix="$findings/$name-" \
        "$work" "$corpus" >"$log" 2>&1 || status=$?
    rm -rf "$work"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    if [ "$status" -ne 0 ]; then
        failed+=("$name")
        printf '%s\t%s\t%s\tFINDING (see %s)\n' "$name" "${runs:-?}" "$seconds" "$log"
        grep -m 20 -E "ERROR:|SUMMARY:|broken promise|runtime error|written outside|Test unit written" "$log" >&2 || true
    else
        printf '%s\t%s\t%s\tok\n' "$name" "${runs:-?}" "$seconds"
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]}" >&2
    exit 1
fi

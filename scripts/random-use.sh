#!/usr/bin/env bash
# Runs the random-use test of the main window under AddressSanitizer and UndefinedBehavior-
# Sanitizer for SEEDS seeds (default 10, starting at $RAMAN_RANDOM_FIRST_SEED or 1) with ACTIONS
# actions each (default 1000). Builds into build-sanitize/. Logs of failed seeds stay in
# build-sanitize/random-use/; each names the command that replays it.
# Usage: scripts/random-use.sh [SEEDS] [ACTIONS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seeds=${1:-10}
actions=${2:-1000}
first=${RAMAN_RANDOM_FIRST_SEED:-1}
build=${RAMAN_BUILD_DIR:-$here/build-sanitize}
bash "$here/scripts/setup.sh"
cmake -S "$here" -B "$build" -G Ninja -DRAMAN_SANITIZE=ON >/dev/null
cmake --build "$build" -j "${RAMAN_JOBS:-2}" --target tst_randomuse raman-demo-data

logs=$build/random-use
mkdir -p "$logs"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
failed=()
start=$(date +%s)
for ((seed = first; seed < first + seeds; ++seed)); do
    profile=$(mktemp -d)
    log=$logs/seed-$seed.log
    if XDG_CONFIG_HOME=$profile/config XDG_DATA_HOME=$profile/data XDG_CACHE_HOME=$profile/cache \
        RAMAN_RANDOM_SEED=$seed RAMAN_RANDOM_ACTIONS=$actions \
        "$build/bin/tst_randomuse" >"$log" 2>&1; then
        echo "seed $seed: $actions actions, no finding"
        rm -f "$log"
    else
        echo "seed $seed: FAILED after $(grep -c '^#' "$log") actions; log $log"
        echo "  replay: RAMAN_RANDOM_SEED=$seed RAMAN_RANDOM_ACTIONS=$actions $build/bin/tst_randomuse"
        failed+=("$seed")
    fi
    rm -rf "$profile"
done
echo "$seeds seed(s) x $actions actions in $(( $(date +%s) - start )) s; failed: ${failed[*]:-none}"
[[ ${#failed[@]} -eq 0 ]]

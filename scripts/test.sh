#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite. RAMAN_SANITIZE=ON builds with ASan and UBSan.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
if [ "${RAMAN_SANITIZE:-OFF}" = "ON" ]; then
    export RAMAN_BUILD_DIR=${RAMAN_BUILD_DIR:-$here/build-sanitize}
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
fi
bash "$here/scripts/build.sh" -DRAMAN_SANITIZE="${RAMAN_SANITIZE:-OFF}"
build=${RAMAN_BUILD_DIR:-$here/build}
cd "$build"
ctest --output-on-failure -j "${RAMAN_JOBS:-2}"

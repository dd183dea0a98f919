#!/usr/bin/env bash
# Sets up, builds and starts the program on generated demo data in an isolated profile below
# the build folder, so the user's own settings and data are never touched.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/build.sh"
build=${RAMAN_BUILD_DIR:-$here/build}
profile=$build/demo-profile
export XDG_CONFIG_HOME=$profile/config
export XDG_DATA_HOME=$profile/data
export XDG_CACHE_HOME=$profile/cache
measurements=$XDG_DATA_HOME/Raman           # the program's default save path
library=$build/raman-libs/demo-library        # the default library folder beside the program
if [ ! -e "$measurements/.demo-complete" ]; then
    echo "Writing demo data to $profile"
    "$build/bin/raman-demo-data" --measurements "$measurements" --library "$library"
    touch "$measurements/.demo-complete"
fi
exec "$build/bin/raman-browser" "$@"

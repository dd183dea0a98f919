#!/usr/bin/env bash
# Sets up, builds and starts the program on demo data in an isolated profile below the build
# folder, so the user's own settings and data are never touched: the real reference spectra of
# data/rruff as the library, and measurements made from other samples of those minerals.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/build.sh"
build=${RAMAN_BUILD_DIR:-$here/build}
profile=$build/demo-profile
export XDG_CONFIG_HOME=$profile/config
export XDG_DATA_HOME=$profile/data
export XDG_CACHE_HOME=$profile/cache
measurements=$XDG_DATA_HOME/Raman           # the program's default save path
library=$profile/libraries/demo-library
# The program writes its cache into library folders, so the demo gets its own copy. Measurements
# of an earlier demo stay; one of the same name is moved to the backup area by the writer.
marker=$measurements/.demo-complete-rruff
if [ ! -e "$marker" ]; then
    echo "Writing demo data to $profile"
    rm -rf "$library"
    mkdir -p "$library"
    cp "$here"/data/rruff/library/*.txt "$library"/
    "$build/bin/raman-demo-data" --measurements "$measurements" --data "$here/data/rruff"
    touch "$marker"
fi
settings=$XDG_CONFIG_HOME/Lumorel/RAMAN.ini
if ! grep -q 'LibraryPaths' "$settings" 2>/dev/null; then
    mkdir -p "$(dirname "$settings")"
    printf '[Paths]\nLibraryPaths\\1\\Enabled=true\nLibraryPaths\\1\\Path=%s\nLibraryPaths\\size=1\n' \
        "$library" >> "$settings"
fi
# Reports need the TeX compiler, which the program never guesses; the demo names the installed one.
if ! grep -q 'pdflatexExecutablePath' "$settings" && command -v pdflatex >/dev/null; then
    printf '[General]\npdflatexExecutablePath=%s\n' "$(command -v pdflatex)" >> "$settings"
fi
exec "$build/bin/raman-browser" "$@"

#!/usr/bin/env bash
# Takes docs/main-window.png: the built program on the demo data in a private profile, under
# Xvfb (packages xvfb, x11-apps). Usage: screenshot.sh [WIDTH HEIGHT] (default: the window's 600 600)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${RAMAN_BUILD_DIR:-$here/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache
mkdir -p "$work/library"
cp "$here"/data/rruff/library/*.txt "$work/library"/
"$build/bin/raman-demo-data" --measurements "$XDG_DATA_HOME/Raman" --data "$here/data/rruff" >/dev/null
mkdir -p "$XDG_CONFIG_HOME/Lumorel"
printf '[Paths]\nLibraryPaths\\1\\Enabled=true\nLibraryPaths\\1\\Path=%s\nLibraryPaths\\size=1\n' \
    "$work/library" >"$XDG_CONFIG_HOME/Lumorel/RAMAN.ini"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c \
    "'$build/bin/raman-browser' >/dev/null 2>&1 & pid=\$!; sleep 10; xwd -root -silent >'$work/root.xwd'; kill \$pid"
mkdir -p "$here/docs"
python3 "$here/scripts/xwd2png.py" "$work/root.xwd" "$here/docs/main-window.png" "${1:-600}" "${2:-600}"
echo "wrote docs/main-window.png"

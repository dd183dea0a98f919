#!/usr/bin/env bash
# Builds the Debian package from BUILD_DIR and checks its file list and declared dependencies,
# then starts both programs from it: unpacked into a temporary folder everywhere, and installed
# with apt only in CI (root on a throwaway machine), removed again afterwards.
# Usage: check-package.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$build"
cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/raman-browser_*.deb)
echo "built $(basename "$deb")"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for expected in ./usr/bin/raman-browser ./usr/bin/raman-cli \
    ./usr/share/applications/raman-browser.desktop \
    ./usr/share/icons/hicolor/scalable/apps/raman-browser.svg \
    ./usr/share/icons/hicolor/48x48/apps/raman-browser.png \
    ./usr/share/icons/hicolor/256x256/apps/raman-browser.png \
    ./usr/share/raman-browser/translations/en_GB.qm; do
    grep -qx "$expected" <<<"$files" || { echo "missing from package: $expected"; exit 1; }
done
unexpected=$(grep -v -e '^./usr/bin/' -e '^./usr/share/' -e '/$' <<<"$files" || true)
[ -z "$unexpected" ] || { echo "files outside /usr/bin and /usr/share:"; echo "$unexpected"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
if grep -q -- '-dev\b' <<<"$depends"; then echo "depends on development packages"; exit 1; fi
for runtime in libqt5widgets5 libqt5core5a libkf5archive5; do
    grep -q "$runtime" <<<"$depends" || { echo "no dependency on $runtime"; exit 1; }
done

# Starts the programs below PREFIX with a private home; the browser must still run after 5 s.
start_programs() {
    local prefix=$1 home="$work/home"
    mkdir -p "$home"
    env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
        "$prefix/bin/raman-cli" --help >/dev/null
    local code=0
    env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
        QT_QPA_PLATFORM=offscreen timeout 5 "$prefix/bin/raman-browser" >/dev/null 2>&1 || code=$?
    [ "$code" = 124 ] || { echo "raman-browser from $prefix ended early with $code"; exit 1; }
    echo "programs start from $prefix"
}

dpkg-deb -x "$deb" "$work/root"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$work/root/usr/share/applications/raman-browser.desktop"
fi
start_programs "$work/root/usr"

if [ "${CI:-}" = true ] && [ "$(id -u)" = 0 ] && ! dpkg-query -W raman-browser >/dev/null 2>&1; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -q "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
    trap 'apt-get remove -y -q raman-browser >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
    start_programs /usr
    [ -f /usr/share/applications/raman-browser.desktop ]
fi
echo "package checked"

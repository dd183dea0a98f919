#!/usr/bin/env bash
# Every user-visible text of the sources needs its English translation in en_GB.ts.
set -euo pipefail
lupdate=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/src/resources/translations/en_GB.ts" "$work/en_GB.ts"
"$lupdate" -silent -locations none -no-obsolete "$source_dir/src" -ts "$work/en_GB.ts" >/dev/null
missing=$(grep -c 'type="unfinished"' "$work/en_GB.ts" || true)
if [ "$missing" != "0" ]; then
    echo "Texts without English translation in en_GB.ts:"
    grep -B2 'type="unfinished"' "$work/en_GB.ts" | grep '<source>' | sed 's/^ */  /'
    exit 1
fi
echo "all texts translated"

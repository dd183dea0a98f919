#!/usr/bin/env bash
# Fails when a file below src/ includes a header from a folder its own folder may not use (a form
# includes the headers of its custom widgets), or when a folder is missing from the table. Usage: check-include-directions.sh SRC_DIR
set -euo pipefail
src=$1
table=$src/dependencies.txt
declare -A allowed
while IFS= read -r line; do
    line=${line%%#*}
    [[ $line == *:* ]] || continue
    allowed[${line%%:*}]=" ${line#*:} "
done < "$table"

# The folder a path belongs to: its longest listed prefix, remembered per directory.
declare -A owners
owner() {
    local dir=$1 best=""
    if [[ -z ${owners[$dir]+set} ]]; then
        for folder in "${!allowed[@]}"; do
            if [[ $dir == "$folder" || $dir == "$folder"/* ]] && (( ${#folder} > ${#best} )); then
                best=$folder
            fi
        done
        owners[$dir]=$best
    fi
    result=${owners[$dir]}
}

faults=0
while IFS= read -r file; do
    rel=${file#"$src"/}
    owner "${rel%/*}"
    from=$result
    if [[ -z $from ]]; then
        echo "$rel: folder not listed in dependencies.txt"
        faults=$((faults + 1))
        continue
    fi
    while IFS= read -r header; do
        owner "${header%/*}"
        to=$result
        [[ -z $to || $to == "$from" ]] && continue
        if [[ ${allowed[$from]} != *" $to "* ]]; then
            echo "$rel includes $header: $from may not use $to"
            faults=$((faults + 1))
        fi
    done < <(sed -n -e 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\/[^"]*\)".*/\1/p' \
                 -e 's/^[[:space:]]*<header>\([^<]*\/[^<]*\)<\/header>.*/\1/p' "$file")
done < <(find "$src" -name '*.h' -o -name '*.cpp' -o -name '*.ui')

echo "$faults include direction fault(s)"
[[ $faults -eq 0 ]]

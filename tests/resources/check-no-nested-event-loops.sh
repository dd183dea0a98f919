#!/usr/bin/env bash
# Fails when code below src/ runs an event loop inside another one: a QEventLoop or
# processEvents (or sendPostedEvents) lets the user act while a model, a selection or a load is half-way through.
# Modal dialogs are the one nesting allowed. Usage: check-no-nested-event-loops.sh SRC_DIR
set -euo pipefail
src=$1
if grep -rnE --include='*.cpp' --include='*.h' 'QEventLoop|processEvents|sendPostedEvents' "$src"; then
    echo "nested event loop(s) found above"
    exit 1
fi
echo "no nested event loops"

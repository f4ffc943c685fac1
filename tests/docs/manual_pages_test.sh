#!/usr/bin/env bash
# manual_pages_test.sh SOURCE_DIR: every public operation of graph/graph.h is named in a
# section-3 page (so man -k finds it) and has a synopsis there, and every page renders without
# a warning. The operations are read from the header, so a new one without a page fails here.
set -euo pipefail
source=$1
pages=$source/docs/man
index=$(mktemp -d)
trap 'rm -rf "$index"' EXIT

# Declarations at the start of a line: a return type, then the operation's name and "(".
operations=$(grep -oE '^[A-Za-z][A-Za-z0-9_:<>]*[ &*]+[A-Z][A-Za-z0-9]*\(' "$source/graph/graph.h" |
    sed -E 's/.*[ &*]([A-Za-z0-9]+)\($/\1/' | sort -u)
[ "$(wc -l <<<"$operations")" -ge 30 ] || { echo "too few operations read: $operations"; exit 1; }

mkdir "$index/man3"
cp "$pages"/*.3 "$index/man3/"
mandb -q "$index" 2>/dev/null
failed=0
for operation in $operations; do
    if ! MANPATH=$index man -k "^$operation\$" >/dev/null 2>&1; then
        echo "$operation: no manual page names it"
        failed=1
    elif ! grep -q "\\b$operation(" "$(MANPATH=$index man -w 3 "$operation")"; then
        echo "$operation: its page has no synopsis of it"
        failed=1
    fi
done
for page in "$pages"/*.[13]; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$(basename "$page"): $warnings"; failed=1; }
done
exit "$failed"

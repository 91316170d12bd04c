#!/usr/bin/env bash
# Kills a settings writer with SIGKILL at random moments and checks after each kill that
# the registry file it leaves parses and holds one whole round of the nine values: a write
# interrupted at any point must leave the old file or the new one, never a torn one. At
# the end, after a writer that is not killed, no temporary file of a killed one may remain.
# Usage: tools/kill-settings-check.sh BUILD_DIR [KILLS] (300 kills by default).
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 BUILD_DIR [KILLS]" >&2
    exit 2
fi
writer="$1/tools/settings_writer/settings_writer"
kills=${2:-300}
if [ ! -x "$writer" ]; then
    echo "$writer not found: build the settings_writer target" >&2
    exit 2
fi

config=$(mktemp -d "${TMPDIR:-/tmp}/tetrakon-kill-settings.XXXXXX")
trap 'rm -rf "$config"' EXIT
file="$config/Tetrakon/registry.reg"

changed=0
stray=0
previous=""
for ((i = 1; i <= kills; i++)); do
    "$writer" "$config" &
    pid=$!
    # Between 5 and 60 ms: the first kills often land before any write, later ones mid-way.
    sleep "0.0$(printf '%02d' $((RANDOM % 56 + 5)))"
    kill -9 "$pid"
    wait "$pid" 2>/dev/null || true
    if ! "$writer" --check "$config"; then
        echo "kill $i left a broken registry file; it is kept in $config.kept" >&2
        cp -r "$config" "$config.kept"
        exit 1
    fi
    if compgen -G "$file.tmp*" >/dev/null; then
        stray=$((stray + 1))
    fi
    current=$(cksum <"$file" 2>/dev/null || true)
    if [ -n "$current" ] && [ "$current" != "$previous" ]; then
        changed=$((changed + 1))
    fi
    previous=$current
done

# The killed writers held the file lock; a writer after them must still get it.
"$writer" "$config" 1
"$writer" --check "$config"
left=$(find "$config/Tetrakon" -mindepth 1 -maxdepth 1 ! -name registry.reg ! -name registry.reg.lock \
    -printf '%f ')
if [ -n "$left" ]; then
    echo "after the last save these remain beside the registry file: $left" >&2
    exit 1
fi
echo "kill-settings-check: $kills kills, the file changed between $changed of them, never broken;" \
    "$stray kills left a temporary, none outlived the next save"

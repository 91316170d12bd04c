#!/usr/bin/env bash
# Runs shellcheck, with the tree's .shellcheckrc, over every shell script of the tree: the
# files named *.sh and every other file whose first line starts a shell (.ci/run). Each is
# checked on its own, at every severity; prints the warnings and exits 1 if there is any.
# Usage: tools/check-shell.sh [source dir]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

mapfile -t scripts < <({
    git ls-files '*.sh'
    git grep -n -I -E '^#! ?/(usr/)?bin/(env +)?(ba|da)?sh\b' | awk -F: '$2 == 1 { print $1 }'
} | sort -u)
[ ${#scripts[@]} -gt 0 ] || { echo "check-shell: no shell script found" >&2; exit 2; }
if ! shellcheck --format=gcc "${scripts[@]}"; then
    echo "check-shell: shellcheck warns of the scripts above" >&2
    exit 1
fi
echo "check-shell: ${#scripts[@]} shell scripts without a shellcheck warning"

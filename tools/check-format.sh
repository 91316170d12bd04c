#!/usr/bin/env bash
# Fails when a C++ source of the tree differs from what clang-format makes of it with the
# project's .clang-format; prints the files that drift. `tools/check-format.sh --fix`
# formats them in place.
# Usage: tools/check-format.sh [--fix] [source dir]
set -euo pipefail
fix=false
if [ "${1:-}" = "--fix" ]; then fix=true; shift; fi
cd "${1:-$(dirname "$0")/..}"

mapfile -t files < <(git ls-files '*.h' '*.cpp')
# No file listed means git could not read the tree (a root without the repository's .git).
[ ${#files[@]} -gt 0 ] || { echo "check-format: git lists no sources here" >&2; exit 1; }
if $fix; then
    clang-format -i "${files[@]}"
    exit 0
fi
# clang-format names each file that drifts in its warnings ("file:line:col: ...").
mapfile -t drift < <(clang-format --dry-run "${files[@]}" 2>&1 |
    grep -oE '^[^ :]+:[0-9]+:[0-9]+: (warning|error)' | cut -d: -f1 | sort -u)
if [ ${#drift[@]} -gt 0 ]; then
    printf '%s\n' "${drift[@]}"
    echo "check-format: ${#drift[@]} file(s) differ from clang-format; run tools/check-format.sh --fix" >&2
    exit 1
fi
echo "check-format: ${#files[@]} files as clang-format writes them"

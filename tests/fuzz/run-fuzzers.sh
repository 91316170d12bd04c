#!/bin/sh
# Runs every fuzzer of a TETRAKON_FUZZ=ON build for about a minute each, seeded with the
# X test files. Usage: tests/fuzz/run-fuzzers.sh BUILD_DIR. Exits non-zero on a crash.
set -eu

if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
build_dir=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
fuzzer="$build_dir/tests/fuzz/fuzz_xfile_reader"
if [ ! -x "$fuzzer" ]; then
    echo "$fuzzer not found: configure with -DTETRAKON_FUZZ=ON and build the 'fuzzers' target" >&2
    exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tetrakon-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$work/artifacts"
cp "$source_dir"/tests/data/xfiles/*.x "$source_dir"/tests/data/xfiles/*.X "$work/corpus/"

status=0
"$fuzzer" "$work/corpus" -max_total_time=60 -rss_limit_mb=2048 -max_len=65536 \
    -artifact_prefix="$work/artifacts/" -print_final_stats=1 || status=$?

if [ "$status" -ne 0 ]; then
    mkdir -p "$build_dir/fuzz-artifacts"
    cp "$work"/artifacts/* "$build_dir/fuzz-artifacts/" 2>/dev/null || true
    echo "fuzz_xfile_reader failed (exit $status); inputs kept in $build_dir/fuzz-artifacts" >&2
    exit "$status"
fi
echo "fuzz_xfile_reader: no crash in 60 seconds"

# The registry file parser for 30 seconds, seeded with a file of every value kind.
registry_fuzzer="$build_dir/tests/fuzz/fuzz_registry_parser"
mkdir -p "$work/registry"
printf '%s\n' 'REGEDIT4' '' '[HKEY_CURRENT_USER\Software\Tetrakon]' '"Left"=dword:0000000a' \
    '"PathImage"="C:\\a \"b\""' '"Other"=hex:01,02,\' '  ff' '@=hex(7):61,00' >"$work/registry/seed.reg"
"$registry_fuzzer" "$work/registry" -max_total_time=30 -rss_limit_mb=2048 \
    -artifact_prefix="$work/artifacts/" -print_final_stats=1 || status=$?
if [ "$status" -ne 0 ]; then
    mkdir -p "$build_dir/fuzz-artifacts"
    cp "$work"/artifacts/* "$build_dir/fuzz-artifacts/" 2>/dev/null || true
    echo "fuzz_registry_parser failed (exit $status); inputs kept in $build_dir/fuzz-artifacts" >&2
    exit "$status"
fi
echo "fuzz_registry_parser: no crash in 30 seconds"

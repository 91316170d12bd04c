#!/bin/sh
# Runs every fuzzer of a TETRAKON_FUZZ=ON build for a bounded time each, seeded with the
# test files: the X reader with the X files, the picture decoders with the JPEG and PNG
# files, the registry file parser with a file of every value kind. FUZZ_SECONDS sets the
# processor time per fuzzer (40 by default), FUZZ_MALLOC_LIMIT_MB the budget of any single
# allocation (256 MB by default): a length a file only claims is never what a reader may
# allocate. The fuzzers run side by side, as long as gives each its processor time on the
# machine's cores.
# Usage: tests/fuzz/run-fuzzers.sh BUILD_DIR. Exits non-zero on a crash.
set -eu

if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
build_dir=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${FUZZ_SECONDS:-40}
malloc_limit=${FUZZ_MALLOC_LIMIT_MB:-256}

work=$(mktemp -d "${TMPDIR:-/tmp}/tetrakon-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT

# shellcheck source=seeds.sh
. "$source_dir/tests/fuzz/seeds.sh"

# run_fuzzer NAME
run_fuzzer() {
    name=$1
    fuzzer="$build_dir/tests/fuzz/$name"
    if [ ! -x "$fuzzer" ]; then
        echo "$fuzzer not found: configure with -DTETRAKON_FUZZ=ON and build the 'fuzzers' target" >&2
        exit 2
    fi
    mkdir -p "$work/$name/corpus" "$work/$name/artifacts"
    fuzz_seeds "$name" "$source_dir" "$work/$name/corpus"
    status=0
    "$fuzzer" "$work/$name/corpus" -max_total_time="$wall_seconds" -rss_limit_mb=2048 \
        -malloc_limit_mb="$malloc_limit" -max_len=65536 -artifact_prefix="$work/$name/artifacts/" -print_final_stats=1 ||
        status=$?
    if [ "$status" -ne 0 ]; then
        mkdir -p "$build_dir/fuzz-artifacts"
        cp "$work/$name"/artifacts/* "$build_dir/fuzz-artifacts/" 2>/dev/null || true
        echo "$name failed (exit $status); inputs kept in $build_dir/fuzz-artifacts" >&2
        exit "$status"
    fi
    echo "$name: no crash in $wall_seconds seconds beside the others, no allocation above $malloc_limit MB"
}

count=$(echo "$FUZZERS" | wc -w)
cores=$(nproc)
[ "$cores" -le "$count" ] || cores=$count
wall_seconds=$(((seconds * count + cores - 1) / cores))
pids=""
for name in $FUZZERS; do
    run_fuzzer "$name" >"$work/$name.log" 2>&1 &
    pids="$pids $!"
done
failed=0
for pid in $pids; do
    wait "$pid" || failed=1
done
for name in $FUZZERS; do
    grep -v '^INFO\|^#[0-9]' "$work/$name.log" || true
done
exit $failed

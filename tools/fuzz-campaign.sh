#!/bin/sh
# A long fuzz campaign: runs each fuzzer of a TETRAKON_FUZZ=ON build for a million
# executions (FUZZ_RUNS), or until SECONDS per fuzzer have passed (3600 by default), and
# prints per fuzzer the executions, the time, the peak memory and what it found. A fuzzer
# that stops short of its executions without a finding is reported as "short". Inputs are
# at most FUZZ_MAX_LEN bytes (8192 by default, a few times faster than the 64 KB of the
# short run in tests/fuzz/run-fuzzers.sh, which covers the large inputs). As there, no
# single allocation may pass FUZZ_MALLOC_LIMIT_MB (256 by default).
# Usage: tools/fuzz-campaign.sh BUILD_FUZZ_DIR [SECONDS]. Exits non-zero on any finding
# or short run; the inputs that failed are kept in BUILD_FUZZ_DIR/fuzz-artifacts.
set -eu

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 BUILD_FUZZ_DIR [SECONDS]" >&2
    exit 2
fi
build_dir=$1
seconds=${2:-3600}
runs=${FUZZ_RUNS:-1000000}
max_len=${FUZZ_MAX_LEN:-8192}
malloc_limit=${FUZZ_MALLOC_LIMIT_MB:-256}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../tests/fuzz/seeds.sh
. "$source_dir/tests/fuzz/seeds.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/tetrakon-fuzz-campaign.XXXXXX")
trap 'rm -rf "$work"' EXIT
table="$work/table"
failed=0

# stat NAME LOG: the value of libFuzzer's final "stat::NAME:" line, or 0.
stat() {
    sed -n "s/^stat::$1: *\([0-9]*\).*/\1/p" "$2" | tail -n 1 | grep . || echo 0
}

for name in $FUZZERS; do
    fuzzer="$build_dir/tests/fuzz/$name"
    if [ ! -x "$fuzzer" ]; then
        echo "$fuzzer not found: configure with -DTETRAKON_FUZZ=ON and build the 'fuzzers' target" >&2
        exit 2
    fi
    mkdir -p "$work/$name/corpus" "$work/$name/artifacts"
    fuzz_seeds "$name" "$source_dir" "$work/$name/corpus"
    log="$work/$name/log"
    echo "== $name: $runs runs or $seconds s" >&2
    start=$(date +%s)
    status=0
    "$fuzzer" "$work/$name/corpus" -runs="$runs" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -malloc_limit_mb="$malloc_limit" -max_len="$max_len" -artifact_prefix="$work/$name/artifacts/" -print_final_stats=1 \
        >"$log" 2>&1 || status=$?
    elapsed=$(($(date +%s) - start))
    executions=$(stat number_of_executed_units "$log")
    peak=$(stat peak_rss_mb "$log")
    findings=$(find "$work/$name/artifacts" -type f | wc -l)
    if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
        result="$findings finding(s), exit $status"
        failed=1
        mkdir -p "$build_dir/fuzz-artifacts"
        cp "$work/$name"/artifacts/* "$build_dir/fuzz-artifacts/" 2>/dev/null || true
        grep -m 3 -E 'ERROR|SUMMARY' "$log" >&2 || true
    elif [ "$executions" -lt "$runs" ]; then
        result="short"
        failed=1
    else
        result="none"
    fi
    printf '%-24s %12s %8s %8s  %s\n' "$name" "$executions" "${elapsed}s" "${peak}MB" \
        "$result" >>"$table"
done

printf '%-24s %12s %8s %8s  %s\n' fuzzer executions time peak findings
cat "$table"
exit "$failed"

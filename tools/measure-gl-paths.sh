#!/usr/bin/env bash
# Times one presented frame (frame_bench's BM_UpdateAndDrawFrame, with and without four
# samples) on each OpenGL the game draws with, made with Mesa's version overrides on this
# machine's driver: desktop 3.3 core, desktop 3.1, OpenGL ES 3.0. The paths run in turn,
# ROUNDS times, on a private display; prints each path's median and its ratio to 3.3 core.
#   tools/measure-gl-paths.sh BUILD_DIR [ROUNDS]   (5 rounds by default)
set -uo pipefail

bench="$(realpath "${1:?usage: measure-gl-paths.sh BUILD_DIR [ROUNDS]}")/tests/bench/frame_bench"
rounds=${2:-5}
[ -x "$bench" ] || { echo "no benchmark at $bench" >&2; exit 2; }
paths=("core-3.3|X=1"
    "desktop-3.1|MESA_GL_VERSION_OVERRIDE=3.1 MESA_GLSL_VERSION_OVERRIDE=140"
    "es-3.0|MESA_GL_VERSION_OVERRIDE=2.1 MESA_GLSL_VERSION_OVERRIDE=120 MESA_GLES_VERSION_OVERRIDE=3.0")
results=$(mktemp)
trap 'rm -f "$results"' EXIT
for _ in $(seq "$rounds"); do
    for path in "${paths[@]}"; do
        # shellcheck disable=SC2086 # the overrides are words of their own
        env ${path#*|} "$(dirname "$0")/with-private-display.sh" "$bench" \
            --benchmark_filter=BM_UpdateAndDrawFrame --benchmark_min_time=0.3 \
            --benchmark_format=csv 2>/dev/null |
            awk -F, -v p="${path%%|*}" '/^"BM_UpdateAndDrawFrame/ { gsub(/"/, "", $1); print p, $1, $3 }' >>"$results"
    done
done
# Median real time per path and benchmark, then each against core-3.3.
sort -k1,1 -k2,2 -k3,3n "$results" | awk '
    { key = $1 " " $2; v[key, ++n[key]] = $3 }
    END {
        for (key in n) { m[key] = v[key, int((n[key] + 1) / 2)] }
        for (key in m) { split(key, k, " "); if (k[1] == "core-3.3") core[k[2]] = m[key] }
        for (key in m) { split(key, k, " ")
            printf "%-12s %-36s %8.0f us  %.2f x core-3.3\n", k[1], k[2], m[key], m[key] / core[k[2]] }
    }' | sort

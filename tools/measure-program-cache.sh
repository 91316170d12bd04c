#!/usr/bin/env bash
# Peak memory (VmHWM, 4 s after the main window shows) and time to the main window of the
# built program in three states of its cache directory: empty (cold), holding only the
# GL driver's own shader cache (as when the saved program is missing or refused), and
# holding the saved program too (warm). Median of RUNS starts each, on a private X display
# with the end-to-end tests' window manager.
#   tools/measure-program-cache.sh BUILD_DIR [RUNS]   (5 runs by default)
set -uo pipefail

app="$(realpath "${1:?usage: measure-program-cache.sh BUILD_DIR [RUNS]}")/app/tetrakon"
runs=${2:-5}
[ -x "$app" ] || { echo "no program at $app" >&2; exit 2; }
work=$(mktemp -d)
source "$(dirname "$0")/../tests/e2e/display.sh"
start_measuring_desktop "$work"
trap 'kill "${DESKTOP_PIDS[@]}"; rm -rf "$work"' EXIT
caption='Головоломка "Тетракон" '

# One start with the cache in $1: prints "milliseconds-to-window peak-KiB".
start_once() {
    local begin pid window="" shown
    begin=$(date +%s%3N)
    XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$1" "$app" -Embedding >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1000); do
        window=$(xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -1)
        [ -n "$window" ] && break
        sleep 0.01
    done
    shown=$(($(date +%s%3N) - begin))
    sleep 4
    echo "$shown $(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")"
    kill "$pid"
    wait "$pid" 2>/dev/null
}
middle() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

start_once "$work/full" >/dev/null  # fills a cache to copy from
for state in cold driver-only warm; do
    times=() peaks=()
    for _ in $(seq "$runs"); do
        rm -rf "$work/cache" && mkdir -p "$work/cache"
        case $state in
            driver-only) cp -r "$work/full/mesa_shader_cache" "$work/cache/" ;;
            warm) cp -r "$work/full/." "$work/cache/" ;;
        esac
        read -r t p < <(start_once "$work/cache")
        times+=("$t") peaks+=("$p")
    done
    printf '%-11s cache: %4d ms to the window, VmHWM %6d KiB (median of %d)\n' "$state" \
        "$(printf '%s\n' "${times[@]}" | middle)" "$(printf '%s\n' "${peaks[@]}" | middle)" "$runs"
done

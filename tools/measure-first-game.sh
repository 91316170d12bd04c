#!/usr/bin/env bash
# Time from a fresh clone to the game's first window, as a first-time player meets it:
# clones COMMIT of this repository into a temporary folder and runs its scripts/run.sh
# with an empty compiler cache under a private Xvfb display; prints the seconds from the
# start of run.sh to the main window being visible, and the processor time the build took
# until then (on a shared machine the wall time depends on the load; the processor time
# much less). The packages must be installed already (their download is not timed).
#   tools/measure-first-game.sh [COMMIT]   (default HEAD)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
commit=${1:-HEAD}
work=$(mktemp -d /tmp/first-game.XXXXXX)
trap 'rm -rf "$work"' EXIT

git clone -q --no-checkout "$repo" "$work/clone"
git -C "$work/clone" checkout -q "$commit"
mkdir "$work/ccache"
export CCACHE_DIR="$work/ccache"

# shellcheck disable=SC2016 # the inner script expands its own arguments
"$(dirname "$0")/with-private-display.sh" bash -c '
    clone=$1 work=$2
    start=$(date +%s%N)
    "$clone/scripts/run.sh" -Embedding >"$work/run.log" 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name "Тетракон" >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || { cat "$work/run.log" >&2; exit 1; }
        sleep 0.2
    done
    echo $(( ($(date +%s%N) - start) / 1000000 )) >"$work/ms"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    # The second line is the user and system time of every process run.sh started.
    times >"$work/times"
' _ "$work/clone" "$work"
read -r user system < <(sed -n 2p "$work/times")
awk -v c="$(git -C "$work/clone" rev-parse --short HEAD)" -v u="$user" -v s="$system" -v l="$(cut -d' ' -f1-3 /proc/loadavg)" \
    '{ printf "%s: first window after %.1f s; processor time %s user + %s system; load %s\n", c, $1 / 1000, u, s, l }' "$work/ms"

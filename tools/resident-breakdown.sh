#!/usr/bin/env bash
# Where the built program's resident memory goes: starts it under a private Xvfb with jwm
# and no sound server, as tools/measure-figures.sh does, waits, and prints VmHWM, VmRSS and
# the largest mappings by resident size (libraries, heap, anonymous memory).
#   tools/resident-breakdown.sh BUILD_DIR [SECONDS [COUNT]]   (6 s, 25 mappings)
set -uo pipefail

build=$(realpath "${1:?usage: resident-breakdown.sh BUILD_DIR [SECONDS [COUNT]]}")
app="$build/app/tetrakon"
[ -x "$app" ] || { echo "no program at $app" >&2; exit 2; }
work=$(mktemp -d)
source "$(dirname "$0")/../tests/e2e/display.sh"
start_measuring_desktop "$work"
XDG_CONFIG_HOME="$work/config" "$app" -Embedding >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" "${DESKTOP_PIDS[@]}" 2>/dev/null; rm -rf "$work"' EXIT
sleep "${2:-6}"
grep -E 'VmHWM|VmRSS|RssAnon|RssFile' "/proc/$pid/status"
awk '/^[0-9a-f]+-[0-9a-f]+ / { name = $6 == "" ? "[anon]" : $6 } /^Rss:/ { kib[name] += $2 }
     END { for (n in kib) print kib[n], "KiB", n }' "/proc/$pid/smaps" | sort -rn | head -"${3:-25}"

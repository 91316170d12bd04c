#!/usr/bin/env bash
# Times the start of the built program with a settings file of almost 8 MiB (many keys of
# other programs around the game's own) against a start with no settings file: time until
# the main window is shown and peak memory then, median of RUNS starts each.
#   tools/measure-settings-start.sh BUILD_DIR [RUNS]   (3 runs by default)
set -uo pipefail

build=$(realpath "${1:?usage: measure-settings-start.sh BUILD_DIR [RUNS]}")
runs=${2:-3}
app="$build/app/tetrakon"
[ -x "$app" ] || { echo "no program at $app" >&2; exit 2; }
caption='Головоломка "Тетракон" '

# On a private X display of its own, away from the numbers other test runs count up from:
# the first whose server really starts.
for display in $(seq $((200 + RANDOM % 500)) 999); do
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
        kill -0 "$xvfb" 2>/dev/null || break
        xdpyinfo -display ":$display" >/dev/null 2>&1 && break 2
        sleep 0.1
    done
    kill "$xvfb" 2>/dev/null
done
export DISPLAY=":$display"
work=$(mktemp -d)
trap 'kill "$xvfb"; rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" PULSE_SERVER="unix:$work/no-sound-server"
export QT_QPA_PLATFORM=xcb

now_ms() { date +%s%3N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# The game's key, then keys of other programs with one number each, up to just under 8 MiB.
mkdir -p "$work/large/Tetrakon"
awk 'BEGIN {
    limit = 8 * 1024 * 1024 - 64
    text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n\"NumberRandomRotate\"=dword:00000007\n"
    size = length(text); printf "%s", text
    for (k = 0; ; ++k) {
        line = sprintf("[HKEY_CURRENT_USER\\Software\\Other\\K%07d]\n\"V\"=dword:%08x\n", k, k)
        if (size + length(line) > limit) break
        size += length(line); printf "%s", line
    }
}' >"$work/large/Tetrakon/registry.reg"
mkdir -p "$work/none"

# One start with the settings in $1: prints "milliseconds-to-window peak-KiB".
measure_start() {
    local start pid w="" peak
    start=$(now_ms)
    XDG_CONFIG_HOME="$1" "$app" -Embedding >"$work/app.log" 2>&1 &
    pid=$!
    for _ in $(seq 1000); do
        w=$(xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -1) && [ -n "$w" ] && break
        sleep 0.01
    done
    local shown=$(($(now_ms) - start))
    [ -n "$w" ] || { echo "no window within 30 s" >&2; cat "$work/app.log" >&2; kill -9 "$pid"; return 1; }
    sleep 1
    peak=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
    echo "$shown $peak"
}

for config in none large; do
    times=() peaks=()
    for _ in $(seq "$runs"); do
        read -r t p < <(measure_start "$work/$config") || exit 1
        times+=("$t") peaks+=("$p")
    done
    printf '%-6s settings file: %5d ms to the window, peak %6d KiB (median of %d; file %d bytes)\n' \
        "$config" "$(printf '%s\n' "${times[@]}" | median)" "$(printf '%s\n' "${peaks[@]}" | median)" \
        "$runs" "$(stat -c %s "$work/$config/Tetrakon/registry.reg" 2>/dev/null || echo 0)"
done

#!/usr/bin/env bash
# What a large settings file costs the built program, at the start and at the close, for
# each shape of file up to the reader's 8 MiB limit against no file at all:
#   none    no settings file
#   keys    the game's key, then keys of other programs with one number each
#   own     the game's key holding about 760,000 values
#   other   the game's key, then one key of another program holding about 760,000 values
# For each: time until the main window shows, its peak memory (VmHWM) and resident memory
# (VmRSS) a second later, the time from the window manager's close to the end of the
# process (which writes the settings), and the peak memory of the whole run (GNU time);
# median of RUNS starts each, on a private display with the end-to-end tests' window
# manager.
#   tools/measure-settings-start.sh BUILD_DIR [RUNS]   (3 runs by default)
set -uo pipefail

build=$(realpath "${1:?usage: measure-settings-start.sh BUILD_DIR [RUNS]}")
runs=${2:-3}
app="$build/app/tetrakon"
[ -x "$app" ] || { echo "no program at $app" >&2; exit 2; }
caption='Головоломка "Тетракон" '
work=$(mktemp -d)
source "$(dirname "$0")/../tests/e2e/display.sh"
start_measuring_desktop "$work"
trap 'kill "${DESKTOP_PIDS[@]}"; rm -rf "$work"' EXIT

now_ms() { date +%s%3N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Writes the settings file of shape $1 into $work/$1/Tetrakon, just under 8 MiB.
make_file() {
    mkdir -p "$work/$1/Tetrakon"
    [ "$1" = none ] && return
    awk -v shape="$1" 'BEGIN {
        limit = 8 * 1024 * 1024 - 64
        text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n\"NumberRandomRotate\"=dword:00000007\n"
        if (shape == "other") text = text "[HKEY_CURRENT_USER\\Software\\Other]\n"
        size = length(text); printf "%s", text
        for (k = 0; ; ++k) {
            if (shape == "keys")
                line = sprintf("[HKEY_CURRENT_USER\\Software\\Other\\K%07d]\n\"V\"=dword:%08x\n", k, k)
            else
                line = sprintf("\"%x\"=\"\"\n", k)
            if (size + length(line) > limit) break
            size += length(line); printf "%s", line
        }
    }' >"$work/$1/Tetrakon/registry.reg"
}

# One run with the settings in $1: prints "start-ms start-peak-KiB resident-KiB close-ms
# run-peak-KiB".
measure_run() {
    local begin pid w="" shown peak resident closing closed
    begin=$(now_ms)
    XDG_CONFIG_HOME="$1" XDG_CACHE_HOME="$work/cache" /usr/bin/time -f '%M' -o "$work/time.out" \
        "$app" -Embedding >"$work/app.log" 2>&1 &
    pid=$!
    for _ in $(seq 3000); do
        w=$(xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -1)
        [ -n "$w" ] && break
        sleep 0.01
    done
    shown=$(($(now_ms) - begin))
    [ -n "$w" ] || { echo "no window within 30 s" >&2; cat "$work/app.log" >&2; kill -9 "$pid"; return 1; }
    sleep 1
    local program
    program=$(pgrep -P "$pid" -x tetrakon)
    peak=$(awk '/VmHWM/ { print $2 }' "/proc/$program/status")
    resident=$(awk '/VmRSS/ { print $2 }' "/proc/$program/status")
    closing=$(now_ms)
    wmctrl -i -c "$w"
    wait "$pid"
    closed=$(($(now_ms) - closing))
    echo "$shown $peak $resident $closed $(tail -1 "$work/time.out")"
}

printf '%-6s %9s %9s %9s %9s %10s %9s\n' shape start-ms peak-KiB rss-KiB close-ms runpeak-KiB bytes
for shape in none keys own other; do
    make_file "$shape"
    rows=()
    for _ in $(seq "$runs"); do
        rm -f "$work/before.reg"
        cp "$work/$shape/Tetrakon/registry.reg" "$work/before.reg" 2>/dev/null
        row=$(measure_run "$work/$shape") || exit 1
        rows+=("$row")
        # Every run starts from the same file.
        if [ -e "$work/before.reg" ]; then cp "$work/before.reg" "$work/$shape/Tetrakon/registry.reg"
        else rm -f "$work/$shape/Tetrakon/registry.reg"; fi
    done
    column() { printf '%s\n' "${rows[@]}" | awk -v c="$1" '{ print $c }' | median; }
    printf '%-6s %9d %9d %9d %9d %10d %9d\n' "$shape" "$(column 1)" "$(column 2)" "$(column 3)" \
        "$(column 4)" "$(column 5)" "$(stat -c %s "$work/$shape/Tetrakon/registry.reg" 2>/dev/null || echo 0)"
done

#!/usr/bin/env bash
# Starts the built program RUNS times in a row (plain starts, with the start-up picture,
# each with empty settings) as a Wayland client of one compositor, and counts the starts
# whose view shows a buffer of its real size once the protocol log (WAYLAND_DEBUG=client)
# settles, within 10 s. The compositor: weston's headless back end, mutter headless, sway
# headless, or weston nested in a private Xvfb. Extra arguments go to the program (-Embedding).
#   tools/wayland-plain-starts.sh BUILD_DIR weston-headless|mutter|sway|weston-nested [RUNS] [ARG...]
set -uo pipefail

app="$(realpath "${1:?usage: wayland-plain-starts.sh BUILD_DIR COMPOSITOR [RUNS] [ARG...]}")/app/tetrakon"
compositor=${2:?compositor}
runs=${3:-20}
shift $(($# < 3 ? $# : 3))
[ -x "$app" ] || { echo "no program at $app" >&2; exit 2; }
e2e="$(dirname "$(realpath "$0")")/../tests/e2e"
# shellcheck source=../tests/e2e/display.sh
source "$e2e/display.sh"
source "$(dirname "$0")/wayland-compositors.sh"
work=$(mktemp -d)
pids="$work/pids"
touch "$pids"
cleanup() {
    local pid
    while read -r pid; do kill "$pid" 2>/dev/null; done <"$pids"
    rm -rf "$work"
}
trap cleanup EXIT
if [ "$compositor" = weston-nested ]; then
    start_measuring_desktop "$work"
    printf '%s\n' "${DESKTOP_PIDS[@]}" >>"$pids"
else
    mkdir -m 700 "$work/runtime"
    export XDG_RUNTIME_DIR="$work/runtime" PULSE_SERVER="unix:$work/no-sound-server"
fi
# The protocol logs of starts that did not draw are kept here.
failed="$(dirname "$app")/../wayland-plain-starts"
rm -rf "$failed"
socket="wl-plain-starts-$$"
case $compositor in
    weston-headless) start_weston_headless "$socket" "$work/compositor.log" "$pids" ;;
    mutter) start_mutter "$socket" "$work/compositor.log" "$pids" ;;
    sway) chmod o+x "$work" && start_sway "$work/sway" "$work/compositor.log" "$pids" &&
        socket=$SWAY_SOCKET ;;
    weston-nested)
        weston --backend=x11-backend.so --use-pixman --fullscreen --width=1024 --height=768 \
            --socket="$socket" --config="$e2e/weston.ini" >"$work/compositor.log" 2>&1 &
        echo $! >>"$pids"
        wait_for_socket "$socket" $!
        ;;
    *) echo "unknown compositor $compositor" >&2; exit 2 ;;
esac || { echo "$compositor did not start" >&2; tail -5 "$work/compositor.log" >&2; exit 2; }

passed=0
for run in $(seq "$runs"); do
    log="$work/app-$run.log"
    WAYLAND_DEBUG=client QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" \
        XDG_CONFIG_HOME="$work/config-$run" XDG_CACHE_HOME="$work/cache" "$app" "$@" >"$log" 2>&1 &
    pid=$!
    began=$(date +%s%3N)
    result=""
    before=""
    while [ -z "$result" ]; do
        sleep 0.5
        # Settled: nothing more in the log for half a second.
        now=$(stat -c %s "$log")
        [ "$now" = "$before" ] && settled=1 || settled=0
        before=$now
        read -r got room <<<"$(view_buffer_and_size "$log")"
        if [ "$settled" = 1 ] && [ "$got" != none ] && [ "$got" = "$room" ]; then
            result="drawn $got after $(($(date +%s%3N) - began)) ms"
            passed=$((passed + 1))
        elif [ $(($(date +%s%3N) - began)) -ge 10000 ] || ! kill -0 "$pid" 2>/dev/null; then
            result="NOT drawn: the view's last buffer is $got, the view is $room"
            mkdir -p "$failed"
            cp "$log" "$failed/"
        fi
    done
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
    echo "start $run: $result"
done
echo "$compositor: $passed of $runs starts drawn"
[ "$passed" -eq "$runs" ]

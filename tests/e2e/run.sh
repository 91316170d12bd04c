#!/usr/bin/env bash
# End-to-end tests of the built program: starts a private X server (Xvfb) with a small
# window manager (jwm), drives the game with real X input (xdotool) and checks what it
# draws on screenshots (ImageMagick); the wayland_ scenarios run it as a Wayland client of
# a weston nested in that X server, the headless_, mutter_ and sway_ ones of compositors
# without a display. Each scenario prints PASS or FAIL; the shots of a
# failed one are kept in BUILD_DIR/e2e-artifacts/<scenario>/. The last line is
# "N passed, M failed"; the exit status is non-zero when anything failed.
#   tests/e2e/run.sh BUILD_DIR [SCENARIO...]
set -uo pipefail

build=$(realpath "${1:?usage: run.sh BUILD_DIR [SCENARIO...]}")
shift
E2E_DIR=$(dirname "$(realpath "$0")")
APP="$build/app/tetrakon"
[ -x "$APP" ] || { echo "no program at $APP: build the tetrakon target first" >&2; exit 2; }
for tool in Xvfb jwm weston weston-screenshooter mutter dbus-launch sway grim xdotool wmctrl xwininfo import convert compare pulseaudio parec pactl sox xdg-open; do
    command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/install-deps.sh" >&2; exit 2; }
done

source "$E2E_DIR/display.sh"
source "$E2E_DIR/lib.sh"
source "$E2E_DIR/wayland.sh"
source "$E2E_DIR/../../tools/wayland-compositors.sh"
source "$E2E_DIR/headless.sh"
source "$E2E_DIR/scenarios.sh"
source "$E2E_DIR/input_scenarios.sh"
source "$E2E_DIR/picture_scenarios.sh"
source "$E2E_DIR/gl_path_scenarios.sh"

WORK=$(mktemp -d)
artifacts="$build/e2e-artifacts"
rm -rf "$artifacts"
server_pids=()
cleanup() {
    local pid
    for pid in "${server_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$WORK"
}
trap cleanup EXIT

start_private_display "$WORK/xvfb.log" || { cat "$WORK/xvfb.log" >&2; exit 2; }
server_pids+=("$XVFB_PID")
jwm -f "$E2E_DIR/jwmrc" >"$WORK/jwm.log" 2>&1 &
server_pids+=($!)
wait_window_manager || { cat "$WORK/jwm.log" >&2; exit 2; }

# No sound server unless a scenario starts its own: the program must run silently then.
mkdir -m 700 "$WORK/runtime"
export XDG_RUNTIME_DIR="$WORK/runtime" PULSE_SERVER="unix:$WORK/no-sound-server"
use_platform xcb
export APP WORK

selected=("$@")
[ ${#selected[@]} -eq 0 ] && selected=("${SCENARIOS[@]}")

# True while process $1 runs. A zombie (left for its parent to reap) has ended once its
# other threads have gone too ("l" no longer shown): until then its files and its X
# connection stay open.
running() {
    local state
    state=$(ps -o stat= -p "$1") && { [[ $state != Z* ]] || [[ $state == *l* ]]; }
}

# Sends signal $1 to process $2 and waits up to 3 s for its end; false if it still runs.
signal_and_wait() {
    kill "-$1" "$2" 2>/dev/null || return 0
    local tries=30
    while running "$2"; do
        [ $tries -gt 0 ] || return 1
        sleep 0.1
        tries=$((tries - 1))
    done
}

# Runs one scenario in its own folder and subshell; ends what it left running.
run_scenario() {
    SD="$WORK/$1"
    rm -rf "$SD"
    mkdir -p "$SD/config"
    xdotool mousemove 0 0
    (
        set -e
        trap 'echo "  failed command: $BASH_COMMAND"' ERR
        cd "$SD"
        "scenario_$1"
    ) >"$SD/out" 2>&1
    local status=$?
    if [ -f "$SD/pids" ]; then
        while read -r pid; do
            signal_and_wait TERM "$pid" || signal_and_wait KILL "$pid" ||
                echo "  process $pid did not end" >>"$SD/out"
        done <"$SD/pids"
    fi
    return $status
}

passed=0
failed=0
for name in "${selected[@]}"; do
    started=$SECONDS
    if run_scenario "$name"; then
        passed=$((passed + 1))
        echo "PASS $name ($((SECONDS - started)) s)"
        cat "$SD/out"
        continue
    fi
    # A scenario that fails is kept and tried once more: on a loaded machine a window
    # manager or sound server can now and then answer late. Failing twice fails it.
    mkdir -p "$artifacts/$name"
    cp "$SD"/*.png "$SD/app.log" "$SD/out" "$artifacts/$name/" 2>/dev/null || true
    first_try=$(cat "$SD/out")
    if run_scenario "$name"; then
        passed=$((passed + 1))
        echo "PASS $name on the second try ($((SECONDS - started)) s); the first try:"
        echo "$first_try"
    else
        failed=$((failed + 1))
        echo "FAIL $name ($((SECONDS - started)) s)"
        cat "$SD/out"
        mkdir -p "$artifacts/$name/second-try"
        cp "$SD"/*.png "$SD/app.log" "$SD/out" "$artifacts/$name/second-try/" 2>/dev/null || true
    fi
done

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]

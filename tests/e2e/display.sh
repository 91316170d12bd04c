# shellcheck shell=bash
# Starts a private Xvfb (screen $2, 1024x768x24 unless given; its messages to $1) and
# exports DISPLAY once the server accepts connections; the server's process id is in
# XVFB_PID. The server picks a free display number itself and writes it to a descriptor
# (-displayfd) when it is ready, so two runs never race for a number and nobody polls.
# Sourced by the end-to-end runner, the measuring tools and tools/with-private-display.sh.
start_private_display() {
    local log=${1:-/dev/null} screen=${2:-1024x768x24} number_file number=""
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$number_file" >"$log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 200); do
        number=$(tr -dc '0-9' <"$number_file")
        [ -n "$number" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$number_file"
    [ -n "$number" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$number"
}

# Waits up to 5 s for a window manager on $DISPLAY: it names itself on the root window
# (_NET_SUPPORTING_WM_CHECK) once it manages windows.
wait_window_manager() {
    local _
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.05
    done
    return 1
}

# The desktop the measuring tools start the program on: a private Xvfb with the end-to-end
# tests' window manager, a private runtime folder under $1 and no sound server, as a
# clean machine has. The servers' process ids are in DESKTOP_PIDS.
start_measuring_desktop() {
    start_private_display /dev/null
    DESKTOP_PIDS=("$XVFB_PID")
    jwm -f "$(dirname "${BASH_SOURCE[0]}")/jwmrc" >/dev/null 2>&1 &
    DESKTOP_PIDS+=($!)
    wait_window_manager || echo "the window manager did not start" >&2
    mkdir -m 700 "$1/runtime"
    export XDG_RUNTIME_DIR="$1/runtime" PULSE_SERVER="unix:$1/no-sound-server" QT_QPA_PLATFORM=xcb
}

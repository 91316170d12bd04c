# Starts a private Xvfb on a display number nobody uses and exports DISPLAY; the server's
# process id is in XVFB_PID. Sourced by the end-to-end runner and the measuring tools.
start_private_display() {
    local display=90 log=${1:-/dev/null}
    while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
        display=$((display + 1))
    done
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$log" 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$display"
}

# The desktop the measuring tools start the program on: a private Xvfb with the end-to-end
# tests' window manager, a private runtime folder under $1 and no sound server, as a
# clean machine has. The servers' process ids are in DESKTOP_PIDS.
start_measuring_desktop() {
    start_private_display
    DESKTOP_PIDS=("$XVFB_PID")
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    jwm -f "$(dirname "${BASH_SOURCE[0]}")/jwmrc" >/dev/null 2>&1 &
    DESKTOP_PIDS+=($!)
    sleep 0.5
    mkdir -m 700 "$1/runtime"
    export XDG_RUNTIME_DIR="$1/runtime" PULSE_SERVER="unix:$1/no-sound-server" QT_QPA_PLATFORM=xcb
}

# Starts a private Xvfb on a display number nobody uses and exports DISPLAY; the server's
# process id is in XVFB_PID. Sourced by the end-to-end runner and the figures script.
start_private_display() {
    local display=90 log=${1:-/dev/null}
    while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
        display=$((display + 1))
    done
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$log" 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$display"
}

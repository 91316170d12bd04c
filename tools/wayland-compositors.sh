# shellcheck shell=bash
# Wayland compositors that need no display, and what a client's protocol log tells about
# the view. weston's headless back end renders in software; its screenshots come through
# weston-screenshooter, which it allows only with --debug. mutter runs headless with one
# virtual monitor, in a private D-Bus session and without Xwayland; it gives no
# screenshot. sway (wlroots) runs headless as another user; grim takes its screenshots.
# Sourced by tools/wayland-plain-starts.sh and the end-to-end runner; each
# starter appends the ids of what it started to the file $3.

# Waits up to 10 s for the Wayland socket $1 while process $2 runs.
wait_for_socket() {
    local deadline=$((SECONDS + 10))
    while [ ! -S "$XDG_RUNTIME_DIR/$1" ]; do
        kill -0 "$2" 2>/dev/null && [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}

# Starts weston's headless back end on socket $1, its output going to the file $2.
start_weston_headless() {
    weston --backend=headless-backend.so --use-pixman --debug --width=1024 --height=768 \
        --socket="$1" --config="$(realpath "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/weston.ini")" \
        >"$2" 2>&1 &
    echo $! >>"$3"
    wait_for_socket "$1" $!
}

# Starts mutter headless on socket $1, its output going to the file $2; the D-Bus session
# it needs is exported to the caller. MUTTER_MONITOR sets the monitor's size.
start_mutter() {
    eval "$(dbus-launch --sh-syntax)"
    echo "$DBUS_SESSION_BUS_PID" >>"$3"
    mutter --headless --wayland --no-x11 --wayland-display="$1" \
        --virtual-monitor "${MUTTER_MONITOR:-1024x768}" >"$2" 2>&1 &
    echo $! >>"$3"
    wait_for_socket "$1" $!
}

# Starts sway headless (wlroots' software renderer) with the new folder $1 as its home and
# runtime folder; its output goes to the file $2. sway refuses to run as root: root runs it
# as the user nobody ($1's parent must let others through), any other user as itself.
# Sets SWAY_SOCKET to the socket's full path, which a client (root may use another user's
# socket) takes as WAYLAND_DISPLAY.
start_sway() {
    mkdir -m 700 "$1"
    local as=()
    if [ "$(id -u)" -eq 0 ]; then
        chown nobody: "$1"
        as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    fi
    printf 'output HEADLESS-1 mode 640x480\ndefault_border none\n' >"$1/config"
    "${as[@]}" env -i HOME="$1" XDG_RUNTIME_DIR="$1" WLR_BACKENDS=headless WLR_RENDERER=pixman \
        sway -c "$1/config" >"$2" 2>&1 &
    echo $! >>"$3"
    local deadline=$((SECONDS + 10))
    while SWAY_SOCKET=$(find "$1" -maxdepth 1 -type s -name 'wayland-*' | head -1) &&
        [ -z "$SWAY_SOCKET" ]; do
        kill -0 $! 2>/dev/null && [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}

# From a client's protocol log (WAYLAND_DEBUG=client): the size of the last buffer the
# view's sub-surface (the only one) got, and the size it has in its parent's last buffer,
# whose decoration is as wide left, right and below as the view's offset from the left:
# "WxH WxH", or "none" for what never came. An object is "wl_buffer@34" in libwayland 1.21's
# log and "wl_buffer#34" in 1.23's.
view_buffer_and_size() {
    [ -f "$1" ] || { echo none none; return; }
    awk '
        function id(pattern) { match($0, pattern); return substr($0, RSTART, RLENGTH) }
        function args() { split($0, a, /[(,)]/); for (i in a) gsub(/ /, "", a[i]) }
        / -> wl_shm_pool[@#][0-9]+\.create_buffer\(/ {
            args(); buffer = id("wl_buffer[@#][0-9]+"); w[buffer] = a[4]; h[buffer] = a[5] }
        / -> wl_subcompositor[@#][0-9]+\.get_subsurface\(/ {
            args(); sub(/newid/, "", a[2]); role = a[2]; view = a[3]; parent = a[4] }
        / -> wl_subsurface[@#][0-9]+\.set_position\(/ && id("wl_subsurface[@#][0-9]+") == role {
            args(); x = a[2]; y = a[3] }
        / -> wl_surface[@#][0-9]+\.attach\(wl_buffer[@#]/ {
            surface = id("wl_surface[@#][0-9]+"); buffer = id("wl_buffer[@#][0-9]+")
            if (surface == view) got = w[buffer] "x" h[buffer]
            if (surface == parent) room = (w[buffer] - 2 * x) "x" (h[buffer] - y - x) }
        END { print (got == "" ? "none" : got), (room == "" ? "none" : room) }' "$1"
}

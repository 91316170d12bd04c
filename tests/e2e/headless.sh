# shellcheck shell=bash
# Scenarios' platforms without a display (tools/wayland-compositors.sh): weston's headless
# back end and sway, read through their screenshots, and mutter headless, read through the
# program's protocol log. Sourced by run.sh.

on_weston_headless() {
    start_weston_headless "wl-$(basename "$SD")" "$SD/weston.log" "$SD/pids" ||
        fail "weston did not start: $(tail -3 "$SD/weston.log")"
    use_platform wayland "wl-$(basename "$SD")" weston
}

on_sway() {
    chmod o+x "$WORK"
    start_sway "$SD/sway" "$SD/sway.log" "$SD/pids" || fail "sway did not start: $(tail -3 "$SD/sway.log")"
    use_platform wayland "$SWAY_SOCKET" grim
}

on_mutter() {
    start_mutter "wl-$(basename "$SD")" "$SD/mutter.log" "$SD/pids" ||
        fail "mutter did not start: $(tail -3 "$SD/mutter.log")"
    use_platform wayland "wl-$(basename "$SD")"
    export WAYLAND_DEBUG=client
}

headless_shot() {
    if [ "$SHOTS_FROM" = grim ]; then
        WAYLAND_DEBUG="" grim "$SD/$1.png" || fail "no screenshot"
        return
    fi
    rm -rf "$SD/shooter" && mkdir "$SD/shooter"
    (cd "$SD/shooter" && weston-screenshooter >/dev/null 2>&1) || fail "no screenshot"
    mv "$SD"/shooter/*.png "$SD/$1.png"
}

# Waits up to $1 s for the view's sub-surface to get a buffer of the view's size.
wait_view_buffer() {
    local deadline=$((SECONDS + $1)) got room
    while read -r got room <<<"$(view_buffer_and_size "$SD/app.log")"; do
        [ -n "$got" ] && [ "$got" != none ] && [ "$got" = "$room" ] && return 0
        [ $SECONDS -ge $deadline ] && fail "the view's last buffer is $got, the view is $room"
        sleep 0.2
    done
}

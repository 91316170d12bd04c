# Scenarios' platforms without a display (tools/wayland-compositors.sh): weston's headless
# back end and sway, read through their screenshots, and mutter headless, read through the
# program's protocol log. Sourced by run.sh.

on_weston_headless() {
    start_weston_headless "wl-$(basename "$SD")" "$SD/weston.log" "$SD/pids" ||
        fail "weston did not start: $(tail -3 "$SD/weston.log")"
    export QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="wl-$(basename "$SD")" SHOTS_FROM=weston
}

on_sway() {
    chmod o+x "$WORK"
    start_sway "$SD/sway" "$SD/sway.log" "$SD/pids" || fail "sway did not start: $(tail -3 "$SD/sway.log")"
    export QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$SWAY_SOCKET" SHOTS_FROM=grim
}

on_mutter() {
    start_mutter "wl-$(basename "$SD")" "$SD/mutter.log" "$SD/pids" ||
        fail "mutter did not start: $(tail -3 "$SD/mutter.log")"
    export QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="wl-$(basename "$SD")" WAYLAND_DEBUG=client
}

headless_shot() {
    [ "$SHOTS_FROM" = grim ] && { WAYLAND_DEBUG= grim "$SD/$1.png" || fail "no screenshot"; return; }
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

# shellcheck shell=bash
# Runs scenarios under a Wayland compositor: weston nested in the private X server with
# its X11 backend, full screen, so that Wayland and X screen coordinates agree, real X
# input (xdotool) reaches the Wayland client through weston, and `import -window root`
# sees what weston shows. Sourced by run.sh.

# Starts weston for the current scenario and makes start_app, wait_main and activate
# work on its Wayland clients. Sets WESTON_WINDOW, weston's own X window.
on_wayland() {
    local socket sw sh
    socket="wayland-$(basename "$SD")"
    read -r sw sh <<<"$(xdotool getdisplaygeometry)"
    weston --backend=x11-backend.so --use-pixman --fullscreen --width="$sw" --height="$sh" \
        --socket="$socket" --config="$E2E_DIR/weston.ini" >"$SD/weston.log" 2>&1 &
    echo $! >>"$SD/pids"
    local deadline=$((SECONDS + 10))
    WESTON_WINDOW=""
    while [ -z "$WESTON_WINDOW" ] || [ ! -S "$XDG_RUNTIME_DIR/$socket" ]; do
        [ $SECONDS -ge $deadline ] && fail "weston did not start: $(tail -3 "$SD/weston.log")"
        sleep 0.1
        WESTON_WINDOW=$(xdotool search --onlyvisible --class 'Weston Compositor' | head -1) || true
    done
    # weston moves its pointer by the X pointer's motion, from (100, 100) at its start:
    # pushed against two opposite corners, both pointers agree from then on. X hands weston
    # the motions in order, so nothing is waited for between them.
    xdotool mousemove $((sw - 1)) $((sh - 1))
    xdotool mousemove 0 0
    use_platform wayland "$socket"
}

on_wayland_now() {
    [ "$QT_QPA_PLATFORM" = wayland ]
}

# The view's rectangle on the screen as "x y w h": the extent of the background colour,
# which fills the view's corners and appears nowhere else.
view_rect_in() {
    convert "$SD/$1.png" -alpha off -fill black +opaque "#$BACKGROUND" -format '%@' info: 2>/dev/null |
        awk -F '[x+]' '$1 > 1 && $2 > 1 { print $3, $4, $1, $2 }'
}

# wait_main for a Wayland client: a Wayland client cannot be found by its caption from X,
# so the main window is found by its view on screenshots, once it stays where it is.
# Sets what wait_main sets, W to weston's X window.
wait_main_wayland() {
    local deadline=$((SECONDS + $1)) rect="" before="-"
    while [ "$rect" != "$before" ] || [ -z "$rect" ]; do
        [ $SECONDS -ge $deadline ] && fail "no main window with the view's background appeared"
        kill -0 "$APP_PID" 2>/dev/null || fail "the program ended at start-up"
        before=$rect
        sleep 0.3
        shot located
        rect=$(view_rect_in located)
    done
    local x y w h top first="" last="" bar
    read -r x y w h <<<"$rect"
    # The menu bar has the colour of the title bar that Qt draws above it: its height is
    # read from its titles, which it centres, the last run of text above the view.
    top=$((y > 60 ? y - 60 : 0))
    read -r first last < <(ink_runs located "${w}x$((y - top))+$x+$top" y 50 2 | tail -1) || true
    [ -n "$last" ] || fail "no menu bar above the view"
    bar=$((2 * (y - top) - first - last))
    main_window_at "${WESTON_WINDOW:-}" "$x" $((y - bar)) "$w" $((h + bar)) "$bar"
}

# weston draws the pointer into the screen: for a shot it waits at the screen's right edge,
# half-way down, where no check looks, and then returns.
shot_without_pointer() {
    local x y sw sh
    read -r x y < <(xdotool getmouselocation | sed -E 's/x:([0-9]+) y:([0-9]+).*/\1 \2/')
    read -r sw sh <<<"$(xdotool getdisplaygeometry)"
    xdotool mousemove $((sw - 1)) $((sh / 2))
    # weston draws the moved pointer in its next frame, which shows only in a shot.
    sleep 0.1
    import -window root "$SD/$1.png"
    xdotool mousemove "$x" "$y"
}

# Runs scenarios under a Wayland compositor: weston nested in the private X server with
# its X11 backend, full screen, so that Wayland and X screen coordinates agree, real X
# input (xdotool) reaches the Wayland client through weston, and `import -window root`
# sees what weston shows. Sourced by run.sh.

# Starts weston for the current scenario and makes start_app, wait_main and activate
# work on its Wayland clients. Sets WESTON_WINDOW, weston's own X window.
on_wayland() {
    local socket="wayland-$(basename "$SD")" sw sh
    read -r sw sh <<<"$(xdotool getdisplaygeometry)"
    weston --backend=x11-backend.so --use-pixman --fullscreen --width="$sw" --height="$sh" \
        --socket="$socket" --config="$here/weston.ini" >"$SD/weston.log" 2>&1 &
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
    export QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket"
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
# Sets OX, OY, WW and WH as wait_main does, and W to weston's X window.
wait_main_wayland() {
    local deadline=$((SECONDS + ${1:-15})) rect="" before="-"
    while [ "$rect" != "$before" ] || [ -z "$rect" ]; do
        [ $SECONDS -ge $deadline ] && fail "no main window with the view's background appeared"
        kill -0 "$APP_PID" 2>/dev/null || fail "the program ended at start-up"
        before=$rect
        sleep 0.3
        shot located
        rect=$(view_rect_in located)
    done
    local x y w h
    read -r x y w h <<<"$rect"
    OX=$x OY=$((y - MENU_BAR)) WW=$w WH=$((h + MENU_BAR))
    W=${WESTON_WINDOW:-}
    place_marks
}

# weston draws the pointer into the screen: for a shot it waits at the screen's right edge,
# half-way down, where no check looks, and then returns.
shot_without_pointer() {
    local X Y SCREEN WINDOW sw sh
    eval "$(xdotool getmouselocation --shell)"
    read -r sw sh <<<"$(xdotool getdisplaygeometry)"
    xdotool mousemove $((sw - 1)) $((sh / 2))
    # weston draws the moved pointer in its next frame, which shows only in a shot.
    sleep 0.1
    import -window root "$SD/$1.png"
    xdotool mousemove "$X" "$Y"
}

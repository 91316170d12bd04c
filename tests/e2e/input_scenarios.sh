# shellcheck shell=bash
# End-to-end scenarios of keys and clicks wherever the focus is, short taps and clicks,
# and the help with and without a viewer. Sourced by run.sh after scenarios.sh.

SCENARIOS+=(help_key_after_clicks help_without_viewer click_without_hold f5_tap
    startup_picture_goes_on_key key_released_in_menu)

# Gives the scenario XDG data folders of its own that hold the system's MIME database and
# no program; with $1 = viewer, a viewer of CHM files and HTML pages registered there that
# adds a line to $SD/viewer-starts at each start and runs while $SD/hold exists.
help_environment() {
    mkdir -p "$SD/data/applications" "$SD/share"
    ln -s /usr/share/mime "$SD/share/mime"
    export XDG_DATA_HOME="$SD/data" XDG_DATA_DIRS="$SD/share"
    [ "${1:-}" = viewer ] || return 0
    # shellcheck disable=SC2016 # the viewer's own $1
    printf '#!/bin/sh\necho "$1" >>"%s/viewer-starts"\nwhile [ -e "%s/hold" ]; do sleep 0.1; done\n' \
        "$SD" "$SD" >"$SD/stub-viewer"
    chmod +x "$SD/stub-viewer"
    printf '[Desktop Entry]\nType=Application\nName=Stub viewer\nExec=%s %%f\nMimeType=application/vnd.ms-htmlhelp;text/html;\n' \
        "$SD/stub-viewer" >"$SD/data/applications/stub-viewer.desktop"
    printf '[Default Applications]\napplication/vnd.ms-htmlhelp=stub-viewer.desktop\ntext/html=stub-viewer.desktop\n' \
        >"$SD/config/mimeapps.list"
}

viewer_starts() {
    if [ -f "$SD/viewer-starts" ]; then wc -l <"$SD/viewer-starts"; else echo 0; fi
}

# Waits up to 5 s for the viewer's start number $1; fails with $2 otherwise.
wait_viewer_start() {
    local deadline=$((SECONDS + 5))
    while [ "$(viewer_starts)" -lt "$1" ]; do
        [ $SECONDS -ge $deadline ] && fail "$2"
        sleep 0.1
    done
}

# F1 opens the help and Up counts in the caption whichever child of the main window has
# the focus: a click into the view moves it. Once with and once without the start-up
# picture; then a second F1 while the viewer still runs starts no second one.
scenario_help_key_after_clicks() {
    help_environment viewer
    local picture clicks starts=0 title before
    for picture in no yes; do
        if [ $picture = no ]; then start_app -Embedding; else start_app; fi
        wait_main # with the picture, once it has gone by itself
        wait_pyramid
        activate
        for clicks in 0 1 2 3; do
            # The view's background: nothing turns. X keeps the order of the click and the
            # key, so the key meets the focus where the click put it.
            [ $clicks -eq 0 ] || click_at 40 300
            xdotool key F1
            starts=$((starts + 1))
            wait_viewer_start $starts "F1 after $clicks clicks opened no help (picture: $picture)"
            wait_for 5 no_child_process || fail "the help viewer did not end"
            before=$(xdotool getwindowname "$W")
            xdotool key Up
            wait_for 5 caption_differs "$before" ||
                fail "Up after $clicks clicks was not seen (picture: $picture)"
            title=$(xdotool getwindowname "$W")
        done
        note "picture $picture: F1 opened the help after 0 to 3 clicks; caption now '$title'"
        [ $picture = yes ] || close_app
    done
    touch "$SD/hold"
    xdotool key F1
    wait_viewer_start $((starts + 1)) "F1 opened no help"
    xdotool key F1
    sleep 1 # a second viewer, wrongly started, would have said so in this time
    [ "$(viewer_starts)" -eq $((starts + 1)) ] || fail "a second F1 started a second viewer"
    rm "$SD/hold"
    # The program learns of the opener's end when it reaps it, and that ends the wait.
    wait_for 5 no_child_process || fail "the help viewer did not end"
    xdotool key F1
    wait_viewer_start $((starts + 2)) "F1 after the viewer ended opened no help"
}

# With no viewer and no browser, or no opener at all, F1 says so in a message box and the
# program goes on.
scenario_help_without_viewer() {
    help_environment
    mkdir "$SD/empty"
    local path box
    for path in "$PATH" "$SD/empty"; do
        # BROWSER names a command that fails, so that xdg-open tries no browser of the PATH.
        PATH="$path" BROWSER=false start_app -Embedding
        wait_main
        wait_pyramid
        activate
        xdotool key F1
        box=""
        for _ in $(seq 50); do
            box=$(xdotool search --onlyvisible --name '^Tetrakon$' 2>/dev/null | head -1) || true
            [ -n "$box" ] && break
            sleep 0.2
        done
        [ -n "$box" ] || fail "no message box after F1 without a viewer (PATH $path)"
        shot "message_box"
        xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
        xdotool key Return
        wait_for 5 no_window_named Tetrakon || fail "the message box stayed"
        kill -0 "$APP_PID" 2>/dev/null || fail "the program ended after the message"
        close_app
    done
    note "F1 without a viewer and without xdg-open showed the message box"
}

# A click whose press and release fall between two frames turns the layer.
scenario_click_without_hold() {
    start_app -Embedding
    wait_main
    wait_pyramid
    activate
    shot before
    xdotool mousemove $((OX + TIP[0])) $((OY + TIP[1]))
    xdotool click 1
    wait_settled turned before "$(view_area)" "the click without hold"
    local near
    near=$(diff_px before turned "$APEX_AREA")
    note "a click without hold changed $near pixels near the apex"
    [ "$near" -gt 500 ] || fail "the click without hold turned nothing"
}

# A short tap of F5, without a click into the view first, plays the sound once.
scenario_f5_tap() {
    start_app_recording_sound
    xdotool key F5
    sleep 1.5 # a repeat, wrongly played, would be heard in this time
    close_app
    stop_sound_recording
    local onsets
    onsets=$(sound_onsets "$SD/sound.s16")
    note "sound onsets (s): ${onsets//$'\n'/ }"
    [ "$(grep -c . <<<"$onsets" || true)" -eq 1 ] || fail "expected one sound for a tap of F5"
}

scenario_startup_picture_goes_on_key() {
    start_app
    local picture="" deadline=$((SECONDS + 5))
    while [ -z "$picture" ]; do
        picture=$(xwininfo -root -tree | awk '/ 288x218\+/ { print $1; exit }')
        [ $SECONDS -ge $deadline ] && fail "no start-up picture appeared"
        sleep 0.05
    done
    local shown=$SECONDS
    xdotool windowfocus --sync "$picture" 2>/dev/null || true
    xdotool key shift
    # Well before the picture's own 3.5 s.
    wait_for 2 no_window_sized 288x218 || fail "the start-up picture stayed after a key press"
    [ $((SECONDS - shown)) -lt 3 ] || fail "too slow to tell the key from the picture's own 3.5 s"
    wait_main 5
}

# Alt gives the menu bar the focus, a held Down opens a menu that gets its release, Escape
# twice closes it: Down must not stay held (it zooms, and the caption shows the zoom).
scenario_key_released_in_menu() {
    start_app -Embedding
    wait_main
    wait_pyramid
    activate
    local drop_down="0,$MENU_BAR,200,80"
    # X keeps the order of the keys: Down meets the menu bar that Alt gave the focus.
    shot menu_closed
    xdotool key alt keydown Down
    sleep 0.1 # held as a player holds it
    xdotool keyup Down
    wait_settled menu_open menu_closed "$drop_down" "Alt and Down"
    xdotool key Escape
    wait_settled menu_gone menu_open "$drop_down" "the first Escape"
    xdotool key Escape
    local before
    before=$(xdotool getwindowname "$W")
    # A held Down would zoom, and so change the caption, in this time.
    [ "$before" = "$(xdotool sleep 0.5 getwindowname "$W")" ] || fail "Down still held after the menu"
}

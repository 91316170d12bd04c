# shellcheck shell=bash
# The end-to-end scenarios, run in this order by run.sh. Each starts the program with its
# own empty settings unless it writes some first.

SCENARIOS=(startup_picture first_frame click_turn_and_undo shuffle_and_undo view_commands
    full_screen dialogs keys_without_click f5_sound settings_and_placement stored_settings
    closing_states wayland_first_frame wayland_click_turn_and_undo
    wayland_full_screen wayland_keeps_window_position headless_start headless_first_frame
    mutter_start mutter_first_frame sway_start sway_first_frame)

scenario_startup_picture() {
    start_app
    local deadline=$((SECONDS + 5)) area=""
    while [ -z "$area" ] && [ $SECONDS -lt $deadline ]; do
        area=$(xwininfo -root -tree | grep -o ' 288x218+[0-9]*+[0-9]*' | head -1 | tr -d ' ')
        sleep 0.02
    done
    [ -n "$area" ] || fail "no 288 x 218 start-up picture appeared"
    # From its first painting until it goes the picture is on screen whole, also while the
    # main window appears behind it (shots about 0.05 s apart).
    local shots=0 drawn=0 changed
    while [ $shots -lt 15 ] && [ $SECONDS -lt $deadline ]; do
        shot picture
        changed=$(compare -metric AE -fuzz 6% "$E2E_DIR/../../resources/bitmap/1002.bmp" \
            "$SD/picture.png[$area]" null: 2>&1 || true)
        if [ "$changed" -lt 20 ]; then
            drawn=1
        elif [ $drawn = 1 ]; then
            fail "shot $shots: $changed pixels of the start-up picture are covered"
        fi
        shots=$((shots + drawn))
    done
    [ $drawn = 1 ] || fail "the start-up picture was never drawn"
    wait_main
    # It goes by itself after 3.5 s.
    wait_for 8 no_window_sized 288x218 || fail "the start-up picture stayed"
    close_app

    start_app -Embedding
    wait_main
    wait_pyramid
    ! xwininfo -root -tree | grep -q ' 288x218+' || fail "start-up picture shown with -Embedding"
}

scenario_first_frame() {
    # Started without a sound server (run.sh points PULSE_SERVER at nothing); a plain start
    # (START_PLAIN set) shows the start-up picture, which may cover a corner for 3.5 s.
    if [ -n "${START_PLAIN+set}" ]; then start_app; else start_app -Embedding; fi
    wait_main
    wait_pyramid
    # A Wayland client's caption cannot be read from X.
    on_wayland_now || [ "$(xdotool getwindowname "$W")" = "$CAPTION" ] ||
        fail "caption is '$(xdotool getwindowname "$W")'"
    local corner x y top=$((MENU_BAR + 2)) deadline=$((SECONDS + 5))
    for corner in "2 $top" "$((WW - 3)) $top" "2 $((WH - 3))" "$((WW - 3)) $((WH - 3))"; do
        read -r x y <<<"$corner"
        while [ "$(pixel pyramid $((OX + x)) $((OY + y)))" != "$BACKGROUND" ]; do
            [ $SECONDS -lt $deadline ] ||
                fail "view corner ($x, $y) is $(pixel pyramid $((OX + x)) $((OY + y))), not $BACKGROUND"
            sleep 0.3
            on_wayland_now || read_origin # see wait_pyramid
            shot pyramid
        done
    done
    # The program icon follows the first frame.
    on_wayland_now || wait_for 3 has_icon || fail "the main window has no icon"
    kill -0 "$APP_PID" || fail "the program ended"
}

has_icon() { xprop -id "$W" _NET_WM_ICON | grep -q '='; }

scenario_click_turn_and_undo() {
    start_app -Embedding
    wait_main
    wait_pyramid
    activate
    shot before
    click_at "${TIP[@]}"
    wait_settled turned before "$(view_area)" "a click on the tip"
    local near far back
    near=$(diff_px before turned "$APEX_AREA")
    far=$(diff_px before turned "$LOWER_AREA")
    note "a click on the tip changed $near pixels near the apex and $far below it"
    [ "$near" -gt 500 ] || fail "the tip did not turn"
    [ "$far" -lt 20 ] || fail "the click changed the picture away from the tip"
    press 2
    wait_settled undone turned "$(view_area)" "the middle click"
    # In the view only: a Wayland window's own title bar greys while the view has the focus.
    back=$(diff_px before undone "0,$MENU_BAR,$WW,$((WH - MENU_BAR))")
    note "after the middle click $back pixels differ from the start"
    [ "$back" -lt 20 ] || fail "the middle click did not turn the tip back"
}

scenario_shuffle_and_undo() {
    start_app -Embedding
    wait_main
    wait_pyramid
    activate
    shot solved
    menu 1 1 # File, Shuffle
    wait_settled shuffled solved "$(view_area)" "the shuffle"
    local changed back
    changed=$(diff_px solved shuffled)
    note "the shuffle changed $changed pixels"
    [ "$changed" -gt 1000 ] || fail "the shuffle did not change the picture"
    xdotool mousemove $((OX + 40)) $((OY + 300)) # over the background
    local undo
    cp "$SD/shuffled.png" "$SD/undone.png"
    for undo in 1 2 3 4 5; do
        mv "$SD/undone.png" "$SD/undoing.png"
        press 2
        wait_settled undone undoing "$(view_area)" "middle click $undo"
    done
    back=$(diff_px solved undone)
    note "after five middle clicks $back pixels differ from the solved picture"
    [ "$back" -lt 20 ] || fail "five undos did not bring back the solved pyramid"
}

scenario_view_commands() {
    start_app -Embedding
    wait_main
    wait_pyramid
    activate
    shot start
    # Return to start after two turns.
    click_at "${TIP[@]}"
    wait_settled one_turn start "$(view_area)" "the first click"
    click_at "${TIP[@]}"
    wait_settled two_turns one_turn "$(view_area)" "the second click"
    [ "$(diff_px start two_turns)" -gt 500 ] || fail "the two clicks turned nothing"
    menu 2 2 # Edit, Return to start
    wait_settled returned two_turns "$(view_area)" "return to start"
    [ "$(diff_px start returned)" -lt 20 ] || fail "return to start did not restore the solved picture"

    # A right-drag turns the whole pyramid; centring undoes it.
    xdotool mousemove $((OX + 200)) $((OY + 200))
    xdotool mousedown 3
    local x
    for x in 220 240 260 280 300; do
        xdotool mousemove $((OX + x)) $((OY + 210))
        sleep 0.05 # a hand's drag: the pointer is read once a frame, so each step gets one
    done
    xdotool mouseup 3
    wait_settled dragged returned "$(view_area)" "the right-drag"
    local moved
    moved=$(diff_px start dragged)
    note "the right-drag changed $moved pixels"
    [ "$moved" -gt 1000 ] || fail "the right-drag did not turn the pyramid"
    menu 2 3 # Edit, Centre
    wait_settled centred dragged "$(view_area)" "centring"
    [ "$(diff_px start centred)" -lt 20 ] || fail "centring did not restore the unrotated view"

    # The wheel: away from the user makes it smaller, towards the user larger again.
    local view before smaller larger
    view=0,$((MENU_BAR + 1)),532,380
    before=$(count_not_background centred "$view")
    xdotool mousemove $((OX + 40)) $((OY + 300))
    for _ in 1 2 3; do
        xdotool click 4
        sleep 0.1 # a hand's wheel steps come apart, each in a frame of its own
    done
    wait_settled smaller centred "$(view_area)" "3 wheel steps away"
    smaller=$(count_not_background smaller "$view")
    for _ in 1 2 3 4 5 6; do
        xdotool click 5
        sleep 0.1 # as above
    done
    wait_settled larger smaller "$(view_area)" "6 wheel steps back"
    larger=$(count_not_background larger "$view")
    note "pyramid pixels: $before at first, $smaller after 3 wheel steps away, $larger after 6 back"
    [ "$smaller" -lt $((before * 9 / 10)) ] || fail "the wheel did not make the pyramid smaller"
    [ "$larger" -gt $((before * 11 / 10)) ] || fail "the wheel did not make the pyramid larger"
}

scenario_full_screen() {
    start_app -Embedding
    wait_main
    wait_pyramid
    activate
    shot windowed
    local size
    size=$(xdotool getdisplaygeometry | tr ' ' x)
    local pass
    for pass in alt_return escape; do
        activate
        xdotool key alt+Return
        wait_settled "full_$pass" windowed "" "Alt+Enter ($pass pass)"
        local w h x y
        read -r w h <<<"$(xdotool getdisplaygeometry)"
        # The scene covers the screen: background at every corner, where the task bar was.
        for x in 1 $((w - 2)); do
            for y in 1 $((h - 2)); do
                [ "$(pixel "full_$pass" $x $y)" = "$BACKGROUND" ] ||
                    fail "screen corner ($x, $y) is $(pixel "full_$pass" $x $y) in full screen"
            done
        done
        [ "$(count_colour "full_$pass" "$((-OX + w / 4)),$((-OY + h / 4)),$((w / 2)),$((h / 2))" "$RED")" -gt 20000 ] ||
            fail "no large pyramid in full screen"
        if [ $pass = alt_return ]; then
            xdotool key alt+Return
        else
            xdotool key Escape
        fi
        # weston gives the window its focus, and its title its colour, a while after the rest.
        wait_for 10 shot_matches "back_$pass" windowed || fail "$pass did not return to the window"
    done
    note "full screen $size covered by the scene; Alt+Enter and Escape both return"
}

scenario_dialogs() {
    start_app -Embedding
    wait_main
    wait_pyramid
    activate
    menu 3 3 # Settings, Presets
    wait_for 10 active_caption_is "Предварительные настройки" ||
        fail "presets dialog not in front (active: '$(xdotool getactivewindow getwindowname)')"
    shot presets
    xdotool key Escape
    wait_for 10 no_window_named 'Предварительные настройки' ||
        fail "Escape did not close the presets dialog"
    menu 3 1 # Settings, Background colour
    wait_for 10 active_caption_is ! "$CAPTION" || fail "no colour chooser opened"
    local chooser
    chooser=$(xdotool getactivewindow getwindowname)
    note "colour chooser: '$chooser'"
    shot colour
    xdotool key Escape
    wait_for 10 active_caption_is "$CAPTION" || fail "Escape did not close the colour chooser"
    # The view draws again where the chooser was.
    wait_still after "$(view_area)" "the view did not come to rest after the chooser closed"
    [ "$(pixel after $((OX + 2)) $((OY + MENU_BAR + 2)))" = "$BACKGROUND" ] || fail "the cancelled chooser changed the background"
}

# The keyboard is the game's as soon as its window is in front, as for a player who starts
# it and presses a key without clicking into the view first: holding Up puts a number
# into the caption.
scenario_keys_without_click() {
    start_app -Embedding
    wait_main
    wait_pyramid
    activate
    xdotool keydown Up
    sleep 0.4 # held as a player holds it: the zoom counts while the key is down
    xdotool keyup Up
    wait_for 5 caption_differs "$CAPTION" || true # the check below says what it is
    local title
    title=$(xdotool getwindowname "$W")
    note "caption after holding Up: '$title'"
    [[ $title =~ ^0\.0[0-9]+$ ]] || fail "the held Up key was not seen before a click into the view"
}

scenario_f5_sound() {
    start_app_recording_sound
    click_at 40 300 # into the view's background: see keys_without_click
    xdotool keydown F5
    sleep 1.2 # held for three sounds
    xdotool keyup F5
    sleep 1 # a fourth sound, wrongly started after the release, would be heard in this time
    close_app
    stop_sound_recording
    local onsets count
    onsets=$(sound_onsets "$SD/sound.s16")
    note "sound onsets (s): ${onsets//$'\n'/ }"
    count=$(grep -c . <<<"$onsets" || true)
    [ "$count" -eq 3 ] || fail "expected 3 sounds while F5 was held 1.2 s, heard $count"
    awk 'NR > 1 { gap = $1 - prev; if (gap < 0.4 || gap > 0.62) bad = 1 }
         { prev = $1 } END { exit bad }' <<<"$onsets" || fail "the sounds are not 0.5 s apart"
}

scenario_settings_and_placement() {
    start_app -Embedding
    wait_main
    wait_pyramid
    local x y w h sw sh
    read -r sw sh <<<"$(xdotool getdisplaygeometry)"
    wait_for 5 frame_at "$((sw / 2 - 266)) $((sh / 2 - 200)) 532 400" || true # checked below
    read -r x y w h <<<"$(frame_rect)"
    note "first start: frame ${w}x${h} at ($x, $y) on a ${sw}x${sh} screen"
    [ "$w $h $x $y" = "532 400 $((sw / 2 - 266)) $((sh / 2 - 200))" ] ||
        fail "first start: expected a 532 x 400 frame centred at ($((sw / 2 - 266)), $((sh / 2 - 200)))"
    # A first move by the player must stay where it was put.
    xdotool windowmove "$W" 100 80
    wait_for 5 origin_at 100 80 || true # checked below
    sleep 0.5 # the program's own placement must not move it back in this time
    read -r x y w h <<<"$(frame_rect)"
    read_origin
    [ "$OX $OY" = "100 80" ] || fail "moved to (100, 80), the window is at ($OX, $OY)"
    close_app
    local reg="$SD/config/Tetrakon/registry.reg" value
    [ -f "$reg" ] || fail "no settings written at close"
    for value in ShowCmd Left Top Right Bottom Picture FastRandomRotate NumberRandomRotate PathImage; do
        grep -q "^\"$value\"=" "$reg" || fail "value $value not written"
    done
    note "written: $(stored_rect)"
    [ "$(stored_rect)" = "$x $y $((x + w)) $((y + h))" ] ||
        fail "written rectangle differs from the frame at close ($x, $y, ${w}x${h})"
    grep -q '^"NumberRandomRotate"=dword:00000005$' "$reg" || fail "NumberRandomRotate not 5"
    grep -q '^"PathImage"="bg.jpg"$' "$reg" || fail "PathImage not bg.jpg"

    start_app -Embedding
    wait_main
    wait_pyramid
    wait_for 5 frame_at "$x $y $w $h" || true # checked below
    local x2 y2 w2 h2
    read -r x2 y2 w2 h2 <<<"$(frame_rect)"
    note "second start: frame ${w2}x${h2} at ($x2, $y2)"
    [ "$x2 $y2 $w2 $h2" = "$x $y $w $h" ] || fail "the second start did not open where the first closed"
    close_app

    # A named pipe where the settings file should be: the start does not wait on it, and
    # the close sets it aside for a clean file.
    rm "$reg" && mkfifo "$reg"
    start_app -Embedding
    wait_main
    close_app
    { [ -p "$reg.bad" ] && [ -f "$reg" ]; } || fail "the named pipe was not set aside for a clean file"
}

# Not in the default list: tools/take-screenshot.sh runs it to picture the game for the
# README. One layer turned, the main window without its frame; TETRAKON_SCREENSHOT names
# the file to write.
scenario_screenshot() {
    start_app -Embedding
    wait_main
    wait_pyramid
    activate
    shot before
    click_at "${TIP[@]}"
    wait_settled turned before "$(view_area)" "a click on the tip"
    import -window "$W" "$SD/window.png"
    [ "$(identify -format '%wx%h' "$SD/window.png")" = "${WW}x${WH}" ] ||
        fail "the shot is not the window's size ${WW}x${WH}"
    cp "$SD/window.png" "${TETRAKON_SCREENSHOT:?name the file in TETRAKON_SCREENSHOT}"
}

# Settings stored by an earlier run or by hand: the window opens where its screen can show
# it, at least 200 x 200 with its frame, the stored picture is drawn, and what is written at
# close is where the window really was.
scenario_stored_settings() {
    convert -size 64x64 xc:'#2050C0' "$SD/blue.png"
    local area stored expected left top right bottom x y w h
    area=$(xprop -root _NET_WORKAREA | awk -F' = ' '{ split($2, a, ", "); print a[1], a[2], a[1] + a[3], a[2] + a[4] }')
    while IFS='|' read -r stored expected; do
        read -r left top right bottom <<<"$stored"
        write_settings Left "dword:$left" Top "dword:$top" Right "dword:$right" Bottom "dword:$bottom" \
            Picture dword:00000001 PathImage "\"$SD/blue.png\""
        start_app -Embedding
        wait_main
        # A slow start (the run's first, which builds its GL program) may still be placing it.
        wait_for 5 frame_spans "$expected" || true # checked below
        read -r x y w h <<<"$(frame_rect)"
        note "stored $stored: frame at $x $y $((x + w)) $((y + h))"
        [ "$x $y $((x + w)) $((y + h))" = "$expected" ] || fail "expected the frame at $expected"
        read_origin
        wait_for 10 shot_pixel_is view $((OX + 2)) $((OY + MENU_BAR + 2)) 2050C0 ||
            fail "the stored picture is not drawn: $(pixel view $((OX + 2)) $((OY + MENU_BAR + 2)))"
        xdotool windowsize "$W" 50 50
        wait_for 5 frame_sized 200 200 || true # checked below
        # Where the frame was 200 x 200 already nothing shows that the request was
        # answered: a window made smaller than that would show it in this time.
        sleep 0.5
        read -r x y w h <<<"$(frame_rect)"
        [ "$w $h" = "200 200" ] || fail "made as small as it goes, the frame is ${w}x${h}"
        close_app
        [ "$(stored_rect)" = "$x $y $((x + w)) $((y + h))" ] ||
            fail "written $(stored_rect), the frame was at $x $y ${w}x${h}"
    done <<END
00000064 00000064 00000096 00000096|100 100 300 300
00000000 00000000 00009c40 00009c40|$area
80000000 80000000 7fffffff 7fffffff|$area
END
}

# Closed by the window manager while maximised, minimised or in full screen, the program
# ends normally and writes its show state and the windowed rectangle, where it reopens
# restored.
scenario_closing_states() {
    local state show x y w h
    while read -r state show; do
        rm -rf "$SD/config"
        start_app -Embedding
        wait_main
        wait_pyramid
        xdotool windowmove "$W" 100 80
        wait_for 5 origin_at 100 80 || fail "the window did not move to (100, 80)"
        read -r x y w h <<<"$(frame_rect)"
        case $state in
            maximised) wmctrl -i -r "$W" -b add,maximized_vert,maximized_horz ;;
            minimised) xdotool windowminimize "$W" ;;
            full_screen) activate && xdotool key alt+Return ;;
        esac
        local target=$W
        if [ "$state" = full_screen ]; then
            wait_for 5 full_screen_in_front || fail "no full-screen window in front"
            target=$(xdotool getactivewindow)
        else
            wait_for 5 window_state_has "$state" || fail "the window manager did not show it $state"
        fi
        wmctrl -i -c "$target"
        wait_exit 15
        local status=0
        wait "$APP_PID" || status=$?
        [ $status -eq 0 ] || fail "closed $state, the program ended with $status"
        note "closed $state: ShowCmd $(stored_dword ShowCmd), rectangle $(stored_rect)"
        [ "$(stored_dword ShowCmd)" = "$show" ] || fail "ShowCmd is not $show"
        [ "$(stored_rect)" = "$x $y $((x + w)) $((y + h))" ] || fail "the window was at $x $y ${w}x${h}"
        start_app -Embedding
        wait_main
        [ "$(frame_rect)" = "$x $y $w $h" ] || fail "reopened at $(frame_rect), not $x $y $w $h"
        close_app
    done <<END
maximised 3
minimised 2
full_screen 1
END
}

# The same scenarios with the program as a native Wayland client.
scenario_wayland_first_frame() {
    on_wayland
    scenario_first_frame
}

scenario_wayland_click_turn_and_undo() {
    on_wayland
    scenario_click_turn_and_undo
}

scenario_wayland_full_screen() {
    on_wayland
    scenario_full_screen
}

# The first frame, drawn in the view's real size and opaque, in a plain start and with
# -Embedding, on compositors without a display (sway tiles the window over the whole
# screen); mutter's is read from the protocol log.
scenario_headless_start() { on_weston_headless; START_PLAIN="" scenario_first_frame; }
scenario_headless_first_frame() { on_weston_headless; scenario_first_frame; }
# True once the program's protocol log shows at least N top-level windows destroyed
# (libwayland 1.21 logs an object as xdg_toplevel@7, 1.23 as xdg_toplevel#7).
toplevels_destroyed() {
    [ "$(grep -c -- '-> xdg_toplevel[@#][0-9]*\.destroy(' "$SD/app.log")" -ge "$1" ]
}
scenario_sway_start() {
    on_sway
    WAYLAND_DEBUG=client START_PLAIN="" scenario_first_frame
    # Past the picture's 3.5 s: it was shown again above the main window once, and has gone.
    wait_for 8 toplevels_destroyed 2 || fail "the start-up picture did not go"
    sleep 0.5 # a picture that flickers would be made again in this time
    kill -0 "$APP_PID" || fail "the program ended: $(tail -1 "$SD/app.log")"
    local made gone
    made=$(grep -c -- '-> xdg_surface[@#][0-9]*\.get_toplevel(' "$SD/app.log")
    gone=$(grep -c -- '-> xdg_toplevel[@#][0-9]*\.destroy(' "$SD/app.log")
    { [ "$made" = 3 ] && [ "$gone" = 2 ]; } || fail "$made windows made, $gone of them destroyed"
}
scenario_sway_first_frame() { on_sway; scenario_first_frame; }
scenario_mutter_start() { on_mutter; start_app; wait_view_buffer 15; }
scenario_mutter_first_frame() { on_mutter; start_app -Embedding; wait_view_buffer 15; }

# A Wayland client cannot learn where its window is: the stored position is kept at close,
# not replaced by the unknown one.
scenario_wayland_keeps_window_position() {
    on_wayland
    write_settings Left dword:00000064 Top dword:00000050 Right dword:000002bc Bottom dword:00000226
    start_app -Embedding
    wait_main
    menu 1 2 # File, Exit
    wait_exit 15
    note "written: $(stored_rect)"
    [ "$(stored_rect)" = "100 80 700 550" ] || fail "expected the stored 100 80 700 550"
}

# Waits up to 10 s for a message box of the display layer (captioned "Tetrakon1.0"),
# dismisses it with Enter, then waits for the program's end; sets EXIT_STATUS.
dismiss_fatal_box_and_wait_exit() {
    local deadline=$((SECONDS + 10)) box=""
    while [ -z "$box" ]; do
        box=$(xdotool search --onlyvisible --name '^Tetrakon1\.0$' 2>/dev/null | head -1) || true
        [ -n "$box" ] && break
        [ $SECONDS -ge $deadline ] && fail "no error box appeared"
        sleep 0.1
    done
    shot error_box
    xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
    xdotool key Return
    wait_exit 10
    reap_app
}

# The drawing surface made wider than any back buffer the device can have: the reset is
# refused, the fatal text shown, and the program ends after it.
scenario_fatal_reset_ends_program() {
    start_app -Embedding
    wait_main
    wait_pyramid
    # The window manager keeps a frame on the screen, not the view embedded in it.
    local view
    view=$(xwininfo -id "$W" -children | awk '/^ +0x/ { print $1; exit }')
    xdotool windowsize "$view" 20000 "$((WH - MENU_BAR))"
    dismiss_fatal_box_and_wait_exit
    [ "$EXIT_STATUS" -eq 1 ] || fail "exit status $EXIT_STATUS after the fatal text, not 1"
}

# Neither desktop OpenGL 3.1 nor OpenGL ES 3.0: the start-up error text naming what the
# driver offers, the same on standard error, exit status 1, no settings written.
scenario_startup_failure_ends_program() {
    MESA_GL_VERSION_OVERRIDE=2.1 MESA_GLSL_VERSION_OVERRIDE=120 MESA_GLES_VERSION_OVERRIDE=2.0 \
        start_app -Embedding
    dismiss_fatal_box_and_wait_exit
    grep -q '^tetrakon: Could not initialize OpenGL\..*"OpenGL ES 2.0 Mesa' "$SD/app.log" ||
        fail "standard error does not name what the driver offers: $(cat "$SD/app.log")"
    [ "$EXIT_STATUS" -eq 1 ] || fail "exit status $EXIT_STATUS after a failed start, not 1"
    [ ! -e "$SD/config/Tetrakon/registry.reg" ] || fail "settings were written after a failed start"
}

# Files an older build kept in the cache folder, now links to a user's file or to nothing:
# the program starts, draws and closes without touching any of them.
scenario_cache_files_left_alone() {
    mkdir -p "$SD/cache/Tetrakon"
    echo "the user's own" >"$SD/own.txt"
    ln -s "$SD/own.txt" "$SD/cache/Tetrakon/gl-program.bin"
    ln -s "$SD/own.txt" "$SD/cache/Tetrakon/gl-program.bin.loading"
    ln -s "$SD/gone.txt" "$SD/cache/Tetrakon/gl-program.bin.lock"
    APP_CACHE="$SD/cache" start_app -Embedding # a cache of its own
    wait_main
    wait_pyramid
    close_app
    [ "$(cat "$SD/own.txt")" = "the user's own" ] || fail "the user's file was changed"
    [ ! -e "$SD/gone.txt" ] || fail "a dangling link's target was created"
}

SCENARIOS+=(fatal_reset_ends_program startup_failure_ends_program cache_files_left_alone
    unsaved_settings_are_said absurd_environments)

# A read-only settings file is left as it was, and the close says so on standard error.
scenario_unsaved_settings_are_said() {
    write_settings NumberRandomRotate dword:00000009
    local reg="$SD/config/Tetrakon/registry.reg"
    chmod 444 "$reg" && cp -p "$reg" "$SD/before"
    start_app -Embedding
    wait_main
    close_app
    { cmp -s "$reg" "$SD/before" && [ "$(stat -c %a "$reg")" = 444 ]; } || fail "the file was replaced"
    grep -q "^tetrakon: .*$reg" "$SD/app.log" || fail "nothing said of the unsaved settings"
}

# QT_SCALE_FACTOR=0 still gives a window, at scale 1. The main thread's allocation failing
# after the window appeared (a preloaded library fails the next one on SIGUSR2) ends the
# program with exit status 1 and one line, never with an abort.
scenario_absurd_environments() {
    QT_SCALE_FACTOR=0 start_app -Embedding
    wait_main
    close_app
    "${CXX:-c++}" -shared -fPIC -o "$SD/fail-next-new.so" -x c++ - <<'END'
#include <signal.h>
#include <unistd.h>
#include <cstdlib>
#include <new>
static volatile sig_atomic_t failNext = 0;
__attribute__((constructor)) static void Arm() { signal(SIGUSR2, [](int) { failNext = 1; }); }
void* operator new(std::size_t size) {
    void* p = failNext && gettid() == getpid() ? (failNext = 0, nullptr) : std::malloc(size + 1);
    return p != nullptr ? p : throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
END
    LD_PRELOAD="$SD/fail-next-new.so" start_app -Embedding
    wait_main
    wait_pyramid
    for _ in $(seq 20); do # the next main-thread allocation fails: events make them
        { kill -USR2 "$APP_PID" && xdotool mousemove --window "$W" 20 20 mousemove 40 40; } || break
        sleep 0.5
        ! xdotool search --onlyvisible --name '^Tetrakon1\.0$' >/dev/null 2>&1 || break
    done
    if kill -0 "$APP_PID" 2>/dev/null; then
        dismiss_fatal_box_and_wait_exit
    else # ended where no box could be shown
        reap_app
    fi
    [ "$EXIT_STATUS" -eq 1 ] || fail "out of memory, the program ended with $EXIT_STATUS"
    grep -q "^tetrakon: не хватает памяти" "$SD/app.log" || fail "running out of memory was not said"
}

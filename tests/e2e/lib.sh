# shellcheck shell=bash
# Helpers for the end-to-end scenarios: starting the program, finding its windows, real X
# input through xdotool and screenshots read with ImageMagick. Sourced by run.sh; every
# scenario runs in its own subshell with `set -e`, its own folder ($SD) and its own
# settings folder, so `fail` ends only that scenario.
#
# The state the helpers share, each set in one place only:
#   E2E_DIR     this folder                                          run.sh
#   APP         the built program                                    run.sh
#   WORK        the run's folder: the shared shader cache, the runtime folder   run.sh
#   SCENARIOS   the scenarios run.sh runs when none is named         scenarios.sh; the other
#               *_scenarios.sh files append theirs
#   SD          the current scenario's folder (shots, logs, settings, pids)     run_scenario
#   APP_PID     the program started last                             start_app
#   W           the main window: its X window; under weston nested, weston's    main_window_at
#   OX OY       the main window's client area on the screen, top-left corner    main_window_at
#   WW WH       the client area's width and height                   main_window_at
#   MENU_BAR    the menu bar's height: the view fills the client area below it  main_window_at
#   TIP         "x y" of the pyramid's tip, in the client area       place_marks
#   APEX_AREA LOWER_AREA  "x,y,w,h" near the apex and below it       place_marks
#   QT_QPA_PLATFORM WAYLAND_DISPLAY SHOTS_FROM  the program's platform and where shots
#               come from (empty: the X screen; weston or grim)      use_platform
#   WESTON_WINDOW  weston's own X window under weston nested         on_wayland
#   RECORDER    the recorder of the private sound server             start_sound_recording
#   EXIT_STATUS the exit status of the program reaped last           reap_app
#   XVFB_PID DESKTOP_PIDS  (display.sh), SWAY_SOCKET (tools/wayland-compositors.sh)

CAPTION='Головоломка "Тетракон" '
BACKGROUND=AACCAA
RED=DF0000
YELLOW=DFDF00

# Makes the main window's client area the rectangle $2 $3 $4 $5 (x y w h) on the screen,
# with a menu bar $6 pixels high above the view; $1 is W. Places the marks on the pyramid.
main_window_at() {
    W=$1 OX=$2 OY=$3 WW=$4 WH=$5 MENU_BAR=$6
    place_marks
}

# Places on the pyramid, measured in a view of 532 x 381 pixels and carried over to the
# view's real size: the pyramid stays centred and scales with the view's height.
place_marks() {
    local tip_x tip_y
    # shellcheck disable=SC2034 # APEX_AREA and LOWER_AREA are the scenarios'
    read -r tip_x tip_y APEX_AREA LOWER_AREA < <(awk -v w="$WW" -v h="$WH" -v m="$MENU_BAR" '
        BEGIN { vh = h - m; s = vh / 381; cx = w / 2; cy = m + vh / 2
                printf "%d %d ", cx - 12 * s, cy - 90.5 * s
                printf "%d,%d,%d,%d ", cx - 80 * s, cy - 169.5 * s, 160 * s, 100 * s
                printf "%d,%d,%d,%d\n", 0, cy - 59.5 * s, w, 230 * s }')
    # shellcheck disable=SC2034 # the scenarios' too
    TIP=("$tip_x" "$tip_y")
}

# Makes the program started next a client of Qt platform $1 (xcb or wayland), of Wayland
# display $2 if given; its shots come from the X screen or, with $3, from weston
# (weston-screenshooter) or grim.
use_platform() {
    export QT_QPA_PLATFORM=$1 SHOTS_FROM=${3:-}
    [ -z "${2:-}" ] || export WAYLAND_DISPLAY="$2"
}

fail() {
    echo "  $*"
    exit 1
}

note() {
    echo "  $*"
}

# Starts the program with the scenario's own settings and the run's own cache (so that
# all but the first start find Mesa's compiled shaders), or the cache APP_CACHE if set;
# extra arguments go to it.
start_app() {
    XDG_CONFIG_HOME="$SD/config" XDG_CACHE_HOME="${APP_CACHE:-$WORK/cache}" "$APP" "$@" \
        >>"$SD/app.log" 2>&1 &
    APP_PID=$!
    echo "$APP_PID" >>"$SD/pids"
}

# Reaps the program, which has ended; sets EXIT_STATUS.
# shellcheck disable=SC2034 # the scenarios read EXIT_STATUS
reap_app() {
    EXIT_STATUS=0
    wait "$APP_PID" || EXIT_STATUS=$?
}

# Waits up to $1 seconds (default 15) for the main window; sets W, OX, OY, WW, WH and
# MENU_BAR (main_window_at).
wait_main() {
    if on_wayland_now; then
        wait_main_wayland "${1:-15}"
        return
    fi
    local deadline=$((SECONDS + ${1:-15})) window="" before="" now x y w h bar
    while [ -z "$window" ]; do
        # This program's: one that has just ended may still have its window for a moment.
        window=$(xdotool search --all --pid "$APP_PID" --onlyvisible --name "^${CAPTION}\$" \
            2>/dev/null | head -1) || true
        [ -n "$window" ] && break
        [ $SECONDS -ge $deadline ] && fail "no main window captioned '$CAPTION'"
        kill -0 "$APP_PID" 2>/dev/null || fail "the program ended at start-up"
        sleep 0.1
    done
    # The window is placed again once the window manager has framed it: wait for the
    # frame and then until the window stays where it is.
    wait_for $((deadline - SECONDS)) framed "$window" ||
        fail "the window manager did not frame the main window"
    now=$(client_rect "$window")
    while [ "$before" != "$now" ] && [ $SECONDS -lt $deadline ]; do
        before=$now
        sleep 0.3
        now=$(client_rect "$window")
    done
    read -r x y w h <<<"$now"
    # The view is the main window's child window as wide as it, below the menu bar.
    bar=$(xwininfo -id "$window" -children |
        awk -v w="$w" '$1 ~ /^0x/ { split($(NF - 1), g, /[x+]/); if (g[1] == w) { print g[4]; exit } }')
    [ -n "$bar" ] || fail "no view inside the main window"
    main_window_at "$window" "$x" "$y" "$w" "$h" "$bar"
}

# True once the window manager has framed window $1 (and said how, as the program reads it).
framed() {
    xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q ' = '
}

# The client area of X window $1 on the screen: "x y w h".
client_rect() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
        /Width:/ { w = $2 } /Height:/ { print x, y, w, $2 }'
}

# Reads the main window's place and size on the X screen again.
read_origin() {
    local x y w h
    read -r x y w h <<<"$(client_rect "$W")"
    main_window_at "$W" "$x" "$y" "$w" "$h" "$MENU_BAR"
}

# The window manager's frame around the main window as "x y w h" on the screen.
frame_rect() {
    local parent
    parent=$(xwininfo -id "$W" -children | awk '/Parent window id/ { print $4 }')
    # Without a window xwininfo would wait for one to be picked with the pointer.
    [ -n "$parent" ] || { echo "no frame"; return 1; }
    xwininfo -id "$parent" |
        awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
             /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }'
}

# Closes the main window as the window manager's close key does and waits for the end.
close_app() {
    xdotool windowactivate --sync "$W" >/dev/null 2>&1 || true
    xdotool key alt+F4
    wait_exit 15
}

wait_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$APP_PID" 2>/dev/null; do
        [ $SECONDS -ge $deadline ] && fail "the program did not end within $1 s"
        sleep 0.1
    done
}

activate() {
    xdotool windowactivate --sync "$W" >/dev/null 2>&1 || true
}

# Runs COMMAND every 0.1 s until it succeeds or SECONDS have passed; false on the deadline.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

# True while no window of the size W x H is on the X screen ("288x218").
no_window_sized() {
    ! xwininfo -root -tree | grep -q " $1+"
}

# True while no window captioned exactly $1 is shown.
no_window_named() {
    ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}

# True when the window in front is captioned $1 (with "!": when a window captioned other
# than $2 is in front).
active_caption_is() {
    local active
    active=$(xdotool getactivewindow getwindowname 2>/dev/null) || return 1
    if [ "$1" = ! ]; then
        [ -n "$active" ] && [ "$active" != "$2" ]
    else
        [ "$active" = "$1" ]
    fi
}

# True when the window in front covers the whole screen.
full_screen_in_front() {
    [ "$(xwininfo -id "$(xdotool getactivewindow)" | awk '/Width:/ { w = $2 } /Height:/ { print w "x" $2 }')" = \
        "$(xdotool getdisplaygeometry | tr ' ' x)" ]
}

# True once the window manager shows the main window maximised or minimised ($1).
window_state_has() {
    case $1 in
        maximised) xprop -id "$W" _NET_WM_STATE | grep -q '_NET_WM_STATE_MAXIMIZED_HORZ' ;;
        minimised) xprop -id "$W" WM_STATE | grep -q 'Iconic' ;;
    esac
}

# True once the program has no child process left, not even one it has still to reap.
no_child_process() {
    ! pgrep -P "$APP_PID" >/dev/null
}

# True once the main window's caption is no longer $1.
caption_differs() {
    [ "$(xdotool getwindowname "$W")" != "$1" ]
}

# True once the main window's client area is at ($1, $2) on the screen; updates OX, OY.
origin_at() {
    read_origin
    [ "$OX $OY" = "$1 $2" ]
}

# True once the window manager's frame is at "x y w h" = $1.
frame_at() {
    [ "$(frame_rect)" = "$1" ]
}

# True once the window manager's frame spans "left top right bottom" = $1.
frame_spans() {
    local x y w h
    read -r x y w h <<<"$(frame_rect)"
    [ "$x $y $((x + w)) $((y + h))" = "$1" ]
}

# True once the window manager's frame is $1 x $2 pixels.
frame_sized() {
    local x y w h
    read -r x y w h <<<"$(frame_rect)"
    [ "$w $h" = "$1 $2" ]
}

# Input is read once a frame, so a button is held long enough for a frame to see it.
press() {
    xdotool mousedown "$1"
    sleep 0.1
    xdotool mouseup "$1"
}

# Moves to (x, y) inside the main window and presses button $3 (default 1). X keeps the
# order of the motion and the press, so nothing is waited for between them.
click_at() {
    xdotool mousemove $((OX + $1)) $((OY + $2))
    press "${3:-1}"
}

# Opens drop-down menu $1 (1 is the leftmost title) and, once it is drawn, chooses its item
# $2 (1 is the top one; separators do not count), where shots show them: the titles are
# the runs of text across the menu bar, the drop-down is what the click changed below it,
# and its items are the runs of text down the drop-down inside its border.
menu() {
    local titles items first last x y w h
    shot menu_closed
    mapfile -t titles < <(ink_runs menu_closed "$(crop "0,0,$WW,$MENU_BAR")" x 50 5)
    [ ${#titles[@]} -ge "$1" ] || fail "menu title $1 wanted, ${#titles[@]} found"
    read -r first last <<<"${titles[$1 - 1]}"
    click_at $(((first + last) / 2)) $((MENU_BAR / 2))
    wait_settled menu_open menu_closed "0,0,$WW,$WH" "a click on menu title $1"
    IFS=, read -r x y w h <<<"$(changed_box menu_closed menu_open "0,$MENU_BAR,$WW,$((WH - MENU_BAR))")"
    # A separator is a line or two high, an item's text at least four.
    mapfile -t items < <(ink_runs menu_open "$(crop "$((x + 3)),$((y + 3)),$((w - 6)),$((h - 6))")" y 80 2 |
        awk '$2 - $1 >= 3')
    [ ${#items[@]} -ge "$2" ] || fail "item $2 of menu $1 wanted, ${#items[@]} found"
    read -r first last <<<"${items[$2 - 1]}"
    click_at $((x + w / 2)) $((y + 3 + (first + last) / 2))
}

# The runs of ink (pixels darker than $4 percent grey) across (x) or down (y, $3) the
# ImageMagick crop $2 of shot $1, as "first last" a line, counted from the crop's edge;
# runs with fewer than $5 clear pixels between them are one.
ink_runs() {
    convert "$SD/$1.png" -crop "$2" +repage -colorspace gray -threshold "$4%" -depth 8 txt:- |
        awk -F '[,:]' -v axis="$3" -v join="$5" '
            NR > 1 && /#000000/ { p = axis == "x" ? $1 : $2; ink[p] = 1; if (p > max) max = p }
            END { first = -1
                  for (p = 0; p <= max; p++) if (p in ink) {
                      if (first < 0) first = p
                      else if (p - last > join) { print first, last; first = p }
                      last = p }
                  if (first >= 0) print first, last }'
}

# The box "x,y,w,h" in the main window around what differs in area $3 between shots $1
# and $2.
changed_box() {
    local at x0 y0 x y w h
    at=$(crop "$3")
    IFS=, read -r x0 y0 _ <<<"$3"
    # A black border keeps the box off the area's edges, where trimming starts.
    read -r w h x y < <(convert "$SD/$1.png[$at]" "$SD/$2.png[$at]" -compose difference \
        -composite +repage -colorspace gray -threshold 6% -bordercolor black -border 1 \
        -format '%@' info: | tr 'x+' '  ')
    echo "$((x0 + x - 1)),$((y0 + y - 1)),$w,$h"
}

shot() {
    if [ -n "${SHOTS_FROM:-}" ]; then
        headless_shot "$1"
        return
    fi
    if on_wayland_now; then
        shot_without_pointer "$1"
        return
    fi
    import -window root "$SD/$1.png"
}

# Converts "x,y,w,h" inside the main window to an ImageMagick crop on the screen.
crop() {
    local x y w h
    IFS=, read -r x y w h <<<"$1"
    echo "${w}x${h}+$((OX + x))+$((OY + y))"
}

# Number of pixels of area $3 (whole screen if empty) that differ between shots $1 and $2
# by more than a small tolerance.
diff_px() {
    local a="$SD/$1.png" b="$SD/$2.png"
    if [ -n "${3:-}" ]; then
        a="${a}[$(crop "$3")]" b="${b}[$(crop "$3")]"
    fi
    compare -metric AE -fuzz 6% "$a" "$b" null: 2>&1 || true
}

# Number of pixels of area $2 of shot $1 within 20% of colour $3 (hex RRGGBB).
count_colour() {
    convert "$SD/$1.png" -crop "$(crop "$2")" +repage -alpha off -fuzz 20% \
        -fill white -opaque "#$3" -fill black +opaque white \
        -format '%[fx:round(mean*w*h)]' info:
}

# Number of pixels of area $2 of shot $1 that are not the background colour.
count_not_background() {
    convert "$SD/$1.png" -crop "$(crop "$2")" +repage -alpha off -fuzz 4% \
        -fill black -opaque "#$BACKGROUND" -fill white +opaque black \
        -format '%[fx:round(mean*w*h)]' info:
}

# Colour of the screen pixel (x, y) of shot $1 as RRGGBB.
pixel() {
    convert "$SD/$1.png" -format "%[hex:p{$2,$3}]" info: | cut -c1-6
}

# The 3-D view inside the main window as "x,y,w,h".
view_area() {
    echo "0,$MENU_BAR,$WW,$((WH - MENU_BAR))"
}

# Microseconds since the epoch.
now_us() {
    local t=$EPOCHREALTIME
    echo "${t/[.,]/}"
}

# Takes shots named $1 until area $2 has stayed the same for a quarter of a second: an
# animation moves on frame by frame, and on a loaded machine two shots can fall into one
# slow frame. Fails with "$3" when that takes longer than $4 s (default 10).
wait_still() {
    local name=$1 area=$2 deadline=$((SECONDS + ${4:-10})) taken since
    shot "$name"
    since=$(now_us)
    while :; do
        mv "$SD/$name.png" "$SD/$name-before.png"
        taken=$(now_us)
        shot "$name"
        if [ "$(diff_px "$name-before" "$name" "$area")" -gt 0 ]; then
            since=$taken
        elif [ $((taken - since)) -ge 250000 ]; then
            return 0
        fi
        [ $SECONDS -ge $deadline ] && fail "$3"
    done
}

# Takes shot $1; true when fewer than 20 pixels of area $3 (the screen if empty) differ
# from shot $2.
shot_matches() {
    shot "$1"
    [ "$(diff_px "$2" "$1" "${3:-}")" -lt 20 ]
}

# Takes shot $1; true when its screen pixel ($2, $3) has the colour $4 (RRGGBB).
shot_pixel_is() {
    shot "$1"
    [ "$(pixel "$1" "$2" "$3")" = "$4" ]
}

# Takes shots named $1 until area $3 differs from shot $2 (what was done, told in $4, has
# begun to show) and then until it is still; fails when either takes longer than $5 s
# (default 10).
wait_settled() {
    local deadline=$((SECONDS + ${5:-10}))
    shot "$1"
    while [ "$(diff_px "$2" "$1" "$3")" -lt 20 ]; do
        [ $SECONDS -ge $deadline ] && fail "the picture did not change after $4"
        shot "$1"
    done
    wait_still "$1" "$3" "the picture did not come to rest after $4" "${5:-10}"
}

# Takes shots until the view shows the pyramid (red and yellow in its middle), up to $1 s.
# On X the window's place is read again around each shot: on a loaded machine the
# program may place it once more after wait_main found it still.
wait_pyramid() {
    local deadline=$((SECONDS + ${1:-10})) at
    while :; do
        on_wayland_now || read_origin
        at="$OX $OY"
        shot pyramid
        on_wayland_now || read_origin
        if [ "$OX $OY" = "$at" ] && [ "$(count_colour pyramid 166,80,200,250 $RED)" -gt 2000 ] &&
            [ "$(count_colour pyramid 166,80,200,250 $YELLOW)" -gt 2000 ]; then
            return 0
        fi
        [ $SECONDS -ge $deadline ] && fail "no pyramid drawn in the view"
        sleep 0.2
    done
}

# Writes the settings file a run starts from: pairs of value name and REGEDIT4 data.
write_settings() {
    mkdir -p "$SD/config/Tetrakon"
    {
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n'
        while [ $# -ge 2 ]; do
            printf '"%s"=%s\n' "$1" "$2"
            shift 2
        done
    } >"$SD/config/Tetrakon/registry.reg"
}

# The 32-bit number the program wrote for a value, in decimal.
stored_dword() {
    printf '%d' "0x$(sed -n "s/^\"$1\"=dword://p" "$SD/config/Tetrakon/registry.reg")"
}

# The window rectangle the program wrote: "left top right bottom".
stored_rect() {
    echo "$(stored_dword Left) $(stored_dword Top) $(stored_dword Right) $(stored_dword Bottom)"
}

# Starts a private sound server with a null sink and records its monitor into
# $SD/sound.s16 (44.1 kHz mono s16); the program started after it plays there.
start_sound_recording() {
    local pulse="$SD/pulse"
    mkdir -m 700 "$pulse"
    export XDG_RUNTIME_DIR="$pulse" PULSE_SERVER="unix:$pulse/pulse/native"
    HOME="$pulse" pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=stderr \
        -L module-native-protocol-unix -L "module-null-sink sink_name=nul" \
        -L module-always-sink 2>"$SD/pulse.log" &
    echo $! >>"$SD/pids"
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    pactl info >/dev/null 2>&1 || fail "the private sound server did not start"
    parec --latency-msec=20 -d nul.monitor --format=s16le --rate=44100 --channels=1 \
        >"$SD/sound.s16" &
    RECORDER=$!
    echo "$RECORDER" >>"$SD/pids"
}

# Starts the program playing into the recording, waits for the pyramid and for the
# recording to flow (the monitor delivers data only after a moment) and activates it.
start_app_recording_sound() {
    start_sound_recording
    start_app -Embedding
    wait_main 15
    wait_pyramid 10
    local deadline=$((SECONDS + 10))
    while [ "$(stat -c %s "$SD/sound.s16")" -lt 8820 ]; do
        [ $SECONDS -ge $deadline ] && fail "the sink's monitor delivered nothing"
        sleep 0.1
    done
    activate
}

stop_sound_recording() {
    kill "$RECORDER"
    wait "$RECORDER" 2>/dev/null || true
}

# Onsets in a raw 44.1 kHz mono s16 recording: 10 ms windows whose peak passes 0.1 of full
# scale after at least 40 ms of quiet and 0.3 s after the onset before (the sound bounces
# within itself), in seconds, one a line.
sound_onsets() {
    sox -t raw -r 44100 -e signed -b 16 -c 1 "$1" -t dat - |
        awk '!/^;/ { w = int($1 * 100); a = ($2 < 0 ? -$2 : $2); if (a > peak[w]) peak[w] = a;
                     if (w > last) last = w }
             END { quiet = 4; previous = -100; for (w = 0; w <= last; w++) {
                       if (peak[w] > 0.1 && quiet >= 4 && w - previous >= 30) {
                           printf "%.2f\n", w / 100; previous = w }
                       quiet = (peak[w] < 0.01) ? quiet + 1 : 0 } }'
}

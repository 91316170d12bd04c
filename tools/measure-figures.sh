#!/usr/bin/env bash
# Measures the built program from outside and writes a Markdown report: launch time to the
# first drawn frame, peak memory, CPU while idle and while a slow shuffle runs, the mean
# frame interval of that shuffle, peak memory with large background pictures, and the
# Google Benchmark figures. The floor, tools/glfloor (a bare Qt 6 window drawing one
# triangle with OpenGL 3.3 and 4 samples), is measured the same way, side by side, for
# the first drawn frame and the peak and anonymous memory at rest. When the Debian puzzle
# game kubrick is installed (or installable here as root) it is measured the same way.
#   tools/measure-figures.sh BUILD_DIR [REPORT]   (REPORT defaults to BUILD_DIR/figures.md)
set -uo pipefail

build=$(realpath "${1:?usage: measure-figures.sh BUILD_DIR [REPORT]}")
report=${2:-$build/figures.md}
app="$build/app/tetrakon"
floor="$build/tools/glfloor/glfloor"
[ -x "$app" ] || { echo "no program at $app" >&2; exit 2; }
[ -x "$floor" ] || { echo "no floor program at $floor" >&2; exit 2; }
caption='Головоломка "Тетракон" '
runs=3
hz=$(getconf CLK_TCK)

work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "$0")/../tests/e2e/display.sh"
start_measuring_desktop "$work"
pids+=("${DESKTOP_PIDS[@]}")

now_ms() { date +%s%3N; }

# CPU ticks (user + system) of process $1.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# CPU use of process $1 over $2 seconds, as a percentage of one core.
cpu_percent() {
    local before after
    before=$(cpu_ticks "$1")
    sleep "$2"
    after=$(cpu_ticks "$1")
    awk -v t=$((after - before)) -v hz="$hz" -v s="$2" 'BEGIN { printf "%.1f", 100 * t / hz / s }'
}

peak_kib() { awk '/VmHWM/ { print $2 }' "/proc/$1/status"; }
anon_kib() { awk '/RssAnon/ { print $2 }' "/proc/$1/status"; }

# Waits for a visible window matching the xdotool search options given; prints the id of
# the largest such window (a program's inner widgets may carry its name too).
wait_window() {
    local found="" deadline=$((SECONDS + 60))
    while [ $SECONDS -lt $deadline ]; do
        found=$(xdotool search --onlyvisible "$@" 2>/dev/null) && [ -n "$found" ] && break
        sleep 0.02
    done
    local w best=0 best_w=""
    for w in $found; do
        local area
        area=$(xwininfo -id "$w" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w * h }')
        [ "$area" -gt "$best" ] && best=$area best_w=$w
    done
    echo "$best_w"
}

# Number of red (the pyramid's red face, the floor's triangle) pixels in window $1.
red_pixels() {
    import -window "$1" "$work/w.png" 2>/dev/null || { echo 0; return; }
    convert "$work/w.png" -alpha off -fuzz 20% -fill white -opaque '#DF0000' \
        -fill black +opaque white -format '%[fx:round(mean*w*h)]' info: 2>/dev/null || echo 0
}

close_window() {
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
    xdotool key alt+F4
    for _ in $(seq 150); do kill -0 "$2" 2>/dev/null || return 0; sleep 0.1; done
    kill "$2" 2>/dev/null || true
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Milliseconds from exec to window $1 showing more than 2000 red pixels.
wait_drawn() {
    for _ in $(seq 200); do
        [ "$(red_pixels "$1")" -gt 2000 ] && break
        sleep 0.01
    done
    echo $(($(now_ms) - $2))
}

# --- Tetrakon and the floor, started in turn so that both meet the same load. The first
# start of each is also measured at rest, 2 s after its first frame. Screenshots poll the
# window for the first drawn pyramid, 50-100 ms apart.
mapped=() drawn=() floor_drawn=()
for run in $(seq $runs); do
    cfg="$work/cfg$run"
    mkdir -p "$cfg"
    start=$(now_ms)
    XDG_CONFIG_HOME="$cfg" "$app" -Embedding >/dev/null 2>&1 &
    pid=$!
    w=$(wait_window --name "^${caption}\$")
    [ -n "$w" ] || { echo "the program showed no window within 60 s" >&2; exit 1; }
    mapped+=("$(($(now_ms) - start))")
    drawn+=("$(wait_drawn "$w" "$start")")
    if [ "$run" -eq 1 ]; then
        sleep 2
        rest_peak=$(peak_kib "$pid") rest_anon=$(anon_kib "$pid")
        idle_cpu=$(cpu_percent "$pid" 10)
    fi
    close_window "$w" "$pid"

    start=$(now_ms)
    "$floor" >/dev/null 2>&1 &
    fpid=$!
    pids+=("$fpid")
    fw=$(wait_window --name '^glfloor$')
    [ -n "$fw" ] || { echo "the floor showed no window within 60 s" >&2; exit 1; }
    floor_drawn+=("$(wait_drawn "$fw" "$start")")
    if [ "$run" -eq 1 ]; then
        sleep 2
        floor_peak=$(peak_kib "$fpid") floor_anon=$(anon_kib "$fpid")
    fi
    kill "$fpid"
    wait "$fpid" 2>/dev/null
done
mapped_ms=$(printf '%s\n' "${mapped[@]}" | median)
drawn_ms=$(printf '%s\n' "${drawn[@]}" | median)
floor_drawn_ms=$(printf '%s\n' "${floor_drawn[@]}" | median)

# --- The first frame to the millisecond: both programs write the time of each frame they
# show into a frame log. Nothing but that file is polled meanwhile, as screenshots taken
# while a program starts take CPU from it, the more the longer it takes.
# Milliseconds from exec to the first line of frame log $1, or "-" after 60 s.
first_frame_ms() {
    local log=$1 start
    rm -f "$log"
    start=$(now_ms)
    shift
    "$@" >/dev/null 2>&1 &
    local started=$! polls=0
    until [ -s "$log" ] || [ $polls -ge 12000 ]; do
        sleep 0.005
        polls=$((polls + 1))
    done
    sleep 0.2
    kill "$started" 2>/dev/null
    wait "$started" 2>/dev/null
    [ -s "$log" ] && awk -v s="$start" 'NR == 1 { printf "%d\n", $1 - s }' "$log" || echo -
}
start_runs=21
shown=() floor_shown=()
for run in $(seq $start_runs); do
    mkdir -p "$work/cfg-first$run"
    shown+=("$(first_frame_ms "$work/game.log" env XDG_CONFIG_HOME="$work/cfg-first$run" \
        TETRAKON_FRAME_LOG="$work/game.log" "$app" -Embedding)")
    floor_shown+=("$(first_frame_ms "$work/floor.log" "$floor" "$work/floor.log")")
done
shown_ms=$(printf '%s\n' "${shown[@]}" | median)
floor_shown_ms=$(printf '%s\n' "${floor_shown[@]}" | median)
# The same with an empty cache folder at every start, so that the driver compiles every
# shader anew (Mesa keeps its shader cache there), as at the first start after an install
# or a driver update.
cold_runs=11
cold=() floor_cold=()
for run in $(seq $cold_runs); do
    mkdir -p "$work/cfg-cold$run" "$work/cache-cold$run" "$work/cache-floor-cold$run"
    cold+=("$(first_frame_ms "$work/game.log" env XDG_CONFIG_HOME="$work/cfg-cold$run" \
        XDG_CACHE_HOME="$work/cache-cold$run" TETRAKON_FRAME_LOG="$work/game.log" "$app" -Embedding)")
    floor_cold+=("$(first_frame_ms "$work/floor.log" env XDG_CACHE_HOME="$work/cache-floor-cold$run" \
        "$floor" "$work/floor.log")")
done
cold_ms=$(printf '%s\n' "${cold[@]}" | median)
floor_cold_ms=$(printf '%s\n' "${floor_cold[@]}" | median)

# Slow shuffle of 100 turns, started from the File menu.
turns=100
cfg="$work/cfg-shuffle"
mkdir -p "$cfg/Tetrakon"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n"NumberRandomRotate"=dword:%08x\n"FastRandomRotate"=dword:00000000\n' \
    $turns >"$cfg/Tetrakon/registry.reg"
TETRAKON_FRAME_LOG="$work/frames.log" XDG_CONFIG_HOME="$cfg" "$app" -Embedding >/dev/null 2>&1 &
pid=$!
w=$(wait_window --name "^${caption}\$")
sleep 2
xdotool windowactivate --sync "$w" >/dev/null 2>&1
read -r ox oy < <(xwininfo -id "$w" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { print x, $4 }')
xdotool mousemove $((ox + 26)) $((oy + 8)) mousedown 1; sleep 0.1; xdotool mouseup 1
sleep 0.4
xdotool mousemove $((ox + 66)) $((oy + 29)) mousedown 1; sleep 0.05
shuffle_start=$(now_ms)
xdotool mouseup 1
xdotool mousemove $((ox + 40)) $((oy + 300))
shuffle_cpu=$(cpu_percent "$pid" 5)
# The shuffle has ended when the picture stops changing (two shots 0.25 s apart agree).
import -window "$w" "$work/a.png"
shuffle_ms=""
for _ in $(seq 240); do
    sleep 0.25
    t=$(now_ms)
    import -window "$w" "$work/b.png"
    if [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)" = 0 ]; then
        shuffle_ms=$((t - 250 - shuffle_start))
        break
    fi
    mv "$work/b.png" "$work/a.png"
done
peak=$(peak_kib "$pid")
close_window "$w" "$pid"
# A slow shuffle turn takes six drawn frames (five 24-degree steps and the frame that
# draws the next turn).
frames=$((turns * 6))
frame_ms=$(awk -v d="${shuffle_ms:-0}" -v f=$frames 'BEGIN { printf "%.1f", d / f }')
# The program's own log of presented frames: at rest it presents nothing, so the intervals
# shorter than 0.2 s are those of the shuffle's animation.
read -r interval_count interval_median interval_p10 interval_p90 < <(
    awk 'NR > 1 && $1 - last < 200 { print $1 - last } { last = $1 }' "$work/frames.log" |
        sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) { print 0, "-", "-", "-"; exit }
            high = int(NR * 0.9); if (high < 1) high = 1
            printf "%d %.1f %.1f %.1f\n", NR, v[int((NR + 1) / 2)], v[int(NR * 0.1) + 1], v[high] }')

# --- Peak memory of starts with a large background picture: each start has a private HOME
# whose settings switch the picture on, runs under /usr/bin/time -v and is closed once its
# window has shown for two seconds. The settings written at close tell whether the picture
# loaded (one that fails switches itself off).
convert -size 8192x8192 gradient:red-blue -depth 8 "PNG24:$work/ramp-8192.png"
pgmramp -diagonal 16384 16384 | pgmtoppm red-blue >"$work/ramp-16384.ppm"
pnmtojpeg --progressive --quality=80 "$work/ramp-16384.ppm" >"$work/progressive-16384.jpg"
pnmtojpeg --quality=80 "$work/ramp-16384.ppm" >"$work/baseline-16384.jpg"
rm "$work/ramp-16384.ppm"
truncate -s 500M "$work/sparse-500M.img"
# The largest picture allowed in formats Qt's readers decode (an SVG is refused), and pictures
# whose headers claim far more than their files hold.
"$(dirname "$0")/make-hostile-pictures.sh" --large "$work"
for format in bmp ppm pgm; do
    convert "$work/ramp-4096.png" "$work/ramp-4096.$format"
done
printf '<svg xmlns="http://www.w3.org/2000/svg" width="4096" height="4096"><rect width="4096" height="4096" fill="#3060c0"/></svg>\n' \
    >"$work/rect-4096.svg"
picture_rows=""
for picture in no-such-file.jpg ramp-8192.png progressive-16384.jpg baseline-16384.jpg \
    sparse-500M.img ramp-4096.png ramp-4096.bmp ramp-4096.ppm ramp-4096.pgm rect-4096.svg \
    gif-4096.gif ztxt-claims-1290MB.png text-claims-2046MB.png ztxt-in-icon.ico; do
    home="$work/home-$picture"
    mkdir -p "$home/.config/Tetrakon"
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n"Picture"=dword:00000001\n"PathImage"="%s"\n' \
        "$work/$picture" >"$home/.config/Tetrakon/registry.reg"
    (unset XDG_CONFIG_HOME; HOME="$home" exec /usr/bin/time -v -o "$home/time.txt" "$app" -Embedding \
        >/dev/null 2>&1) &
    pid=$!
    w=$(wait_window --name "^${caption}\$")
    sleep 2
    close_window "$w" "$pid"
    wait "$pid" 2>/dev/null
    kept=no size=-
    grep -q '"Picture"=dword:00000001' "$home/.config/Tetrakon/registry.reg" && kept=yes
    [ -e "$work/$picture" ] && size=$(du -h --apparent-size "$work/$picture" | cut -f1)
    picture_peak=$(awk -F': ' '/Maximum resident set size/ { print int($2 / 1024) }' \
        "$home/time.txt")
    picture_rows+="| $picture | $size | ${picture_peak} MiB | $kept |"$'\n'
done

# --- kubrick, when it is here
kubrick=""
export PATH="$PATH:/usr/games"
if ! command -v kubrick >/dev/null && [ "$(id -u)" -eq 0 ] &&
    apt-cache policy kubrick 2>/dev/null | grep -q 'Candidate: [0-9]'; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq kubrick >/dev/null 2>&1 || true
fi
if command -v kubrick >/dev/null; then
    kmapped=()
    for run in $(seq $runs); do
        home="$work/khome$run"
        mkdir -p "$home"
        start=$(now_ms)
        HOME="$home" XDG_CONFIG_HOME="$home/.config" kubrick >/dev/null 2>&1 &
        kpid=$!
        kw=$(wait_window --classname '^kubrick$')
        [ -n "$kw" ] || { echo "kubrick showed no window within 60 s" >&2; kill "$kpid"; break; }
        kmapped+=($(($(now_ms) - start)))
        if [ "$run" -eq 1 ]; then
            sleep 2
            # It opens on an animated demo; a click into the scene ends it.
            read -r kx ky < <(xwininfo -id "$kw" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { print x, $4 }')
            xdotool mousemove $((kx + 200)) $((ky + 200)) mousedown 1
            sleep 0.1
            xdotool mouseup 1 mousemove 0 0
            sleep 1
            kidle=$(cpu_percent "$kpid" 10)
        fi
        kpeak=$(peak_kib "$kpid")
        close_window "$kw" "$kpid"
    done
    kmapped_ms=$(printf '%s\n' "${kmapped[@]}" | median)
    [ -n "${kidle:-}" ] && kubrick=yes
fi

# --- benchmarks
benches=""
for b in pick_bench puzzle_bench picture_bench xfile_bench; do
    exe="$build/tests/bench/$b"
    [ -x "$exe" ] || continue
    # shellcheck disable=SC2016 # sed's $: the last line
    benches+=$(printf '\n### %s\n\n```\n%s\n```\n' "$b" \
        "$("$exe" --benchmark_min_time=0.2 --benchmark_color=false 2>/dev/null |
            grep -v '^\*\*\*' | sed -n '/^---/,$p')")
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
# The game is to stay within 1.20 times the floor.
verdict() { awk -v r="$(ratio "$1" "$2")" 'BEGIN { print (r != "-" && r <= 1.20) ? "within 1.20" : "OVER 1.20" }'; }

{
    echo "# Tetrakon figures"
    echo
    echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores ($(uname -m)), Xvfb 1024x768x24"
    echo "with Mesa llvmpipe (software OpenGL) and jwm; program \`$app\`; no sound server."
    echo
    echo "| Figure | Tetrakon | How |"
    echo "|---|---|---|"
    echo "| launch to main window mapped | ${mapped_ms} ms | median of $runs starts with -Embedding (no start-up picture), exec to the captioned window visible (xdotool, 20 ms polls) |"
    echo "| launch to first drawn pyramid seen | ${drawn_ms} ms | same starts, exec to a window shot showing > 2000 red pixels (polls ~50-100 ms apart, each a screenshot) |"
    echo "| launch to first frame on screen | ${shown_ms} ms | median of $start_runs other starts, exec to the first frame in the program's frame log |"
    echo "| peak memory | $((peak / 1024)) MiB | VmHWM of /proc/PID/status just before closing, after a 100-turn shuffle |"
    echo "| CPU idle | ${idle_cpu} % of one core | utime+stime over 10 s, window shown and untouched |"
    echo "| CPU during slow shuffle | ${shuffle_cpu} % of one core | first 5 s of a $turns-turn slow shuffle started from the File menu |"
    echo "| slow shuffle duration | ${shuffle_ms:-not seen to end} ms | menu click to the picture no longer changing (shots 0.25 s apart) |"
    echo "| mean frame interval | ${frame_ms} ms | shuffle duration / ($turns turns x 6 frames) |"
    echo "| frame interval median | ${interval_median} ms | $interval_count intervals between presented frames of the shuffle (TETRAKON_FRAME_LOG) |"
    echo "| frame interval spread | ${interval_p10} to ${interval_p90} ms | 10th to 90th percentile of the same intervals |"
    echo
    echo "The pacing is one frame per 15 ms pause plus the frame's own cost; a slow shuffle step"
    echo "also waits until 4 ms have passed since it began."
    echo
    echo "## Compared with the floor"
    echo
    echo "The floor is \`tools/glfloor\`: a bare Qt 6 window (Qt GUI only) with an OpenGL 3.3 core"
    echo "context that draws one red triangle into a 4-sample buffer and resolves it into the"
    echo "window. Started in turn with the game, measured the same way."
    echo
    echo "| Figure | Tetrakon | floor | Tetrakon / floor | goal |"
    echo "|---|---|---|---|---|"
    echo "| launch to first frame on screen | ${shown_ms} ms | ${floor_shown_ms} ms | $(ratio "$shown_ms" "$floor_shown_ms") | $(verdict "$shown_ms" "$floor_shown_ms") |"
    echo "| launch to first frame, empty shader cache | ${cold_ms} ms | ${floor_cold_ms} ms | $(ratio "$cold_ms" "$floor_cold_ms") | (the game compiles more shaders) |"
    echo "| launch to first frame seen in a shot | ${drawn_ms} ms | ${floor_drawn_ms} ms | $(ratio "$drawn_ms" "$floor_drawn_ms") | (shots 50-100 ms apart) |"
    echo "| peak memory at rest | $((rest_peak / 1024)) MiB | $((floor_peak / 1024)) MiB | $(ratio "$rest_peak" "$floor_peak") | $(verdict "$rest_peak" "$floor_peak") |"
    echo "| anonymous memory at rest | $((rest_anon / 1024)) MiB | $((floor_anon / 1024)) MiB | $(ratio "$rest_anon" "$floor_anon") | $(verdict "$rest_anon" "$floor_anon") |"
    echo
    echo "First frame on screen: median of $start_runs starts each, in turn, from the frame logs (the"
    echo "game's TETRAKON_FRAME_LOG, the floor's argument) with nothing else polled; with an empty"
    echo "shader cache: median of $cold_runs such starts each, every one with a cache folder of its own; seen in a shot:"
    echo "median of $runs starts each, screenshots 50-100 ms apart. Memory: VmHWM and RssAnon of"
    echo "/proc/PID/status 2 s after the first start's first frame (the game with -Embedding, a"
    echo "fresh settings folder and no picture)."
    if [ -n "$kubrick" ]; then
        echo
        echo "## Compared with kubrick ($(dpkg-query -W -f='${Version}' kubrick 2>/dev/null))"
        echo
        echo "| Figure | Tetrakon | kubrick | Tetrakon / kubrick |"
        echo "|---|---|---|---|"
        echo "| launch to window mapped | ${mapped_ms} ms | ${kmapped_ms} ms | $(ratio "$mapped_ms" "$kmapped_ms") |"
        echo "| peak memory | $((peak / 1024)) MiB | $((kpeak / 1024)) MiB | $(ratio "$peak" "$kpeak") |"
        echo "| CPU idle | ${idle_cpu} % | ${kidle} % | $(ratio "$idle_cpu" "$kidle") |"
        echo
        echo "kubrick measured the same way: median of $runs starts to its window mapped; VmHWM just"
        echo "before closing, without play; 10 s \"idle\" after a click into its opening demo, which"
        echo "should end the demo (not checked: a high figure means its scene still animates)."
        echo "kubrick is a KDE program (KXmlGui), so its start includes loading the KDE frameworks."
    else
        echo
        echo "kubrick is not installed here, so there is no comparison."
    fi
    echo
    echo "## Peak memory with a large background picture"
    echo
    echo "Whole starts with -Embedding and the picture switched on in the settings, closed after"
    echo "the window has shown for 2 s; maximum resident set size from /usr/bin/time -v."
    echo "gif-4096.gif is 35 bytes that claim 4096 x 4096 pixels; the two PNGs (the icon holds the"
    echo "first) are 1 x 1 with a chunk that claims the size in their name (tools/make-hostile-pictures.sh)."
    echo
    echo "| Picture | File size | Peak memory | Shown |"
    echo "|---|---|---|---|"
    printf '%s' "$picture_rows"
    echo
    echo "## Benchmarks (Google Benchmark)"
    echo "$benches"
} >"$report"
cat "$report"

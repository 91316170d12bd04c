#!/usr/bin/env bash
# Peak memory of whole program starts with a large background picture: an 8192 x 8192 PNG,
# a 16384 x 16384 JPEG (progressive and baseline), a 500 MB sparse file, and no picture at
# all for comparison. Each start has a private HOME whose settings switch the picture on, runs
# under /usr/bin/time -v on a private Xvfb, and is closed with Alt+F4 once the main window
# has shown for two seconds. The settings written at close tell whether the picture loaded
# (a picture that fails switches itself off).
#   tools/measure-picture-memory.sh BUILD_DIR [PICTURE...]   (default: the three made here)
set -uo pipefail

build=$(realpath "${1:?usage: measure-picture-memory.sh BUILD_DIR [PICTURE...]}")
shift
app="$build/app/tetrakon"
[ -x "$app" ] || { echo "no program at $app" >&2; exit 2; }
caption='Головоломка "Тетракон" '
here=$(dirname "$(realpath "$0")")

work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

source "$here/../tests/e2e/display.sh"
start_private_display
pids+=("$XVFB_PID")
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
jwm -f "$here/../tests/e2e/jwmrc" >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" PULSE_SERVER="unix:$work/no-sound-server"
export QT_QPA_PLATFORM=xcb
unset XDG_CONFIG_HOME

pictures=("$@")
if [ ${#pictures[@]} -eq 0 ]; then
    convert -size 8192x8192 gradient:red-blue -depth 8 "PNG24:$work/ramp-8192.png"
    pgmramp -diagonal 16384 16384 | pgmtoppm red-blue >"$work/ramp-16384.ppm"
    pnmtojpeg --progressive --quality=80 "$work/ramp-16384.ppm" >"$work/progressive-16384.jpg"
    pnmtojpeg --quality=80 "$work/ramp-16384.ppm" >"$work/baseline-16384.jpg"
    rm "$work/ramp-16384.ppm"
    truncate -s 500M "$work/sparse-500M.img"
    pictures=("" "$work/ramp-8192.png" "$work/progressive-16384.jpg" "$work/baseline-16384.jpg"
        "$work/sparse-500M.img")
fi

# One start with picture $1 (empty: picture off); prints "peak_kib shown".
measure() {
    local home="$work/home$RANDOM" pid w
    mkdir -p "$home/.config/Tetrakon"
    {
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n'
        if [ -n "$1" ]; then
            printf '"Picture"=dword:00000001\n"PathImage"="%s"\n' "$1"
        fi
    } >"$home/.config/Tetrakon/registry.reg"
    HOME="$home" /usr/bin/time -v -o "$home/time.txt" "$app" -Embedding >/dev/null 2>&1 &
    pid=$!
    w=""
    for _ in $(seq 600); do
        w=$(xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -1) && [ -n "$w" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ -n "$w" ]; then
        sleep 2
        xdotool windowactivate --sync "$w" >/dev/null 2>&1 || true
        xdotool key alt+F4
    fi
    for _ in $(seq 150); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    local peak shown=no
    peak=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$home/time.txt")
    grep -q '"Picture"=dword:00000001' "$home/.config/Tetrakon/registry.reg" && shown=yes
    [ -n "$w" ] || shown="no window"
    echo "${peak:-0} $shown"
}

echo "| Picture | File size | Peak memory (VmHWM) | Picture shown |"
echo "|---|---|---|---|"
for picture in "${pictures[@]}"; do
    read -r peak shown < <(measure "$picture")
    if [ -n "$picture" ]; then
        name=$(basename "$picture")
        size=$(du -h --apparent-size "$picture" | cut -f1)
    else
        name="(none)" size="-"
    fi
    echo "| $name | $size | $((peak / 1024)) MiB | $shown |"
done

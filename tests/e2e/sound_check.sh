#!/usr/bin/env bash
# Plays the wave "BOUNCE" three times, half a second apart, through the program's sound
# layer into a private PulseAudio server with a null sink, records the sink's monitor and
# checks with sox that three sounds start 0.5 s apart (give or take the server's buffering).
#   tests/e2e/sound_check.sh <build folder>
set -euo pipefail
build=${1:?usage: sound_check.sh <build folder>}
player="$build/tools/soundplay/soundplay"
[ -x "$player" ] || { echo "build the soundplay target first" >&2; exit 2; }

work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work" HOME="$work" PULSE_SERVER="unix:$work/pulse/native"
recorder=""
cleanup() {
    if [ -n "$recorder" ]; then kill "$recorder" 2>/dev/null || true; fi
    pulseaudio --kill 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

pulseaudio -n --daemonize=yes --exit-idle-time=-1 --log-target=stderr \
    -L module-native-protocol-unix -L "module-null-sink sink_name=nul" \
    -L module-always-sink 2>/dev/null
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done

parec --latency-msec=20 -d nul.monitor --format=s16le --rate=44100 --channels=1 \
    >"$work/raw.s16" &
recorder=$!
# Waits up to 10 s for the recording to hold $1 bytes (0.1 s is 8820).
wait_recorded() {
    local _
    for _ in $(seq 100); do
        [ "$(stat -c %s "$work/raw.s16")" -ge "$1" ] && return 0
        sleep 0.1
    done
    echo "FAIL: the sink's monitor delivered less than $1 bytes" >&2
    exit 1
}
wait_recorded 8820  # the monitor delivers data only after a moment
"$player" 3 500
# The last sound's half second, buffered in the server, reaches the recording.
wait_recorded $(($(stat -c %s "$work/raw.s16") + 44100))
kill "$recorder"; wait "$recorder" 2>/dev/null || true; recorder=""

# Onsets: 10 ms windows whose peak passes 0.1 of full scale after at least 40 ms of quiet.
onsets=$(sox -t raw -r 44100 -e signed -b 16 -c 1 "$work/raw.s16" -t dat - |
    awk '!/^;/ { w = int($1 * 100); a = ($2 < 0 ? -$2 : $2); if (a > peak[w]) peak[w] = a;
                 if (w > last) last = w }
         END { quiet = 4; for (w = 0; w <= last; w++) {
                   if (peak[w] > 0.1 && quiet >= 4) printf "%.2f\n", w / 100;
                   quiet = (peak[w] < 0.01) ? quiet + 1 : 0 } }')
echo "onsets (s): ${onsets//$'\n'/ }"
count=$(echo "$onsets" | grep -c . || true)
[ "$count" -eq 3 ] || { echo "FAIL: expected 3 sounds, heard $count" >&2; exit 1; }
echo "$onsets" | awk 'NR > 1 { gap = $1 - prev; if (gap < 0.4 || gap > 0.62) bad = 1 }
                      { prev = $1 } END { exit bad }' ||
    { echo "FAIL: starts not 0.5 s apart" >&2; exit 1; }
echo "PASS: three starts, 0.5 s apart"

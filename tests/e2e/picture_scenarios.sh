# shellcheck shell=bash
# End-to-end scenarios of background pictures. Sourced by run.sh after scenarios.sh.

SCENARIOS+=(hostile_pictures)

# A start with a PNG whose chunk claims gigabytes, or an icon stored as one
# (tools/make-hostile-pictures.sh), as the background peaks at 200 MB at most, and the
# refused picture switches itself off.
scenario_hostile_pictures() {
    sh "$E2E_DIR/../../tools/make-hostile-pictures.sh" "$SD/pictures"
    local picture peak
    for picture in ztxt-claims-1290MB.png text-claims-2046MB.png ztxt-in-icon.ico; do
        write_settings Picture dword:00000001 PathImage "\"$SD/pictures/$picture\""
        start_app -Embedding
        wait_main
        wait_pyramid
        peak=$(awk '/VmHWM/ { print int($2 / 1024) }' "/proc/$APP_PID/status")
        note "$picture: peak $peak MiB"
        close_app
        [ "$peak" -le 200 ] || fail "$picture: a peak of $peak MiB"
        [ "$(stored_dword Picture)" = 0 ] || fail "$picture: the picture stayed switched on"
    done
}

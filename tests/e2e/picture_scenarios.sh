# End-to-end scenarios of background pictures that claim far more than they hold. Sourced by
# run.sh after scenarios.sh.

SCENARIOS+=(hostile_pictures)

# Pictures whose chunks claim gigabytes (made by tools/make-hostile-pictures.sh)
# are refused: the picture switches itself off and the start's peak memory stays at most
# 200 MB. $HOSTILE_PICTURE_PEAK_MB overrides that bound.
scenario_hostile_pictures() {
    sh "$here/../../tools/make-hostile-pictures.sh" "$SD/pictures"
    local picture peak
    for picture in ztxt-claims-1290MB.png text-claims-2046MB.png; do
        write_settings Picture dword:00000001 PathImage "\"$SD/pictures/$picture\""
        start_app -Embedding
        wait_main
        wait_pyramid
        peak=$(awk '/VmHWM/ { print int($2 / 1024) }' "/proc/$APP_PID/status")
        note "$picture: peak $peak MiB"
        close_app
        [ "$peak" -le "${HOSTILE_PICTURE_PEAK_MB:-200}" ] || fail "$picture: a peak of $peak MiB"
        [ "$(stored_dword Picture)" = 0 ] || fail "$picture: the picture stayed switched on"
    done
}

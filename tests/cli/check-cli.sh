#!/usr/bin/env bash
# The program's command line without a display: --help prints a Russian usage and
# --version the name and version, both with exit status 0 and before anything needs a
# display; other arguments beside them are ignored. Any other start without a usable
# display ends at once with one Russian line and exit status 1.
#   tests/cli/check-cli.sh <program> <version>
set -uo pipefail
program=${1:?usage: check-cli.sh <program> <version>}
version=${2:?usage: check-cli.sh <program> <version>}
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Runs the program with no display; stdout into $out, exit status into $status.
run() {
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$program" "$@" 2>&1)
    status=$?
}

for args in "--version" "-Embedding --version" "--unknown --version --help"; do
    # shellcheck disable=SC2086 # $args holds several arguments
    run $args
    [ "$status" -eq 0 ] || fail "'$args' exits with $status"
    [ "$out" = "tetrakon $version" ] || fail "'$args' prints '$out'"
done

for args in "--help" "--bogus --help --version"; do
    # shellcheck disable=SC2086 # $args holds several arguments
    run $args
    [ "$status" -eq 0 ] || fail "'$args' exits with $status"
    grep -q '^Использование: tetrakon' <<<"$out" || fail "'$args' prints no Russian usage: $out"
    grep -q -- '--version' <<<"$out" || fail "'$args' does not name --version"
done

# No display at all, one that refuses the connection, a malformed name and a platform that
# does not exist: our line, then Qt's reason.
no_display_text="tetrakon: не удаётся открыть дисплей (X11 или Wayland)."
for display in "" DISPLAY=:4242 DISPLAY=garbage:: QT_QPA_PLATFORM=nosuchplugin; do
    for args in "" -h --bogus; do
        # shellcheck disable=SC2086 # $display and $args are empty or words of their own
        out=$(env -u DISPLAY -u WAYLAND_DISPLAY $display timeout 5 "$program" $args 2>&1 >/dev/null)
        status=$?
        if [ "$status" -ne 1 ] || [ "$(head -1 <<<"$out")" != "$no_display_text" ] ||
            ! grep -q '^tetrakon: Qt: ..' <<<"$out"; then
            fail "'$args' with '$display' exits with $status and says: $out"
        fi
    done
done
out=$(env -u DISPLAY QT_QPA_PLATFORM=nosuchplugin "$program" 2>&1 >/dev/null)
grep -q 'nosuchplugin' <<<"$out" || fail "Qt's reason does not name the missing platform: $out"

# Written output that cannot be delivered is a failure, not a silent success.
if [ -w /dev/full ]; then
    env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version >/dev/full 2>/dev/null &&
        fail "--version into a full device reports success"
fi

[ "$failures" -eq 0 ] || exit 1
echo "check-cli: all checks passed"

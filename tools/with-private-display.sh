#!/usr/bin/env bash
# Runs a command on a private Xvfb display of 1280x1024x24 (the test command's ctest runs,
# the first-game measurement), the same way the end-to-end suite and the measuring tools
# get theirs (tests/e2e/display.sh), and ends the server afterwards. Exits with the
# command's status.
#   tools/with-private-display.sh COMMAND [ARG...]
set -uo pipefail
source "$(dirname "$(realpath "$0")")/../tests/e2e/display.sh"
log=$(mktemp)
if ! start_private_display "$log" 1280x1024x24; then
    cat "$log" >&2
    rm -f "$log"
    exit 2
fi
trap 'kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; rm -f "$log"' EXIT
"$@"

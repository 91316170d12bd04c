#!/usr/bin/env bash
# Takes the README's picture of the game: the end-to-end suite starts the built program
# under its own Xvfb and window manager, turns a layer and shoots the main window.
#   tools/take-screenshot.sh build [docs/screenshot.png]
set -euo pipefail
build=${1:?usage: take-screenshot.sh <build folder> [picture]}
picture=$(realpath -m "${2:-$(dirname "$0")/../docs/screenshot.png}")
TETRAKON_SCREENSHOT=$picture "$(dirname "$0")/../tests/e2e/run.sh" "$build" screenshot
# Stored without time stamps, so that a shot of the same picture is the same file.
convert "$picture" -strip -define png:exclude-chunks=date,time "$picture"
echo "$picture"

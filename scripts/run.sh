#!/usr/bin/env bash
# Set up, build and start the game: installs only what the game needs and builds only the
# program and its help, without the tests (scripts/test.sh builds those). Arguments go to
# the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh game
cmake --preset game >/dev/null
cmake --build build --target tetrakon
exec build/app/tetrakon "$@"

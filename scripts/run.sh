#!/usr/bin/env bash
# Set up, build and start the program. Until the game's window exists this prints the
# object tree of the puzzle model with xdump.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTETRAKON_BENCHMARKS=OFF >/dev/null
cmake --build build
if [ -x build/app/tetrakon ]; then
    exec build/app/tetrakon "$@"
fi
exec build/tools/xdump/xdump "${1:-resources/models/pyramid.x}"

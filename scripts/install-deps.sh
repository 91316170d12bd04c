#!/usr/bin/env bash
# Installs the Debian packages the build needs. Quiet and quick when nothing is missing;
# safe to run again.
#   scripts/install-deps.sh        the game and everything the tests add
#   scripts/install-deps.sh game   only what the game needs to build and run
set -euo pipefail

# The game: compiler, libraries and what it needs at run time. Without the help compiler
# (fp-utils, with the Free Pascal sources it needs) the help is built as HTML pages only.
game_packages=(
    build-essential cmake ninja-build pkg-config
    zlib1g-dev libpng-dev libjpeg62-turbo-dev
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-qpa-plugins libqt6svg6
    libpulse-dev qt6-translations-l10n
    libgl-dev libgl1-mesa-dri libxcb1-dev fonts-dejavu-core
    xdg-utils
)

# What the tests, checks and measurements add.
test_packages=(
    ccache clang libclang-rt-dev clang-format shellcheck
    libgtest-dev libgmock-dev libbenchmark-dev
    pulseaudio pulseaudio-utils sox
    xvfb xauth x11-utils xdotool wmctrl imagemagick jwm weston qt6-wayland valgrind netpbm time perl
    mutter dbus-x11 sway grim
    fp-utils dpkg-dev lintian desktop-file-utils appstream git
)

# Installed without what they recommend (diffoscope's recommendations are hundreds of
# packages for formats the package does not hold).
test_packages_bare=(diffoscope-minimal)

wanted=("${game_packages[@]}")
bare=()
if [ "${1:-all}" != game ]; then
    wanted+=("${test_packages[@]}")
    bare=("${test_packages_bare[@]}")
fi

# apt's dry run says what an install would add: "Inst NAME (VERSION ...)" for a package
# not installed ("Inst NAME [OLD] (NEW ...)" is an upgrade, not missing). It answers for
# virtual names as well, which dpkg never shows as installed (libqt6opengl6-dev is provided
# by qt6-base-dev on Debian 13). It fails when it knows a name not yet (no package lists):
# then everything is installed.
if dry_run=$(apt-get -s -qq install --no-install-recommends "${wanted[@]}" "${bare[@]}" 2>/dev/null); then
    mapfile -t missing < <(sed -n 's/^Inst \([^ ]*\) (.*/\1/p' <<<"$dry_run")
else
    missing=("${wanted[@]}" "${bare[@]}")
fi
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq "${wanted[@]}" >/dev/null
if [ ${#bare[@]} -gt 0 ]; then
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${bare[@]}" >/dev/null
fi

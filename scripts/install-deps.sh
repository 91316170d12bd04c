#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need. Quiet and quick
# when nothing is missing; safe to run again.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache
    clang libclang-rt-14-dev clang-format
    libgtest-dev libgmock-dev libbenchmark-dev
    zlib1g-dev libpng-dev libjpeg62-turbo-dev
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-qpa-plugins qt6-svg-dev
    libpulse-dev qt6-translations-l10n pulseaudio pulseaudio-utils sox
    libgl-dev libgl1-mesa-dri libxcb1-dev fonts-dejavu-core
    xvfb xauth x11-utils xdotool wmctrl imagemagick jwm weston qt6-wayland valgrind netpbm time perl
    mutter dbus-x11 sway grim
    fp-utils dpkg-dev lintian desktop-file-utils appstream xdg-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
